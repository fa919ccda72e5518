#include "spinedit/SpinEditPage.h"

#include "platform/afx/ControlPointer.h"
#include "platform/afx/OleControl.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <cstdio>

namespace kw::spinedit {

namespace {

std::size_t FindKey(std::string_view text, char letter) {
    const char key[3] = {letter, '$', '\0'};
    return text.find(key);
}

} // namespace

int UnitDecimals(std::string_view text, char letter) {
    const std::size_t at = FindKey(text, letter);
    if (at == std::string_view::npos || at + 2 >= text.size())
        return 0;
    const char digit = text[at + 2];
    return digit >= '0' && digit <= '8' ? digit - '0' : 0;
}

void RemoveUnitEntry(std::string& text, char letter) {
    const std::size_t at = FindKey(text, letter);
    if (at != std::string::npos)
        text.erase(at, 3);
}

std::string UnitEntry(std::string_view text, char letter) {
    const std::size_t at = FindKey(text, letter);
    return at == std::string_view::npos ? std::string() : std::string(text.substr(at, 3));
}

std::array<std::string, 8> HostUnitNames(std::string_view text) {
    std::array<std::string, 8> names;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t colon = text.find(':', pos);
        if (colon == std::string_view::npos || colon == 0)
            break;
        const char digit = text[colon - 1];
        if (digit < '1' || digit > '8')
            break;
        const std::size_t semicolon = text.find(';', colon + 1);
        if (semicolon == std::string_view::npos)
            break;
        names[std::size_t(digit - '1')] = text.substr(colon + 1, semicolon - colon - 1);
        pos = semicolon + 2;
    }
    return names;
}

bool IsValidUnitName(std::string_view name) {
    return name.find_first_of(":;$") == std::string_view::npos;
}

} // namespace kw::spinedit

using namespace kw::spinedit;

LRESULT CSpinEditPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL && LOWORD(wParam) != SB_ENDSCROLL && lParam) {
        char cls[32]{};
        GetClassNameA(reinterpret_cast<HWND>(lParam), cls, int(sizeof cls));
        if (std::string_view(cls) == UPDOWN_CLASS)
            UpdateData(TRUE);
    }
    return COlePropertyPage::WindowProc(message, wParam, lParam);
}

short CSpinEditPage::PackBox(short word, int id, int box, WORD mask, bool inverted) const {
    if (!IsControlChanged(id))
        return word;
    return WithBits(word, mask, (box == BST_CHECKED) != inverted);
}

short CSpinEditPage::ReadShort(IDispatch* object, DISPID dispid) {
    SHORT value = 0;
    COleDispatchDriver driver(object, FALSE);
    if (FAILED(driver.GetProperty(dispid, VT_I2, &value)))
        return 0;
    return value;
}

CString CSpinEditPage::ReadText(IDispatch* object, DISPID dispid) {
    CString value;
    COleDispatchDriver driver(object, FALSE);
    if (FAILED(driver.GetProperty(dispid, VT_BSTR, &value)))
        return CString();
    return value;
}

void CSpinEditPage::UpdateEachShort(
    CDataExchange* pDX, DISPID dispid,
    const std::function<short(IDispatch* object, short old)>& update) {
    if (!pDX->m_bSaveAndValidate || pDX->Failed())
        return;
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    // Read when the exchange's other writes are made: a control may set
    // bits of its own as they arrive (a new limit turns "use Limits" on).
    for (ULONG i = 0; i < count; ++i)
        pDX->Defer([object = ComPtr<IDispatch>(objects[i]), dispid, update] {
            const short old = ReadShort(object.Get(), dispid);
            const SHORT value = update(object.Get(), old);
            if (value == old)
                return;
            COleDispatchDriver driver(object.Get(), FALSE);
            driver.SetProperty(dispid, VT_I2, &value);
        });
}

void CSpinEditPage::UpdateEachText(
    CDataExchange* pDX, DISPID dispid, bool always,
    const std::function<CString(IDispatch* object, const CString& old)>& update) {
    if (!pDX->m_bSaveAndValidate || pDX->Failed())
        return;
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    for (ULONG i = 0; i < count; ++i)
        pDX->Defer([object = ComPtr<IDispatch>(objects[i]), dispid, always, update] {
            const CString old = ReadText(object.Get(), dispid);
            const CString value = update(object.Get(), old);
            if (!always && value == old)
                return;
            COleDispatchDriver driver(object.Get(), FALSE);
            driver.SetProperty(dispid, VT_BSTR, &value);
        });
}

void CSpinEditPage::ShowDefaultUnit(int comboId) {
    short unit = 0;
    GetPropText("DefaultUnit", &unit);
    const int count = int(SendMessageA(::GetDlgItem(m_hWnd, comboId), CB_GETCOUNT, 0, 0));
    // The list holds one entry per unit; a value beyond it shows the first.
    if (unit < 0 || unit >= count)
        unit = 0;
    SendMessageA(::GetDlgItem(m_hWnd, comboId), CB_SETCURSEL, WPARAM(unit), 0);
}

void CSpinEditPage::ApplyDefaultUnit(CDataExchange* pDX, int comboId) {
    const int count = int(SendMessageA(::GetDlgItem(m_hWnd, comboId), CB_GETCOUNT, 0, 0));
    const int chosen = int(SendMessageA(::GetDlgItem(m_hWnd, comboId), CB_GETCURSEL, 0, 0));
    const bool changed = IsControlChanged(comboId) && chosen >= 0;
    UpdateEachShort(pDX, kDispDefaultUnit, [=](IDispatch*, short old) {
        if (changed)
            return short(chosen);
        return old >= 0 && old < count ? old : short(0);
    });
}

void CSpinEditPage::EnableItem(int id, bool enable) {
    if (HWND item = ::GetDlgItem(m_hWnd, id))
        ::EnableWindow(item, enable);
}

bool CSpinEditPage::IsChecked(int id) const {
    return SendMessageA(::GetDlgItem(m_hWnd, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

COleControl* SpinEditPageControl(COlePropertyPage& page) {
    ULONG count = 0;
    IDispatch** objects = page.GetObjectArray(&count);
    if (!count)
        return nullptr;
    LONG token = 0;
    COleDispatchDriver driver(objects[0], FALSE);
    if (FAILED(driver.GetProperty(kDispControlPointer, VT_I4, &token)))
        return nullptr;
    return AfxControlFromPointer(token);
}
