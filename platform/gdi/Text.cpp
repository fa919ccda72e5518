// Text drawing and measuring on top of FontFace.
//
// [SECTION] Layout helpers
// [SECTION] Drawing one line
// [SECTION] TextOut and measuring
// [SECTION] DrawText
#include "platform/gdi/Text.h"

#include "platform/base/Windows1252.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace gdi;

namespace {

// [SECTION] Layout helpers

FontFace* FaceOf(Dc& dc) {
    Font* font = dc.m_state.m_font.get();
    if (!font)
        return nullptr;
    if (!font->m_face)
        font->m_face = FontFace::For(font->m_logFont);
    return font->m_face.get();
}

std::u32string Decode(const char* text, int count) {
    std::u32string out;
    if (!text)
        return out;
    const std::size_t n = count < 0 ? std::strlen(text) : std::size_t(count);
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        out += CodePointFromAnsi(static_cast<unsigned char>(text[i]));
    return out;
}

int Measure(FontFace& face, std::u32string_view s) {
    int width = 0;
    for (char32_t c : s)
        width += face.GlyphFor(c).advance;
    return width;
}

// Quarter turns of an escapement in tenths of a degree, counter-clockwise.
int QuarterTurns(LONG escapement) {
    long q = std::lround(escapement / 900.0) % 4;
    return int(q < 0 ? q + 4 : q);
}

// [SECTION] Drawing one line

// Places text frame coordinates (u along the baseline, v downwards from the
// cell top) on the device, turned by the escapement.
struct TextFrame {
    POINT origin; // Device position of (0, 0).
    int turns;
    POINT Map(int u, int v) const {
        switch (turns) {
        case 1:
            return POINT{origin.x + v, origin.y - u};
        case 2:
            return POINT{origin.x - u, origin.y - v};
        case 3:
            return POINT{origin.x - v, origin.y + u};
        default:
            return POINT{origin.x + u, origin.y + v};
        }
    }
    // Device rectangle of the frame rectangle [u0, u1) x [v0, v1).
    RECT MapRect(int u0, int v0, int u1, int v1) const {
        const POINT a = Map(u0, v0), b = Map(u1, v1);
        // Exclusive ends turn into inclusive starts when a turn flips an axis.
        RECT r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        if (turns == 1 || turns == 2)
            OffsetRect(&r, 0, 1);
        if (turns == 2 || turns == 3)
            OffsetRect(&r, 1, 0);
        return r;
    }
};

class LineDrawer {
public:
    LineDrawer(Dc& dc, FontFace& face, RECT clip) : m_face(face), m_clip(clip) {
        const PixelSurface t = dc.Target();
        m_target = t;
        m_mono = dc.IsMonochrome();
        m_text = dc.PixelOf(dc.m_state.m_textColor);
        m_back = dc.PixelOf(dc.m_state.m_bkColor);
    }

    // Draws s with its cell's top-left at frame origin; advances from dx
    // when given. `underlineAt` marks one character to underline (prefix).
    void Draw(const TextFrame& frame, std::u32string_view s, const INT* dx, bool opaque,
              int underlineAt = -1) {
        const TEXTMETRICA& tm = m_face.Metrics();
        int width = 0;
        for (std::size_t i = 0; i < s.size(); ++i)
            width += dx ? dx[i] : m_face.GlyphFor(s[i]).advance;
        if (opaque)
            FillFrame(frame, 0, 0, width, tm.tmHeight, m_back);
        int pen = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const Glyph& g = m_face.GlyphFor(s[i]);
            if (frame.turns == 0)
                DrawUpright(g, frame.origin.x + pen + g.left, frame.origin.y + tm.tmAscent - g.top);
            else
                for (int gy = 0; gy < g.height; ++gy)
                    for (int gx = 0; gx < g.width; ++gx) {
                        const std::uint8_t a = g.coverage[std::size_t(gy) * g.width + gx];
                        if (a)
                            Blend(frame.Map(pen + g.left + gx, tm.tmAscent - g.top + gy), a);
                    }
            const int advance = dx ? dx[i] : g.advance;
            if (int(i) == underlineAt)
                FillFrame(frame, pen, tm.tmAscent + m_face.UnderlinePosition(), pen + advance,
                          tm.tmAscent + m_face.UnderlinePosition() + m_face.LineThickness(),
                          m_text);
            pen += advance;
        }
        if (tm.tmUnderlined)
            FillFrame(frame, 0, tm.tmAscent + m_face.UnderlinePosition(), width,
                      tm.tmAscent + m_face.UnderlinePosition() + m_face.LineThickness(), m_text);
        if (tm.tmStruckOut)
            FillFrame(frame, 0, tm.tmAscent - m_face.StrikeoutPosition(), width,
                      tm.tmAscent - m_face.StrikeoutPosition() + m_face.LineThickness(), m_text);
    }

private:
    void FillFrame(const TextFrame& frame, int u0, int v0, int u1, int v1, std::uint32_t pixel) {
        RECT r = frame.MapRect(u0, v0, u1, v1);
        if (!IntersectRect(&r, &r, &m_clip))
            return;
        for (int y = r.top; y < r.bottom; ++y)
            std::fill(m_target.Row(y) + r.left, m_target.Row(y) + r.right, pixel);
    }

    // Unturned text, the usual case: the glyph's rows clipped once and
    // blended straight into the target's rows.
    void DrawUpright(const Glyph& g, int left, int top) {
        const int gx0 = std::max(0, int(m_clip.left) - left);
        const int gx1 = std::min(g.width, int(m_clip.right) - left);
        const int gy0 = std::max(0, int(m_clip.top) - top);
        const int gy1 = std::min(g.height, int(m_clip.bottom) - top);
        for (int gy = gy0; gy < gy1; ++gy) {
            std::uint32_t* row = m_target.Row(top + gy) + left;
            const std::uint8_t* coverage = &g.coverage[std::size_t(gy) * g.width];
            for (int gx = gx0; gx < gx1; ++gx)
                if (const std::uint8_t a = coverage[gx])
                    BlendInto(row[gx], a);
        }
    }

    void Blend(POINT p, std::uint8_t a) {
        if (!PtInRect(&m_clip, p))
            return;
        BlendInto(m_target.At(p.x, p.y), a);
    }

    void BlendInto(std::uint32_t& d, std::uint8_t a) {
        if (m_mono) {
            if (a >= 128)
                d = m_text;
            return;
        }
        if (a == 255) {
            d = m_text;
            return;
        }
        std::uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int dc = int((d >> shift) & 0xFF), tc = int((m_text >> shift) & 0xFF);
            const int v = dc + ((tc - dc) * a + 127) / 255;
            out |= std::uint32_t(v) << shift;
        }
        d = out;
    }

    FontFace& m_face;
    RECT m_clip;
    PixelSurface m_target;
    bool m_mono{false};
    std::uint32_t m_text{0};
    std::uint32_t m_back{0};
};

BOOL Output(HDC hdc, int x, int y, UINT options, const RECT* rc, const char* text, int count,
            const INT* dx) {
    auto dc = FindDc(hdc);
    if (!dc || (count > 0 && !text) || count < -1)
        return FALSE;
    RECT clip = dc->DeviceClip();
    const PixelSurface target = dc->Target();
    if (!target.IsValid())
        return TRUE;
    if (rc && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        const RECT box = ToDevice(*dc, *rc);
        if (options & ETO_OPAQUE) {
            Raster raster(*dc);
            raster.SetRop2(R2_COPYPEN);
            raster.Fill(box, dc->PixelOf(dc->m_state.m_bkColor));
        }
        if ((options & ETO_CLIPPED) && !IntersectRect(&clip, &clip, &box))
            return TRUE;
    }
    if (count == 0)
        return TRUE;
    FontFace* face = FaceOf(*dc);
    if (!face)
        return FALSE;
    const std::u32string s = Decode(text, count);
    const TEXTMETRICA& tm = face->Metrics();
    const UINT align = dc->m_state.m_textAlign;
    POINT start{x, y};
    if (align & TA_UPDATECP)
        start = dc->m_state.m_position;
    int width = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        width += dx ? dx[i] : face->GlyphFor(s[i]).advance;
    // Alignment moves the cell within the text's own frame.
    int du = 0, dv = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        du = -width / 2;
    else if (align & TA_RIGHT)
        du = -width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        dv = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        dv = -tm.tmHeight;
    const POINT o = dc->Offset();
    TextFrame frame{POINT{start.x + o.x, start.y + o.y},
                    QuarterTurns(dc->m_state.m_font->m_logFont.lfEscapement)};
    frame.origin = frame.Map(du, dv);
    LineDrawer drawer(*dc, *face, clip);
    drawer.Draw(frame, s, dx, dc->m_state.m_bkMode == OPAQUE);
    if (align & TA_UPDATECP) {
        // The current position moves along the text's direction.
        TextFrame along{start, frame.turns};
        dc->m_state.m_position = along.Map(((align & TA_CENTER) == TA_CENTER) ? 0
                                           : (align & TA_RIGHT)               ? -width
                                                                              : width,
                                           0);
    }
    return TRUE;
}

} // namespace

// [SECTION] TextOut and measuring

BOOL TextOut(HDC hdc, int x, int y, const char* text, int count) {
    if (count < 0)
        return FALSE;
    return Output(hdc, x, y, 0, nullptr, text, count, nullptr);
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, const char* text, UINT count,
                const INT* dx) {
    if (count > 0x7FFFFFFF)
        return FALSE;
    return Output(hdc, x, y, options, rc, text, int(count), dx);
}

BOOL GetTextExtentPoint32(HDC hdc, const char* text, int count, SIZE* size) {
    auto dc = FindDc(hdc);
    if (!dc || !size || count < 0 || (count > 0 && !text))
        return FALSE;
    FontFace* face = FaceOf(*dc);
    if (!face)
        return FALSE;
    size->cx = Measure(*face, Decode(text, count));
    size->cy = face->Metrics().tmHeight;
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
    auto dc = FindDc(hdc);
    if (!dc || !tm)
        return FALSE;
    FontFace* face = FaceOf(*dc);
    if (!face)
        return FALSE;
    *tm = face->Metrics();
    return TRUE;
}

int GetTextFace(HDC hdc, int size, char* name) {
    auto dc = FindDc(hdc);
    if (!dc || !name || size <= 0)
        return 0;
    FontFace* face = FaceOf(*dc);
    if (!face)
        return 0;
    const std::string& family = face->Family();
    const std::size_t n = std::min(family.size(), std::size_t(size - 1));
    std::memcpy(name, family.data(), n);
    name[n] = '\0';
    return int(n);
}

// [SECTION] DrawText

namespace {

struct Line {
    std::u32string text;
    int underlineAt{-1};
};

// Removes prefix marks: "&x" underlines x, "&&" is '&'.
Line StripPrefix(std::u32string_view s) {
    Line line;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == U'&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != U'&')
                line.underlineAt = int(line.text.size());
        } else if (s[i] == U'&') {
            continue;
        }
        line.text += s[i];
    }
    return line;
}

std::u32string ExpandTabs(FontFace& face, std::u32string_view s) {
    const int stop = std::max<LONG>(1, 8 * face.Metrics().tmAveCharWidth);
    const int space = std::max(1, face.GlyphFor(U' ').advance);
    std::u32string out;
    int x = 0;
    for (char32_t c : s) {
        if (c != U'\t') {
            out += c;
            x += face.GlyphFor(c).advance;
            continue;
        }
        const int next = (x / stop + 1) * stop;
        // Spaces up to the stop; the last partial space is kept whole.
        while (x < next) {
            out += U' ';
            x += space;
        }
    }
    return out;
}

// Splits at spaces so that every line fits `width`, where it can; a single
// word wider than the line stays whole on its own line.
std::vector<std::u32string> WrapWords(FontFace& face, const std::u32string& s, int width) {
    std::vector<std::u32string> lines;
    std::u32string current;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t end = i;
        while (end < s.size() && s[end] != U' ')
            ++end;
        const std::u32string word = s.substr(i, end - i);
        std::u32string candidate = current.empty() ? word : current + U' ' + word;
        if (!current.empty() && Measure(face, candidate) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = std::move(candidate);
        }
        i = end;
        if (i < s.size())
            ++i; // The space itself.
    }
    lines.push_back(current);
    return lines;
}

// Shortens s with "..." so that it fits width, when it does not already.
std::u32string EndEllipsis(FontFace& face, const std::u32string& s, int width) {
    if (Measure(face, s) <= width)
        return s;
    const std::u32string dots = U"...";
    std::u32string cut = s;
    while (!cut.empty() && Measure(face, cut + dots) > width)
        cut.pop_back();
    return cut + dots;
}

} // namespace

int DrawText(HDC hdc, const char* text, int count, RECT* rc, UINT format) {
    auto dc = FindDc(hdc);
    if (!dc || !rc || !text || count < -1)
        return 0;
    FontFace* face = FaceOf(*dc);
    if (!face)
        return 0;
    const TEXTMETRICA& tm = face->Metrics();
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const int width = rc->right - rc->left;

    // Paragraphs, then lines.
    std::u32string all = Decode(text, count);
    std::vector<std::u32string> paragraphs;
    if (format & DT_SINGLELINE) {
        for (char32_t& c : all)
            if (c == U'\r' || c == U'\n')
                c = U' ';
        paragraphs.push_back(all);
    } else {
        std::u32string current;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == U'\r' || all[i] == U'\n') {
                paragraphs.push_back(current);
                current.clear();
                if (all[i] == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n')
                    ++i;
            } else {
                current += all[i];
            }
        }
        paragraphs.push_back(current);
    }
    std::vector<Line> lines;
    for (const std::u32string& paragraph : paragraphs) {
        Line stripped = (format & DT_NOPREFIX) ? Line{paragraph, -1} : StripPrefix(paragraph);
        if (format & DT_EXPANDTABS)
            stripped.text = ExpandTabs(*face, stripped.text);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
            // The prefix underline is kept only on the first wrapped line.
            auto wrapped = WrapWords(*face, stripped.text, width);
            for (std::size_t i = 0; i < wrapped.size(); ++i)
                lines.push_back(
                    Line{wrapped[i], i == 0 && stripped.underlineAt < int(wrapped[0].size())
                                         ? stripped.underlineAt
                                         : -1});
        } else {
            lines.push_back(stripped);
        }
    }
    if (format & DT_END_ELLIPSIS)
        for (Line& line : lines) {
            std::u32string shortened = EndEllipsis(*face, line.text, width);
            if (shortened != line.text) {
                line.text = std::move(shortened);
                line.underlineAt = -1;
            }
        }

    int textWidth = 0;
    for (const Line& line : lines)
        textWidth = std::max(textWidth, Measure(*face, line.text));
    const int textHeight = lineHeight * int(lines.size());

    if (format & DT_CALCRECT) {
        rc->right = rc->left + textWidth;
        rc->bottom = rc->top + textHeight;
        return textHeight;
    }

    int top = rc->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            top = rc->top + (rc->bottom - rc->top - textHeight) / 2;
        else if (format & DT_BOTTOM)
            top = rc->bottom - textHeight;
    }
    RECT clip = dc->DeviceClip();
    if (!(format & DT_NOCLIP)) {
        const RECT box = ToDevice(*dc, *rc);
        if (!IntersectRect(&clip, &clip, &box))
            clip = RECT{};
    }
    const PixelSurface target = dc->Target();
    if (target.IsValid() && !IsRectEmpty(&clip)) {
        LineDrawer drawer(*dc, *face, clip);
        const POINT o = dc->Offset();
        int y = top;
        for (const Line& line : lines) {
            const int w = Measure(*face, line.text);
            int x = rc->left;
            if (format & DT_CENTER)
                x = rc->left + (width - w) / 2;
            else if (format & DT_RIGHT)
                x = rc->right - w;
            drawer.Draw(TextFrame{POINT{x + o.x, y + o.y}, 0}, line.text, nullptr,
                        dc->m_state.m_bkMode == OPAQUE, line.underlineAt);
            y += lineHeight;
        }
    }
    if (format & (DT_VCENTER | DT_BOTTOM))
        return top - rc->top + textHeight;
    return textHeight;
}
