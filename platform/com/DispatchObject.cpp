#include "platform/com/DispatchObject.h"

CDispatchObject::CDispatchObject(const DispatchObjectInfo& info, void* target)
    : m_info(info), m_target(target) {
    m_events.emplace(static_cast<IDispatch*>(this), this, info.eventsIid);
    if (m_info.module)
        m_info.module->ObjectCreated();
}

CDispatchObject::~CDispatchObject() {
    if (m_info.module)
        m_info.module->ObjectDestroyed();
}

HRESULT CDispatchObject::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_info.dispatchIid)
        *ppv = static_cast<IDispatch*>(this);
    else if (riid == IID_IConnectionPointContainer && m_info.eventsIid != GUID_NULL)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG CDispatchObject::AddRef() {
    return ++m_refs;
}

ULONG CDispatchObject::Release() {
    ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT CDispatchObject::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = m_info.typeLib ? 1 : 0;
    return S_OK;
}

HRESULT CDispatchObject::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo) {
    if (!ppTInfo)
        return E_POINTER;
    *ppTInfo = nullptr;
    if (iTInfo != 0 || !m_info.typeLib)
        return DISP_E_BADINDEX;
    ComPtr<ITypeLib> lib;
    HRESULT hr = CreateTypeLib(m_info.typeLib, nullptr, lib.Out());
    if (FAILED(hr))
        return hr;
    return lib->GetTypeInfoOfGuid(m_info.dispatchIid, ppTInfo);
}

HRESULT CDispatchObject::GetIDsOfNames(REFIID, const char* const* rgszNames, UINT cNames, LCID,
                                       DISPID* rgDispId) {
    return DispTableGetIDsOfNames(*m_info.dispatch, rgszNames, cNames, rgDispId);
}

HRESULT CDispatchObject::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags,
                                DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                UINT* puArgErr) {
    // A handler reached from inside the call may release the host's last
    // reference; the object lives until the call is over.
    ComPtr<IDispatch> keepAlive(this);
    return DispTableInvoke(*m_info.dispatch, m_target, dispIdMember, wFlags, pDispParams,
                           pVarResult, pExcepInfo, puArgErr);
}

HRESULT CDispatchObject::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    if (m_info.eventsIid == GUID_NULL || riid != m_info.eventsIid)
        return CONNECT_E_NOCONNECTION;
    *ppCP = &*m_events;
    m_events->AddRef();
    return S_OK;
}

void CDispatchObject::FireEvent(DISPID dispid, VARIANT* args, UINT count) {
    ComPtr<IDispatch> keepAlive(this);
    m_events->Fire(dispid, args, count);
}

BOOL CDispatchObject::SetInterfaceIds(const IID& dispatchIid, const IID& eventsIid) {
    if (eventsIid != m_info.eventsIid) {
        if (m_events->HasSinks())
            return FALSE;
        m_events.emplace(static_cast<IDispatch*>(this), this, eventsIid);
    }
    m_info.dispatchIid = dispatchIid;
    m_info.eventsIid = eventsIid;
    return TRUE;
}
