#include "platform/backends/x11/X11PixelFormat.h"

namespace kw::x11 {

PixelFormat::Field PixelFormat::FieldOf(unsigned long mask) {
    Field f;
    f.mask = mask;
    if (!mask)
        return f;
    while (!((mask >> f.shift) & 1))
        ++f.shift;
    while ((mask >> (f.shift + f.bits)) & 1)
        ++f.bits;
    return f;
}

PixelFormat::PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask)
    : m_red(FieldOf(redMask)), m_green(FieldOf(greenMask)), m_blue(FieldOf(blueMask)) {
    m_identity = redMask == 0xFF0000 && greenMask == 0xFF00 && blueMask == 0xFF;
}

} // namespace kw::x11
