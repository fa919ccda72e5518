#pragma once
// Device contexts: where drawing goes (a surface or a selected bitmap), the
// selected objects, the drawing state and its save stack.
//
// Coordinates: a logical point (x, y) lands on the surface pixel
// (x - window origin + viewport origin + DC origin). The DC origin is fixed at
// creation (a child window's offset inside its top-level surface); the
// viewport and window origins are state that SaveDC keeps.
//
// All calls fail cleanly on a null, deleted or wrong-kind handle.
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Surface.h"

// A DC drawing onto `surface`, which the caller keeps alive (and unmoved)
// until DeleteDC. Logical (0, 0) is the surface pixel `origin`; drawing is
// confined to `clip`, given in surface pixels and narrowed to the surface.
// Returns null for a surface without pixels.
HDC CreateDCForSurface(const PixelSurface& surface, POINT origin, RECT clip);

// A memory DC with the stock 1x1 monochrome bitmap selected. The argument
// only has to be null or a live DC.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);

// Selects a pen, brush, font or bitmap and returns the one it replaces (null
// on failure). A bitmap can be selected only into a memory DC, and only into
// one DC at a time.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);

// Returns the new level (> 0), 0 on failure. RestoreDC with a negative level
// counts back from the latest save (-1: the latest).
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int level);

COLORREF SetTextColor(HDC hdc, COLORREF color); // Previous colour, CLR_INVALID on failure.
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode); // Previous mode, 0 on failure.
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int rop2); // Previous mode, 0 on failure.
int GetROP2(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align); // Previous alignment, GDI_ERROR on failure.
UINT GetTextAlign(HDC hdc);

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetViewportOrgEx(HDC hdc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetWindowOrgEx(HDC hdc, POINT* origin);
// Where logical (0, 0) lies on the surface, without viewport and window
// origins.
BOOL GetDCOrgEx(HDC hdc, POINT* origin);
BOOL LPtoDP(HDC hdc, POINT* points, int count);
BOOL DPtoLP(HDC hdc, POINT* points, int count);

// The clip rectangle in logical coordinates: SIMPLEREGION, NULLREGION when
// nothing can be drawn, ERROR for an invalid DC (rc is then left alone).
int GetClipBox(HDC hdc, RECT* rc);
// Narrows the clip rectangle; returns as GetClipBox does.
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);

// LOGPIXELSX/Y: 96. HORZRES/VERTRES: the drawing target's size. BITSPIXEL: 32,
// or 1 for a memory DC holding a monochrome bitmap. PLANES: 1.
int GetDeviceCaps(HDC hdc, int index);

// OBJ_DC, OBJ_MEMDC, OBJ_PEN, ...; 0 for anything that is not a live object.
DWORD GetObjectType(HGDIOBJ obj);
