#include "views3d/HoverCapture.h"

namespace kw::views3d {

void RecaptureWhileOver(HWND hwnd, POINT client) {
    if (::GetCapture() == hwnd)
        return;
    POINT screen = client;
    ::ClientToScreen(hwnd, &screen);
    if (::WindowFromPoint(screen) == hwnd)
        ::SetCapture(hwnd);
}

} // namespace kw::views3d
