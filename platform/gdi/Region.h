#pragma once
// Regions: sets of pixels made of rectangles, combined exactly. Windows use
// them to collect what needs repainting.
#include "platform/gdi/GdiTypes.h"

#include <vector>

struct HRGN__;
using HRGN = HRGN__*;

constexpr DWORD OBJ_REGION = 8;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rc);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
// The result's complexity (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
// `dst` may be one of the sources; `src2` is ignored for RGN_COPY.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
// The bounding rectangle; the result is the region's complexity or ERROR.
int GetRgnBox(HRGN rgn, RECT* rc);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rc);
BOOL EqualRgn(HRGN a, HRGN b);
// The disjoint rectangles that make the region, rows top to bottom, each
// row left to right; empty for an invalid handle.
std::vector<RECT> GetRegionRects(HRGN rgn);
