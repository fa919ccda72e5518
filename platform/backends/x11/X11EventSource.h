#pragma once
// Reads the X server's events and feeds them to the window manager: input
// through the Inject calls, geometry and exposure through the presenter,
// focus as activation, the window manager's close request as WM_CLOSE. It
// also keeps the pointer grabbed while a window has the mouse capture, so
// that the capturing window hears of the mouse outside our windows.
#include "platform/user/Backend.h"

#include "platform/backends/x11/X11Display.h"
#include "platform/backends/x11/X11Presenter.h"

#include <map>

namespace kw::x11 {

class X11EventSource : public kw::user::EventSource {
public:
    X11EventSource(X11Display& display, X11Presenter& presenter);
    ~X11EventSource() override;
    X11EventSource(const X11EventSource&) = delete;
    X11EventSource& operator=(const X11EventSource&) = delete;

    // Sends pending pixels, handles what the server has sent and, when that
    // was nothing, waits on the connection for up to `timeoutMs`.
    void PollEvents(DWORD timeoutMs) override;

private:
    bool HandleQueued();
    void Handle(XEvent& event);
    void OnButton(const XButtonEvent& event, bool down);
    void OnKey(XKeyEvent& event, bool down);
    void OnFocusIn(const XFocusChangeEvent& event);
    void OnFocusOut(const XFocusChangeEvent& event);
    void OnClientMessage(const XClientMessageEvent& event);
    void SyncModifiers(unsigned int state);
    void SyncPointerGrab();

    X11Display& m_display;
    X11Presenter& m_presenter;
    Window m_grabbed{None};
    HWND m_grabRefused{nullptr}; // Capture window whose grab the server refused.
    // The focus window each top-level had when it was deactivated.
    std::map<HWND, HWND> m_lastFocus;
};

} // namespace kw::x11
