#include "platform/afx/OleDispatchDriver.h"

namespace {

// A typed value into a variant.
HRESULT ToVariant(VARTYPE vt, const void* value, CComVariant* out) {
    if (!value && vt != VT_EMPTY)
        return E_POINTER;
    switch (vt) {
    case VT_I2:
        *out = CComVariant::I2(*static_cast<const SHORT*>(value));
        return S_OK;
    case VT_I4:
        *out = CComVariant::I4(*static_cast<const LONG*>(value));
        return S_OK;
    case VT_R4:
        *out = CComVariant::R4(*static_cast<const float*>(value));
        return S_OK;
    case VT_R8:
        *out = CComVariant::R8(*static_cast<const double*>(value));
        return S_OK;
    case VT_BOOL:
        *out = CComVariant::Bool(*static_cast<const BOOL*>(value) != 0);
        return S_OK;
    case VT_BSTR:
        VariantTraits<CString>::Write(*static_cast<const CString*>(value), out);
        return S_OK;
    case VT_VARIANT:
        *out = CComVariant(*static_cast<const VARIANT*>(value));
        return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        auto* object = *static_cast<IUnknown* const*>(value);
        VariantClear(out);
        out->vt = vt;
        out->punkVal = object;
        if (object)
            object->AddRef();
        return S_OK;
    }
    default:
        return DISP_E_BADVARTYPE;
    }
}

// A variant into the typed storage, converted to vt first.
HRESULT FromVariant(const VARIANT& source, VARTYPE vt, void* value) {
    if (vt == VT_EMPTY || !value)
        return vt == VT_EMPTY ? S_OK : E_POINTER;
    if (vt == VT_VARIANT) {
        auto* target = static_cast<VARIANT*>(value);
        VariantInit(target);
        return VariantCopy(target, &source);
    }
    CComVariant converted;
    const HRESULT hr = VariantChangeType(&converted, &source, 0, vt);
    if (FAILED(hr))
        return hr;
    switch (vt) {
    case VT_I2:
        *static_cast<SHORT*>(value) = converted.iVal;
        return S_OK;
    case VT_I4:
        *static_cast<LONG*>(value) = converted.lVal;
        return S_OK;
    case VT_R4:
        *static_cast<float*>(value) = converted.fltVal;
        return S_OK;
    case VT_R8:
        *static_cast<double*>(value) = converted.dblVal;
        return S_OK;
    case VT_BOOL:
        *static_cast<BOOL*>(value) = converted.boolVal ? TRUE : FALSE;
        return S_OK;
    case VT_BSTR:
        *static_cast<CString*>(value) = VariantTraits<CString>::Read(converted);
        return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        // The reference moves to the caller.
        *static_cast<IUnknown**>(value) = converted.punkVal;
        converted.vt = VT_EMPTY;
        return S_OK;
    default:
        return DISP_E_BADVARTYPE;
    }
}

} // namespace

void COleDispatchDriver::AttachDispatch(IDispatch* dispatch, BOOL autoRelease) {
    if (dispatch == m_lpDispatch) {
        m_bAutoRelease = autoRelease;
        return;
    }
    ReleaseDispatch();
    m_lpDispatch = dispatch;
    m_bAutoRelease = autoRelease;
}

IDispatch* COleDispatchDriver::DetachDispatch() {
    IDispatch* dispatch = m_lpDispatch;
    m_lpDispatch = nullptr;
    return dispatch;
}

void COleDispatchDriver::ReleaseDispatch() {
    if (m_lpDispatch && m_bAutoRelease)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}

HRESULT COleDispatchDriver::InvokeHelperV(DISPID dispid, WORD flags, VARTYPE vtRet, void* result,
                                          std::vector<CComVariant> args) const {
    m_lastException.clear();
    if (!m_lpDispatch)
        return E_POINTER;
    // The callee sees the arguments last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = UINT(reversed.size());
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    CComVariant answer;
    EXCEPINFO info;
    UINT argErr = 0;
    HRESULT hr = m_lpDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      vtRet == VT_EMPTY ? nullptr : &answer, &info, &argErr);
    if (hr == DISP_E_EXCEPTION) {
        m_lastException = AnsiFromBstr(info.bstrDescription);
        if (info.scode)
            hr = info.scode;
        ClearExcepInfo(&info);
        return hr;
    }
    if (FAILED(hr))
        return hr;
    return FromVariant(answer, vtRet, result);
}

HRESULT COleDispatchDriver::GetProperty(DISPID dispid, VARTYPE vtProp, void* value) const {
    return InvokeHelperV(dispid, DISPATCH_PROPERTYGET, vtProp, value, {});
}

HRESULT COleDispatchDriver::SetProperty(DISPID dispid, VARTYPE vtProp, const void* value) {
    std::vector<CComVariant> args(1);
    const HRESULT hr = ToVariant(vtProp, value, &args[0]);
    if (FAILED(hr))
        return hr;
    return InvokeHelperV(dispid,
                         vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT,
                         VT_EMPTY, nullptr, std::move(args));
}
