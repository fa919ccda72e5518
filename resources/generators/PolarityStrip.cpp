#include "resources/generators/PolarityStrip.h"

namespace kw::bitmaps {

namespace {

// Letters 5 pixels high, one row per string, '#' set.
struct Glyph {
    const char* rows[5];
};
constexpr Glyph kO{{"###", "#.#", "#.#", "#.#", "###"}};
constexpr Glyph kN{{"#..#", "##.#", "#.##", "#..#", "#..#"}};
constexpr Glyph kL{{"#..", "#..", "#..", "#..", "###"}};
constexpr Glyph kH{{"#.#", "#.#", "###", "#.#", "#.#"}};

void DrawGlyph(Picture16& p, int x0, int y0, const Glyph& g, Colour c) {
    for (int y = 0; y < 5; ++y)
        for (int x = 0; g.rows[y][x]; ++x)
            if (g.rows[y][x] == '#')
                p.Set(x0 + x, y0 + y, c);
}

void Fill(Picture16& p, int x0, int y0, int x1, int y1, Colour c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            p.Set(x, y, c);
}

// One wide cell at `left`: 0 for L (blue), 1 for H (red).
void DrawWideCell(Picture16& p, int left, int cell) {
    const Colour mark = cell == 0 ? Blue : Red;
    // The plate, raised: light above and left, dark below and right.
    Fill(p, left, 0, left + 31, 12, LightGrey);
    Fill(p, left, 0, left + 31, 0, White);
    Fill(p, left, 0, left, 12, White);
    Fill(p, left, 12, left + 31, 12, Black);
    Fill(p, left + 31, 0, left + 31, 12, Black);
    Fill(p, left + 1, 11, left + 30, 11, Grey);
    Fill(p, left + 30, 1, left + 30, 11, Grey);
    // ON
    DrawGlyph(p, left + 2, 4, kO, Black);
    DrawGlyph(p, left + 6, 4, kN, Black); // columns 6-9
    // The level trace: low, a rising edge, high.
    Fill(p, left + 12, 8, left + 14, 8, mark);
    Fill(p, left + 15, 3, left + 15, 8, mark);
    Fill(p, left + 15, 3, left + 19, 3, mark);
    // L and H, the one of this state on a box of the marking colour.
    const int lx = left + 22, hx = left + 26;
    if (cell == 0)
        Fill(p, lx - 1, 3, lx + 3, 9, mark);
    else
        Fill(p, hx - 1, 3, hx + 3, 9, mark);
    DrawGlyph(p, lx, 4, kL, cell == 0 ? White : Grey);
    DrawGlyph(p, hx, 4, kH, cell == 1 ? White : Grey);
}

} // namespace

Picture16 MakePolarityWideStrip() {
    Picture16 strip(kPolarityWideStripWidth, kPolarityWideCellHeight, Magenta);
    for (int cell = 0; cell < 2; ++cell)
        DrawWideCell(strip, cell * kPolarityWideCellWidth, cell);
    return strip;
}

Picture16 MakePolarityNarrowStrip() {
    const Picture16 wide = MakePolarityWideStrip();
    Picture16 strip(kPolarityNarrowStripWidth, kPolarityNarrowCellHeight, Magenta);
    for (int cell = 0; cell < 2; ++cell)
        for (int y = 0; y < kPolarityWideCellHeight; ++y)
            for (int x = 0; x < kPolarityWideCellWidth; ++x)
                strip.Set(cell * kPolarityNarrowCellWidth + 1 + y, kPolarityWideCellWidth - 1 - x,
                          wide.Get(cell * kPolarityWideCellWidth + x, y));
    return strip;
}

} // namespace kw::bitmaps
