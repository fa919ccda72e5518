#include "resources/generators/DigitStrip.h"

#include <algorithm>
#include <cmath>

namespace kw::bitmaps {

namespace {

// The shape of the glyphs of one size, in pixels. Segment centre lines lie
// on pixel edges for even thicknesses and on pixel centres for odd ones, so
// that the bars come out crisp.
struct Shape {
    double x0, x1;                    // the upright digit's box, left and right, at its foot
    double y0, y1;                    // top and bottom
    double thickness;                 // of a segment
    double gap;                       // between segment ends at a corner
    double slant;                     // horizontal shift per pixel of height
    double pointX, pointY, pointSize; // the decimal point's square
};

Shape ShapeOf(DigitSize size) {
    switch (size) {
    case DigitSize::Big:
        return {3.0, 21.0, 2.0, 36.0, 4.0, 1.0, 0.12, 24.0, 32.0, 4.0};
    case DigitSize::Medium:
        return {1.0, 11.0, 1.0, 19.0, 2.0, 1.0, 0.1, 12.0, 17.0, 2.0};
    case DigitSize::Small:
        return {1.0, 8.0, 0.0, 13.0, 1.0, 0.5, 0.0, 9.0, 11.0, 2.0};
    }
    return {};
}

// A bar from `from` to `to` along one axis, `across` the other coordinate,
// ends bevelled at 45 degrees: a hexagon. The bevel starts half a pixel off
// the centre line, so that one-pixel bars keep square ends.
bool InBar(double along, double across, double from, double to, double centre, double half) {
    const double d = std::abs(across - centre);
    const double bevel = std::max(0.0, d - 0.5);
    return d <= half && along - from >= bevel && to - along >= bevel;
}

} // namespace

DigitCellSize DigitCellOf(DigitSize size) {
    switch (size) {
    case DigitSize::Big:
        return {32, 38};
    case DigitSize::Medium:
        return {16, 19};
    case DigitSize::Small:
        return {12, 14};
    }
    return {0, 0};
}

unsigned DigitSegments(int glyph) {
    // a b c d e f g, the classic shapes (7 and 9 with their top and bottom
    // bars as most panels show them).
    static constexpr unsigned kDigits[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                             0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (glyph >= 0 && glyph <= 9)
        return kDigits[glyph];
    if (glyph == 11)
        return 0x40;
    if (glyph == 12)
        return 0x80;
    return 0;
}

DigitLookColours DigitColoursOf(DigitLook look) {
    switch (look) {
    case DigitLook::Normal:
        return {White, LightGrey, Black};
    case DigitLook::Disabled:
        return {White, LightGrey, Grey};
    case DigitLook::Error:
        return {Red, DarkRed, Black};
    }
    return {White, LightGrey, Black};
}

Picture16 MakeDigitStrip(DigitSize size, DigitLook look) {
    const DigitCellSize cell = DigitCellOf(size);
    const Shape s = ShapeOf(size);
    const DigitLookColours colours = DigitColoursOf(look);
    Picture16 strip(cell.width * kDigitGlyphs, cell.height, colours.background);

    // The slant leans the digit's top to the right.
    const double y0 = s.y0, y1 = s.y1;
    const double ym = (y0 + y1) / 2.0;
    const double h = s.thickness / 2.0;
    const double g = s.gap;
    // Segment centre lines between the corner points, shortened by the gap.
    const double left = s.x0 + h, right = s.x1 - h;
    const double top = y0 + h, bottom = y1 - h;

    // The segments a point in the cell lies in, as bits.
    auto segmentsAt = [&](double px, double y) {
        const double x = px - s.slant * (y1 - y);
        unsigned hit = 0;
        if (InBar(x, y, left + g, right - g, top, h))
            hit |= 0x01; // a
        if (InBar(y, x, top + g, ym - g, right, h))
            hit |= 0x02; // b
        if (InBar(y, x, ym + g, bottom - g, right, h))
            hit |= 0x04; // c
        if (InBar(x, y, left + g, right - g, bottom, h))
            hit |= 0x08; // d
        if (InBar(y, x, ym + g, bottom - g, left, h))
            hit |= 0x10; // e
        if (InBar(y, x, top + g, ym - g, left, h))
            hit |= 0x20; // f
        if (InBar(x, y, left + g, right - g, ym, h))
            hit |= 0x40; // g
        // The point stands upright at the foot of the cell.
        if (px >= s.pointX && px <= s.pointX + s.pointSize && y >= s.pointY &&
            y <= s.pointY + s.pointSize)
            hit |= 0x80;
        return hit;
    };
    // Each pixel belongs to the segment that covers most of it, if that
    // covers at least half of it (sampled on a 4 x 4 grid).
    constexpr int kSamples = 4;
    for (int py = 0; py < cell.height; ++py) {
        for (int px = 0; px < cell.width; ++px) {
            int cover[8] = {};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const unsigned hit =
                        segmentsAt(px + (sx + 0.5) / kSamples, py + (sy + 0.5) / kSamples);
                    for (int bit = 0; bit < 8; ++bit)
                        cover[bit] += (hit >> bit) & 1;
                }
            int best = 0;
            for (int bit = 1; bit < 8; ++bit)
                if (cover[bit] > cover[best])
                    best = bit;
            if (2 * cover[best] < kSamples * kSamples)
                continue;
            for (int glyph = 0; glyph < kDigitGlyphs; ++glyph) {
                const bool lit = (DigitSegments(glyph) >> best) & 1;
                strip.Set(glyph * cell.width + px, py, lit ? colours.lit : colours.unlit);
            }
        }
    }
    return strip;
}

const std::vector<DigitStripFile>& DigitStripFiles() {
    // The big size has no disabled or error strips: it draws the small ones.
    static const std::vector<DigitStripFile> files = {
        {146, DigitSize::Big, DigitLook::Normal, "digit146.bmp"},
        {147, DigitSize::Medium, DigitLook::Normal, "digit147.bmp"},
        {148, DigitSize::Small, DigitLook::Normal, "digit148.bmp"},
        {157, DigitSize::Medium, DigitLook::Disabled, "digit157.bmp"},
        {158, DigitSize::Small, DigitLook::Disabled, "digit158.bmp"},
        {160, DigitSize::Medium, DigitLook::Error, "digit160.bmp"},
        {161, DigitSize::Small, DigitLook::Error, "digit161.bmp"},
    };
    return files;
}

} // namespace kw::bitmaps
