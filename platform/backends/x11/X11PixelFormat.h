#pragma once
// From the surfaces' 0x00RRGGBB pixels to the pixel values of a TrueColor
// visual, whatever its channel masks.
#include <cstdint>

namespace kw::x11 {

class PixelFormat {
public:
    PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask);

    // True when a pixel value is the surface pixel itself (8-bit channels at
    // 0x00RRGGBB), so rows can be copied unchanged.
    bool IsIdentity() const { return m_identity; }
    unsigned long FromSurface(std::uint32_t rgb) const {
        return Channel(rgb >> 16, m_red) | Channel(rgb >> 8, m_green) | Channel(rgb, m_blue);
    }

private:
    struct Field {
        int shift{0}; // of the mask's lowest bit
        int bits{0};  // width of the mask
        unsigned long mask{0};
    };
    static Field FieldOf(unsigned long mask);
    static unsigned long Channel(std::uint32_t value, const Field& f) {
        const unsigned long v = value & 0xFF;
        const unsigned long scaled = f.bits >= 8 ? v << (f.bits - 8) : v >> (8 - f.bits);
        return (scaled << f.shift) & f.mask;
    }

    Field m_red, m_green, m_blue;
    bool m_identity{false};
};

} // namespace kw::x11
