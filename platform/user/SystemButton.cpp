// The system class "BUTTON": push buttons, check boxes, radio buttons, group
// boxes and owner-drawn buttons.
//
// [SECTION] State
// [SECTION] Painting
// [SECTION] Pressing and clicking
// [SECTION] The window procedure
//
// Everything a button remembers lives in its extra window bytes, so that a
// control framework may subclass the window and call this procedure for what
// it does not handle itself.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"
#include "platform/user/EditControl.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>
#include <string>

namespace {

// [SECTION] State

constexpr int kStateOffset = 0;
constexpr int kFontOffset = sizeof(LONG_PTR);
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);

// Beside the BST_ bits: a press in progress, by the mouse or the space bar.
constexpr LONG_PTR kMouseTracking = 0x0040;
constexpr LONG_PTR kKeyTracking = 0x0080;
constexpr LONG_PTR kCheckMask = BST_CHECKED | BST_INDETERMINATE;

LONG_PTR State(HWND hwnd) {
    return GetWindowLongPtrA(hwnd, kStateOffset);
}
void SetState(HWND hwnd, LONG_PTR state) {
    SetWindowLongPtrA(hwnd, kStateOffset, state);
}
DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}
DWORD Type(HWND hwnd) {
    return Style(hwnd) & BS_TYPEMASK;
}
HFONT Font(HWND hwnd) {
    const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, kFontOffset));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool IsCheckType(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void Notify(HWND hwnd, WORD code) {
    const HWND parent = GetParent(hwnd);
    if (parent)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), code),
                     reinterpret_cast<LPARAM>(hwnd));
}

std::string Text(HWND hwnd) {
    std::string text(std::size_t(std::max(0, GetWindowTextLengthA(hwnd))) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(hwnd, text.data(), int(text.size()))));
    return text;
}

// [SECTION] Painting

// Text in the button's colours: embossed when disabled.
void DrawLabel(HDC hdc, const std::string& text, RECT rc, UINT format, bool enabled) {
    SetBkMode(hdc, TRANSPARENT);
    if (enabled) {
        DrawText(hdc, text.c_str(), int(text.size()), &rc, format);
        return;
    }
    const COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT shadow = rc;
    OffsetRect(&shadow, 1, 1);
    DrawText(hdc, text.c_str(), int(text.size()), &shadow, format);
    SetTextColor(hdc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(hdc, text.c_str(), int(text.size()), &rc, format);
    SetTextColor(hdc, old);
}

// Vertically centred text for formats that wrap (DT_VCENTER needs one line).
RECT CentredTextRect(HDC hdc, const std::string& text, RECT rc, UINT format) {
    RECT measured = rc;
    DrawText(hdc, text.c_str(), int(text.size()), &measured, format | DT_CALCRECT);
    const LONG height = measured.bottom - measured.top;
    rc.top += std::max<LONG>(0, (rc.bottom - rc.top - height) / 2);
    rc.bottom = rc.top + height;
    return rc;
}

void PaintOwnerDrawn(HWND hwnd, HDC hdc, UINT action, LONG_PTR state) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = UINT(GetDlgCtrlID(hwnd));
    dis.itemAction = action;
    if (state & BST_PUSHED)
        dis.itemState |= ODS_SELECTED;
    if (state & BST_FOCUS)
        dis.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd))
        dis.itemState |= ODS_DISABLED;
    dis.hwndItem = hwnd;
    dis.hDC = hdc;
    GetClientRect(hwnd, &dis.rcItem);
    const HWND parent = GetParent(hwnd);
    if (parent)
        SendMessageA(parent, WM_DRAWITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
}

void PaintPush(HWND hwnd, HDC hdc, LONG_PTR state) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const bool enabled = IsWindowEnabled(hwnd);
    const DWORD type = Type(hwnd);
    // The default button wears a black frame around its face.
    if (type == BS_DEFPUSHBUTTON) {
        FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    }
    RECT face = rc;
    UINT look = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (state & BST_PUSHED)
        look |= DFCS_PUSHED;
    if (!enabled)
        look |= DFCS_INACTIVE;
    if (Style(hwnd) & BS_FLAT)
        look |= DFCS_FLAT;
    DrawFrameControl(hdc, &face, DFC_BUTTON, look);

    const std::string text = Text(hwnd);
    if (!text.empty()) {
        RECT textRc = face;
        if (state & BST_PUSHED)
            OffsetRect(&textRc, 1, 1);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        if (Style(hwnd) & BS_MULTILINE) {
            const UINT format = DT_CENTER | DT_WORDBREAK;
            DrawLabel(hdc, text, CentredTextRect(hdc, text, textRc, format), format, enabled);
        } else {
            DrawLabel(hdc, text, textRc, DT_CENTER | DT_VCENTER | DT_SINGLELINE, enabled);
        }
    }
    if (state & BST_FOCUS) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(hdc, &focus);
    }
}

HBRUSH StaticBackground(HWND hwnd, HDC hdc) {
    const HWND parent = GetParent(hwnd);
    LRESULT brush = 0;
    if (parent)
        brush = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                             reinterpret_cast<LPARAM>(hwnd));
    if (!brush || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) != OBJ_BRUSH)
        brush = DefWindowProcA(parent ? parent : hwnd, WM_CTLCOLORSTATIC,
                               reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd));
    return reinterpret_cast<HBRUSH>(brush);
}

HBRUSH ButtonBackground(HWND hwnd, HDC hdc) {
    const HWND parent = GetParent(hwnd);
    LRESULT brush = 0;
    if (parent)
        brush = SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc),
                             reinterpret_cast<LPARAM>(hwnd));
    if (!brush || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) != OBJ_BRUSH)
        brush = DefWindowProcA(parent ? parent : hwnd, WM_CTLCOLORBTN,
                               reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd));
    return reinterpret_cast<HBRUSH>(brush);
}

// Check boxes and radio buttons: the box at one side, the text beside it.
void PaintCheck(HWND hwnd, HDC hdc, LONG_PTR state) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const bool enabled = IsWindowEnabled(hwnd);
    const DWORD style = Style(hwnd);
    const DWORD type = style & BS_TYPEMASK;
    FillRect(hdc, &rc, StaticBackground(hwnd, hdc));

    const LONG top = rc.top + (rc.bottom - rc.top - kCheckBoxSize) / 2;
    const bool boxRight = style & BS_LEFTTEXT;
    RECT box{boxRight ? rc.right - kCheckBoxSize : rc.left, top, 0, top + kCheckBoxSize};
    box.right = box.left + kCheckBoxSize;
    UINT look = IsRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if ((state & kCheckMask) == BST_CHECKED)
        look |= DFCS_CHECKED;
    if ((state & kCheckMask) == BST_INDETERMINATE && !IsRadioType(type))
        look |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (state & BST_PUSHED)
        look |= DFCS_PUSHED;
    if (!enabled)
        look |= DFCS_INACTIVE;
    if (style & BS_FLAT)
        look |= DFCS_FLAT;
    DrawFrameControl(hdc, &box, DFC_BUTTON, look);

    const std::string text = Text(hwnd);
    if (text.empty())
        return;
    RECT textRc = rc;
    if (boxRight)
        textRc.right = box.left - 4;
    else
        textRc.left = box.right + 4;
    const UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    RECT placed = CentredTextRect(hdc, text, textRc, format);
    DrawLabel(hdc, text, placed, format, enabled);
    if (state & BST_FOCUS) {
        RECT measured = placed;
        DrawText(hdc, text.c_str(), int(text.size()), &measured, format | DT_CALCRECT);
        InflateRect(&measured, 1, 1);
        IntersectRect(&measured, &measured, &rc);
        DrawFocusRect(hdc, &measured);
    }
}

// A group box: an etched frame whose top line runs through the middle of
// the caption. Only the caption's background is filled.
void PaintGroup(HWND hwnd, HDC hdc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const HBRUSH background = StaticBackground(hwnd, hdc);
    TEXTMETRIC tm;
    GetTextMetrics(hdc, &tm);
    RECT frame = rc;
    frame.top += tm.tmHeight / 2;
    DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
    const std::string text = Text(hwnd);
    if (text.empty())
        return;
    RECT textRc{rc.left + 8, rc.top, rc.right - 8, rc.top + tm.tmHeight};
    DrawText(hdc, text.c_str(), int(text.size()), &textRc, DT_SINGLELINE | DT_CALCRECT);
    InflateRect(&textRc, 2, 0);
    FillRect(hdc, &textRc, background);
    InflateRect(&textRc, -2, 0);
    DrawLabel(hdc, text, textRc, DT_SINGLELINE, IsWindowEnabled(hwnd));
}

void Paint(HWND hwnd, HDC hdc, UINT action) {
    const LONG_PTR state = State(hwnd);
    const DWORD type = Type(hwnd);
    const int saved = SaveDC(hdc);
    SelectObject(hdc, Font(hwnd));
    if (type == BS_OWNERDRAW)
        PaintOwnerDrawn(hwnd, hdc, action, state);
    else if (IsCheckType(type) || IsRadioType(type))
        PaintCheck(hwnd, hdc, state);
    else if (type == BS_GROUPBOX)
        PaintGroup(hwnd, hdc);
    else
        PaintPush(hwnd, hdc, state);
    RestoreDC(hdc, saved);
}

// State changes show at once, as on the platform, not at the next paint.
void PaintNow(HWND hwnd, UINT action) {
    if (!IsWindowVisible(hwnd))
        return;
    if (HDC hdc = GetDC(hwnd)) {
        Paint(hwnd, hdc, action);
        ReleaseDC(hwnd, hdc);
    }
}

// [SECTION] Pressing and clicking

void SetPushed(HWND hwnd, bool pushed) {
    const LONG_PTR state = State(hwnd);
    if (bool(state & BST_PUSHED) == pushed)
        return;
    SetState(hwnd, pushed ? state | BST_PUSHED : state & ~BST_PUSHED);
    PaintNow(hwnd, ODA_SELECT);
}

void SetCheck(HWND hwnd, LONG_PTR check) {
    const DWORD type = Type(hwnd);
    if (!IsCheckType(type) && !IsRadioType(type))
        return;
    if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
        check = BST_CHECKED;
    check &= kCheckMask;
    const LONG_PTR state = State(hwnd);
    if ((state & kCheckMask) == check)
        return;
    SetState(hwnd, (state & ~kCheckMask) | check);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// The radio buttons of a group: the siblings from the last WS_GROUP at or
// before this one up to the next WS_GROUP.
void UncheckGroupSiblings(HWND hwnd) {
    const HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    std::vector<HWND> siblings;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        siblings.push_back(child);
    // GW_CHILD walks from the top of the z-order: creation order is reversed.
    std::reverse(siblings.begin(), siblings.end());
    auto self = std::find(siblings.begin(), siblings.end(), hwnd);
    if (self == siblings.end())
        return;
    auto first = self;
    while (first != siblings.begin() && !(Style(*first) & WS_GROUP))
        --first;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && (Style(*it) & WS_GROUP))
            break;
        char cls[16]{};
        GetClassNameA(*it, cls, int(sizeof cls));
        if (*it != hwnd && Type(*it) == BS_AUTORADIOBUTTON && std::string(cls) == "BUTTON")
            SetCheck(*it, BST_UNCHECKED);
    }
}

// A completed press: the automatic check styles change their state, then
// the parent hears of the click.
void Clicked(HWND hwnd) {
    switch (Type(hwnd)) {
    case BS_AUTOCHECKBOX:
        SetCheck(hwnd, (State(hwnd) & kCheckMask) ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(hwnd, ((State(hwnd) & kCheckMask) + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        SetCheck(hwnd, BST_CHECKED);
        UncheckGroupSiblings(hwnd);
        break;
    default:
        break;
    }
    Notify(hwnd, BN_CLICKED);
}

void BeginPress(HWND hwnd, LONG_PTR how) {
    SetState(hwnd, State(hwnd) | how);
    SetCapture(hwnd);
    if (IsWindow(hwnd))
        SetPushed(hwnd, true);
}

// Ends a press; a release inside (or of the space bar) while pushed clicks.
void EndPress(HWND hwnd, bool inside) {
    const LONG_PTR state = State(hwnd);
    if (!(state & (kMouseTracking | kKeyTracking)))
        return;
    SetState(hwnd, state & ~(kMouseTracking | kKeyTracking));
    const bool pushed = state & BST_PUSHED;
    SetPushed(hwnd, false);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (pushed && inside && IsWindow(hwnd))
        Clicked(hwnd);
}

bool PointInClient(HWND hwnd, LPARAM lParam) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&rc, pt);
}

LRESULT DialogCode(DWORD type) {
    switch (type) {
    case BS_PUSHBUTTON:
    case BS_USERBUTTON:
    case BS_PUSHBOX:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

// [SECTION] The window procedure

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        // An owner-drawn button's owner may draw only part of it: the rest
        // is the parent's button colour. Other types paint all of it.
        if (Type(hwnd) == BS_OWNERDRAW && wParam) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            const HDC hdc = reinterpret_cast<HDC>(wParam);
            FillRect(hdc, &rc, ButtonBackground(hwnd, hdc));
        }
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { Paint(hwnd, hdc, ODA_DRAWENTIRE); });
    case WM_LBUTTONDBLCLK:
        if (Type(hwnd) == BS_OWNERDRAW || IsRadioType(Type(hwnd)))
            Notify(hwnd, BN_DOUBLECLICKED);
        if (!IsWindow(hwnd))
            return 0;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (Type(hwnd) == BS_GROUPBOX)
            return 0;
        SetFocus(hwnd);
        if (IsWindow(hwnd))
            BeginPress(hwnd, kMouseTracking);
        return 0;
    case WM_MOUSEMOVE:
        if ((State(hwnd) & kMouseTracking) && GetCapture() == hwnd)
            SetPushed(hwnd, PointInClient(hwnd, lParam));
        return 0;
    case WM_LBUTTONUP:
        if (State(hwnd) & kMouseTracking)
            EndPress(hwnd, PointInClient(hwnd, lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !(State(hwnd) & (kMouseTracking | kKeyTracking)) &&
            Type(hwnd) != BS_GROUPBOX)
            BeginPress(hwnd, kKeyTracking);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (State(hwnd) & kKeyTracking))
            EndPress(hwnd, true);
        return 0;
    case WM_CAPTURECHANGED:
        // Someone else took the mouse: the press ends without a click.
        if (State(hwnd) & (kMouseTracking | kKeyTracking)) {
            SetState(hwnd, State(hwnd) & ~(kMouseTracking | kKeyTracking));
            SetPushed(hwnd, false);
        }
        return 0;
    case WM_SETFOCUS:
        SetState(hwnd, State(hwnd) | BST_FOCUS);
        PaintNow(hwnd, ODA_FOCUS);
        if (IsWindow(hwnd) && (Style(hwnd) & BS_NOTIFY))
            Notify(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS: {
        const LONG_PTR state = State(hwnd);
        SetState(hwnd, state & ~BST_FOCUS);
        if ((state & (kMouseTracking | kKeyTracking)) && GetCapture() == hwnd)
            ReleaseCapture();
        PaintNow(hwnd, ODA_FOCUS);
        if (IsWindow(hwnd) && (Style(hwnd) & BS_NOTIFY))
            Notify(hwnd, BN_KILLFOCUS);
        return 0;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
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
    case WM_GETDLGCODE:
        return DialogCode(Type(hwnd));
    case BM_GETCHECK:
        return State(hwnd) & kCheckMask;
    case BM_SETCHECK:
        SetCheck(hwnd, LONG_PTR(wParam));
        return 0;
    case BM_GETSTATE:
        return State(hwnd) & (kCheckMask | BST_PUSHED | BST_FOCUS);
    case BM_SETSTATE:
        SetPushed(hwnd, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        const DWORD style = (Style(hwnd) & 0xFFFF0000u) | DWORD(wParam & 0xFFFF);
        SetWindowLongPtrA(hwnd, GWL_STYLE, LONG_PTR(style));
        if (lParam)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case BM_CLICK:
        if (!IsWindowEnabled(hwnd))
            return 0;
        SetPushed(hwnd, true);
        if (IsWindow(hwnd))
            SetPushed(hwnd, false);
        if (IsWindow(hwnd))
            Clicked(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace kw::user::detail {
// Defined beside the static's procedure.
LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
} // namespace kw::user::detail

namespace kw::user {

void RegisterSystemClasses() {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &ButtonProc;
    wc.cbWndExtra = kExtraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "BUTTON";
    RegisterClassA(&wc);

    wc.style = CS_DBLCLKS | CS_PARENTDC | CS_GLOBALCLASS;
    wc.lpfnWndProc = &detail::StaticProc;
    wc.lpszClassName = "STATIC";
    RegisterClassA(&wc);

    detail::RegisterEditClass();
    RegisterListAndCommonControls();
}

} // namespace kw::user
