#pragma once
// A view of 32-bit pixels (0x00RRGGBB) in memory, and an owning buffer of
// them. Device contexts draw into surfaces; bitmaps and windows own them.
#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels of a surface as stored: 0x00RRGGBB, the layout of a 32-bit
// device-independent bitmap read as little-endian words.
constexpr std::uint32_t PixelFromColor(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ColorFromPixel(std::uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// Does not own its pixels. `pixels` points at the first pixel of the TOP row;
// `stride` is the distance in bytes from one row to the row below it, so
// bottom-up storage has a negative stride.
struct PixelSurface {
    int width{0};
    int height{0};
    std::ptrdiff_t stride{0};
    std::uint32_t* pixels{nullptr};

    bool IsValid() const { return pixels && width > 0 && height > 0; }
    std::uint32_t* Row(int y) const {
        return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::byte*>(pixels) + y * stride);
    }
    std::uint32_t& At(int x, int y) const { return Row(y)[x]; }
};

// Owns a top-down block of pixels, for windows and tests.
class SurfaceBuffer {
public:
    SurfaceBuffer() = default;
    SurfaceBuffer(int width, int height, std::uint32_t fill = 0) { Resize(width, height, fill); }

    // Negative sizes count as 0. The contents are lost.
    void Resize(int width, int height, std::uint32_t fill = 0);
    void Fill(std::uint32_t pixel);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    PixelSurface View() {
        return PixelSurface{m_width, m_height, std::ptrdiff_t(m_width) * 4, m_pixels.data()};
    }
    std::uint32_t Pixel(int x, int y) const { return m_pixels[std::size_t(y) * m_width + x]; }

private:
    int m_width{0};
    int m_height{0};
    std::vector<std::uint32_t> m_pixels;
};
