// The picture object behind a picture property: a snapshot of a picture
// holder that a host can read and hand to another picture property.
#include "platform/afx/PictureHolder.h"

#include "platform/com/DispatchAdapters.h"
#include "platform/com/Variant.h"

#include <atomic>

namespace {

constexpr DISPID kDispidPictureType = 3;
constexpr DISPID kDispidPictureWidth = 4;
constexpr DISPID kDispidPictureHeight = 5;
constexpr DISPID kDispidPictureData = 100;

class CPictureObject final : public IDispatch {
public:
    CPictureObject(short type, CSize himetric, std::string data)
        : m_type(type), m_himetric(himetric), m_data(std::move(data)) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    STDMETHOD(GetIDsOfNames)
    (REFIID, const char* const* names, UINT count, LCID, DISPID* ids) override {
        return DispTableGetIDsOfNames(Table(), names, count, ids);
    }
    STDMETHOD(Invoke)
    (DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
     EXCEPINFO* excepInfo, UINT* argErr) override {
        ComPtr<IDispatch> keepAlive(this);
        return DispTableInvoke(Table(), this, dispid, flags, params, result, excepInfo, argErr);
    }

    SHORT GetType() { return m_type; }
    LONG GetWidth() { return m_himetric.cx; }
    LONG GetHeight() { return m_himetric.cy; }
    std::string GetData() { return m_data; }

private:
    static const DispTable& Table();

    short m_type;
    CSize m_himetric;
    std::string m_data;
    std::atomic<ULONG> m_refs{1};
};

const DispEntry kPictureRows[] = {
    DispGetSet<&CPictureObject::GetType, nullptr>("Type", kDispidPictureType, VT_I2),
    DispGetSet<&CPictureObject::GetWidth, nullptr>("Width", kDispidPictureWidth, VT_I4),
    DispGetSet<&CPictureObject::GetHeight, nullptr>("Height", kDispidPictureHeight, VT_I4),
    DispGetSet<&CPictureObject::GetData, nullptr>("Data", kDispidPictureData, VT_BSTR),
};
const DispTable kPictureTable{kPictureRows};

const DispTable& CPictureObject::Table() {
    return kPictureTable;
}

} // namespace

IDispatch* CPictureHolder::GetPictureDispatch() const {
    OLE_XSIZE_HIMETRIC cx = 0;
    OLE_YSIZE_HIMETRIC cy = 0;
    GetHimetricExtent(&cx, &cy);
    return new CPictureObject(m_type, CSize(int(cx), int(cy)), ToString());
}

BOOL CPictureHolder::SetPictureDispatch(IDispatch* picture) {
    if (!picture) {
        CreateEmpty();
        return TRUE;
    }
    const char* name = "Data";
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(picture->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)))
        return FALSE;
    DISPPARAMS none{};
    CComVariant value;
    if (FAILED(picture->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                               nullptr)) ||
        value.vt != VT_BSTR)
        return FALSE;
    return FromString(BstrView(value.bstrVal)) ? TRUE : FALSE;
}
