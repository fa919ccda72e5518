#include "platform/gdi/FontFace.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <tuple>

namespace gdi {

namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            return FT_Library(nullptr);
        return lib;
    }();
    return library;
}

std::string Lower(const char* s) {
    std::string out;
    for (; s && *s; ++s)
        out += char(std::tolower(static_cast<unsigned char>(*s)));
    return out;
}

struct FaceMapping {
    const char* name;
    const char* family;
    const char* fallback;
};

// The platform's face names and the metric-compatible families standing in
// for them.
constexpr FaceMapping kMappings[] = {
    {"ms shell dlg", "Liberation Sans", "DejaVu Sans"},
    {"ms shell dlg 2", "Liberation Sans", "DejaVu Sans"},
    {"ms sans serif", "Liberation Sans", "DejaVu Sans"},
    {"microsoft sans serif", "Liberation Sans", "DejaVu Sans"},
    {"tahoma", "Liberation Sans", "DejaVu Sans"},
    {"arial", "Liberation Sans", "DejaVu Sans"},
    {"helvetica", "Liberation Sans", "DejaVu Sans"},
    {"system", "Liberation Sans", "DejaVu Sans"},
    {"courier new", "Liberation Mono", "DejaVu Sans Mono"},
    {"courier", "Liberation Mono", "DejaVu Sans Mono"},
    {"fixedsys", "Liberation Mono", "DejaVu Sans Mono"},
    {"terminal", "Liberation Mono", "DejaVu Sans Mono"},
    {"times new roman", "Liberation Serif", "DejaVu Serif"},
};

struct Match {
    std::string file;
    int index{0};
    std::string family;
    int weight{FC_WEIGHT_REGULAR};
    int slant{FC_SLANT_ROMAN};
};

// fontconfig's own state is released at exit, so that leak checkers see
// only real leaks.
bool FontconfigReady() {
    static bool ready = [] {
        if (FcInit() != FcTrue)
            return false;
        std::atexit([] { FcFini(); });
        return true;
    }();
    return ready;
}

// Asks fontconfig for a family; empty when it offers another family.
bool FindFamily(const std::string& family, int weight, bool italic, Match* out) {
    if (!FontconfigReady())
        return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    FcChar8* matched = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
              FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch &&
              Lower(reinterpret_cast<const char*>(matched)) == Lower(family.c_str());
    if (ok) {
        out->file = reinterpret_cast<const char*>(file);
        out->family = reinterpret_cast<const char*>(matched);
        FcPatternGetInteger(match, FC_INDEX, 0, &out->index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &out->weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &out->slant);
    }
    FcPatternDestroy(match);
    return ok;
}

} // namespace

struct FontFace::Impl {
    FT_Face face{nullptr};
    ~Impl() {
        if (face)
            FT_Done_Face(face);
    }
};

FontFace::~FontFace() = default;

std::string FontFace::FamilyFor(const char* faceName, bool fixedPitch) {
    const std::string name = Lower(faceName);
    for (const FaceMapping& m : kMappings)
        if (name == m.name)
            return m.family;
    return fixedPitch ? "Liberation Mono" : name.empty() ? "Liberation Sans" : faceName;
}

std::vector<std::string> FontFace::InstalledFamilies() {
    std::vector<std::string> families;
    if (!FontconfigReady())
        return families;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
                continue;
            std::string name = reinterpret_cast<const char*>(family);
            if (std::find(families.begin(), families.end(), name) == families.end())
                families.push_back(std::move(name));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return families;
}

std::shared_ptr<FontFace> FontFace::For(const LOGFONTA& lf) {
    const int weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : int(lf.lfWeight);
    const bool italic = lf.lfItalic != 0;
    const bool fixed = (lf.lfPitchAndFamily & 3) == FIXED_PITCH;
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, lf.lfFaceName, LF_FACESIZE);

    // One face per family, style and size.
    using Key = std::tuple<std::string, int, bool, LONG, bool, bool, bool>;
    static std::map<Key, std::shared_ptr<FontFace>> cache;
    const Key key{Lower(face),        weight, italic, lf.lfHeight, fixed, lf.lfUnderline != 0,
                  lf.lfStrikeOut != 0};
    if (auto it = cache.find(key); it != cache.end())
        return it->second;

    Match match;
    std::string wanted = FamilyFor(face, fixed);
    bool found = FindFamily(wanted, weight, italic, &match);
    if (!found) {
        // Unknown names fall back to the sans face; each family to DejaVu.
        const bool mono = wanted == "Liberation Mono";
        const char* candidates[] = {mono ? "Liberation Mono" : "Liberation Sans",
                                    mono ? "DejaVu Sans Mono" : "DejaVu Sans"};
        for (const char* c : candidates)
            if ((found = FindFamily(c, weight, italic, &match)))
                break;
        if (!found && wanted == "Liberation Serif")
            found = FindFamily("DejaVu Serif", weight, italic, &match);
    }
    std::shared_ptr<FontFace> result;
    if (found) {
        result.reset(new FontFace);
        LOGFONTA adjusted = lf;
        adjusted.lfWeight = weight;
        result->m_emboldenGlyphs = weight >= FW_SEMIBOLD && match.weight < FC_WEIGHT_DEMIBOLD;
        result->m_slantGlyphs = italic && match.slant == FC_SLANT_ROMAN;
        if (!result->Open(match.file, match.index, adjusted))
            result.reset();
        else
            result->m_family = match.family;
    }
    cache[key] = result;
    return result;
}

bool FontFace::Open(const std::string& file, int index, const LOGFONTA& lf) {
    FT_Library library = Library();
    if (!library)
        return false;
    m_impl = std::make_unique<Impl>();
    if (FT_New_Face(library, file.c_str(), index, &m_impl->face) != 0) {
        m_impl->face = nullptr;
        return false;
    }
    FT_Face face = m_impl->face;
    m_file = file;
    m_faceIndex = index;
    const double units = face->units_per_EM ? face->units_per_EM : 2048;
    // The platform's cell: OS/2 Windows ascent and descent when present.
    double ascentUnits = face->ascender, descentUnits = -face->descender;
    double avgUnits = 0;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascentUnits = os2->usWinAscent;
            descentUnits = os2->usWinDescent;
        }
        avgUnits = os2->xAvgCharWidth;
    }
    // Negative height: the character (em) height; positive: the cell height;
    // zero: a default of 12 pixels per em.
    double em;
    if (lf.lfHeight < 0)
        em = -double(lf.lfHeight);
    else if (lf.lfHeight > 0)
        em = lf.lfHeight * units / (ascentUnits + descentUnits);
    else
        em = 12;
    const int pixels = std::max(1, int(std::lround(em)));
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels)) != 0)
        return false;
    const double scale = pixels / units;
    m_metrics.tmAscent = LONG(std::lround(ascentUnits * scale));
    m_metrics.tmDescent = LONG(std::lround(descentUnits * scale));
    m_metrics.tmHeight = m_metrics.tmAscent + m_metrics.tmDescent;
    m_metrics.tmInternalLeading = std::max<LONG>(0, m_metrics.tmHeight - pixels);
    m_metrics.tmExternalLeading = 0;
    m_metrics.tmAveCharWidth = LONG(std::lround(avgUnits * scale));
    if (m_metrics.tmAveCharWidth <= 0)
        m_metrics.tmAveCharWidth = GlyphFor(U'x').advance;
    m_metrics.tmMaxCharWidth = LONG(std::lround((face->bbox.xMax - face->bbox.xMin) * scale));
    m_metrics.tmWeight = lf.lfWeight;
    m_metrics.tmItalic = lf.lfItalic ? 1 : 0;
    m_metrics.tmUnderlined = lf.lfUnderline ? 1 : 0;
    m_metrics.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    m_metrics.tmFirstChar = 0x20;
    m_metrics.tmLastChar = 0xFF;
    m_metrics.tmDefaultChar = 0x1F;
    m_metrics.tmBreakChar = 0x20;
    m_metrics.tmDigitizedAspectX = 96;
    m_metrics.tmDigitizedAspectY = 96;
    m_metrics.tmCharSet = lf.lfCharSet;
    m_metrics.tmPitchAndFamily = FT_IS_FIXED_WIDTH(face) ? 0 : 1; // Bit set: variable pitch.
    m_metrics.tmPitchAndFamily |= 0x04;                           // TrueType.
    m_lineThickness = std::max(1, int(std::lround(face->underline_thickness * scale)));
    m_underlinePos = std::max(1, int(std::lround(-face->underline_position * scale)));
    m_strikeoutPos = std::max(1, int(m_metrics.tmAscent / 3));
    return true;
}

const Glyph& FontFace::GlyphFor(char32_t cp) {
    if (auto it = m_glyphs.find(cp); it != m_glyphs.end())
        return it->second;
    Glyph& glyph = m_glyphs[cp];
    FT_Face face = m_impl ? m_impl->face : nullptr;
    if (!face || FT_Load_Char(face, cp, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0)
        return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (m_slantGlyphs && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_GlyphSlot_Oblique(slot);
    if (m_emboldenGlyphs)
        FT_GlyphSlot_Embolden(slot);
    glyph.advance = int((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return glyph;
    const FT_Bitmap& bm = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bm.width);
    glyph.height = int(bm.rows);
    glyph.coverage.resize(std::size_t(glyph.width) * std::size_t(glyph.height));
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[std::size_t(y) * glyph.width + x] = row[x];
    }
    return glyph;
}

} // namespace gdi
