#pragma once
#include "resources/generators/Bmp16.h"

#include <string>
#include <vector>

namespace kw::bitmaps {

// The glyph strips of the seven-segment read-out: 13 cells side by side,
// the digits 0 to 9, the blank cell, the minus sign and the blank cell with
// its decimal point lit. Segments are slanted bars with bevelled ends and
// gaps between them. Lit segments are darker than unlit ones, and every
// colour of a glyph keeps its own value when ANDed with an unlit segment or
// the background, so two glyphs combined with SRCAND light the segments of
// either.
enum class DigitSize { Big, Medium, Small };
enum class DigitLook { Normal, Disabled, Error };

constexpr int kDigitGlyphs = 13;

struct DigitCellSize {
    int width;
    int height;
};
DigitCellSize DigitCellOf(DigitSize size);

// The segments a glyph lights, as bits: a (top) = 1, b = 2, c = 4,
// d (bottom) = 8, e = 16, f = 32, g (middle) = 64, the point = 128.
unsigned DigitSegments(int glyph);

struct DigitLookColours {
    Colour background;
    Colour unlit;
    Colour lit;
};
DigitLookColours DigitColoursOf(DigitLook look);

Picture16 MakeDigitStrip(DigitSize size, DigitLook look);

// The strips the module holds, by resource id and file name.
struct DigitStripFile {
    int id;
    DigitSize size;
    DigitLook look;
    const char* file;
};
const std::vector<DigitStripFile>& DigitStripFiles();

} // namespace kw::bitmaps
