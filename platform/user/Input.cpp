// Input: the key and button state, the events the backend injects and the
// messages they become, mouse capture, keyboard focus and activation,
// hit-testing points.
//
// [SECTION] Key state
// [SECTION] Injected events
// [SECTION] From events to messages
// [SECTION] Capture, focus and activation
// [SECTION] Points
#include "platform/user/Input.h"

#include "platform/user/MessageQueue.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>
#include <cstdlib>

using namespace kw::user::detail;
using kw::user::MouseButton;

namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

// Key messages name the generic modifier keys.
BYTE GenericVk(BYTE vk) {
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return vk;
    }
}

BYTE ButtonVk(MouseButton button) {
    switch (button) {
    case MouseButton::Right:
        return VK_RBUTTON;
    case MouseButton::Middle:
        return VK_MBUTTON;
    default:
        return VK_LBUTTON;
    }
}

void ApplyKey(BYTE* keys, BYTE vk, bool down) {
    auto apply = [&](BYTE key) {
        if (down) {
            if (!(keys[key] & kDown))
                keys[key] ^= kToggled;
            keys[key] |= kDown;
        } else {
            keys[key] &= BYTE(~kDown);
        }
    };
    apply(vk);
    if (GenericVk(vk) != vk)
        apply(GenericVk(vk));
}

void ApplyEvent(BYTE* keys, const InputEvent& ev) {
    if (ev.kind == InputEvent::Kind::Key)
        ApplyKey(keys, ev.vk, ev.down);
    else if (ev.kind == InputEvent::Kind::Button)
        ApplyKey(keys, ButtonVk(ev.button), ev.down);
}

WPARAM MouseKeyFlags(const BYTE* keys) {
    WPARAM flags = 0;
    if (keys[VK_LBUTTON] & kDown)
        flags |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & kDown)
        flags |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & kDown)
        flags |= MK_MBUTTON;
    if (keys[VK_SHIFT] & kDown)
        flags |= MK_SHIFT;
    if (keys[VK_CONTROL] & kDown)
        flags |= MK_CONTROL;
    return flags;
}

SHORT KeyStateOf(const BYTE* keys, int vk) {
    if (vk < 0 || vk > 255)
        return 0;
    SHORT state = 0;
    if (keys[vk] & kDown)
        state = SHORT(0x8000 | state);
    if (keys[vk] & kToggled)
        state = SHORT(state | 1);
    return state;
}

} // namespace

// [SECTION] Key state

SHORT GetKeyState(int vk) {
    return KeyStateOf(Manager().syncKeys, vk);
}

SHORT GetAsyncKeyState(int vk) {
    return KeyStateOf(Manager().asyncKeys, vk);
}

// [SECTION] Injected events

namespace kw::user {

void InjectMouseMove(POINT screen) {
    WindowManager& m = Manager();
    m.cursorPos = screen;
    // Moves waiting in the queue collapse into the latest, as on the platform.
    if (!m.input.empty() && m.input.back().kind == InputEvent::Kind::Move) {
        m.input.back().pt = screen;
        m.input.back().time = GetTickCount();
        return;
    }
    InputEvent ev;
    ev.kind = InputEvent::Kind::Move;
    ev.pt = screen;
    ev.time = GetTickCount();
    m.input.push_back(ev);
}

void InjectMouseButton(MouseButton button, bool down) {
    WindowManager& m = Manager();
    InputEvent ev;
    ev.kind = InputEvent::Kind::Button;
    ev.button = button;
    ev.down = down;
    ev.pt = m.cursorPos;
    ev.time = GetTickCount();
    ApplyEvent(m.asyncKeys, ev);
    m.input.push_back(ev);
}

void InjectMouseWheel(int delta) {
    WindowManager& m = Manager();
    InputEvent ev;
    ev.kind = InputEvent::Kind::Wheel;
    ev.delta = std::clamp(delta, -32768, 32767);
    ev.pt = m.cursorPos;
    ev.time = GetTickCount();
    m.input.push_back(ev);
}

void InjectKey(BYTE vk, bool down) {
    WindowManager& m = Manager();
    InputEvent ev;
    ev.kind = InputEvent::Kind::Key;
    ev.vk = vk;
    ev.down = down;
    ev.repeat = down && (m.asyncKeys[vk] & kDown);
    ev.pt = m.cursorPos;
    ev.time = GetTickCount();
    ApplyEvent(m.asyncKeys, ev);
    m.input.push_back(ev);
}

void InjectChar(BYTE ch) {
    WindowManager& m = Manager();
    InputEvent ev;
    ev.kind = InputEvent::Kind::Char;
    ev.ch = ch;
    ev.pt = m.cursorPos;
    ev.time = GetTickCount();
    m.input.push_back(ev);
}

} // namespace kw::user

// [SECTION] From events to messages

namespace kw::user::detail {

namespace {

UINT ButtonMessage(MouseButton button, bool down, bool doubleClick) {
    const UINT base = button == MouseButton::Left    ? WM_LBUTTONDOWN
                      : button == MouseButton::Right ? WM_RBUTTONDOWN
                                                     : WM_MBUTTONDOWN;
    if (!down)
        return base + 1;
    return doubleClick ? base + 2 : base;
}

bool IsDoubleClick(const WindowManager& m, HWND target, UINT downMessage, const InputEvent& ev) {
    Window* w = FindWindow(target);
    if (!w || !(w->cls->info.style & CS_DBLCLKS))
        return false;
    const auto& last = m.lastClick;
    return last.hwnd == target && last.message == downMessage &&
           ev.time - last.time <= GetDoubleClickTime() &&
           std::abs(ev.pt.x - last.pt.x) < GetSystemMetrics(SM_CXDOUBLECLK) / 2 + 1 &&
           std::abs(ev.pt.y - last.pt.y) < GetSystemMetrics(SM_CYDOUBLECLK) / 2 + 1;
}

// Where keyboard input goes: the focus window, else the active window (as
// system keys).
HWND KeyboardTarget(const WindowManager& m, bool* system) {
    *system = false;
    if (m.focus && FindWindow(m.focus))
        return m.focus;
    if (m.active && FindWindow(m.active)) {
        *system = true;
        return m.active;
    }
    return nullptr;
}

struct Translated {
    MSG msg{};
    bool mouse{false}; // Gets WM_NCHITTEST and WM_SETCURSOR first.
};

// The message an event becomes for the current windows; false when no window
// takes it.
bool Translate(WindowManager& m, const InputEvent& ev, Translated* out) {
    BYTE keys[256];
    std::copy(std::begin(m.syncKeys), std::end(m.syncKeys), keys);
    ApplyEvent(keys, ev);
    MSG& msg = out->msg;
    msg.time = ev.time;
    msg.pt = ev.pt;
    const bool alt = (keys[VK_MENU] & kDown) && !(keys[VK_CONTROL] & kDown);
    switch (ev.kind) {
    case InputEvent::Kind::Move:
    case InputEvent::Kind::Button: {
        const bool captured = m.capture && FindWindow(m.capture);
        const HWND target = captured ? m.capture : WindowFromPoint(ev.pt);
        if (!target)
            return false;
        msg.hwnd = target;
        if (ev.kind == InputEvent::Kind::Move) {
            msg.message = WM_MOUSEMOVE;
        } else {
            const UINT down = ButtonMessage(ev.button, true, false);
            msg.message =
                ButtonMessage(ev.button, ev.down, ev.down && IsDoubleClick(m, target, down, ev));
        }
        POINT client = ev.pt;
        ScreenToClient(target, &client);
        msg.wParam = MouseKeyFlags(keys);
        msg.lParam = MAKEPOINTLPARAM(client.x, client.y);
        out->mouse = !captured;
        return true;
    }
    case InputEvent::Kind::Wheel: {
        HWND target = m.focus && FindWindow(m.focus) ? m.focus : m.active;
        if (!target || !FindWindow(target))
            return false;
        msg.hwnd = target;
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(WORD(MouseKeyFlags(keys)), WORD(SHORT(ev.delta)));
        msg.lParam = MAKEPOINTLPARAM(ev.pt.x, ev.pt.y);
        return true;
    }
    case InputEvent::Kind::Key: {
        bool system = false;
        const HWND target = KeyboardTarget(m, &system);
        if (!target)
            return false;
        const BYTE vk = GenericVk(ev.vk);
        // Alt itself: down while held, up as the key that was held.
        const bool altKey = vk == VK_MENU && !(keys[VK_CONTROL] & kDown);
        system = system || alt || altKey || vk == VK_F10;
        msg.hwnd = target;
        msg.message =
            ev.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        msg.wParam = vk;
        LPARAM lParam = 1;
        if (alt || (altKey && ev.down))
            lParam |= LPARAM(1) << 29;
        if (ev.repeat || !ev.down)
            lParam |= LPARAM(1) << 30;
        if (!ev.down)
            lParam |= LPARAM(1) << 31;
        msg.lParam = LPARAM(DWORD(lParam));
        return true;
    }
    case InputEvent::Kind::Char: {
        bool system = false;
        const HWND target = KeyboardTarget(m, &system);
        if (!target)
            return false;
        msg.hwnd = target;
        msg.message = (alt || system) ? WM_SYSCHAR : WM_CHAR;
        msg.wParam = ev.ch;
        msg.lParam = alt ? LPARAM(1 | (1 << 29)) : 1;
        return true;
    }
    }
    return false;
}

} // namespace

bool TakeInputMessage(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* msg) {
    WindowManager& m = Manager();
    while (!m.input.empty()) {
        const InputEvent ev = m.input.front();
        Translated translated;
        if (!Translate(m, ev, &translated)) {
            // Nobody takes it; it still changes the key state.
            m.input.pop_front();
            ApplyEvent(m.syncKeys, ev);
            continue;
        }
        const MSG& found = translated.msg;
        const bool windowOk = !filter || found.hwnd == filter || IsChild(filter, found.hwnd);
        const bool rangeOk = (filterMin == 0 && filterMax == 0) ||
                             (found.message >= filterMin && found.message <= filterMax);
        if (!windowOk || !rangeOk)
            return false;
        if (!remove) {
            *msg = found;
            return true;
        }
        m.input.pop_front();
        ApplyEvent(m.syncKeys, ev);
        const UINT message = found.message;
        if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
            m.lastClick.hwnd = found.hwnd;
            m.lastClick.message = message;
            m.lastClick.time = found.time;
            m.lastClick.pt = found.pt;
        } else if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                   message == WM_MBUTTONDBLCLK) {
            m.lastClick = {};
        }
        if (translated.mouse) {
            const LRESULT hit =
                Send(found.hwnd, WM_NCHITTEST, 0, MAKEPOINTLPARAM(found.pt.x, found.pt.y));
            Send(found.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(found.hwnd),
                 MAKELPARAM(WORD(SHORT(hit)), WORD(message)));
            if (!FindWindow(found.hwnd))
                continue;
        }
        *msg = found;
        return true;
    }
    return false;
}

void ForgetWindowInInput(HWND hwnd) {
    WindowManager& m = Manager();
    if (m.lastClick.hwnd == hwnd)
        m.lastClick = {};
}

void ResetInputState() {
    WindowManager& m = Manager();
    m.input.clear();
    std::fill(std::begin(m.asyncKeys), std::end(m.asyncKeys), BYTE(0));
    std::fill(std::begin(m.syncKeys), std::end(m.syncKeys), BYTE(0));
    m.cursorPos = POINT{};
    m.capture = nullptr;
    m.focus = nullptr;
    m.active = nullptr;
    m.cursor = nullptr;
    m.lastClick = {};
}

} // namespace kw::user::detail

// [SECTION] Capture, focus and activation

HWND SetCapture(HWND hwnd) {
    WindowManager& m = Manager();
    Window* w = FindWindow(hwnd);
    if (!w || w->destroying)
        return nullptr;
    const HWND previous = m.capture;
    m.capture = hwnd;
    if (previous && previous != hwnd)
        Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL ReleaseCapture() {
    WindowManager& m = Manager();
    const HWND previous = m.capture;
    m.capture = nullptr;
    if (previous)
        Send(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    WindowManager& m = Manager();
    return FindWindow(m.capture) ? m.capture : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
    WindowManager& m = Manager();
    Window* w = FindWindow(hwnd);
    if (hwnd && (!w || w->parent || w->destroying))
        return nullptr;
    const HWND previous = FindWindow(m.active) ? m.active : nullptr;
    if (previous == hwnd)
        return previous;
    m.active = hwnd;
    if (previous)
        Send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
    if (hwnd && FindWindow(hwnd) && m.active == hwnd)
        Send(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(previous));
    return previous;
}

HWND GetActiveWindow() {
    WindowManager& m = Manager();
    return FindWindow(m.active) ? m.active : nullptr;
}

HWND SetFocus(HWND hwnd) {
    WindowManager& m = Manager();
    if (hwnd) {
        Window* w = FindWindow(hwnd);
        if (!w || w->destroying)
            return nullptr;
        const HWND top = TopLevelOf(hwnd);
        if (top != GetActiveWindow()) {
            SetActiveWindow(top);
            if (!FindWindow(hwnd))
                return nullptr;
        }
    }
    const HWND previous = FindWindow(m.focus) ? m.focus : nullptr;
    if (previous == hwnd)
        return previous;
    m.focus = hwnd;
    if (previous) {
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        // The old window's handler moved the focus elsewhere: that stands.
        if (m.focus != hwnd)
            return previous;
    }
    if (hwnd && FindWindow(hwnd))
        Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    WindowManager& m = Manager();
    return FindWindow(m.focus) ? m.focus : nullptr;
}

// [SECTION] Points

namespace {

bool ContainsScreenPoint(HWND hwnd, POINT pt) {
    RECT rc;
    return GetWindowRect(hwnd, &rc) && PtInRect(&rc, pt);
}

HWND DeepestAt(HWND hwnd, POINT pt) {
    Window* w = FindWindow(hwnd);
    const POINT origin = ClientOriginOnScreen(hwnd);
    RECT client = ClientRectInWindow(*w);
    OffsetRect(&client, origin.x - client.left, origin.y - client.top);
    if (!PtInRect(&client, pt))
        return hwnd;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        Window* c = FindWindow(*it);
        if (!c || !(c->style & WS_VISIBLE) || !ContainsScreenPoint(*it, pt))
            continue;
        if (c->style & WS_DISABLED)
            return hwnd;
        return DeepestAt(*it, pt);
    }
    return hwnd;
}

} // namespace

HWND WindowFromPoint(POINT pt) {
    WindowManager& m = Manager();
    for (auto it = m.topLevels.rbegin(); it != m.topLevels.rend(); ++it) {
        Window* w = FindWindow(*it);
        if (!w || !(w->style & WS_VISIBLE) || !PtInRect(&w->rect, pt))
            continue;
        if (w->style & WS_DISABLED)
            return nullptr;
        return DeepestAt(*it, pt);
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
    Window* p = FindWindow(parent);
    RECT client;
    if (!p || !GetClientRect(parent, &client) || !PtInRect(&client, pt))
        return nullptr;
    for (auto it = p->children.rbegin(); it != p->children.rend(); ++it)
        if (Window* c = FindWindow(*it); c && PtInRect(&c->rect, pt))
            return *it;
    return parent;
}

BOOL GetCursorPos(POINT* pt) {
    if (!pt)
        return FALSE;
    *pt = Manager().cursorPos;
    return TRUE;
}
