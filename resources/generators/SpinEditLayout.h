#pragma once
// The SpinEdit layout page's picture (bitmap 208, 261 x 182): the field drawn
// large with its parts (label, value field, spin buttons, unit button) and
// dimension lines for the widths and heights the page edits. Light grey is
// the background the page lets show through.
#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

inline constexpr int kSpinEditLayoutWidth = 261;
inline constexpr int kSpinEditLayoutHeight = 182;

Picture16 MakeSpinEditLayout();

} // namespace kw::bitmaps
