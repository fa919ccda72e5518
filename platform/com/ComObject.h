#pragma once
// The IUnknown of a heap object that offers one interface: a reference count
// that deletes the object when it reaches zero, and QueryInterface for
// IUnknown and that interface. Objects start with one reference.
#include "platform/com/Unknown.h"

#include <atomic>

template <class I, const IID& Iid> class CComObjectRoot : public I {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != Iid)
            return E_NOINTERFACE;
        *ppv = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override {
        ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    CComObjectRoot() = default;
    virtual ~CComObjectRoot() = default;

private:
    std::atomic<ULONG> m_refs{1};
};
