#include "platform/afx/SpinButtonCtrl.h"

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, UPDOWN_CLASS, "", style, rect, parent, id);
}

void CSpinButtonCtrl::SetRange(short lower, short upper) {
    ::SendMessageA(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(WORD(upper), WORD(lower)));
}

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    ::SendMessageA(m_hWnd, UDM_SETRANGE32, WPARAM(LONG_PTR(lower)), LPARAM(upper));
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    lower = upper = 0;
    ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                   reinterpret_cast<LPARAM>(&upper));
}

int CSpinButtonCtrl::SetPos(int pos) {
    return int(::SendMessageA(m_hWnd, UDM_SETPOS32, 0, LPARAM(pos)));
}

int CSpinButtonCtrl::GetPos() const {
    return int(SHORT(LOWORD(std::uintptr_t(::SendMessageA(m_hWnd, UDM_GETPOS, 0, 0)))));
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
    return FromHandle(reinterpret_cast<HWND>(::SendMessageA(
        m_hWnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy ? buddy->m_hWnd : nullptr), 0)));
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
    return FromHandle(reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0)));
}
