#pragma once
// The container's end of a control's event interface: every event fired is
// printed as one line of the event log and handed to the script's handler,
// whose writes to by-reference parameters answer the control.
#include "platform/com/Dispatch.h"

#include <atomic>

namespace kw::container {

class CContainer;

class CEventSink final : public IDispatch {
public:
    CEventSink(CContainer& container, int siteId, const IID& eventsIid)
        : m_container(container), m_siteId(siteId), m_iid(eventsIid) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)
    (REFIID riid, const char* const* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    ~CEventSink() = default;

    std::atomic<ULONG> m_refs{1};
    CContainer& m_container;
    int m_siteId;
    IID m_iid;
};

} // namespace kw::container
