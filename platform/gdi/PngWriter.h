#pragma once
// Writing surfaces as 8-bit RGB PNG images, for snapshots.
#include "platform/gdi/Surface.h"

#include <cstdint>
#include <string>
#include <vector>

// Empty on failure (no pixels, or libpng refused).
std::vector<std::uint8_t> EncodePng(const PixelSurface& surface);
// False when the surface is empty or the file cannot be written.
bool WritePng(const PixelSurface& surface, const std::string& path);
