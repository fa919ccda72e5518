#include "hosts/container/ControlSite.h"

#include "platform/com/ComLoader.h"
#include "platform/user/User.h"

namespace kw::container {

namespace {

const DispEntry* FindIn(ITypeInfo* info, DISPID dispid) {
    if (!info)
        return nullptr;
    const DispEntry* entry = nullptr;
    for (UINT i = 0; SUCCEEDED(info->GetMemberDesc(i, &entry)); ++i)
        if (entry->dispid == dispid)
            return entry;
    return nullptr;
}

std::string TypeName(ITypeInfo* info) {
    CComBSTR name;
    if (info && SUCCEEDED(info->GetDocumentation(DISPID_UNKNOWN, &name, nullptr, nullptr, nullptr)))
        return std::string(name.View());
    return {};
}

} // namespace

HRESULT CControlSite::Create(const std::string& classText) {
    HRESULT hr = CoCreateInstanceFromName(classText, IID_IDispatch, m_dispatch.OutVoid());
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = m_dispatch.As(IID_IOleObject, &m_ole)) ||
        FAILED(hr = m_dispatch.As(IID_IPersistPropertyBag, &m_persist))) {
        Close();
        return hr;
    }
    m_ole->GetUserClassID(&m_clsid);
    if (FAILED(ProgIDFromCLSID(m_clsid, &m_progId)))
        m_progId = StringFromGuid(m_clsid);
    ReadTypeInfo();
    return S_OK;
}

void CControlSite::ReadTypeInfo() {
    ComPtr<IProvideClassInfo> classInfo;
    ComPtr<ITypeInfo> coclass;
    if (SUCCEEDED(m_dispatch.As(IID_IProvideClassInfo, &classInfo)) &&
        SUCCEEDED(classInfo->GetClassInfo(coclass.Out()))) {
        TYPEATTR attr{};
        coclass->GetTypeAttr(&attr);
        for (UINT i = 0; i < attr.cImplTypes; ++i) {
            int flags = 0;
            ComPtr<ITypeInfo> info;
            if (FAILED(coclass->GetImplTypeFlags(i, &flags)) ||
                FAILED(coclass->GetImplTypeInfo(i, info.Out())))
                continue;
            if (flags & IMPLTYPEFLAG_FSOURCE) {
                if (!m_eventInfo)
                    m_eventInfo = info;
            } else if (!m_dispatchInfo) {
                m_dispatchInfo = info;
            }
        }
    }
    if (!m_dispatchInfo) {
        UINT count = 0;
        if (SUCCEEDED(m_dispatch->GetTypeInfoCount(&count)) && count > 0)
            m_dispatch->GetTypeInfo(0, 0, m_dispatchInfo.Out());
    }
    m_dispatchName = TypeName(m_dispatchInfo.Get());
    m_eventName = TypeName(m_eventInfo.Get());
}

HRESULT CControlSite::Activate(HWND parent, const RECT& rect) {
    m_rect = rect;
    HRESULT hr = m_ole->DoVerb(OLEIVERB_INPLACEACTIVATE, parent, &m_rect);
    if (FAILED(hr))
        return hr;
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(m_dispatch.As(IID_IOleInPlaceObject, &inPlace)))
        inPlace->GetWindow(&m_hwnd);
    return m_hwnd ? S_OK : OLE_E_NOT_INPLACEACTIVE;
}

HRESULT CControlSite::ConnectEvents(IDispatch* sink) {
    if (!m_eventInfo)
        return S_FALSE;
    TYPEATTR attr{};
    HRESULT hr = m_eventInfo->GetTypeAttr(&attr);
    ComPtr<IConnectionPointContainer> points;
    if (FAILED(hr) || FAILED(hr = m_dispatch.As(IID_IConnectionPointContainer, &points)) ||
        FAILED(hr = points->FindConnectionPoint(attr.guid, m_eventPoint.Out())))
        return hr;
    hr = m_eventPoint->Advise(sink, &m_cookie);
    if (FAILED(hr))
        m_eventPoint.Reset();
    return hr;
}

void CControlSite::Close() {
    if (m_eventPoint) {
        m_eventPoint->Unadvise(m_cookie);
        m_eventPoint.Reset();
    }
    if (m_ole)
        m_ole->Close(OLECLOSE_NOSAVE);
    m_hwnd = nullptr;
    m_eventInfo.Reset();
    m_dispatchInfo.Reset();
    m_persist.Reset();
    m_ole.Reset();
    m_dispatch.Reset();
}

SIZE CControlSite::ExtentPixels() const {
    SIZEL extent{};
    if (!m_ole || FAILED(m_ole->GetExtent(DVASPECT_CONTENT, &extent)))
        return SIZE{0, 0};
    return SIZE{PixelsFromHimetric(extent.cx), PixelsFromHimetric(extent.cy)};
}

void CControlSite::Move(const RECT& rect) {
    ComPtr<IOleInPlaceObject> inPlace;
    if (m_dispatch && SUCCEEDED(m_dispatch.As(IID_IOleInPlaceObject, &inPlace)) &&
        SUCCEEDED(inPlace->SetObjectRects(&rect, &rect)))
        m_rect = rect;
}

const DispEntry* CControlSite::FindMember(DISPID dispid) const {
    return FindIn(m_dispatchInfo.Get(), dispid);
}

const DispEntry* CControlSite::FindEvent(DISPID dispid) const {
    return FindIn(m_eventInfo.Get(), dispid);
}

const DispEntry* CControlSite::FindEventByName(const std::string& name) const {
    if (!m_eventInfo)
        return nullptr;
    const DispEntry* entry = nullptr;
    for (UINT i = 0; SUCCEEDED(m_eventInfo->GetMemberDesc(i, &entry)); ++i)
        if (NamesEqual(entry->name, name) || NamesEqual(entry->TypeLibName(), name))
            return entry;
    return nullptr;
}

} // namespace kw::container
