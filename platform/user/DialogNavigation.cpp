// Moving through a dialog with the keyboard: Tab and Shift+Tab between tab
// stops, the arrow keys within a group, and mnemonics: the character after
// '&' in the text of a label or button.
//
// A child window with WS_EX_CONTROLPARENT (a dialog placed inside another,
// such as a property page in its frame) is not a stop of its own: its
// controls take part in the order of the dialog around it, where it stands.
#include "platform/user/DialogNavigation.h"

#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongA(hwnd, GWL_STYLE));
}

bool IsControlParent(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && (Style(hwnd) & WS_CHILD);
}

bool IsUsable(HWND hwnd) {
    return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

// The children of a window in creation order.
std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    std::reverse(children.begin(), children.end());
    return children;
}

// Every control of the dialog in order, control parents opened up. Hidden
// or disabled control parents hide their controls.
void Collect(HWND parent, std::vector<HWND>& out) {
    for (HWND child : Children(parent)) {
        if (IsControlParent(child)) {
            if (IsUsable(child))
                Collect(child, out);
            continue;
        }
        out.push_back(child);
    }
}

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> controls;
    Collect(dialog, controls);
    return controls;
}

// The control `from` stands for in the order: itself, or for a window
// inside a control, that control.
HWND InOrder(const std::vector<HWND>& controls, HWND from) {
    for (HWND h = from; h; h = GetParent(h))
        if (std::find(controls.begin(), controls.end(), h) != controls.end())
            return h;
    return nullptr;
}

std::string Text(HWND hwnd) {
    std::string text(std::size_t(std::max(0, GetWindowTextLengthA(hwnd))) + 1, '\0');
    text.resize(std::size_t(std::max(0, GetWindowTextA(hwnd, text.data(), int(text.size())))));
    return text;
}

// The character after the single '&' of a text, 0 when it has none.
char MnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1];
    }
    return 0;
}

bool SameLetter(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
}

// The radio button of a group that is checked, if any.
HWND CheckedInGroup(HWND dialog, HWND member) {
    HWND h = member;
    do {
        if ((SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) &&
            SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return h;
        h = GetNextDlgGroupItem(dialog, h, FALSE);
    } while (h && h != member);
    return nullptr;
}

} // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog))
        return nullptr;
    const std::vector<HWND> controls = Controls(dialog);
    const auto n = std::ptrdiff_t(controls.size());
    if (n == 0)
        return nullptr;
    const HWND from = InOrder(controls, control);
    std::ptrdiff_t start =
        from ? std::find(controls.begin(), controls.end(), from) - controls.begin()
             : (previous ? 0 : n - 1);
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (previous ? -step : step)) % n + n) % n;
        const HWND h = controls[std::size_t(i)];
        if ((Style(h) & WS_TABSTOP) && IsUsable(h))
            return h;
    }
    return from;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog) || !IsWindow(control))
        return nullptr;
    // A group lies among the siblings: from a WS_GROUP control up to the
    // next one.
    const std::vector<HWND> siblings = Children(GetParent(control));
    const auto self = std::find(siblings.begin(), siblings.end(), control);
    if (self == siblings.end())
        return nullptr;
    auto first = self;
    while (first != siblings.begin() && !(Style(*first) & WS_GROUP))
        --first;
    auto last = self + 1;
    while (last != siblings.end() && !(Style(*last) & WS_GROUP))
        ++last;
    const std::vector<HWND> group(first, last);
    const auto n = std::ptrdiff_t(group.size());
    const std::ptrdiff_t start = std::find(group.begin(), group.end(), control) - group.begin();
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        const std::ptrdiff_t i = ((start + (previous ? -step : step)) % n + n) % n;
        const HWND h = group[std::size_t(i)];
        if (IsUsable(h) && !IsControlParent(h))
            return h;
    }
    return control;
}

namespace kw::user {

void DialogSetFocus(HWND control) {
    if (!IsWindow(control))
        return;
    SetFocus(control);
    if (IsWindow(control) && (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessageA(control, EM_SETSEL, 0, -1);
}

bool DialogTab(HWND dialog, HWND focus, bool backwards) {
    HWND next = GetNextDlgTabItem(dialog, focus, backwards);
    if (!next)
        return false;
    // Into a group of radio buttons through the one that is checked.
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        if (const HWND checked = CheckedInGroup(dialog, next))
            next = checked;
    DialogSetFocus(next);
    return true;
}

bool DialogArrow(HWND dialog, HWND focus, WPARAM key) {
    if (!focus)
        return false;
    const bool previous = key == VK_LEFT || key == VK_UP;
    const HWND next = GetNextDlgGroupItem(dialog, focus, previous ? TRUE : FALSE);
    if (!next || next == focus)
        return true;
    DialogSetFocus(next);
    // An automatic radio button is chosen as it takes the focus.
    if (IsWindow(next) && (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) &&
        (Style(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
        SendMessageA(next, BM_CLICK, 0, 0);
    return true;
}

HWND FindMnemonicControl(HWND dialog, HWND from, char ch) {
    if (!ch || !IsWindow(dialog))
        return nullptr;
    const std::vector<HWND> controls = Controls(dialog);
    const auto n = std::ptrdiff_t(controls.size());
    const HWND start = InOrder(controls, from);
    const std::ptrdiff_t s =
        start ? std::find(controls.begin(), controls.end(), start) - controls.begin() : n - 1;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const HWND h = controls[std::size_t(((s + step) % n + n) % n)];
        if (!IsUsable(h))
            continue;
        const LRESULT code = SendMessageA(h, WM_GETDLGCODE, 0, 0);
        if (!(code & (DLGC_STATIC | DLGC_BUTTON)))
            continue;
        char cls[16]{};
        GetClassNameA(h, cls, int(sizeof cls));
        if (std::string(cls) == "STATIC" && (Style(h) & SS_NOPREFIX))
            continue;
        if (SameLetter(MnemonicOf(Text(h)), ch))
            return h;
    }
    return nullptr;
}

bool DialogMnemonic(HWND dialog, HWND focus, char ch) {
    const HWND target = FindMnemonicControl(dialog, focus, ch);
    if (!target)
        return false;
    const LRESULT code = SendMessageA(target, WM_GETDLGCODE, 0, 0);
    if (code & DLGC_STATIC) {
        // A label or group box leads to the control after it.
        const HWND next = GetNextDlgTabItem(dialog, target, FALSE);
        if (next)
            DialogSetFocus(next);
        return true;
    }
    if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        DialogSetFocus(target);
    if (IsWindow(target))
        SendMessageA(target, BM_CLICK, 0, 0);
    return true;
}

} // namespace kw::user
