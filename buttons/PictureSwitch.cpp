#include "buttons/PictureSwitch.h"

// [SECTION] The state word

SHORT SwitchClicked(SHORT mode, USHORT button, bool* redraw) {
    bool changed = false;
    if (button == RIGHT_BUTTON) {
        mode = SHORT((mode ^ kSwitchSpecial) | kSwitchRightLast);
        changed = true;
    } else {
        mode = SHORT(mode & ~kSwitchRightLast);
        if (mode & kSwitchLeftToggles) {
            mode = SHORT(mode ^ kSwitchChecked);
            changed = true;
        }
    }
    if (redraw)
        *redraw = changed;
    return mode;
}

int SwitchPicture(SHORT mode, bool disabled) {
    if (disabled)
        return 2;
    return (mode & kSwitchSpecial) ? 3 : (mode & kSwitchChecked);
}

// [SECTION] Life

CPictureSwitch::CPictureSwitch(const COleControlClass& cls) : COleControl(cls) {}

CPictureSwitch::~CPictureSwitch() = default;

CSize CPictureSwitch::CellOf(const CImageList& list, CSize fallback) {
    IMAGEINFO info{};
    if (!list.GetImageInfo(0, &info))
        return fallback;
    return CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
}

BOOL CPictureSwitch::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= BS_OWNERDRAW;
    return COleControl::PreCreateWindow(cs);
}

void CPictureSwitch::OnDestroy() {
    COleControl::OnDestroy();
    m_savedBk.DeleteObject();
}

// [SECTION] Dispatch members

void CPictureSwitch::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

SHORT CPictureSwitch::GetCheck() {
    return SHORT(m_mode & kSwitchChecked);
}

void CPictureSwitch::SetCheck(SHORT sel) {
    const SHORT mode = sel ? SHORT(m_mode | kSwitchChecked) : SHORT(m_mode & ~kSwitchChecked);
    if (mode == m_mode)
        return;
    m_mode = mode;
    InvalidateControl();
}

// [SECTION] Input

void CPictureSwitch::OnClick(USHORT button) {
    bool redraw = false;
    m_mode = SwitchClicked(m_mode, button, &redraw);
    if (redraw)
        InvalidateControl();
    // Every button clicks, the right one included. The host may release
    // the control in its handler: nothing follows.
    FireClick();
}

void CPictureSwitch::OnKillFocus(CWnd*) {
    // Swallowed: the system button would redraw itself for the focus.
}

void CPictureSwitch::OnEnable(BOOL) {
    Default();
    InvalidateControl();
}

BOOL CPictureSwitch::OnEraseBkgnd(CDC*) {
    return TRUE;
}

// [SECTION] Drawing

int CPictureSwitch::PictureIndex() {
    const bool disabled = m_hWnd && !::IsWindowEnabled(m_hWnd);
    const int index = SwitchPicture(m_mode, disabled);
    return index < Images().GetImageCount() ? index : -1;
}

void CPictureSwitch::OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) {
    const CSize size = rcBounds.Size();
    // The saved pixels fit only the size they were taken at.
    if (m_savedBk.GetSafeHandle() && (size.cx != m_savedSize.cx || size.cy != m_savedSize.cy))
        m_savedBk.DeleteObject();
    CDC memory;
    if (m_savedBk.GetSafeHandle()) {
        if (memory.CreateCompatibleDC(dc)) {
            CBitmap* old = memory.SelectObject(&m_savedBk);
            dc->BitBlt(rcBounds.left, rcBounds.top, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
            memory.SelectObject(old);
        }
    } else if (rcInvalid.EqualRect(&rcBounds) && size.cx > 0 && size.cy > 0) {
        // A full repaint: what lies under the control now is the container's.
        if (m_savedBk.CreateCompatibleBitmap(dc, size.cx, size.cy) &&
            memory.CreateCompatibleDC(dc)) {
            CBitmap* old = memory.SelectObject(&m_savedBk);
            memory.BitBlt(0, 0, size.cx, size.cy, dc, rcBounds.left, rcBounds.top, SRCCOPY);
            memory.SelectObject(old);
            m_savedSize = size;
        } else {
            m_savedBk.DeleteObject();
        }
    }

    const int index = PictureIndex();
    if (index < 0)
        return;
    const CSize cell = CellSize();
    const CPoint at((rcBounds.left + rcBounds.right) / 2 - cell.cx / 2,
                    (rcBounds.top + rcBounds.bottom) / 2 - cell.cy / 2);
    Images().Draw(dc, index, at, ILD_TRANSPARENT);
}

// [SECTION] Persistence

void CPictureSwitch::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_Short(pPX, "Mode", m_mode, 0);
}
