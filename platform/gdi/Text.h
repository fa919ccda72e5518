#pragma once
// Text output and measurement. Strings are Windows-1252 bytes; a count of
// -1 means up to the terminating zero. The selected font's escapement turns
// the text in steps of 90 degrees (900: running upwards).
#include "platform/gdi/GdiTypes.h"

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// At (x, y) per the text alignment (top-left by default), in the text colour;
// with OPAQUE background mode the character cells are filled first with the
// background colour. The raster operation does not apply to text.
BOOL TextOut(HDC hdc, int x, int y, const char* text, int count);
inline BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count) {
    return TextOut(hdc, x, y, text, count);
}
// ETO_OPAQUE fills rc with the background colour; ETO_CLIPPED confines the
// text to rc; dx, when given, holds the advance of every character.
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, const char* text, UINT count,
                const INT* dx);
inline BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, const char* text,
                        UINT count, const INT* dx) {
    return ExtTextOut(hdc, x, y, options, rc, text, count, dx);
}

// Formats text into rc: DT_LEFT/CENTER/RIGHT, DT_TOP/VCENTER/BOTTOM (the
// vertical ones with DT_SINGLELINE), DT_SINGLELINE, DT_WORDBREAK,
// DT_EXPANDTABS (stops every 8 average character widths), DT_END_ELLIPSIS,
// DT_NOCLIP, DT_NOPREFIX ('&' underlines the next character, "&&" is '&'),
// DT_CALCRECT (measures only: rc's right and bottom become those of the
// text). Returns the height of the text, or for DT_VCENTER/DT_BOTTOM the
// offset from rc.top to the text's bottom; 0 on failure.
int DrawText(HDC hdc, const char* text, int count, RECT* rc, UINT format);
inline int DrawTextA(HDC hdc, const char* text, int count, RECT* rc, UINT format) {
    return DrawText(hdc, text, count, rc, format);
}

// Width of the string and height of the font's cell.
BOOL GetTextExtentPoint32(HDC hdc, const char* text, int count, SIZE* size);
inline BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size) {
    return GetTextExtentPoint32(hdc, text, count, size);
}
BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm);
inline BOOL GetTextMetricsA(HDC hdc, TEXTMETRIC* tm) {
    return GetTextMetrics(hdc, tm);
}
// The installed family that draws the selected font, e.g. "Liberation Sans"
// for "Arial". Returns the length copied, 0 on failure.
int GetTextFace(HDC hdc, int size, char* name);
