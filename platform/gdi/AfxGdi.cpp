#include "platform/gdi/AfxGdi.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>

namespace {

// Non-owning wrappers handed out by FromHandle. An entry lives as long as
// its handle; entries of dead handles are swept when the map grows. The
// wrapper lets go of its handle before it is destroyed, so it never deletes
// what it does not own.
template <class T> struct Release {
    void operator()(T* wrapper) const {
        wrapper->Detach();
        delete wrapper;
    }
};

template <class T, class H> T* TemporaryFor(H handle, bool (*alive)(H)) {
    if (!handle || !alive(handle))
        return nullptr;
    static std::unordered_map<H, std::unique_ptr<T, Release<T>>> map;
    static std::size_t sweepAt = 64;
    if (auto it = map.find(handle); it != map.end())
        return it->second.get();
    if (map.size() >= sweepAt) {
        std::erase_if(map, [&](const auto& entry) { return !alive(entry.first); });
        sweepAt = std::max<std::size_t>(64, map.size() * 2);
    }
    std::unique_ptr<T, Release<T>> wrapper(new T);
    wrapper->Attach(handle);
    T* raw = wrapper.get();
    map.emplace(handle, std::move(wrapper));
    return raw;
}

bool GdiAlive(HGDIOBJ h) {
    return GetObjectType(h) != 0;
}
template <class H> bool AliveAs(H h) {
    return GdiAlive(h);
}

} // namespace

// [SECTION] GDI objects

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
    return TemporaryFor<CGdiObject, HGDIOBJ>(handle, AliveAs<HGDIOBJ>);
}

CPen* CPen::FromHandle(HPEN handle) {
    return TemporaryFor<CPen, HPEN>(handle, AliveAs<HPEN>);
}

CBrush* CBrush::FromHandle(HBRUSH handle) {
    return TemporaryFor<CBrush, HBRUSH>(handle, AliveAs<HBRUSH>);
}

BOOL CBrush::CreateSysColorBrush(int index) {
    // System brushes ignore DeleteObject, so owning one is harmless.
    return Attach(GetSysColorBrush(index));
}

CFont* CFont::FromHandle(HFONT handle) {
    return TemporaryFor<CFont, HFONT>(handle, AliveAs<HFONT>);
}

BOOL CFont::CreatePointFont(int pointSize, const char* faceName, CDC* dc) {
    LOGFONT lf{};
    lf.lfHeight = pointSize;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lf, CDC* dc) {
    if (!lf)
        return FALSE;
    const int dpi = dc && dc->m_hDC ? ::GetDeviceCaps(dc->m_hDC, LOGPIXELSY) : 96;
    LOGFONT scaled = *lf;
    const int pixels = dpi * lf->lfHeight / 720; // Tenths of a point, truncated.
    scaled.lfHeight = -(pixels < 0 ? -pixels : pixels);
    return CreateFontIndirect(&scaled);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

CBitmap* CBitmap::FromHandle(HBITMAP handle) {
    return TemporaryFor<CBitmap, HBITMAP>(handle, AliveAs<HBITMAP>);
}

// [SECTION] CDC

BOOL CDC::Attach(HDC hdc) {
    if (!hdc || m_hDC)
        return FALSE;
    m_hDC = hdc;
    m_owned = false;
    return TRUE;
}

HDC CDC::Detach() {
    m_owned = false;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    if (m_hDC)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_owned = m_hDC != nullptr;
    return m_hDC ? TRUE : FALSE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    const BOOL ok = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_owned = false;
    return ok;
}

CDC* CDC::FromHandle(HDC hdc) {
    return TemporaryFor<CDC, HDC>(hdc, AliveAs<HDC>);
}

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen)
        return nullptr;
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush)
        return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* font) {
    if (!font)
        return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!bitmap)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)));
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ stock = GetStockObject(index);
    if (!stock)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, stock));
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    POINT old{};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const {
    POINT org{};
    ::GetViewportOrgEx(m_hDC, &org);
    return org;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::MoveTo(int x, int y) {
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetCurrentPosition() const {
    POINT pt{};
    ::GetCurrentPositionEx(m_hDC, &pt);
    return pt;
}

void CDC::FillSolidRect(const RECT* rc, COLORREF color) {
    ::SetBkColor(m_hDC, color);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
}

void CDC::Draw3dRect(const RECT* rc, COLORREF topLeft, COLORREF bottomRight) {
    if (rc)
        Draw3dRect(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, topLeft,
                   bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CSize CDC::GetTextExtent(const char* text, int count) const {
    SIZE size{};
    ::GetTextExtentPoint32(m_hDC, text, count, &size);
    return size;
}

// [SECTION] CImageList

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
    return Attach(ImageList_LoadResourceBitmap(bitmapId, cx, grow, mask));
}

BOOL CImageList::Create(HBITMAP bitmap, int cx, int grow, COLORREF mask) {
    return Attach(ImageList_CreateFromBitmap(bitmap, cx, grow, mask));
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (!list || m_hImageList)
        return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    return std::exchange(m_hImageList, nullptr);
}
