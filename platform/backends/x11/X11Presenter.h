#pragma once
// Shows top-level windows as X11 windows: one X window per top-level HWND,
// with its title, place, size and visibility, its surface's pixels sent
// where they changed, and the cursor. Geometry flows both ways: what the
// program sets is requested from the server; what the server or a window
// manager decides is set back on the HWND, so that screen coordinates agree
// with where the window really is.
//
// Pixels are sent in batches: Present only notes the changed area and Flush
// (called by the event source before it reads or waits) sends it.
#include "platform/user/Backend.h"

#include "platform/backends/x11/X11Cursors.h"
#include "platform/backends/x11/X11Display.h"
#include "platform/backends/x11/X11Image.h"

#include <memory>
#include <vector>

namespace kw::x11 {

class X11Presenter : public kw::user::Presenter {
public:
    X11Presenter(X11Display& display, X11Cursors& cursors);
    ~X11Presenter() override;
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Unowned top-level windows created from now on become children of this
    // window of another program (None: of the root window).
    void SetEmbedParent(Window parent) { m_embedParent = parent; }

    // [SECTION] Presenter
    SIZE ScreenSize() const override;
    void TopLevelChanged(HWND hwnd) override;
    void TopLevelDestroyed(HWND hwnd) override;
    void Present(HWND hwnd, const RECT& rc) override;
    void CursorChanged(HCURSOR cursor) override;

    // [SECTION] For the event source
    HWND HwndOf(Window window) const;
    Window WindowOf(HWND hwnd) const;
    // Whether the window lives inside another program's window.
    bool IsEmbedded(Window window) const;
    // The server shows garbage in `rc` (window coordinates) until it is sent
    // again.
    void Exposed(Window window, const RECT& rc);
    // The window's size or place changed on the server; the HWND follows.
    void Configured(Window window, int width, int height);
    // The window was destroyed by someone else (the program embedding it);
    // returns its HWND, which no longer has a window on the server.
    HWND Vanished(Window window);
    // Sends every changed area.
    void Flush();

private:
    struct TopLevel {
        HWND hwnd{nullptr};
        Window window{None};
        RECT known{}; // Where the server has it, in screen coordinates.
        bool mapped{false};
        bool gone{false}; // Destroyed on the server by someone else.
        bool embedded{false};
        std::string title;
        RECT dirty{};
        std::unique_ptr<X11Image> image;
    };

    TopLevel* Find(HWND hwnd);
    TopLevel* Find(Window window);
    const TopLevel* Find(Window window) const;
    TopLevel& Create(HWND hwnd);
    void SyncTitle(TopLevel& t);
    void SyncGeometry(TopLevel& t, const RECT& rect);
    void SyncMapping(TopLevel& t, bool visible);
    // The window's top-left corner in screen (root) coordinates.
    POINT RootOrigin(Window window) const;

    X11Display& m_display;
    X11Cursors& m_cursors;
    std::vector<std::unique_ptr<TopLevel>> m_windows;
    GC m_gc{nullptr};
    Window m_embedParent{None};
    bool m_cursorSet{false};
    Cursor m_cursor{None};
};

} // namespace kw::x11
