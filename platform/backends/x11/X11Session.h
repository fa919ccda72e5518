#pragma once
// A run of the window manager on a real X display, on the calling thread:
// the monotonic clock, top-level windows as X11 windows, input from the X
// server. Timers and X events share one wait (GetMessage waits on the
// connection until the next timer is due).
//
// The session installs its backend while it lives and restores the one
// before it afterwards; windows made before it (under another backend) are
// shown once passed to Show. It leaves the modal handler alone: a host that
// wants real message boxes installs ModalUi().
//
// When the connection to the server is lost the process ends at once, with
// a message on stderr and `lostExitStatus`.
#include "platform/user/Backend.h"
#include "platform/user/MessageBox.h"

#include <memory>
#include <string>

namespace kw::x11 {

struct X11Options {
    std::string display; // Empty: $DISPLAY.
    int lostExitStatus{4};
    // False: pixels always go by XPutImage, also where MIT-SHM is offered
    // (for servers that offer it but cannot share memory with us).
    bool sharedMemory{true};
};

class X11Session {
public:
    explicit X11Session(const X11Options& options = {});
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // False when the display could not be opened; nothing is installed then.
    bool IsOpen() const;
    // The display tried, for messages.
    const std::string& DisplayName() const;

    // Unowned top-level windows created from now on are made children of
    // `window`, an X window of another program (0: none), so that a host
    // written with another toolkit can embed them.
    [[nodiscard]] bool SetEmbedParent(unsigned long window);

    // Gives a top-level window made before the session its X window and
    // paints it.
    void Show(HWND topLevel);
    // The X window id of a top-level window, 0 when it has none.
    unsigned long WindowOf(HWND topLevel) const;
    // Sends what is pending to the server (pixels, requests) now.
    void Flush();

    // Message boxes as real modal windows, MessageBeep as the X bell, modal
    // loops as message loops.
    kw::user::ModalUiHandler ModalUi();

    kw::user::Clock& Clock();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    kw::user::Backend m_previous;
};

} // namespace kw::x11
