#include "platform/afx/PropExchange.h"

CPropExchange CPropExchange::ForLoad(IPropertyBag* bag) {
    return {Mode::Load, bag, false};
}
CPropExchange CPropExchange::ForSave(IPropertyBag* bag, bool saveAll) {
    return {Mode::Save, bag, saveAll};
}
CPropExchange CPropExchange::ForReset() {
    return {Mode::Reset, nullptr, false};
}

namespace {

bool SameValue(const VARIANT& a, const VARIANT& b) {
    if (a.vt != b.vt)
        return false;
    switch (a.vt) {
    case VT_I2:
        return a.iVal == b.iVal;
    case VT_UI2:
        return a.uiVal == b.uiVal;
    case VT_I4:
        return a.lVal == b.lVal;
    case VT_R4:
        return a.fltVal == b.fltVal;
    case VT_R8:
        return a.dblVal == b.dblVal;
    case VT_BOOL:
        return (a.boolVal != 0) == (b.boolVal != 0);
    case VT_BSTR:
        return BstrView(a.bstrVal) == BstrView(b.bstrVal);
    default:
        return false;
    }
}

} // namespace

bool CPropExchange::ExchangeVariant(const char* name, VARIANT* value, VARTYPE vt,
                                    const VARIANT* defaultValue) {
    if (!name || !value)
        return false;
    switch (m_mode) {
    case Mode::Reset:
        return false;
    case Mode::Save:
        if (!m_bag)
            return false;
        if (!m_saveAll && defaultValue && SameValue(*value, *defaultValue))
            return true;
        return SUCCEEDED(m_bag->Write(name, value));
    case Mode::Load: {
        if (!m_bag)
            return false;
        CComVariant read;
        if (FAILED(m_bag->Read(name, &read, nullptr)))
            return false;
        CComVariant converted;
        if (FAILED(VariantChangeType(&converted, &read, 0, vt)))
            return false;
        VariantClear(value);
        *value = converted;
        converted.vt = VT_EMPTY; // moved
        return true;
    }
    }
    return false;
}

BOOL CPropExchange::ExchangeVersion(DWORD& loaded, DWORD defaultVersion, BOOL) {
    if (m_mode == Mode::Load) {
        CComVariant v = CComVariant::I4(static_cast<LONG>(defaultVersion));
        ExchangeVariant("_Version", &v, VT_I4, nullptr);
        loaded = static_cast<DWORD>(v.lVal);
    } else {
        loaded = defaultVersion;
        if (m_mode == Mode::Save) {
            CComVariant v = CComVariant::I4(static_cast<LONG>(defaultVersion));
            if (!ExchangeVariant("_Version", &v, VT_I4, nullptr))
                return FALSE;
        }
    }
    m_version = loaded;
    return TRUE;
}

namespace {

// Exchanges a value through its variant form; `fallback` (may be null) is
// what loading and resetting give when nothing usable is stored.
template <class T>
BOOL ExchangeTyped(CPropExchange* pPX, LPCTSTR name, T& value, VARTYPE vt, const T* fallback) {
    if (!pPX)
        return FALSE;
    CComVariant current, def;
    if (FAILED(kw::dispatch::WriteValue(value, vt, &current)))
        return FALSE;
    if (fallback && FAILED(kw::dispatch::WriteValue(*fallback, vt, &def)))
        return FALSE;
    bool exchanged = pPX->ExchangeVariant(name, &current, vt, fallback ? &def : nullptr);
    if (!pPX->IsLoading())
        return exchanged;
    if (exchanged)
        return SUCCEEDED(kw::dispatch::ReadValue(current, &value));
    if (fallback)
        value = *fallback;
    return TRUE;
}

} // namespace

#define KW_PX_PAIR(Name, Type, Vt)                                                                 \
    BOOL Name(CPropExchange* pPX, LPCTSTR name, Type& value) {                                     \
        return ExchangeTyped<Type>(pPX, name, value, Vt, nullptr);                                 \
    }                                                                                              \
    BOOL Name(CPropExchange* pPX, LPCTSTR name, Type& value, Type defaultValue) {                  \
        return ExchangeTyped<Type>(pPX, name, value, Vt, &defaultValue);                           \
    }

KW_PX_PAIR(PX_Short, SHORT, VT_I2)
KW_PX_PAIR(PX_UShort, USHORT, VT_UI2)
KW_PX_PAIR(PX_Long, LONG, VT_I4)
KW_PX_PAIR(PX_Bool, BOOL, VT_BOOL)
KW_PX_PAIR(PX_Float, float, VT_R4)
KW_PX_PAIR(PX_Double, double, VT_R8)
#undef KW_PX_PAIR

BOOL PX_Color(CPropExchange* pPX, LPCTSTR name, OLE_COLOR& value) {
    LONG v = static_cast<LONG>(value);
    BOOL ok = PX_Long(pPX, name, v);
    value = static_cast<OLE_COLOR>(v);
    return ok;
}

BOOL PX_Color(CPropExchange* pPX, LPCTSTR name, OLE_COLOR& value, OLE_COLOR defaultValue) {
    LONG v = static_cast<LONG>(value);
    BOOL ok = PX_Long(pPX, name, v, static_cast<LONG>(defaultValue));
    value = static_cast<OLE_COLOR>(v);
    return ok;
}

BOOL PX_String(CPropExchange* pPX, LPCTSTR name, CString& value) {
    return ExchangeTyped<CString>(pPX, name, value, VT_BSTR, nullptr);
}

BOOL PX_String(CPropExchange* pPX, LPCTSTR name, CString& value, const CString& defaultValue) {
    return ExchangeTyped<CString>(pPX, name, value, VT_BSTR, &defaultValue);
}
