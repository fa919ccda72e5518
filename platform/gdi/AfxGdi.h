#pragma once
// The framework's drawing classes over the handle interface: CGdiObject,
// CPen, CBrush, CFont, CBitmap, CDC and CImageList. They own their handle
// (deleted with the object) unless it was attached with FromHandle, which
// gives a wrapper that owns nothing.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"

#include <string_view>

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return ::GetObject(m_hObject, size, buffer); }
    // A wrapper that does not own the handle, valid while the handle lives.
    static CGdiObject* FromHandle(HGDIOBJ handle);

    HGDIOBJ m_hObject{nullptr};
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) {
        return Attach(::CreatePen(style, width, color));
    }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN handle);
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    // The system's brush, which stays the system's: not deleted with this.
    BOOL CreateSysColorBrush(int index);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH handle);
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* lf) { return Attach(::CreateFontIndirect(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName) {
        return Attach(::CreateFont(height, width, escapement, orientation, weight, italic,
                                   underline, strikeOut, charSet, outPrecision, clipPrecision,
                                   quality, pitchAndFamily, faceName));
    }
    // Size in tenths of a point at 96 dots per inch, truncated as the
    // framework does: 80 gives a character height of 10 pixels.
    BOOL CreatePointFont(int pointSize, const char* faceName, class CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* lf, class CDC* dc = nullptr);
    int GetLogFont(LOGFONT* lf) const { return GetObject(sizeof(LOGFONT), lf); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT handle);
};

class CBitmap : public CGdiObject {
public:
    // From the installed resource loader (see SetResourceBitmapLoader).
    BOOL LoadBitmap(UINT id) { return Attach(LoadResourceBitmap(id)); }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits) {
        return Attach(::CreateBitmap(width, height, planes, bpp, bits));
    }
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP handle);
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC() {
        if (m_owned)
            DeleteDC();
    }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // Attached DCs are not deleted by this object.
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    static CDC* FromHandle(HDC hdc);

    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int level) { return ::RestoreDC(m_hDC, level); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int rop2) { return ::SetROP2(m_hDC, rop2); }
    UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const;
    CPoint SetWindowOrg(int x, int y);
    int GetClipBox(RECT* rc) const { return ::GetClipBox(m_hDC, rc); }
    int IntersectClipRect(int l, int t, int r, int b) {
        return ::IntersectClipRect(m_hDC, l, t, r, b);
    }
    int IntersectClipRect(const RECT* rc) {
        return rc ? ::IntersectClipRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom) : ERROR;
    }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT pt) { return ::LineTo(m_hDC, pt.x, pt.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* pts, int count) { return ::Polyline(m_hDC, pts, count); }
    BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* rc) {
        return rc && ::Rectangle(m_hDC, rc->left, rc->top, rc->right, rc->bottom);
    }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(const RECT* rc) {
        return rc && ::Ellipse(m_hDC, rc->left, rc->top, rc->right, rc->bottom);
    }
    void FillRect(const RECT* rc, CBrush* brush) {
        ::FillRect(m_hDC, rc, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
    }
    void FrameRect(const RECT* rc, CBrush* brush) {
        ::FrameRect(m_hDC, rc, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
    }
    void InvertRect(const RECT* rc) { ::InvertRect(m_hDC, rc); }
    // Leaves the background colour set to `color`, as the framework does.
    void FillSolidRect(const RECT* rc, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
        const RECT rc{x, y, x + cx, y + cy};
        FillSolidRect(&rc, color);
    }
    void Draw3dRect(const RECT* rc, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF SetPixel(POINT pt, COLORREF c) { return ::SetPixel(m_hDC, pt.x, pt.y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs,
                    DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, ws, hs, rop);
    }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }

    BOOL TextOut(int x, int y, const char* text, int count) {
        return ::TextOut(m_hDC, x, y, text, count);
    }
    BOOL TextOut(int x, int y, std::string_view text) {
        return ::TextOut(m_hDC, x, y, text.data(), int(text.size()));
    }
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rc, std::string_view text,
                    const INT* dx = nullptr) {
        return ::ExtTextOut(m_hDC, x, y, options, rc, text.data(), UINT(text.size()), dx);
    }
    int DrawText(const char* text, int count, RECT* rc, UINT format) {
        return ::DrawText(m_hDC, text, count, rc, format);
    }
    int DrawText(std::string_view text, RECT* rc, UINT format) {
        return ::DrawText(m_hDC, text.data(), int(text.size()), rc, format);
    }
    CSize GetTextExtent(const char* text, int count) const;
    CSize GetTextExtent(std::string_view text) const {
        return GetTextExtent(text.data(), int(text.size()));
    }
    BOOL GetTextMetrics(TEXTMETRIC* tm) const { return ::GetTextMetrics(m_hDC, tm); }

    BOOL DrawEdge(RECT* rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }
    BOOL DrawFrameControl(RECT* rc, UINT type, UINT state) {
        return ::DrawFrameControl(m_hDC, rc, type, state);
    }
    void DrawFocusRect(const RECT* rc) { ::DrawFocusRect(m_hDC, rc); }
    BOOL DrawState(POINT pt, SIZE size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr) {
        return ::DrawState(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, pt.x, pt.y,
                           size.cx, size.cy, flags | DST_BITMAP);
    }
    BOOL DrawState(POINT pt, SIZE size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr) {
        return DrawState(pt, size, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr, flags,
                         brush ? static_cast<HBRUSH>(*brush) : nullptr);
    }

    HDC m_hDC{nullptr};

protected:
    bool m_owned{false};
};

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From a bitmap resource (through the installed loader): cells of cx,
    // the bitmap's height, pixels of `mask` transparent.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    // The same from a bitmap already loaded; the bitmap stays the caller's.
    BOOL Create(HBITMAP bitmap, int cx, int grow, COLORREF mask);
    BOOL Create(CBitmap* bitmap, int cx, int grow, COLORREF mask) {
        return Create(bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr, cx, grow, mask);
    }
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    int Add(CBitmap* image, COLORREF mask) {
        return image ? ImageList_AddMasked(m_hImageList, *image, mask) : -1;
    }
    int Add(CBitmap* image, CBitmap* mask) {
        return image ? ImageList_Add(m_hImageList, *image, mask ? HBITMAP(*mask) : nullptr) : -1;
    }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const {
        return ImageList_GetImageInfo(m_hImageList, index, info);
    }
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    BOOL Draw(CDC* dc, int index, POINT pt, UINT style) {
        return dc && ImageList_Draw(m_hImageList, index, dc->m_hDC, pt.x, pt.y, style);
    }

    HIMAGELIST m_hImageList{nullptr};
};
