// CAccelerationCtrl: interfaces, construction, the table transfer,
// persistence and the window messages.
#include "machine/AccelerationCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"
#include "platform/afx/OleSafeArray.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using C = CAccelerationCtrl;

constexpr DispParam kSetRampTableParams[] = {{"pvarData", VT_BYREF | VT_VARIANT}};

// The type library declares every own property short and SetRampTable
// long; hosts built against it rely on that, while calls go by the rows'
// own types.
const DispEntry kAccelerationRows[] = {
    DispMember<&C::m_Vstart, &C::OnRampParameterChanged>("Vstart", 1, VT_I2, "m_Vstart"),
    DispMember<&C::m_A, &C::OnRampParameterChanged>("A", 2, VT_I2, "m_A"),
    DispMember<&C::m_B, &C::OnBChanged>("B", 3, VT_I2, "m_B"),
    DispTypeLibType(DispMember<&C::m_Vmax, &C::OnRampParameterChanged>("Vmax", 4, VT_I4, "m_Vmax"),
                    VT_I2),
    DispTypeLibType(DispMember<&C::m_Alpha, &C::OnAlphaChanged>("Alpha", 5, VT_I4, "m_Alpha"),
                    VT_I2),
    DispTypeLibType(DispMember<&C::m_Mode, &C::OnChanged>("Mode", 6, VT_I4, "m_Mode"), VT_I2),
    DispTypeLibType(
        DispMethod<&C::SetRampTableArg>("SetRampTable", 7, VT_BOOL, kSetRampTableParams), VT_I4),
    DispMethod<&C::GetRampTable>("GetRampTable", 8, VT_VARIANT, {}),
    DispTypeLibType(DispMember<&C::m_curramp, &C::OnChanged>("CurRamp", 9, VT_I4, "m_curramp"),
                    VT_I2),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kAccelerationTable{kAccelerationRows};
const DispTable kAccelerationEvents{};

COleControlClass AccelerationClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Acceleration, &kAccelerationTable, &kAccelerationEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21191;
    return cls;
}

// Releases a safe array on every way out of the transfer.
struct SafeArrayOwner {
    SAFEARRAY* array{nullptr};
    bool accessed{false};
    ~SafeArrayOwner() {
        if (accessed)
            SafeArrayUnaccessData(array);
        if (array)
            SafeArrayDestroy(array);
    }
};

} // namespace

const DispTable& AccelerationDispatchTable() {
    return kAccelerationTable;
}
const DispTable& AccelerationEventTable() {
    return kAccelerationEvents;
}

// [SECTION] Life

CAccelerationCtrl::CAccelerationCtrl() : COleControl(AccelerationClass()) {
    InitializeIIDs(&kw::ids::IID_DAcceleration, &kw::ids::IID_DAccelerationEvents);
    SetInitialSize(80, 80);
    m_rampTable.fill(kw::machine::kRampFullSpeed);
    LOGFONT lf{};
    if (::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf) == 0)
        lf.lfHeight = -11;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", "Arial");
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    m_font.CreateFontIndirect(&lf);
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    m_fontVertical.CreateFontIndirect(&lf);
}

CAccelerationCtrl::~CAccelerationCtrl() = default;

BOOL CAccelerationCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= BS_OWNERDRAW;
    return COleControl::PreCreateWindow(cs);
}

// [SECTION] Properties

void CAccelerationCtrl::CalcRampTable() {
    kw::machine::RampParameters p{m_Vstart, m_A, m_B, m_Vmax, m_Alpha};
    kw::machine::CalcRampTable(p, m_rampTable, m_rampCount);
    m_A = p.a;
    m_Vmax = p.vmax;
}

void CAccelerationCtrl::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CAccelerationCtrl::OnRampParameterChanged() {
    CalcRampTable();
    OnChanged();
}

void CAccelerationCtrl::OnBChanged() {
    if (m_B != 0) {
        m_Alpha = 0;
        CalcRampTable();
    }
    OnChanged();
}

void CAccelerationCtrl::OnAlphaChanged() {
    if (m_Alpha != 0) {
        m_B = 0;
        CalcRampTable();
    }
    OnChanged();
}

// [SECTION] Table transfer

BOOL CAccelerationCtrl::SetRampTable(VARIANT* pvarData) {
    if (!pvarData)
        return TRUE;
    if (pvarData->vt != (VT_ARRAY | VT_I4))
        AfxThrowOleException(E_INVALIDARG);
    SafeArrayOwner copy;
    if (FAILED(SafeArrayCopy(pvarData->parray, &copy.array)) || !copy.array)
        AfxThrowOleException(E_INVALIDARG);
    // The variant's type names the elements, but only the array knows
    // their size: anything but 32-bit elements would be read past its end.
    if (SafeArrayGetElemsize(copy.array) != sizeof(LONG))
        AfxThrowOleException(E_INVALIDARG);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(copy.array, &data)))
        AfxThrowOleException(E_INVALIDARG);
    copy.accessed = true;
    // The first dimension's elements; its lower bound and any further
    // dimension do not count. With more than one dimension they are the
    // first column of the array, which lies first in memory; an empty
    // further dimension leaves no elements at all.
    const ULONG elements =
        std::min(copy.array->rgsabound[0].cElements, SafeArrayElementCount(copy.array));
    if (!kw::machine::LoadRampTable(std::span<const LONG>(static_cast<const LONG*>(data), elements),
                                    m_rampTable, m_rampCount))
        return FALSE;
    InvalidateControl();
    return TRUE;
}

CComVariant CAccelerationCtrl::GetRampTable() {
    const DWORD count = m_rampCount > 0 ? DWORD(m_rampCount) : 0;
    std::vector<USHORT> low(count);
    for (DWORD i = 0; i < count; ++i)
        low[i] = USHORT(m_rampTable[i] & 0xFFFF);
    COleSafeArray array;
    if (FAILED(array.CreateOneDim(VT_UI2, count, low.data())))
        AfxThrowOleException(E_OUTOFMEMORY);
    CComVariant result;
    VARIANT detached = array.Detach();
    VariantCopy(&result, &detached);
    VariantClear(&detached);
    return result;
}

// [SECTION] Persistence

void CAccelerationCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_Short(pPX, "Vstart", m_Vstart);
    PX_Short(pPX, "A", m_A);
    PX_Short(pPX, "B", m_B);
    // Stored files carry the final frequency in 16 bits.
    SHORT vmax = SHORT(m_Vmax & 0xFFFF);
    PX_Short(pPX, "Vmax", vmax);
    if (pPX->IsLoading() && !pPX->IsResetting())
        m_Vmax = vmax;
    if (pPX->IsLoading())
        InvalidateControl();
}

// [SECTION] Messages

BOOL CAccelerationCtrl::OnEraseBkgnd(CDC*) {
    return TRUE; // the painter fills the whole area
}

void CAccelerationCtrl::OnEnable(BOOL enable) {
    COleControl::OnEnable(enable);
    InvalidateControl();
}

void CAccelerationCtrl::OnSize(UINT type, int cx, int cy) {
    COleControl::OnSize(type, cx, cy);
    m_bitmap.DeleteObject();
}

void CAccelerationCtrl::OnSettingChange(UINT flags, LPCSTR section) {
    COleControl::OnSettingChange(flags, section);
    InvalidateControl();
}

void CAccelerationCtrl::OnDestroy() {
    COleControl::OnDestroy();
    m_bitmap.DeleteObject();
}

LRESULT CAccelerationCtrl::OnOcmDrawItem(WPARAM, LPARAM lParam) {
    if (auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))
        DrawItem(item);
    return 1;
}
