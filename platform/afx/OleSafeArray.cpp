#include "platform/afx/OleSafeArray.h"

#include <cstring>

HRESULT COleSafeArray::CreateOneDim(VARTYPE type, DWORD elements, const void* data, LONG lBound) {
    SAFEARRAY* array = SafeArrayCreateVector(type, lBound, elements);
    if (!array)
        return E_OUTOFMEMORY;
    if (data && elements) {
        const UINT size = SafeArrayGetElemsize(array);
        const bool owning =
            type == VT_BSTR || type == VT_VARIANT || type == VT_UNKNOWN || type == VT_DISPATCH;
        if (owning) {
            // Element by element, so that strings, variants and interfaces are
            // copied as the array's own.
            const auto* bytes = static_cast<const unsigned char*>(data);
            for (DWORD i = 0; i < elements; ++i) {
                const LONG index = lBound + LONG(i);
                const void* element = bytes + std::size_t(i) * size;
                const void* value =
                    type == VT_VARIANT ? element : *static_cast<void* const*>(element);
                const HRESULT hr = SafeArrayPutElement(array, &index, value);
                if (FAILED(hr)) {
                    SafeArrayDestroy(array);
                    return hr;
                }
            }
        } else {
            void* target = nullptr;
            if (SUCCEEDED(SafeArrayAccessData(array, &target))) {
                std::memcpy(target, data, std::size_t(size) * elements);
                SafeArrayUnaccessData(array);
            }
        }
    }
    Clear();
    vt = VARTYPE(VT_ARRAY | type);
    parray = array;
    return S_OK;
}

HRESULT COleSafeArray::Attach(VARIANT& source) {
    if (!(source.vt & VT_ARRAY) || (source.vt & VT_BYREF) || !source.parray)
        return E_INVALIDARG;
    Clear();
    vt = source.vt;
    parray = source.parray;
    source.vt = VT_EMPTY;
    source.parray = nullptr;
    return S_OK;
}

VARIANT COleSafeArray::Detach() {
    VARIANT out = *this;
    vt = VT_EMPTY;
    parray = nullptr;
    return out;
}

void COleSafeArray::Clear() {
    // A locked array cannot go; unlock what AccessData left open first.
    if ((vt & VT_ARRAY) && parray)
        while (parray->cLocks > 0 && SUCCEEDED(SafeArrayUnlock(parray))) {
        }
    VariantClear(this);
}

DWORD COleSafeArray::GetDim() const {
    return GetArray() ? SafeArrayGetDim(parray) : 0;
}

DWORD COleSafeArray::GetOneDimSize() const {
    LONG lower = 0, upper = -1;
    if (FAILED(GetLBound(1, &lower)) || FAILED(GetUBound(1, &upper)))
        return 0;
    return DWORD(upper - lower + 1);
}

HRESULT COleSafeArray::GetLBound(DWORD dim, LONG* bound) const {
    return GetArray() ? SafeArrayGetLBound(parray, UINT(dim), bound) : E_INVALIDARG;
}

HRESULT COleSafeArray::GetUBound(DWORD dim, LONG* bound) const {
    return GetArray() ? SafeArrayGetUBound(parray, UINT(dim), bound) : E_INVALIDARG;
}

HRESULT COleSafeArray::GetElement(const LONG* indices, void* value) const {
    return GetArray() ? SafeArrayGetElement(parray, indices, value) : E_INVALIDARG;
}

HRESULT COleSafeArray::PutElement(const LONG* indices, const void* value) {
    return GetArray() ? SafeArrayPutElement(parray, indices, value) : E_INVALIDARG;
}

HRESULT COleSafeArray::AccessData(void** data) {
    return GetArray() ? SafeArrayAccessData(parray, data) : E_INVALIDARG;
}

HRESULT COleSafeArray::UnaccessData() {
    return GetArray() ? SafeArrayUnaccessData(parray) : E_INVALIDARG;
}
