#pragma once
// Outgoing (event) interfaces: a sink connects to an object's connection
// point and the object calls the sink's IDispatch::Invoke for each event.
#include "platform/com/Dispatch.h"

#include <vector>

struct IConnectionPointContainer;

struct IConnectionPoint : IUnknown {
    STDMETHOD(GetConnectionInterface)(IID* pIID) = 0;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) = 0;
    // The sink must answer QueryInterface for the event interface or for
    // IDispatch; CONNECT_E_CANNOTCONNECT otherwise.
    STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
    // CONNECT_E_NOCONNECTION for a cookie that names no connection.
    STDMETHOD(Unadvise)(DWORD dwCookie) = 0;

protected:
    ~IConnectionPoint() = default;
};

struct IConnectionPointContainer : IUnknown {
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

// A connection point embedded in its object: it shares the object's
// reference count and keeps the sinks.
class CConnectionPoint final : public IConnectionPoint {
public:
    CConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, const IID& iid)
        : m_owner(owner), m_container(container), m_iid(iid) {}
    CConnectionPoint(const CConnectionPoint&) = delete;
    CConnectionPoint& operator=(const CConnectionPoint&) = delete;
    ~CConnectionPoint();

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return m_owner->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return m_owner->Release(); }
    STDMETHOD(GetConnectionInterface)(IID* pIID) override;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) override;
    STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    STDMETHOD(Unadvise)(DWORD dwCookie) override;

    const IID& Iid() const { return m_iid; }
    bool HasSinks() const { return !m_sinks.empty(); }

    // Calls every connected sink in connection order, synchronously. `args`
    // are in declared order; by-reference ones point at the caller's storage
    // and carry the sinks' answers back. A sink may disconnect or release
    // the firing object from inside its handler: firing works on its own
    // copy of the sink list and touches no member after the first call.
    void Fire(DISPID dispid, VARIANT* args, UINT count);

private:
    struct Sink {
        DWORD cookie;
        IDispatch* dispatch; // one reference held
    };
    IUnknown* m_owner;
    IConnectionPointContainer* m_container;
    IID m_iid;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};
