#pragma once
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

// The Switch pictures: 81 x 17, five cells of 16 x 17 of which four are
// drawn: 0 off (lever down, blue), 1 on (lever up, red), 2 disabled (lever
// down, grey), 3 the special state (lever in the middle, yellow). Cell 4
// and the last column are magenta, the transparent colour.
Picture16 MakeSwitchStrip();

constexpr int kSwitchCellWidth = 16;
constexpr int kSwitchCellHeight = 17;
constexpr int kSwitchStripWidth = 81;

} // namespace kw::bitmaps
