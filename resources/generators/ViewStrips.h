#pragma once
// The view chooser's two picture strips, 52 x 52 pixels per picture, magenta
// where the control's background shows through. Each hotspot of the chooser
// lies at (26 + dx, 26 + dy) of its picture.
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

constexpr int kViewPicture = 52;
constexpr int kIsometricPictures = 12;
constexpr int kFacePictures = 11;

// Strip 214, the isometric level: a cube seen from above with a white top
// and grey sides. Picture 0 shows green dots at the seven visible corners and
// two blue 120-degree arrows beside the front corner; pictures 1 to 6 each
// add a red turn arrow at one outer corner (90, 180 degrees, turning over),
// pictures 7 and 8 show one 120-degree arrow in red, pictures 9 to 11 fill
// the left, right or top face green.
Picture16 MakeIsometricStrip();

// Strip 221, the face level: one face as a white square with green dots at
// its corners and edge middles and two blue 90-degree arrows in the middle.
// Pictures 1 and 2 show one arrow in red, pictures 3 to 10 one dot in red.
Picture16 MakeFaceStrip();

} // namespace kw::bitmaps
