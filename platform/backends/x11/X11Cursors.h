#pragma once
// The platform's system cursors as X11 font cursors, created on first use
// and freed with the display.
#include "platform/backends/x11/X11Display.h"
#include "platform/base/WinTypes.h"

#include <map>

namespace kw::x11 {

// The X11 cursor-font shape for an IDC_ number; the arrow for numbers without
// a shape of their own.
unsigned int CursorShapeFor(WORD idc);

class X11Cursors {
public:
    explicit X11Cursors(X11Display& display) : m_display(display) {}
    ~X11Cursors();
    X11Cursors(const X11Cursors&) = delete;
    X11Cursors& operator=(const X11Cursors&) = delete;

    // The cursor for an IDC_ number; 0 (no number) is the hidden cursor.
    Cursor Get(WORD idc);

private:
    Cursor Hidden();

    X11Display& m_display;
    std::map<unsigned int, Cursor> m_shapes;
    Cursor m_hidden{None};
};

} // namespace kw::x11
