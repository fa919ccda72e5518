#include "platform/afx/StockPropPage.h"

#include "platform/afx/StockColorPage.h"
#include "platform/afx/StockFontPage.h"
#include "platform/afx/StockPageResources.h"
#include "platform/afx/StockPicturePage.h"
#include "platform/com/ComLoader.h"
#include "platform/com/TypeInfo.h"
#include "platform/com/Variant.h"
#include "platform/user/MessageBox.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/Window.h"

#include <algorithm>

// [SECTION] Late-bound access
// [SECTION] The page
// [SECTION] The runtime's classes

// [SECTION] Late-bound access

namespace kw::afx {

namespace {

bool IdOf(IDispatch* object, const char* name, DISPID* id) {
    return object && SUCCEEDED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, id));
}

} // namespace

bool HasMember(IDispatch* object, const char* name) {
    DISPID id = DISPID_UNKNOWN;
    return IdOf(object, name, &id);
}

bool GetPropertyByName(IDispatch* object, const char* name, VARIANT* value) {
    DISPID id = DISPID_UNKNOWN;
    if (!IdOf(object, name, &id))
        return false;
    DISPPARAMS none{};
    VariantClear(value);
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                    value, nullptr, nullptr));
}

bool PutPropertyByName(IDispatch* object, const char* name, const VARIANT& value) {
    DISPID id = DISPID_UNKNOWN;
    if (!IdOf(object, name, &id))
        return false;
    VARIANT arg = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                    &params, nullptr, nullptr, nullptr));
}

} // namespace kw::afx

// [SECTION] The page

CStockPropPage::CStockPropPage(UINT idDialog, UINT idCaption)
    : COlePropertyPage(kw::afx::StockPageResources(), idDialog, idCaption) {}

std::vector<IDispatch*> CStockPropPage::Objects() {
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    return std::vector<IDispatch*>(objects, objects + count);
}

bool CStockPropPage::ReadFirst(const std::string& name, VARIANT* value) {
    const auto objects = Objects();
    return !objects.empty() && kw::afx::GetPropertyByName(objects.front(), name.c_str(), value);
}

std::vector<std::string> CStockPropPage::FindProperties() {
    std::vector<std::string> shared;
    bool first = true;
    for (IDispatch* object : Objects()) {
        std::vector<std::string> own;
        ComPtr<ITypeInfo> info;
        UINT count = 0;
        if (object && SUCCEEDED(object->GetTypeInfoCount(&count)) && count > 0 &&
            SUCCEEDED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Out())) && info) {
            TYPEATTR attr{};
            info->GetTypeAttr(&attr);
            for (UINT i = 0; i < attr.cFuncs; ++i) {
                const DispEntry* row = nullptr;
                if (FAILED(info->GetMemberDesc(i, &row)) || !row ||
                    row->kind != DispKind::Property || !row->put)
                    continue;
                VARIANT value;
                VariantInit(&value);
                if (kw::afx::GetPropertyByName(object, row->name, &value) && Accepts(*row, value))
                    own.push_back(row->name);
                VariantClear(&value);
            }
        }
        if (first) {
            shared = own;
            first = false;
        } else {
            std::erase_if(shared, [&](const std::string& name) {
                return std::none_of(own.begin(), own.end(), [&](const std::string& mine) {
                    return NamesEqual(mine, name);
                });
            });
        }
    }
    return shared;
}

BOOL CStockPropPage::OnInitDialog() {
    m_properties = FindProperties();
    m_current = 0;
    {
        FillScope filling(*this);
        const HWND combo = GetDlgItem(IDC_STOCK_PROPERTY);
        for (const std::string& name : m_properties)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
    }
    // Nothing to edit: every item is off.
    if (m_properties.empty()) {
        for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            EnableWindow(child, FALSE);
    } else {
        ShowProperty(0);
    }
    return FALSE;
}

BOOL CStockPropPage::OnCommand(WPARAM wParam, LPARAM) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (m_properties.empty())
        return FALSE;
    if (id == IDC_STOCK_PROPERTY) {
        if (code == CBN_SELCHANGE) {
            const LRESULT sel = SendMessageA(GetDlgItem(IDC_STOCK_PROPERTY), CB_GETCURSEL, 0, 0);
            if (sel >= 0 && std::size_t(sel) < m_properties.size()) {
                m_current = std::size_t(sel);
                FillScope filling(*this);
                ShowProperty(m_current);
            }
        }
        return TRUE;
    }
    if (m_filling)
        return TRUE;
    return OnItemCommand(id, code);
}

HRESULT CStockPropPage::Apply() {
    if (!IsModified())
        return S_OK;
    if (!ApplyChanges())
        return E_FAIL;
    SetModifiedFlag(FALSE);
    return S_OK;
}

void CStockPropPage::Refuse(int focusId, const char* text) {
    char title[256]{};
    HWND root = GetAncestor(m_hWnd, GA_ROOT);
    GetWindowTextA(root, title, int(sizeof title));
    MessageBoxA(root, text, title, MB_OK | MB_ICONEXCLAMATION);
    if (const HWND item = GetDlgItem(focusId)) {
        SetFocus(item);
        SendMessageA(item, EM_SETSEL, 0, -1);
    }
}

// [SECTION] The runtime's classes

namespace {

// The stock pages' class objects, known to the runtime for as long as the
// framework is loaded.
class StockRegistration {
public:
    StockRegistration() {
        for (std::size_t i = 0; i < std::size(m_factories); ++i)
            CoRegisterClassObject(m_factories[i].Clsid(), &m_factories[i], CLSCTX_INPROC_SERVER,
                                  REGCLS_MULTIPLEUSE, &m_cookies[i]);
    }
    ~StockRegistration() {
        for (DWORD cookie : m_cookies)
            if (cookie)
                CoRevokeClassObject(cookie);
    }
    StockRegistration(const StockRegistration&) = delete;
    StockRegistration& operator=(const StockRegistration&) = delete;

private:
    CComModuleState m_state;
    CStaticClassFactory m_factories[3] = {
        {m_state, CLSID_StockFontPage, &COlePropertyPage::CreateObject<CStockFontPage>},
        {m_state, CLSID_StockColorPage, &COlePropertyPage::CreateObject<CStockColorPage>},
        {m_state, CLSID_StockPicturePage, &COlePropertyPage::CreateObject<CStockPicturePage>},
    };
    DWORD m_cookies[3]{};
};

[[maybe_unused]] const bool kStockPagesRegistered = (kw::afx::RegisterStockPropPages(), true);

} // namespace

void kw::afx::RegisterStockPropPages() {
    static StockRegistration registration;
}
