// COleControl: the interfaces a container embeds, persists and draws a
// control through.
#include "platform/afx/OleControl.h"
#include "platform/afx/PropertyPageInterfaces.h"

// [SECTION] IUnknown

HRESULT COleControl::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IPersistPropertyBag)
        *ppv = static_cast<IPersistPropertyBag*>(this);
    else if (riid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleInPlaceObject)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IViewObject)
        *ppv = static_cast<IViewObject*>(this);
    else if (riid == IID_IProvideClassInfo)
        *ppv = static_cast<IProvideClassInfo*>(this);
    else if (riid == IID_ISpecifyPropertyPages)
        return QuerySpecifyPropertyPages(ppv);
    else
        return CDispatchObject::QueryInterface(riid, ppv);
    AddRef();
    return S_OK;
}

// [SECTION] IPersistPropertyBag

HRESULT COleControl::GetClassID(CLSID* pClassID) {
    if (!pClassID)
        return E_POINTER;
    *pClassID = m_class.clsid;
    return S_OK;
}

HRESULT COleControl::InitNew() {
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    OnResetState();
    // A new control starts out as clean as a loaded one.
    SetModifiedFlag(FALSE);
    return S_OK;
}

HRESULT COleControl::Load(IPropertyBag* pPropBag, IErrorLog*) {
    if (!pPropBag)
        return E_POINTER;
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    CPropExchange px = CPropExchange::ForLoad(pPropBag);
    DoPropExchange(&px);
    SetModifiedFlag(FALSE);
    InvalidateControl();
    return S_OK;
}

HRESULT COleControl::Save(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) {
    if (!pPropBag)
        return E_POINTER;
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    CPropExchange px = CPropExchange::ForSave(pPropBag, fSaveAllProperties != FALSE);
    DoPropExchange(&px);
    if (fClearDirty)
        SetModifiedFlag(FALSE);
    return S_OK;
}

// [SECTION] IOleObject

HRESULT COleControl::SetClientSite(IUnknown* pClientSite) {
    if (pClientSite)
        pClientSite->AddRef();
    if (IUnknown* old = std::exchange(m_site, pClientSite))
        old->Release();
    return S_OK;
}

HRESULT COleControl::GetClientSite(IUnknown** ppClientSite) {
    if (!ppClientSite)
        return E_POINTER;
    *ppClientSite = m_site;
    if (m_site)
        m_site->AddRef();
    return S_OK;
}

HRESULT COleControl::GetUserClassID(CLSID* pClsid) {
    return GetClassID(pClsid);
}

HRESULT COleControl::GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) {
    if (!pdwStatus)
        return E_POINTER;
    *pdwStatus = 0;
    if (dwAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *pdwStatus = m_class.miscStatus;
    return S_OK;
}

HRESULT COleControl::DoVerb(LONG iVerb, HWND hwndParent, const RECT* lprcPosRect) {
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    switch (iVerb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_INPLACEACTIVATE: {
        if (!m_hWnd) {
            const CRect pos =
                lprcPosRect ? CRect(lprcPosRect) : CRect(0, 0, m_extent.cx, m_extent.cy);
            if (!::IsWindow(hwndParent))
                return E_INVALIDARG;
            if (!CreateControlWindow(hwndParent, pos))
                return E_FAIL;
        } else if (lprcPosRect) {
            SetObjectRects(lprcPosRect, lprcPosRect);
        }
        if (m_hWnd && iVerb != OLEIVERB_INPLACEACTIVATE) {
            ::ShowWindow(OuterWindow(), SW_SHOW);
            if (iVerb == OLEIVERB_UIACTIVATE)
                ::SetFocus(m_hWnd);
        }
        return S_OK;
    }
    case OLEIVERB_HIDE:
        if (m_hWnd)
            ::ShowWindow(OuterWindow(), SW_HIDE);
        return S_OK;
    default:
        return iVerb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

HRESULT COleControl::Close(DWORD) {
    return InPlaceDeactivate();
}

HRESULT COleControl::SetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (!psizel)
        return E_POINTER;
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (psizel->cx < 0 || psizel->cy < 0)
        return E_INVALIDARG;
    SetControlSize(PixelsFromHimetric(psizel->cx), PixelsFromHimetric(psizel->cy));
    return S_OK;
}

HRESULT COleControl::GetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (!psizel)
        return E_POINTER;
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    psizel->cx = HimetricFromPixels(m_extent.cx);
    psizel->cy = HimetricFromPixels(m_extent.cy);
    return S_OK;
}

// [SECTION] IOleInPlaceObject

HRESULT COleControl::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = OuterWindow();
    return *phwnd ? S_OK : OLE_E_NOT_INPLACEACTIVE;
}

HRESULT COleControl::SetObjectRects(const RECT* lprcPosRect, const RECT*) {
    if (!lprcPosRect)
        return E_POINTER;
    const CRect pos(lprcPosRect);
    if (pos.Width() < 0 || pos.Height() < 0)
        return E_INVALIDARG;
    m_extent = SIZE{pos.Width(), pos.Height()};
    if (!m_hWnd)
        return S_OK;
    if (m_reflector && m_reflector->m_hWnd) {
        ::MoveWindow(m_reflector->m_hWnd, pos.left, pos.top, pos.Width(), pos.Height(), TRUE);
        ::MoveWindow(m_hWnd, 0, 0, pos.Width(), pos.Height(), TRUE);
    } else {
        ::MoveWindow(m_hWnd, pos.left, pos.top, pos.Width(), pos.Height(), TRUE);
    }
    return S_OK;
}

HRESULT COleControl::InPlaceDeactivate() {
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    DestroyControlWindow();
    return S_OK;
}

// [SECTION] IViewObject

HRESULT COleControl::Draw(DWORD dwDrawAspect, HDC hdcDraw, const RECT* lprcBounds) {
    if (!hdcDraw || !lprcBounds)
        return E_INVALIDARG;
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    CDC dc;
    if (!dc.Attach(hdcDraw))
        return E_INVALIDARG;
    const CRect bounds(lprcBounds);
    // Nothing the control draws leaves its bounds.
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&bounds);
    DrawInto(&dc, bounds, bounds);
    dc.RestoreDC(saved);
    dc.Detach();
    return S_OK;
}

// [SECTION] IProvideClassInfo

HRESULT COleControl::GetClassInfo(ITypeInfo** ppTI) {
    if (!ppTI)
        return E_POINTER;
    *ppTI = nullptr;
    if (!m_class.typeLib)
        return E_NOTIMPL;
    ComPtr<ITypeLib> lib;
    HRESULT hr = CreateTypeLib(m_class.typeLib, nullptr, lib.Out());
    if (FAILED(hr))
        return hr;
    return lib->GetTypeInfoOfGuid(m_class.clsid, ppTI);
}
