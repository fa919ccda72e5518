#pragma once
// A small canvas for pixel tests: a 32-bit top-down section selected into a
// memory DC, plus helpers that describe pixels readably in failures.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"

#include <cstdio>
#include <set>
#include <string>
#include <utility>

class Canvas {
public:
    Canvas(int width, int height, COLORREF background = RGB(255, 255, 255)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        m_width = width;
        m_height = height;
        Clear(background);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint32_t* Pixels() const { return static_cast<std::uint32_t*>(m_bits); }

    void Clear(COLORREF color) {
        for (int i = 0; i < m_width * m_height; ++i)
            Pixels()[i] = PixelFromColor(color);
    }
    COLORREF At(int x, int y) const { return ColorFromPixel(Pixels()[y * m_width + x]); }
    void Set(int x, int y, COLORREF c) { Pixels()[y * m_width + x] = PixelFromColor(c); }

    // The pixels that differ from `background`.
    std::set<std::pair<int, int>> Touched(COLORREF background = RGB(255, 255, 255)) const {
        std::set<std::pair<int, int>> result;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) != background)
                    result.insert({x, y});
        return result;
    }
    // A row of '#' (not background) and '.' for failure messages.
    std::string Picture(COLORREF background = RGB(255, 255, 255)) const {
        std::string s;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x)
                s += At(x, y) == background ? '.' : '#';
            s += '\n';
        }
        return s;
    }
    // Bounding box of the pixels that are not background; empty if none.
    RECT Bounds(COLORREF background = RGB(255, 255, 255)) const {
        RECT r{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) != background) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return IsRectEmpty(&r) ? RECT{} : r;
    }

private:
    HDC m_dc{nullptr};
    HBITMAP m_bitmap{nullptr};
    HGDIOBJ m_old{nullptr};
    void* m_bits{nullptr};
    int m_width{0};
    int m_height{0};
};

inline std::string Hex(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", unsigned(c));
    return buf;
}

inline std::string RectText(const RECT& r) {
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
}
