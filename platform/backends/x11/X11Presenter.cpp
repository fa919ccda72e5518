#include "platform/backends/x11/X11Presenter.h"

#include "platform/base/Windows1252.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace kw::x11 {

namespace {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | FocusChangeMask;

std::string HwndText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(std::size_t(std::max(length, 0)) + 1, '\0');
    text.resize(std::size_t(std::max(GetWindowTextA(hwnd, text.data(), length + 1), 0)));
    return text;
}

// WM_NAME is Latin-1, which Windows-1252 matches outside 0x80..0x9F.
std::string Latin1Title(const std::string& ansi) {
    std::string latin1 = ansi;
    for (char& c : latin1)
        if (static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) <= 0x9F)
            c = '?';
    return latin1;
}

// X windows cannot be empty.
unsigned Extent(LONG from, LONG to) {
    return unsigned(std::max<LONG>(to - from, 1));
}

} // namespace

X11Presenter::X11Presenter(X11Display& display, X11Cursors& cursors)
    : m_display(display), m_cursors(cursors) {
    m_gc = XCreateGC(display.Get(), display.Root(), 0, nullptr);
}

X11Presenter::~X11Presenter() {
    for (auto& t : m_windows) {
        t->image.reset();
        if (!t->gone)
            XDestroyWindow(m_display.Get(), t->window);
    }
    XFreeGC(m_display.Get(), m_gc);
    XSync(m_display.Get(), False);
}

SIZE X11Presenter::ScreenSize() const {
    return SIZE{DisplayWidth(m_display.Get(), m_display.Screen()),
                DisplayHeight(m_display.Get(), m_display.Screen())};
}

X11Presenter::TopLevel* X11Presenter::Find(HWND hwnd) {
    for (auto& t : m_windows)
        if (t->hwnd == hwnd)
            return t.get();
    return nullptr;
}

X11Presenter::TopLevel* X11Presenter::Find(Window window) {
    for (auto& t : m_windows)
        if (t->window == window)
            return t.get();
    return nullptr;
}

const X11Presenter::TopLevel* X11Presenter::Find(Window window) const {
    for (const auto& t : m_windows)
        if (t->window == window)
            return t.get();
    return nullptr;
}

HWND X11Presenter::HwndOf(Window window) const {
    const TopLevel* t = Find(window);
    return t && !t->gone ? t->hwnd : nullptr;
}

bool X11Presenter::IsEmbedded(Window window) const {
    const TopLevel* t = Find(window);
    return t && !t->gone && t->embedded;
}

Window X11Presenter::WindowOf(HWND hwnd) const {
    for (const auto& t : m_windows)
        if (t->hwnd == hwnd && !t->gone)
            return t->window;
    return None;
}

POINT X11Presenter::RootOrigin(Window window) const {
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(m_display.Get(), window, m_display.Root(), 0, 0, &x, &y, &child);
    return POINT{x, y};
}

X11Presenter::TopLevel& X11Presenter::Create(HWND hwnd) {
    Display* d = m_display.Get();
    const auto style = DWORD(GetWindowLongA(hwnd, GWL_STYLE));
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    // A captionless window with an owner is a drop-down or a tip: the window
    // manager must leave it alone. Everything else is a window it decorates.
    const bool popup = owner && (style & WS_CAPTION) != WS_CAPTION;
    const bool embedded = !owner && m_embedParent != None;
    RECT rc{};
    GetWindowRect(hwnd, &rc);

    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None; // We paint every pixel ourselves.
    attributes.override_redirect = popup ? True : False;
    attributes.event_mask = kEventMask;
    attributes.cursor = m_cursorSet ? m_cursor : None;
    const Window parent = embedded ? m_embedParent : m_display.Root();
    const int x = embedded ? 0 : rc.left;
    const int y = embedded ? 0 : rc.top;
    const Window window =
        XCreateWindow(d, parent, x, y, Extent(rc.left, rc.right), Extent(rc.top, rc.bottom), 0,
                      CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixmap | CWOverrideRedirect | CWEventMask | CWCursor, &attributes);

    XSetWMProtocols(d, window, &m_display.wmDeleteWindow, 1);
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(d, window, &hints);
    XSizeHints size{};
    size.flags = PPosition | PSize;
    XSetWMNormalHints(d, window, &size);
    XClassHint cls{const_cast<char*>("kestrowidge"), const_cast<char*>("Kestrowidge")};
    XSetClassHint(d, window, &cls);
    if (owner)
        if (Window ownerWindow = WindowOf(GetAncestor(owner, GA_ROOT)); ownerWindow != None)
            XSetTransientForHint(d, window, ownerWindow);

    auto t = std::make_unique<TopLevel>();
    t->hwnd = hwnd;
    t->window = window;
    t->embedded = embedded;
    t->known = embedded ? RECT{} : rc;
    t->image = std::make_unique<X11Image>(m_display);
    m_windows.push_back(std::move(t));
    TopLevel& created = *m_windows.back();
    if (embedded)
        Configured(window, int(Extent(rc.left, rc.right)), int(Extent(rc.top, rc.bottom)));
    return created;
}

void X11Presenter::SyncTitle(TopLevel& t) {
    const std::string title = HwndText(t.hwnd);
    if (title == t.title)
        return;
    t.title = title;
    Display* d = m_display.Get();
    const std::string utf8 = AnsiToUtf8(title);
    XChangeProperty(d, t.window, m_display.netWmName, m_display.utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
    const std::string latin1 = Latin1Title(title);
    XChangeProperty(d, t.window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()), int(latin1.size()));
}

void X11Presenter::SyncGeometry(TopLevel& t, const RECT& rect) {
    if (EqualRect(&rect, &t.known))
        return;
    t.known = rect;
    // The request is in the parent's coordinates: the root's, or those of
    // the window we are embedded in.
    int x = rect.left, y = rect.top;
    if (t.embedded) {
        Window child = None;
        XTranslateCoordinates(m_display.Get(), m_display.Root(), m_embedParent, rect.left, rect.top,
                              &x, &y, &child);
    }
    XMoveResizeWindow(m_display.Get(), t.window, x, y, Extent(rect.left, rect.right),
                      Extent(rect.top, rect.bottom));
}

void X11Presenter::SyncMapping(TopLevel& t, bool visible) {
    if (visible == t.mapped)
        return;
    t.mapped = visible;
    if (visible)
        XMapWindow(m_display.Get(), t.window);
    else
        XUnmapWindow(m_display.Get(), t.window);
}

void X11Presenter::TopLevelChanged(HWND hwnd) {
    if (!IsWindow(hwnd) || GetAncestor(hwnd, GA_ROOT) != hwnd)
        return; // Not (or no longer) a top-level window.
    TopLevel* t = Find(hwnd);
    if (!t)
        t = &Create(hwnd);
    if (t->gone)
        return;
    SyncTitle(*t);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    SyncGeometry(*t, rect);
    SyncMapping(*t, (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0);
}

void X11Presenter::TopLevelDestroyed(HWND hwnd) {
    auto it = std::find_if(m_windows.begin(), m_windows.end(),
                           [hwnd](const auto& t) { return t->hwnd == hwnd; });
    if (it == m_windows.end())
        return;
    (*it)->image.reset();
    if (!(*it)->gone)
        XDestroyWindow(m_display.Get(), (*it)->window);
    m_windows.erase(it);
}

void X11Presenter::Present(HWND hwnd, const RECT& rc) {
    if (TopLevel* t = Find(hwnd))
        UnionRect(&t->dirty, &t->dirty, &rc);
}

void X11Presenter::Exposed(Window window, const RECT& rc) {
    if (TopLevel* t = Find(window))
        UnionRect(&t->dirty, &t->dirty, &rc);
}

void X11Presenter::Configured(Window window, int width, int height) {
    TopLevel* t = Find(window);
    if (!t || t->gone)
        return;
    const POINT origin = RootOrigin(window);
    const RECT actual{origin.x, origin.y, origin.x + width, origin.y + height};
    t->known = actual;
    RECT rect{};
    if (!GetWindowRect(t->hwnd, &rect) || EqualRect(&rect, &actual))
        return;
    // Sends WM_MOVE and WM_SIZE; our TopLevelChanged then finds nothing to
    // request.
    SetWindowPos(t->hwnd, nullptr, actual.left, actual.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND X11Presenter::Vanished(Window window) {
    TopLevel* t = Find(window);
    if (!t || t->gone)
        return nullptr;
    t->gone = true;
    t->mapped = false;
    t->image.reset();
    return t->hwnd;
}

void X11Presenter::CursorChanged(HCURSOR cursor) {
    m_cursorSet = true;
    m_cursor = m_cursors.Get(kw::user::SystemCursorId(cursor));
    for (const auto& t : m_windows)
        if (!t->gone)
            XDefineCursor(m_display.Get(), t->window, m_cursor);
}

void X11Presenter::Flush() {
    bool shared = false;
    for (const auto& t : m_windows) {
        if (t->gone || !t->mapped || IsRectEmpty(&t->dirty))
            continue;
        PixelSurface surface;
        if (kw::user::TopLevelSurface(t->hwnd, &surface))
            t->image->Put(t->window, m_gc, surface, t->dirty);
        shared = shared || t->image->UsesShm();
        t->dirty = RECT{};
    }
    // A shared image may be written again only once the server has read it.
    if (shared)
        XSync(m_display.Get(), False);
    else
        XFlush(m_display.Get());
}

} // namespace kw::x11
