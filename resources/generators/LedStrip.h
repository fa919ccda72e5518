#pragma once
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

// The lamp pictures: 24 cells of 13 x 13 in one strip. Cell index =
// state + 3 x (colour + 4 x shape); colour 0 red, 1 green, 2 yellow, 3 blue;
// shape 0 round (sunken rim, light spot), 1 square (raised rim); state 0
// dark, 1 lit, 2 unavailable. Magenta is the transparent colour.
Picture16 MakeLedStrip();

constexpr int kLedCell = 13;
constexpr int kLedCells = 24;

} // namespace kw::bitmaps
