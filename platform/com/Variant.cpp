#include "platform/com/Variant.h"

#include "platform/com/Dispatch.h"
#include "platform/com/SafeArray.h"

#include <cerrno>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <optional>

// [SECTION] Life cycle
// [SECTION] Reading a value as a number
// [SECTION] Strings in the invariant form
// [SECTION] Coercion

// [SECTION] Life cycle

void VariantInit(VARIANT* v) {
    if (!v)
        return;
    v->vt = VT_EMPTY;
    v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
    v->llVal = 0;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v)
        return E_INVALIDARG;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt & VT_ARRAY) {
            if (v->parray) {
                HRESULT hr = SafeArrayDestroy(v->parray);
                if (FAILED(hr))
                    return hr;
            }
        } else {
            switch (v->vt) {
            case VT_BSTR:
                SysFreeString(v->bstrVal);
                break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                if (v->punkVal)
                    v->punkVal->Release();
                break;
            default:
                break;
            }
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (dest == src)
        return S_OK;
    VARIANT copy = *src;
    if (!(src->vt & VT_BYREF)) {
        if (src->vt & VT_ARRAY) {
            copy.parray = nullptr;
            if (src->parray) {
                HRESULT hr = SafeArrayCopy(src->parray, &copy.parray);
                if (FAILED(hr))
                    return hr;
            }
        } else if (src->vt == VT_BSTR) {
            copy.bstrVal = src->bstrVal ? SysAllocStringView(BstrView(src->bstrVal)) : nullptr;
            if (src->bstrVal && !copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal) {
            src->punkVal->AddRef();
        }
    }
    HRESULT hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

namespace {

// The value a by-reference variant points at, as a plain variant that
// borrows (does not own) the target's string, interface or array.
std::optional<VARIANT> Dereference(const VARIANT& v) {
    if (!(v.vt & VT_BYREF))
        return v;
    if (!v.byref)
        return std::nullopt;
    VARTYPE base = v.vt & ~VT_BYREF;
    if (base == VT_VARIANT)
        return Dereference(*v.pvarVal);
    VARIANT out;
    out.vt = base;
    if (base & VT_ARRAY) {
        out.parray = *v.pparray;
        return out;
    }
    switch (base) {
    case VT_I2:
        out.iVal = *v.piVal;
        break;
    case VT_UI2:
        out.uiVal = *v.puiVal;
        break;
    case VT_UI1:
        out.bVal = *v.pbVal;
        break;
    case VT_I4:
        out.lVal = *v.plVal;
        break;
    case VT_R4:
        out.fltVal = *v.pfltVal;
        break;
    case VT_R8:
        out.dblVal = *v.pdblVal;
        break;
    case VT_BOOL:
        out.boolVal = *v.pboolVal;
        break;
    case VT_ERROR:
        out.scode = *v.pscode;
        break;
    case VT_BSTR:
        out.bstrVal = *v.pbstrVal;
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        out.punkVal = *v.ppunkVal;
        break;
    default:
        return std::nullopt;
    }
    return out;
}

} // namespace

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src)
        return E_INVALIDARG;
    auto value = Dereference(*src);
    if (!value)
        return DISP_E_BADVARTYPE;
    return VariantCopy(dest, &*value);
}

ULONG VarTypeSize(VARTYPE vt) {
    switch (vt) {
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_R8:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return sizeof(void*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

// [SECTION] Reading a value as a number

namespace {

struct Number {
    double value;
    bool isInteger; // came from an integer type, so no rounding is involved
};

// True when `text` is exactly: digits with at most one '.', at least one
// digit, then optionally an exponent 'e'/'E' with optional sign and digits.
bool IsInvariantDecimal(std::string_view text) {
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == text.size();
}

// Parses the invariant "C" form: optional blanks, sign, decimal number,
// optional blanks. Nothing else: no "inf", "nan" or hex as the C library
// would take them.
HRESULT ParseInvariantNumber(std::string_view text, double* out) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!IsInvariantDecimal(text))
        return DISP_E_TYPEMISMATCH;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    std::string copy(text);
    errno = 0;
    double value = strtod_l(copy.c_str(), nullptr, cLocale);
    // ERANGE with a huge result is an overflow; an underflow reads as zero.
    if (errno == ERANGE && std::isinf(value))
        return DISP_E_OVERFLOW;
    *out = negative ? -value : value;
    return S_OK;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

HRESULT ReadNumber(const VARIANT& v, Number* out) {
    switch (v.vt) {
    case VT_EMPTY:
        *out = {0, true};
        return S_OK;
    case VT_I2:
        *out = {double(v.iVal), true};
        return S_OK;
    case VT_UI2:
        *out = {double(v.uiVal), true};
        return S_OK;
    case VT_UI1:
        *out = {double(v.bVal), true};
        return S_OK;
    case VT_I4:
        *out = {double(v.lVal), true};
        return S_OK;
    case VT_ERROR:
        *out = {double(v.scode), true};
        return S_OK;
    case VT_BOOL:
        *out = {v.boolVal ? -1.0 : 0.0, true};
        return S_OK;
    case VT_R4:
        *out = {double(v.fltVal), false};
        return S_OK;
    case VT_R8:
        *out = {v.dblVal, false};
        return S_OK;
    case VT_BSTR: {
        std::string_view text = BstrView(v.bstrVal);
        // Booleans spelled out convert too, as the platform allows.
        if (EqualsIgnoringCase(text, "True")) {
            *out = {-1, true};
            return S_OK;
        }
        if (EqualsIgnoringCase(text, "False")) {
            *out = {0, true};
            return S_OK;
        }
        double value = 0;
        HRESULT hr = ParseInvariantNumber(text, &value);
        if (FAILED(hr))
            return hr;
        *out = {value, false};
        return S_OK;
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

// Real to integer as the platform does it: round half to even.
double RoundHalfEven(double value) {
    int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

template <class T> HRESULT ToInteger(const Number& n, T* out) {
    double value = n.isInteger ? n.value : RoundHalfEven(n.value);
    if (std::isnan(value) || value < double(std::numeric_limits<T>::min()) ||
        value > double(std::numeric_limits<T>::max()))
        return DISP_E_OVERFLOW;
    *out = static_cast<T>(value);
    return S_OK;
}

// [SECTION] Strings in the invariant form

std::string FormatReal(double value, int digits) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-1.#INF" : "1.#INF";
    char text[64];
    auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
    if (ec != std::errc())
        return "0";
    std::string result(text, end);
    for (char& c : result)
        if (c == 'e')
            c = 'E';
    return result;
}

HRESULT ToString(const VARIANT& v, USHORT flags, std::string* out) {
    switch (v.vt) {
    case VT_EMPTY:
        out->clear();
        return S_OK;
    case VT_BSTR:
        out->assign(BstrView(v.bstrVal));
        return S_OK;
    case VT_I2:
        *out = std::to_string(v.iVal);
        return S_OK;
    case VT_UI2:
        *out = std::to_string(v.uiVal);
        return S_OK;
    case VT_UI1:
        *out = std::to_string(v.bVal);
        return S_OK;
    case VT_I4:
        *out = std::to_string(v.lVal);
        return S_OK;
    case VT_R4:
        *out = FormatReal(v.fltVal, 7);
        return S_OK;
    case VT_R8:
        *out = FormatReal(v.dblVal, 15);
        return S_OK;
    case VT_BOOL:
        if (flags & VARIANT_ALPHABOOL)
            *out = v.boolVal ? "True" : "False";
        else
            *out = v.boolVal ? "-1" : "0";
        return S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

} // namespace

// [SECTION] Coercion

namespace {

// Reads an object's value property (DISPID_VALUE) into `out`.
HRESULT ValueOfObject(IUnknown* object, VARIANT* out) {
    if (!object)
        return DISP_E_TYPEMISMATCH;
    ComPtr<IDispatch> dispatch;
    if (FAILED(object->QueryInterface(IID_IDispatch, dispatch.OutVoid())) || !dispatch)
        return DISP_E_TYPEMISMATCH;
    DISPPARAMS none{};
    HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, out,
                                  nullptr, nullptr);
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT ConvertScalar(VARIANT* result, const VARIANT& src, USHORT flags, VARTYPE vt) {
    result->vt = vt;
    if (vt == VT_EMPTY)
        return S_OK;
    if (src.vt == VT_NULL)
        return vt == VT_NULL ? S_OK : DISP_E_TYPEMISMATCH;
    if (vt == VT_NULL)
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_BSTR) {
        std::string text;
        HRESULT hr = ToString(src, flags, &text);
        if (FAILED(hr))
            return hr;
        result->bstrVal = SysAllocStringView(text);
        return result->bstrVal || text.empty() ? S_OK : E_OUTOFMEMORY;
    }
    if (vt == VT_ERROR) {
        if (src.vt != VT_ERROR && src.vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        result->scode = src.vt == VT_ERROR ? src.scode : src.lVal;
        return S_OK;
    }
    if (src.vt == VT_ERROR && vt != VT_I4)
        return DISP_E_TYPEMISMATCH;
    Number n{};
    HRESULT hr = ReadNumber(src, &n);
    if (FAILED(hr))
        return hr;
    switch (vt) {
    case VT_I2:
        return ToInteger(n, &result->iVal);
    case VT_UI2:
        return ToInteger(n, &result->uiVal);
    case VT_UI1:
        return ToInteger(n, &result->bVal);
    case VT_I4:
        return ToInteger(n, &result->lVal);
    case VT_R8:
        result->dblVal = n.value;
        return S_OK;
    case VT_R4:
        if (std::isfinite(n.value) && std::fabs(n.value) > std::numeric_limits<float>::max())
            return DISP_E_OVERFLOW;
        result->fltVal = static_cast<float>(n.value);
        return S_OK;
    case VT_BOOL:
        if (std::isnan(n.value))
            return DISP_E_TYPEMISMATCH;
        result->boolVal = n.value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    default:
        return DISP_E_BADVARTYPE;
    }
}

bool IsSupportedScalar(VARTYPE vt) {
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_UI1:
    case VT_UI2:
        return true;
    default:
        return false;
    }
}

} // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (vt & VT_BYREF)
        return DISP_E_TYPEMISMATCH;
    auto value = Dereference(*src);
    if (!value)
        return DISP_E_BADVARTYPE;
    if (value->vt == vt)
        return VariantCopy(dest, &*value);
    if ((vt & VT_ARRAY) || (value->vt & VT_ARRAY))
        return DISP_E_TYPEMISMATCH;
    if (!IsSupportedScalar(vt) || !IsSupportedScalar(value->vt))
        return DISP_E_BADVARTYPE;

    VARIANT result;
    VariantInit(&result);
    HRESULT hr = S_OK;
    if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
        if (value->vt != VT_DISPATCH && value->vt != VT_UNKNOWN)
            return DISP_E_TYPEMISMATCH;
        result.vt = vt;
        if (!value->punkVal)
            result.punkVal = nullptr;
        else if (vt == VT_UNKNOWN)
            hr = value->punkVal->QueryInterface(IID_IUnknown,
                                                reinterpret_cast<void**>(&result.punkVal));
        else
            hr = value->punkVal->QueryInterface(IID_IDispatch,
                                                reinterpret_cast<void**>(&result.pdispVal));
        if (FAILED(hr)) {
            result.vt = VT_EMPTY;
            return DISP_E_TYPEMISMATCH;
        }
    } else if (value->vt == VT_DISPATCH || value->vt == VT_UNKNOWN) {
        if (flags & VARIANT_NOVALUEPROP)
            return DISP_E_TYPEMISMATCH;
        CComVariant property;
        hr = ValueOfObject(value->punkVal, &property);
        if (FAILED(hr))
            return hr;
        if (property.vt == VT_DISPATCH || property.vt == VT_UNKNOWN)
            return DISP_E_TYPEMISMATCH; // one level of value property, no chains
        return VariantChangeType(dest, &property, flags, vt);
    } else {
        hr = ConvertScalar(&result, *value, flags, vt);
        if (FAILED(hr))
            return hr;
    }
    // dest may be src: the result is complete before dest is cleared.
    HRESULT cleared = VariantClear(dest);
    if (FAILED(cleared)) {
        VariantClear(&result);
        return cleared;
    }
    *dest = result;
    return S_OK;
}

namespace {

// A variant of type `vt` holding `value` in the union member `field`.
template <class T> CComVariant Holding(VARTYPE vt, T VARIANT::*field, T value) {
    CComVariant v;
    v.vt = vt;
    v.*field = value;
    return v;
}

} // namespace

CComVariant CComVariant::I2(SHORT value) {
    return Holding(VT_I2, &VARIANT::iVal, value);
}
CComVariant CComVariant::I4(LONG value) {
    return Holding(VT_I4, &VARIANT::lVal, value);
}
CComVariant CComVariant::R4(float value) {
    return Holding(VT_R4, &VARIANT::fltVal, value);
}
CComVariant CComVariant::R8(double value) {
    return Holding(VT_R8, &VARIANT::dblVal, value);
}
CComVariant CComVariant::Bool(bool value) {
    return Holding(VT_BOOL, &VARIANT::boolVal, value ? VARIANT_TRUE : VARIANT_FALSE);
}
CComVariant CComVariant::Str(std::string_view utf8) {
    return Holding(VT_BSTR, &VARIANT::bstrVal, SysAllocStringView(utf8));
}
CComVariant CComVariant::Error(SCODE code) {
    return Holding(VT_ERROR, &VARIANT::scode, code);
}
