#pragma once
// The objects behind the handles, the handle table and the device context's
// state. Used only by the library's own sources.
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Surface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace gdi {

class FontFace;

struct GdiObject {
    explicit GdiObject(DWORD type) : m_type(type) {}
    virtual ~GdiObject() = default;
    const DWORD m_type;
    bool m_stock{false};
};

struct Pen : GdiObject {
    Pen() : GdiObject(OBJ_PEN) {}
    int m_style{PS_SOLID};
    int m_width{1};
    COLORREF m_color{0};
    // Width 0 or 1 draws one pixel wide; only such pens are styled.
    bool IsCosmetic() const { return m_width <= 1; }
};

struct Brush : GdiObject {
    Brush() : GdiObject(OBJ_BRUSH) {}
    bool m_null{false};
    COLORREF m_color{0};
};

struct Font : GdiObject {
    Font() : GdiObject(OBJ_FONT) {}
    LOGFONTA m_logFont{};
    std::shared_ptr<FontFace> m_face; // Opened on first use.
};

struct Bitmap : GdiObject {
    Bitmap() : GdiObject(OBJ_BITMAP) {}
    int m_width{0};
    int m_height{0};
    bool m_mono{false};
    bool m_dib{false};
    bool m_bottomUp{false};              // Storage order, for DIB sections.
    std::vector<std::uint32_t> m_pixels; // Rows in storage order.
    int m_selectedInto{0};               // Memory DCs holding it.

    PixelSurface View();
};

// Everything SaveDC keeps.
struct DcState {
    HGDIOBJ m_penHandle{nullptr};
    std::shared_ptr<Pen> m_pen;
    HGDIOBJ m_brushHandle{nullptr};
    std::shared_ptr<Brush> m_brush;
    HGDIOBJ m_fontHandle{nullptr};
    std::shared_ptr<Font> m_font;
    HGDIOBJ m_bitmapHandle{nullptr};
    std::shared_ptr<Bitmap> m_bitmap;
    COLORREF m_textColor{RGB(0, 0, 0)};
    COLORREF m_bkColor{RGB(255, 255, 255)};
    int m_bkMode{OPAQUE};
    int m_rop2{R2_COPYPEN};
    UINT m_textAlign{TA_LEFT | TA_TOP};
    POINT m_viewportOrg{};
    POINT m_windowOrg{};
    POINT m_position{};
    std::optional<RECT> m_clip; // Narrowing in device pixels, if any.
};

struct Dc : GdiObject {
    explicit Dc(bool memory) : GdiObject(memory ? OBJ_MEMDC : OBJ_DC) {}
    bool IsMemory() const { return m_type == OBJ_MEMDC; }

    PixelSurface m_surface; // Surface DCs only.
    POINT m_origin{};
    RECT m_baseClip{};
    DcState m_state;
    std::vector<DcState> m_saved;

    // Where drawing lands; invalid when there is nothing to draw on.
    PixelSurface Target() const;
    bool IsMonochrome() const { return IsMemory() && m_state.m_bitmap && m_state.m_bitmap->m_mono; }
    // The pixels drawing may touch, in device coordinates (may be empty).
    RECT DeviceClip() const;
    // Logical to device offset.
    POINT Offset() const {
        return POINT{m_origin.x + m_state.m_viewportOrg.x - m_state.m_windowOrg.x,
                     m_origin.y + m_state.m_viewportOrg.y - m_state.m_windowOrg.y};
    }
    // A colour as a pixel of this target: on monochrome targets the nearer of
    // black and white.
    std::uint32_t PixelOf(COLORREF c) const;
};

// The handle table. Handles are never reused, so a stale handle finds
// nothing.
HGDIOBJ AddObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle);
bool RemoveObject(HGDIOBJ handle);

template <class T> std::shared_ptr<T> Find(HGDIOBJ handle, DWORD type) {
    auto object = FindObject(handle);
    if (!object || object->m_type != type)
        return nullptr;
    return std::static_pointer_cast<T>(object);
}
inline std::shared_ptr<Dc> FindDc(HDC hdc) {
    auto object = FindObject(hdc);
    if (!object || (object->m_type != OBJ_DC && object->m_type != OBJ_MEMDC))
        return nullptr;
    return std::static_pointer_cast<Dc>(object);
}

// The stock 1x1 monochrome bitmap a fresh memory DC holds.
HBITMAP StockBitmap();

constexpr std::uint32_t kPixelMask = 0x00FFFFFF;

inline std::uint32_t MonoPixel(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) > 382 ? 0xFFFFFF : 0;
}

// Result of a binary raster operation (R2_*) on pen and destination bits.
inline std::uint32_t Rop2(int rop2, std::uint32_t pen, std::uint32_t dst) {
    switch (rop2) {
    case R2_COPYPEN:
        return pen;
    case R2_XORPEN:
        return (pen ^ dst) & kPixelMask;
    case R2_NOT:
        return ~dst & kPixelMask;
    case R2_NOP:
        return dst;
    default: {
        // Bit (2 * pen + dst) of (rop2 - 1) is the result for those inputs.
        const unsigned table = unsigned(rop2 - 1) & 0xF;
        std::uint32_t result = 0;
        if (table & 1)
            result |= ~pen & ~dst;
        if (table & 2)
            result |= ~pen & dst;
        if (table & 4)
            result |= pen & ~dst;
        if (table & 8)
            result |= pen & dst;
        return result & kPixelMask;
    }
    }
}

} // namespace gdi
