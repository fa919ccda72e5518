#pragma once
// The module's own pictures: the 16 x 15 toolbox bitmap of each control, as
// a container's tool palette shows it, and the 32 x 32 module icon.
#include "resources/generators/Bmp16.h"

#include <string>
#include <vector>

namespace kw::bitmaps {

constexpr int kToolboxWidth = 16;
constexpr int kToolboxHeight = 15;

struct ToolboxBitmap {
    int id;           // the control's toolbox bitmap id
    std::string file; // as the resource script names it
    Picture16 picture;
};

// One per control, in the module's class order.
std::vector<ToolboxBitmap> MakeToolboxBitmaps();

// The icon's transparent pixels are Magenta.
Picture16 MakeModuleIcon();
constexpr Colour kModuleIconTransparent = Magenta;

} // namespace kw::bitmaps
