#pragma once
// COleSafeArray: a VARIANT that holds a safe array, for results of dispatch
// calls. It owns its array and frees it when destroyed, cleared or given a
// new one. Operations answer the safe array functions' HRESULT.
#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"

class COleSafeArray : public VARIANT {
public:
    COleSafeArray() { VariantInit(this); }
    ~COleSafeArray() { Clear(); }
    COleSafeArray(const COleSafeArray&) = delete;
    COleSafeArray& operator=(const COleSafeArray&) = delete;

    // A one-dimensional array of `elements` elements of type vt, indexed
    // from lBound. `data`, when given, holds the elements as a C array of
    // that type (BSTR, VARIANT and interfaces are copied as the array's
    // elements are: duplicated or referenced).
    HRESULT CreateOneDim(VARTYPE vt, DWORD elements, const void* data = nullptr, LONG lBound = 0);
    // Takes the array out of `source`, which becomes empty. E_INVALIDARG
    // when it holds no array.
    HRESULT Attach(VARIANT& source);
    // Gives the variant away; this becomes empty.
    VARIANT Detach();
    void Clear();

    DWORD GetDim() const;
    DWORD GetOneDimSize() const; // Elements of the first dimension.
    // dim counts from 1.
    HRESULT GetLBound(DWORD dim, LONG* bound) const;
    HRESULT GetUBound(DWORD dim, LONG* bound) const;
    HRESULT GetElement(const LONG* indices, void* value) const;
    HRESULT PutElement(const LONG* indices, const void* value);
    HRESULT AccessData(void** data);
    HRESULT UnaccessData();

    SAFEARRAY* GetArray() const { return (vt & VT_ARRAY) ? parray : nullptr; }
};
