#include "platform/backends/x11/MessageBoxWindow.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <algorithm>

namespace kw::x11 {

namespace {

constexpr const char* kClassName = "KwMessageBox";
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMaxTextWidth = 360;
constexpr int kIdText = 0xFFFF;

// What the box's procedure needs: its type, kept in the window's user data.
LRESULT BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto type = UINT(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) != kIdText)
            kw::user::EndModalLoop(hwnd, LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        if (const int answer = MessageBoxCloseAnswer(type))
            kw::user::EndModalLoop(hwnd, answer);
        return 0; // The loop's owner destroys the box.
    case WM_PAINT: {
        // Without a window manager nothing else frames the box: a raised
        // dialog edge, and the icon of its type at the top left.
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
        DrawMessageBoxIcon(dc, kMargin, kMargin, type);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            const auto buttons = MessageBoxButtons(type);
            const std::size_t def =
                std::min<std::size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1);
            kw::user::EndModalLoop(hwnd, buttons[def].id);
        } else if (wParam == VK_ESCAPE) {
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void RegisterBoxClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, kClassName, &wc))
        return;
    wc.lpfnWndProc = &BoxProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
}

SIZE MeasureText(const std::string& text) {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT rc{0, 0, kMaxTextWidth, 0};
    DrawTextA(dc, text.c_str(), int(text.size()), &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Centred on the owner, or on the screen.
POINT BoxPlace(HWND owner, SIZE box) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner)
        GetWindowRect(owner, &area);
    return POINT{area.left + (area.right - area.left - box.cx) / 2,
                 area.top + (area.bottom - area.top - box.cy) / 2};
}

HWND CreateBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    RegisterBoxClass();
    const auto buttons = MessageBoxButtons(type);
    const SIZE textSize = MeasureText(text);
    const bool icon = (type & MB_ICONMASK) != 0;
    const int textLeft = icon ? 2 * kMargin + kMessageBoxIconSize : kMargin;
    const int textTop = icon ? kMargin + std::max(0, int(kMessageBoxIconSize - textSize.cy) / 2)
                             : kMargin;
    const int bodyHeight = icon ? std::max<int>(textSize.cy, kMessageBoxIconSize) : textSize.cy;
    const int buttonsWidth =
        int(buttons.size()) * kButtonWidth + (int(buttons.size()) - 1) * kButtonGap;
    const SIZE box{std::max<LONG>(textLeft - kMargin + textSize.cx, buttonsWidth) + 2 * kMargin,
                   bodyHeight + kButtonHeight + 3 * kMargin};
    const POINT at = BoxPlace(owner, box);
    const HWND hwnd =
        CreateWindowExA(0, kClassName, caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, at.x,
                        at.y, box.cx, box.cy, owner, nullptr, nullptr, nullptr);
    if (!hwnd)
        return nullptr;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(type));
    CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                    textLeft, textTop, textSize.cx, textSize.cy, hwnd,
                    reinterpret_cast<HMENU>(std::intptr_t(kIdText)), nullptr, nullptr);
    const std::size_t def = std::min<std::size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1);
    int x = (box.cx - buttonsWidth) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        CreateWindowExA(0, "BUTTON", buttons[i].label,
                        WS_CHILD | WS_VISIBLE | (i == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), x,
                        box.cy - kMargin - kButtonHeight, kButtonWidth, kButtonHeight, hwnd,
                        reinterpret_cast<HMENU>(std::intptr_t(buttons[i].id)), nullptr, nullptr);
        x += kButtonWidth + kButtonGap;
    }
    return hwnd;
}

} // namespace

bool DrawMessageBoxIcon(HDC dc, int x, int y, UINT type) {
    const UINT icon = type & MB_ICONMASK;
    if (icon != MB_ICONHAND && icon != MB_ICONQUESTION && icon != MB_ICONEXCLAMATION &&
        icon != MB_ICONASTERISK)
        return false;
    constexpr int s = kMessageBoxIconSize;
    const COLORREF face = icon == MB_ICONHAND          ? RGB(0xD0, 0x10, 0x10)
                          : icon == MB_ICONEXCLAMATION ? RGB(0xFF, 0xD8, 0x00)
                                                       : RGB(0x20, 0x50, 0xC8);
    const COLORREF mark = icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(0xFF, 0xFF, 0xFF);
    const HBRUSH faceBrush = CreateSolidBrush(face);
    const HPEN outline = CreatePen(PS_SOLID, 1, RGB(0x40, 0x40, 0x40));
    const HGDIOBJ oldBrush = SelectObject(dc, faceBrush);
    const HGDIOBJ oldPen = SelectObject(dc, outline);
    if (icon == MB_ICONEXCLAMATION) {
        const POINT triangle[] = {{x + s / 2, y + 1}, {x + s - 1, y + s - 2}, {x, y + s - 2}};
        Polygon(dc, triangle, 3);
    } else {
        Ellipse(dc, x, y, x + s, y + s);
    }
    const HBRUSH markBrush = CreateSolidBrush(mark);
    if (icon == MB_ICONHAND) {
        const HPEN cross = CreatePen(PS_SOLID, 4, mark);
        SelectObject(dc, cross);
        MoveToEx(dc, x + 10, y + 10, nullptr);
        LineTo(dc, x + s - 10, y + s - 10);
        MoveToEx(dc, x + s - 10, y + 10, nullptr);
        LineTo(dc, x + 10, y + s - 10);
        SelectObject(dc, outline);
        DeleteObject(cross);
    } else if (icon == MB_ICONEXCLAMATION) {
        const RECT bar{x + s / 2 - 2, y + 10, x + s / 2 + 2, y + 22};
        const RECT dot{x + s / 2 - 2, y + 24, x + s / 2 + 2, y + 28};
        FillRect(dc, &bar, markBrush);
        FillRect(dc, &dot, markBrush);
    } else if (icon == MB_ICONASTERISK) {
        const RECT dot{x + s / 2 - 2, y + 7, x + s / 2 + 2, y + 11};
        const RECT bar{x + s / 2 - 2, y + 13, x + s / 2 + 2, y + 25};
        FillRect(dc, &dot, markBrush);
        FillRect(dc, &bar, markBrush);
    } else {
        const HFONT font = CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0,
                                       0, 0, "Arial");
        const HGDIOBJ oldFont = SelectObject(dc, font);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(dc, mark);
        RECT cell{x, y, x + s, y + s};
        DrawTextA(dc, "?", 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(markBrush);
    DeleteObject(faceBrush);
    DeleteObject(outline);
    return true;
}

std::vector<MessageBoxButton> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    case MB_CANCELTRYCONTINUE:
        return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "Try Again"}, {IDCONTINUE, "Continue"}};
    case MB_OK:
    default:
        return {{IDOK, "OK"}};
    }
}

int MessageBoxCloseAnswer(UINT type) {
    const auto buttons = MessageBoxButtons(type);
    if (buttons.size() == 1)
        return buttons.front().id;
    for (const MessageBoxButton& b : buttons)
        if (b.id == IDCANCEL)
            return IDCANCEL;
    return 0;
}

int ShowMessageBoxWindow(HWND owner, const std::string& text, const std::string& caption,
                         UINT type) {
    const HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    const HWND focus = GetFocus();
    const HWND box = CreateBox(top, text, caption, type);
    if (!box)
        return 0;
    const bool disabled = top && !EnableWindow(top, FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(box);
    const int answer = kw::user::RunModalLoop(box);
    // The owner is enabled again before the box goes, so that activation can
    // return to it.
    if (disabled)
        EnableWindow(top, TRUE);
    DestroyWindow(box);
    if (focus && IsWindow(focus))
        SetFocus(focus);
    return answer;
}

} // namespace kw::x11
