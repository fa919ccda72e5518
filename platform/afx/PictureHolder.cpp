// Picture properties: drawing, extent and the persisted form.
//
// [SECTION] Base64 and BMP files
// [SECTION] Creating
// [SECTION] Drawing and extent
// [SECTION] Persistence
#include "platform/afx/PictureHolder.h"

#include "platform/gdi/BmpReader.h"
#include "platform/gdi/Surface.h"

#include <cstdint>
#include <vector>

namespace {

// [SECTION] Base64 and BMP files

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(const std::vector<std::uint8_t>& data) {
    std::string text;
    text.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        const std::uint32_t n = (std::uint32_t(data[i]) << 16) |
                                (i + 1 < data.size() ? std::uint32_t(data[i + 1]) << 8 : 0) |
                                (i + 2 < data.size() ? std::uint32_t(data[i + 2]) : 0);
        text += kBase64[(n >> 18) & 63];
        text += kBase64[(n >> 12) & 63];
        text += i + 1 < data.size() ? kBase64[(n >> 6) & 63] : '=';
        text += i + 2 < data.size() ? kBase64[n & 63] : '=';
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> data;
    data.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t n = 0;
        int padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            int value = 0;
            if (c == '=' && i + 4 == text.size() && k >= 2) {
                ++padding;
            } else if (padding) {
                return std::nullopt; // Data after padding.
            } else if (const char* p = std::char_traits<char>::find(kBase64, 64, c)) {
                value = int(p - kBase64);
            } else {
                return std::nullopt;
            }
            n = (n << 6) | std::uint32_t(value);
        }
        data.push_back(std::uint8_t(n >> 16));
        if (padding < 2)
            data.push_back(std::uint8_t(n >> 8));
        if (padding < 1)
            data.push_back(std::uint8_t(n));
    }
    return data;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A 24-bit BMP file of the bitmap's pixels.
std::vector<std::uint8_t> EncodeBmp(HBITMAP bitmap) {
    PixelSurface surface;
    if (!GetBitmapSurface(bitmap, &surface) || !surface.IsValid())
        return {};
    const std::uint32_t rowBytes = (std::uint32_t(surface.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(surface.height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, std::uint32_t(surface.width));
    Put32(out, std::uint32_t(surface.height)); // Bottom-up rows.
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, BI_RGB);
    Put32(out, imageBytes);
    Put32(out, 3780); // 96 pixels per inch.
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = surface.height - 1; y >= 0; --y) {
        std::size_t written = 0;
        for (int x = 0; x < surface.width; ++x) {
            const std::uint32_t p = surface.At(x, y);
            out.push_back(std::uint8_t(p));       // blue
            out.push_back(std::uint8_t(p >> 8));  // green
            out.push_back(std::uint8_t(p >> 16)); // red
            written += 3;
        }
        for (; written < rowBytes; ++written)
            out.push_back(0);
    }
    return out;
}

HBITMAP DecodeBmp(std::string_view base64) {
    const auto bytes = DecodeBase64(base64);
    return bytes ? CreateBitmapFromBmp(*bytes) : nullptr;
}

// A monochrome copy: white pixels become set bits.
HBITMAP MonochromeFrom(HBITMAP colour) {
    BITMAP bm{};
    if (!GetObject(colour, sizeof bm, &bm))
        return nullptr;
    if (IsMonochromeBitmap(colour))
        return colour;
    HBITMAP mono = CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, colour);
    HGDIOBJ oldTo = SelectObject(to, mono);
    SetBkColor(from, RGB(255, 255, 255));
    BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(colour);
    return mono;
}

constexpr std::string_view kBitmapTag = "bitmap:";
constexpr std::string_view kIconTag = "icon:";

} // namespace

// [SECTION] Creating

void CPictureHolder::Clear() {
    if (m_owned) {
        if (m_bitmap)
            DeleteObject(m_bitmap);
        if (m_icon)
            DestroyIcon(m_icon);
    }
    m_type = PICTYPE_NONE;
    m_bitmap = nullptr;
    m_icon = nullptr;
    m_owned = false;
}

BOOL CPictureHolder::CreateEmpty() {
    Clear();
    return TRUE;
}

BOOL CPictureHolder::CreateFromBitmap(UINT idResource) {
    HBITMAP bitmap = LoadResourceBitmap(idResource);
    return bitmap ? CreateFromBitmap(bitmap, TRUE) : FALSE;
}

BOOL CPictureHolder::CreateFromBitmap(HBITMAP bitmap, BOOL transferOwnership) {
    if (GetObjectType(bitmap) != OBJ_BITMAP)
        return FALSE;
    if (bitmap == m_bitmap && m_type == PICTYPE_BITMAP) {
        m_owned = m_owned || transferOwnership;
        return TRUE;
    }
    Clear();
    m_type = PICTYPE_BITMAP;
    m_bitmap = bitmap;
    m_owned = transferOwnership;
    return TRUE;
}

BOOL CPictureHolder::CreateFromBitmap(CBitmap* bitmap, BOOL transferOwnership) {
    if (!bitmap || !bitmap->GetSafeHandle())
        return FALSE;
    const auto handle = static_cast<HBITMAP>(bitmap->GetSafeHandle());
    if (!CreateFromBitmap(handle, transferOwnership))
        return FALSE;
    if (transferOwnership)
        bitmap->Detach();
    return TRUE;
}

BOOL CPictureHolder::CreateFromIcon(HICON icon, BOOL transferOwnership) {
    if (kw::user::IconSize(icon).cx <= 0)
        return FALSE;
    if (icon == m_icon && m_type == PICTYPE_ICON) {
        m_owned = m_owned || transferOwnership;
        return TRUE;
    }
    Clear();
    m_type = PICTYPE_ICON;
    m_icon = icon;
    m_owned = transferOwnership;
    return TRUE;
}

// [SECTION] Drawing and extent

CSize CPictureHolder::GetPixelSize() const {
    if (m_type == PICTYPE_ICON)
        return CSize(kw::user::IconSize(m_icon));
    BITMAP bm{};
    if (m_type == PICTYPE_BITMAP && GetObject(m_bitmap, sizeof bm, &bm))
        return CSize(bm.bmWidth, bm.bmHeight);
    return CSize(0, 0);
}

BOOL CPictureHolder::GetHimetricExtent(OLE_XSIZE_HIMETRIC* cx, OLE_YSIZE_HIMETRIC* cy) const {
    const CSize size = GetPixelSize();
    if (cx)
        *cx = HimetricFromPixels(size.cx);
    if (cy)
        *cy = HimetricFromPixels(size.cy);
    return m_type != PICTYPE_NONE;
}

BOOL CPictureHolder::GetDisplayString(CString& text) const {
    switch (m_type) {
    case PICTYPE_BITMAP:
        text = "(Bitmap)";
        break;
    case PICTYPE_ICON:
        text = "(Icon)";
        break;
    default:
        text = "(None)";
        break;
    }
    return TRUE;
}

void CPictureHolder::Render(CDC* dc, const CRect& rcRender, const CRect&) {
    if (!dc || !dc->GetSafeHdc() || rcRender.Width() == 0 || rcRender.Height() == 0)
        return;
    const CSize size = GetPixelSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    if (m_type == PICTYPE_ICON) {
        DrawIconEx(*dc, rcRender.left, rcRender.top, m_icon, rcRender.Width(), rcRender.Height(), 0,
                   nullptr, DI_NORMAL);
        return;
    }
    HDC mem = CreateCompatibleDC(*dc);
    HGDIOBJ old = SelectObject(mem, m_bitmap);
    StretchBlt(*dc, rcRender.left, rcRender.top, rcRender.Width(), rcRender.Height(), mem, 0, 0,
               size.cx, size.cy, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// [SECTION] Persistence

std::string CPictureHolder::ToString() const {
    if (m_type == PICTYPE_BITMAP)
        return std::string(kBitmapTag) + EncodeBase64(EncodeBmp(m_bitmap));
    if (m_type == PICTYPE_ICON) {
        ICONINFO info;
        if (!GetIconInfo(m_icon, &info))
            return {};
        std::string text = std::string(kIconTag) + EncodeBase64(EncodeBmp(info.hbmColor));
        if (info.hbmMask) {
            text += ',';
            text += EncodeBase64(EncodeBmp(info.hbmMask));
        }
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return text;
    }
    return {};
}

bool CPictureHolder::FromString(std::string_view text) {
    if (text.empty())
        return CreateEmpty();
    if (text.starts_with(kBitmapTag)) {
        HBITMAP bitmap = DecodeBmp(text.substr(kBitmapTag.size()));
        return bitmap && CreateFromBitmap(bitmap, TRUE);
    }
    if (text.starts_with(kIconTag)) {
        text.remove_prefix(kIconTag.size());
        const std::size_t comma = text.find(',');
        ICONINFO info;
        info.hbmColor = DecodeBmp(text.substr(0, comma));
        if (comma != std::string_view::npos) {
            HBITMAP mask = DecodeBmp(text.substr(comma + 1));
            info.hbmMask = mask ? MonochromeFrom(mask) : nullptr;
            if (!info.hbmMask) {
                DeleteObject(info.hbmColor);
                return false;
            }
        }
        HICON icon = info.hbmColor ? CreateIconIndirect(&info) : nullptr;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return icon && CreateFromIcon(icon, TRUE);
    }
    return false;
}

namespace {

BOOL ExchangePicture(CPropExchange* pPX, LPCTSTR name, CPictureHolder& picture,
                     const CPictureHolder* fallback) {
    if (!pPX)
        return FALSE;
    CComVariant current, def;
    if (!pPX->IsResetting()) {
        current.vt = VT_BSTR;
        current.bstrVal = SysAllocStringView(picture.ToString());
    }
    if (fallback) {
        def.vt = VT_BSTR;
        def.bstrVal = SysAllocStringView(fallback->ToString());
    }
    const bool exchanged = pPX->ExchangeVariant(name, &current, VT_BSTR, fallback ? &def : nullptr);
    if (!pPX->IsLoading())
        return exchanged;
    if (exchanged && current.vt == VT_BSTR && picture.FromString(BstrView(current.bstrVal)))
        return TRUE;
    // Missing, reset, or not a picture: the default, or nothing changes.
    if (fallback && !picture.FromString(BstrView(def.bstrVal)))
        picture.CreateEmpty();
    return TRUE;
}

} // namespace

BOOL PX_Picture(CPropExchange* pPX, LPCTSTR name, CPictureHolder& picture) {
    return ExchangePicture(pPX, name, picture, nullptr);
}

BOOL PX_Picture(CPropExchange* pPX, LPCTSTR name, CPictureHolder& picture,
                const CPictureHolder& defaultValue) {
    return ExchangePicture(pPX, name, picture, &defaultValue);
}
