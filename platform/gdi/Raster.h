#pragma once
// Pixel writing in device coordinates, confined to a clip rectangle and
// combined with the destination by a binary raster operation. Used by the
// library's own drawing code.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>

namespace gdi {

class Raster {
public:
    Raster(const Dc& dc)
        : m_target(dc.Target()), m_clip(dc.DeviceClip()), m_rop2(dc.m_state.m_rop2) {}

    bool CanDraw() const { return m_target.IsValid() && !IsRectEmpty(&m_clip); }
    const RECT& Clip() const { return m_clip; }
    const PixelSurface& Target() const { return m_target; }
    void SetRop2(int rop2) { m_rop2 = rop2; }

    void Plot(int x, int y, std::uint32_t pixel) {
        if (x < m_clip.left || x >= m_clip.right || y < m_clip.top || y >= m_clip.bottom)
            return;
        std::uint32_t& p = m_target.At(x, y);
        p = Rop2(m_rop2, pixel, p);
    }

    // Pixels [x0, x1) of row y.
    void Span(int x0, int x1, int y, std::uint32_t pixel) {
        if (y < m_clip.top || y >= m_clip.bottom)
            return;
        x0 = x0 < m_clip.left ? m_clip.left : x0;
        x1 = x1 > m_clip.right ? m_clip.right : x1;
        if (x0 >= x1)
            return;
        std::uint32_t* row = m_target.Row(y);
        if (m_rop2 == R2_COPYPEN) {
            FillPixels(row + x0, std::size_t(x1 - x0), pixel);
            return;
        }
        for (int x = x0; x < x1; ++x)
            row[x] = Rop2(m_rop2, pixel, row[x]);
    }

    void Fill(const RECT& rc, std::uint32_t pixel) {
        if (m_rop2 != R2_COPYPEN) {
            for (int y = rc.top; y < rc.bottom; ++y)
                Span(rc.left, rc.right, y, pixel);
            return;
        }
        RECT r;
        if (!IntersectRect(&r, &rc, &m_clip))
            return;
        const std::size_t width = std::size_t(r.right - r.left);
        for (int y = r.top; y < r.bottom; ++y)
            FillPixels(m_target.Row(y) + r.left, width, pixel);
    }

    // The copy fill of `count` pixels, two at a time: GCC 12 does not
    // vectorise a fill of 32-bit values at -O2, but stores 64-bit pairs.
    static void FillPixels(std::uint32_t* first, std::size_t count, std::uint32_t pixel) {
        const std::uint64_t pair = pixel | std::uint64_t(pixel) << 32;
        std::size_t i = 0;
        for (; i + 2 <= count; i += 2)
            std::memcpy(first + i, &pair, sizeof pair);
        if (i < count)
            first[i] = pixel;
    }

private:
    PixelSurface m_target;
    RECT m_clip;
    int m_rop2;
};

// Maps a logical rectangle to device pixels, normalised.
inline RECT ToDevice(const Dc& dc, RECT rc) {
    const POINT o = dc.Offset();
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
    OffsetRect(&rc, o.x, o.y);
    return rc;
}

// The pixel of a brush on this DC; false for a null brush.
inline bool BrushPixel(const Dc& dc, const Brush* brush, std::uint32_t* pixel) {
    if (!brush || brush->m_null)
        return false;
    *pixel = dc.PixelOf(brush->m_color);
    return true;
}

} // namespace gdi
