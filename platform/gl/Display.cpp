// The surfaceless EGL display, the pixel formats it offers, and contexts on
// the side for compiling lists.
#include "platform/gl/GlInternal.h"

#include <EGL/eglext.h>

#include <cstring>
#include <mutex>
#include <string_view>

namespace kw::gl::detail {

namespace {

InjectedFailure g_injected = InjectedFailure::None;

bool HasExtension(const char* list, std::string_view name) {
    if (!list)
        return false;
    std::string_view all(list);
    for (std::size_t at = 0; at < all.size();) {
        std::size_t end = all.find(' ', at);
        if (end == std::string_view::npos)
            end = all.size();
        if (all.substr(at, end - at) == name)
            return true;
        at = end + 1;
    }
    return false;
}

EGLDisplay OpenDisplay() {
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!HasExtension(client, "EGL_MESA_platform_surfaceless"))
        return EGL_NO_DISPLAY;
    EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        return EGL_NO_DISPLAY;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor))
        return EGL_NO_DISPLAY;
    // Contexts without a configuration and without a surface: the frame is
    // a framebuffer object of the context's own.
    const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
    if (!HasExtension(extensions, "EGL_KHR_surfaceless_context") ||
        !(HasExtension(extensions, "EGL_KHR_no_config_context") ||
          HasExtension(extensions, "EGL_MESA_configless_context"))) {
        eglTerminate(display);
        return EGL_NO_DISPLAY;
    }
    return display;
}

// Both formats are RGBA with 8 bits a channel, double-buffered, drawing to
// a window; they differ in their stencil planes.
constexpr PixelFormat kFormats[] = {{24, 0}, {24, 8}};

} // namespace

EGLDisplay Display() {
    // The display lives as long as the process: drivers keep threads and
    // state that do not survive being torn down while others still use them.
    static const EGLDisplay display = OpenDisplay();
    if (display != EGL_NO_DISPLAY)
        eglBindAPI(EGL_OPENGL_API);
    return display;
}

int PixelFormatCount() {
    return int(std::size(kFormats));
}

const PixelFormat* FindPixelFormat(int format) {
    if (format < 1 || format > PixelFormatCount())
        return nullptr;
    return &kFormats[format - 1];
}

InjectedFailure Injected() {
    return g_injected;
}

SideContext::SideContext(EGLContext share) {
    m_display = Display();
    if (m_display == EGL_NO_DISPLAY || share == EGL_NO_CONTEXT)
        return;
    m_previous = eglGetCurrentContext();
    m_context = eglCreateContext(m_display, EGL_NO_CONFIG_KHR, share, nullptr);
    if (m_context == EGL_NO_CONTEXT)
        return;
    m_current = eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) == EGL_TRUE;
}

SideContext::~SideContext() {
    if (m_context == EGL_NO_CONTEXT)
        return;
    if (m_current)
        glFinish(); // The lists are complete before the other context calls them.
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_previous);
    eglDestroyContext(m_display, m_context);
}

} // namespace kw::gl::detail

void kw::gl::InjectFailure(InjectedFailure failure) {
    kw::gl::detail::g_injected = failure;
}
