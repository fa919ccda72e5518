#pragma once
// Icon files made in memory for the icon tests: each image a 32-bit DIB
// with an AND mask, solid in one colour but for a transparent top-left
// pixel.
#include <cstdint>
#include <string>
#include <vector>

namespace shell_test {

struct IcoImage {
    int size;
    std::uint32_t rgb; // 0xRRGGBB
};

inline void Put16(std::string& s, std::uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

inline std::string IcoDib(const IcoImage& image) {
    std::string d;
    const int n = image.size;
    Put32(d, 40);
    Put32(d, std::uint32_t(n));
    Put32(d, std::uint32_t(2 * n));
    Put16(d, 1);
    Put16(d, 32);
    for (int i = 0; i < 6; ++i)
        Put32(d, 0);
    // Colour rows bottom-up, alpha left 0 so that the mask decides.
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x)
            Put32(d, (x == 0 && y == 0) ? 0 : image.rgb);
    const int stride = ((n + 31) / 32) * 4;
    for (int y = n - 1; y >= 0; --y)
        for (int b = 0; b < stride; ++b)
            d += char((y == 0 && b == 0) ? 0x80 : 0x00);
    return d;
}

inline std::string MakeIco(const std::vector<IcoImage>& images) {
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, std::uint32_t(images.size()));
    std::vector<std::string> parts;
    for (const IcoImage& image : images)
        parts.push_back(IcoDib(image));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out += char(images[i].size & 0xFF);
        out += char(images[i].size & 0xFF);
        out += '\0';
        out += '\0';
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, std::uint32_t(parts[i].size()));
        Put32(out, offset);
        offset += std::uint32_t(parts[i].size());
    }
    for (const std::string& part : parts)
        out += part;
    return out;
}

} // namespace shell_test
