#pragma once
// Reading BMP images: 1, 4 and 8 bits per pixel with palettes, 16, 24 and
// 32 bits (BI_RGB or BI_BITFIELDS), bottom-up or top-down rows. Input is
// untrusted: every header field is checked against the data before use, and
// images beyond kMaxBmpPixels are refused.
#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr long long kMaxBmpPixels = 1LL << 24; // 16 Mi pixels.
constexpr int kMaxBmpSide = 1 << 15;

struct BmpImage {
    int width{0};
    int height{0};
    // Top row first, 0x00RRGGBB.
    std::vector<std::uint32_t> pixels;
    // Stored with one bit per pixel and a black-and-white palette.
    bool monochrome{false};
};

// A whole file ("BM" and a file header) or a packed device-independent
// bitmap (info header, palette, pixels). Nothing for anything malformed.
std::optional<BmpImage> ReadBmp(std::span<const std::uint8_t> data);
std::optional<BmpImage> ReadBmpFile(const std::string& path);

// A bitmap holding the image: monochrome for a black-and-white 1-bit image,
// 32-bit colour otherwise. Null when the image cannot be read.
HBITMAP CreateBitmapFromBmp(std::span<const std::uint8_t> data);
HBITMAP CreateBitmapFromImage(const BmpImage& image);
