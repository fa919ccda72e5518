#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <utility>

using namespace gdi;

namespace {

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r;
    if (!IntersectRect(&r, &a, &b))
        return RECT{};
    return r;
}

void InitState(DcState& state) {
    state.m_penHandle = GetStockObject(BLACK_PEN);
    state.m_pen = Find<Pen>(state.m_penHandle, OBJ_PEN);
    state.m_brushHandle = GetStockObject(WHITE_BRUSH);
    state.m_brush = Find<Brush>(state.m_brushHandle, OBJ_BRUSH);
    state.m_fontHandle = GetStockObject(SYSTEM_FONT);
    state.m_font = Find<Font>(state.m_fontHandle, OBJ_FONT);
}

// Keeps the count of DCs holding each bitmap right as states come and go.
void HoldBitmap(const DcState& state, int delta) {
    if (state.m_bitmap)
        state.m_bitmap->m_selectedInto += delta;
}

} // namespace

namespace gdi {

PixelSurface Dc::Target() const {
    if (!IsMemory())
        return m_surface;
    return m_state.m_bitmap ? m_state.m_bitmap->View() : PixelSurface{};
}

RECT Dc::DeviceClip() const {
    const PixelSurface target = Target();
    RECT clip{0, 0, target.width, target.height};
    if (!target.IsValid())
        return RECT{};
    if (!IsMemory())
        clip = Intersect(clip, m_baseClip);
    if (m_state.m_clip)
        clip = Intersect(clip, *m_state.m_clip);
    return clip;
}

std::uint32_t Dc::PixelOf(COLORREF c) const {
    return IsMonochrome() ? MonoPixel(c) : PixelFromColor(c);
}

} // namespace gdi

HDC CreateDCForSurface(const PixelSurface& surface, POINT origin, RECT clip) {
    if (!surface.IsValid())
        return nullptr;
    auto dc = std::make_shared<Dc>(false);
    dc->m_surface = surface;
    dc->m_origin = origin;
    dc->m_baseClip = Intersect(clip, RECT{0, 0, surface.width, surface.height});
    InitState(dc->m_state);
    return static_cast<HDC>(AddObject(dc));
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc && !FindDc(hdc))
        return nullptr;
    auto dc = std::make_shared<Dc>(true);
    InitState(dc->m_state);
    dc->m_state.m_bitmapHandle = StockBitmap();
    dc->m_state.m_bitmap = Find<Bitmap>(StockBitmap(), OBJ_BITMAP);
    HoldBitmap(dc->m_state, 1);
    return static_cast<HDC>(AddObject(dc));
}

BOOL DeleteDC(HDC hdc) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    HoldBitmap(dc->m_state, -1);
    for (const DcState& saved : dc->m_saved)
        HoldBitmap(saved, -1);
    dc->m_saved.clear();
    dc->m_state = DcState{};
    RemoveObject(hdc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
    auto dc = FindDc(hdc);
    auto object = FindObject(handle);
    if (!dc || !object)
        return nullptr;
    DcState& s = dc->m_state;
    HGDIOBJ previous = nullptr;
    switch (object->m_type) {
    case OBJ_PEN:
        previous = s.m_penHandle;
        s.m_penHandle = handle;
        s.m_pen = std::static_pointer_cast<Pen>(object);
        return previous;
    case OBJ_BRUSH:
        previous = s.m_brushHandle;
        s.m_brushHandle = handle;
        s.m_brush = std::static_pointer_cast<Brush>(object);
        return previous;
    case OBJ_FONT:
        previous = s.m_fontHandle;
        s.m_fontHandle = handle;
        s.m_font = std::static_pointer_cast<Font>(object);
        return previous;
    case OBJ_BITMAP: {
        if (!dc->IsMemory())
            return nullptr;
        auto bitmap = std::static_pointer_cast<Bitmap>(object);
        if (bitmap == s.m_bitmap)
            return handle;
        // The stock bitmap may sit in any number of DCs, others in one.
        if (!bitmap->m_stock && bitmap->m_selectedInto > 0)
            return nullptr;
        previous = s.m_bitmapHandle;
        HoldBitmap(s, -1);
        s.m_bitmapHandle = handle;
        s.m_bitmap = bitmap;
        HoldBitmap(s, 1);
        // A new drawing surface drops the narrowed clip, as on the platform.
        s.m_clip.reset();
        return previous;
    }
    default:
        return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    auto dc = FindDc(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
        return dc->m_state.m_penHandle;
    case OBJ_BRUSH:
        return dc->m_state.m_brushHandle;
    case OBJ_FONT:
        return dc->m_state.m_fontHandle;
    case OBJ_BITMAP:
        return dc->m_state.m_bitmapHandle;
    default:
        return nullptr;
    }
}

int SaveDC(HDC hdc) {
    auto dc = FindDc(hdc);
    if (!dc)
        return 0;
    dc->m_saved.push_back(dc->m_state);
    HoldBitmap(dc->m_state, 1);
    return int(dc->m_saved.size());
}

BOOL RestoreDC(HDC hdc, int level) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    const int count = int(dc->m_saved.size());
    const int index = level < 0 ? count + level : level - 1;
    if (level == 0 || index < 0 || index >= count)
        return FALSE;
    // A bitmap selected since the save must not stay counted as held.
    HoldBitmap(dc->m_state, -1);
    dc->m_state = dc->m_saved[std::size_t(index)];
    for (int i = index + 1; i < count; ++i)
        HoldBitmap(dc->m_saved[std::size_t(i)], -1);
    // The restored state's own hold moves from the save slot to the state.
    dc->m_saved.resize(std::size_t(index));
    return TRUE;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    auto dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    return std::exchange(dc->m_state.m_textColor, color & 0x00FFFFFF);
}

COLORREF GetTextColor(HDC hdc) {
    auto dc = FindDc(hdc);
    return dc ? dc->m_state.m_textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    auto dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    return std::exchange(dc->m_state.m_bkColor, color & 0x00FFFFFF);
}

COLORREF GetBkColor(HDC hdc) {
    auto dc = FindDc(hdc);
    return dc ? dc->m_state.m_bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
    auto dc = FindDc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(dc->m_state.m_bkMode, mode);
}

int GetBkMode(HDC hdc) {
    auto dc = FindDc(hdc);
    return dc ? dc->m_state.m_bkMode : 0;
}

int SetROP2(HDC hdc, int rop2) {
    auto dc = FindDc(hdc);
    if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return std::exchange(dc->m_state.m_rop2, rop2);
}

int GetROP2(HDC hdc) {
    auto dc = FindDc(hdc);
    return dc ? dc->m_state.m_rop2 : 0;
}

UINT SetTextAlign(HDC hdc, UINT align) {
    auto dc = FindDc(hdc);
    if (!dc)
        return GDI_ERROR;
    return std::exchange(dc->m_state.m_textAlign, align);
}

UINT GetTextAlign(HDC hdc) {
    auto dc = FindDc(hdc);
    return dc ? dc->m_state.m_textAlign : GDI_ERROR;
}

namespace {

BOOL SetOrigin(HDC hdc, POINT DcState::*member, int x, int y, POINT* previous, bool relative) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    POINT& origin = dc->m_state.*member;
    if (previous)
        *previous = origin;
    origin = relative ? POINT{origin.x + x, origin.y + y} : POINT{x, y};
    return TRUE;
}

} // namespace

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous) {
    return SetOrigin(hdc, &DcState::m_viewportOrg, x, y, previous, false);
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
    return SetOrigin(hdc, &DcState::m_viewportOrg, dx, dy, previous, true);
}

BOOL GetViewportOrgEx(HDC hdc, POINT* origin) {
    auto dc = FindDc(hdc);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->m_state.m_viewportOrg;
    return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous) {
    return SetOrigin(hdc, &DcState::m_windowOrg, x, y, previous, false);
}

BOOL GetWindowOrgEx(HDC hdc, POINT* origin) {
    auto dc = FindDc(hdc);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->m_state.m_windowOrg;
    return TRUE;
}

BOOL GetDCOrgEx(HDC hdc, POINT* origin) {
    auto dc = FindDc(hdc);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->m_origin;
    return TRUE;
}

BOOL LPtoDP(HDC hdc, POINT* points, int count) {
    auto dc = FindDc(hdc);
    if (!dc || (count > 0 && !points) || count < 0)
        return FALSE;
    const POINT offset{dc->m_state.m_viewportOrg.x - dc->m_state.m_windowOrg.x,
                       dc->m_state.m_viewportOrg.y - dc->m_state.m_windowOrg.y};
    for (int i = 0; i < count; ++i) {
        points[i].x += offset.x;
        points[i].y += offset.y;
    }
    return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* points, int count) {
    auto dc = FindDc(hdc);
    if (!dc || (count > 0 && !points) || count < 0)
        return FALSE;
    const POINT offset{dc->m_state.m_viewportOrg.x - dc->m_state.m_windowOrg.x,
                       dc->m_state.m_viewportOrg.y - dc->m_state.m_windowOrg.y};
    for (int i = 0; i < count; ++i) {
        points[i].x -= offset.x;
        points[i].y -= offset.y;
    }
    return TRUE;
}

int GetClipBox(HDC hdc, RECT* rc) {
    auto dc = FindDc(hdc);
    if (!dc || !rc)
        return ERROR;
    RECT clip = dc->DeviceClip();
    if (IsRectEmpty(&clip)) {
        *rc = RECT{};
        return NULLREGION;
    }
    const POINT offset = dc->Offset();
    OffsetRect(&clip, -offset.x, -offset.y);
    *rc = clip;
    return SIMPLEREGION;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDc(hdc);
    if (!dc)
        return ERROR;
    const POINT offset = dc->Offset();
    RECT rc{left + offset.x, top + offset.y, right + offset.x, bottom + offset.y};
    const RECT current = dc->m_state.m_clip ? *dc->m_state.m_clip : dc->DeviceClip();
    dc->m_state.m_clip = Intersect(current, rc);
    RECT box;
    return GetClipBox(hdc, &box);
}

int GetDeviceCaps(HDC hdc, int index) {
    auto dc = FindDc(hdc);
    if (!dc)
        return 0;
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case HORZRES:
        return dc->Target().width;
    case VERTRES:
        return dc->Target().height;
    case BITSPIXEL:
        return dc->IsMonochrome() ? 1 : 32;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}
