// Rendering contexts: each renders into a framebuffer object of its
// window's client size; SwapBuffers reads the frame back into a bitmap and
// copies it into the DC.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gl/GlInternal.h"
#include "platform/user/User.h"

#include <EGL/eglext.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_set>

struct HGLRC__ {
    EGLContext egl{EGL_NO_CONTEXT};
    int format{0};
    HWND window{nullptr}; // Where it was last made current.
    int width{0};         // Of the framebuffer.
    int height{0};
    GLuint framebuffer{0};
    GLuint color{0};
    GLuint depth{0};
    bool viewportSet{false};
    // The frame read back for SwapBuffers: a bottom-up bitmap, the row
    // order of OpenGL, selected into a memory DC.
    HDC frameDc{nullptr};
    HBITMAP frameBitmap{nullptr};
    HGDIOBJ frameDcBitmap{nullptr};
    void* frameBits{nullptr};
    int frameWidth{0};
    int frameHeight{0};
};

namespace {

using namespace kw::gl::detail;

struct Current {
    HGLRC rc{nullptr};
    HDC dc{nullptr};
};
thread_local Current t_current;

std::mutex g_contextsLock;
std::unordered_set<HGLRC> g_contexts;

bool IsContext(HGLRC rc) {
    std::lock_guard lock(g_contextsLock);
    return rc && g_contexts.count(rc) != 0;
}

// Sizes the framebuffer; the context is current.
bool PrepareFramebuffer(HGLRC rc, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const PixelFormat* format = FindPixelFormat(rc->format);
    if (!format)
        return false;
    if (!rc->framebuffer) {
        glGenFramebuffers(1, &rc->framebuffer);
        glGenRenderbuffers(1, &rc->color);
        glGenRenderbuffers(1, &rc->depth);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, rc->framebuffer);
    if (width == rc->width && height == rc->height)
        return true;
    glBindRenderbuffer(GL_RENDERBUFFER, rc->color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, rc->depth);
    // A format without stencil planes gets none, so that stencil settings
    // have no effect on it, as on the platform.
    const bool stencil = format->stencilBits > 0;
    glRenderbufferStorage(GL_RENDERBUFFER, stencil ? GL_DEPTH24_STENCIL8 : GL_DEPTH_COMPONENT24,
                          width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rc->color);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rc->depth);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              stencil ? rc->depth : 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        rc->width = rc->height = 0;
        return false;
    }
    rc->width = width;
    rc->height = height;
    return true;
}

void FreeFrameBitmap(HGLRC rc) {
    if (rc->frameDc) {
        SelectObject(rc->frameDc, rc->frameDcBitmap);
        DeleteDC(rc->frameDc);
    }
    if (rc->frameBitmap)
        DeleteObject(rc->frameBitmap);
    rc->frameDc = nullptr;
    rc->frameBitmap = nullptr;
    rc->frameDcBitmap = nullptr;
    rc->frameBits = nullptr;
    rc->frameWidth = rc->frameHeight = 0;
}

bool PrepareFrameBitmap(HGLRC rc) {
    if (rc->frameBitmap && rc->frameWidth == rc->width && rc->frameHeight == rc->height)
        return true;
    FreeFrameBitmap(rc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = rc->width;
    info.bmiHeader.biHeight = rc->height; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    rc->frameBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &rc->frameBits, nullptr, 0);
    rc->frameDc = CreateCompatibleDC(nullptr);
    if (!rc->frameBitmap || !rc->frameDc || !rc->frameBits) {
        FreeFrameBitmap(rc);
        return false;
    }
    rc->frameDcBitmap = SelectObject(rc->frameDc, rc->frameBitmap);
    rc->frameWidth = rc->width;
    rc->frameHeight = rc->height;
    return true;
}

// Reads the frame of `rc`, which is current, and copies it into `hdc`.
bool CopyFrame(HGLRC rc, HDC hdc) {
    if (!rc->framebuffer || rc->width <= 0 || !PrepareFrameBitmap(rc))
        return false;
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, rc->framebuffer);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    // BGRA bytes are the little-endian 0xAARRGGBB words of the bitmap; the
    // copy leaves the alpha byte behind.
    glReadPixels(0, 0, rc->width, rc->height, GL_BGRA, GL_UNSIGNED_BYTE, rc->frameBits);
    glPopClientAttrib();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(readFramebuffer));
    // Surfaces keep the top byte clear.
    auto* pixel = static_cast<std::uint32_t*>(rc->frameBits);
    for (std::size_t i = 0, n = std::size_t(rc->width) * rc->height; i < n; ++i)
        pixel[i] &= 0x00FFFFFF;
    return BitBlt(hdc, 0, 0, rc->width, rc->height, rc->frameDc, 0, 0, SRCCOPY) != FALSE;
}

bool MakeEglCurrent(EGLContext context) {
    const EGLDisplay display = Display();
    if (display == EGL_NO_DISPLAY)
        return false;
    if (eglGetCurrentContext() == context)
        return true;
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
}

} // namespace

EGLContext kw::gl::detail::CurrentEglContext() {
    return t_current.rc && IsContext(t_current.rc) ? t_current.rc->egl : EGL_NO_CONTEXT;
}

HGLRC wglCreateContext(HDC hdc) {
    const HWND hwnd = WindowFromDC(hdc);
    const int format = WindowPixelFormat(hwnd);
    const EGLDisplay display = Display();
    if (!format || display == EGL_NO_DISPLAY)
        return nullptr;
    const EGLContext egl = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (egl == EGL_NO_CONTEXT)
        return nullptr;
    auto* rc = new HGLRC__;
    rc->egl = egl;
    rc->format = format;
    rc->window = hwnd;
    std::lock_guard lock(g_contextsLock);
    g_contexts.insert(rc);
    return rc;
}

BOOL wglDeleteContext(HGLRC rc) {
    {
        std::lock_guard lock(g_contextsLock);
        if (!rc || !g_contexts.erase(rc))
            return FALSE;
    }
    if (t_current.rc == rc) {
        t_current = Current{};
        MakeEglCurrent(EGL_NO_CONTEXT);
    }
    // Its framebuffer and lists go with the EGL context.
    FreeFrameBitmap(rc);
    if (const EGLDisplay display = Display(); display != EGL_NO_DISPLAY)
        eglDestroyContext(display, rc->egl);
    delete rc;
    return TRUE;
}

BOOL wglMakeCurrent(HDC hdc, HGLRC rc) {
    if (!rc) {
        t_current = Current{};
        return MakeEglCurrent(EGL_NO_CONTEXT) ? TRUE : FALSE;
    }
    const HWND hwnd = WindowFromDC(hdc);
    if (!IsContext(rc) || !hwnd || WindowPixelFormat(hwnd) != rc->format)
        return FALSE;
    if (!MakeEglCurrent(rc->egl))
        return FALSE;
    RECT client{};
    GetClientRect(hwnd, &client);
    if (!PrepareFramebuffer(rc, client.right - client.left, client.bottom - client.top)) {
        t_current = Current{};
        MakeEglCurrent(EGL_NO_CONTEXT);
        return FALSE;
    }
    if (!rc->viewportSet) {
        glViewport(0, 0, rc->width, rc->height);
        rc->viewportSet = true;
    }
    rc->window = hwnd;
    t_current = Current{rc, hdc};
    return TRUE;
}

HGLRC wglGetCurrentContext() {
    return t_current.rc;
}

HDC wglGetCurrentDC() {
    return t_current.dc;
}

BOOL SwapBuffers(HDC hdc) {
    if (!hdc)
        return FALSE;
    const HWND hwnd = WindowFromDC(hdc);
    HGLRC current = IsContext(t_current.rc) ? t_current.rc : nullptr;
    if (current && (!hwnd || current->window == hwnd))
        return CopyFrame(current, hdc) ? TRUE : FALSE;
    if (!hwnd)
        return FALSE;
    // Another context drew this window: borrow it for the read-back.
    HGLRC owner = nullptr;
    {
        std::lock_guard lock(g_contextsLock);
        for (HGLRC rc : g_contexts)
            if (rc->window == hwnd && rc->framebuffer)
                owner = rc;
    }
    if (!owner)
        return FALSE;
    const EGLContext previous = eglGetCurrentContext();
    bool copied = MakeEglCurrent(owner->egl) && CopyFrame(owner, hdc);
    MakeEglCurrent(previous);
    return copied ? TRUE : FALSE;
}
