#include "platform/backends/x11/X11EventSource.h"

#include "platform/backends/x11/X11Keyboard.h"
#include "platform/user/User.h"

#include <X11/XKBlib.h>

#include <poll.h>

namespace kw::x11 {

namespace {

using kw::user::MouseButton;

constexpr unsigned kPointerMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

bool IsModifierVk(BYTE vk) {
    switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return true;
    default:
        return false;
    }
}

bool IsMouseVk(int vk) {
    return vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON;
}

void MoveTo(int xRoot, int yRoot) {
    kw::user::InjectMouseMove(POINT{xRoot, yRoot});
}

} // namespace

X11EventSource::X11EventSource(X11Display& display, X11Presenter& presenter)
    : m_display(display), m_presenter(presenter) {
    // A held key then repeats as presses alone, which the window manager
    // reports as repeats, instead of release-press pairs.
    XkbSetDetectableAutoRepeat(display.Get(), True, nullptr);
}

X11EventSource::~X11EventSource() {
    if (m_grabbed != None)
        XUngrabPointer(m_display.Get(), CurrentTime);
}

void X11EventSource::PollEvents(DWORD timeoutMs) {
    m_presenter.Flush();
    SyncPointerGrab();
    if (HandleQueued() || timeoutMs == 0) {
        m_presenter.Flush();
        return;
    }
    pollfd fd{ConnectionNumber(m_display.Get()), POLLIN, 0};
    // A signal ends the wait early; the caller's loop comes back.
    poll(&fd, 1,
         timeoutMs == kw::user::INFINITE ? -1 : int(std::min<DWORD>(timeoutMs, 0x7FFFFFFF)));
    // XPending reads what arrived, and calls the connection-lost handler
    // when the server has gone.
    HandleQueued();
    m_presenter.Flush();
}

bool X11EventSource::HandleQueued() {
    bool any = false;
    while (XPending(m_display.Get()) > 0) {
        XEvent event;
        XNextEvent(m_display.Get(), &event);
        Handle(event);
        any = true;
    }
    return any;
}

void X11EventSource::Handle(XEvent& event) {
    switch (event.type) {
    case Expose: {
        const XExposeEvent& e = event.xexpose;
        m_presenter.Exposed(e.window, RECT{e.x, e.y, e.x + e.width, e.y + e.height});
        break;
    }
    case ConfigureNotify:
        m_presenter.Configured(event.xconfigure.window, event.xconfigure.width,
                               event.xconfigure.height);
        break;
    case ReparentNotify: {
        // A window manager framed the window: its screen place changed.
        XWindowAttributes a{};
        if (XGetWindowAttributes(m_display.Get(), event.xreparent.window, &a))
            m_presenter.Configured(event.xreparent.window, a.width, a.height);
        break;
    }
    case DestroyNotify:
        if (HWND hwnd = m_presenter.Vanished(event.xdestroywindow.window))
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case MotionNotify:
        SyncModifiers(event.xmotion.state);
        MoveTo(event.xmotion.x_root, event.xmotion.y_root);
        break;
    case EnterNotify:
    case LeaveNotify:
        if (event.xcrossing.mode == NotifyNormal)
            MoveTo(event.xcrossing.x_root, event.xcrossing.y_root);
        break;
    case ButtonPress:
    case ButtonRelease:
        OnButton(event.xbutton, event.type == ButtonPress);
        break;
    case KeyPress:
    case KeyRelease:
        OnKey(event.xkey, event.type == KeyPress);
        break;
    case FocusIn:
        OnFocusIn(event.xfocus);
        break;
    case FocusOut:
        OnFocusOut(event.xfocus);
        break;
    case ClientMessage:
        OnClientMessage(event.xclient);
        break;
    case MappingNotify:
        if (event.xmapping.request != MappingPointer)
            XRefreshKeyboardMapping(&event.xmapping);
        break;
    default:
        break;
    }
}

void X11EventSource::OnButton(const XButtonEvent& event, bool down) {
    // Inside another program's window no window manager hands us the
    // keyboard: a click takes it, as a click into a text field of that
    // program would.
    if (down && m_presenter.IsEmbedded(event.window))
        XSetInputFocus(m_display.Get(), event.window, RevertToParent, event.time);
    SyncModifiers(event.state);
    MoveTo(event.x_root, event.y_root);
    switch (event.button) {
    case Button1:
        kw::user::InjectMouseButton(MouseButton::Left, down);
        break;
    case Button2:
        kw::user::InjectMouseButton(MouseButton::Middle, down);
        break;
    case Button3:
        kw::user::InjectMouseButton(MouseButton::Right, down);
        break;
    case Button4: // The wheel turned away from the user: one notch a press.
    case Button5:
        if (down)
            kw::user::InjectMouseWheel(event.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA);
        break;
    default:
        break; // Horizontal wheels and extra buttons have no message here.
    }
}

void X11EventSource::OnKey(XKeyEvent& event, bool down) {
    char text[32];
    KeySym typed = NoSymbol;
    XLookupString(&event, text, sizeof text, &typed, nullptr);
    const KeySym base = XLookupKeysym(&event, 0);
    const BYTE vk = VirtualKeyForKey(base, typed);
    // The state is that before this event, so a modifier's own press or
    // release must not be undone by it.
    if (!IsModifierVk(vk))
        SyncModifiers(event.state);
    if (vk)
        kw::user::InjectKey(vk, down);
    if (!down)
        return;
    const bool control = (event.state & ControlMask) && !(event.state & Mod1Mask);
    if (const auto ch = CharacterForKey(typed, control))
        kw::user::InjectChar(*ch);
}

// Keys pressed or released while another program had the keyboard: the
// state an event carries is the truth.
void X11EventSource::SyncModifiers(unsigned int state) {
    const struct {
        unsigned mask;
        BYTE vk, left, right;
    } modifiers[] = {{ShiftMask, VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
                     {ControlMask, VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
                     {Mod1Mask, VK_MENU, VK_LMENU, VK_RMENU}};
    for (const auto& m : modifiers) {
        const bool held = (state & m.mask) != 0;
        if (held == (GetAsyncKeyState(m.vk) < 0))
            continue;
        if (held) {
            kw::user::InjectKey(m.vk, true);
            continue;
        }
        // Released elsewhere: whichever side we saw go down goes up.
        for (BYTE vk : {m.left, m.right})
            if (GetAsyncKeyState(vk) < 0)
                kw::user::InjectKey(vk, false);
        if (GetAsyncKeyState(m.vk) < 0)
            kw::user::InjectKey(m.vk, false);
    }
}

void X11EventSource::OnFocusIn(const XFocusChangeEvent& event) {
    // Focus moving into a keyboard grab (a window manager's switcher) and
    // back is no change of the active window.
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab)
        return;
    const HWND hwnd = m_presenter.HwndOf(event.window);
    if (!hwnd || !IsWindowEnabled(hwnd) || GetActiveWindow() == hwnd)
        return;
    SetActiveWindow(hwnd);
    // As a frame window does on activation: the focus goes back where it
    // was, or to the window itself.
    const auto it = m_lastFocus.find(hwnd);
    const HWND last = it == m_lastFocus.end() ? nullptr : it->second;
    m_lastFocus.erase(hwnd);
    if (last && IsWindow(last) && GetAncestor(last, GA_ROOT) == hwnd)
        SetFocus(last);
    else if (IsWindow(hwnd) && !GetFocus())
        SetFocus(hwnd);
}

void X11EventSource::OnFocusOut(const XFocusChangeEvent& event) {
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab || event.detail == NotifyInferior)
        return;
    const HWND hwnd = m_presenter.HwndOf(event.window);
    if (!hwnd || GetActiveWindow() != hwnd)
        return;
    // Keys still held belong to whoever has the keyboard now. From the top,
    // so that releasing a left or right modifier releases the generic one
    // before the loop reaches it.
    for (int vk = 255; vk > 0; --vk)
        if (!IsMouseVk(vk) && GetAsyncKeyState(vk) < 0)
            kw::user::InjectKey(BYTE(vk), false);
    if (const HWND focus = GetFocus())
        m_lastFocus[hwnd] = focus;
    SetFocus(nullptr);
    SetActiveWindow(nullptr);
}

void X11EventSource::OnClientMessage(const XClientMessageEvent& event) {
    if (event.message_type != m_display.wmProtocols || event.format != 32 ||
        Atom(event.data.l[0]) != m_display.wmDeleteWindow)
        return;
    // The close box: WM_CLOSE, unless a modal window has disabled it.
    const HWND hwnd = m_presenter.HwndOf(event.window);
    if (hwnd && IsWindowEnabled(hwnd))
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

void X11EventSource::SyncPointerGrab() {
    const HWND capture = GetCapture();
    const Window wanted = capture ? m_presenter.WindowOf(GetAncestor(capture, GA_ROOT)) : None;
    if (wanted == m_grabbed)
        return;
    if (m_grabbed != None) {
        XUngrabPointer(m_display.Get(), CurrentTime);
        m_grabbed = None;
    }
    if (capture != m_grabRefused)
        m_grabRefused = nullptr;
    if (wanted == None || capture == m_grabRefused)
        return;
    // Owner events: over our own windows the events still name the window
    // under the pointer; the root coordinates are what we use anyway.
    if (XGrabPointer(m_display.Get(), wanted, True, kPointerMask, GrabModeAsync, GrabModeAsync,
                     None, None, CurrentTime) == GrabSuccess)
        m_grabbed = wanted;
    else
        m_grabRefused = capture; // Not viewable, or another client's grab.
}

} // namespace kw::x11
