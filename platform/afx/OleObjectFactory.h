#pragma once
// Class factories: one per control and per page, each linked into its
// module's list when constructed, serving many objects (not single-use).
// The module answers DllGetClassObject, DllCanUnloadNow and its
// registration through the list.
#include "platform/afx/OleRegistration.h"
#include "platform/com/ClassFactory.h"

#include <mutex>
#include <vector>

class COleObjectFactory;

// A module's factories, in construction order, and its object and lock
// counts.
class CFactoryList {
public:
    void Add(COleObjectFactory* factory) { m_factories.push_back(factory); }
    void Remove(COleObjectFactory* factory);
    COleObjectFactory* Find(REFCLSID clsid) const;
    const std::vector<COleObjectFactory*>& Factories() const { return m_factories; }
    CComModuleState& State() { return m_state; }

private:
    std::vector<COleObjectFactory*> m_factories;
    CComModuleState m_state;
};

class COleObjectFactory : public IClassFactory {
public:
    // Creates an object and answers `riid` on it; a class whose object
    // cannot be made answers a failure status, never a crash.
    using CreateFn = HRESULT (*)(REFIID riid, void** ppv);

    COleObjectFactory(CFactoryList& list, REFCLSID clsid, CreateFn create, BOOL bMultiInstance,
                      LPCTSTR lpszProgID);
    virtual ~COleObjectFactory();
    COleObjectFactory(const COleObjectFactory&) = delete;
    COleObjectFactory& operator=(const COleObjectFactory&) = delete;

    REFCLSID GetClassID() const { return m_clsid; }
    LPCTSTR GetProgID() const { return m_progId; }
    BOOL IsSingleUse() const { return !m_multiInstance; }

    // Writes or removes the class's registry entries.
    virtual BOOL UpdateRegistry(BOOL bRegister) = 0;
    // Every factory of the list in order, stopping at the first failure.
    static BOOL UpdateRegistryAll(CFactoryList& list, BOOL bRegister);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    // References to a factory hold the module like a server lock.
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    STDMETHOD(LockServer)(BOOL fLock) override;

protected:
    CFactoryList& m_list;

private:
    CLSID m_clsid;
    CreateFn m_create;
    BOOL m_multiInstance;
    LPCTSTR m_progId;
};

// The attributes a control registers with.
struct ControlClassInfo {
    HMODULEINSTANCE instance;
    UINT idTypeName;
    UINT idBitmap;
    DWORD miscStatus;
    GUID libid;
    WORD typeLibMajor;
    WORD typeLibMinor;
    // The classes of the control's property pages, in order.
    std::vector<CLSID> (*propPages)();
};

class COleControlFactory final : public COleObjectFactory {
public:
    COleControlFactory(CFactoryList& list, REFCLSID clsid, CreateFn create, LPCTSTR progId,
                       const ControlClassInfo& info);
    UINT GetUserTypeNameID() const { return m_info.idTypeName; }
    DWORD GetMiscStatus() const { return m_info.miscStatus; }
    // Built on first use and kept.
    const std::vector<CLSID>& GetPropPageIDs();
    BOOL UpdateRegistry(BOOL bRegister) override;

private:
    ControlClassInfo m_info;
    std::once_flag m_pagesBuilt;
    std::vector<CLSID> m_pages;
};

class COlePropertyPageFactory final : public COleObjectFactory {
public:
    COlePropertyPageFactory(CFactoryList& list, REFCLSID clsid, CreateFn create, LPCTSTR progId,
                            HMODULEINSTANCE instance, UINT idRegistrationName);
    BOOL UpdateRegistry(BOOL bRegister) override;

private:
    HMODULEINSTANCE m_instance;
    UINT m_idName;
};

// The module entry points' answers.
HRESULT AfxDllGetClassObject(CFactoryList& list, REFCLSID clsid, REFIID riid, void** ppv);
HRESULT AfxDllCanUnloadNow(CFactoryList& list);
