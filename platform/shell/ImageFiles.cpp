// Icon, PNG and XPM pictures, read into RGBA images.
//
// [SECTION] Helpers
// [SECTION] Icon files
// [SECTION] PNG
// [SECTION] XPM
// [SECTION] Icons and bitmaps from images
#include "platform/shell/ImageFiles.h"

#include "platform/gdi/BmpReader.h"
#include "platform/gdi/GdiObjects.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <map>

namespace kw::shell {

namespace {

// [SECTION] Helpers

constexpr std::size_t kMaxFileBytes = 16u << 20;

std::uint32_t Le16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8;
}
std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t at) {
    return Le16(d, at) | Le16(d, at + 2) << 16;
}

bool SaneSize(long long w, long long h) {
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide;
}

constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> d) {
    return d.size() >= sizeof kPngSignature &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), d.begin());
}

// [SECTION] Icon files

// A BMP-coded icon image: a packed DIB whose height counts the colour rows
// and the 1-bit AND mask rows below them.
std::optional<RgbaImage> ReadIcoDib(std::span<const std::uint8_t> d) {
    if (d.size() < 40)
        return std::nullopt;
    const std::uint32_t headerSize = Le32(d, 0);
    const auto width = std::int32_t(Le32(d, 4));
    const auto doubled = std::int32_t(Le32(d, 8));
    const std::uint32_t bits = Le16(d, 14);
    const std::uint32_t compression = Le32(d, 16);
    if (headerSize < 40 || headerSize > d.size() || doubled <= 0 || doubled % 2 != 0)
        return std::nullopt;
    const int height = doubled / 2;
    if (!SaneSize(width, height) || compression != 0)
        return std::nullopt;

    RgbaImage out{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    std::size_t colourBytes = 0;
    const std::size_t colourStride = ((std::size_t(width) * bits + 31) / 32) * 4;
    bool anyAlpha = false;
    if (bits == 32) {
        colourBytes = colourStride * std::size_t(height);
        if (headerSize + colourBytes > d.size())
            return std::nullopt;
        for (int y = 0; y < height; ++y) {
            const std::size_t row = headerSize + std::size_t(height - 1 - y) * colourStride;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t bgra = Le32(d, row + std::size_t(x) * 4);
                out.pixels[std::size_t(y) * width + x] = bgra;
                anyAlpha = anyAlpha || (bgra >> 24) != 0;
            }
        }
    } else {
        // The colour part as a packed DIB of the real height.
        std::vector<std::uint8_t> dib(d.begin(), d.end());
        const auto h = std::uint32_t(height);
        for (int i = 0; i < 4; ++i)
            dib[8 + std::size_t(i)] = std::uint8_t(h >> (8 * i));
        const std::optional<BmpImage> colour = ReadBmp(dib);
        if (!colour || colour->width != width || colour->height != height)
            return std::nullopt;
        for (std::size_t i = 0; i < out.pixels.size(); ++i)
            out.pixels[i] = 0xFF000000u | (colour->pixels[i] & 0xFFFFFF);
        std::uint32_t paletteCount = Le32(d, 32);
        if (paletteCount == 0 && bits <= 8)
            paletteCount = 1u << bits;
        colourBytes = std::size_t(paletteCount) * 4 + colourStride * std::size_t(height);
    }
    if (anyAlpha)
        return out;
    // Without alpha the AND mask decides: set bits are transparent. An image
    // without a complete mask is taken as opaque.
    const std::size_t maskStride = ((std::size_t(width) + 31) / 32) * 4;
    const std::size_t maskAt = headerSize + colourBytes;
    const bool hasMask = maskAt + maskStride * std::size_t(height) <= d.size();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t& p = out.pixels[std::size_t(y) * width + x];
            bool transparent = false;
            if (hasMask) {
                const std::size_t row = maskAt + std::size_t(height - 1 - y) * maskStride;
                transparent = (d[row + std::size_t(x) / 8] >> (7 - x % 8)) & 1;
            }
            p = transparent ? 0 : (0xFF000000u | (p & 0xFFFFFF));
        }
    }
    return out;
}

} // namespace

std::vector<RgbaImage> ReadIcoImages(std::span<const std::uint8_t> d) {
    std::vector<RgbaImage> images;
    if (d.size() < 6 || Le16(d, 0) != 0 || Le16(d, 2) != 1)
        return images;
    const std::uint32_t count = Le16(d, 4);
    if (6 + std::size_t(count) * 16 > d.size())
        return images;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + std::size_t(i) * 16;
        const std::uint32_t size = Le32(d, entry + 8);
        const std::uint32_t offset = Le32(d, entry + 12);
        if (offset > d.size() || size > d.size() - offset || size == 0)
            continue;
        const auto part = d.subspan(offset, size);
        std::optional<RgbaImage> image = IsPng(part) ? ReadPngImage(part) : ReadIcoDib(part);
        if (image)
            images.push_back(std::move(*image));
    }
    return images;
}

// [SECTION] PNG

std::optional<RgbaImage> ReadPngImage(std::span<const std::uint8_t> data) {
    if (!IsPng(data))
        return std::nullopt;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size()))
        return std::nullopt;
    if (!SaneSize(png.width, png.height)) {
        png_image_free(&png);
        return std::nullopt;
    }
    png.format = PNG_FORMAT_BGRA; // little-endian words of 0xAARRGGBB
    RgbaImage out{int(png.width), int(png.height),
                  std::vector<std::uint32_t>(std::size_t(png.width) * png.height)};
    std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = Le32(bytes, i * 4);
    return out;
}

// [SECTION] XPM

namespace {

// The quoted strings of an XPM file, in order.
std::vector<std::string> XpmStrings(std::string_view text) {
    std::vector<std::string> strings;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 2;
        } else if (text[i] == '"') {
            const std::size_t end = text.find('"', i + 1);
            if (end == std::string_view::npos)
                break;
            strings.emplace_back(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            ++i;
        }
    }
    return strings;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// A colour value: "None", "#RGB", "#RRGGBB", "#RRRRGGGGBBBB" or a few names.
std::optional<std::uint32_t> XpmColour(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (value == "none")
        return 0u;
    if (!value.empty() && value[0] == '#') {
        const std::string_view hex = std::string_view(value).substr(1);
        if (hex.empty() || hex.size() % 3 != 0 || hex.size() > 12)
            return std::nullopt;
        const std::size_t n = hex.size() / 3;
        std::uint32_t rgb = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            int v = 0;
            for (std::size_t k = 0; k < std::min<std::size_t>(n, 2); ++k) {
                const int digit = HexValue(hex[c * n + k]);
                if (digit < 0)
                    return std::nullopt;
                v = v * 16 + digit;
            }
            if (n == 1)
                v *= 17;
            rgb = rgb << 8 | std::uint32_t(v);
        }
        return 0xFF000000u | rgb;
    }
    static const std::map<std::string, std::uint32_t> kNames = {
        {"black", 0x000000}, {"white", 0xFFFFFF},  {"red", 0xFF0000},  {"green", 0x00FF00},
        {"blue", 0x0000FF},  {"yellow", 0xFFFF00}, {"cyan", 0x00FFFF}, {"magenta", 0xFF00FF},
        {"gray", 0xBEBEBE},  {"grey", 0xBEBEBE}};
    const auto found = kNames.find(value);
    if (found == kNames.end())
        return std::nullopt;
    return 0xFF000000u | found->second;
}

} // namespace

std::optional<RgbaImage> ReadXpmImage(std::string_view text) {
    const std::vector<std::string> s = XpmStrings(text);
    if (s.empty())
        return std::nullopt;
    long long width = 0, height = 0, colours = 0, cpp = 0;
    if (std::sscanf(s[0].c_str(), "%lld %lld %lld %lld", &width, &height, &colours, &cpp) != 4)
        return std::nullopt;
    if (!SaneSize(width, height) || colours <= 0 || colours > 65536 || cpp <= 0 || cpp > 4 ||
        s.size() < std::size_t(1 + colours + height))
        return std::nullopt;
    std::map<std::string, std::uint32_t> table;
    for (long long c = 0; c < colours; ++c) {
        const std::string& line = s[std::size_t(1 + c)];
        if (line.size() < std::size_t(cpp))
            return std::nullopt;
        const std::string key = line.substr(0, std::size_t(cpp));
        // Pairs of a context and a value; the colour context "c" is used.
        std::vector<std::string> words;
        std::string word;
        for (char ch : line.substr(std::size_t(cpp)) + " ") {
            if (std::isspace(static_cast<unsigned char>(ch))) {
                if (!word.empty())
                    words.push_back(std::move(word));
                word.clear();
            } else {
                word += ch;
            }
        }
        std::optional<std::uint32_t> colour;
        for (std::size_t w = 0; w + 1 < words.size(); w += 2)
            if (words[w] == "c")
                colour = XpmColour(words[w + 1]);
        if (!colour)
            return std::nullopt;
        table[key] = *colour;
    }
    RgbaImage out{int(width), int(height),
                  std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height))};
    for (long long y = 0; y < height; ++y) {
        const std::string& row = s[std::size_t(1 + colours + y)];
        if (row.size() < std::size_t(width * cpp))
            return std::nullopt;
        for (long long x = 0; x < width; ++x) {
            const auto found = table.find(row.substr(std::size_t(x * cpp), std::size_t(cpp)));
            if (found == table.end())
                return std::nullopt;
            out.pixels[std::size_t(y * width + x)] = found->second;
        }
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > kMaxFileBytes)
            return std::nullopt;
    }
    return bytes;
}

// [SECTION] Icons and bitmaps from images

RgbaImage ScaleImage(const RgbaImage& image, int width, int height) {
    if (image.width == width && image.height == height)
        return image;
    RgbaImage out{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    if (image.width <= 0 || image.height <= 0)
        return out;
    for (int y = 0; y < height; ++y) {
        const int sy = int((2LL * y + 1) * image.height / (2LL * height));
        for (int x = 0; x < width; ++x) {
            const int sx = int((2LL * x + 1) * image.width / (2LL * width));
            out.pixels[std::size_t(y) * width + x] = image.At(sx, sy);
        }
    }
    return out;
}

HICON CreateIconFromImage(const RgbaImage& image) {
    if (image.width <= 0 || image.height <= 0)
        return nullptr;
    BmpImage colour{image.width, image.height, {}, false};
    BmpImage mask{image.width, image.height, {}, true};
    colour.pixels.reserve(image.pixels.size());
    mask.pixels.reserve(image.pixels.size());
    for (std::uint32_t p : image.pixels) {
        const bool opaque = (p >> 24) >= 0x80;
        colour.pixels.push_back(opaque ? (p & 0xFFFFFF) : 0);
        mask.pixels.push_back(opaque ? 0 : 0xFFFFFF);
    }
    ICONINFO info;
    info.hbmColor = CreateBitmapFromImage(colour);
    info.hbmMask = CreateBitmapFromImage(mask);
    HICON icon = info.hbmColor && info.hbmMask ? CreateIconIndirect(&info) : nullptr;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return icon;
}

HBITMAP CreateBitmapFromRgba(const RgbaImage& image) {
    if (image.width <= 0 || image.height <= 0)
        return nullptr;
    BmpImage colour{image.width, image.height, {}, false};
    colour.pixels.reserve(image.pixels.size());
    for (std::uint32_t p : image.pixels)
        colour.pixels.push_back(p & 0xFFFFFF);
    return CreateBitmapFromImage(colour);
}

} // namespace kw::shell
