#pragma once
// Handles, callbacks and structures of the window manager, with the
// platform's names and layout, and the helpers that pack and unpack message
// parameters.
#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

#include <cstdint>

// Handles are opaque, never-reused values looked up in the window manager's
// tables: a stale or made-up handle makes a call fail, never crash.
struct HWND__;
struct HCURSOR__;
struct HINSTANCE__;
struct HMENU__;
using HWND = HWND__*;
using HCURSOR = HCURSOR__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HMENU = HMENU__*;

using ATOM = WORD;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = ULONG_PTR;
using LPSTR = char*;
using LPCSTR = const char*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

struct MSG {
    HWND hwnd{nullptr};
    UINT message{0};
    WPARAM wParam{0};
    LPARAM lParam{0};
    DWORD time{0};
    POINT pt{};
};
using LPMSG = MSG*;

struct WNDCLASSA {
    UINT style{0};
    WNDPROC lpfnWndProc{nullptr};
    int cbClsExtra{0};
    int cbWndExtra{0};
    HINSTANCE hInstance{nullptr};
    void* hIcon{nullptr};
    HCURSOR hCursor{nullptr};
    // A brush, or a system colour index + 1: (HBRUSH)(COLOR_BTNFACE + 1).
    HBRUSH hbrBackground{nullptr};
    LPCSTR lpszMenuName{nullptr};
    LPCSTR lpszClassName{nullptr};
};

struct CREATESTRUCTA {
    void* lpCreateParams{nullptr};
    HINSTANCE hInstance{nullptr};
    HMENU hMenu{nullptr};
    HWND hwndParent{nullptr};
    int cy{0};
    int cx{0};
    int y{0};
    int x{0};
    LONG style{0};
    LPCSTR lpszName{nullptr};
    LPCSTR lpszClass{nullptr};
    DWORD dwExStyle{0};
};

struct PAINTSTRUCT {
    HDC hdc{nullptr};
    BOOL fErase{FALSE};
    RECT rcPaint{};
    BOOL fRestore{FALSE};
    BOOL fIncUpdate{FALSE};
    BYTE rgbReserved[32]{};
};

// Resource names that are numbers: MAKEINTRESOURCEA(32512).
inline LPSTR MAKEINTRESOURCEA(WORD id) {
    return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(id));
}
inline bool IS_INTRESOURCE(LPCSTR name) {
    return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0;
}

constexpr WORD LOWORD(std::uintptr_t v) {
    return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return WORD((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(std::uintptr_t v) {
    return BYTE(v & 0xFF);
}
constexpr BYTE HIBYTE(std::uintptr_t v) {
    return BYTE((v >> 8) & 0xFF);
}
constexpr LONG MAKELONG(WORD low, WORD high) {
    return LONG(DWORD(low) | (DWORD(high) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return WPARAM(DWORD(MAKELONG(low, high)));
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return LPARAM(DWORD(MAKELONG(low, high)));
}
constexpr LRESULT MAKELRESULT(WORD low, WORD high) {
    return LRESULT(DWORD(MAKELONG(low, high)));
}
// Signed coordinates from a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM lp) {
    return int(SHORT(LOWORD(std::uintptr_t(lp))));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return int(SHORT(HIWORD(std::uintptr_t(lp))));
}
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM wp) {
    return SHORT(HIWORD(wp));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wp) {
    return LOWORD(wp);
}
// Packs a client point as mouse messages carry it.
constexpr LPARAM MAKEPOINTLPARAM(int x, int y) {
    return MAKELPARAM(WORD(x), WORD(y));
}
