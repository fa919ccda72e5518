#include "platform/com/ConnectionPoint.h"

#include <algorithm>

CConnectionPoint::~CConnectionPoint() {
    for (Sink& s : m_sinks)
        s.dispatch->Release();
}

HRESULT CConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT CConnectionPoint::GetConnectionInterface(IID* pIID) {
    if (!pIID)
        return E_POINTER;
    *pIID = m_iid;
    return S_OK;
}

HRESULT CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    if (!ppCPC)
        return E_POINTER;
    *ppCPC = m_container;
    m_container->AddRef();
    return S_OK;
}

HRESULT CConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
    if (!pUnkSink || !pdwCookie)
        return E_POINTER;
    *pdwCookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(pUnkSink->QueryInterface(m_iid, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    if (!dispatch)
        return CONNECT_E_CANNOTCONNECT;
    m_sinks.push_back({m_nextCookie, dispatch});
    *pdwCookie = m_nextCookie++;
    return S_OK;
}

HRESULT CConnectionPoint::Unadvise(DWORD dwCookie) {
    auto it = std::find_if(m_sinks.begin(), m_sinks.end(),
                           [&](const Sink& s) { return s.cookie == dwCookie; });
    if (it == m_sinks.end())
        return CONNECT_E_NOCONNECTION;
    IDispatch* dispatch = it->dispatch;
    m_sinks.erase(it);
    dispatch->Release();
    return S_OK;
}

void CConnectionPoint::Fire(DISPID dispid, VARIANT* args, UINT count) {
    if (m_sinks.empty())
        return;
    std::vector<ComPtr<IDispatch>> sinks;
    sinks.reserve(m_sinks.size());
    for (const Sink& s : m_sinks)
        sinks.emplace_back(s.dispatch);
    // Invoke takes the arguments last first.
    std::vector<VARIANT> reversed(args, args + count);
    std::reverse(reversed.begin(), reversed.end());
    for (const ComPtr<IDispatch>& sink : sinks) {
        DISPPARAMS params{reversed.data(), nullptr, count, 0};
        EXCEPINFO info{};
        UINT argErr = 0;
        // A failing sink does not keep the event from the others.
        sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                     &info, &argErr);
        ClearExcepInfo(&info);
    }
}
