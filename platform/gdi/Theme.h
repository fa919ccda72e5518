#pragma once
// The system's look of edges, buttons, check boxes, radio buttons, scroll
// arrows and focus marks, in the classic colour scheme. Controls draw these
// through here, never on their own.
#include "platform/gdi/GdiTypes.h"

// Two one-pixel borders (outer and inner) on the sides BF_* names: raised
// borders light at top and left, dark at bottom and right; sunken the other
// way. The bottom and right lines own the top-right and bottom-left corners.
// BF_MIDDLE fills the inside with the button face; BF_ADJUST shrinks rc by
// the drawn borders; BF_FLAT and BF_MONO draw plain frames.
BOOL DrawEdge(HDC hdc, RECT* rc, UINT edge, UINT flags);

// DFC_BUTTON (DFCS_BUTTONPUSH, DFCS_BUTTONCHECK, DFCS_BUTTONRADIO) and
// DFC_SCROLL (DFCS_SCROLLUP/DOWN/LEFT/RIGHT), with DFCS_PUSHED, DFCS_CHECKED,
// DFCS_INACTIVE, DFCS_FLAT, DFCS_MONO and DFCS_ADJUSTRECT.
BOOL DrawFrameControl(HDC hdc, RECT* rc, UINT type, UINT state);

// Inverts every other pixel of the rectangle's one-pixel frame (a checker
// pattern fixed to the surface), so that drawing it twice restores.
BOOL DrawFocusRect(HDC hdc, const RECT* rc);

using DRAWSTATEPROC = BOOL (*)(HDC hdc, LPARAM data, WPARAM wData, int cx, int cy);
// DST_BITMAP only: `data` is the HBITMAP; cx, cy of 0 take the bitmap's size.
// DSS_NORMAL copies it; DSS_DISABLED embosses its dark pixels (those of less
// than half brightness) in the highlight colour offset by (1, 1) and then in
// the shadow colour; DSS_MONO paints them with `brush`.
BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM data, WPARAM wData, int x,
               int y, int cx, int cy, UINT flags);
inline BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM data, WPARAM wData,
                       int x, int y, int cx, int cy, UINT flags) {
    return DrawState(hdc, brush, callback, data, wData, x, y, cx, cy, flags);
}
