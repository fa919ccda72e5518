// CLineViewCtrl: the dispatch and event tables, construction, the display
// modes and the fit box.
#include "views3d/LineViewCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"

namespace {

// BOOL arguments: the type library declares them as 32-bit integers.
constexpr DispParam kEnableParam[] = {{"bEnable", VT_I4}};
constexpr DispParam kBitmapParam[] = {{"bitmap", VT_I4}};
constexpr DispParam kFitParams[] = {{"left", VT_R4},   {"right", VT_R4}, {"top", VT_R4},
                                    {"bottom", VT_R4}, {"zo", VT_R4},    {"zu", VT_R4}};

const DispEntry kLineViewRows[] = {
    DispMethod<&CLineViewCtrl::BeginList>("BeginList", 1, VT_EMPTY, {}),
    DispMethod<&CLineViewCtrl::EndList>("EndList", 2, VT_EMPTY, {}),
    DispMethod<&CLineViewCtrl::GetPointSize>("GetPointSize", 3, VT_R4, {}),
    DispMethod<&CLineViewCtrl::EnableLight>("EnableLight", 4, VT_EMPTY, kEnableParam),
    DispMethod<&CLineViewCtrl::CreateFont>("CreateFont", 5, VT_EMPTY, kBitmapParam),
    DispMethod<&CLineViewCtrl::GetFontList>("GetFontList", 6, VT_I4, {}),
    DispMethod<&CLineViewCtrl::EnableHiddenLine>("EnableHiddenLine", 7, VT_EMPTY, kEnableParam),
    DispMethod<&CLineViewCtrl::Set2DMode>("Set2DMode", 8, VT_EMPTY, kEnableParam),
    DispMethod<&CLineViewCtrl::SetInitialFit>("SetInitialFit", 9, VT_EMPTY, kFitParams),
    DispMethod<&CLineViewCtrl::Fit>("Fit", 10, VT_EMPTY, {}),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kLineViewTable{kLineViewRows};

const DispEntry kLineViewEventRows[] = {
    DispEvent("ZoomChanged", 1, {}),
};
const DispTable kLineViewEvents{kLineViewEventRows};

COleControlClass LineViewClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_LineView, &kLineViewTable, &kLineViewEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

} // namespace

const DispTable& LineViewDispatchTable() {
    return kLineViewTable;
}
const DispTable& LineViewEventTable() {
    return kLineViewEvents;
}

CLineViewCtrl::CLineViewCtrl() : COleControl(LineViewClass()) {
    InitializeIIDs(&kw::ids::IID_DLineView, &kw::ids::IID_DLineViewEvents);
    m_home = kw::views3d::HomeWindow(m_fovy, m_near);
    m_view = m_home;
}

CLineViewCtrl::~CLineViewCtrl() {
    // The base destroys the window after this class is gone, so the context
    // goes now.
    ReleaseRenderingContext();
}

void CLineViewCtrl::EnableLight(BOOL enable) {
    m_light = enable;
    InvalidateControl(nullptr, TRUE);
}

void CLineViewCtrl::EnableHiddenLine(BOOL enable) {
    m_hiddenLine = enable;
    InvalidateControl(nullptr, TRUE);
}

void CLineViewCtrl::Set2DMode(BOOL enable) {
    m_2d = enable;
    m_viewAngles[0] = m_viewAngles[1] = m_viewAngles[2] = 0;
    InvalidateControl(nullptr, TRUE);
}

float CLineViewCtrl::GetPointSize() {
    // Before the first paint it is computed for the view as it stands.
    if (!m_pointSizeComputed) {
        CRect client;
        GetClientRect(&client);
        return PointSizeFor(client);
    }
    return m_pointSize;
}

void CLineViewCtrl::SetInitialFit(float left, float right, float top, float bottom, float zo,
                                  float zu) {
    if (!m_2d) {
        m_fitBox = kw::views3d::FitBox{left, top, right, bottom, zu, zo};
        return;
    }
    // In 2D the range is framed at once, but only while the user has not
    // moved the view yet.
    if (m_view != m_home)
        return;
    if (const auto framed = kw::views3d::InitialFit2D(left, right, top, bottom)) {
        m_viewAngles[0] = m_viewAngles[1] = 0;
        m_view = *framed;
    }
}

void CLineViewCtrl::Fit() {
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const auto fitted = kw::views3d::FitWindow(
        Camera(), {m_viewAngles[0], m_viewAngles[1], m_viewAngles[2]}, m_fitBox, client);
    if (!fitted)
        return;
    m_view = *fitted;
    // A host that fits wants to see the result.
    Redraw();
}

HRESULT CLineViewCtrl::QueryInterface(REFIID riid, void** ppv) {
    if (ppv && riid == IID_ILineViewCamera) {
        *ppv = static_cast<ILineViewCamera*>(this);
        AddRef();
        return S_OK;
    }
    return COleControl::QueryInterface(riid, ppv);
}

HRESULT CLineViewCtrl::GetViewWindow(double window[4]) {
    if (!window)
        return E_POINTER;
    window[0] = m_view.left, window[1] = m_view.bottom;
    window[2] = m_view.right, window[3] = m_view.top;
    return S_OK;
}

HRESULT CLineViewCtrl::GetViewAngles(float angles[3]) {
    if (!angles)
        return E_POINTER;
    for (int i = 0; i < 3; ++i)
        angles[i] = m_viewAngles[i];
    return S_OK;
}

void CLineViewCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
}
