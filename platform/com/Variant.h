#pragma once
// VARIANT, the component model's tagged value, with the types the controls
// and hosts exchange, and coercion between them by the platform's rules.
#include "platform/base/HResult.h"
#include "platform/base/WinTypes.h"
#include "platform/com/Bstr.h"

struct IUnknown;
struct IDispatch;
struct SAFEARRAY;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
    VT_ILLEGAL = 0xFFFF,
};

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    WORD wReserved1 = 0;
    WORD wReserved2 = 0;
    WORD wReserved3 = 0;
    union {
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        USHORT uiVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        USHORT* puiVal;
        LONG* plVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        void* byref;
        LONGLONG llVal = 0;
    };
};
using VARIANTARG = VARIANT;

// Flags of VariantChangeType.
constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
constexpr USHORT VARIANT_ALPHABOOL = 0x02;

void VariantInit(VARIANT* v);
// Frees what the variant owns (string, interface, array) and makes it empty.
// A by-reference variant owns nothing. DISP_E_ARRAYISLOCKED for a locked array.
HRESULT VariantClear(VARIANT* v);
// Deep copy: strings and arrays are duplicated, interfaces gain a reference.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Like VariantCopy, but a by-reference source is copied as its target value.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);

// Converts src to type vt into dest (dest may equal src). Numbers go to and
// from strings in the invariant "C" form; a real becomes an integer by
// rounding half to even; a value outside the target's range gives
// DISP_E_OVERFLOW, a string that is not a number DISP_E_TYPEMISMATCH. An
// object converts through its value property unless VARIANT_NOVALUEPROP.
// On failure dest is left untouched.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);

// The element size of a type stored in a variant or safe array, 0 if unknown.
ULONG VarTypeSize(VARTYPE vt);

// RAII holder used throughout the runtime and by hosts.
class CComVariant : public VARIANT {
public:
    CComVariant() { VariantInit(this); }
    CComVariant(const CComVariant& other) {
        VariantInit(this);
        VariantCopy(this, &other);
    }
    CComVariant(const VARIANT& other) {
        VariantInit(this);
        VariantCopy(this, &other);
    }
    CComVariant& operator=(const CComVariant& other) {
        if (this != &other) {
            VariantClear(this);
            VariantCopy(this, &other);
        }
        return *this;
    }
    ~CComVariant() { VariantClear(this); }

    static CComVariant I2(SHORT value);
    static CComVariant I4(LONG value);
    static CComVariant R4(float value);
    static CComVariant R8(double value);
    static CComVariant Bool(bool value);
    static CComVariant Str(std::string_view utf8);
    static CComVariant Error(SCODE code);
};
