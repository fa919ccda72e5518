#pragma once
// The base of an event sink that a test keeps on its stack: reference
// counting does nothing, it answers IUnknown, IDispatch and the one events
// interface it is made for, and it has no type information. A test sink
// only writes Invoke.
#include "platform/com/Dispatch.h"

class TestEventSink : public IDispatch {
public:
    explicit TestEventSink(const IID& events = IID_IDispatch) : m_events(events) {}
    virtual ~TestEventSink() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_events) {
            *ppv = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT* n) override {
        if (n)
            *n = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, const char* const*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }

private:
    IID m_events;
};
