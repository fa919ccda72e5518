#include "platform/gdi/ImageList.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Raster.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

using namespace gdi;

namespace {

struct ImageListData {
    int m_cx{0};
    int m_cy{0};
    bool m_masked{false};
    int m_count{0};
    COLORREF m_bk{CLR_NONE};
    // One row of cells; the mask is white where transparent.
    HBITMAP m_image{nullptr};
    HBITMAP m_mask{nullptr};

    ~ImageListData() {
        DeleteObject(m_image);
        DeleteObject(m_mask);
    }
};

struct Lists {
    std::map<std::uintptr_t, std::unique_ptr<ImageListData>> m_lists;
    std::uintptr_t m_next{0x20000};
    ResourceBitmapLoader m_loader;
};

Lists& State() {
    static Lists lists;
    return lists;
}

ImageListData* FindList(HIMAGELIST handle) {
    auto& lists = State().m_lists;
    auto it = lists.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == lists.end() ? nullptr : it->second.get();
}

// Grows the strips to hold `count` cells, keeping what is there.
bool Reserve(ImageListData& list, int count) {
    PixelSurface old;
    const int oldCells =
        list.m_image && GetBitmapSurface(list.m_image, &old) ? old.width / list.m_cx : 0;
    if (count <= oldCells)
        return true;
    const long long width = (long long)count * list.m_cx;
    if (width > 1 << 20)
        return false;
    HBITMAP image = CreateBitmap(int(width), list.m_cy, 1, 32, nullptr);
    HBITMAP mask = list.m_masked ? CreateBitmap(int(width), list.m_cy, 1, 1, nullptr) : nullptr;
    if (!image || (list.m_masked && !mask)) {
        DeleteObject(image);
        DeleteObject(mask);
        return false;
    }
    auto copy = [&](HBITMAP from, HBITMAP to) {
        PixelSurface a, b;
        if (!from || !GetBitmapSurface(from, &a) || !GetBitmapSurface(to, &b))
            return;
        for (int y = 0; y < a.height; ++y)
            std::copy(a.Row(y), a.Row(y) + a.width, b.Row(y));
    };
    copy(list.m_image, image);
    copy(list.m_mask, mask);
    DeleteObject(list.m_image);
    DeleteObject(list.m_mask);
    list.m_image = image;
    list.m_mask = mask;
    return true;
}

// Appends cells from `image`; transparent where isClear says so.
template <class IsClear> int Append(HIMAGELIST handle, HBITMAP image, IsClear isClear) {
    ImageListData* list = FindList(handle);
    PixelSurface src;
    if (!list || !GetBitmapSurface(image, &src) || !src.IsValid())
        return -1;
    const int cells = src.width / list->m_cx;
    if (cells <= 0 || !Reserve(*list, list->m_count + cells))
        return -1;
    PixelSurface dst, mask;
    GetBitmapSurface(list->m_image, &dst);
    const bool haveMask = list->m_mask && GetBitmapSurface(list->m_mask, &mask);
    const int first = list->m_count;
    const int rows = std::min(src.height, list->m_cy);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cells * list->m_cx; ++x) {
            const std::uint32_t p = src.At(x, y) & kPixelMask;
            const int dx = first * list->m_cx + x;
            const bool clear = isClear(x, y, p);
            // Masked pixels are black in the image, as on the platform, so
            // that SRCINVERT/SRCAND drawing of the pair works.
            dst.At(dx, y) = haveMask && clear ? 0 : p;
            if (haveMask)
                mask.At(dx, y) = clear ? 0xFFFFFF : 0;
        }
    list->m_count += cells;
    return first;
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return nullptr;
    auto data = std::make_unique<ImageListData>();
    data->m_cx = cx;
    data->m_cy = cy;
    data->m_masked = flags & ILC_MASK;
    Lists& lists = State();
    const std::uintptr_t value = lists.m_next;
    lists.m_next += 16;
    lists.m_lists.emplace(value, std::move(data));
    return reinterpret_cast<HIMAGELIST>(value);
}

BOOL ImageList_Destroy(HIMAGELIST handle) {
    return State().m_lists.erase(reinterpret_cast<std::uintptr_t>(handle)) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP maskBitmap) {
    PixelSurface mask;
    const bool haveMask = maskBitmap && GetBitmapSurface(maskBitmap, &mask);
    if (maskBitmap && !haveMask)
        return -1;
    return Append(handle, image, [&](int x, int y, std::uint32_t) {
        return haveMask && x < mask.width && y < mask.height && mask.At(x, y) != 0;
    });
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF key) {
    const std::uint32_t keyPixel = PixelFromColor(key);
    return Append(handle, image,
                  [&](int, int, std::uint32_t p) { return key != CLR_NONE && p == keyPixel; });
}

int ImageList_GetImageCount(HIMAGELIST handle) {
    ImageListData* list = FindList(handle);
    return list ? list->m_count : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
    ImageListData* list = FindList(handle);
    if (!list || !cx || !cy)
        return FALSE;
    *cx = list->m_cx;
    *cy = list->m_cy;
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST handle, int index, IMAGEINFO* info) {
    ImageListData* list = FindList(handle);
    if (!list || !info || index < 0 || index >= list->m_count)
        return FALSE;
    info->hbmImage = list->m_image;
    info->hbmMask = list->m_mask;
    info->rcImage = RECT{index * list->m_cx, 0, (index + 1) * list->m_cx, list->m_cy};
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF color) {
    ImageListData* list = FindList(handle);
    if (!list)
        return CLR_NONE;
    return std::exchange(list->m_bk, color);
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle) {
    ImageListData* list = FindList(handle);
    return list ? list->m_bk : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC hdc, int x, int y, UINT style) {
    ImageListData* list = FindList(handle);
    auto dc = FindDc(hdc);
    if (!list || !dc || index < 0 || index >= list->m_count)
        return FALSE;
    PixelSurface image, mask;
    GetBitmapSurface(list->m_image, &image);
    const bool haveMask = list->m_mask && GetBitmapSurface(list->m_mask, &mask);
    Raster raster(*dc);
    raster.SetRop2(R2_COPYPEN);
    const POINT o = dc->Offset();
    const bool transparent = (style & ILD_TRANSPARENT) || list->m_bk == CLR_NONE;
    const bool monoTarget = dc->IsMonochrome();
    auto out = [&](std::uint32_t p) { return monoTarget ? MonoPixel(ColorFromPixel(p)) : p; };
    const std::uint32_t bk = dc->PixelOf(list->m_bk == CLR_NONE ? 0 : list->m_bk);
    for (int j = 0; j < list->m_cy; ++j)
        for (int i = 0; i < list->m_cx; ++i) {
            const int sx = index * list->m_cx + i;
            const bool clear = haveMask && mask.At(sx, j) != 0;
            const int dx = x + o.x + i, dy = y + o.y + j;
            if (style & ILD_MASK) {
                raster.Plot(dx, dy, clear ? kPixelMask : 0);
            } else if (!clear) {
                raster.Plot(dx, dy, out(image.At(sx, j)));
            } else if (!transparent) {
                raster.Plot(dx, dy, bk);
            }
        }
    return TRUE;
}

HIMAGELIST ImageList_CreateFromBitmap(HBITMAP bitmap, int cx, int grow, COLORREF mask) {
    PixelSurface s;
    if (!GetBitmapSurface(bitmap, &s) || !s.IsValid() || cx <= 0 || s.width < cx)
        return nullptr;
    HIMAGELIST list = ImageList_Create(
        cx, s.height, ILC_COLOR32 | (mask != CLR_NONE ? ILC_MASK : 0), s.width / cx, grow);
    if (!list)
        return nullptr;
    if (ImageList_AddMasked(list, bitmap, mask) < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

void SetResourceBitmapLoader(ResourceBitmapLoader loader) {
    State().m_loader = std::move(loader);
}

HBITMAP LoadResourceBitmap(UINT id) {
    const ResourceBitmapLoader& loader = State().m_loader;
    return loader ? loader(id) : nullptr;
}

HIMAGELIST ImageList_LoadResourceBitmap(UINT id, int cx, int grow, COLORREF mask) {
    HBITMAP bitmap = LoadResourceBitmap(id);
    if (!bitmap)
        return nullptr;
    HIMAGELIST list = ImageList_CreateFromBitmap(bitmap, cx, grow, mask);
    DeleteObject(bitmap);
    return list;
}
