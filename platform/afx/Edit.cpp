// CEdit: creating an edit window and the helpers over its EM_ messages.
#include "platform/afx/Edit.h"

#include <string>
#include <utility>

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    // The parameters travel as the ints they are: -1 stays -1.
    SendMessage(EM_SETSEL, WPARAM(LONG_PTR(start)), LPARAM(end));
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::SetSel(DWORD selection, BOOL noScroll) {
    SetSel(int(SHORT(LOWORD(selection))), int(SHORT(HIWORD(selection))), noScroll);
}

DWORD CEdit::GetSel() const {
    return DWORD(::SendMessageA(m_hWnd, EM_GETSEL, 0, 0));
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD first = 0;
    DWORD last = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                   reinterpret_cast<LPARAM>(&last));
    start = int(first);
    end = int(last);
}

void CEdit::ReplaceSel(LPCSTR newText, BOOL canUndo) {
    SendMessage(EM_REPLACESEL, WPARAM(canUndo), reinterpret_cast<LPARAM>(newText));
}

void CEdit::LimitText(int maxChars) {
    SendMessage(EM_LIMITTEXT, WPARAM(maxChars > 0 ? maxChars : 0));
}

UINT CEdit::GetLimitText() const {
    return UINT(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
    return BOOL(SendMessage(EM_SETREADONLY, WPARAM(readOnly)));
}

int CEdit::CharFromPos(CPoint point) const {
    return int(::SendMessageA(m_hWnd, EM_CHARFROMPOS, 0, MAKEPOINTLPARAM(point.x, point.y)));
}

CPoint CEdit::PosFromChar(UINT index) const {
    const auto position = DWORD(::SendMessageA(m_hWnd, EM_POSFROMCHAR, WPARAM(index), 0));
    return CPoint(SHORT(LOWORD(position)), SHORT(HIWORD(position)));
}

void CEdit::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::string buffer(std::size_t(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), int(buffer.size()));
    buffer.resize(std::size_t(copied > 0 ? copied : 0));
    text = CString(std::move(buffer));
}
