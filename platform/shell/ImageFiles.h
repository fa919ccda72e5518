#pragma once
// Reading the picture files icons come from: icon files (.ico, every image
// they hold, BMP- or PNG-coded), PNG and XPM pictures. Input is untrusted:
// every size is checked against the data and against kMaxImageSide before
// use; anything malformed reads as nothing.
#include "platform/gdi/GdiTypes.h"
#include "platform/user/Icon.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kw::shell {

constexpr int kMaxImageSide = 1024;

// Top row first, 0xAARRGGBB; alpha 0 is transparent.
struct RgbaImage {
    int width{0};
    int height{0};
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// Every image of an icon file, in the file's order.
std::vector<RgbaImage> ReadIcoImages(std::span<const std::uint8_t> data);
std::optional<RgbaImage> ReadPngImage(std::span<const std::uint8_t> data);
std::optional<RgbaImage> ReadXpmImage(std::string_view text);
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// The image at another size, each pixel sampled from the middle of the
// area it covers.
RgbaImage ScaleImage(const RgbaImage& image, int width, int height);

// An icon of the image: pixels with alpha below one half are transparent.
// The caller destroys it. Null for an empty image.
HICON CreateIconFromImage(const RgbaImage& image);
// A 32-bit bitmap of the image (transparent pixels as they are stored).
HBITMAP CreateBitmapFromRgba(const RgbaImage& image);

} // namespace kw::shell
