// CSpinEditCtrl: layout and painting. OnDraw paints every part; a state
// change repaints only its part through the part's own routine.
#include "spinedit/SpinEditCtrl.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/Input.h"

namespace {

constexpr UINT kLabelButtonStyle = DFCS_BUTTONPUSH | DFCS_FLAT | DFCS_MONO;
constexpr UINT kValueTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
constexpr UINT kButtonTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// What every text part does first and undoes last: a saved context,
// transparent text and the dialog font.
class TextPaintScope {
public:
    explicit TextPaintScope(CDC* dc) : m_dc(dc), m_saved(dc->SaveDC()) {
        dc->SetBkMode(TRANSPARENT);
        if (dc->SelectStockObject(DEFAULT_GUI_FONT))
            m_ready = true;
        else if (m_fallback.CreatePointFont(80, "MS Shell Dlg", dc) &&
                 dc->SelectObject(&m_fallback))
            m_ready = true;
    }
    ~TextPaintScope() { m_dc->RestoreDC(m_saved); }
    TextPaintScope(const TextPaintScope&) = delete;
    TextPaintScope& operator=(const TextPaintScope&) = delete;

    // False when no font could be had: the part paints nothing more.
    bool Ready() const { return m_ready; }

private:
    CDC* m_dc;
    int m_saved;
    CFont m_fallback; // outlives the restore, which deselects it
    bool m_ready{false};
};

// Text of a disabled part: a highlight one pixel down and right, the shadow
// in place.
void DrawEmbossedText(CDC* dc, const CString& text, CRect rc, UINT format) {
    const COLORREF before = dc->GetTextColor();
    CRect shifted = rc;
    shifted.OffsetRect(1, 1);
    dc->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    dc->DrawText(text.Str(), &shifted, format);
    dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    dc->DrawText(text.Str(), &rc, format);
    dc->SetTextColor(before);
}

bool Meets(const std::optional<CRect>& part, const CRect& invalid) {
    CRect common;
    return part && common.IntersectRect(&*part, &invalid);
}

} // namespace

// [SECTION] Layout

SpinEditGeometry CSpinEditCtrl::Geometry() const {
    return SpinEditGeometry{m_flags,     m_labelWidth, m_spinWidth,
                            m_unitWidth, m_absWidth,   m_editHeight};
}

CRect CSpinEditCtrl::ClientRect() const {
    CRect client;
    GetClientRect(&client);
    return client;
}

SpinEditParts CSpinEditCtrl::Parts() const {
    return LayOutSpinEdit(ClientRect(), Geometry());
}

bool CSpinEditCtrl::HasFocusNow() const {
    return m_hWnd && ::GetFocus() == m_hWnd;
}

bool CSpinEditCtrl::IsEnabledNow() {
    return m_hWnd ? ::IsWindowEnabled(m_hWnd) != FALSE : GetEnabled() != FALSE;
}

// [SECTION] OnDraw

void CSpinEditCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) {
    m_rcBoundsLast = rcBounds;
    CRect invalid = rcInvalid.Width() > 0 ? rcInvalid : rcBounds;
    CRect clip;
    if (dc->GetClipBox(&clip) == ERROR)
        return;
    invalid.IntersectRect(&invalid, &clip);
    if (invalid.Width() <= 0)
        invalid = rcBounds;

    const SpinEditParts parts = Parts();
    if (Meets(parts.label, invalid))
        DrawLabel(dc, *parts.label);
    DrawFrame(dc);
    if (Meets(parts.drag, invalid))
        dc->FillSolidRect(&*parts.drag, ::GetSysColor(COLOR_GRAYTEXT));
    if (Meets(parts.up, invalid))
        DrawSpinButton(dc, *parts.up, DFCS_SCROLLUP, m_upPressed);
    if (Meets(parts.down, invalid))
        DrawSpinButton(dc, *parts.down, DFCS_SCROLLDOWN, m_downPressed);
    if (Meets(parts.unit, invalid))
        DrawUnitButton(dc, *parts.unit);
    DrawSpinFocus(dc, parts);
    if (Meets(parts.value, invalid))
        DrawValueField(dc, *parts.value);
    if (Meets(parts.absRel, invalid))
        DrawAbsRelButton(dc, *parts.absRel);
}

// [SECTION] Part routines

template <class Paint>
void CSpinEditCtrl::PaintPart(const std::optional<CRect>& part, Paint paint) {
    if (!part)
        return;
    CDC* dc = m_hWnd ? GetDC() : nullptr;
    if (!dc) {
        InvalidateControl(&*part);
        return;
    }
    paint(dc, *part);
    ReleaseDC(dc);
}

void CSpinEditCtrl::RedrawLabel() {
    PaintPart(Parts().label, [this](CDC* dc, CRect rc) { DrawLabel(dc, rc); });
}
void CSpinEditCtrl::RedrawValueField() {
    PaintPart(Parts().value, [this](CDC* dc, CRect rc) { DrawValueField(dc, rc); });
}
void CSpinEditCtrl::RedrawUpButton() {
    PaintPart(Parts().up,
              [this](CDC* dc, CRect rc) { DrawSpinButton(dc, rc, DFCS_SCROLLUP, m_upPressed); });
}
void CSpinEditCtrl::RedrawDownButton() {
    PaintPart(Parts().down, [this](CDC* dc, CRect rc) {
        DrawSpinButton(dc, rc, DFCS_SCROLLDOWN, m_downPressed);
    });
}
void CSpinEditCtrl::RedrawUnitButton() {
    PaintPart(Parts().unit, [this](CDC* dc, CRect rc) { DrawUnitButton(dc, rc); });
}
void CSpinEditCtrl::RedrawAbsRelButton() {
    PaintPart(Parts().absRel, [this](CDC* dc, CRect rc) { DrawAbsRelButton(dc, rc); });
}

void CSpinEditCtrl::DrawLabel(CDC* dc, CRect rc) {
    TextPaintScope scope(dc);
    if (!scope.Ready())
        return;
    const bool enabled = IsEnabledNow();
    const bool isButton = (m_flags & kSpinEditFlagLabelChange) != 0;
    if (isButton) {
        UINT state = kLabelButtonStyle;
        if (m_labelPressed)
            state |= DFCS_PUSHED;
        if (!enabled)
            state |= DFCS_INACTIVE;
        dc->DrawFrameControl(&rc, DFC_BUTTON, state);
    } else {
        dc->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    }
    if (enabled && isButton && !m_label.IsEmpty()) {
        CRect face = rc;
        face.DeflateRect(3, 3);
        dc->FillSolidRect(&face, m_labelColor);
    }
    rc.DeflateRect(2, 0);
    if (m_labelPressed)
        rc.OffsetRect(1, 1);

    // A backslash followed by n in the label breaks the line.
    CString text = m_label;
    const bool multiLine = text.Replace("\\n", "\n") > 0;
    UINT format = multiLine ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE | DT_VCENTER;
    if ((m_flags & kSpinEditFlagCenterLabel) != 0)
        format |= DT_CENTER;
    if (!enabled) {
        DrawEmbossedText(dc, text, rc, format);
        return;
    }
    dc->DrawText(text.Str(), &rc, format);
    if (m_focusPart == kLabel && HasFocusNow()) {
        rc.DeflateRect(0, 1);
        dc->DrawFocusRect(&rc);
    }
}

void CSpinEditCtrl::DrawFrame(CDC* dc) {
    if (m_editing)
        return;
    const SpinEditGeometry g = Geometry();
    const CRect client = ClientRect();
    CRect rc = client;
    if (g.HasLabel())
        rc.left += m_labelWidth;
    dc->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    rc.right = SpinEditValueRight(client, g);
    rc = SpinEditBand(rc, m_editHeight);
    if ((m_flags & kSpinEditFlagFlatUnit) == 0)
        dc->DrawEdge(&rc, EDGE_SUNKEN, BF_RECT);
    if (!IsEnabledNow())
        return;
    rc.DeflateRect(2, 2);
    if ((m_flags & (kSpinEditFlagNoEdit | kSpinEditFlagToggle)) != 0)
        return;
    dc->FillSolidRect(&rc, ::GetSysColor(COLOR_WINDOW));
    if (m_focusPart == kValue && HasFocusNow()) {
        rc.DeflateRect(1, 1);
        dc->DrawFocusRect(&rc);
    }
}

void CSpinEditCtrl::DrawSpinFocus(CDC* dc, const SpinEditParts& parts) {
    if (!parts.up || !parts.down || m_focusPart != kSpin || !HasFocusNow())
        return;
    const CRect column(parts.down->left, parts.up->top, parts.down->right, parts.down->bottom);
    dc->DrawFocusRect(&column);
}

void CSpinEditCtrl::DrawValueField(CDC* dc, CRect rc) {
    if (m_editing)
        return;
    TextPaintScope scope(dc);
    if (!scope.Ready())
        return;
    const bool editable = (m_flags & kSpinEditFlagNoEdit) == 0;
    const bool toggles = (m_flags & kSpinEditFlagToggle) != 0;
    const COLORREF background =
        IsEnabledNow() && (editable || toggles) ? m_valueColor : ::GetSysColor(COLOR_BTNFACE);
    dc->FillSolidRect(&rc, background);
    rc.DeflateRect(2, 0);
    dc->DrawText(FormatValue(true).Str(), &rc, kValueTextFormat);
    if (!toggles && m_focusPart == kValue && HasFocusNow()) {
        rc.DeflateRect(1, 1);
        dc->DrawFocusRect(&rc);
    }
}

void CSpinEditCtrl::DrawSpinButton(CDC* dc, CRect rc, UINT direction, bool pressed) {
    UINT state = direction;
    if (pressed)
        state |= DFCS_PUSHED;
    if (!IsEnabledNow())
        state |= DFCS_INACTIVE;
    dc->DrawFrameControl(&rc, DFC_SCROLL, state);
}

void CSpinEditCtrl::DrawUnitButton(CDC* dc, CRect rc) {
    TextPaintScope scope(dc);
    if (!scope.Ready())
        return;
    const bool enabled = IsEnabledNow();
    if ((m_flags & kSpinEditFlagFlatUnit) != 0) {
        dc->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    } else {
        UINT state = DFCS_BUTTONPUSH;
        if (m_unitPressed)
            state |= DFCS_PUSHED;
        if (!enabled)
            state |= DFCS_INACTIVE;
        dc->DrawFrameControl(&rc, DFC_BUTTON, state);
    }
    rc.DeflateRect(2, 0);
    if (m_display.unitTextStale)
        RefreshUnitText();
    const CString text(m_display.unitText);
    if (!enabled) {
        DrawEmbossedText(dc, text, rc, kButtonTextFormat);
        return;
    }
    dc->DrawText(text.Str(), &rc, kButtonTextFormat);
    if (m_focusPart == kUnit && HasFocusNow()) {
        rc.DeflateRect(1, 2);
        dc->DrawFocusRect(&rc);
    }
}

void CSpinEditCtrl::DrawAbsRelButton(CDC* dc, CRect rc) {
    TextPaintScope scope(dc);
    if (!scope.Ready())
        return;
    const bool enabled = IsEnabledNow();
    UINT state = DFCS_BUTTONPUSH;
    if (m_absRelPressed)
        state |= DFCS_PUSHED;
    if (!enabled)
        state |= DFCS_INACTIVE;
    dc->DrawFrameControl(&rc, DFC_BUTTON, state);
    rc.DeflateRect(2, 0);
    if (m_absRelPressed)
        rc.OffsetRect(1, 1);
    if (!enabled) {
        DrawEmbossedText(dc, m_absRelText, rc, kButtonTextFormat);
        return;
    }
    dc->DrawText(m_absRelText.Str(), &rc, kButtonTextFormat);
    if (m_focusPart == kAbsRel && HasFocusNow()) {
        rc.DeflateRect(1, 2);
        dc->DrawFocusRect(&rc);
    }
}
