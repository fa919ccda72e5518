// The common control "msctls_updown32": two arrow buttons that step a
// position within a range, usually beside a buddy edit that shows it.
//
// [SECTION] State
// [SECTION] The buddy
// [SECTION] Stepping
// [SECTION] Painting and input
// [SECTION] The window procedure
//
// UDS_AUTOBUDDY takes the window created just before as the buddy;
// UDS_ALIGNRIGHT (UDS_ALIGNLEFT) narrows the buddy by the up-down's width
// and sets the up-down at its right (left) side, as high as the buddy.
// UDS_SETBUDDYINT writes each new position into the buddy's text, with
// thousands separated unless UDS_NOTHOUSANDS, and reads the buddy's number
// back before a step, so that a value typed into the buddy is stepped from.
// UDS_ARROWKEYS lets the Up and Down keys in the buddy step: the up-down
// subclasses the buddy for them and gives it back its procedure when the
// up-down goes.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Theme.h"
#include "platform/user/Input.h"
#include "platform/user/ListControl.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// [SECTION] State

constexpr int kLowerOffset = 0;
constexpr int kUpperOffset = 1 * sizeof(LONG_PTR);
constexpr int kPosOffset = 2 * sizeof(LONG_PTR);
constexpr int kBuddyOffset = 3 * sizeof(LONG_PTR);
constexpr int kBuddyProcOffset = 4 * sizeof(LONG_PTR); // The buddy's own procedure.
constexpr int kPressedOffset = 5 * sizeof(LONG_PTR);
constexpr int kExtraBytes = 6 * sizeof(LONG_PTR);

// Which arrow is held.
constexpr LONG_PTR kNone = 0;
constexpr LONG_PTR kUp = 1;
constexpr LONG_PTR kDown = 2;

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 500; // ms before a held arrow repeats
constexpr UINT kRepeatPeriod = 100;

constexpr char kThousands = ',';

LONG_PTR Get(HWND hwnd, int offset) {
    return GetWindowLongPtrA(hwnd, offset);
}
void Put(HWND hwnd, int offset, LONG_PTR value) {
    SetWindowLongPtrA(hwnd, offset, value);
}
DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}
HWND Buddy(HWND hwnd) {
    const auto buddy = reinterpret_cast<HWND>(Get(hwnd, kBuddyOffset));
    return IsWindow(buddy) ? buddy : nullptr;
}
int Lower(HWND hwnd) {
    return int(Get(hwnd, kLowerOffset));
}
int Upper(HWND hwnd) {
    return int(Get(hwnd, kUpperOffset));
}
int Low(HWND hwnd) {
    return std::min(Lower(hwnd), Upper(hwnd));
}
int High(HWND hwnd) {
    return std::max(Lower(hwnd), Upper(hwnd));
}

std::string Format(int value, bool thousands) {
    std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
    if (thousands)
        for (int i = int(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(std::size_t(i), 1, kThousands);
    return value < 0 ? "-" + digits : digits;
}

// The buddy's number; false when its text is none.
bool ReadBuddy(HWND hwnd, int* value) {
    const HWND buddy = Buddy(hwnd);
    if (!buddy)
        return false;
    char text[64]{};
    GetWindowTextA(buddy, text, int(sizeof text));
    std::string digits;
    for (const char* p = text; *p; ++p)
        if (*p != kThousands && *p != ' ')
            digits += *p;
    if (digits.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(digits.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0')
        return false;
    *value = int(std::clamp<long>(v, INT32_MIN, INT32_MAX));
    return true;
}

void ShowInBuddy(HWND hwnd) {
    const HWND buddy = Buddy(hwnd);
    if (!buddy || !(Style(hwnd) & UDS_SETBUDDYINT))
        return;
    const std::string text = Format(int(Get(hwnd, kPosOffset)), !(Style(hwnd) & UDS_NOTHOUSANDS));
    SetWindowTextA(buddy, text.c_str());
}

// The position, taken from the buddy first when it shows a number in the
// range. `error` tells whether it did not.
int CurrentPos(HWND hwnd, bool* error = nullptr) {
    int value = 0;
    bool bad = false;
    if ((Style(hwnd) & UDS_SETBUDDYINT) && Buddy(hwnd)) {
        if (ReadBuddy(hwnd, &value) && value >= Low(hwnd) && value <= High(hwnd))
            Put(hwnd, kPosOffset, value);
        else
            bad = true;
    }
    if (error)
        *error = bad;
    return int(Get(hwnd, kPosOffset));
}

// [SECTION] The buddy

LRESULT BuddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The up-down that subclassed a buddy: a sibling whose buddy it is.
HWND UpDownOf(HWND buddy) {
    const HWND parent = GetParent(buddy);
    for (HWND h = parent ? GetWindow(parent, GW_CHILD) : nullptr; h;
         h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[32]{};
        GetClassNameA(h, cls, int(sizeof cls));
        if (std::strcmp(cls, UPDOWN_CLASS) == 0 &&
            reinterpret_cast<HWND>(Get(h, kBuddyOffset)) == buddy && Get(h, kBuddyProcOffset))
            return h;
    }
    return nullptr;
}

void Unhook(HWND hwnd) {
    const HWND buddy = Buddy(hwnd);
    const auto own = reinterpret_cast<WNDPROC>(Get(hwnd, kBuddyProcOffset));
    if (buddy && own &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(buddy, GWLP_WNDPROC)) == &BuddyProc)
        SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    // A procedure set on the buddy after ours keeps calling BuddyProc,
    // which then finds no up-down and passes on to the class's procedure.
    Put(hwnd, kBuddyProcOffset, 0);
}

void Align(HWND hwnd, HWND buddy) {
    const DWORD style = Style(hwnd);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || GetParent(buddy) != GetParent(hwnd))
        return;
    RECT own;
    RECT rc;
    GetWindowRect(hwnd, &own);
    GetWindowRect(buddy, &rc);
    MapWindowPoints(nullptr, GetParent(buddy), reinterpret_cast<POINT*>(&rc), 2);
    const LONG width = own.right - own.left;
    const LONG height = rc.bottom - rc.top;
    if (style & UDS_ALIGNRIGHT) {
        MoveWindow(buddy, rc.left, rc.top, rc.right - rc.left - width, height, TRUE);
        MoveWindow(hwnd, rc.right - width, rc.top, width, height, TRUE);
    } else {
        MoveWindow(buddy, rc.left + width, rc.top, rc.right - rc.left - width, height, TRUE);
        MoveWindow(hwnd, rc.left, rc.top, width, height, TRUE);
    }
}

HWND SetBuddy(HWND hwnd, HWND buddy) {
    const HWND previous = Buddy(hwnd);
    Unhook(hwnd);
    Put(hwnd, kBuddyOffset, reinterpret_cast<LONG_PTR>(IsWindow(buddy) ? buddy : nullptr));
    if (!IsWindow(buddy))
        return previous;
    if (Style(hwnd) & UDS_ARROWKEYS) {
        Put(hwnd, kBuddyProcOffset, GetWindowLongPtrA(buddy, GWLP_WNDPROC));
        SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BuddyProc));
    }
    Align(hwnd, buddy);
    ShowInBuddy(hwnd);
    return previous;
}

// [SECTION] Stepping

void Report(HWND hwnd, WORD code) {
    const HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    const UINT msg = (Style(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageA(parent, msg, MAKEWPARAM(code, WORD(SHORT(Get(hwnd, kPosOffset)))),
                 reinterpret_cast<LPARAM>(hwnd));
}

// One step toward the upper end (`up`) or the lower one.
void Step(HWND hwnd, bool up) {
    const int pos = CurrentPos(hwnd);
    const int toward = Upper(hwnd) >= Lower(hwnd) ? 1 : -1;
    int next = pos + (up ? toward : -toward);
    if (next > High(hwnd) || next < Low(hwnd)) {
        if (!(Style(hwnd) & UDS_WRAP))
            next = std::clamp(next, Low(hwnd), High(hwnd));
        else
            next = next > High(hwnd) ? Low(hwnd) : High(hwnd);
    }
    if (next == pos)
        return;
    if (const HWND parent = GetParent(hwnd)) {
        NMUPDOWN nm;
        nm.hdr.hwndFrom = hwnd;
        nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID(hwnd));
        nm.hdr.code = UDN_DELTAPOS;
        nm.iPos = pos;
        nm.iDelta = next - pos;
        if (SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)))
            return; // Refused.
        if (!IsWindow(hwnd))
            return;
    }
    Put(hwnd, kPosOffset, next);
    ShowInBuddy(hwnd);
    if (IsWindow(hwnd))
        Report(hwnd, SB_THUMBPOSITION);
}

// [SECTION] Painting and input

bool Horizontal(HWND hwnd) {
    return (Style(hwnd) & UDS_HORZ) != 0;
}

// The up (or right) arrow's half, and the other one.
RECT Half(HWND hwnd, bool up) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (Horizontal(hwnd)) {
        const LONG middle = (rc.left + rc.right) / 2;
        return up ? RECT{middle, rc.top, rc.right, rc.bottom}
                  : RECT{rc.left, rc.top, middle, rc.bottom};
    }
    const LONG middle = (rc.top + rc.bottom) / 2;
    return up ? RECT{rc.left, rc.top, rc.right, middle}
              : RECT{rc.left, middle, rc.right, rc.bottom};
}

void Paint(HWND hwnd, HDC hdc) {
    const LONG_PTR pressed = Get(hwnd, kPressedOffset);
    const UINT inactive = IsWindowEnabled(hwnd) ? 0 : DFCS_INACTIVE;
    RECT up = Half(hwnd, true);
    RECT down = Half(hwnd, false);
    DrawFrameControl(hdc, &up, DFC_SCROLL,
                     (Horizontal(hwnd) ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP) | inactive |
                         (pressed == kUp ? DFCS_PUSHED : 0));
    DrawFrameControl(hdc, &down, DFC_SCROLL,
                     (Horizontal(hwnd) ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN) | inactive |
                         (pressed == kDown ? DFCS_PUSHED : 0));
}

void Release(HWND hwnd) {
    if (Get(hwnd, kPressedOffset) == kNone)
        return;
    Put(hwnd, kPressedOffset, kNone);
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    InvalidateRect(hwnd, nullptr, FALSE);
    Report(hwnd, SB_ENDSCROLL);
}

void ButtonDown(HWND hwnd, LPARAM lParam) {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const RECT up = Half(hwnd, true);
    const bool isUp = PtInRect(&up, pt) != FALSE;
    Put(hwnd, kPressedOffset, isUp ? kUp : kDown);
    SetCapture(hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
    Step(hwnd, isUp);
    if (IsWindow(hwnd) && Get(hwnd, kPressedOffset) != kNone)
        SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
}

void Repeat(HWND hwnd) {
    const LONG_PTR pressed = Get(hwnd, kPressedOffset);
    if (pressed == kNone) {
        KillTimer(hwnd, kRepeatTimer);
        return;
    }
    SetTimer(hwnd, kRepeatTimer, kRepeatPeriod, nullptr);
    // Only while the cursor stays on the arrow held.
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    const RECT half = Half(hwnd, pressed == kUp);
    if (PtInRect(&half, pt))
        Step(hwnd, pressed == kUp);
}

LRESULT BuddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND updown = UpDownOf(hwnd);
    WNDPROC own = updown ? reinterpret_cast<WNDPROC>(Get(updown, kBuddyProcOffset)) : nullptr;
    if (!own) {
        char cls[64]{};
        GetClassNameA(hwnd, cls, int(sizeof cls));
        WNDCLASSA wc;
        own = GetClassInfoA(nullptr, cls, &wc) ? wc.lpfnWndProc : &DefWindowProcA;
    }
    if (updown && IsWindowEnabled(updown)) {
        if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
            Step(updown, wParam == VK_UP);
            return 0;
        }
        if (msg == WM_KEYUP && (wParam == VK_UP || wParam == VK_DOWN)) {
            Report(updown, SB_ENDSCROLL);
            return 0;
        }
        if (msg == WM_GETDLGCODE)
            return CallWindowProcA(own, hwnd, msg, wParam, lParam) | DLGC_WANTARROWS;
    }
    return CallWindowProcA(own, hwnd, msg, wParam, lParam);
}

// [SECTION] The window procedure

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        Put(hwnd, kLowerOffset, 100);
        Put(hwnd, kUpperOffset, 0);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CREATE:
        if (Style(hwnd) & UDS_AUTOBUDDY)
            SetBuddy(hwnd, GetWindow(hwnd, GW_HWNDNEXT));
        return 0;
    case WM_DESTROY:
        Unhook(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { Paint(hwnd, hdc); });
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(hwnd, lParam);
        return 0;
    case WM_LBUTTONUP:
        Release(hwnd);
        return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        Release(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer)
            Repeat(hwnd);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case UDM_SETRANGE:
        Put(hwnd, kUpperOffset, SHORT(LOWORD(std::uintptr_t(lParam))));
        Put(hwnd, kLowerOffset, SHORT(HIWORD(std::uintptr_t(lParam))));
        return 0;
    case UDM_GETRANGE:
        return MAKELRESULT(WORD(Upper(hwnd)), WORD(Lower(hwnd)));
    case UDM_SETRANGE32:
        Put(hwnd, kLowerOffset, int(LONG_PTR(wParam)));
        Put(hwnd, kUpperOffset, int(lParam));
        return 0;
    case UDM_GETRANGE32:
        if (auto* lower = reinterpret_cast<int*>(wParam))
            *lower = Lower(hwnd);
        if (auto* upper = reinterpret_cast<int*>(lParam))
            *upper = Upper(hwnd);
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        const int previous = CurrentPos(hwnd);
        const int value = msg == UDM_SETPOS ? SHORT(LOWORD(std::uintptr_t(lParam))) : int(lParam);
        Put(hwnd, kPosOffset, std::clamp(value, Low(hwnd), High(hwnd)));
        ShowInBuddy(hwnd);
        return msg == UDM_SETPOS ? LRESULT(SHORT(previous)) : LRESULT(previous);
    }
    case UDM_GETPOS: {
        bool error = false;
        const int pos = CurrentPos(hwnd, &error);
        return MAKELRESULT(WORD(SHORT(pos)), error ? 1 : 0);
    }
    case UDM_GETPOS32: {
        bool error = false;
        const int pos = CurrentPos(hwnd, &error);
        if (auto* out = reinterpret_cast<BOOL*>(lParam))
            *out = error ? TRUE : FALSE;
        return pos;
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(hwnd, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(Buddy(hwnd));
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace kw::user::detail {

void RegisterUpDownClass() {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &UpDownProc;
    wc.cbWndExtra = kExtraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = UPDOWN_CLASS;
    RegisterClassA(&wc);
}

} // namespace kw::user::detail
