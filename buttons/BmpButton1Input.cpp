// CBmpButton1Ctrl: mouse, hover tracking, focus, auto-repeat, the click
// notification and the verbs.
#include "buttons/BmpButton1Ctrl.h"

#include "platform/user/Input.h"

// [SECTION] The window procedure

LRESULT CBmpButton1Ctrl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDBLCLK:
        // A fast second click is a second press, not a double-click.
        if (m_hWnd)
            return ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam));
        return COleControl::WindowProc(msg, wParam, lParam);
    default:
        return COleControl::WindowProc(msg, wParam, lParam);
    }
}

BOOL CBmpButton1Ctrl::OnEraseBkgnd(CDC*) {
    return TRUE; // the drawing covers the whole button
}

// [SECTION] Hover tracking

void CBmpButton1Ctrl::OnMouseMove(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    COleControl::OnMouseMove(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    // A drag that starts elsewhere does not light the button.
    if ((flags & MK_LBUTTON) && !m_hover)
        return;
    if (::GetCapture() != m_hWnd && ::GetParent(m_hWnd)) {
        m_hover = TRUE;
        ::SetCapture(m_hWnd);
        InvalidateControl(nullptr, FALSE);
        return;
    }
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    if (::WindowFromPoint(screen) == m_hWnd)
        return;
    if (m_hover) {
        m_hover = FALSE;
        InvalidateControl(nullptr, FALSE);
    }
    if (!(flags & MK_LBUTTON))
        ::ReleaseCapture();
}

void CBmpButton1Ctrl::LeaveHover() {
    if (!m_hover)
        return;
    m_hover = FALSE;
    InvalidateControl(nullptr, FALSE);
}

void CBmpButton1Ctrl::OnActivate(UINT state) {
    if (state == WA_INACTIVE)
        LeaveHover();
}

void CBmpButton1Ctrl::OnKillFocus(CWnd* newWnd) {
    StopRepeat();
    LeaveHover();
    COleControl::OnKillFocus(newWnd);
}

void CBmpButton1Ctrl::OnEnable(BOOL enable) {
    if (!enable) {
        StopRepeat();
        EndPress();
        LeaveHover();
    }
    COleControl::OnEnable(enable);
}

void CBmpButton1Ctrl::OnCaptureChanged(CWnd* wnd) {
    // Whoever took the mouse ended the press: the repeat ends with it. The
    // system button's own handling lets go of its pushed look.
    StopRepeat();
    COleControl::OnCaptureChanged(wnd);
    if (!m_hover || !m_hWnd)
        return;
    // Without the capture the moves that would end the hover go to other
    // windows, and the button would stay lit after the mouse left it. So a
    // released capture is taken back while the cursor is over the button,
    // and otherwise (or when another window took it) the hover ends here.
    POINT cursor{};
    const bool over = ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == m_hWnd;
    if (over && ::GetCapture() == nullptr)
        ::SetCapture(m_hWnd);
    else
        m_hover = FALSE;
    InvalidateControl(nullptr, FALSE);
}

void CBmpButton1Ctrl::OnCancelMode() {
    StopRepeat();
    COleControl::OnCancelMode();
}

// [SECTION] Pressing and auto-repeat

void CBmpButton1Ctrl::StartRepeat(UINT period) {
    if (!m_hWnd)
        return;
    m_repeatTimer = SetTimer(kRepeatTimer, period);
}

void CBmpButton1Ctrl::StopRepeat() {
    if (m_repeatTimer && m_hWnd)
        KillTimer(kRepeatTimer);
    m_repeatTimer = 0;
}

void CBmpButton1Ctrl::EndPress() {
    // The system button drops its pushed look when it loses the mouse.
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_hWnd && (::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED))
        ::SendMessageA(m_hWnd, BM_SETSTATE, FALSE, 0);
}

void CBmpButton1Ctrl::OnLButtonDown(UINT flags, CPoint point) {
    // Each press starts afresh: a press that ended outside the button after
    // repeating must not swallow the next click.
    m_repeatFired = 0;
    StopRepeat();
    if (m_enableAutorepeat)
        StartRepeat(kRepeatFirst);
    COleControl::OnLButtonDown(flags, point);
}

void CBmpButton1Ctrl::OnLButtonUp(UINT flags, CPoint point) {
    StopRepeat();
    COleControl::OnLButtonUp(flags, point);
}

void CBmpButton1Ctrl::OnTimer(UINT_PTR id) {
    if (id != kRepeatTimer || m_repeatTimer == 0) {
        COleControl::OnTimer(id);
        return;
    }
    KillTimer(kRepeatTimer);
    m_repeatTimer = 0;
    StartRepeat(kRepeatNext);
    m_repeatFired = 1;
    OnButtonClick(); // a host may destroy the control here: nothing follows
}

void CBmpButton1Ctrl::OnClick(USHORT) {
    // The click comes from the system button's notification instead.
}

LRESULT CBmpButton1Ctrl::OnOcmCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    const bool repeated = m_repeatFired != 0;
    m_repeatFired = 0;
    if (!repeated)
        OnButtonClick();
    return 0;
}

void CBmpButton1Ctrl::OnButtonClick() {
    FireClick();
}

// [SECTION] Window life

void CBmpButton1Ctrl::OnDestroy() {
    StopRepeat();
    m_hover = FALSE;
    COleControl::OnDestroy();
    DropOffscreen();
}

void CBmpButton1Ctrl::OnSize(UINT type, int cx, int cy) {
    COleControl::OnSize(type, cx, cy);
    DropOffscreen();
}

// [SECTION] Verbs

HRESULT CBmpButton1Ctrl::DoVerb(LONG iVerb, HWND hwndParent, const RECT* lprcPosRect) {
    switch (iVerb) {
    case OLEIVERB_HIDE:
        return COleControl::DoVerb(iVerb, hwndParent, lprcPosRect);
    case OLEIVERB_SHOW:
        if (m_hWnd && !::IsWindowVisible(m_hWnd))
            return COleControl::DoVerb(iVerb, hwndParent, nullptr);
        return S_OK;
    default:
        return COleControl::DoVerb(iVerb, hwndParent, lprcPosRect);
    }
}
