#pragma once
// The five jog pad pictures. Each is a light grey field with buttons drawn
// as black arrows (every arrow one 4-connected region holding one white seed
// pixel) and lamps drawn as a yellow letter in a yellow frame with a red
// pixel at the lamp's centre. The pad finds its buttons and lamps from
// exactly these rules, so every arrow's bounding box and every lamp's centre
// is placed to the pixel.
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

// Layouts 0 to 4: XY with Z (83 x 66), rotation (46 x 46), AB (65 x 66),
// XY (65 x 66) and Z (65 x 54).
Picture16 MakePosLayout(int layout);

constexpr int kPosLayouts = 5;
// The resource id and file name of each layout's picture.
constexpr unsigned kPosLayoutIds[kPosLayouts] = {225, 227, 228, 231, 232};
constexpr const char* kPosLayoutFiles[kPosLayouts] = {"pos225.bmp", "pos227.bmp", "pos228.bmp",
                                                      "pos231.bmp", "pos232.bmp"};

} // namespace kw::bitmaps
