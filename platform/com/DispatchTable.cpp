#include "platform/com/DispatchTable.h"

#include <cctype>
#include <new>
#include <vector>

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void ThrowDispatchException(HRESULT scode, std::string description) {
    throw DispatchException{scode, std::move(description)};
}

const DispEntry* DispTable::Find(DISPID dispid) const {
    for (const DispEntry& e : entries)
        if (e.dispid == dispid)
            return &e;
    return nullptr;
}

const DispEntry* DispTable::FindByName(std::string_view name) const {
    for (const DispEntry& e : entries)
        if (NamesEqual(e.name, name))
            return &e;
    return nullptr;
}

HRESULT DispTableGetIDsOfNames(const DispTable& table, const char* const* names, UINT count,
                               DISPID* ids) {
    if (!ids || (count > 0 && !names))
        return E_INVALIDARG;
    if (count == 0)
        return S_OK;
    HRESULT hr = S_OK;
    const DispEntry* member = names[0] ? table.FindByName(names[0]) : nullptr;
    ids[0] = member ? member->dispid : DISPID_UNKNOWN;
    if (!member)
        hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        if (member && names[i]) {
            for (std::size_t p = 0; p < member->params.size(); ++p)
                if (NamesEqual(member->params[p].name, names[i]))
                    ids[i] = static_cast<DISPID>(p);
        }
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

namespace {

// Where a by-reference argument's final value goes back to.
struct WriteBack {
    std::size_t param;
    VARIANT* target; // the caller's by-reference variant
};

HRESULT FailWithException(EXCEPINFO* info, HRESULT scode, const std::string& text) {
    if (info) {
        ClearExcepInfo(info);
        *info = EXCEPINFO{};
        info->scode = scode;
        if (!text.empty())
            info->bstrDescription = SysAllocStringView(text);
    }
    return DISP_E_EXCEPTION;
}

// Writes `value` (of the parameter's declared type) into the storage a
// by-reference argument points at, converting to that storage's type.
HRESULT StoreByRef(const VARIANT& value, VARIANT* target) {
    VARTYPE base = target->vt & ~VT_BYREF;
    if (base == VT_VARIANT) {
        VARIANT* inner = target->pvarVal;
        return inner ? VariantCopy(inner, &value) : E_POINTER;
    }
    CComVariant converted;
    HRESULT hr = VariantChangeType(&converted, &value, 0, base);
    if (FAILED(hr))
        return hr;
    if (!target->byref)
        return E_POINTER;
    switch (base) {
    case VT_I2:
        *target->piVal = converted.iVal;
        break;
    case VT_UI2:
        *target->puiVal = converted.uiVal;
        break;
    case VT_UI1:
        *target->pbVal = converted.bVal;
        break;
    case VT_I4:
        *target->plVal = converted.lVal;
        break;
    case VT_R4:
        *target->pfltVal = converted.fltVal;
        break;
    case VT_R8:
        *target->pdblVal = converted.dblVal;
        break;
    case VT_BOOL:
        *target->pboolVal = converted.boolVal;
        break;
    case VT_ERROR:
        *target->pscode = converted.scode;
        break;
    case VT_BSTR:
        SysFreeString(*target->pbstrVal);
        *target->pbstrVal = converted.bstrVal;
        converted.vt = VT_EMPTY; // ownership moved to the caller
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

// Converts one argument to the parameter's declared type.
HRESULT PrepareArgument(const DispParam& param, VARIANT* given, VARIANT* out,
                        std::vector<WriteBack>& writeBacks, std::size_t index) {
    VARTYPE declared = param.vt & ~VT_BYREF;
    bool missing = given->vt == VT_ERROR && given->scode == DISP_E_PARAMNOTFOUND;
    if (missing) {
        if (!param.optional)
            return DISP_E_PARAMNOTOPTIONAL;
        if (declared == VT_VARIANT)
            return VariantCopy(out, given);
        out->vt = declared; // an omitted optional argument reads as zero
        return S_OK;
    }
    if ((param.vt & VT_BYREF) && (given->vt & VT_BYREF))
        writeBacks.push_back({index, given});
    if (declared == VT_VARIANT)
        return VariantCopyInd(out, given);
    return VariantChangeType(out, given, 0, declared);
}

HRESULT InvokeProperty(const DispEntry& e, void* object, WORD flags, DISPPARAMS* params,
                       VARIANT* result, UINT* argErr) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return params->cNamedArgs == 0 ? DISP_E_PARAMNOTFOUND : DISP_E_NONAMEDARGS;
        if (!e.put)
            return DISP_E_MEMBERNOTFOUND;
        CComVariant value;
        HRESULT hr = e.type == VT_VARIANT
                         ? VariantCopyInd(&value, &params->rgvarg[0])
                         : VariantChangeType(&value, &params->rgvarg[0], 0, e.type);
        if (FAILED(hr)) {
            if (argErr)
                *argErr = 0;
            return DISP_E_TYPEMISMATCH;
        }
        return e.put(object, e, value);
    }
    if (params->cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    if (!e.get)
        return DISP_E_MEMBERNOTFOUND;
    CComVariant value;
    HRESULT hr = e.get(object, e, &value);
    if (SUCCEEDED(hr) && result) {
        VariantClear(result);
        *result = value;
        value.vt = VT_EMPTY; // moved
    }
    return hr;
}

HRESULT InvokeMethod(const DispEntry& e, void* object, DISPPARAMS* params, VARIANT* result,
                     UINT* argErr) {
    if (!e.call)
        return DISP_E_MEMBERNOTFOUND;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    std::size_t given = params->cArgs;
    std::size_t required = 0;
    for (const DispParam& p : e.params)
        if (!p.optional)
            ++required;
    if (given > e.params.size() || given < required)
        return DISP_E_BADPARAMCOUNT;

    std::vector<CComVariant> args(e.params.size());
    std::vector<WriteBack> writeBacks;
    for (std::size_t i = 0; i < e.params.size(); ++i) {
        if (i >= given) { // trailing optional arguments left out
            args[i].vt = e.params[i].vt & ~VT_BYREF;
            continue;
        }
        // rgvarg holds the arguments last first.
        VARIANT* arg = &params->rgvarg[given - 1 - i];
        HRESULT hr = PrepareArgument(e.params[i], arg, &args[i], writeBacks, i);
        if (FAILED(hr)) {
            if (argErr)
                *argErr = static_cast<UINT>(given - 1 - i);
            return hr == DISP_E_PARAMNOTOPTIONAL || hr == DISP_E_OVERFLOW ? hr
                                                                          : DISP_E_TYPEMISMATCH;
        }
    }
    CComVariant value;
    HRESULT hr = e.call(object, e, args.data(), &value);
    if (FAILED(hr))
        return hr;
    for (const WriteBack& wb : writeBacks) {
        HRESULT stored = StoreByRef(args[wb.param], wb.target);
        if (FAILED(stored))
            return stored;
    }
    if (result && e.type != VT_EMPTY) {
        VariantClear(result);
        *result = value;
        value.vt = VT_EMPTY; // moved
    }
    return S_OK;
}

} // namespace

HRESULT DispTableInvoke(const DispTable& table, void* object, DISPID dispid, WORD flags,
                        DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
    DISPPARAMS none{};
    if (!params)
        params = &none;
    if ((params->cArgs > 0 && !params->rgvarg) ||
        (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) ||
        params->cNamedArgs > params->cArgs)
        return E_INVALIDARG;
    const DispEntry* e = table.Find(dispid);
    if (!e)
        return DISP_E_MEMBERNOTFOUND;
    constexpr WORD kKnown =
        DISPATCH_METHOD | DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;
    if ((flags & kKnown) == 0)
        return E_INVALIDARG;
    try {
        HRESULT hr;
        if (e->kind == DispKind::Property) {
            hr = InvokeProperty(*e, object, flags, params, result, argErr);
        } else {
            if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
                return DISP_E_MEMBERNOTFOUND;
            hr = InvokeMethod(*e, object, params, result, argErr);
        }
        // An accessor's own failure status reaches the caller as an exception.
        if (FAILED(hr) && (hr & 0xFFFF0000) != (DISP_E_EXCEPTION & 0xFFFF0000))
            return FailWithException(excepInfo, hr, {});
        return hr;
    } catch (const DispatchException& ex) {
        return FailWithException(excepInfo, ex.scode, ex.description);
    } catch (const std::bad_alloc&) {
        return FailWithException(excepInfo, E_OUTOFMEMORY, "Out of memory");
    } catch (...) {
        return FailWithException(excepInfo, E_UNEXPECTED, "Unexpected failure");
    }
}

void ClearExcepInfo(EXCEPINFO* info) {
    if (!info)
        return;
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    info->bstrSource = info->bstrDescription = info->bstrHelpFile = nullptr;
}
