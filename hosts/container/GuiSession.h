#pragma once
// The container on a real display (kwcontainer --gui): the form becomes an
// X11 window, message boxes become real modal windows, and after the script
// the message loop runs until the window is closed. Script functions that
// are about time (advance, now) then run on the real clock.
#include "hosts/container/Container.h"
#include "platform/backends/x11/X11Session.h"

#include <functional>
#include <string>

namespace kw::container {

struct GuiOptions {
    std::string display;          // Empty: $DISPLAY.
    unsigned long embedParent{0}; // An X window to live in, 0 for none.
    std::string title;            // Of the form's window.
    int lostExitStatus{4};        // When the display goes away.
};

class GuiSession {
public:
    // Opens the display and moves the container's form onto it; check
    // IsOpen. The container must outlive the session.
    GuiSession(CContainer& container, const GuiOptions& options);
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    bool IsOpen() const { return m_x11.IsOpen(); }
    // The window named to live in does not exist; the session shows nothing.
    bool EmbedRefused() const { return m_embedRefused; }
    const std::string& DisplayName() const { return m_x11.DisplayName(); }
    // The X window id of the form.
    unsigned long FormWindow() const { return m_x11.WindowOf(m_container.Form()); }
    unsigned long WindowOf(HWND hwnd) const { return m_x11.WindowOf(hwnd); }

    // Replaces the script's time functions and adds the `gui` table.
    void RegisterScriptFunctions(lua_State* L);

    // Runs the message loop until the form's window is closed (true), or
    // until an event handler raises an error (false, with its message).
    bool RunUntilClosed(std::string* error);

    // Runs the message loop for `ms` milliseconds; false when the window was
    // closed meanwhile (the loop then ends at once).
    bool RunFor(DWORD ms);

    // Sees each message the loops take before it is dispatched; true when
    // it handled the message (the designer takes the mouse this way).
    void SetMessageFilter(std::function<bool(const MSG&)> filter) { m_filter = std::move(filter); }

private:
    static LRESULT FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void InstallModalUi();

    CContainer& m_container;
    kw::x11::X11Session m_x11;
    bool m_embedRefused{false};
    WNDPROC m_formProc{nullptr};
    kw::user::ModalUiHandler m_containerUi;
    bool m_closed{false};
    std::function<bool(const MSG&)> m_filter;
};

} // namespace kw::container
