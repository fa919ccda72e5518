#pragma once
// A 16-colour picture with the classic palette, written as a 4-bit BMP file.
#include <cstdint>
#include <string>
#include <vector>

namespace kw::bitmaps {

// The classic 16-colour palette, in palette order.
enum Colour : std::uint8_t {
    Black, DarkRed, DarkGreen, DarkYellow, DarkBlue, DarkMagenta, DarkCyan, LightGrey,
    Grey, Red, Green, Yellow, Blue, Magenta, Cyan, White
};

class Picture16 {
public:
    Picture16(int width, int height, Colour fill);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Points outside the picture are ignored.
    void Set(int x, int y, Colour c);
    Colour Get(int x, int y) const;
    // The BMP file: BITMAPINFOHEADER, 16 palette entries, bottom-up rows.
    std::string EncodeBmp() const;
    // An icon file holding this picture as its one image; pixels of
    // `transparent` are left out by the icon's mask.
    std::string EncodeIco(Colour transparent) const;

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};

} // namespace kw::bitmaps
