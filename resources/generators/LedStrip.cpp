#include "resources/generators/LedStrip.h"

#include <algorithm>

namespace kw::bitmaps {

namespace {

Colour BodyColour(int colour, int state) {
    static constexpr Colour kDark[4] = {DarkRed, DarkGreen, DarkYellow, DarkBlue};
    static constexpr Colour kLit[4] = {Red, Green, Yellow, Blue};
    if (state == 2)
        return Grey;
    return state == 0 ? kDark[colour] : kLit[colour];
}

void DrawRoundLamp(Picture16& p, int left, Colour body, Colour spot) {
    for (int y = 0; y < kLedCell; ++y) {
        for (int x = 0; x < kLedCell; ++x) {
            int dx = x - 6, dy = y - 6;
            int d2 = dx * dx + dy * dy;
            if (d2 <= 20)
                p.Set(left + x, y, body);
            else if (d2 <= 34) // the rim, sunken: dark above-left, light below-right
                p.Set(left + x, y, dx + dy < 0 ? Grey : White);
        }
    }
    p.Set(left + 4, 3, spot);
    p.Set(left + 3, 4, spot);
    p.Set(left + 4, 4, spot);
}

void DrawSquareLamp(Picture16& p, int left, Colour body) {
    for (int y = 0; y < kLedCell; ++y) {
        for (int x = 0; x < kLedCell; ++x) {
            int edge = std::min(std::min(x, y), std::min(12 - x, 12 - y));
            // Bottom and right sides own the two odd corners, as DrawEdge does.
            bool lowerRight = x == 12 - edge || y == 12 - edge;
            Colour c = body;
            if (edge == 0) // the rim, raised: light above-left, dark below-right
                c = lowerRight ? Black : White;
            else if (edge == 1)
                c = lowerRight ? Grey : LightGrey;
            p.Set(left + x, y, c);
        }
    }
}

} // namespace

Picture16 MakeLedStrip() {
    Picture16 strip(kLedCell * kLedCells, kLedCell, Magenta);
    for (int shape = 0; shape < 2; ++shape)
        for (int colour = 0; colour < 4; ++colour)
            for (int state = 0; state < 3; ++state) {
                int cell = state + 3 * (colour + 4 * shape);
                Colour body = BodyColour(colour, state);
                if (shape == 0)
                    DrawRoundLamp(strip, cell * kLedCell, body, state == 1 ? White : LightGrey);
                else
                    DrawSquareLamp(strip, cell * kLedCell, body);
            }
    return strip;
}

} // namespace kw::bitmaps
