// CSpinEditCtrl: keyboard, mouse, timers and the entry box's messages.
#include "spinedit/SEEdit.h"
#include "spinedit/SpinEditCtrl.h"

#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "platform/user/VirtualKeys.h"

namespace {

constexpr int kPartCount = 5;
constexpr UINT kKeyEnter = VK_RETURN;

bool IsStepKey(UINT key) {
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
}

} // namespace

// [SECTION] Focus parts and keys

bool CSpinEditCtrl::IsPartAvailable(SHORT part) const {
    switch (part) {
    case kLabel:
        return (m_flags & kSpinEditFlagLabel) != 0 && (m_flags & kSpinEditFlagLabelChange) != 0;
    case kValue:
        return (m_flags & kSpinEditFlagNoEdit) == 0;
    case kSpin:
        return (m_flags & kSpinEditFlagNoSpin) == 0;
    case kUnit:
        return !UnitsOff();
    case kAbsRel:
        return (m_flags & kSpinEditFlagAbsRel) != 0;
    default:
        return false;
    }
}

void CSpinEditCtrl::MoveFocusPart(int direction) {
    SHORT part = m_focusPart;
    for (int tries = 0; tries < kPartCount; ++tries) {
        part = SHORT(direction > 0 ? (part + 1) % kPartCount
                                   : (part <= 0 ? kPartCount - 1 : part - 1));
        if (IsPartAvailable(part)) {
            m_focusPart = part;
            return;
        }
    }
    m_focusPart = kNoPart;
}

UINT CSpinEditCtrl::OnGetDlgCode() {
    return UINT(DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_BUTTON);
}

void CSpinEditCtrl::OnKeyDown(UINT nChar, UINT repeat, UINT flags) {
    if (nChar == VK_RIGHT || nChar == VK_LEFT) {
        MoveFocusPart(nChar == VK_RIGHT ? 1 : -1);
        InvalidateControl();
    } else if (IsStepKey(nChar)) {
        switch (m_focusPart) {
        case kLabel:
            m_labelPressed = true;
            AskForLabel();
            RedrawLabel();
            RedrawValueField();
            break;
        case kValue:
        case kSpin:
            if (nChar == VK_UP) {
                m_upPressed = true;
                StepUp(1);
            } else if (nChar == VK_PRIOR) {
                StepUp(10);
            } else if (nChar == VK_DOWN) {
                m_downPressed = true;
                StepDown(1);
            } else {
                StepDown(10);
            }
            break;
        case kUnit:
            m_unitPressed = true;
            SwitchUnit();
            RedrawUnitButton();
            break;
        case kAbsRel:
            m_absRelPressed = true;
            RedrawAbsRelButton();
            break;
        default:
            break;
        }
    }
    COleControl::OnKeyDown(nChar, repeat, flags);
}

void CSpinEditCtrl::OnKeyUp(UINT nChar, UINT repeat, UINT flags) {
    switch (m_focusPart) {
    case kLabel:
        m_labelPressed = false;
        RedrawLabel();
        break;
    case kValue:
    case kSpin:
        if (m_upPressed || m_downPressed) {
            m_upPressed = m_downPressed = false;
            InvalidateControl();
        } else if (m_focusPart == kValue && nChar == kKeyEnter) {
            FireEvent(kEventValueChanged);
        }
        break;
    case kUnit:
        m_unitPressed = false;
        InvalidateControl();
        break;
    case kAbsRel:
        m_absRelPressed = false;
        RedrawAbsRelButton();
        break;
    default:
        break;
    }
    COleControl::OnKeyUp(nChar, repeat, flags);
}

void CSpinEditCtrl::OnChar(UINT nChar, UINT repeat, UINT flags) {
    const bool ctrlHeld = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if ((m_flags & kSpinEditFlagNoEdit) == 0 && !ctrlHeld)
        BeginEdit(nChar);
    COleControl::OnChar(nChar, repeat, flags);
}

// [SECTION] Mouse

void CSpinEditCtrl::StartRepeatTimer(UINT period) {
    m_repeatPeriod = period;
    m_repeatTimer = SetTimer(kRepeatTimer, period);
}

void CSpinEditCtrl::StopRepeatTimer() {
    if (m_repeatTimer && m_hWnd)
        KillTimer(kRepeatTimer);
    m_repeatTimer = 0;
    m_repeatPeriod = kRepeatPeriod;
}

void CSpinEditCtrl::PressAt(CPoint point) {
    SetFocus();
    SetCapture();
    if (!ClientRect().PtInRect(point))
        return;
    const SpinEditParts parts = Parts();
    if ((m_flags & kSpinEditFlagLabelChange) != 0 && PointInPart(parts.label, point)) {
        m_labelPressed = true;
        AskForLabel();
        RedrawLabel();
        RedrawValueField();
    }
    if (PointInPart(parts.drag, point)) {
        m_upPressed = m_downPressed = true;
        RedrawUpButton();
        RedrawDownButton();
        m_dragAnchorX = m_dragLastX = point.x;
        m_dragLastY = point.y;
    }
    if (PointInPart(parts.up, point)) {
        m_upPressed = true;
        StepUp(1);
        StartRepeatTimer(kRepeatPeriod);
    }
    if (PointInPart(parts.down, point)) {
        m_downPressed = true;
        StepDown(1);
        StartRepeatTimer(kRepeatPeriod);
    }
    if (PointInPart(parts.unit, point)) {
        const WORD before = m_display.displayUnit;
        SwitchUnit();
        if (m_display.displayUnit != before) {
            m_unitPressed = true;
            RedrawUnitButton();
        }
    }
    if (PointInPart(parts.absRel, point)) {
        m_absolute = !m_absolute;
        m_absRelText = m_absolute ? "abs" : "rel";
        m_absRelPressed = true;
        RedrawAbsRelButton();
        RedrawValueField();
    }
    if (PointInPart(parts.value, point)) {
        if ((m_flags & kSpinEditFlagNoEdit) == 0)
            BeginEdit(1);
        if ((m_flags & kSpinEditFlagToggle) != 0)
            FireEvent(kEventToggle);
    }
}

void CSpinEditCtrl::OnLButtonDown(UINT, CPoint point) {
    PressAt(point);
}

void CSpinEditCtrl::OnLButtonDblClk(UINT flags, CPoint point) {
    PressAt(point);
    COleControl::OnLButtonDblClk(flags, point);
}

void CSpinEditCtrl::ReleaseButtons() {
    const SpinEditGeometry g = Geometry();
    m_labelPressed = false;
    if (g.HasLabel() && (m_flags & kSpinEditFlagLabelChange) != 0)
        RedrawLabel();
    const bool spinWasPressed = m_upPressed || m_downPressed;
    m_upPressed = m_downPressed = false;
    if (spinWasPressed && g.HasSpin()) {
        RedrawUpButton();
        RedrawDownButton();
    }
    m_unitPressed = false;
    if (g.HasUnits())
        RedrawUnitButton();
    m_absRelPressed = false;
    if (g.HasAbsRel())
        RedrawAbsRelButton();
    RedrawValueField();
    m_dragAnchorX = -1;
}

void CSpinEditCtrl::OnLButtonUp(UINT flags, CPoint point) {
    COleControl::OnLButtonUp(flags, point);
    if (!m_hWnd)
        return;
    if (::GetCapture() == m_hWnd) {
        ReleaseCapture();
        StopRepeatTimer();
    }
    ReleaseButtons();
}

void CSpinEditCtrl::OnCaptureChanged(CWnd* wnd) {
    StopRepeatTimer();
    COleControl::OnCaptureChanged(wnd);
}

void CSpinEditCtrl::OnTimer(UINT_PTR id) {
    if (id == kRepeatTimer) {
        if (m_upPressed)
            StepUp(1);
        if (m_downPressed)
            StepDown(1);
        return;
    }
    COleControl::OnTimer(id);
}

void CSpinEditCtrl::OnMouseMove(UINT flags, CPoint point) {
    if (m_dragAnchorX != -1) {
        const LONG dy = m_dragLastY - point.y;
        m_dragLastX = point.x;
        m_dragLastY = point.y;
        if (point.y < -kDragThreshold) {
            m_upPressed = true;
            m_downPressed = false;
            if (!m_repeatTimer) {
                StepUp((-kDragThreshold - point.y) / 10);
                StartRepeatTimer(kDragUpPeriod);
            }
        } else if (point.y > kDragThreshold) {
            m_downPressed = true;
            m_upPressed = false;
            if (!m_repeatTimer) {
                StepDown((point.y - kDragThreshold) / 10);
                StartRepeatTimer(kDragDownPeriod);
            }
        } else if (!m_repeatTimer && dy != 0) {
            StepUp(dy > 0 ? 1 : -1);
        }
    }
    COleControl::OnMouseMove(flags, point);
}

BOOL CSpinEditCtrl::OnMouseWheel(UINT flags, short delta, CPoint point) {
    const SpinEditParts parts = Parts();
    if (Geometry().HasSpin() && parts.up && parts.down) {
        CRect buttons;
        buttons.UnionRect(&*parts.up, &*parts.down);
        buttons.InflateRect(1, 1);
        CPoint client = point;
        ScreenToClient(&client);
        if (buttons.PtInRect(client)) {
            if (delta > 0)
                StepUp(1);
            else if (delta < 0)
                StepDown(1);
        }
    }
    return COleControl::OnMouseWheel(flags, delta, point);
}

void CSpinEditCtrl::OnRButtonDblClk(UINT flags, CPoint point) {
    if ((m_flags & kSpinEditFlagAllowDefSet) != 0) {
        ::MessageBeep(0);
        m_defaultRequested = true;
    } else {
        ::MessageBeep(MB_ICONHAND);
    }
    COleControl::OnRButtonDblClk(flags, point);
}

BOOL CSpinEditCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_overDragZone) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_SIZENS));
        return TRUE;
    }
    if (hitTest == UINT(HTCLIENT))
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    return COleControl::OnSetCursor(wnd, hitTest, message);
}

LRESULT CSpinEditCtrl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = COleControl::WindowProc(msg, wParam, lParam);
    if (msg == WM_NCHITTEST && m_hWnd && Geometry().HasSpin()) {
        // The cursor shape follows the drag zone.
        CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ScreenToClient(&point);
        m_overDragZone = PointInPart(Parts().drag, point);
    }
    return result;
}

// [SECTION] Focus, state changes and the entry box

void CSpinEditCtrl::OnSetFocus(CWnd* oldWnd) {
    COleControl::OnSetFocus(oldWnd);
    InvalidateControl();
}

void CSpinEditCtrl::OnKillFocus(CWnd* newWnd) {
    COleControl::OnKillFocus(newWnd);
    InvalidateControl();
}

void CSpinEditCtrl::OnEnable(BOOL enable) {
    COleControl::OnEnable(enable);
    InvalidateControl();
}

void CSpinEditCtrl::OnSettingChange(UINT flags, LPCSTR section) {
    COleControl::OnSettingChange(flags, section);
    InvalidateControl();
}

BOOL CSpinEditCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kSpinEditEntryId && HIWORD(wParam) == EN_KILLFOCUS) {
        if (m_entry)
            m_entry->ShowWindow(SW_HIDE);
        m_editing = false;
        InvalidateControl();
        return TRUE;
    }
    return COleControl::OnCommand(wParam, lParam);
}

BOOL CSpinEditCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == kSpinEditEntryId && header->code == kSpinEditEntryCode) {
        const LRESULT answer = CommitEntry(*reinterpret_cast<const NMSPINEDITENTRY*>(lParam));
        if (result)
            *result = answer;
        return TRUE;
    }
    return COleControl::OnNotify(wParam, lParam, result);
}
