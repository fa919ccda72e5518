#pragma once
// The per-thread state of the window manager: classes, windows, the message
// queue, timers, input state and the installed backend. Used only by the
// library's own sources.
//
// Windows are kept by handle value; a handle is a counter that never repeats.
// Code that sends a message must not hold a Window* across the call: a
// procedure may destroy any window. Look the window up again afterwards.
#include "platform/gdi/Surface.h"
#include "platform/user/Backend.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserTypes.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kw::user::detail {

struct WindowClass {
    std::string name;
    WNDCLASSA info{}; // lpszClassName points at `name`.
    int windows{0};   // Live windows of the class.
    ATOM atom{0};
};

struct OpenDc {
    HDC hdc{nullptr};
    HWND hwnd{nullptr}; // The window it was asked for.
    HWND top{nullptr};  // Whose surface it draws on; null for the screen DC.
    RECT surfaceRect{}; // What drawing may have changed, in surface pixels.
};

struct Window {
    HWND hwnd{nullptr};
    std::shared_ptr<WindowClass> cls;
    HWND parent{nullptr};       // Child windows only.
    HWND owner{nullptr};        // Top-level windows only.
    std::vector<HWND> children; // Bottom of the z-order first.
    WNDPROC proc{nullptr};
    DWORD style{0};
    DWORD exStyle{0};
    RECT rect{}; // In the parent's client coordinates; screen for top-level.
    std::string text;
    HINSTANCE instance{nullptr};
    LONG_PTR userData{0};
    LONG_PTR id{0};
    std::vector<unsigned char> extra;

    RECT update{};          // Client coordinates; empty when valid.
    bool erase{false};      // WM_ERASEBKGND owed at the next BeginPaint.
    bool frameDirty{false}; // WM_NCPAINT owed.
    bool destroying{false};
    unsigned validations{0}; // Counts BeginPaint and ValidateRect calls.

    std::unique_ptr<SurfaceBuffer> surface; // Top-level windows only.
};

struct Timer {
    HWND hwnd{nullptr};
    UINT_PTR id{0};
    UINT period{0};
    ULONGLONG due{0};
    TIMERPROC proc{nullptr};
    ULONGLONG order{0}; // Creation order, for timers due at the same time.
};

struct InputEvent {
    enum class Kind { Move, Button, Wheel, Key, Char };
    Kind kind{Kind::Move};
    POINT pt{}; // Cursor position (screen) at the event.
    MouseButton button{MouseButton::Left};
    bool down{false};
    int delta{0};
    BYTE vk{0};
    BYTE ch{0};
    bool repeat{false}; // A key pressed again while down.
    DWORD time{0};
};

struct ModalState {
    HWND hwnd{nullptr};
    bool ended{false};
    int result{0};
};

struct WindowManager {
    WindowManager();
    ~WindowManager();

    Window* Find(HWND hwnd);
    HWND NewHandle() { return reinterpret_cast<HWND>(++m_lastHandle); }

    // Backend.
    Clock& GetClock() { return m_backend.clock ? *m_backend.clock : m_monotonic; }
    Presenter* GetPresenter() { return m_backend.presenter; }
    ULONGLONG Now() { return GetClock().Now(); }

    std::map<std::string, std::shared_ptr<WindowClass>> classes; // Upper-case names.
    std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevels; // Bottom of the z-order first.

    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    bool quitPending{false};
    int quitCode{0};
    PreTranslateHook preTranslate;

    std::vector<Timer> timers;
    ULONGLONG timerOrder{0};
    UINT_PTR lastThreadTimerId{0};

    // Input state: bit 0x80 down, bit 0x01 toggled.
    BYTE asyncKeys[256]{};
    BYTE syncKeys[256]{};
    POINT cursorPos{};
    HWND capture{nullptr};
    HWND focus{nullptr};
    HWND active{nullptr};
    HCURSOR cursor{nullptr};
    struct {
        HWND hwnd{nullptr};
        UINT message{0};
        DWORD time{0};
        POINT pt{};
    } lastClick;

    std::vector<OpenDc> openDcs;
    SurfaceBuffer screenSurface{1, 1};

    ModalUiHandler modalHandler;
    ModalUiLog modalLog;
    std::vector<ModalState> modalLoops;

    Backend m_backend;

private:
    MonotonicClock m_monotonic;
    std::uintptr_t m_lastHandle{0x10000};
};

// The calling thread's manager.
WindowManager& Manager();

// [SECTION] Shared between the sources

Window* FindWindow(HWND hwnd);
// The top-level window a window belongs to (itself if top-level).
HWND TopLevelOf(HWND hwnd);
// Frame widths (left/top = right/bottom).
int FrameWidth(const Window& w);
RECT ClientRectInWindow(const Window& w); // Client area in window coordinates.
// Origin of the window (or its client area) in its top-level's surface.
POINT WindowOriginInSurface(HWND hwnd);
POINT ClientOriginInSurface(HWND hwnd);
// Client origin in screen coordinates.
POINT ClientOriginOnScreen(HWND hwnd);
// The part of the client area (or the whole window) that is visible in the
// top-level surface, in surface coordinates; empty for hidden windows.
RECT VisibleRectInSurface(HWND hwnd, bool client);

// Windows-style send with no lookup of the caller's state afterwards.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Painting.
void InvalidateWindow(HWND hwnd, const RECT* clientRc, bool erase, bool frame);
void InvalidateParentArea(HWND hwnd); // Where the window lies in its parent.
HWND NextWindowToPaint(HWND filter);
void ReleaseOpenDcs(HWND topLevel);
void ResizeSurface(Window& w);

// Timers and input.
void KillWindowTimers(HWND hwnd);
bool TakeDueTimer(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* msg);
bool HasDueTimer();
bool NextTimerDue(ULONGLONG* due);
bool TakeInputMessage(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* msg);
void ForgetWindowInInput(HWND hwnd);
void ResetInputState();

} // namespace kw::user::detail
