#pragma once
// IClassFactory and the module-side pieces every component module needs:
// counting live objects and locks for DllCanUnloadNow, and one static class
// factory per class.
#include "platform/com/Unknown.h"

#include <atomic>

struct IClassFactory : IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    STDMETHOD(LockServer)(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};

// Live objects and server locks of one module. A module keeps one instance;
// DllCanUnloadNow answers S_OK when both counts are zero.
class CComModuleState {
public:
    void ObjectCreated() { ++m_objects; }
    void ObjectDestroyed() { --m_objects; }
    void Lock() { ++m_locks; }
    void Unlock() { --m_locks; }
    long Objects() const { return m_objects; }
    long Locks() const { return m_locks; }
    HRESULT CanUnloadNow() const { return m_objects == 0 && m_locks == 0 ? S_OK : S_FALSE; }

private:
    std::atomic<long> m_objects{0};
    std::atomic<long> m_locks{0};
};

// A static class factory. Its references count as server locks, so the
// module stays loaded while a host holds the factory.
class CStaticClassFactory final : public IClassFactory {
public:
    using CreateFn = HRESULT (*)(REFIID riid, void** ppv);

    CStaticClassFactory(CComModuleState& state, const CLSID& clsid, CreateFn create)
        : m_state(state), m_clsid(clsid), m_create(create) {}

    const CLSID& Clsid() const { return m_clsid; }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override {
        m_state.Lock();
        return 2;
    }
    STDMETHOD_(ULONG, Release)() override {
        m_state.Unlock();
        return 1;
    }
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override {
        if (!ppvObject)
            return E_POINTER;
        *ppvObject = nullptr;
        if (pUnkOuter)
            return CLASS_E_NOAGGREGATION;
        return m_create(riid, ppvObject);
    }
    STDMETHOD(LockServer)(BOOL fLock) override {
        if (fLock)
            m_state.Lock();
        else
            m_state.Unlock();
        return S_OK;
    }

private:
    CComModuleState& m_state;
    CLSID m_clsid;
    CreateFn m_create;
};
