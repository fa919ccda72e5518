// Update regions, WM_PAINT and device contexts on windows.
#include "platform/user/Paint.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>

using namespace kw::user::detail;

namespace kw::user::detail {

void InvalidateWindow(HWND hwnd, const RECT* clientRc, bool erase, bool frame) {
    Window* w = FindWindow(hwnd);
    if (!w || !IsWindowVisible(hwnd))
        return;
    const RECT inset = ClientRectInWindow(*w);
    const RECT client{0, 0, inset.right - inset.left, inset.bottom - inset.top};
    RECT area = client;
    if (clientRc && !IntersectRect(&area, clientRc, &client))
        area = RECT{};
    if (frame && FrameWidth(*w) > 0)
        w->frameDirty = true;
    if (!IsRectEmpty(&area)) {
        UnionRect(&w->update, &w->update, &area);
        w->erase = w->erase || erase;
    }
    // Children under the area are painted over by their parent and must
    // paint again after it.
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        Window* c = FindWindow(child);
        RECT covered;
        if (!c || !(c->style & WS_VISIBLE) || !IntersectRect(&covered, &area, &c->rect))
            continue;
        const RECT childInset = ClientRectInWindow(*c);
        OffsetRect(&covered, -c->rect.left - childInset.left, -c->rect.top - childInset.top);
        const RECT childClient{0, 0, childInset.right - childInset.left,
                               childInset.bottom - childInset.top};
        RECT inside;
        const bool touchesFrame =
            !IntersectRect(&inside, &covered, &childClient) || !EqualRect(&inside, &covered);
        InvalidateWindow(child, &covered, erase, touchesFrame);
    }
}

void InvalidateParentArea(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w || !w->parent)
        return;
    const RECT area = w->rect;
    InvalidateWindow(w->parent, &area, true, false);
}

namespace {
bool NeedsPaint(const Window& w) {
    return (w.style & WS_VISIBLE) && (!IsRectEmpty(&w.update) || w.frameDirty);
}

HWND FindToPaint(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w || !(w->style & WS_VISIBLE))
        return nullptr;
    if (NeedsPaint(*w))
        return hwnd;
    for (HWND child : w->children)
        if (HWND found = FindToPaint(child))
            return found;
    return nullptr;
}

void CollectTree(HWND hwnd, std::vector<HWND>* out) {
    out->push_back(hwnd);
    if (Window* w = FindWindow(hwnd))
        for (HWND child : w->children)
            CollectTree(child, out);
}
} // namespace

HWND NextWindowToPaint(HWND filter) {
    if (filter)
        return IsWindowVisible(filter) ? FindToPaint(filter) : nullptr;
    for (HWND top : Manager().topLevels)
        if (HWND found = FindToPaint(top))
            return found;
    return nullptr;
}

void ReleaseOpenDcs(HWND topLevel) {
    WindowManager& m = Manager();
    std::erase_if(m.openDcs, [&](const OpenDc& dc) {
        if (dc.top != topLevel)
            return false;
        DeleteDC(dc.hdc);
        return true;
    });
}

void ResizeSurface(Window& w) {
    ReleaseOpenDcs(w.hwnd);
    if (w.surface)
        w.surface->Resize(w.rect.right - w.rect.left, w.rect.bottom - w.rect.top, 0xFFFFFF);
}

} // namespace kw::user::detail

namespace {

// A DC on the window's client area (or whole window), clipped to what is
// visible of it and to `limit` (in the same coordinates as the DC).
HDC OpenDcOn(HWND hwnd, bool client, const RECT* limit) {
    WindowManager& m = Manager();
    const HWND top = TopLevelOf(hwnd);
    Window* t = FindWindow(top);
    if (!t || !t->surface)
        return nullptr;
    const POINT origin = client ? ClientOriginInSurface(hwnd) : WindowOriginInSurface(hwnd);
    RECT clip = VisibleRectInSurface(hwnd, client);
    if (limit) {
        RECT bound = *limit;
        OffsetRect(&bound, origin.x, origin.y);
        if (!IntersectRect(&clip, &clip, &bound))
            clip = RECT{};
    }
    const HDC hdc = CreateDCForSurface(t->surface->View(), origin, clip);
    if (hdc)
        m.openDcs.push_back(OpenDc{hdc, hwnd, top, clip});
    return hdc;
}

// Closes a DC from OpenDcOn or the screen DC and tells the presenter what
// may have changed.
bool CloseDc(HDC hdc) {
    WindowManager& m = Manager();
    auto it = std::find_if(m.openDcs.begin(), m.openDcs.end(),
                           [hdc](const OpenDc& dc) { return dc.hdc == hdc; });
    if (!hdc || it == m.openDcs.end())
        return false;
    const OpenDc dc = *it;
    m.openDcs.erase(it);
    DeleteDC(dc.hdc);
    if (dc.top && !IsRectEmpty(&dc.surfaceRect) && FindWindow(dc.top))
        if (kw::user::Presenter* presenter = m.GetPresenter())
            presenter->Present(dc.top, dc.surfaceRect);
    return true;
}

} // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase) {
    if (!hwnd) {
        const std::vector<HWND> tops = Manager().topLevels;
        for (HWND top : tops)
            InvalidateWindow(top, nullptr, erase, true);
        return TRUE;
    }
    if (!FindWindow(hwnd))
        return FALSE;
    InvalidateWindow(hwnd, rc, erase, false);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    RECT box;
    if (GetRgnBox(rgn, &box) == ERROR || !FindWindow(hwnd))
        return FALSE;
    for (const RECT& r : GetRegionRects(rgn))
        InvalidateWindow(hwnd, &r, erase, false);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
    if (!rgn)
        return ValidateRect(hwnd, nullptr);
    RECT box;
    if (GetRgnBox(rgn, &box) == ERROR)
        return FALSE;
    return ValidateRect(hwnd, &box);
}

BOOL ValidateRect(HWND hwnd, const RECT* rc) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return FALSE;
    ++w->validations;
    RECT covered;
    if (!rc || (UnionRect(&covered, rc, &w->update) && EqualRect(&covered, rc))) {
        w->update = RECT{};
        w->erase = false;
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rc, BOOL erase) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return FALSE;
    const RECT update = w->update;
    if (rc)
        *rc = update;
    if (erase && w->erase && !IsRectEmpty(&update)) {
        w->erase = false;
        if (HDC hdc = OpenDcOn(hwnd, true, &update)) {
            if (!Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0))
                if (Window* again = FindWindow(hwnd))
                    again->erase = true;
            CloseDc(hdc);
        }
    }
    return IsRectEmpty(&update) ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    if (!FindWindow(hwnd))
        return FALSE;
    std::vector<HWND> tree;
    CollectTree(hwnd, &tree);
    for (HWND each : tree) {
        Window* w = FindWindow(each);
        if (!w || !IsWindowVisible(each) || !NeedsPaint(*w))
            continue;
        const MSG msg{each, WM_PAINT, 0, 0, 0, {}};
        DispatchMessageA(&msg);
    }
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = FindWindow(hwnd);
    if (!w || !ps)
        return nullptr;
    ++w->validations;
    if (w->frameDirty) {
        w->frameDirty = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = FindWindow(hwnd)))
            return nullptr;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    RECT paint;
    if (!IntersectRect(&paint, &w->update, &client))
        paint = RECT{};
    const bool erase = w->erase;
    w->update = RECT{};
    w->erase = false;

    *ps = PAINTSTRUCT{};
    ps->rcPaint = paint;
    const HDC hdc = OpenDcOn(hwnd, true, &paint);
    ps->hdc = hdc;
    if (erase && hdc)
        ps->fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
    if (ps)
        CloseDc(ps->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd) {
        WindowManager& m = Manager();
        const HDC hdc = CreateDCForSurface(m.screenSurface.View(), POINT{}, RECT{0, 0, 1, 1});
        if (hdc)
            m.openDcs.push_back(OpenDc{hdc, nullptr, nullptr, RECT{}});
        return hdc;
    }
    if (!FindWindow(hwnd))
        return nullptr;
    return OpenDcOn(hwnd, true, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
    if (!FindWindow(hwnd))
        return nullptr;
    return OpenDcOn(hwnd, false, nullptr);
}

int ReleaseDC(HWND, HDC hdc) {
    return CloseDc(hdc) ? 1 : 0;
}

HWND WindowFromDC(HDC hdc) {
    if (!hdc)
        return nullptr;
    for (const OpenDc& dc : Manager().openDcs)
        if (dc.hdc == hdc)
            return dc.hwnd;
    return nullptr;
}
