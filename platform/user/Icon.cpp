// Icons: a table of image and mask pairs, drawn with the mask and the image.
#include "platform/user/Icon.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/GdiObjects.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

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

// [SECTION] Icon files

namespace {

std::uint32_t Read16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8;
}
std::uint32_t Read32(std::span<const std::uint8_t> d, std::size_t at) {
    return Read16(d, at) | Read16(d, at + 2) << 16;
}

// One image of an icon file: its packed bitmap with the doubled height.
HICON IconFromImage(std::span<const std::uint8_t> dib) {
    if (dib.size() < 40 || Read32(dib, 0) != 40)
        return nullptr;
    const auto width = std::int32_t(Read32(dib, 4));
    const auto doubled = std::int32_t(Read32(dib, 8));
    const std::uint32_t bits = Read16(dib, 14);
    if (width <= 0 || width > 256 || doubled <= 0 || doubled % 2 != 0 || doubled / 2 > 256)
        return nullptr;
    const int height = doubled / 2;
    // The image alone: the same header with the icon's own height.
    std::vector<std::uint8_t> image(dib.begin(), dib.end());
    image[8] = std::uint8_t(height);
    image[9] = std::uint8_t(height >> 8);
    image[10] = image[11] = 0;
    image[20] = image[21] = image[22] = image[23] = 0; // size image: computed
    const std::optional<BmpImage> colour = ReadBmp(image);
    if (!colour)
        return nullptr;
    // The mask follows the image's pixels.
    const std::uint32_t colours = Read32(dib, 32);
    const std::size_t palette = bits <= 8 ? 4u * (colours ? colours : 1u << bits) : 0u;
    const std::size_t imageRow = ((std::size_t(width) * bits + 31) / 32) * 4;
    const std::size_t maskRow = ((std::size_t(width) + 31) / 32) * 4;
    const std::size_t maskAt = 40 + palette + imageRow * std::size_t(height);
    if (dib.size() < maskAt + maskRow * std::size_t(height))
        return nullptr;
    BmpImage mask;
    mask.width = width;
    mask.height = height;
    mask.monochrome = true;
    mask.pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::size_t row = maskAt + maskRow * std::size_t(height - 1 - y); // bottom-up
        for (int x = 0; x < width; ++x) {
            const bool set = (dib[row + std::size_t(x / 8)] >> (7 - x % 8)) & 1;
            mask.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                set ? 0xFFFFFFu : 0u;
        }
    }
    ICONINFO info;
    info.hbmColor = CreateBitmapFromImage(*colour);
    info.hbmMask = CreateBitmapFromImage(mask);
    HICON icon = info.hbmColor && info.hbmMask ? CreateIconIndirect(&info) : nullptr;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return icon;
}

} // namespace

namespace kw::user {

HICON CreateIconFromIconFile(std::span<const std::uint8_t> data, int preferredSize) {
    if (data.size() < 6 || Read16(data, 0) != 0 || Read16(data, 2) != 1)
        return nullptr;
    const std::uint32_t count = Read16(data, 4);
    if (count == 0 || data.size() < 6 + 16 * std::size_t(count))
        return nullptr;
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * std::size_t(i);
        const int width = data[entry] ? data[entry] : 256;
        const int distance = width > preferredSize ? width - preferredSize : preferredSize - width;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = entry;
        }
    }
    const std::uint32_t size = Read32(data, best + 8);
    const std::uint32_t offset = Read32(data, best + 12);
    if (offset > data.size() || size > data.size() - offset)
        return nullptr;
    return IconFromImage(data.subspan(offset, size));
}

} // namespace kw::user
