#pragma once
// Windows: classes, creation and destruction, the window tree, position and
// size, visibility, enabling, text and window long values.
//
// Every call checks its handle first: a null, destroyed or made-up HWND makes
// it fail with the platform's failure value (0, FALSE or NULL) and nothing
// else happens. Messages are sent synchronously to the window procedure, and
// a procedure may destroy any window (its own included) while it runs.
#include "platform/user/UserTypes.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowStyles.h"

// [SECTION] Classes

// Registers a class by name (letter case ignored). Returns a non-zero atom, 0
// when the name is taken or the class lacks a name or window procedure.
ATOM RegisterClassA(const WNDCLASSA* wc);
// Fails while windows of the class exist.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc);
// The class name of a window, as GetWindowText copies text.
int GetClassNameA(HWND hwnd, LPSTR buffer, int size);

// [SECTION] Creation and destruction

// Sends WM_NCCREATE (FALSE fails creation) and WM_CREATE (-1 fails it; the
// window is then destroyed with WM_DESTROY and WM_NCDESTROY), then WM_SIZE and
// WM_MOVE, then shows the window if the style has WS_VISIBLE. A child
// (WS_CHILD) needs a live parent and takes `menu` as its control id. Returns
// NULL on failure, also when a procedure destroyed the window meanwhile.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param);
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu,
                           instance, param);
}

// Destroys the window, the windows it owns and its children. Focus inside it
// moves to the parent of a child window; its capture is released. WM_DESTROY
// goes to the window and then to its descendants (parents first) while all of
// them still exist; then each is freed, children before parents, after a
// WM_NCDESTROY. FALSE for an invalid handle or a window already being
// destroyed.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// [SECTION] The window tree

// The parent of a child window, the owner of a popup, otherwise NULL.
HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
BOOL IsChild(HWND parent, HWND hwnd);
int GetDlgCtrlID(HWND hwnd);
// The first child (in creation order) with the id.
HWND GetDlgItem(HWND parent, int id);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
HWND GetAncestor(HWND hwnd, UINT flags);
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
// Siblings in z-order from the top; GW_CHILD gives the top-most child.
HWND GetWindow(HWND hwnd, UINT cmd);

// [SECTION] Visibility and enabling

// Returns whether the window was visible before. Sends WM_SHOWWINDOW when the
// visibility changes; hiding moves focus inside the window to its parent.
BOOL ShowWindow(HWND hwnd, int cmd);
// TRUE when the window and all its ancestors are visible.
BOOL IsWindowVisible(HWND hwnd);
// Returns whether the window was disabled before. Disabling sends
// WM_CANCELMODE, takes the focus away and then sends WM_ENABLE(FALSE);
// enabling sends WM_ENABLE(TRUE).
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);

// [SECTION] Position and size

// Window rectangles are relative to the parent's client area (screen
// coordinates for top-level windows). The client area is the window less its
// frame: 1 pixel for WS_BORDER or WS_EX_STATICEDGE, 2 for WS_EX_CLIENTEDGE
// (both add up). Top-level windows have no frame here: their decoration, if
// any, belongs to the display.
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// Moves, sizes, shows or hides the window and sends WM_MOVE and WM_SIZE for
// what changed. Of the z-order only HWND_TOP, HWND_BOTTOM and a sibling to go
// below are honoured.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL GetWindowRect(HWND hwnd, RECT* rc); // In screen coordinates.
BOOL GetClientRect(HWND hwnd, RECT* rc); // {0, 0, width, height}.
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
// From one window's client coordinates to another's; a NULL window means the
// screen. Returns the horizontal offset in the low word and the vertical in
// the high word, 0 on failure.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);

// [SECTION] Text and long values

BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND hwnd);

// GWL_STYLE, GWL_EXSTYLE, GWLP_WNDPROC, GWLP_USERDATA, GWLP_ID,
// GWLP_HINSTANCE, GWLP_HWNDPARENT (read only here), and the class's extra
// window bytes at offsets 0 .. cbWndExtra - sizeof(LONG_PTR). Set returns the
// previous value; both return 0 for an invalid handle or index.
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLongA(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);

// [SECTION] Window procedures

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The default handling of every message; see DefWindowProc.cpp.
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
