#pragma once
// What the library's sources share: the EGL display, the pixel formats and
// the context objects behind HGLRC handles.
#include "platform/gl/GlTesting.h"
#include "platform/gl/Wgl.h"
#include "platform/user/UserTypes.h"

#include <EGL/egl.h>

namespace kw::gl::detail {

// The process's surfaceless display, opened on first use; EGL_NO_DISPLAY
// when OpenGL cannot be had here. Binds the OpenGL API on the calling thread.
EGLDisplay Display();

struct PixelFormat {
    BYTE depthBits;
    BYTE stencilBits;
};
// The formats on offer, numbered from 1.
int PixelFormatCount();
const PixelFormat* FindPixelFormat(int format);
// The format set on a window, 0 for none.
int WindowPixelFormat(HWND hwnd);

InjectedFailure Injected();

// A context of the display that shares its lists with `share`, made current
// for its lifetime; the previous current context comes back afterwards. For
// compiling lists while the shared context may be compiling one of its own.
class SideContext {
public:
    explicit SideContext(EGLContext share);
    ~SideContext();
    SideContext(const SideContext&) = delete;
    SideContext& operator=(const SideContext&) = delete;
    bool IsCurrent() const { return m_current; }

private:
    EGLDisplay m_display{EGL_NO_DISPLAY};
    EGLContext m_context{EGL_NO_CONTEXT};
    EGLContext m_previous{EGL_NO_CONTEXT};
    bool m_current{false};
};

// The EGL context of the HGLRC current on the calling thread, or
// EGL_NO_CONTEXT.
EGLContext CurrentEglContext();

} // namespace kw::gl::detail
