#pragma once
// The common base of objects reached by late binding: reference counting
// tied to the module's object count, IDispatch over a dispatch table, type
// information from the module's library, and one connection point for the
// object's event interface.
#include "platform/com/ClassFactory.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/TypeInfo.h"

#include <optional>

struct DispatchObjectInfo {
    CComModuleState* module;   // may be null
    const DispTable* dispatch; // the object's rows
    IID dispatchIid;
    IID eventsIid;              // GUID_NULL: no events
    const TypeLibDesc* typeLib; // may be null: no type information
};

class CDispatchObject : public IDispatch, public IConnectionPointContainer {
public:
    // `target` is the most derived object as the table's accessors expect
    // it (the derived class passes its own `this`).
    CDispatchObject(const DispatchObjectInfo& info, void* target);
    CDispatchObject(const CDispatchObject&) = delete;
    CDispatchObject& operator=(const CDispatchObject&) = delete;
    virtual ~CDispatchObject();

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)
    (REFIID riid, const char* const* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) override;

    // Fires an event to every connected sink; `args` in declared order.
    void FireEvent(DISPID dispid, VARIANT* args = nullptr, UINT count = 0);
    CConnectionPoint& Events() { return *m_events; }

    // Names the object's interfaces after construction (a control's
    // constructor does this). The event interface can change only while no
    // sink is connected; FALSE otherwise.
    BOOL SetInterfaceIds(const IID& dispatchIid, const IID& eventsIid);
    const DispatchObjectInfo& Info() const { return m_info; }

private:
    std::atomic<ULONG> m_refs{1};
    DispatchObjectInfo m_info;
    void* m_target;
    std::optional<CConnectionPoint> m_events;
};
