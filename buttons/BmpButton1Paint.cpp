// CBmpButton1Ctrl: drawing. The system button asks for every repaint with
// its owner-draw notification; the control draws the whole item into an
// off-screen bitmap and copies it to the screen in one piece.
#include "buttons/BmpButton1Ctrl.h"

#include "platform/gdi/SysColors.h"

namespace {

// A picture that is neither a bitmap nor an icon counts as none.
bool Drawable(const CPictureHolder& picture) {
    return picture.GetType() == PICTYPE_BITMAP || picture.GetType() == PICTYPE_ICON;
}

CSize PictureSize(const CPictureHolder& picture) {
    OLE_XSIZE_HIMETRIC cx = 0;
    OLE_YSIZE_HIMETRIC cy = 0;
    picture.GetHimetricExtent(&cx, &cy);
    return CSize(int(PixelsFromHimetric(cx)), int(PixelsFromHimetric(cy)));
}

void Line(CDC* dc, int color, std::initializer_list<POINT> points) {
    CPen pen(PS_SOLID, 1, ::GetSysColor(color));
    CPen* old = dc->SelectObject(&pen);
    auto it = points.begin();
    dc->MoveTo(*it);
    for (++it; it != points.end(); ++it)
        dc->LineTo(*it);
    dc->SelectObject(old);
}

} // namespace

// [SECTION] Entry points

void CBmpButton1Ctrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    // The system button paints, which asks this control to draw the item.
    DoSuperclassPaint(dc, rcBounds);
}

LRESULT CBmpButton1Ctrl::OnOcmDrawItem(WPARAM, LPARAM lParam) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!dis || !dis->hDC)
        return FALSE;
    CDC dc;
    dc.Attach(dis->hDC);
    DrawButton(&dc, CRect(dis->rcItem), dis->itemState);
    dc.Detach();
    return TRUE;
}

void CBmpButton1Ctrl::DropOffscreen() {
    m_offscreen.DeleteObject();
    m_offscreenSize = CSize(0, 0);
}

void CBmpButton1Ctrl::DrawButton(CDC* dc, const CRect& item, UINT itemState) {
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    if (width <= 0 || height <= 0)
        return;
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    if (!m_offscreen.GetSafeHandle()) {
        if (!m_offscreen.CreateCompatibleBitmap(dc, width, height))
            return;
        m_offscreenSize = CSize(width, height);
    }
    CBitmap* old = memory.SelectObject(&m_offscreen);
    // The buffer holds the item rectangle from its own origin.
    memory.SetViewportOrg(-item.left, -item.top);

    m_pressed = (itemState & ODS_SELECTED) ? TRUE : FALSE;
    m_focused = (itemState & ODS_FOCUS) ? TRUE : FALSE;
    m_disabled = (itemState & ODS_DISABLED) ? TRUE : FALSE;
    DrawFace(&memory, item);

    memory.SetViewportOrg(0, 0);
    dc->BitBlt(item.left, item.top, width, height, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

// [SECTION] The face

void CBmpButton1Ctrl::DrawFace(CDC* dc, const CRect& item) {
    const bool lit = m_hover || ((m_showFocus & 2) && m_focused);
    CPictureHolder* picture = Drawable(m_staticPic) ? &m_staticPic : nullptr;
    if (lit && Drawable(m_hooverPic))
        picture = &m_hooverPic;
    const CSize pictureSize = picture ? PictureSize(*picture) : CSize(0, 0);

    // Background and border.
    COLORREF background = m_restBack;
    if (m_disabled)
        background = ::GetSysColor(COLOR_BTNFACE);
    else if (m_hover || m_pressed)
        background = m_activeBack;
    dc->FillSolidRect(&item, background);
    const LONG L = item.left, T = item.top, R = item.right, B = item.bottom;
    if (!m_flat && !m_pressed) {
        Line(dc, COLOR_BTNHIGHLIGHT, {{L, B - 1}, {L, T}, {R, T}});
        Line(dc, COLOR_3DLIGHT, {{L + 1, B - 1}, {L + 1, T + 1}, {R, T + 1}});
        Line(dc, COLOR_3DDKSHADOW, {{L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
        Line(dc, COLOR_BTNSHADOW, {{L + 1, B - 2}, {R - 2, B - 2}, {R - 2, T}});
    } else if (!m_flat) {
        CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
        dc->FrameRect(&item, &shadow);
    }

    // Text and font of the state.
    const CString* text = &m_staticText;
    if (m_pressed && !m_pushText.IsEmpty())
        text = &m_pushText;
    else if (lit && !m_hooverText.IsEmpty())
        text = &m_hooverText;
    CFontHolder& font = (!lit && !m_pressed) ? m_staticFont : m_hooverFont;
    CFont* oldFont = SelectFontObject(dc, font);

    BmpButtonLayoutInput in;
    in.item = item;
    in.picture = pictureSize;
    in.hasPicture = picture != nullptr;
    in.hasText = !text->IsEmpty();
    in.spacing = m_spacing;
    in.align = m_align & 0x0F;
    CRect measured;
    if (in.hasText) {
        const CSize extent = dc->GetTextExtent(text->Str());
        measured = TextWrapRect(in, extent);
        dc->DrawText(text->Str(), &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    }
    m_lastLayout = PlaceBmpButton(in, measured);

    if (picture) {
        CRect rc = m_lastLayout.picture;
        if (m_pressed)
            rc.OffsetRect(1, 1);
        DrawPicture(dc, *picture, rc);
    }
    if (in.hasText) {
        CRect rc = m_lastLayout.text;
        if (m_pressed)
            rc.OffsetRect(1, 1);
        DrawLabel(dc, *text, rc);
    }
    if (oldFont)
        dc->SelectObject(oldFont);

    if (m_focused && (m_showFocus & 1)) {
        CRect focus = item;
        if (m_pressed)
            focus.OffsetRect(1, 1);
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(&focus);
    }
}

void CBmpButton1Ctrl::DrawPicture(CDC* dc, CPictureHolder& picture, CRect rc) {
    if (picture.GetType() == PICTYPE_BITMAP && m_transparentBitmap) {
        DrawKeyedBitmap(dc, picture.GetBitmap(), rc);
        return;
    }
    picture.Render(dc, rc, rc);
}

// Pixels of the bitmap equal to the key colour (StaticColor) show what lies
// beneath: work = dest ^ image, & mask (key pixels set), ^ image.
void CBmpButton1Ctrl::DrawKeyedBitmap(CDC* dc, HBITMAP bitmap, const CRect& rc) {
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    if (!bitmap || w <= 0 || h <= 0)
        return;
    CDC image, mask, work;
    if (!image.CreateCompatibleDC(dc) || !mask.CreateCompatibleDC(dc) ||
        !work.CreateCompatibleDC(dc))
        return;
    CBitmap maskBitmap, workBitmap;
    if (!maskBitmap.CreateBitmap(w, h, 1, 1, nullptr) ||
        !workBitmap.CreateCompatibleBitmap(dc, w, h))
        return;
    CBitmap* imageBitmap = CBitmap::FromHandle(bitmap);
    CBitmap* oldImage = image.SelectObject(imageBitmap);
    CBitmap* oldMask = mask.SelectObject(&maskBitmap);
    CBitmap* oldWork = work.SelectObject(&workBitmap);

    image.SetBkColor(TranslateColor(m_staticColor));
    mask.BitBlt(0, 0, w, h, &image, 0, 0, SRCCOPY);
    work.BitBlt(0, 0, w, h, dc, rc.left, rc.top, SRCCOPY);
    work.SetTextColor(RGB(0, 0, 0));
    work.SetBkColor(RGB(255, 255, 255));
    work.BitBlt(0, 0, w, h, &image, 0, 0, SRCINVERT);
    work.BitBlt(0, 0, w, h, &mask, 0, 0, SRCAND);
    work.BitBlt(0, 0, w, h, &image, 0, 0, SRCINVERT);
    dc->BitBlt(rc.left, rc.top, w, h, &work, 0, 0, SRCCOPY);

    image.SelectObject(oldImage);
    mask.SelectObject(oldMask);
    work.SelectObject(oldWork);
}

void CBmpButton1Ctrl::DrawLabel(CDC* dc, const CString& text, CRect rc) {
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->GetTextColor();
    constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK;
    if (m_disabled) {
        CRect raised = rc;
        raised.OffsetRect(1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        dc->DrawText(text.Str(), &raised, kFormat);
        dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        dc->DrawText(text.Str(), &rc, kFormat);
    } else {
        COLORREF color = m_restText;
        if (m_pressed)
            color = TranslateColor(m_pushColor);
        else if (m_hover)
            color = TranslateColor(m_hooverColor);
        dc->SetTextColor(color);
        dc->DrawText(text.Str(), &rc, kFormat);
    }
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}
