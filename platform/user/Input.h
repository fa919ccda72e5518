#pragma once
// Input state: keys and buttons, the cursor, mouse capture and keyboard focus,
// hit-testing points, and the few system metrics the controls read.
#include "platform/user/UserTypes.h"
#include "platform/user/VirtualKeys.h"

// [SECTION] Keys and buttons

// The high bit is set while the key (or mouse button: VK_LBUTTON,
// VK_RBUTTON, VK_MBUTTON) is down; the low bit toggles with every press.
// GetKeyState follows the messages taken from the queue so far,
// GetAsyncKeyState the input as it arrives.
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);

// [SECTION] Capture and focus

// Mouse input goes to the capture window wherever the cursor is. The window
// that loses the capture gets WM_CAPTURECHANGED with the new capture window
// in lParam (none when the same window takes it again). Returns the previous
// capture window.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// WM_KILLFOCUS to the old focus window (wParam: the new one), then
// WM_SETFOCUS to the new (wParam: the old). When the new window lies in
// another top-level window, that one is activated first (WM_ACTIVATE to the
// old and the new). Returns the previous focus window, NULL on failure.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();

// [SECTION] Points

// The deepest visible window under a screen point. Hidden windows are passed
// over; a disabled child is passed over in favour of its parent; a disabled
// top-level window gives NULL.
HWND WindowFromPoint(POINT pt);
// The child of `parent` (hidden and disabled ones included) under a point in
// the parent's client coordinates; the parent when no child is there; NULL
// outside the parent.
HWND ChildWindowFromPoint(HWND parent, POINT pt);

BOOL GetCursorPos(POINT* pt);

// [SECTION] Cursors

#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP MAKEINTRESOURCEA(32651)

// With a NULL instance, the shared system cursor of an IDC_ id (the same
// handle every time). Anything else gives NULL.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
// Sets the cursor shape (NULL hides it) and returns the previous one; an
// invalid handle is refused (returns NULL, nothing changes).
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

namespace kw::user {
// The IDC_ number of a system cursor, 0 for anything else; for backends.
WORD SystemCursorId(HCURSOR cursor);
} // namespace kw::user

// [SECTION] System metrics

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_MOUSEWHEELPRESENT = 75;

// The screen size comes from the backend; unknown indices give 0.
int GetSystemMetrics(int index);
// 500 ms: the longest time between the two presses of a double click.
UINT GetDoubleClickTime();
