#include "platform/gdi/BmpReader.h"

#include "platform/gdi/GdiObjects.h"

#include <array>
#include <bit>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t U16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | (std::uint32_t(d[at + 1]) << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return U16(d, at) | (U16(d, at + 2) << 16);
}

// Spreads a masked channel over 0..255.
struct Channel {
    std::uint32_t mask{0};
    int shift{0};
    int bits{0};

    explicit Channel(std::uint32_t m) : mask(m) {
        if (!m)
            return;
        // The span from the lowest to the highest set bit, so that a mask
        // with holes still yields values within 8 bits.
        shift = std::countr_zero(m);
        bits = 32 - std::countl_zero(m >> shift);
    }
    std::uint32_t Get(std::uint32_t value) const {
        if (!mask)
            return 0;
        const std::uint32_t v = (value & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        // Scale to 0..255: five bits of 11111 give 255.
        return v * 255 / ((1u << bits) - 1);
    }
};

} // namespace

std::optional<BmpImage> ReadBmp(std::span<const std::uint8_t> data) {
    std::size_t base = 0;     // Start of the info header.
    std::size_t pixelsAt = 0; // From the file header; 0 when packed.
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (data.size() < 14)
            return std::nullopt;
        pixelsAt = U32(data, 10);
        base = 14;
    }
    if (data.size() < base + 4)
        return std::nullopt;
    const std::uint32_t headerSize = U32(data, base);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
        headerSize != 108 && headerSize != 124)
        return std::nullopt;
    if (data.size() < base + headerSize)
        return std::nullopt;

    long long width, height;
    std::uint32_t bpp, compression = BI_RGB, colorsUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = U16(data, base + 4);
        height = std::int16_t(U16(data, base + 6));
        if (U16(data, base + 8) != 1)
            return std::nullopt;
        bpp = U16(data, base + 10);
        paletteEntry = 3;
    } else {
        width = std::int32_t(U32(data, base + 4));
        height = std::int32_t(U32(data, base + 8));
        if (U16(data, base + 12) != 1)
            return std::nullopt;
        bpp = U16(data, base + 14);
        compression = U32(data, base + 16);
        colorsUsed = U32(data, base + 32);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width > kMaxBmpSide || height > kMaxBmpSide ||
        width * height > kMaxBmpPixels)
        return std::nullopt;

    // Colour masks: in the header from version 4 (and 52/56-byte headers),
    // else right after a 40-byte header.
    std::size_t after = base + headerSize;
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (bpp == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (compression == BI_BITFIELDS) {
        if (bpp != 16 && bpp != 32)
            return std::nullopt;
        if (headerSize == 40) {
            if (data.size() < after + 12)
                return std::nullopt;
            for (int i = 0; i < 3; ++i)
                masks[i] = U32(data, after + 4 * std::size_t(i));
            after += 12;
        } else {
            for (int i = 0; i < 3; ++i)
                masks[i] = U32(data, base + 40 + 4 * std::size_t(i));
        }
    } else if (compression != BI_RGB) {
        return std::nullopt; // Run-length and embedded formats are not read.
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;

    // Palette.
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const std::uint32_t maxColors = 1u << bpp;
        std::uint32_t count = colorsUsed ? colorsUsed : maxColors;
        if (count > 256)
            return std::nullopt;
        if (data.size() < after + std::size_t(count) * paletteEntry)
            return std::nullopt;
        palette.resize(maxColors, 0); // Indices past the palette read black.
        for (std::uint32_t i = 0; i < count && i < maxColors; ++i) {
            const std::size_t at = after + std::size_t(i) * paletteEntry;
            palette[i] =
                (std::uint32_t(data[at + 2]) << 16) | (std::uint32_t(data[at + 1]) << 8) | data[at];
        }
        after += std::size_t(count) * paletteEntry;
    }

    const std::size_t rowBytes = ((std::size_t(width) * bpp + 31) / 32) * 4;
    const std::size_t start = pixelsAt ? pixelsAt : after;
    if (start > data.size() || (data.size() - start) / rowBytes < std::size_t(height))
        return std::nullopt;

    BmpImage image;
    image.width = int(width);
    image.height = int(height);
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    image.monochrome = bpp == 1 && ((palette[0] == 0 && palette[1] == 0xFFFFFF) ||
                                    (palette[0] == 0xFFFFFF && palette[1] == 0));
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int row = 0; row < image.height; ++row) {
        const std::uint8_t* src = data.data() + start + std::size_t(row) * rowBytes;
        const int y = topDown ? row : image.height - 1 - row;
        std::uint32_t* out = image.pixels.data() + std::size_t(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t p;
            switch (bpp) {
            case 1:
                p = palette[(src[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                p = palette[(src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
                break;
            case 8:
                p = palette[src[x]];
                break;
            case 16: {
                const std::uint32_t v =
                    std::uint32_t(src[2 * x]) | (std::uint32_t(src[2 * x + 1]) << 8);
                p = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
                break;
            }
            case 24:
                p = (std::uint32_t(src[3 * x + 2]) << 16) | (std::uint32_t(src[3 * x + 1]) << 8) |
                    src[3 * x];
                break;
            default: {
                const std::uint8_t* q = src + 4 * x;
                const std::uint32_t v = std::uint32_t(q[0]) | (std::uint32_t(q[1]) << 8) |
                                        (std::uint32_t(q[2]) << 16) | (std::uint32_t(q[3]) << 24);
                p = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
                break;
            }
            }
            out[x] = p;
        }
    }
    return image;
}

std::optional<BmpImage> ReadBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    return ReadBmp(bytes);
}

HBITMAP CreateBitmapFromImage(const BmpImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        return nullptr;
    if (!image.monochrome)
        return CreateBitmap(image.width, image.height, 1, 32, image.pixels.data());
    // Monochrome rows padded to 16 bits, 1 = white.
    const std::size_t rowBytes = std::size_t((image.width + 15) / 16) * 2;
    std::vector<std::uint8_t> bits(rowBytes * std::size_t(image.height), 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[std::size_t(y) * image.width + x])
                bits[std::size_t(y) * rowBytes + std::size_t(x / 8)] |=
                    std::uint8_t(0x80 >> (x % 8));
    return CreateBitmap(image.width, image.height, 1, 1, bits.data());
}

HBITMAP CreateBitmapFromBmp(std::span<const std::uint8_t> data) {
    auto image = ReadBmp(data);
    return image ? CreateBitmapFromImage(*image) : nullptr;
}
