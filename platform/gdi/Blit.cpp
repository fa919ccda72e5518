// Block transfers with ternary raster operations.
#include "platform/gdi/Draw.h"
#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace gdi;

namespace {

// Bit i of the operation's index byte is the result for pattern, source and
// destination bits p, s, d with i = 4p + 2s + d.
constexpr std::uint8_t Index(DWORD rop) {
    return std::uint8_t((rop >> 16) & 0xFF);
}
constexpr bool UsesSource(std::uint8_t code) {
    return ((code >> 2) ^ code) & 0x33;
}
constexpr bool UsesPattern(std::uint8_t code) {
    return ((code >> 4) ^ code) & 0x0F;
}

std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (code) {
    case 0xCC:
        return s;
    case 0x88:
        return s & d;
    case 0x66:
        return s ^ d;
    case 0xEE:
        return s | d;
    case 0x33:
        return ~s & kPixelMask;
    case 0x55:
        return ~d & kPixelMask;
    case 0xF0:
        return p;
    case 0x5A:
        return p ^ d;
    case 0x00:
        return 0;
    case 0xFF:
        return kPixelMask;
    case 0xAA:
        return d;
    default:
        break;
    }
    std::uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1))
            continue;
        result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return result & kPixelMask;
}

// One row of a transfer: dst[i] = rop(p, src[i], dst[i]).
void CombineRow(std::uint8_t code, std::uint32_t p, const std::uint32_t* src, std::uint32_t* dst,
                int count) {
    switch (code) {
    case 0xCC:
        std::memmove(dst, src, std::size_t(count) * 4);
        return;
    case 0x88:
        for (int i = 0; i < count; ++i)
            dst[i] &= src[i];
        return;
    case 0x66:
        for (int i = 0; i < count; ++i)
            dst[i] ^= src[i];
        return;
    case 0xEE:
        for (int i = 0; i < count; ++i)
            dst[i] |= src[i];
        return;
    default:
        for (int i = 0; i < count; ++i)
            dst[i] = Rop3(code, p, src ? src[i] : 0, dst[i]);
        return;
    }
}

bool DoPattern(const Dc& dc, RECT area, std::uint8_t code) {
    Raster raster(dc);
    std::uint32_t pattern = 0;
    if (UsesPattern(code) && !BrushPixel(dc, dc.m_state.m_brush.get(), &pattern))
        return true; // A null brush paints nothing.
    IntersectRect(&area, &area, &raster.Clip());
    const PixelSurface& t = raster.Target();
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = t.Row(y) + area.left;
        const int n = area.right - area.left;
        if (code == 0xF0 || code == 0x00 || code == 0xFF) {
            const std::uint32_t v = code == 0xF0 ? pattern : code == 0x00 ? 0 : kPixelMask;
            std::fill(row, row + n, v);
        } else {
            CombineRow(code, pattern, nullptr, row, n);
        }
    }
    return true;
}

} // namespace

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    auto dc = FindDc(hdc);
    const std::uint8_t code = Index(rop);
    if (!dc || UsesSource(code))
        return FALSE;
    return DoPattern(*dc, ToDevice(*dc, RECT{x, y, x + width, y + height}), code);
}

BOOL StretchBlt(HDC hdcDst, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
                int widthSrc, int heightSrc, DWORD rop) {
    auto dst = FindDc(hdcDst);
    const std::uint8_t code = Index(rop);
    if (!dst)
        return FALSE;
    if (!UsesSource(code))
        return DoPattern(*dst, ToDevice(*dst, RECT{x, y, x + width, y + height}), code);
    auto src = FindDc(hdcSrc);
    if (!src || width == 0 || height == 0 || widthSrc == 0 || heightSrc == 0)
        return src ? TRUE : FALSE;
    // Mirroring by negative extents is not supported; such calls draw nothing.
    if (width < 0 || height < 0 || widthSrc < 0 || heightSrc < 0)
        return FALSE;

    const PixelSurface srcSurface = src->Target();
    const POINT so = src->Offset();
    const POINT dOff = dst->Offset();
    Raster raster(*dst);
    RECT area{x + dOff.x, y + dOff.y, x + dOff.x + width, y + dOff.y + height};
    RECT visible;
    if (!srcSurface.IsValid() || !IntersectRect(&visible, &area, &raster.Clip()))
        return TRUE;

    // Source conversion between monochrome and colour.
    const bool srcMono = src->IsMonochrome(), dstMono = dst->IsMonochrome();
    const std::uint32_t fore = dst->PixelOf(dst->m_state.m_textColor);
    const std::uint32_t back = dst->PixelOf(dst->m_state.m_bkColor);
    const std::uint32_t srcBack = PixelFromColor(src->m_state.m_bkColor);
    auto convert = [&](std::uint32_t s) -> std::uint32_t {
        if (srcMono && !dstMono)
            return s ? back : fore;
        if (!srcMono && dstMono)
            return s == srcBack ? kPixelMask : 0;
        return s;
    };

    std::uint32_t pattern = 0;
    if (UsesPattern(code) && !BrushPixel(*dst, dst->m_state.m_brush.get(), &pattern))
        pattern = 0;

    // Fetch the source first so that overlapping transfers read the
    // original pixels. Source pixels outside the source surface leave the
    // destination alone.
    const int cols = visible.right - visible.left;
    std::vector<std::uint32_t> fetched(std::size_t(cols) *
                                       std::size_t(visible.bottom - visible.top));
    std::vector<bool> valid(fetched.size());
    for (int dy = visible.top; dy < visible.bottom; ++dy) {
        const long long sy = ySrc + so.y + (long long)(dy - area.top) * heightSrc / height;
        for (int dx = visible.left; dx < visible.right; ++dx) {
            const long long sx = xSrc + so.x + (long long)(dx - area.left) * widthSrc / width;
            const std::size_t i =
                std::size_t(dy - visible.top) * cols + std::size_t(dx - visible.left);
            if (sx < 0 || sy < 0 || sx >= srcSurface.width || sy >= srcSurface.height)
                continue;
            fetched[i] = convert(srcSurface.At(int(sx), int(sy)) & kPixelMask);
            valid[i] = true;
        }
    }
    const PixelSurface& t = raster.Target();
    for (int dy = visible.top; dy < visible.bottom; ++dy) {
        std::uint32_t* out = t.Row(dy);
        const std::size_t base = std::size_t(dy - visible.top) * cols;
        for (int dx = visible.left; dx < visible.right; ++dx) {
            const std::size_t i = base + std::size_t(dx - visible.left);
            if (valid[i])
                out[dx] = Rop3(code, pattern, fetched[i], out[dx]);
        }
    }
    return TRUE;
}

BOOL BitBlt(HDC hdcDst, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
            DWORD rop) {
    auto dst = FindDc(hdcDst);
    const std::uint8_t code = Index(rop);
    if (!dst)
        return FALSE;
    if (!UsesSource(code))
        return DoPattern(*dst, ToDevice(*dst, RECT{x, y, x + width, y + height}), code);
    auto src = FindDc(hdcSrc);
    if (!src)
        return FALSE;
    if (width <= 0 || height <= 0)
        return TRUE;

    const PixelSurface srcSurface = src->Target();
    if (!srcSurface.IsValid())
        return TRUE;
    const POINT so = src->Offset();
    const POINT dOff = dst->Offset();
    Raster raster(*dst);
    // Destination area, then narrowed to the clip and to what the source has.
    RECT area{x + dOff.x, y + dOff.y, x + dOff.x + width, y + dOff.y + height};
    const int shiftX = xSrc + so.x - area.left, shiftY = ySrc + so.y - area.top;
    RECT srcInDst{-shiftX, -shiftY, srcSurface.width - shiftX, srcSurface.height - shiftY};
    if (!IntersectRect(&area, &area, &raster.Clip()) || !IntersectRect(&area, &area, &srcInDst))
        return TRUE;

    const bool srcMono = src->IsMonochrome(), dstMono = dst->IsMonochrome();
    const bool convert = srcMono != dstMono;
    const std::uint32_t fore = dst->PixelOf(dst->m_state.m_textColor);
    const std::uint32_t back = dst->PixelOf(dst->m_state.m_bkColor);
    const std::uint32_t srcBack = PixelFromColor(src->m_state.m_bkColor);
    std::uint32_t pattern = 0;
    if (UsesPattern(code) && !BrushPixel(*dst, dst->m_state.m_brush.get(), &pattern))
        pattern = 0;

    const int cols = area.right - area.left;
    const PixelSurface& t = raster.Target();
    // The same pixels on both sides: walk rows in the direction that reads
    // each source row before it is overwritten; memmove handles a row.
    const bool sameMemory = t.pixels == srcSurface.pixels;
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(cols));
    auto doRow = [&](int dy) {
        const std::uint32_t* s = srcSurface.Row(dy + shiftY) + area.left + shiftX;
        std::uint32_t* d = t.Row(dy) + area.left;
        if (convert || sameMemory || code != 0xCC) {
            for (int i = 0; i < cols; ++i) {
                std::uint32_t v = s[i] & kPixelMask;
                if (srcMono && !dstMono)
                    v = v ? back : fore;
                else if (!srcMono && dstMono)
                    v = v == srcBack ? kPixelMask : 0;
                buffer[std::size_t(i)] = v;
            }
            s = buffer.data();
        }
        CombineRow(code, pattern, s, d, cols);
    };
    if (sameMemory && shiftY < 0) {
        for (int dy = area.bottom - 1; dy >= area.top; --dy)
            doRow(dy);
    } else {
        for (int dy = area.top; dy < area.bottom; ++dy)
            doRow(dy);
    }
    return TRUE;
}
