#include "resources/generators/SwitchStrip.h"

namespace kw::bitmaps {

namespace {

// The slot the lever runs in: a sunken frame around a dark track, in the
// middle of the cell, with a transparent margin left and right.
void DrawSlot(Picture16& p, int left) {
    for (int y = 0; y < kSwitchCellHeight; ++y)
        for (int x = 2; x <= 13; ++x) {
            Colour c = Grey;
            if (y == 0 || x == 2)
                c = Grey; // the outer edge, dark above and left
            else if (y == 16 || x == 13)
                c = White;
            else if (y == 1 || x == 3)
                c = Black;
            else if (y == 15 || x == 12)
                c = LightGrey;
            else if (x == 7 || x == 8)
                c = Black; // the track
            p.Set(left + x, y, c);
        }
}

// A raised lever of 8 x 6 from row `top`, with a ridge across its face.
void DrawLever(Picture16& p, int left, int top, Colour face, bool flat) {
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            Colour c = face;
            if (flat)
                c = (x == 0 || y == 0 || x == 7 || y == 5) ? Grey : face;
            else if (x == 7 || y == 5)
                c = Black;
            else if (x == 0 || y == 0)
                c = White;
            else if (x == 6 || y == 4)
                c = Grey;
            if (y == 2 && x >= 2 && x <= 5)
                c = flat ? Grey : Black; // the ridge
            p.Set(left + 4 + x, top + y, c);
        }
}

} // namespace

Picture16 MakeSwitchStrip() {
    Picture16 strip(kSwitchStripWidth, kSwitchCellHeight, Magenta);
    struct Cell {
        int top;
        Colour face;
        bool flat;
    };
    constexpr Cell kCells[4] = {
        {9, Blue, false},     // off: the lever down
        {2, Red, false},      // on: the lever up
        {9, LightGrey, true}, // disabled: down, without relief or colour
        {5, Yellow, false},   // special: in the middle
    };
    for (int i = 0; i < 4; ++i) {
        const int left = i * kSwitchCellWidth;
        DrawSlot(strip, left);
        DrawLever(strip, left, kCells[i].top, kCells[i].face, kCells[i].flat);
    }
    return strip;
}

} // namespace kw::bitmaps
