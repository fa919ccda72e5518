// The DDP_ exchanges: items bound to properties of a page's objects.
#include "platform/afx/DataExchange.h"
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

#include <string>

namespace {

COlePropertyPage* PageOf(CDataExchange* pDX) {
    return pDX && !pDX->Failed() ? dynamic_cast<COlePropertyPage*>(pDX->m_pDlgWnd) : nullptr;
}

// Opening reads the property into the member; applying keeps a write of
// the member (read when the write is made) for DDP_PostProcessing.
template <class T> void BindText(CDataExchange* pDX, int id, T& member, LPCSTR propName) {
    COlePropertyPage* page = PageOf(pDX);
    if (!page || !propName)
        return;
    if (!pDX->m_bSaveAndValidate) {
        page->GetPropText(propName, &member);
        return;
    }
    pDX->m_bindings.push_back({id, false, [page, &member, name = std::string(propName)] {
                                   page->SetPropText(name.c_str(), member);
                               }});
}

} // namespace

void DDP_Text(CDataExchange* pDX, int id, CString& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, BYTE& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, short& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, int& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, UINT& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, long& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, float& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}
void DDP_Text(CDataExchange* pDX, int id, double& member, LPCSTR propName) {
    BindText(pDX, id, member, propName);
}

// A BOOL property and a check box's state: TRUE is BST_CHECKED; an
// indeterminate box writes nothing.
void DDP_Check(CDataExchange* pDX, int id, int& member, LPCSTR propName) {
    COlePropertyPage* page = PageOf(pDX);
    if (!page || !propName)
        return;
    if (!pDX->m_bSaveAndValidate) {
        int value = 0;
        if (page->GetPropText(propName, &value))
            member = value ? BST_CHECKED : BST_UNCHECKED;
        return;
    }
    pDX->m_bindings.push_back({id, false, [page, &member, name = std::string(propName)] {
                                   if (member == BST_CHECKED || member == BST_UNCHECKED)
                                       page->SetPropText(name.c_str(),
                                                         member == BST_CHECKED ? 1 : 0);
                               }});
}

// The index of the chosen radio button; none chosen (-1) writes nothing.
void DDP_Radio(CDataExchange* pDX, int id, int& member, LPCSTR propName) {
    COlePropertyPage* page = PageOf(pDX);
    if (!page || !propName)
        return;
    if (!pDX->m_bSaveAndValidate) {
        page->GetPropText(propName, &member);
        return;
    }
    pDX->m_bindings.push_back({id, true, [page, &member, name = std::string(propName)] {
                                   if (member >= 0)
                                       page->SetPropText(name.c_str(), member);
                               }});
}

void DDP_PostProcessing(CDataExchange* pDX) {
    COlePropertyPage* page = PageOf(pDX);
    if (!page || !pDX->m_bSaveAndValidate) {
        if (pDX)
            pDX->m_bindings.clear();
        return;
    }
    for (auto& binding : pDX->m_bindings) {
        const BOOL changed =
            binding.group ? page->IsGroupChanged(binding.id) : page->IsControlChanged(binding.id);
        if (changed)
            pDX->Defer(std::move(binding.write));
    }
    pDX->m_bindings.clear();
}
