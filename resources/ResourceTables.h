#pragma once
// The module's resources, compiled from Kestrowidge.rc at build time.
#include "platform/afx/DialogTemplate.h"
#include "platform/afx/ModuleResources.h"

#include <span>

struct BitmapResource {
    UINT id;
    std::span<const unsigned char> bytes; // a BMP file
};

namespace kw::resources {

std::span<const StringTableEntry> StringTable();
std::span<const DialogTemplate> DialogTemplates();
std::span<const BitmapResource> Bitmaps();
std::span<const IconResource> Icons();

} // namespace kw::resources
