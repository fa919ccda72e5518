// Dialog data exchange between items and members, and the range checks.
//
// [SECTION] The exchange
// [SECTION] Texts and numbers
// [SECTION] Buttons and lists
// [SECTION] Ranges
#include "platform/afx/DataExchange.h"

#include "platform/afx/Dialog.h"
#include "platform/afx/Wnd.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// The framework's messages for values that do not fit.
constexpr const char* kEnterInteger = "Please enter an integer.";
constexpr const char* kEnterPositiveInteger = "Please enter a positive integer.";
constexpr const char* kEnterByte = "Please enter an integer between 0 and 255.";
constexpr const char* kEnterNumber = "Please enter a number.";

std::string ItemText(HWND item) {
    std::string text(std::size_t(std::max(0, GetWindowTextLengthA(item))) + 1, '\0');
    text.resize(std::size_t(std::max(0, GetWindowTextA(item, text.data(), int(text.size())))));
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A whole decimal integer, sign allowed; nothing else around it.
bool ParseInteger(const std::string& text, long long* value) {
    const std::string t = Trimmed(text);
    if (t.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno == ERANGE || !end || *end != '\0')
        return false;
    *value = v;
    return true;
}

bool ParseNumber(const std::string& text, double* value) {
    const std::string t = Trimmed(text);
    if (t.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

template <class T> void ExchangeInteger(CDataExchange* pDX, int id, T& value, const char* message) {
    if (pDX->Failed())
        return;
    const HWND item = pDX->PrepareEditCtrl(id);
    if (!item)
        return;
    if (!pDX->m_bSaveAndValidate) {
        const std::string text = std::is_signed_v<T>
                                     ? std::to_string(static_cast<long long>(value))
                                     : std::to_string(static_cast<unsigned long long>(value));
        SetWindowTextA(item, text.c_str());
        return;
    }
    long long parsed = 0;
    const bool fits =
        ParseInteger(ItemText(item), &parsed) &&
        parsed >= static_cast<long long>(std::numeric_limits<T>::min()) &&
        (parsed < 0 || static_cast<unsigned long long>(parsed) <=
                           static_cast<unsigned long long>(std::numeric_limits<T>::max()));
    if (!fits) {
        pDX->Fail(message);
        return;
    }
    value = static_cast<T>(parsed);
}

template <class T> void ExchangeReal(CDataExchange* pDX, int id, T& value, int digits) {
    if (pDX->Failed())
        return;
    const HWND item = pDX->PrepareEditCtrl(id);
    if (!item)
        return;
    if (!pDX->m_bSaveAndValidate) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", digits, double(value));
        SetWindowTextA(item, text);
        return;
    }
    double parsed = 0;
    if (!ParseNumber(ItemText(item), &parsed) ||
        std::fabs(parsed) > double(std::numeric_limits<T>::max())) {
        pDX->Fail(kEnterNumber);
        return;
    }
    value = static_cast<T>(parsed);
}

// The radio buttons of the group that starts at `first`, in creation order.
std::vector<HWND> RadioGroup(HWND first) {
    std::vector<HWND> group;
    for (HWND hwnd = first; hwnd; hwnd = GetWindow(hwnd, GW_HWNDPREV)) {
        if (hwnd != first && (GetWindowLongA(hwnd, GWL_STYLE) & WS_GROUP))
            break;
        if (SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            group.push_back(hwnd);
    }
    return group;
}

} // namespace

// [SECTION] The exchange

CDataExchange::CDataExchange(CDialog* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    const HWND item = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    m_hWndLastControl = item;
    m_bEditLastControl = FALSE;
    return item;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    const HWND item = PrepareCtrl(id);
    m_bEditLastControl = item != nullptr;
    return item;
}

void ShowExchangeMessage(HWND dialog, LPCSTR message) {
    const HWND root = dialog ? GetAncestor(dialog, GA_ROOT) : nullptr;
    // The box is titled as the window the user works in.
    std::string caption(std::size_t(std::max(0, GetWindowTextLengthA(root))) + 1, '\0');
    caption.resize(
        std::size_t(std::max(0, GetWindowTextA(root, caption.data(), int(caption.size())))));
    MessageBoxA(root, message, caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CDataExchange::Fail(const CString& message) {
    if (m_failed)
        return;
    m_failed = true;
    m_writes.clear();
    m_bindings.clear();
    if (!message.IsEmpty())
        ShowExchangeMessage(m_pDlgWnd ? m_pDlgWnd->GetSafeHwnd() : nullptr, message);
    if (m_hWndLastControl && IsWindow(m_hWndLastControl)) {
        SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void CDataExchange::Defer(std::function<void()> write) {
    if (!m_failed && write)
        m_writes.push_back(std::move(write));
}

void CDataExchange::Commit() {
    if (m_failed)
        return;
    std::vector<std::function<void()>> writes = std::move(m_writes);
    m_writes.clear();
    for (auto& write : writes)
        write();
}

// [SECTION] Texts and numbers

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    if (pDX->Failed())
        return;
    const HWND item = pDX->PrepareEditCtrl(id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = CString(ItemText(item).c_str());
    else
        SetWindowTextA(item, value);
}

void DDX_Text(CDataExchange* pDX, int id, BYTE& value) {
    ExchangeInteger(pDX, id, value, kEnterByte);
}
void DDX_Text(CDataExchange* pDX, int id, short& value) {
    ExchangeInteger(pDX, id, value, kEnterInteger);
}
void DDX_Text(CDataExchange* pDX, int id, int& value) {
    ExchangeInteger(pDX, id, value, kEnterInteger);
}
void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
    ExchangeInteger(pDX, id, value, kEnterPositiveInteger);
}
void DDX_Text(CDataExchange* pDX, int id, long& value) {
    ExchangeInteger(pDX, id, value, kEnterInteger);
}
void DDX_Text(CDataExchange* pDX, int id, float& value) {
    ExchangeReal(pDX, id, value, FLT_DIG);
}
void DDX_Text(CDataExchange* pDX, int id, double& value) {
    ExchangeReal(pDX, id, value, DBL_DIG);
}

// [SECTION] Buttons and lists

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    const HWND item = pDX->PrepareCtrl(id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = int(SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        SendMessageA(item, BM_SETCHECK, WPARAM(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    const HWND first = pDX->PrepareCtrl(id);
    if (!first)
        return;
    const std::vector<HWND> group = RadioGroup(first);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (SendMessageA(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = int(i);
                break;
            }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
        SendMessageA(group[i], BM_SETCHECK, int(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    const HWND item = pDX->PrepareCtrl(id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = int(SendMessageA(item, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(item, CB_SETCURSEL, WPARAM(LONG_PTR(value)), 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (pDX->Failed() || control.GetSafeHwnd())
        return;
    const HWND item = pDX->PrepareCtrl(id);
    if (item)
        control.SubclassWindow(item);
}

// [SECTION] Ranges

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum) {
    if (!pDX->m_bSaveAndValidate || pDX->Failed() || (value >= minimum && value <= maximum))
        return;
    CString message;
    message.Format("Please enter an integer between %d and %d.", minimum, maximum);
    pDX->Fail(message);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minimum, UINT maximum) {
    if (!pDX->m_bSaveAndValidate || pDX->Failed() || (value >= minimum && value <= maximum))
        return;
    CString message;
    message.Format("Please enter an integer between %u and %u.", minimum, maximum);
    pDX->Fail(message);
}
