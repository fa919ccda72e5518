#include "platform/afx/OleObjectFactory.h"

#include <algorithm>

void CFactoryList::Remove(COleObjectFactory* factory) {
    m_factories.erase(std::remove(m_factories.begin(), m_factories.end(), factory),
                      m_factories.end());
}

COleObjectFactory* CFactoryList::Find(REFCLSID clsid) const {
    for (COleObjectFactory* f : m_factories)
        if (f->GetClassID() == clsid)
            return f;
    return nullptr;
}

COleObjectFactory::COleObjectFactory(CFactoryList& list, REFCLSID clsid, CreateFn create,
                                     BOOL bMultiInstance, LPCTSTR lpszProgID)
    : m_list(list), m_clsid(clsid), m_create(create), m_multiInstance(bMultiInstance),
      m_progId(lpszProgID) {
    m_list.Add(this);
}

COleObjectFactory::~COleObjectFactory() {
    m_list.Remove(this);
}

BOOL COleObjectFactory::UpdateRegistryAll(CFactoryList& list, BOOL bRegister) {
    for (COleObjectFactory* f : list.Factories())
        if (!f->UpdateRegistry(bRegister))
            return FALSE;
    return TRUE;
}

HRESULT COleObjectFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG COleObjectFactory::AddRef() {
    m_list.State().Lock();
    return 2;
}

ULONG COleObjectFactory::Release() {
    m_list.State().Unlock();
    return 1;
}

HRESULT COleObjectFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) {
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (!m_create)
        return CLASS_E_CLASSNOTAVAILABLE;
    return m_create(riid, ppvObject);
}

HRESULT COleObjectFactory::LockServer(BOOL fLock) {
    if (fLock)
        m_list.State().Lock();
    else
        m_list.State().Unlock();
    return S_OK;
}

COleControlFactory::COleControlFactory(CFactoryList& list, REFCLSID clsid, CreateFn create,
                                       LPCTSTR progId, const ControlClassInfo& info)
    : COleObjectFactory(list, clsid, create, TRUE, progId), m_info(info) {}

const std::vector<CLSID>& COleControlFactory::GetPropPageIDs() {
    std::call_once(m_pagesBuilt, [this] {
        if (m_info.propPages)
            m_pages = m_info.propPages();
    });
    return m_pages;
}

BOOL COleControlFactory::UpdateRegistry(BOOL bRegister) {
    if (!bRegister)
        return AfxOleUnregisterClass(GetClassID(), GetProgID());
    return AfxOleRegisterControlClass(m_info.instance, GetClassID(), GetProgID(), m_info.idTypeName,
                                      m_info.idBitmap, afxRegApartmentThreading, m_info.miscStatus,
                                      m_info.libid, m_info.typeLibMajor, m_info.typeLibMinor);
}

COlePropertyPageFactory::COlePropertyPageFactory(CFactoryList& list, REFCLSID clsid,
                                                 CreateFn create, LPCTSTR progId,
                                                 HMODULEINSTANCE instance, UINT idRegistrationName)
    : COleObjectFactory(list, clsid, create, TRUE, progId), m_instance(instance),
      m_idName(idRegistrationName) {}

BOOL COlePropertyPageFactory::UpdateRegistry(BOOL bRegister) {
    if (!bRegister)
        return AfxOleUnregisterClass(GetClassID(), nullptr);
    return AfxOleRegisterPropertyPageClass(m_instance, GetClassID(), m_idName);
}

HRESULT AfxDllGetClassObject(CFactoryList& list, REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    COleObjectFactory* factory = list.Find(clsid);
    if (!factory)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(riid, ppv);
}

HRESULT AfxDllCanUnloadNow(CFactoryList& list) {
    return list.State().CanUnloadNow();
}
