#pragma once
// Pens, brushes, fonts and bitmaps, and the stock objects.
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Surface.h"

#include <cstddef>

// PS_SOLID of any width; PS_DOT (and the other styles) dotted when cosmetic
// (width 0 or 1) and solid when wider, as on the platform; PS_NULL draws
// nothing.
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);

HFONT CreateFontIndirectA(const LOGFONTA* lf);
inline HFONT CreateFontIndirect(const LOGFONT* lf) {
    return CreateFontIndirectA(lf);
}
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* faceName);
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                        DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                        DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                        DWORD pitchAndFamily, const char* faceName) {
    return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                       charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
}

// A bitmap of 1 or 32 bits per pixel. `bits`, when given, holds rows in the
// platform's device-dependent layout (top row first, each row padded to 16
// bits); other depths are refused. Monochrome bitmaps start black.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A colour bitmap, or a monochrome one when `hdc` is a memory DC holding a
// monochrome bitmap (as on the platform, a fresh memory DC gives monochrome).
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// A 32-bit section whose pixels the caller reaches through *bits: bottom-up
// rows for a positive biHeight, top-down for a negative one. Other depths
// than 32 bits, or compression other than BI_RGB, are refused.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset);

// A view of a bitmap's pixels (0x00RRGGBB; a monochrome bitmap holds only
// 0x000000 and 0xFFFFFF). False for anything but a live bitmap.
bool GetBitmapSurface(HBITMAP bitmap, PixelSurface* surface);
bool IsMonochromeBitmap(HBITMAP bitmap);

// Copies scan lines of a bitmap into a 32-bit buffer laid out as `info`
// describes (bottom-up for a positive biHeight); with a null `bits` only
// fills in the header. Returns the lines copied, 0 on failure.
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);

// Pens, brushes, fonts and bitmaps: the object's description. Returns the
// bytes written, or the size needed when `buffer` is null; 0 on failure.
int GetObject(HGDIOBJ obj, int size, void* buffer);
inline int GetObjectA(HGDIOBJ obj, int size, void* buffer) {
    return GetObject(obj, size, buffer);
}

HGDIOBJ GetStockObject(int index);
// The handle dies at once. An object still selected into a DC stays in use
// there until it is replaced or the DC is deleted. Stock objects are never
// deleted (TRUE all the same, as on the platform).
BOOL DeleteObject(HGDIOBJ obj);

// The GDI objects alive in the process: pens, brushes, fonts, bitmaps and
// DCs, stock objects included once made. What GetGuiResources(GR_GDIOBJECTS)
// tells on the platform; tests compare it before and after to find leaks.
std::size_t GdiObjectCount();
