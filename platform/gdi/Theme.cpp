// Theme drawing in the classic scheme.
//
// [SECTION] Helpers
// [SECTION] DrawEdge
// [SECTION] DrawFrameControl
// [SECTION] DrawFocusRect and DrawState
#include "platform/gdi/Theme.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

using namespace gdi;

namespace {

// [SECTION] Helpers

void Fill(Raster& raster, const Dc& dc, RECT rc, COLORREF color) {
    raster.Fill(ToDevice(dc, rc), dc.PixelOf(color));
}

void HLine(Raster& raster, const Dc& dc, int x0, int x1, int y, COLORREF color) {
    Fill(raster, dc, RECT{x0, y, x1, y + 1}, color);
}

void VLine(Raster& raster, const Dc& dc, int x, int y0, int y1, COLORREF color) {
    Fill(raster, dc, RECT{x, y0, x + 1, y1}, color);
}

// One border ring of rc on the given sides.
void Border(Raster& raster, const Dc& dc, const RECT& rc, UINT sides, COLORREF topLeft,
            COLORREF bottomRight) {
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    if (sides & BF_TOP)
        HLine(raster, dc, rc.left, rc.right - 1, rc.top, topLeft);
    if (sides & BF_LEFT)
        VLine(raster, dc, rc.left, rc.top, rc.bottom - 1, topLeft);
    if (sides & BF_BOTTOM)
        HLine(raster, dc, rc.left, rc.right, rc.bottom - 1, bottomRight);
    if (sides & BF_RIGHT)
        VLine(raster, dc, rc.right - 1, rc.top, rc.bottom, bottomRight);
}

void Shrink(RECT* rc, UINT sides) {
    if (sides & BF_LEFT)
        ++rc->left;
    if (sides & BF_TOP)
        ++rc->top;
    if (sides & BF_RIGHT)
        --rc->right;
    if (sides & BF_BOTTOM)
        --rc->bottom;
}

// [SECTION] DrawEdge

// Colours of a border: top-left and bottom-right.
struct EdgeColours {
    COLORREF topLeft;
    COLORREF bottomRight;
};

EdgeColours OuterColours(UINT edge, UINT flags) {
    if (flags & BF_MONO)
        return {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)};
    if (flags & BF_FLAT)
        return {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW)};
    if (edge & BDR_RAISEDOUTER)
        return {GetSysColor((flags & BF_SOFT) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT),
                GetSysColor(COLOR_3DDKSHADOW)};
    return {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)};
}

EdgeColours InnerColours(UINT edge, UINT flags) {
    if (flags & BF_MONO)
        return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW)};
    if (flags & BF_FLAT)
        return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)};
    if (edge & BDR_RAISEDINNER)
        return {GetSysColor((flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT),
                GetSysColor(COLOR_BTNSHADOW)};
    return {GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
}

bool EdgeOn(Dc& dc, RECT* rc, UINT edge, UINT flags) {
    Raster raster(dc);
    raster.SetRop2(R2_COPYPEN);
    RECT r = *rc;
    const UINT sides = flags & BF_RECT;
    if (edge & BDR_OUTER) {
        const EdgeColours c = OuterColours(edge, flags);
        Border(raster, dc, r, sides, c.topLeft, c.bottomRight);
        Shrink(&r, sides);
    }
    if (edge & BDR_INNER) {
        const EdgeColours c = InnerColours(edge, flags);
        Border(raster, dc, r, sides, c.topLeft, c.bottomRight);
        Shrink(&r, sides);
    }
    if ((flags & BF_MIDDLE) && r.left < r.right && r.top < r.bottom)
        Fill(raster, dc, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        *rc = r;
    return true;
}

// [SECTION] DrawFrameControl

// A filled triangle of `rows` rows pointing in one of four directions,
// centred in rc.
void Arrow(Raster& raster, const Dc& dc, const RECT& rc, UINT direction, int rows, COLORREF color) {
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int cx = rc.left + (w - 1) / 2, cy = rc.top + (h - 1) / 2;
    for (int i = 0; i < rows; ++i) {
        // Row i is 2i + 1 pixels wide; the tip is row 0.
        const int along = i - rows / 2;
        switch (direction) {
        case DFCS_SCROLLUP:
            HLine(raster, dc, cx - i, cx + i + 1, cy + along, color);
            break;
        case DFCS_SCROLLDOWN:
            HLine(raster, dc, cx - i, cx + i + 1, cy - along, color);
            break;
        case DFCS_SCROLLLEFT:
            VLine(raster, dc, cx + along, cy - i, cy + i + 1, color);
            break;
        default:
            VLine(raster, dc, cx - along, cy - i, cy + i + 1, color);
            break;
        }
    }
}

void PushButton(Dc& dc, RECT* rc, UINT state) {
    UINT flags = BF_RECT | BF_SOFT | BF_MIDDLE;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    else if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    const bool down = state & (DFCS_PUSHED | DFCS_CHECKED);
    if (down && !(flags & (BF_MONO | BF_FLAT)))
        flags &= ~BF_SOFT;
    RECT r = *rc;
    EdgeOn(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, flags | BF_ADJUST);
    if (state & DFCS_ADJUSTRECT)
        *rc = r;
}

// The square of side min(w, h) centred in rc.
RECT CentredSquare(const RECT& rc) {
    const int side = std::min(rc.right - rc.left, rc.bottom - rc.top);
    const int left = rc.left + (rc.right - rc.left - side) / 2;
    const int top = rc.top + (rc.bottom - rc.top - side) / 2;
    return RECT{left, top, left + side, top + side};
}

void CheckBox(Dc& dc, const RECT& rc, UINT state) {
    RECT box = CentredSquare(rc);
    Raster raster(dc);
    raster.SetRop2(R2_COPYPEN);
    const bool plain = state & (DFCS_FLAT | DFCS_MONO);
    if (plain) {
        Border(raster, dc, box, BF_RECT, GetSysColor(COLOR_BTNSHADOW),
               GetSysColor(COLOR_BTNSHADOW));
        Shrink(&box, BF_RECT);
    } else {
        EdgeOn(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    const bool grey = state & (DFCS_INACTIVE | DFCS_PUSHED);
    Fill(raster, dc, box, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    if (!(state & DFCS_CHECKED))
        return;
    // A tick of 7 x 7 pixels, 3 rows thick, centred in the inside.
    const COLORREF ink = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    const int side = box.right - box.left;
    const int scale = std::max(1, side / 9);
    const int x0 = box.left + (side - 7 * scale) / 2, y0 = box.top + (side - 7 * scale) / 2;
    static constexpr int kDrop[7] = {2, 3, 4, 3, 2, 1, 0}; // Top row of each column.
    for (int col = 0; col < 7; ++col)
        Fill(raster, dc,
             RECT{x0 + col * scale, y0 + (kDrop[col] + 0) * scale, x0 + (col + 1) * scale,
                  y0 + (kDrop[col] + 3) * scale},
             ink);
}

void RadioButton(Dc& dc, HDC hdc, const RECT& rc, UINT state) {
    const RECT box = CentredSquare(rc);
    const bool grey = state & (DFCS_INACTIVE | DFCS_PUSHED);
    const bool plain = state & (DFCS_FLAT | DFCS_MONO);
    const int saved = SaveDC(hdc);
    SetROP2(hdc, R2_COPYPEN);
    HPEN outer = CreatePen(PS_SOLID, 1, GetSysColor(plain ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
    HBRUSH face = CreateSolidBrush(GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    SelectObject(hdc, outer);
    SelectObject(hdc, face);
    Ellipse(hdc, box.left, box.top, box.right, box.bottom);
    if (!plain && box.right - box.left > 4) {
        // The inner dark ring of the sunken look.
        HPEN inner = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
        SelectObject(hdc, inner);
        SelectObject(hdc, GetStockObject(NULL_BRUSH));
        Ellipse(hdc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
        SelectObject(hdc, GetStockObject(BLACK_PEN));
        DeleteObject(inner);
    }
    if (state & DFCS_CHECKED) {
        const int side = box.right - box.left;
        const int dot = std::max(2, side / 3);
        const int l = box.left + (side - dot) / 2, t = box.top + (side - dot) / 2;
        HBRUSH ink = CreateSolidBrush(
            GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        SelectObject(hdc, GetStockObject(NULL_PEN));
        SelectObject(hdc, ink);
        // Without a pen the platform's Ellipse covers one pixel less.
        Ellipse(hdc, l, t, l + dot + 1, t + dot + 1);
        SelectObject(hdc, GetStockObject(WHITE_BRUSH));
        DeleteObject(ink);
    }
    RestoreDC(hdc, saved);
    DeleteObject(outer);
    DeleteObject(face);
    (void)dc;
}

// The arrow's size follows the whole button, as the platform's glyph does:
// 4 rows in a 16-pixel button, 2 in the 9-pixel buttons of a spin column. It
// stays within the face inside the edges.
int ArrowRows(const RECT& button, const RECT& face, UINT direction) {
    const int size = std::min(button.right - button.left, button.bottom - button.top);
    int rows = std::max(1, (size + 1) / 4);
    const bool vertical = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLDOWN;
    const int across = vertical ? face.right - face.left : face.bottom - face.top;
    const int along = vertical ? face.bottom - face.top : face.right - face.left;
    rows = std::min({rows, (across + 1) / 2, along});
    return std::max(rows, 1);
}

void ScrollArrow(Dc& dc, RECT* rc, UINT state) {
    RECT inside = *rc;
    PushButton(dc, &inside, (state & ~DFCS_ADJUSTRECT) | DFCS_ADJUSTRECT);
    Raster raster(dc);
    raster.SetRop2(R2_COPYPEN);
    RECT arrowBox = inside;
    if (state & DFCS_PUSHED)
        OffsetRect(&arrowBox, 1, 1);
    const UINT direction = state & 0x000F;
    const int rows = ArrowRows(*rc, inside, direction);
    if (state & DFCS_INACTIVE) {
        RECT shadow = arrowBox;
        OffsetRect(&shadow, 1, 1);
        Arrow(raster, dc, shadow, direction, rows, GetSysColor(COLOR_BTNHIGHLIGHT));
        Arrow(raster, dc, arrowBox, direction, rows, GetSysColor(COLOR_BTNSHADOW));
    } else {
        Arrow(raster, dc, arrowBox, direction, rows, GetSysColor(COLOR_BTNTEXT));
    }
    if (state & DFCS_ADJUSTRECT)
        *rc = inside;
}

} // namespace

BOOL DrawEdge(HDC hdc, RECT* rc, UINT edge, UINT flags) {
    auto dc = FindDc(hdc);
    if (!dc || !rc)
        return FALSE;
    return EdgeOn(*dc, rc, edge, flags) ? TRUE : FALSE;
}

BOOL DrawFrameControl(HDC hdc, RECT* rc, UINT type, UINT state) {
    auto dc = FindDc(hdc);
    if (!dc || !rc)
        return FALSE;
    switch (type) {
    case DFC_BUTTON:
        if (state & DFCS_BUTTONPUSH)
            PushButton(*dc, rc, state);
        else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE))
            RadioButton(*dc, hdc, *rc, state);
        else
            CheckBox(*dc, *rc, state);
        return TRUE;
    case DFC_SCROLL:
        if ((state & 0x000F) > DFCS_SCROLLRIGHT)
            return FALSE;
        ScrollArrow(*dc, rc, state);
        return TRUE;
    default:
        return FALSE;
    }
}

// [SECTION] DrawFocusRect and DrawState

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
    auto dc = FindDc(hdc);
    if (!dc || !rc)
        return FALSE;
    const RECT r = ToDevice(*dc, *rc);
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    Raster raster(*dc);
    raster.SetRop2(R2_NOT);
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            raster.Plot(x, y, 0);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
    return TRUE;
}

BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC, LPARAM data, WPARAM, int x, int y, int cx,
               int cy, UINT flags) {
    auto dc = FindDc(hdc);
    if (!dc || (flags & 0x000F) != DST_BITMAP)
        return FALSE;
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(data);
    PixelSurface src;
    if (!GetBitmapSurface(bitmap, &src) || !src.IsValid())
        return FALSE;
    if (cx <= 0)
        cx = src.width;
    if (cy <= 0)
        cy = src.height;
    cx = std::min(cx, src.width);
    cy = std::min(cy, src.height);
    if (!(flags & (DSS_DISABLED | DSS_MONO))) {
        HDC memory = CreateCompatibleDC(hdc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BOOL ok = FALSE;
        if (old)
            ok = BitBlt(hdc, x, y, cx, cy, memory, 0, 0, SRCCOPY);
        else {
            // Selected elsewhere: copy straight from its pixels.
            Raster raster(*dc);
            raster.SetRop2(R2_COPYPEN);
            const POINT o = dc->Offset();
            for (int j = 0; j < cy; ++j)
                for (int i = 0; i < cx; ++i)
                    raster.Plot(x + o.x + i, y + o.y + j, src.At(i, j) & kPixelMask);
            ok = TRUE;
        }
        if (old)
            SelectObject(memory, old);
        DeleteDC(memory);
        return ok;
    }
    // The dark pixels form the shape.
    auto dark = [&](int i, int j) {
        const std::uint32_t p = src.At(i, j);
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 384;
    };
    Raster raster(*dc);
    raster.SetRop2(R2_COPYPEN);
    const POINT o = dc->Offset();
    auto paint = [&](int dx, int dy, std::uint32_t pixel) {
        for (int j = 0; j < cy; ++j)
            for (int i = 0; i < cx; ++i)
                if (dark(i, j))
                    raster.Plot(x + o.x + i + dx, y + o.y + j + dy, pixel);
    };
    if (flags & DSS_MONO) {
        auto b = Find<Brush>(brush, OBJ_BRUSH);
        std::uint32_t pixel = dc->PixelOf(GetSysColor(COLOR_BTNTEXT));
        if (b && !b->m_null)
            pixel = dc->PixelOf(b->m_color);
        paint(0, 0, pixel);
        return TRUE;
    }
    paint(1, 1, dc->PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)));
    paint(0, 0, dc->PixelOf(GetSysColor(COLOR_BTNSHADOW)));
    return TRUE;
}
