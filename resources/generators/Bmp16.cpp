#include "resources/generators/Bmp16.h"

namespace kw::bitmaps {

namespace {

constexpr std::uint32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void Put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

Picture16::Picture16(int width, int height, Colour fill)
    : m_width(width), m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Picture16::Set(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[static_cast<std::size_t>(y) * m_width + x] = c;
}

Colour Picture16::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return Black;
    return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

std::string Picture16::EncodeBmp() const {
    const std::uint32_t rowBytes = ((static_cast<std::uint32_t>(m_width) * 4 + 31) / 32) * 4;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(m_height);
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    std::string out;
    out += "BM";
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(m_width));
    Put32(out, static_cast<std::uint32_t>(m_height)); // positive: bottom-up
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0); // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, 3780); // 96 dpi
    Put32(out, 3780);
    Put32(out, 16);
    Put32(out, 0);
    for (std::uint32_t rgb : kPalette)
        Put32(out, rgb); // stored as blue, green, red, reserved
    for (int y = m_height - 1; y >= 0; --y) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < m_width; ++x) {
            auto nibble = static_cast<std::uint8_t>(Get(x, y));
            auto& byte = reinterpret_cast<std::uint8_t&>(row[static_cast<std::size_t>(x / 2)]);
            byte |= x % 2 == 0 ? static_cast<std::uint8_t>(nibble << 4) : nibble;
        }
        out += row;
    }
    return out;
}

std::string Picture16::EncodeIco(Colour transparent) const {
    // The image as a packed bitmap (no file header) of twice the height,
    // transparent pixels black, followed by the AND mask.
    Picture16 image = *this;
    for (auto& c : image.m_pixels)
        if (c == transparent)
            c = Black;
    std::string dib = image.EncodeBmp().substr(14);
    const auto doubled = static_cast<std::uint32_t>(m_height) * 2;
    for (int i = 0; i < 4; ++i)
        dib[8 + static_cast<std::size_t>(i)] = static_cast<char>((doubled >> (8 * i)) & 0xFF);
    const std::uint32_t maskRow = ((static_cast<std::uint32_t>(m_width) + 31) / 32) * 4;
    for (int y = m_height - 1; y >= 0; --y) {
        std::string row(maskRow, '\0');
        for (int x = 0; x < m_width; ++x)
            if (Get(x, y) == transparent)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        dib += row;
    }
    // Header size field of the image: the colour part and the mask together.
    const auto imageBytes = static_cast<std::uint32_t>(dib.size() - 40 - 16 * 4);
    for (int i = 0; i < 4; ++i)
        dib[20 + static_cast<std::size_t>(i)] = static_cast<char>((imageBytes >> (8 * i)) & 0xFF);
    std::string out;
    Put16(out, 0);
    Put16(out, 1); // an icon
    Put16(out, 1); // one image
    out += static_cast<char>(m_width >= 256 ? 0 : m_width);
    out += static_cast<char>(m_height >= 256 ? 0 : m_height);
    out += static_cast<char>(16); // colours
    out += '\0';
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, static_cast<std::uint32_t>(dib.size()));
    Put32(out, 6 + 16);
    return out + dib;
}

} // namespace kw::bitmaps
