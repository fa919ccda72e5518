#include "platform/backends/x11/X11Image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kw::x11 {

X11Image::X11Image(X11Display& display)
    : m_display(display), m_format(display.GetVisual()->red_mask, display.GetVisual()->green_mask,
                                   display.GetVisual()->blue_mask) {}

X11Image::~X11Image() {
    Destroy();
}

bool X11Image::Create(int width, int height) {
    if (m_image && m_image->width == width && m_image->height == height)
        return true;
    Destroy();
    if (m_display.HasShm() && !m_shmFailed && CreateShared(width, height))
        return true;
    return CreatePlain(width, height);
}

bool X11Image::CreateShared(int width, int height) {
    Display* d = m_display.Get();
    m_segment = XShmSegmentInfo{};
    XImage* image = XShmCreateImage(d, m_display.GetVisual(), unsigned(m_display.Depth()), ZPixmap,
                                    nullptr, &m_segment, unsigned(width), unsigned(height));
    if (!image)
        return false;
    const std::size_t bytes = std::size_t(image->bytes_per_line) * std::size_t(height);
    m_segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (m_segment.shmid < 0) {
        XDestroyImage(image);
        return false;
    }
    m_segment.shmaddr = static_cast<char*>(shmat(m_segment.shmid, nullptr, 0));
    // Marked for removal at once: the segment goes away when both sides
    // detach, even if this process dies.
    const bool mapped = m_segment.shmaddr != reinterpret_cast<char*>(-1);
    if (mapped) {
        image->data = m_segment.shmaddr;
        m_segment.readOnly = False;
    }
    const bool attached =
        mapped && m_display.Succeeds([&] { XShmAttach(m_display.Get(), &m_segment); });
    shmctl(m_segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        // A server on another machine cannot see our memory.
        image->data = nullptr;
        XDestroyImage(image);
        if (mapped)
            shmdt(m_segment.shmaddr);
        m_shmFailed = true;
        return false;
    }
    m_image = image;
    m_shm = true;
    return true;
}

bool X11Image::CreatePlain(int width, int height) {
    XImage* image =
        XCreateImage(m_display.Get(), m_display.GetVisual(), unsigned(m_display.Depth()), ZPixmap,
                     0, nullptr, unsigned(width), unsigned(height), 32, 0);
    if (!image)
        return false;
    // XDestroyImage frees the data with free().
    image->data = static_cast<char*>(
        std::calloc(std::size_t(image->bytes_per_line) * std::size_t(height), 1));
    if (!image->data) {
        XDestroyImage(image);
        return false;
    }
    m_image = image;
    m_shm = false;
    return true;
}

void X11Image::Destroy() {
    if (!m_image)
        return;
    if (m_shm) {
        XShmDetach(m_display.Get(), &m_segment);
        // The server must have let go of the segment before we unmap it.
        XSync(m_display.Get(), False);
        m_image->data = nullptr;
        XDestroyImage(m_image);
        shmdt(m_segment.shmaddr);
    } else {
        XDestroyImage(m_image);
    }
    m_image = nullptr;
    m_shm = false;
}

void X11Image::Convert(const PixelSurface& surface, const RECT& rc) {
    const bool copy =
        m_format.IsIdentity() && m_image->bits_per_pixel == 32 && m_image->byte_order == LSBFirst;
    for (int y = rc.top; y < rc.bottom; ++y) {
        const std::uint32_t* src = surface.Row(y);
        if (copy) {
            char* dst = m_image->data + std::ptrdiff_t(y) * m_image->bytes_per_line + rc.left * 4;
            std::memcpy(dst, src + rc.left, std::size_t(rc.right - rc.left) * 4);
            continue;
        }
        for (int x = rc.left; x < rc.right; ++x)
            XPutPixel(m_image, x, y, m_format.FromSurface(src[x]));
    }
}

bool X11Image::Put(Window window, GC gc, const PixelSurface& surface, const RECT& rc) {
    if (!surface.IsValid() || !Create(surface.width, surface.height))
        return false;
    const RECT clipped{std::max(rc.left, LONG(0)), std::max(rc.top, LONG(0)),
                       std::min(rc.right, LONG(surface.width)),
                       std::min(rc.bottom, LONG(surface.height))};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top)
        return true;
    Convert(surface, clipped);
    const int w = clipped.right - clipped.left;
    const int h = clipped.bottom - clipped.top;
    if (m_shm)
        XShmPutImage(m_display.Get(), window, gc, m_image, clipped.left, clipped.top, clipped.left,
                     clipped.top, unsigned(w), unsigned(h), False);
    else
        XPutImage(m_display.Get(), window, gc, m_image, clipped.left, clipped.top, clipped.left,
                  clipped.top, unsigned(w), unsigned(h));
    return true;
}

} // namespace kw::x11
