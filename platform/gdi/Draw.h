#pragma once
// Lines, shapes, fills, pixels and block transfers, with the platform's pixel
// rules: right and bottom edges are exclusive, LineTo leaves out its last
// pixel, cosmetic dotted pens draw 3 pixels on and 3 off (the gaps in the
// background colour when the background mode is OPAQUE).
#include "platform/gdi/GdiTypes.h"

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetCurrentPositionEx(HDC hdc, POINT* pt);
// From the current position to (x, y), without (x, y) itself; the current
// position becomes (x, y).
BOOL LineTo(HDC hdc, int x, int y);
// Connected segments; the dotted pattern runs on across corners. The last
// point is not drawn. Does not use or change the current position.
BOOL Polyline(HDC hdc, const POINT* points, int count);
// A closed outline with the pen, filled with the brush (alternate rule).
BOOL Polygon(HDC hdc, const POINT* points, int count);
// Outline with the pen along the inside of (left, top)-(right-1, bottom-1)
// for a cosmetic pen; a wider pen is centred on that path. The inside is
// filled with the brush.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
// The ellipse inscribed in the box [left, right) x [top, bottom).
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);

// `brush` may also be a system colour index + 1, as on the platform:
// (HBRUSH)(COLOR_BTNFACE + 1). Return 1 on success, 0 on failure.
int FillRect(HDC hdc, const RECT* rc, HBRUSH brush);
// A one-pixel frame along the inside of rc.
int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rc);

// The colour actually set, CLR_INVALID outside the clip or on failure.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
// CLR_INVALID outside the clip rectangle or on failure.
COLORREF GetPixel(HDC hdc, int x, int y);

// Pattern (brush) combined with the destination by a ternary raster
// operation.
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
// Source, destination and pattern combined by a ternary raster operation.
// From a monochrome source into colour, black bits take the destination's
// text colour and white bits its background colour; from colour into a
// monochrome destination, pixels of the source DC's background colour become
// white and all others black. Source and destination may overlap.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
// Scales with nearest-neighbour sampling; otherwise as BitBlt.
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int widthSrc, int heightSrc, DWORD rop);
