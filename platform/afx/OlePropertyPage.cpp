// Property pages: the exchange, the objects' properties and the page-site
// protocol.
//
// [SECTION] Life
// [SECTION] Exchange
// [SECTION] Properties
// [SECTION] IPropertyPage
#include "platform/afx/OlePropertyPage.h"

#include "platform/afx/ModuleState.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// The radio buttons' ids of the group starting at `first`.
std::vector<int> GroupIds(HWND first) {
    std::vector<int> ids;
    for (HWND hwnd = first; hwnd; hwnd = GetWindow(hwnd, GW_HWNDPREV)) {
        if (hwnd != first && (GetWindowLongA(hwnd, GWL_STYLE) & WS_GROUP))
            break;
        // A check box or an edit placed inside the group is an item of its
        // own, not a choice of the group.
        if (SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            ids.push_back(GetDlgCtrlID(hwnd));
    }
    return ids;
}

// "The value of Label was not accepted." for the properties an object
// refused.
std::string RefusalMessage(const std::vector<std::string>& names) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return (names.size() == 1 ? "The value of " : "The values of ") + list +
           (names.size() == 1 ? " was not accepted." : " were not accepted.");
}

// Whether a notification is a change the user made to an item's value.
bool IsValueChange(HWND item, WORD code) {
    if (!item)
        return false;
    const LRESULT dlgCode = SendMessageA(item, WM_GETDLGCODE, 0, 0);
    char cls[32]{};
    GetClassNameA(item, cls, int(sizeof cls));
    const std::string name = cls;
    if (name == "COMBOBOX")
        return code == CBN_SELCHANGE;
    if (name == "LISTBOX")
        return code == LBN_SELCHANGE;
    if (name == "EDIT")
        return code == EN_CHANGE;
    // Check boxes and radio buttons, not push buttons.
    return code == BN_CLICKED && (dlgCode & DLGC_BUTTON) &&
           !(dlgCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

} // namespace

// [SECTION] Life

COlePropertyPage::COlePropertyPage(HMODULEINSTANCE resources, UINT idDialog, UINT idCaption,
                                   CFactoryList* factories)
    : CDialog(idDialog, nullptr, resources), m_resources(resources), m_idCaption(idCaption),
      m_factories(factories) {
    if (m_factories)
        m_factories->State().ObjectCreated();
}

COlePropertyPage::COlePropertyPage(UINT idDialog, UINT idCaption)
    : COlePropertyPage(AfxGetModuleState()->resources, idDialog, idCaption,
                       AfxGetModuleState()->factories) {}

COlePropertyPage::~COlePropertyPage() {
    // The window goes while the page is still whole.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    if (m_factories)
        m_factories->State().ObjectDestroyed();
}

// [SECTION] Exchange

void COlePropertyPage::DoDataExchange(CDataExchange*) {}

BOOL COlePropertyPage::OnInitDialog() {
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    return FALSE;
}

BOOL COlePropertyPage::UpdateData(BOOL saveAndValidate) {
    if (!m_hWnd || !IsWindow(m_hWnd))
        return FALSE;
    CDataExchange dx(this, saveAndValidate);
    const bool wasShowing = std::exchange(m_showing, !saveAndValidate || m_showing);
    CDataExchange* outer = std::exchange(m_applying, saveAndValidate ? &dx : m_applying);
    DoDataExchange(&dx);
    m_applying = outer;
    m_showing = wasShowing;
    if (dx.Failed())
        return FALSE;
    m_refused.clear();
    dx.Commit();
    if (saveAndValidate && !m_refused.empty()) {
        // The page stays dirty with the user's items, so that they can be
        // put right and applied again.
        ShowExchangeMessage(m_hWnd, RefusalMessage(m_refused).c_str());
        m_refused.clear();
        return FALSE;
    }
    // What the items show now is what the objects hold.
    m_changed.clear();
    return TRUE;
}

void COlePropertyPage::SetModifiedFlag(BOOL modified) {
    const bool was = m_dirty;
    m_dirty = modified != FALSE;
    if (!m_site)
        return;
    if (m_dirty)
        m_site->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
    else if (was)
        m_site->OnStatusChange(PROPPAGESTATUS_CLEAN);
}

BOOL COlePropertyPage::IsControlChanged(int id) const {
    return m_changed.count(id) != 0;
}

BOOL COlePropertyPage::IsGroupChanged(int firstId) const {
    const HWND first = m_hWnd ? ::GetDlgItem(m_hWnd, firstId) : nullptr;
    if (!first)
        return IsControlChanged(firstId);
    for (int id : GroupIds(first))
        if (IsControlChanged(id))
            return TRUE;
    return FALSE;
}

BOOL COlePropertyPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto item = reinterpret_cast<HWND>(lParam);
    const WORD code = HIWORD(wParam);
    if (m_tracking && !m_showing && IsValueChange(item, code)) {
        m_changed.insert(int(LOWORD(wParam)));
        SetModifiedFlag(TRUE);
    }
    return CDialog::OnCommand(wParam, lParam);
}

// [SECTION] Properties

IDispatch** COlePropertyPage::GetObjectArray(ULONG* count) {
    if (count)
        *count = ULONG(m_objectArray.size());
    return m_objectArray.empty() ? nullptr : m_objectArray.data();
}

BOOL COlePropertyPage::ReadProperty(LPCSTR propName, VARTYPE vt, void* value) {
    if (!propName || m_objects.empty())
        return FALSE;
    IDispatch* object = m_objects.front().Get();
    DISPID dispid = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, &propName, 1, LOCALE_USER_DEFAULT, &dispid)))
        return FALSE;
    COleDispatchDriver driver(object, FALSE);
    return SUCCEEDED(driver.GetProperty(dispid, vt, value));
}

BOOL COlePropertyPage::WriteProperty(LPCSTR propName, VARTYPE vt, const void* value) {
    if (!propName || m_objects.empty())
        return FALSE;
    BOOL all = TRUE;
    for (const ComPtr<IDispatch>& object : m_objects) {
        DISPID dispid = DISPID_UNKNOWN;
        if (FAILED(object->GetIDsOfNames(IID_NULL, &propName, 1, LOCALE_USER_DEFAULT, &dispid))) {
            all = FALSE;
            continue;
        }
        COleDispatchDriver driver(object.Get(), FALSE);
        if (FAILED(driver.SetProperty(dispid, vt, value))) {
            all = FALSE;
            if (std::find(m_refused.begin(), m_refused.end(), propName) == m_refused.end())
                m_refused.emplace_back(propName);
        }
    }
    return all;
}

template <class T> BOOL COlePropertyPage::Write(LPCSTR propName, VARTYPE vt, T value) {
    if (m_applying) {
        // Made when the exchange ends without a refusal.
        m_applying->Defer([this, name = std::string(propName ? propName : ""), vt, value] {
            WriteProperty(name.c_str(), vt, &value);
        });
        return TRUE;
    }
    return WriteProperty(propName, vt, &value);
}

BOOL COlePropertyPage::GetPropText(LPCSTR propName, CString* value) {
    return value && ReadProperty(propName, VT_BSTR, value);
}

template <class T> BOOL COlePropertyPage::ReadLong(LPCSTR propName, T* value) {
    LONG v = 0;
    if (!value || !ReadProperty(propName, VT_I4, &v))
        return FALSE;
    *value = static_cast<T>(v);
    return TRUE;
}

BOOL COlePropertyPage::GetPropText(LPCSTR propName, BYTE* value) {
    return ReadLong(propName, value);
}
BOOL COlePropertyPage::GetPropText(LPCSTR propName, short* value) {
    return value && ReadProperty(propName, VT_I2, value);
}
BOOL COlePropertyPage::GetPropText(LPCSTR propName, int* value) {
    return ReadLong(propName, value);
}
BOOL COlePropertyPage::GetPropText(LPCSTR propName, UINT* value) {
    return ReadLong(propName, value);
}
BOOL COlePropertyPage::GetPropText(LPCSTR propName, long* value) {
    return ReadLong(propName, value);
}
BOOL COlePropertyPage::GetPropText(LPCSTR propName, float* value) {
    return value && ReadProperty(propName, VT_R4, value);
}
BOOL COlePropertyPage::GetPropText(LPCSTR propName, double* value) {
    return value && ReadProperty(propName, VT_R8, value);
}

BOOL COlePropertyPage::SetPropText(LPCSTR propName, const CString& value) {
    return Write(propName, VT_BSTR, value);
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, BYTE value) {
    return Write(propName, VT_I4, LONG(value));
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, short value) {
    return Write(propName, VT_I2, SHORT(value));
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, int value) {
    return Write(propName, VT_I4, LONG(value));
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, UINT value) {
    return Write(propName, VT_I4, LONG(value));
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, long value) {
    return Write(propName, VT_I4, LONG(value));
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, float value) {
    return Write(propName, VT_R4, value);
}
BOOL COlePropertyPage::SetPropText(LPCSTR propName, double value) {
    return Write(propName, VT_R8, value);
}

// [SECTION] IPropertyPage

HRESULT COlePropertyPage::SetPageSite(IPropertyPageSite* site) {
    m_site = ComPtr<IPropertyPageSite>(site);
    return S_OK;
}

HRESULT COlePropertyPage::Activate(HWND parent, const RECT* rc, BOOL) {
    if (m_hWnd)
        return E_UNEXPECTED;
    if (!IsWindow(parent))
        return E_INVALIDARG;
    if (!CreateModeless(parent, TRUE))
        return E_FAIL;
    // What the dialog did to its items while it was built was no user's.
    m_changed.clear();
    m_tracking = true;
    if (rc)
        Move(rc);
    return S_OK;
}

HRESULT COlePropertyPage::Deactivate() {
    m_tracking = false;
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    m_changed.clear();
    return S_OK;
}

HRESULT COlePropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info)
        return E_POINTER;
    *info = PROPPAGEINFO{};
    if (m_resources)
        if (const auto caption = m_resources->LoadString(m_idCaption))
            info->title = caption->GetString();
    if (info->title.empty())
        if (const DialogTemplate* t = GetTemplate(); t && t->caption)
            info->title = t->caption;
    if (!GetTemplateSize(&info->size))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT COlePropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects)
        return E_POINTER;
    std::vector<ComPtr<IDispatch>> dispatches;
    for (ULONG i = 0; i < count; ++i) {
        ComPtr<IDispatch> dispatch;
        if (!objects[i] || FAILED(objects[i]->QueryInterface(IID_IDispatch, dispatch.OutVoid())))
            return E_NOINTERFACE;
        dispatches.push_back(std::move(dispatch));
    }
    m_objects = std::move(dispatches);
    m_objectArray.clear();
    for (const auto& d : m_objects)
        m_objectArray.push_back(d.Get());
    // An active page shows the new objects at once.
    if (m_hWnd && !m_objects.empty())
        UpdateData(FALSE);
    return S_OK;
}

HRESULT COlePropertyPage::Show(UINT cmd) {
    if (!m_hWnd)
        return E_UNEXPECTED;
    ShowWindow(m_hWnd, int(cmd));
    return S_OK;
}

HRESULT COlePropertyPage::Move(const RECT* rc) {
    if (!rc)
        return E_POINTER;
    if (!m_hWnd)
        return E_UNEXPECTED;
    MoveWindow(m_hWnd, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, TRUE);
    return S_OK;
}

HRESULT COlePropertyPage::IsPageDirty() {
    return m_dirty ? S_OK : S_FALSE;
}

HRESULT COlePropertyPage::Apply() {
    if (!m_dirty)
        return S_OK;
    if (m_hWnd && !UpdateData(TRUE))
        return E_FAIL;
    SetModifiedFlag(FALSE);
    return S_OK;
}

HRESULT COlePropertyPage::Help(const char*) {
    return E_NOTIMPL;
}

HRESULT COlePropertyPage::TranslateAccelerator(MSG*) {
    return S_FALSE;
}
