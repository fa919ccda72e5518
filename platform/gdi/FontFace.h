#pragma once
// A font as the text functions use it: the platform's face name mapped to an
// installed face through fontconfig, opened with FreeType at a pixel size,
// with its metrics and a cache of rendered glyphs.
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace gdi {

struct Glyph {
    int left{0}; // From the pen position to the first column.
    int top{0};  // From the baseline up to the first row.
    int width{0};
    int height{0};
    int advance{0};                     // Whole pixels.
    std::vector<std::uint8_t> coverage; // width x height, 0..255.
};

class FontFace {
public:
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The shared face for a logical font; null when no font can be opened.
    static std::shared_ptr<FontFace> For(const LOGFONTA& lf);
    // The installed family a face name maps to ("Arial" -> "Liberation Sans").
    static std::string FamilyFor(const char* faceName, bool fixedPitch);
    // The scalable families fontconfig offers, in its own spelling (UTF-8),
    // each once, in no particular order.
    static std::vector<std::string> InstalledFamilies();

    const Glyph& GlyphFor(char32_t cp);
    const TEXTMETRICA& Metrics() const { return m_metrics; }
    const std::string& Family() const { return m_family; }
    // Where the face was opened from, for readers of its outlines.
    const std::string& File() const { return m_file; }
    int FaceIndex() const { return m_faceIndex; }
    // Underline and strike-out: offset below (or above) the baseline and
    // thickness, in pixels.
    int UnderlinePosition() const { return m_underlinePos; }
    int StrikeoutPosition() const { return m_strikeoutPos; }
    int LineThickness() const { return m_lineThickness; }

private:
    FontFace() = default;
    bool Open(const std::string& file, int index, const LOGFONTA& lf);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_family;
    std::string m_file;
    int m_faceIndex{0};
    TEXTMETRICA m_metrics{};
    int m_underlinePos{1};
    int m_strikeoutPos{3};
    int m_lineThickness{1};
    bool m_emboldenGlyphs{false};
    bool m_slantGlyphs{false};
    std::unordered_map<char32_t, Glyph> m_glyphs;
};

} // namespace gdi
