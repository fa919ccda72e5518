// CPosCtrl: the operator's input. Mouse press, release, hover and leaving;
// the keyboard with its jog keys, lamp keys and Ctrl jog; the release timer;
// and every way the pad can lose the operator's hand (focus, capture,
// cancel, enable, visibility), each of which ends a running press.
//
// [SECTION] Hit test and hover
// [SECTION] Mouse buttons
// [SECTION] Capture, cancel and cursor
// [SECTION] Keyboard
// [SECTION] Release timer
// [SECTION] Focus, enable and visibility
#include "machine/PosCtrl.h"

#include "platform/user/Input.h"
#include "platform/user/Timer.h"
#include "platform/user/VirtualKeys.h"

namespace {

constexpr int kLeftBit = 1;
constexpr int kRightBit = 2;

bool KeyHeld(int vk) {
    return ::GetAsyncKeyState(vk) < 0;
}

} // namespace

// [SECTION] Hit test and hover

int CPosCtrl::HitTest(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    return PosHitTest(client, m_nWidth, m_nHeight, point,
                      std::span<const CRect>(m_rects.data(), std::size_t(m_nRects)));
}

void CPosCtrl::ClearHover() {
    if (IsButton(m_nHover) && m_nHover != m_nPressed)
        PaintRect(m_nHover, kPosBlack);
    m_nHover = -1;
}

void CPosCtrl::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bPressed) {
        const int hit = HitTest(point);
        if (m_nHover >= 0 && m_nHover != hit)
            PaintRect(m_nHover, kPosBlack);
        if (hit < m_nButtons) {
            if (hit >= 0 && hit != m_nHover)
                PaintRect(hit, kPosWhite);
            m_nHover = hit;
        }
    }
    COleControl::OnMouseMove(flags, point);
    if (!m_hWnd)
        return;
    // Leaving: the pad holds the capture while the pointer is over it, to
    // see it go.
    const bool leftHeld = (flags & MK_LBUTTON) != 0;
    const bool rightHeld = (flags & MK_RBUTTON) != 0;
    const bool captured = ::GetCapture() == m_hWnd;
    if (leftHeld && !captured)
        return;
    if (!captured && ::GetParent(m_hWnd)) {
        SetCapture();
        m_bCaptured = true;
        InvalidateControl();
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) != m_hWnd) {
        m_bCaptured = false;
        InvalidateControl();
        if (!leftHeld && !rightHeld)
            ReleaseCapture();
    }
}

// [SECTION] Mouse buttons

void CPosCtrl::ButtonDown(UINT, CPoint point, int kind, int mouseBit) {
    m_mouseDown |= mouseBit;
    m_stopSent = false;
    Press(HitTest(point), kind, PressSource::Mouse);
    // Without the capture the button could come up over another window and
    // the pad would never hear of it.
    if (m_hWnd && m_bPressed && ::GetCapture() != m_hWnd) {
        SetCapture();
        m_bCaptured = true;
    }
}

void CPosCtrl::ButtonUp(int mouseBit) {
    if (m_bPressed || !m_stopSent || !(m_mouseDown & mouseBit)) {
        ReleasePress();
    } else {
        // Its press already ended with a StopPos.
        if (m_hWnd)
            ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        m_nPressed = -1;
        InvalidateControl();
    }
    m_mouseDown &= ~mouseBit;
    if (!m_mouseDown)
        m_stopSent = false;
}

void CPosCtrl::OnLButtonDown(UINT flags, CPoint point) {
    ButtonDown(flags, point, 1, kLeftBit);
    if (m_hWnd)
        COleControl::OnLButtonDown(flags, point);
}

void CPosCtrl::OnRButtonDown(UINT flags, CPoint point) {
    ButtonDown(flags, point, 2, kRightBit);
    if (m_hWnd)
        COleControl::OnRButtonDown(flags, point);
}

// The second press of a quick double click is a press like any other: the
// operator jogs twice.
void CPosCtrl::OnLButtonDblClk(UINT flags, CPoint point) {
    ButtonDown(flags, point, 1, kLeftBit);
    if (m_hWnd)
        COleControl::OnLButtonDblClk(flags, point);
}

void CPosCtrl::OnRButtonDblClk(UINT flags, CPoint point) {
    ButtonDown(flags, point, 2, kRightBit);
    if (m_hWnd)
        COleControl::OnRButtonDblClk(flags, point);
}

void CPosCtrl::OnLButtonUp(UINT flags, CPoint point) {
    ButtonUp(kLeftBit);
    if (m_hWnd)
        COleControl::OnLButtonUp(flags, point);
}

void CPosCtrl::OnRButtonUp(UINT flags, CPoint point) {
    ButtonUp(kRightBit);
    if (m_hWnd)
        COleControl::OnRButtonUp(flags, point);
}

// [SECTION] Capture, cancel and cursor

void CPosCtrl::OnCaptureChanged(CWnd* wnd) {
    m_bCaptured = false;
    // Another window took the mouse (a modal box, a drag elsewhere): the
    // button-up will not come here.
    if (m_bPressed && m_pressSource == PressSource::Mouse)
        EndPress();
    InvalidateControl();
    if (m_hWnd)
        COleControl::OnCaptureChanged(wnd);
}

void CPosCtrl::OnCancelMode() {
    EndPress();
    if (m_hWnd)
        COleControl::OnCancelMode();
}

BOOL CPosCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_bPressed && IsButton(m_nPressed)) {
        ShowMovingCursor();
        return TRUE;
    }
    return COleControl::OnSetCursor(wnd, hitTest, message);
}

// [SECTION] Keyboard

LRESULT CPosCtrl::DialogCode(const MSG* msg) const {
    if (msg && msg->message == WM_CHAR) {
        const WPARAM ch = msg->wParam;
        const bool xyz = ch == 'X' || ch == 'Y' || ch == 'Z' || ch == 'x' || ch == 'y' || ch == 'z';
        const bool ab = ch == 'A' || ch == 'B' || ch == 'a' || ch == 'b';
        if ((xyz && (m_nLayout == 0 || m_nLayout == 1 || m_nLayout == 3)) ||
            (ab && (m_nLayout == 2 || m_nLayout == 4)))
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    return DLGC_WANTARROWS;
}

LRESULT CPosCtrl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETDLGCODE:
        return DialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_SYSKEYDOWN: {
        // Keys pressed with Alt held come as system keys: a jog key with
        // Alt is a relative step.
        ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
        KeyDown(UINT(wParam));
        return m_hWnd ? COleControl::WindowProc(msg, wParam, lParam) : 0;
    }
    case WM_SYSKEYUP: {
        // A jog key let go while Alt is held still ends the jog.
        ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
        KeyUp(UINT(wParam));
        return m_hWnd ? COleControl::WindowProc(msg, wParam, lParam) : 0;
    }
    default:
        return COleControl::WindowProc(msg, wParam, lParam);
    }
}

void CPosCtrl::OnKeyDown(UINT nChar, UINT repeat, UINT flags) {
    KeyDown(nChar);
    if (m_hWnd)
        COleControl::OnKeyDown(nChar, repeat, flags);
}

void CPosCtrl::OnKeyUp(UINT nChar, UINT repeat, UINT flags) {
    KeyUp(nChar);
    if (m_hWnd)
        COleControl::OnKeyUp(nChar, repeat, flags);
}

void CPosCtrl::KeyDown(UINT nChar) {
    // Lamp keys: they switch lamps and jog nothing.
    if (m_nLayout == 0 && (nChar == 'X' || nChar == 'Y' || nChar == 'Z' || nChar == VK_SPACE)) {
        m_bXY = nChar == VK_SPACE ? !m_bXY : nChar != 'Z';
        RecolourLamps();
        return;
    }
    if (m_nLayout == 2 && (nChar == 'A' || nChar == 'B' || nChar == VK_SPACE)) {
        if (nChar == 'A') {
            m_bA = !m_bA;
            m_bB = m_bB || !m_bA;
        } else if (nChar == 'B') {
            m_bB = !m_bB;
            m_bA = m_bA || !m_bB;
        } else if (m_bA && m_bB) { // A+B -> A -> B -> A+B
            m_bB = false;
        } else if (m_bA) {
            m_bA = false;
            m_bB = true;
        } else {
            m_bA = m_bB = true;
        }
        RecolourLamps();
        return;
    }
    if (nChar == VK_SHIFT || nChar == VK_CONTROL) {
        // A modifier joining a held jog key re-keys its button; after the
        // key was let go (its release timer runs) it starts nothing.
        if (IsButton(m_nPressed) && m_nTimer == 0)
            JogKey(m_nPressed, nChar);
        return;
    }
    int index = PosKeyButton(m_nLayout, nChar);
    if (index < 0)
        return;
    if (m_nLayout == 0 && !m_bXY) {
        // Z is lit: only Up and Down jog, on the Z buttons.
        if (index == 0)
            index = 1;
        else if (index == 8)
            index = 9;
        else
            return;
    }
    JogKey(index, nChar);
}

void CPosCtrl::JogKey(int index, UINT vk) {
    Refresh();
    // Whether the key is held: a tap lets go within the waits.
    bool ranOut = true;
    for (int wait = 0; wait < kKeyWaits; ++wait) {
        ::Sleep(kKeyWait);
        if (!KeyHeld(int(vk))) {
            if (m_bRepeat)
                ::Sleep(kRepeatPause);
            ranOut = false;
            break;
        }
    }
    const bool shift = KeyHeld(VK_SHIFT);
    const bool alt = KeyHeld(VK_MENU);
    const bool ctrl = KeyHeld(VK_CONTROL);
    if (!ctrl || alt) {
        // A relative step.
        if (IsButton(m_nPressed) && m_nPressed != index)
            PaintRect(m_nPressed, kPosBlack);
        m_nPressed = index;
        PaintRect(index, kPosRed);
        KillReleaseTimer();
        if (ranOut)
            m_bRepeat = true;
        const int code = PosButtonCode(m_nLayout, index, m_bA, m_bB);
        FireEvent(kEventPosRel, SHORT(code + (shift ? kPosShift : alt ? kPosAlt : 0)));
        return;
    }
    // A continuous jog; a repeated key-down with the same Shift leaves it.
    if (shift == m_bShiftJog && m_bPressed)
        return;
    m_bShiftJog = shift;
    m_bCtrlJog = true;
    KillReleaseTimer();
    Press(index, shift ? 2 : 1, PressSource::Keyboard);
}

void CPosCtrl::KeyUp(UINT nChar) {
    m_bRepeat = false;
    if (nChar == VK_CONTROL)
        m_bCtrlJog = false;
    if (nChar == VK_SHIFT) {
        m_bShiftJog = false;
        if (m_bCtrlJog && m_bPressed && IsButton(m_nPressed)) {
            Press(m_nPressed, 1, PressSource::Keyboard); // on without Shift
            return;
        }
    }
    if (m_bPressed) {
        // A mouse button still down on the pad owes no second StopPos.
        if (m_pressSource == PressSource::Mouse && m_mouseDown)
            m_stopSent = true;
        ReleasePress();
    }
    if (IsButton(m_nPressed) && m_hWnd) {
        KillReleaseTimer();
        m_nTimer = SetTimer(kReleaseTimer, kReleaseDelay);
    }
    if (m_hWnd)
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

// [SECTION] Release timer

void CPosCtrl::OnTimer(UINT_PTR id) {
    if (m_nTimer != 0 && id == m_nTimer) {
        if (IsButton(m_nPressed))
            PaintRect(m_nPressed, kPosBlack);
        m_nPressed = -1;
        KillReleaseTimer();
    }
    COleControl::OnTimer(id);
}

// [SECTION] Focus, enable and visibility

void CPosCtrl::OnSetFocus(CWnd* oldWnd) {
    COleControl::OnSetFocus(oldWnd);
    InvalidateControl();
}

void CPosCtrl::OnKillFocus(CWnd* newWnd) {
    // The keys go elsewhere now: a Ctrl jog would never see its key-up.
    EndPress();
    m_bCtrlJog = m_bShiftJog = false;
    m_bRepeat = false;
    if (!m_hWnd)
        return;
    COleControl::OnKillFocus(newWnd);
    InvalidateControl();
}

void CPosCtrl::OnEnable(BOOL enable) {
    COleControl::OnEnable(enable);
    if (!enable) {
        EndPress();
        // Nothing stays hovered or keyed on a pad that takes no input.
        ClearHover();
        if (IsButton(m_nPressed))
            PaintRect(m_nPressed, kPosBlack);
        m_nPressed = -1;
        KillReleaseTimer();
        if (m_hWnd && ::GetCapture() == m_hWnd)
            ReleaseCapture();
    }
    if (enable)
        RecolourPos(Picture(), kPosGrey, kPosBlack);
    else
        RecolourPos(Picture(), kPosBlack, kPosGrey);
    InvalidateControl();
}

void CPosCtrl::OnEnabledChanged() {
    // With a window, WM_ENABLE recolours; without one (a pad loaded or set
    // disabled before it is placed) the picture follows the property here.
    if (!m_hWnd) {
        if (GetEnabled())
            RecolourPos(Picture(), kPosGrey, kPosBlack);
        else
            RecolourPos(Picture(), kPosBlack, kPosGrey);
    }
    COleControl::OnEnabledChanged();
}

void CPosCtrl::OnShowWindow(BOOL show, UINT status) {
    if (!show)
        EndPress();
    if (m_hWnd)
        COleControl::OnShowWindow(show, status);
}
