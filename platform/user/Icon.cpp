// Icons: a table of image and mask pairs, drawn with the mask and the image.
#include "platform/user/Icon.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"

#include <cstdint>
#include <unordered_map>

namespace {

struct IconData {
    HBITMAP color{nullptr};
    HBITMAP mask{nullptr};
    SIZE size{};
    BOOL isIcon{TRUE};
    DWORD xHotspot{0};
    DWORD yHotspot{0};
};

struct IconTable {
    std::unordered_map<std::uintptr_t, IconData> icons;
    std::uintptr_t last{0x20000};

    ~IconTable() {
        for (auto& [key, icon] : icons) {
            DeleteObject(icon.color);
            DeleteObject(icon.mask);
        }
    }
};

IconTable& Icons() {
    thread_local IconTable table;
    return table;
}

IconData* FindIcon(HICON icon) {
    auto& icons = Icons().icons;
    auto it = icons.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == icons.end() ? nullptr : &it->second;
}

HBITMAP CopyBitmap(HBITMAP source) {
    BITMAP bm{};
    if (!source || !GetObject(source, sizeof bm, &bm))
        return nullptr;
    const bool mono = IsMonochromeBitmap(source);
    HBITMAP copy = CreateBitmap(bm.bmWidth, bm.bmHeight, 1, mono ? 1 : 32, nullptr);
    if (!copy)
        return nullptr;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return copy;
}

HICON AddIcon(IconData data) {
    IconTable& table = Icons();
    table.last += 4;
    table.icons.emplace(table.last, data);
    return reinterpret_cast<HICON>(table.last);
}

} // namespace

HICON CreateIconIndirect(const ICONINFO* info) {
    BITMAP bm{};
    if (!info || !info->hbmColor || !GetObject(info->hbmColor, sizeof bm, &bm))
        return nullptr;
    IconData data;
    data.color = CopyBitmap(info->hbmColor);
    data.mask = info->hbmMask ? CopyBitmap(info->hbmMask) : nullptr;
    if (!data.color || (info->hbmMask && !data.mask)) {
        DeleteObject(data.color);
        DeleteObject(data.mask);
        return nullptr;
    }
    data.size = SIZE{bm.bmWidth, bm.bmHeight};
    data.isIcon = info->fIcon;
    data.xHotspot = info->xHotspot;
    data.yHotspot = info->yHotspot;
    return AddIcon(data);
}

HICON CopyIcon(HICON icon) {
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return nullptr;
    HICON copy = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return copy;
}

BOOL DestroyIcon(HICON icon) {
    IconData* data = FindIcon(icon);
    if (!data)
        return FALSE;
    DeleteObject(data->color);
    DeleteObject(data->mask);
    Icons().icons.erase(reinterpret_cast<std::uintptr_t>(icon));
    return TRUE;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    IconData* data = FindIcon(icon);
    if (!data || !info)
        return FALSE;
    info->fIcon = data->isIcon;
    info->xHotspot = data->xHotspot;
    info->yHotspot = data->yHotspot;
    info->hbmColor = CopyBitmap(data->color);
    info->hbmMask = data->mask ? CopyBitmap(data->mask) : nullptr;
    return info->hbmColor ? TRUE : FALSE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
    IconData* data = FindIcon(icon);
    if (!data || !hdc || !(flags & DI_NORMAL))
        return FALSE;
    const int width = cx ? cx : data->size.cx;
    const int height = cy ? cy : data->size.cy;
    HDC mem = CreateCompatibleDC(hdc);
    if (!mem)
        return FALSE;
    // Monochrome sources take the text colour for 0 bits and the background
    // colour for 1 bits: black and white keep the mask as it is.
    const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
    const bool masked = data->mask && (flags & DI_MASK);
    HGDIOBJ old = nullptr;
    if (masked) {
        old = SelectObject(mem, data->mask);
        StretchBlt(hdc, x, y, width, height, mem, 0, 0, data->size.cx, data->size.cy,
                   (flags & DI_IMAGE) ? SRCAND : SRCCOPY);
    }
    if (flags & DI_IMAGE) {
        HGDIOBJ previous = SelectObject(mem, data->color);
        if (!old)
            old = previous;
        StretchBlt(hdc, x, y, width, height, mem, 0, 0, data->size.cx, data->size.cy,
                   masked ? SRCINVERT : SRCCOPY);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

namespace kw::user {
SIZE IconSize(HICON icon) {
    IconData* data = FindIcon(icon);
    return data ? data->size : SIZE{};
}
} // namespace kw::user
