#pragma once
// Painting: update regions, WM_PAINT, and device contexts on windows.
//
// Each top-level window owns a 32-bit surface of its size; its children draw
// into it at their offsets, clipped to the part of their client area that
// their ancestors leave visible. A window's update region is kept as the
// bounding box of its invalidations; however many come, the window gets one
// WM_PAINT. Invalidating a window also invalidates the part of its visible
// children under the region, and parents are painted before their children,
// so children end up on top.
#include "platform/gdi/Region.h"
#include "platform/user/UserTypes.h"

// NULL rc: the whole client area. NULL hwnd: every window.
BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rc);
// A window's update area is kept as one rectangle: a region adds its
// rectangles to it (a null region means the whole client area); validating
// removes the update area when the region covers it.
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
// The bounding box of the update region (client coordinates); FALSE when it
// is empty. With `erase`, a pending erase is carried out at once.
BOOL GetUpdateRect(HWND hwnd, RECT* rc, BOOL erase);
// Sends WM_PAINT at once to the window and its children that have an update
// region, parents first.
BOOL UpdateWindow(HWND hwnd);

// Validates the update region and gives a DC clipped to it. Sends WM_NCPAINT
// when the frame needs drawing and WM_ERASEBKGND when an erase was asked for;
// ps->fErase tells that the erase was not done.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

// WM_PAINT and WM_PRINTCLIENT of a control that draws itself with
// paint(hdc): into the DC the message brings in wParam (a parent printing
// it), or else through BeginPaint.
template <class PaintFn> LRESULT PaintClient(HWND hwnd, WPARAM wParam, PaintFn paint) {
    if (wParam) {
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT ps;
    if (HDC hdc = BeginPaint(hwnd, &ps))
        paint(hdc);
    EndPaint(hwnd, &ps);
    return 0;
}

// DCs that draw at once: on the client area, or on the whole window with its
// frame. GetDC(NULL) gives a DC of the screen's format for measuring and for
// making compatible DCs and bitmaps. Every DC must go back with ReleaseDC; a
// DC still out when its window is destroyed or resized stops working.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
// The window a DC from GetDC, GetWindowDC or BeginPaint draws on; null for
// any other DC (memory DCs, the screen DC) and after the DC is released.
HWND WindowFromDC(HDC hdc);
