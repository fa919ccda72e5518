// CCurveCtrl: interfaces, persistence, the points, painting and the mouse.
#include "machine/CurveCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"

#include <vector>

namespace {

using C = CCurveCtrl;

constexpr DispParam kSetPointParams[] = {{"index", VT_I2}, {"x", VT_R4}, {"y", VT_R4}};
constexpr DispParam kGetPointParams[] = {
    {"index", VT_I2}, {"x", VT_BYREF | VT_R4}, {"y", VT_BYREF | VT_R4}};

const DispEntry kCurveRows[] = {
    DispMember<&C::m_strXaxis, &C::OnChanged>("Xaxis", 1, VT_BSTR),
    DispMember<&C::m_strYaxis, &C::OnChanged>("Yaxis", 2, VT_BSTR),
    DispMember<&C::m_nMaxPoints, &C::OnChanged>("Points", 3, VT_I2),
    DispMember<&C::m_nFlags, &C::OnChanged>("Flags", 4, VT_I2),
    DispMember<&C::m_fMinVal, &C::OnChanged>("MinVal", 5, VT_R4, "minval"),
    DispMember<&C::m_fMaxVal, &C::OnChanged>("MaxVal", 6, VT_R4, "maxval"),
    DispMethod<&C::SetPoint>("SetPoint", 7, VT_EMPTY, kSetPointParams),
    // The type library declares the result a long; callers see a BOOL.
    DispTypeLibType(DispMethod<&C::GetPoint>("GetPoint", 8, VT_BOOL, kGetPointParams), VT_I4),
    DispStockAboutBox(),
};

// Changed is fired with the selected index, a 16-bit integer, although the
// event interface declares no parameter; hosts written for the control read
// it as the first argument.
const DispEntry kCurveEventRows[] = {
    DispEvent("Changed", C::kEventChanged, {}),
};

const DispTable kCurveTable{kCurveRows};
const DispTable kCurveEvents{kCurveEventRows};

COleControlClass CurveClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Curve, &kCurveTable, &kCurveEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21191;
    return cls;
}

constexpr COLORREF kDisabledInk = RGB(0x80, 0x80, 0x80);

} // namespace

const DispTable& CurveDispatchTable() {
    return kCurveTable;
}
const DispTable& CurveEventTable() {
    return kCurveEvents;
}

CCurveCtrl::CCurveCtrl() : COleControl(CurveClass()) {
    InitializeIIDs(&kw::ids::IID_DCurve, &kw::ids::IID_DCurveEvents);
}

CCurveCtrl::~CCurveCtrl() = default;

BOOL CCurveCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= BS_OWNERDRAW;
    return COleControl::PreCreateWindow(cs);
}

// [SECTION] Persistence

void CCurveCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_String(pPX, "Xaxis", m_strXaxis, CString("X"));
    PX_String(pPX, "Yaxis", m_strYaxis, CString("Y"));
    PX_Short(pPX, "Points", m_nMaxPoints, 2);
    PX_Short(pPX, "Flags", m_nFlags, 0);
}

// [SECTION] Dispatch members

void CCurveCtrl::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CCurveCtrl::SetPoint(SHORT index, float x, float y) {
    if (m_editor.SetPoint(index, CurvePoint{x, y}, m_nMaxPoints))
        InvalidateControl();
}

BOOL CCurveCtrl::GetPoint(SHORT index, float* x, float* y) {
    CurvePoint p;
    if (m_editor.GetPoint(index, m_nMaxPoints, p)) {
        if (x)
            *x = p.x;
        if (y)
            *y = p.y;
    }
    return TRUE;
}

// [SECTION] Painting

void CCurveCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    m_editor.Layout(rcBounds);
    const CRect& plot = m_editor.Plot();

    const bool enabled = !m_hWnd || ::IsWindowEnabled(m_hWnd);
    CPen axisPen(PS_SOLID, 1, enabled ? RGB(0, 0, 0) : kDisabledInk);
    CPen boxPen(PS_SOLID, 1, enabled ? RGB(0xFF, 0xFF, 0) : kDisabledInk);
    CPen gridPen(PS_DOT, 1, RGB(0x80, 0x80, 0x80));
    CPen curvePen(PS_DOT, 2, enabled ? RGB(0x80, 0, 0) : kDisabledInk);
    CGdiObject* oldFont = dc->SelectStockObject(DEFAULT_GUI_FONT);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    constexpr UINT kCaption = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;

    CPen* oldPen = dc->SelectObject(&axisPen);
    dc->MoveTo(plot.left, plot.bottom);
    dc->LineTo(plot.left, plot.top);
    CRect yCaption(plot.left - 22, plot.top - 5, plot.left - 2, plot.top + 10);
    dc->DrawText(m_strYaxis.Str(), &yCaption, kCaption);
    dc->MoveTo(plot.left, plot.bottom);
    dc->LineTo(plot.right, plot.bottom);
    CRect xCaption(rcBounds.right - 27, rcBounds.bottom - 21, rcBounds.right - 5,
                   rcBounds.bottom - 3);
    dc->DrawText(m_strXaxis.Str(), &xCaption, kCaption);

    std::vector<POINT> device;
    device.reserve(std::size_t(m_editor.PointsInUse()));
    for (const CurvePoint& p : m_editor.InUse())
        device.push_back(CurveDevicePoint(p, m_editor.Scale(), plot));

    dc->SelectObject(&gridPen);
    for (const POINT& p : device) {
        dc->MoveTo(plot.left, p.y);
        dc->LineTo(plot.right, p.y);
        dc->MoveTo(p.x, plot.top);
        dc->LineTo(p.x, plot.bottom);
    }

    dc->SelectObject(&curvePen);
    if (!device.empty())
        dc->Polyline(device.data(), int(device.size()));

    dc->SelectObject(&boxPen);
    for (const POINT& p : device)
        dc->Rectangle(p.x - 3, p.y - 3, p.x + 3, p.y + 3);

    dc->SelectObject(oldPen);
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldMode);
    if (oldFont)
        dc->SelectObject(oldFont);
}

void CCurveCtrl::OnEnable(BOOL) {
    InvalidateControl();
}

// [SECTION] Mouse

UINT CCurveCtrl::OnGetDlgCode() {
    return UINT(DLGC_WANTARROWS);
}

void CCurveCtrl::OnLButtonDown(UINT flags, CPoint point) {
    if (m_editor.ButtonDown(point, m_nMaxPoints))
        InvalidateControl();
    COleControl::OnLButtonDown(flags, point);
}

void CCurveCtrl::OnMouseMove(UINT flags, CPoint point) {
    if ((flags & MK_LBUTTON) && m_editor.Drag(point, m_fMinVal, (m_nFlags & kFlagYLock) != 0)) {
        InvalidateControl();
        FireEvent(kEventChanged, SHORT(m_editor.Selection()));
    }
    COleControl::OnMouseMove(flags, point);
}

void CCurveCtrl::OnLButtonUp(UINT flags, CPoint point) {
    m_editor.ButtonUp();
    InvalidateControl();
    COleControl::OnLButtonUp(flags, point);
}
