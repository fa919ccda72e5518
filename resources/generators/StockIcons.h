#pragma once
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

// The stock icon set that stands in for the system icon library: one strip
// of square cells per size (32 and 16 pixels), in this order: program,
// terminal, document, folder, gear, disk, globe, calculator, wrench, clock,
// warning, information, question, star, printer, spindle. Magenta is the
// transparent colour.
Picture16 MakeStockIconStrip(int size);

constexpr int kStockIcons = 16;

} // namespace kw::bitmaps
