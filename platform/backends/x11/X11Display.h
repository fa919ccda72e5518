#pragma once
// The connection to the X server: opened once per session, with the atoms
// the backend uses, the screen's visual, and the error handlers.
//
// A protocol error (a window that vanished under us, a shared-memory attach a
// remote server refuses) is written to stderr and the program goes on. A lost
// connection (the server ended or was killed) cannot be recovered: Xlib
// gives no way back into the program, so the process ends at once with a
// message on stderr and the session's exit status.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

namespace kw::x11 {

class X11Display {
public:
    // `name` as for XOpenDisplay (empty: $DISPLAY). Check IsOpen afterwards.
    X11Display(const std::string& name, int lostExitStatus);
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    // The name that was tried, for messages.
    const std::string& Name() const { return m_name; }
    Display* Get() const { return m_display; }
    int Screen() const { return m_screen; }
    Window Root() const { return RootWindow(m_display, m_screen); }
    Visual* GetVisual() const { return m_visual; }
    int Depth() const { return m_depth; }
    bool HasShm() const { return m_hasShm; }
    void DisableShm() { m_hasShm = false; }

    Atom wmProtocols{None};
    Atom wmDeleteWindow{None};
    Atom netWmName{None};
    Atom utf8String{None};

    // Runs `work` and reports whether the server refused any request it made
    // (the requests are synchronised first), without writing to stderr.
    template <typename Work> bool Succeeds(Work&& work) {
        BeginTrap();
        work();
        return EndTrap();
    }

private:
    void BeginTrap();
    bool EndTrap();

    std::string m_name;
    Display* m_display{nullptr};
    int m_screen{0};
    Visual* m_visual{nullptr};
    int m_depth{0};
    bool m_hasShm{false};
};

} // namespace kw::x11
