// The system class "STATIC": text labels, icons and bitmaps.
//
// The parent chooses the colours: WM_CTLCOLORSTATIC gets the DC the static
// paints with and returns the brush of the background; the text colour and
// background mode it sets on the DC are the ones the text is drawn in.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"
#include "platform/user/Icon.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kFontOffset = 0;
constexpr int kIconOffset = sizeof(LONG_PTR);

DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}
HFONT Font(HWND hwnd) {
    const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, kFontOffset));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
HICON Icon(HWND hwnd) {
    return reinterpret_cast<HICON>(GetWindowLongPtrA(hwnd, kIconOffset));
}

std::string Text(HWND hwnd) {
    std::string text(std::size_t(std::max(0, GetWindowTextLengthA(hwnd))) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(hwnd, text.data(), int(text.size()))));
    return text;
}

HBRUSH Background(HWND hwnd, HDC hdc) {
    const HWND parent = GetParent(hwnd);
    LRESULT brush = 0;
    if (parent)
        brush = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                             reinterpret_cast<LPARAM>(hwnd));
    // A parent that leaves the message alone gets the system's colours.
    if (!brush || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) != OBJ_BRUSH)
        brush = DefWindowProcA(IsWindow(parent) ? parent : hwnd, WM_CTLCOLORSTATIC,
                               reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd));
    return reinterpret_cast<HBRUSH>(brush);
}

UINT TextFormat(DWORD style) {
    UINT format = DT_EXPANDTABS | DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT;
        break;
    case SS_SIMPLE:
        format = DT_SINGLELINE | DT_NOCLIP;
        break;
    case SS_LEFTNOWORDWRAP:
        format = DT_EXPANDTABS;
        break;
    default:
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    return format;
}

// Without an icon set, SS_ICON shows a stand-in of the icon's size: a raised
// tile with a sunken window in it, so that a dialog keeps its layout.
void DrawIconPlaceholder(HDC hdc, RECT rc) {
    DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    InflateRect(&rc, -3, -3);
    if (rc.right - rc.left < 4 || rc.bottom - rc.top < 4)
        return;
    DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, int(sizeof bm), &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// A bitmap at the top-left corner, or centred.
void DrawBitmap(HDC hdc, HBITMAP bitmap, RECT rc, bool centred) {
    const SIZE size = BitmapSize(bitmap);
    const HDC source = CreateCompatibleDC(hdc);
    if (!source)
        return;
    const HGDIOBJ old = SelectObject(source, bitmap);
    const int x = centred ? int(rc.left + (rc.right - rc.left - size.cx) / 2) : int(rc.left);
    const int y = centred ? int(rc.top + (rc.bottom - rc.top - size.cy) / 2) : int(rc.top);
    BitBlt(hdc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void Paint(HWND hwnd, HDC hdc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const DWORD style = Style(hwnd);
    const int saved = SaveDC(hdc);
    SelectObject(hdc, Font(hwnd));
    const HBRUSH background = Background(hwnd, hdc);
    if (!IsWindow(hwnd)) {
        RestoreDC(hdc, saved);
        return;
    }
    switch (style & SS_TYPEMASK) {
    case SS_ICON:
        FillRect(hdc, &rc, background);
        if (HICON icon = Icon(hwnd))
            DrawIconEx(hdc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        else
            DrawIconPlaceholder(hdc, rc);
        break;
    case SS_BITMAP:
        FillRect(hdc, &rc, background);
        if (const auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, kIconOffset)))
            DrawBitmap(hdc, bitmap, rc, (style & SS_CENTERIMAGE) != 0);
        break;
    case SS_BLACKRECT:
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        break;
    case SS_GRAYRECT:
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
        break;
    case SS_WHITERECT:
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW));
        break;
    case SS_BLACKFRAME:
        FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        break;
    case SS_ETCHEDHORZ: {
        RECT line{rc.left, rc.top, rc.right, rc.top + 2};
        DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
        break;
    }
    default: {
        FillRect(hdc, &rc, background);
        const std::string text = Text(hwnd);
        if (!IsWindowEnabled(hwnd))
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        DrawText(hdc, text.c_str(), int(text.size()), &rc, TextFormat(style));
        break;
    }
    }
    RestoreDC(hdc, saved);
}

// An icon static takes the size of its icon, or of a standard icon.
void FitToIcon(HWND hwnd) {
    SIZE size = kw::user::IconSize(Icon(hwnd));
    if (size.cx <= 0 || size.cy <= 0)
        size = SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

namespace kw::user::detail {

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        if ((Style(hwnd) & SS_TYPEMASK) == SS_ICON && !(Style(hwnd) & SS_CENTERIMAGE))
            FitToIcon(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills the background with the parent's brush.
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { Paint(hwnd, hdc); });
    case WM_SETTEXT:
        DefWindowProcA(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case WM_SETFONT:
        SetWindowLongPtrA(hwnd, kFontOffset, LONG_PTR(wParam));
        if (LOWORD(std::uintptr_t(lParam)))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrA(hwnd, kFontOffset);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case STM_SETICON: {
        // The icon stays the caller's.
        const LRESULT previous = GetWindowLongPtrA(hwnd, kIconOffset);
        SetWindowLongPtrA(hwnd, kIconOffset, LONG_PTR(wParam));
        if ((Style(hwnd) & SS_TYPEMASK) == SS_ICON && !(Style(hwnd) & SS_CENTERIMAGE) &&
            kw::user::IconSize(Icon(hwnd)).cx > 0)
            FitToIcon(hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case STM_GETICON:
        return GetWindowLongPtrA(hwnd, kIconOffset);
    case STM_SETIMAGE: {
        // A bitmap for SS_BITMAP (the static takes its size unless it
        // centres it), an icon for SS_ICON; the image stays the caller's.
        const DWORD type = Style(hwnd) & SS_TYPEMASK;
        if ((wParam == IMAGE_ICON) != (type == SS_ICON) ||
            (wParam == IMAGE_BITMAP) != (type == SS_BITMAP))
            return 0;
        if (wParam == IMAGE_ICON)
            return SendMessageA(hwnd, STM_SETICON, WPARAM(lParam), 0);
        const LRESULT previous = GetWindowLongPtrA(hwnd, kIconOffset);
        SetWindowLongPtrA(hwnd, kIconOffset, lParam);
        const SIZE size = BitmapSize(reinterpret_cast<HBITMAP>(lParam));
        if (!(Style(hwnd) & SS_CENTERIMAGE) && size.cx > 0)
            SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case STM_GETIMAGE: {
        const DWORD type = Style(hwnd) & SS_TYPEMASK;
        const bool matches = (wParam == IMAGE_ICON && type == SS_ICON) ||
                             (wParam == IMAGE_BITMAP && type == SS_BITMAP);
        return matches ? GetWindowLongPtrA(hwnd, kIconOffset) : 0;
    }
    case WM_LBUTTONDOWN:
        if (Style(hwnd) & SS_NOTIFY)
            if (const HWND parent = GetParent(hwnd))
                SendMessageA(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), STN_CLICKED),
                             reinterpret_cast<LPARAM>(hwnd));
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace kw::user::detail
