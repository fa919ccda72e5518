#include "platform/backends/x11/X11Session.h"

#include "platform/backends/x11/MessageBoxWindow.h"
#include "platform/user/User.h"

#include "platform/backends/x11/X11Cursors.h"
#include "platform/backends/x11/X11Display.h"
#include "platform/backends/x11/X11EventSource.h"
#include "platform/backends/x11/X11Presenter.h"

namespace kw::x11 {

// Destroyed in reverse: the event source and presenter before the cursors
// and the connection they use.
struct X11Session::Parts {
    explicit Parts(const X11Options& options) : display(options.display, options.lostExitStatus) {}
    kw::user::MonotonicClock clock;
    X11Display display;
    std::unique_ptr<X11Cursors> cursors;
    std::unique_ptr<X11Presenter> presenter;
    std::unique_ptr<X11EventSource> events;
};

X11Session::X11Session(const X11Options& options) : m_parts(std::make_unique<Parts>(options)) {
    Parts& p = *m_parts;
    if (!p.display.IsOpen())
        return;
    if (!options.sharedMemory)
        p.display.DisableShm();
    p.cursors = std::make_unique<X11Cursors>(p.display);
    p.presenter = std::make_unique<X11Presenter>(p.display, *p.cursors);
    p.events = std::make_unique<X11EventSource>(p.display, *p.presenter);
    m_previous =
        kw::user::InstallBackend(kw::user::Backend{&p.clock, p.presenter.get(), p.events.get()});
}

X11Session::~X11Session() {
    if (!IsOpen())
        return;
    kw::user::InstallBackend(m_previous);
    m_parts->events.reset();
    m_parts->presenter.reset();
    m_parts->cursors.reset();
}

bool X11Session::IsOpen() const {
    return m_parts->display.IsOpen();
}

const std::string& X11Session::DisplayName() const {
    return m_parts->display.Name();
}

bool X11Session::SetEmbedParent(unsigned long window) {
    if (!IsOpen())
        return false;
    // A window id that names nothing would fail every later request on it.
    XWindowAttributes attributes{};
    Status found = 0;
    X11Display& display = m_parts->display;
    if (!display.Succeeds([&] { found = XGetWindowAttributes(display.Get(), Window(window), &attributes); }) ||
        found == 0)
        return false;
    m_parts->presenter->SetEmbedParent(Window(window));
    return true;
}

void X11Session::Show(HWND topLevel) {
    if (!IsOpen())
        return;
    m_parts->presenter->TopLevelChanged(topLevel);
    InvalidateRect(topLevel, nullptr, TRUE);
}

unsigned long X11Session::WindowOf(HWND topLevel) const {
    return IsOpen() ? m_parts->presenter->WindowOf(topLevel) : 0;
}

void X11Session::Flush() {
    if (IsOpen())
        m_parts->presenter->Flush();
}

kw::user::ModalUiHandler X11Session::ModalUi() {
    kw::user::ModalUiHandler handler;
    handler.messageBox = &ShowMessageBoxWindow;
    Display* display = IsOpen() ? m_parts->display.Get() : nullptr;
    handler.messageBeep = [display](UINT) {
        if (display) {
            XBell(display, 0);
            XFlush(display);
        }
    };
    handler.modalLoop = &kw::user::RunMessageLoopUntilEnded;
    return handler;
}

kw::user::Clock& X11Session::Clock() {
    return m_parts->clock;
}

} // namespace kw::x11
