#pragma once
// What a display backend gives the window manager and what it gets from it.
// A backend installs a clock, a presenter and an event source on the thread
// that runs the windows, and feeds the input it receives into the manager
// through the Inject calls below, in screen coordinates.
#include "platform/gdi/Surface.h"
#include "platform/user/Clock.h"
#include "platform/user/UserTypes.h"

namespace kw::user {

// Shows top-level windows.
class Presenter {
public:
    virtual ~Presenter() = default;
    virtual SIZE ScreenSize() const = 0;
    // A top-level window was created, moved, resized, shown or hidden, or its
    // text changed; the presenter reads what it needs through the Window.h
    // calls.
    virtual void TopLevelChanged(HWND hwnd) = 0;
    virtual void TopLevelDestroyed(HWND hwnd) = 0;
    // Pixels of the top-level's surface changed within `rc` (window
    // coordinates); TopLevelSurface gives them.
    virtual void Present(HWND hwnd, const RECT& rc) = 0;
    virtual void CursorChanged(HCURSOR cursor) = 0;
};

// Delivers the display's events.
class EventSource {
public:
    virtual ~EventSource() = default;
    // Injects the events that arrive within `timeoutMs` (0: only those already
    // there; INFINITE: waits for at least one) and returns.
    virtual void PollEvents(DWORD timeoutMs) = 0;
};

constexpr DWORD INFINITE = 0xFFFFFFFF;

// Unset members mean: the monotonic clock, no display (a 1024x768 screen
// where nothing is shown), no events.
struct Backend {
    Clock* clock{nullptr};
    Presenter* presenter{nullptr};
    EventSource* events{nullptr};
};

// Installs a backend on the calling thread and returns the previous one. The
// objects must outlive their installation.
Backend InstallBackend(const Backend& backend);

// Destroys every window of the thread (with their messages), then forgets
// queued messages, timers, input state, capture, focus, cursor, the
// pre-translation hook and the modal handler and its log.
void ResetThreadState();

// The pixels of a top-level window; false for anything else.
bool TopLevelSurface(HWND hwnd, PixelSurface* surface);

// [SECTION] Input

enum class MouseButton { Left, Right, Middle };

void InjectMouseMove(POINT screen);
void InjectMouseButton(MouseButton button, bool down);
// `delta` in WHEEL_DELTA units per notch; positive turns away from the user.
void InjectMouseWheel(int delta);
void InjectKey(BYTE vk, bool down);
// A Windows-1252 character, as typed (after the keyboard layout).
void InjectChar(BYTE ch);

} // namespace kw::user
