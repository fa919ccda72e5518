#pragma once
// COleDispatchDriver: calls an IDispatch by DISPID.
//
// Values travel through typed pointers chosen by a VARTYPE, as the
// framework's driver does: VT_I2 SHORT, VT_I4 LONG, VT_R4 float, VT_R8
// double, VT_BOOL BOOL, VT_BSTR CString, VT_VARIANT VARIANT, VT_DISPATCH
// IDispatch* (the result gains a reference the caller releases), VT_UNKNOWN
// IUnknown*, VT_EMPTY nothing. A result of another type is converted to the
// asked one. Failures come back as HRESULTs; a dispatch exception gives the
// status its exception record carries, and its text is kept.
#include "platform/afx/CString.h"
#include "platform/com/DispatchAdapters.h"

#include <vector>

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    explicit COleDispatchDriver(IDispatch* dispatch, BOOL autoRelease = TRUE)
        : m_lpDispatch(dispatch), m_bAutoRelease(autoRelease) {}
    ~COleDispatchDriver() { ReleaseDispatch(); }
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Takes `dispatch` (releasing the previous one). With autoRelease the
    // driver owns the reference it was given and releases it.
    void AttachDispatch(IDispatch* dispatch, BOOL autoRelease = TRUE);
    IDispatch* DetachDispatch();
    void ReleaseDispatch();

    HRESULT GetProperty(DISPID dispid, VARTYPE vtProp, void* value) const;
    HRESULT SetProperty(DISPID dispid, VARTYPE vtProp, const void* value);

    // Calls the member with `args` in declared order; the result, if vtRet
    // is not VT_EMPTY, goes to *result as above.
    HRESULT InvokeHelperV(DISPID dispid, WORD flags, VARTYPE vtRet, void* result,
                          std::vector<CComVariant> args) const;
    // The same with C++ arguments (SHORT, LONG, float, double, bool,
    // std::string, CString, CComVariant).
    template <class... Args>
    HRESULT InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* result,
                         const Args&... args) const {
        std::vector<CComVariant> values(sizeof...(Args));
        std::size_t i = 0;
        ((VariantTraits<kw::dispatch::Bare<Args>>::Write(args, &values[i++])), ...);
        return InvokeHelperV(dispid, flags, vtRet, result, std::move(values));
    }

    // The text of the last dispatch exception, empty when there was none.
    const std::string& LastExceptionText() const { return m_lastException; }

    IDispatch* m_lpDispatch{nullptr};
    BOOL m_bAutoRelease{TRUE};

private:
    mutable std::string m_lastException;
};
