// CPosCtrl: drawing. The working picture, with every state already painted
// into its pixels, centred in the bounds on its own background.
#include "machine/PosCtrl.h"

void CPosCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    m_rcBounds = rcBounds;
    if (!dc)
        return;
    // The picture's background pixel, as a colour.
    const std::uint32_t key = m_pBits ? m_pBits[0] & 0x00FFFFFF : 0xC0C0C0;
    dc->FillSolidRect(&rcBounds, RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF));
    if (m_pBits) {
        const CPoint at((rcBounds.left + rcBounds.right) / 2 - m_nWidth / 2,
                        (rcBounds.top + rcBounds.bottom) / 2 - m_nHeight / 2);
        dc->DrawState(at, CSize(m_nWidth, m_nHeight), &m_dib, DSS_NORMAL);
    }
    if (m_hWnd && ::GetFocus() == m_hWnd) {
        CRect focus = rcBounds;
        focus.InflateRect(-1, -1);
        dc->DrawFocusRect(&focus);
    }
}

BOOL CPosCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}
