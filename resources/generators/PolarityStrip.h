#pragma once
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

// The Polarity pictures. Each cell is a small plate with the word ON, a
// level trace and the letters L and H. Cell 0 (bit 0 clear) highlights the
// L on a blue box and draws the trace blue; cell 1 highlights the H on a red
// box and draws the trace red.
//   wide:   65 x 13, two cells of 32 x 13, the last column magenta;
//   narrow: 32 x 33, two cells of 16 x 33: each wide cell turned upright
//           (a quarter turn to the left, read from the bottom), in columns
//           1-13 and rows 0-31 of its cell; the rest magenta.
Picture16 MakePolarityWideStrip();
Picture16 MakePolarityNarrowStrip();

constexpr int kPolarityWideCellWidth = 32;
constexpr int kPolarityWideCellHeight = 13;
constexpr int kPolarityWideStripWidth = 65;
constexpr int kPolarityNarrowCellWidth = 16;
constexpr int kPolarityNarrowCellHeight = 33;
constexpr int kPolarityNarrowStripWidth = 32;

} // namespace kw::bitmaps
