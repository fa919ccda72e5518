#include "platform/backends/x11/X11Cursors.h"

#include <X11/cursorfont.h>

namespace kw::x11 {

unsigned int CursorShapeFor(WORD idc) {
    switch (idc) {
    case 32513: // IDC_IBEAM
        return XC_xterm;
    case 32514: // IDC_WAIT
        return XC_watch;
    case 32515: // IDC_CROSS
        return XC_crosshair;
    case 32516: // IDC_UPARROW
        return XC_sb_up_arrow;
    case 32642: // IDC_SIZENWSE
        return XC_bottom_right_corner;
    case 32643: // IDC_SIZENESW
        return XC_bottom_left_corner;
    case 32644: // IDC_SIZEWE
        return XC_sb_h_double_arrow;
    case 32645: // IDC_SIZENS
        return XC_sb_v_double_arrow;
    case 32646: // IDC_SIZEALL
        return XC_fleur;
    case 32648: // IDC_NO
        return XC_X_cursor;
    case 32649: // IDC_HAND
        return XC_hand2;
    case 32650: // IDC_APPSTARTING
        return XC_watch;
    case 32651: // IDC_HELP
        return XC_question_arrow;
    case 32512: // IDC_ARROW
    default:
        return XC_left_ptr;
    }
}

X11Cursors::~X11Cursors() {
    for (const auto& [shape, cursor] : m_shapes)
        XFreeCursor(m_display.Get(), cursor);
    if (m_hidden != None)
        XFreeCursor(m_display.Get(), m_hidden);
}

Cursor X11Cursors::Get(WORD idc) {
    if (idc == 0)
        return Hidden();
    const unsigned int shape = CursorShapeFor(idc);
    auto it = m_shapes.find(shape);
    if (it == m_shapes.end())
        it = m_shapes.emplace(shape, XCreateFontCursor(m_display.Get(), shape)).first;
    return it->second;
}

Cursor X11Cursors::Hidden() {
    if (m_hidden != None)
        return m_hidden;
    // A cursor whose one pixel is masked out.
    static const char kEmpty[1] = {0};
    const Pixmap blank = XCreateBitmapFromData(m_display.Get(), m_display.Root(), kEmpty, 1, 1);
    XColor black{};
    m_hidden = XCreatePixmapCursor(m_display.Get(), blank, blank, &black, &black, 0, 0);
    XFreePixmap(m_display.Get(), blank);
    return m_hidden;
}

} // namespace kw::x11
