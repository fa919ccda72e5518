#pragma once
// A headless run of the window manager on the calling thread: a virtual clock,
// top-level windows in memory, the recording message-box handler, and input
// scripted through the calls below. Every input call delivers its messages
// before it returns (it runs everything pending), as a user's input would be
// handled before the next one.
//
// One session per thread at a time. The session starts from a clean window
// manager and, when it ends, destroys every window that is left and restores
// the backend that was installed before.
#include "platform/backends/headless/HeadlessPresenter.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Backend.h"
#include "platform/user/MessageBox.h"

#include <string>
#include <string_view>

namespace kw::headless {

class HeadlessSession {
public:
    explicit HeadlessSession(SIZE screen = SIZE{1280, 1024});
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    kw::user::VirtualClock& Clock() { return m_clock; }
    HeadlessPresenter& Presenter() { return m_presenter; }
    kw::user::ModalUiLog& Modal();

    // [SECTION] Mouse
    // To a screen point, or to a point in a window's client coordinates.
    void MouseMove(int x, int y);
    void MouseMove(HWND hwnd, int x, int y);
    void MouseDown(kw::user::MouseButton button = kw::user::MouseButton::Left);
    void MouseUp(kw::user::MouseButton button = kw::user::MouseButton::Left);
    void Click(kw::user::MouseButton button = kw::user::MouseButton::Left);
    // Two clicks at once, at the same point.
    void DoubleClick(kw::user::MouseButton button = kw::user::MouseButton::Left);
    // Notches of the wheel; positive turns away from the user.
    void Wheel(int notches);

    // [SECTION] Keyboard
    // Modifiers are keys held: KeyDown(VK_SHIFT) ... KeyUp(VK_SHIFT).
    void KeyDown(BYTE vk);
    void KeyUp(BYTE vk);
    void Key(BYTE vk); // Down and up.
    void Char(BYTE ch);
    // Each byte as key down, character, key up; bytes without a key of their
    // own (outside letters, digits, space, Enter, Tab, Backspace, Escape and
    // . , - +) come as the character only.
    void Type(std::string_view text);

    // [SECTION] Time and messages
    // Moves the virtual clock, firing every timer that falls due on the way.
    void Advance(DWORD ms);
    // Runs everything pending; returns the number of messages dispatched.
    int Pump();

    // [SECTION] Pixels
    // A copy of what a window shows: its client area, or with
    // `wholeTopLevel` the whole top-level window it lies in. Parts outside
    // the top-level's surface are black.
    SurfaceBuffer Pixels(HWND hwnd, bool wholeTopLevel = false) const;
    // The same as a PNG file; false when the window is invalid or the file
    // cannot be written.
    bool Snapshot(HWND hwnd, const std::string& path, bool wholeTopLevel = false) const;

private:
    kw::user::VirtualClock m_clock;
    HeadlessPresenter m_presenter;
    kw::user::Backend m_previous;
};

} // namespace kw::headless
