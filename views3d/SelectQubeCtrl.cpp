// CSelectQubeCtrl: interfaces, construction, persistence, input and the
// host's queries. The picture is drawn in SelectQubePaint.cpp.
#include "views3d/SelectQubeCtrl.h"
#include "views3d/HoverCapture.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"

namespace {

using C = CSelectQubeCtrl;
using kw::views3d::QubeGeometry;

constexpr DispParam kFloatTriple[] = {
    {"x", VT_BYREF | VT_R4}, {"y", VT_BYREF | VT_R4}, {"z", VT_BYREF | VT_R4}};
constexpr DispParam kShortTriple[] = {
    {"x", VT_BYREF | VT_I2}, {"y", VT_BYREF | VT_I2}, {"z", VT_BYREF | VT_I2}};
constexpr DispParam kRegionParams[] = {{"left", VT_R4},   {"right", VT_R4}, {"top", VT_R4},
                                       {"bottom", VT_R4}, {"upper", VT_R4}, {"lower", VT_R4}};
constexpr DispParam kIndexParam[] = {{"index", VT_I2}};

const DispEntry kSelectQubeRows[] = {
    DispMember<&C::m_defaultSel, &C::OnDefaultSelChanged>("defaultSel", 1, VT_I2),
    DispMethod<&C::GetOffsets>("GetOffsets", 2, VT_EMPTY, kFloatTriple),
    DispMethod<&C::SetRegion>("SetRegion", 3, VT_EMPTY, kRegionParams),
    DispMethod<&C::GetBezug>("GetBezug", 4, VT_EMPTY, kShortTriple),
    DispMethod<&C::GetSel>("GetSel", 5, VT_I2, {}),
    DispMethod<&C::SetSel>("SetSel", 6, VT_EMPTY, kIndexParam),
    DispMethod<&C::GetReg3DSel>("GetReg3DSel", 7, VT_I2, {}),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kSelectQubeTable{kSelectQubeRows};
// The type library shows only the last row, AboutBox: a container that
// reads it sees none of the others, which callers reach by DISPID.
const DispTable kSelectQubeTypeLib{std::span(kSelectQubeRows).last(1)};

const DispEntry kSelectQubeEventRows[] = {DispStockClickEvent()};
const DispTable kSelectQubeEvents{kSelectQubeEventRows};

COleControlClass SelectQubeClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_SelectQube, &kSelectQubeTable, &kSelectQubeEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21191; // acts like a button
    return cls;
}

} // namespace

const DispTable& SelectQubeDispatchTable() {
    return kSelectQubeTable;
}
const DispTable& SelectQubeTypeLibTable() {
    return kSelectQubeTypeLib;
}
const DispTable& SelectQubeEventTable() {
    return kSelectQubeEvents;
}

// [SECTION] Life and persistence

CSelectQubeCtrl::CSelectQubeCtrl() : COleControl(SelectQubeClass()) {
    InitializeIIDs(&kw::ids::IID_DSelectQube, &kw::ids::IID_DSelectQubeEvents);
    SetInitialSize(80, 80);
    // Until the window reports its size, the picture is laid out for the
    // initial size.
    m_geometry = kw::views3d::ComputeQubeGeometry(m_size.cx, m_size.cy, false);
}

CSelectQubeCtrl::~CSelectQubeCtrl() = default;

BOOL CSelectQubeCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= BS_OWNERDRAW;
    return COleControl::PreCreateWindow(cs);
}

void CSelectQubeCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_Short(pPX, "defaultSel", m_defaultSel, 0);
    if (pPX->IsLoading())
        TakeModeBits();
}

void CSelectQubeCtrl::TakeModeBits() {
    m_noAxisText = (m_defaultSel & kNoAxisText) != 0;
    const BOOL mode2D = (m_defaultSel & kMode2D) != 0;
    if (mode2D == m_mode2D)
        return;
    m_mode2D = mode2D;
    m_geometry = kw::views3d::ComputeQubeGeometry(m_size.cx, m_size.cy, m_mode2D != FALSE);
    m_cache.DeleteObject();
}

// [SECTION] Dispatch members

void CSelectQubeCtrl::OnDefaultSelChanged() {
    TakeModeBits();
    InvalidateControl(nullptr, TRUE);
    SetModifiedFlag(TRUE);
}

int CSelectQubeCtrl::SelectedPoint() const {
    // SetSel stores any value; one beyond the current table selects nothing,
    // so that nothing reads or draws past the table.
    const int sel = SHORT(m_defaultSel & ~kModeBits);
    return sel >= 0 && sel < m_geometry.count ? sel : -1;
}

int CSelectQubeCtrl::HoverPoint() const {
    return m_hover >= 0 && m_hover < m_geometry.count ? m_hover : -1;
}

void CSelectQubeCtrl::GetOffsets(float* x, float* y, float* z) {
    *x = *y = *z = 0.0f;
    const int sel = SelectedPoint();
    if (sel < 0)
        return;
    const auto offsets =
        kw::views3d::QubeOffsets(m_region, m_geometry.table[std::size_t(sel)].code);
    *x = offsets[0];
    *y = offsets[1];
    *z = offsets[2];
}

void CSelectQubeCtrl::SetRegion(float left, float right, float top, float bottom, float upper,
                                float lower) {
    m_region.r = {left, right, top, bottom, upper, lower};
}

void CSelectQubeCtrl::GetBezug(SHORT* x, SHORT* y, SHORT* z) {
    *x = *y = *z = 0;
    const int sel = SelectedPoint();
    if (sel < 0)
        return;
    const auto& code = m_geometry.table[std::size_t(sel)].code;
    *x = code[0];
    *y = code[1];
    *z = code[2];
}

SHORT CSelectQubeCtrl::GetSel() {
    return SHORT(m_defaultSel & ~kModeBits);
}

void CSelectQubeCtrl::SetSel(SHORT index) {
    // The mode bits of the low byte survive; everything else is the
    // caller's value, unchecked, as hosts have always been able to pass.
    m_defaultSel = SHORT((m_defaultSel & kModeBits) | index);
    InvalidateControl(nullptr, TRUE);
}

SHORT CSelectQubeCtrl::GetReg3DSel() {
    return SHORT(kw::views3d::QubeRegionNumber(GetSel()));
}

// [SECTION] Window messages

void CSelectQubeCtrl::OnSize(UINT type, int cx, int cy) {
    m_size = CSize(cx, cy);
    m_geometry = kw::views3d::ComputeQubeGeometry(cx, cy, m_mode2D != FALSE);
    COleControl::OnSize(type, cx, cy);
    m_cache.DeleteObject();
}

void CSelectQubeCtrl::OnLButtonDown(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    COleControl::OnLButtonDown(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    const SHORT before = GetSel();
    const int hit = kw::views3d::QubeHitTest(m_geometry, point);
    if (hit >= 0)
        m_defaultSel = SHORT((m_defaultSel & kModeBits) | hit);
    if (GetSel() != before)
        InvalidateControl(nullptr, TRUE);
}

void CSelectQubeCtrl::OnClick(USHORT button) {
    if (SelectedPoint() >= 0)
        COleControl::OnClick(button);
}

void CSelectQubeCtrl::OnLButtonUp(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    COleControl::OnLButtonUp(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    if (m_hovering)
        kw::views3d::RecaptureWhileOver(hwnd, point);
}

void CSelectQubeCtrl::OnMouseMove(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    CWnd::OnMouseMove(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    const bool leftDown = (flags & MK_LBUTTON) != 0;
    if (leftDown && !m_hovering)
        return;
    const int before = m_hover;
    m_hover = kw::views3d::QubeHitTest(m_geometry, point);
    if (::GetCapture() != hwnd && ::GetParent(hwnd)) {
        m_hovering = TRUE;
        ::SetCapture(hwnd);
        InvalidateControl(nullptr, TRUE);
    } else {
        POINT screen = point;
        ::ClientToScreen(hwnd, &screen);
        if (::WindowFromPoint(screen) != hwnd) {
            // A point's square may reach past the window's edge: over
            // another window nothing of this one is hovered.
            m_hover = -1;
            if (m_hovering) {
                m_hovering = FALSE;
                InvalidateControl(nullptr, TRUE);
            }
            if (!leftDown)
                ::ReleaseCapture();
        }
    }
    if (m_hover != before)
        InvalidateControl(nullptr, TRUE);
}

void CSelectQubeCtrl::OnEnable(BOOL enable) {
    CWnd::OnEnable(enable);
    InvalidateControl(nullptr, TRUE);
}

void CSelectQubeCtrl::OnDestroy() {
    COleControl::OnDestroy();
    m_cache.DeleteObject();
}

BOOL CSelectQubeCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}

LRESULT CSelectQubeCtrl::OnOcmCommand(WPARAM, LPARAM) {
    return 0;
}
