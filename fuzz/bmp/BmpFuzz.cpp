// Feeds arbitrary bytes to the BMP reader: it must reject or decode, never
// read out of bounds, and a decoded image must be consistent.
#include "platform/gdi/BmpReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = ReadBmp(std::span<const std::uint8_t>(data, size));
    if (!image)
        return 0;
    if (image->width <= 0 || image->height <= 0 ||
        (long long)image->width * image->height > kMaxBmpPixels ||
        image->pixels.size() != std::size_t(image->width) * std::size_t(image->height))
        std::abort();
    for (std::uint32_t p : image->pixels)
        if (p > 0x00FFFFFF)
            std::abort();
    return 0;
}
