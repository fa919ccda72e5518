// Pixel formats: what the platform offers, choosing one for a descriptor,
// and the format each window carries.
#include "platform/gl/GlInternal.h"
#include "platform/user/User.h"

#include <cstdlib>
#include <unordered_map>

namespace kw::gl::detail {

namespace {

// Formats set on windows. Window handles never repeat on a thread, so an
// entry of a destroyed window can never be taken for a new window; such
// entries are dropped whenever a format is set.
std::unordered_map<HWND, int>& WindowFormats() {
    thread_local std::unordered_map<HWND, int> formats;
    return formats;
}

constexpr DWORD kOfferedFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

PIXELFORMATDESCRIPTOR Describe(const PixelFormat& f) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = kOfferedFlags;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cRedBits = 8;
    pfd.cRedShift = 16;
    pfd.cGreenBits = 8;
    pfd.cGreenShift = 8;
    pfd.cBlueBits = 8;
    pfd.cBlueShift = 0;
    pfd.cAlphaBits = 8;
    pfd.cAlphaShift = 24;
    pfd.cDepthBits = f.depthBits;
    pfd.cStencilBits = f.stencilBits;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

} // namespace

int WindowPixelFormat(HWND hwnd) {
    auto& formats = WindowFormats();
    auto it = formats.find(hwnd);
    return it != formats.end() && IsWindow(hwnd) ? it->second : 0;
}

} // namespace kw::gl::detail

using namespace kw::gl::detail;

int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* pfd) {
    if (!hdc || !pfd || pfd->nSize != sizeof(PIXELFORMATDESCRIPTOR) || pfd->nVersion != 1)
        return 0;
    if (Injected() == kw::gl::InjectedFailure::NoPixelFormat || Display() == EGL_NO_DISPLAY)
        return 0;
    // Only RGBA windows and bitmaps drawn by OpenGL; no stereo, no colour index.
    const DWORD wanted = pfd->dwFlags & ~(PFD_DEPTH_DONTCARE | PFD_DOUBLEBUFFER_DONTCARE |
                                          PFD_STEREO_DONTCARE | PFD_GENERIC_FORMAT);
    const DWORD supported = kOfferedFlags | PFD_SUPPORT_GDI | PFD_DRAW_TO_BITMAP;
    if ((wanted & ~supported) != 0 || (wanted & (PFD_SUPPORT_GDI | PFD_DRAW_TO_BITMAP)) != 0 ||
        pfd->iPixelType != PFD_TYPE_RGBA)
        return 0;
    // The closest stencil that is at least what is asked for; among equals
    // the first.
    int best = 0;
    int bestDistance = 0;
    for (int i = 1; i <= PixelFormatCount(); ++i) {
        const PixelFormat& f = *FindPixelFormat(i);
        if (f.stencilBits < pfd->cStencilBits)
            continue;
        const int distance = f.stencilBits - pfd->cStencilBits;
        if (best == 0 || distance < bestDistance)
            best = i, bestDistance = distance;
    }
    return best;
}

BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR*) {
    const HWND hwnd = WindowFromDC(hdc);
    if (!hwnd || !FindPixelFormat(format) ||
        Injected() == kw::gl::InjectedFailure::SetPixelFormat || Display() == EGL_NO_DISPLAY)
        return FALSE;
    const int current = WindowPixelFormat(hwnd);
    if (current != 0)
        return current == format ? TRUE : FALSE;
    auto& formats = WindowFormats();
    std::erase_if(formats, [](const auto& entry) { return !IsWindow(entry.first); });
    formats[hwnd] = format;
    return TRUE;
}

int DescribePixelFormat(HDC, int format, UINT bytes, PIXELFORMATDESCRIPTOR* pfd) {
    if (Display() == EGL_NO_DISPLAY)
        return 0;
    if (!pfd)
        return PixelFormatCount();
    const PixelFormat* f = FindPixelFormat(format);
    if (!f)
        return 0;
    if (bytes >= sizeof(*pfd))
        *pfd = Describe(*f);
    return PixelFormatCount();
}

int GetPixelFormat(HDC hdc) {
    return WindowPixelFormat(WindowFromDC(hdc));
}
