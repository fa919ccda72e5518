// The default handling of window messages.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>
#include <cstring>

using namespace kw::user::detail;

namespace {

void FillBand(HDC hdc, LONG left, LONG top, LONG right, LONG bottom, int color) {
    const RECT rc{left, top, right, bottom};
    FillRect(hdc, &rc, reinterpret_cast<HBRUSH>(std::intptr_t(color + 1)));
}

// Two colours on a one-pixel ring: top and left, then bottom and right.
void DrawRing(HDC hdc, RECT& rc, int topLeft, int bottomRight) {
    FillBand(hdc, rc.left, rc.top, rc.right - 1, rc.top + 1, topLeft);
    FillBand(hdc, rc.left, rc.top, rc.left + 1, rc.bottom - 1, topLeft);
    FillBand(hdc, rc.left, rc.bottom - 1, rc.right, rc.bottom, bottomRight);
    FillBand(hdc, rc.right - 1, rc.top, rc.right, rc.bottom, bottomRight);
    InflateRect(&rc, -1, -1);
}

// The frame of a child window: a black line for WS_BORDER, a sunken edge for
// WS_EX_CLIENTEDGE, a thin sunken line for WS_EX_STATICEDGE.
void PaintFrame(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w || FrameWidth(*w) == 0)
        return;
    const DWORD style = w->style;
    const DWORD exStyle = w->exStyle;
    RECT rc{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    const HDC hdc = GetWindowDC(hwnd);
    if (!hdc)
        return;
    if (style & WS_BORDER)
        DrawRing(hdc, rc, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
    else if (exStyle & WS_EX_STATICEDGE)
        DrawRing(hdc, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    if (exStyle & WS_EX_CLIENTEDGE) {
        DrawRing(hdc, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        DrawRing(hdc, rc, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    ReleaseDC(hwnd, hdc);
}

LRESULT HitTest(HWND hwnd, LPARAM lParam) {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT window;
    if (!GetWindowRect(hwnd, &window) || !PtInRect(&window, pt))
        return HTNOWHERE;
    POINT client = pt;
    ScreenToClient(hwnd, &client);
    RECT rc;
    GetClientRect(hwnd, &rc);
    return PtInRect(&rc, client) ? HTCLIENT : HTBORDER;
}

LRESULT EraseBackground(HWND hwnd, HDC hdc) {
    Window* w = FindWindow(hwnd);
    if (!w || !w->cls->info.hbrBackground)
        return 0;
    RECT rc;
    if (GetClipBox(hdc, &rc) == ERROR)
        return 0;
    FillRect(hdc, &rc, w->cls->info.hbrBackground);
    return 1;
}

LRESULT ControlColor(HDC hdc, int background) {
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

void StoreText(HWND hwnd, LPCSTR text) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return;
    w->text = text ? text : "";
    if (!w->parent)
        if (kw::user::Presenter* presenter = Manager().GetPresenter())
            presenter->TopLevelChanged(hwnd);
}

} // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName)
            StoreText(hwnd, cs->lpszName);
        return TRUE;
    }
    case WM_NCHITTEST:
        return HitTest(hwnd, lParam);
    case WM_SETCURSOR: {
        // The parent may choose the cursor for its children.
        if ((w->style & WS_CHILD) && w->parent &&
            SendMessageA(w->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        if (!(w = FindWindow(hwnd)))
            return 0;
        if (SHORT(LOWORD(lParam)) == HTCLIENT) {
            if (HCURSOR cursor = w->cls->info.hCursor) {
                SetCursor(cursor);
                return TRUE;
            }
            return FALSE;
        }
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return FALSE;
    }
    case WM_MOUSEWHEEL:
        if ((w->style & WS_CHILD) && w->parent)
            return SendMessageA(w->parent, msg, wParam, lParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCPAINT:
        PaintFrame(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_SETTEXT:
        StoreText(hwnd, reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        const std::size_t n = std::min<std::size_t>(wParam - 1, w->text.size());
        std::memcpy(buffer, w->text.data(), n);
        buffer[n] = '\0';
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_3DFACE);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
    case WM_PRINTCLIENT:
    case WM_GETDLGCODE:
    case WM_GETFONT:
    default:
        return 0;
    }
}
