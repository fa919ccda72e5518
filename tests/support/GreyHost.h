#pragma once
// A host window that paints its background in the button-face grey
// 0xD4D0C8, so that a test sees which pixels a control leaves to its host.
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/User.h"

#include <cstdint>

inline constexpr std::uint32_t kGreyHostPixel = 0xD4D0C8;

inline LRESULT GreyHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        HBRUSH brush = CreateSolidBrush(RGB(0xD4, 0xD0, 0xC8));
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A visible popup of the given size at the screen's origin.
inline HWND CreateGreyHost(const char* title, int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &GreyHostProc;
    wc.lpszClassName = "KwTestGreyHost";
    RegisterClassA(&wc); // fails harmlessly once the class exists
    return CreateWindowExA(0, "KwTestGreyHost", title, WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                           nullptr, nullptr, nullptr, nullptr);
}
