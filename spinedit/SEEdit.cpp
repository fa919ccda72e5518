#include "spinedit/SEEdit.h"

#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/VirtualKeys.h"
#include "spinedit/SpinEditCtrl.h"
#include "spinedit/ValueFormat.h"

#include <cstdio>

namespace {

constexpr LONG kKeyTab = VK_TAB;
constexpr LONG kKeyEnter = VK_RETURN;
constexpr LONG kKeyEscape = VK_ESCAPE;
// The largest single-precision value: results above it cannot be shown.
constexpr double kLargestFloat = 3.4028234663852886e38;

bool IsCtrlNavigationKey(UINT key) {
    return key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN || key == VK_LEFT ||
           key == VK_RIGHT;
}

bool SelectsText(UINT ch) {
    return ch == 1 || ch == '\r' || ch == ' ' || ch == '#';
}

} // namespace

BOOL CSEEdit::CreateFor(CSpinEditCtrl* control) {
    if (!Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 10, 10), control, kSpinEditEntryId))
        return FALSE;
    const LRESULT font = control->SendMessage(WM_GETFONT);
    SendMessage(WM_SETFONT, WPARAM(font), TRUE);
    SetWindowText("");
    return TRUE;
}

void CSEEdit::Activate(DWORD styleBits, const CRect& rc, const CString& text, UINT ch) {
    m_lastKey = 0;
    m_startingText = text;
    SetWindowText(text);
    ModifyStyle(0, styleBits);
    ShowWindow(SW_SHOW);
    MoveWindow(&rc, TRUE);
    SetFocus();
    if (SelectsText(ch)) {
        SendMessage(EM_SETSEL, 0, -1);
        SendMessage(EM_SCROLLCARET);
    } else if (ch == '\b') {
        SendMessage(WM_CHAR, ch);
    } else {
        SendMessage(EM_SETSEL, 0, -1);
        SendMessage(EM_SCROLLCARET);
        SendMessage(WM_CHAR, ch);
    }
}

UINT CSEEdit::OnGetDlgCode() {
    return UINT(DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS);
}

BOOL CSEEdit::PreTranslateMessage(MSG* msg) {
    // Keys go straight to the box, so that no accelerator or dialog
    // navigation of the container takes them while the operator types.
    if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
        return TRUE;
    }
    if (msg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(msg);
}

void CSEEdit::Leave(LONG key) {
    m_lastKey = key;
    if (CWnd* parent = GetParent())
        parent->SetFocus();
}

void CSEEdit::OnKeyDown(UINT nChar, UINT repeat, UINT flags) {
    const bool ctrlHeld = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (ctrlHeld && IsCtrlNavigationKey(nChar)) {
        Leave(LONG(nChar));
        return;
    }
    if (nChar == UINT(kKeyEscape)) {
        SetWindowText(m_startingText);
        Leave(kKeyEscape);
        return;
    }
    CEdit::OnKeyDown(nChar, repeat, flags);
}

void CSEEdit::OnKeyUp(UINT nChar, UINT repeat, UINT flags) {
    if (nChar == UINT(kKeyTab) || nChar == UINT(kKeyEnter) || nChar == UINT(kKeyEscape)) {
        Leave(LONG(nChar));
        return;
    }
    CEdit::OnKeyUp(nChar, repeat, flags);
}

CString CSEEdit::EvaluateText(const CString& text) {
    m_evaluator.SetExpression(text.Str());
    if (text.IsEmpty())
        return text;
    const double v = m_evaluator.Evaluate();
    if (v > kLargestFloat)
        return CString("---");
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%f", v);
    return CString(buffer);
}

void CSEEdit::OnKillFocus(CWnd* newWnd) {
    CEdit::OnKillFocus(newWnd);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner)
        owner = ::GetParent(m_hWnd);
    auto* control = dynamic_cast<CSpinEditCtrl*>(CWnd::FromHandlePermanent(owner));
    if (!control)
        return;
    CString text;
    GetWindowText(text);
    // An untouched "---" of a field that was never set leaves it unset.
    const bool showsUninitialized = (control->m_flags & kSpinEditFlagShowUninitialized) != 0;
    if (!control->IsDefined() && showsUninitialized && text == "---")
        return;
    const CString result = EvaluateText(text);
    NMSPINEDITENTRY entry;
    entry.hdr.hwndFrom = m_hWnd;
    entry.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
    entry.hdr.code = kSpinEditEntryCode;
    entry.text = result.GetString();
    entry.key = m_lastKey;
    entry.focus = newWnd ? newWnd->GetSafeHwnd() : nullptr;
    ::SendMessageA(owner, WM_NOTIFY, WPARAM(entry.hdr.idFrom), reinterpret_cast<LPARAM>(&entry));
}
