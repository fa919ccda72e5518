#include "platform/com/SafeArray.h"

#include "platform/com/Unknown.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

USHORT FeaturesOf(VARTYPE vt) {
    switch (vt) {
    case VT_BSTR:
        return FADF_BSTR | FADF_HAVEVARTYPE;
    case VT_UNKNOWN:
        return FADF_UNKNOWN | FADF_HAVEVARTYPE;
    case VT_DISPATCH:
        return FADF_DISPATCH | FADF_HAVEVARTYPE;
    case VT_VARIANT:
        return FADF_VARIANT | FADF_HAVEVARTYPE;
    default:
        return FADF_HAVEVARTYPE;
    }
}

bool IsElementType(VARTYPE vt) {
    switch (vt) {
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_ERROR:
    case VT_BSTR:
    case VT_VARIANT:
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return true;
    default:
        return false;
    }
}

SAFEARRAYBOUND* Bounds(SAFEARRAY* psa) {
    return psa->rgsabound;
}

std::size_t HeaderSize(UINT cDims) {
    return offsetof(SAFEARRAY, rgsabound) + sizeof(SAFEARRAYBOUND) * cDims;
}

// Element offset of an index vector, or false when outside the bounds.
bool ElementOffset(SAFEARRAY* psa, const LONG* rgIndices, std::size_t* offset) {
    std::size_t index = 0;
    std::size_t stride = 1;
    for (UINT d = 0; d < psa->cDims; ++d) {
        const SAFEARRAYBOUND& b = Bounds(psa)[d];
        long long i = static_cast<long long>(rgIndices[d]) - b.lLbound;
        if (i < 0 || i >= static_cast<long long>(b.cElements))
            return false;
        index += static_cast<std::size_t>(i) * stride;
        stride *= b.cElements;
    }
    *offset = index * psa->cbElements;
    return true;
}

// Releases what the elements own, leaving zeroed storage.
void ClearElements(SAFEARRAY* psa) {
    ULONG count = SafeArrayElementCount(psa);
    switch (psa->vt) {
    case VT_BSTR:
        for (ULONG i = 0; i < count; ++i)
            SysFreeString(static_cast<BSTR*>(psa->pvData)[i]);
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        for (ULONG i = 0; i < count; ++i)
            if (auto* p = static_cast<IUnknown**>(psa->pvData)[i])
                p->Release();
        break;
    case VT_VARIANT:
        for (ULONG i = 0; i < count; ++i)
            VariantClear(&static_cast<VARIANT*>(psa->pvData)[i]);
        break;
    default:
        break;
    }
    std::memset(psa->pvData, 0, std::size_t(count) * psa->cbElements);
}

// Copies one element from `from` into the empty slot `to`.
HRESULT CopyElement(VARTYPE vt, const void* from, void* to, std::size_t size) {
    switch (vt) {
    case VT_BSTR: {
        BSTR s = *static_cast<const BSTR*>(from);
        BSTR copy = s ? SysAllocStringView(BstrView(s)) : nullptr;
        if (s && !copy)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(to) = copy;
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* p = *static_cast<IUnknown* const*>(from);
        if (p)
            p->AddRef();
        *static_cast<IUnknown**>(to) = p;
        return S_OK;
    }
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(to));
        return VariantCopy(static_cast<VARIANT*>(to), static_cast<const VARIANT*>(from));
    default:
        std::memcpy(to, from, size);
        return S_OK;
    }
}

// Releases one element in place (the slot a put overwrites).
void ReleaseElement(VARTYPE vt, void* slot) {
    switch (vt) {
    case VT_BSTR:
        SysFreeString(*static_cast<BSTR*>(slot));
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (auto* p = *static_cast<IUnknown**>(slot))
            p->Release();
        break;
    case VT_VARIANT:
        VariantClear(static_cast<VARIANT*>(slot));
        break;
    default:
        break;
    }
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound) {
    if (!IsElementType(vt) || cDims == 0 || cDims > 64 || !rgsabound)
        return nullptr;
    ULONG elementSize = VarTypeSize(vt);
    std::size_t count = 1;
    for (UINT d = 0; d < cDims; ++d) {
        if (rgsabound[d].cElements != 0 &&
            count > std::numeric_limits<std::size_t>::max() / rgsabound[d].cElements)
            return nullptr;
        count *= rgsabound[d].cElements;
    }
    // Bound the total size: a host cannot ask for more than the address
    // space could ever hold.
    constexpr std::size_t kMaxBytes = std::size_t(1) << 40;
    if (count > kMaxBytes / elementSize || count > std::numeric_limits<ULONG>::max())
        return nullptr;
    auto* psa = static_cast<SAFEARRAY*>(std::calloc(1, HeaderSize(cDims)));
    if (!psa)
        return nullptr;
    psa->cDims = static_cast<USHORT>(cDims);
    psa->fFeatures = FeaturesOf(vt);
    psa->cbElements = elementSize;
    psa->vt = vt;
    std::memcpy(Bounds(psa), rgsabound, sizeof(SAFEARRAYBOUND) * cDims);
    psa->pvData = std::calloc(count == 0 ? 1 : count, elementSize);
    if (!psa->pvData) {
        std::free(psa);
        return nullptr;
    }
    return psa;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    SAFEARRAYBOUND bound{cElements, lLbound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (!psa)
        return S_OK;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    ClearElements(psa);
    std::free(psa->pvData);
    std::free(psa);
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
    if (!ppsaOut)
        return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (!psa)
        return S_OK;
    SAFEARRAY* copy = SafeArrayCreate(psa->vt, psa->cDims, Bounds(psa));
    if (!copy)
        return E_OUTOFMEMORY;
    ULONG count = SafeArrayElementCount(psa);
    for (ULONG i = 0; i < count; ++i) {
        std::size_t offset = std::size_t(i) * psa->cbElements;
        HRESULT hr = CopyElement(psa->vt, static_cast<BYTE*>(psa->pvData) + offset,
                                 static_cast<BYTE*>(copy->pvData) + offset, psa->cbElements);
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) {
    return psa ? psa->cDims : 0;
}
UINT SafeArrayGetElemsize(SAFEARRAY* psa) {
    return psa ? psa->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
    if (!psa || !pvt)
        return E_INVALIDARG;
    *pvt = psa->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (!psa || !plLbound)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    *plLbound = Bounds(psa)[nDim - 1].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (!psa || !plUbound)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = Bounds(psa)[nDim - 1];
    *plUbound = static_cast<LONG>(static_cast<long long>(b.lLbound) + b.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv) {
    if (!psa || !rgIndices || !pv)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!ElementOffset(psa, rgIndices, &offset))
        return DISP_E_BADINDEX;
    return CopyElement(psa->vt, static_cast<BYTE*>(psa->pvData) + offset, pv, psa->cbElements);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* pv) {
    if (!psa || !rgIndices)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!ElementOffset(psa, rgIndices, &offset))
        return DISP_E_BADINDEX;
    void* slot = static_cast<BYTE*>(psa->pvData) + offset;
    // Strings and interfaces are passed by value (the BSTR or pointer itself).
    const void* from = pv;
    BSTR bstr = nullptr;
    IUnknown* unknown = nullptr;
    if (psa->vt == VT_BSTR) {
        bstr = static_cast<BSTR>(const_cast<void*>(pv));
        from = &bstr;
    } else if (psa->vt == VT_UNKNOWN || psa->vt == VT_DISPATCH) {
        unknown = static_cast<IUnknown*>(const_cast<void*>(pv));
        from = &unknown;
    } else if (!pv) {
        return E_INVALIDARG;
    }
    alignas(VARIANT) BYTE fresh[sizeof(VARIANT)];
    HRESULT hr = CopyElement(psa->vt, from, fresh, psa->cbElements);
    if (FAILED(hr))
        return hr;
    ReleaseElement(psa->vt, slot);
    std::memcpy(slot, fresh, psa->cbElements);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (!psa)
        return E_INVALIDARG;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (!psa)
        return E_INVALIDARG;
    if (psa->cLocks == 0)
        return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
    if (!psa || !ppvData)
        return E_INVALIDARG;
    HRESULT hr = SafeArrayLock(psa);
    if (SUCCEEDED(hr))
        *ppvData = psa->pvData;
    return hr;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
    return SafeArrayUnlock(psa);
}

ULONG SafeArrayElementCount(SAFEARRAY* psa) {
    if (!psa)
        return 0;
    std::size_t count = 1;
    for (UINT d = 0; d < psa->cDims; ++d)
        count *= Bounds(psa)[d].cElements;
    return static_cast<ULONG>(count);
}
