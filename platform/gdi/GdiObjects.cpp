#include "platform/gdi/GdiObjects.h"

#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <array>
#include <cstring>

using namespace gdi;

namespace {

// Larger bitmaps are refused: 64 Mi pixels, 256 MiB of 32-bit pixels.
constexpr long long kMaxBitmapPixels = 1LL << 26;

bool SizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width * height <= kMaxBitmapPixels;
}

std::shared_ptr<Bitmap> MakeBitmap(int width, int height, bool mono) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->m_width = width;
    bitmap->m_height = height;
    bitmap->m_mono = mono;
    bitmap->m_pixels.assign(std::size_t(width) * std::size_t(height), 0);
    return bitmap;
}

LOGFONTA MakeLogFont(int height, int weight, const char* face) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

struct StockObjects {
    std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> m_handles{};
    HBITMAP m_bitmap{nullptr};

    StockObjects() {
        auto brush = [](COLORREF color, bool null) {
            auto b = std::make_shared<Brush>();
            b->m_color = color;
            b->m_null = null;
            return b;
        };
        auto pen = [](int style, COLORREF color) {
            auto p = std::make_shared<Pen>();
            p->m_style = style;
            p->m_width = 0;
            p->m_color = color;
            return p;
        };
        auto font = [](LOGFONTA lf) {
            auto f = std::make_shared<Font>();
            f->m_logFont = lf;
            return f;
        };
        Add(WHITE_BRUSH, brush(RGB(255, 255, 255), false));
        Add(LTGRAY_BRUSH, brush(RGB(192, 192, 192), false));
        Add(GRAY_BRUSH, brush(RGB(128, 128, 128), false));
        Add(DKGRAY_BRUSH, brush(RGB(64, 64, 64), false));
        Add(BLACK_BRUSH, brush(RGB(0, 0, 0), false));
        Add(NULL_BRUSH, brush(0, true));
        Add(WHITE_PEN, pen(PS_SOLID, RGB(255, 255, 255)));
        Add(BLACK_PEN, pen(PS_SOLID, RGB(0, 0, 0)));
        Add(NULL_PEN, pen(PS_NULL, 0));
        Add(OEM_FIXED_FONT, font(MakeLogFont(12, FW_NORMAL, "Courier New")));
        Add(ANSI_FIXED_FONT, font(MakeLogFont(12, FW_NORMAL, "Courier New")));
        Add(ANSI_VAR_FONT, font(MakeLogFont(12, FW_NORMAL, "MS Sans Serif")));
        Add(SYSTEM_FONT, font(MakeLogFont(16, FW_BOLD, "System")));
        Add(DEVICE_DEFAULT_FONT, font(MakeLogFont(16, FW_BOLD, "System")));
        Add(SYSTEM_FIXED_FONT, font(MakeLogFont(12, FW_NORMAL, "Courier New")));
        // 8 points at 96 dots per inch.
        Add(DEFAULT_GUI_FONT, font(MakeLogFont(-11, FW_NORMAL, "MS Shell Dlg")));
        auto bitmap = MakeBitmap(1, 1, true);
        bitmap->m_stock = true;
        m_bitmap = static_cast<HBITMAP>(AddObject(bitmap));
    }

    void Add(int index, std::shared_ptr<GdiObject> object) {
        object->m_stock = true;
        m_handles[std::size_t(index)] = AddObject(std::move(object));
    }
};

StockObjects& Stock() {
    static StockObjects stock;
    return stock;
}

} // namespace

PixelSurface Bitmap::View() {
    PixelSurface s;
    s.width = m_width;
    s.height = m_height;
    if (m_pixels.empty())
        return s;
    if (m_bottomUp) {
        s.pixels = m_pixels.data() + std::size_t(m_height - 1) * std::size_t(m_width);
        s.stride = -std::ptrdiff_t(m_width) * 4;
    } else {
        s.pixels = m_pixels.data();
        s.stride = std::ptrdiff_t(m_width) * 4;
    }
    return s;
}

namespace gdi {
HBITMAP StockBitmap() {
    return Stock().m_bitmap;
}
} // namespace gdi

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index >= int(Stock().m_handles.size()))
        return nullptr;
    return Stock().m_handles[std::size_t(index)];
}

HPEN CreatePen(int style, int width, COLORREF color) {
    const int kind = style & PS_STYLE_MASK;
    if (kind > PS_INSIDEFRAME)
        return nullptr;
    auto pen = std::make_shared<Pen>();
    pen->m_style = kind;
    pen->m_width = std::max(width, 0);
    pen->m_color = color & 0x00FFFFFF;
    return static_cast<HPEN>(AddObject(pen));
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
    if (!lp)
        return nullptr;
    return CreatePen(int(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto brush = std::make_shared<Brush>();
    brush->m_color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(AddObject(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb)
        return nullptr;
    if (lb->lbStyle == BS_NULL)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (lb->lbStyle != BS_SOLID)
        return nullptr;
    return CreateSolidBrush(lb->lbColor);
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
    if (!lf)
        return nullptr;
    auto font = std::make_shared<Font>();
    font->m_logFont = *lf;
    font->m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(AddObject(font));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* faceName) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic);
    lf.lfUnderline = BYTE(underline);
    lf.lfStrikeOut = BYTE(strikeOut);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32))
        return nullptr;
    if (width == 0 || height == 0)
        return StockBitmap();
    if (!SizeAllowed(width, height))
        return nullptr;
    auto bitmap = MakeBitmap(width, height, bitsPerPixel == 1);
    if (bits) {
        const auto* bytes = static_cast<const BYTE*>(bits);
        if (bitmap->m_mono) {
            const std::size_t rowBytes = std::size_t((width + 15) / 16) * 2;
            for (int y = 0; y < height; ++y) {
                const BYTE* row = bytes + std::size_t(y) * rowBytes;
                for (int x = 0; x < width; ++x) {
                    const bool white = (row[x / 8] >> (7 - x % 8)) & 1;
                    bitmap->m_pixels[std::size_t(y) * width + x] = white ? 0xFFFFFF : 0;
                }
            }
        } else {
            std::memcpy(bitmap->m_pixels.data(), bits, bitmap->m_pixels.size() * 4);
            for (auto& p : bitmap->m_pixels)
                p &= kPixelMask;
        }
    }
    return static_cast<HBITMAP>(AddObject(bitmap));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    auto dc = FindDc(hdc);
    if (!dc || width < 0 || height < 0)
        return nullptr;
    if (width == 0 || height == 0)
        return StockBitmap();
    return CreateBitmap(width, height, 1, dc->IsMonochrome() ? 1 : 32, nullptr);
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, void*, DWORD) {
    if (bits)
        *bits = nullptr;
    if (hdc && !FindDc(hdc))
        return nullptr;
    if (!info || usage != DIB_RGB_COLORS)
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biBitCount != 32 ||
        h.biCompression != BI_RGB)
        return nullptr;
    const long long height = h.biHeight < 0 ? -(long long)h.biHeight : h.biHeight;
    if (!SizeAllowed(h.biWidth, height))
        return nullptr;
    auto bitmap = MakeBitmap(h.biWidth, int(height), false);
    bitmap->m_dib = true;
    bitmap->m_bottomUp = h.biHeight > 0;
    if (bits)
        *bits = bitmap->m_pixels.data();
    return static_cast<HBITMAP>(AddObject(bitmap));
}

bool GetBitmapSurface(HBITMAP handle, PixelSurface* surface) {
    auto bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!bitmap || !surface)
        return false;
    *surface = bitmap->View();
    return true;
}

bool IsMonochromeBitmap(HBITMAP handle) {
    auto bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    return bitmap && bitmap->m_mono;
}

int GetDIBits(HDC hdc, HBITMAP handle, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage) {
    auto bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!FindDc(hdc) || !bitmap || !info || usage != DIB_RGB_COLORS)
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    if (!bits) {
        h.biWidth = bitmap->m_width;
        h.biHeight = bitmap->m_height;
        h.biPlanes = 1;
        h.biBitCount = bitmap->m_mono ? 1 : 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = bitmap->m_mono ? DWORD(((bitmap->m_width + 31) / 32) * 4 * bitmap->m_height)
                                       : DWORD(bitmap->m_width * 4 * bitmap->m_height);
        return bitmap->m_height;
    }
    // Only 32-bit copies of the bitmap's own size.
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth != bitmap->m_width)
        return 0;
    const bool bottomUp = h.biHeight > 0;
    const long long height = bottomUp ? h.biHeight : -(long long)h.biHeight;
    if (height != bitmap->m_height || start >= UINT(height))
        return 0;
    const UINT count = std::min<UINT>(lines, UINT(height) - start);
    const PixelSurface src = bitmap->View();
    auto* out = static_cast<std::uint32_t*>(bits);
    for (UINT line = 0; line < count; ++line) {
        const int scan = int(start + line);
        const int y = bottomUp ? int(height) - 1 - scan : scan;
        std::memcpy(out + std::size_t(line) * src.width, src.Row(y), std::size_t(src.width) * 4);
    }
    return int(count);
}

int GetObject(HGDIOBJ handle, int size, void* buffer) {
    auto object = FindObject(handle);
    if (!object || size < 0)
        return 0;
    auto copy = [&](const auto& value) -> int {
        const int needed = int(sizeof(value));
        if (!buffer)
            return needed;
        const int n = std::min(size, needed);
        std::memcpy(buffer, &value, std::size_t(n));
        return n;
    };
    switch (object->m_type) {
    case OBJ_PEN: {
        const auto& pen = static_cast<const Pen&>(*object);
        LOGPEN lp{UINT(pen.m_style), POINT{pen.m_width, 0}, pen.m_color};
        return copy(lp);
    }
    case OBJ_BRUSH: {
        const auto& brush = static_cast<const Brush&>(*object);
        LOGBRUSH lb{brush.m_null ? BS_NULL : BS_SOLID, brush.m_color, 0};
        return copy(lb);
    }
    case OBJ_FONT:
        return copy(static_cast<const Font&>(*object).m_logFont);
    case OBJ_BITMAP: {
        auto& bitmap = static_cast<Bitmap&>(*object);
        BITMAP bm;
        bm.bmWidth = bitmap.m_width;
        bm.bmHeight = bitmap.m_height;
        bm.bmWidthBytes = bitmap.m_mono ? ((bitmap.m_width + 15) / 16) * 2 : bitmap.m_width * 4;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = bitmap.m_mono ? 1 : 32;
        bm.bmBits = bitmap.m_dib ? bitmap.m_pixels.data() : nullptr;
        return copy(bm);
    }
    default:
        return 0;
    }
}

BOOL DeleteObject(HGDIOBJ handle) {
    auto object = FindObject(handle);
    if (!object)
        return FALSE;
    if (object->m_stock)
        return TRUE;
    if (object->m_type == OBJ_DC || object->m_type == OBJ_MEMDC)
        return FALSE;
    RemoveObject(handle);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
    auto object = FindObject(handle);
    return object ? object->m_type : 0;
}
