#pragma once
// The client-side image of one X window: the pixels of its top-level
// surface in the server's format, sent with MIT-SHM when the server shares
// memory with us and with plain XPutImage otherwise (a remote display, or a
// server without the extension).
#include "platform/backends/x11/X11Display.h"
#include "platform/backends/x11/X11PixelFormat.h"
#include "platform/gdi/Surface.h"

#include <X11/extensions/XShm.h>

namespace kw::x11 {

class X11Image {
public:
    explicit X11Image(X11Display& display);
    ~X11Image();
    X11Image(const X11Image&) = delete;
    X11Image& operator=(const X11Image&) = delete;

    // Copies `rc` (surface coordinates, clipped to it) of the surface into
    // the image, recreating the image when the surface changed size, and
    // sends that part to the window. False when no image could be made.
    bool Put(Window window, GC gc, const PixelSurface& surface, const RECT& rc);
    bool UsesShm() const { return m_shm; }

private:
    bool Create(int width, int height);
    bool CreateShared(int width, int height);
    bool CreatePlain(int width, int height);
    void Destroy();
    void Convert(const PixelSurface& surface, const RECT& rc);

    X11Display& m_display;
    PixelFormat m_format;
    XImage* m_image{nullptr};
    XShmSegmentInfo m_segment{};
    bool m_shm{false};
    bool m_shmFailed{false}; // Attaching failed once: plain images from now on.
};

} // namespace kw::x11
