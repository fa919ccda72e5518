#pragma once
// Image lists: equal cells cut from a strip bitmap, with an optional mask
// made from a key colour.
#include "platform/gdi/GdiTypes.h"

#include <functional>

struct IMAGEINFO {
    HBITMAP hbmImage{nullptr};
    HBITMAP hbmMask{nullptr};
    int Unused1{0};
    int Unused2{0};
    RECT rcImage{};
};

// Cells of cx x cy. ILC_MASK keeps a mask; the colour depth flags are
// accepted and every list stores 32-bit colour.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Appends the cells of `image` (its width divided by the cell width). The
// mask, when given, is monochrome: white marks transparent pixels. Returns
// the index of the first new image, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, with the pixels of colour `mask` transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// The list's strip bitmaps (owned by the list) and the cell's rectangle in them.
BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
// CLR_NONE (the default) makes ILD_NORMAL draw masked pixels transparently
// too; another colour fills them. Returns the previous colour.
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// ILD_NORMAL, ILD_TRANSPARENT (masked pixels leave the destination alone),
// ILD_MASK (the mask: black opaque, white transparent). An index outside
// the list draws nothing and returns FALSE.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);

// A masked list cut from a bitmap already loaded: cells of cx, the bitmap's
// height; pixels of `mask` transparent (CLR_NONE: no mask).
HIMAGELIST ImageList_CreateFromBitmap(HBITMAP bitmap, int cx, int grow, COLORREF mask);

// Bitmap resources come from whoever installs a loader (the module, at
// start-up). The loader returns a new bitmap the caller owns, or null.
using ResourceBitmapLoader = std::function<HBITMAP(UINT id)>;
void SetResourceBitmapLoader(ResourceBitmapLoader loader);
// Null when no loader is installed or it has no such bitmap.
HBITMAP LoadResourceBitmap(UINT id);
// ImageList_LoadBitmap's work without an instance handle.
HIMAGELIST ImageList_LoadResourceBitmap(UINT id, int cx, int grow, COLORREF mask);
