#include "buttons/LedCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"
#include "platform/user/ParentBackground.h"

namespace {

constexpr DispParam kSelParam[] = {{"sel", VT_I2}};

const DispEntry kLedRows[] = {
    DispMember<&CLedCtrl::m_color, &CLedCtrl::OnLedChanged>("Color", 1, VT_I2, "m_nLedColor"),
    DispMember<&CLedCtrl::m_shape, &CLedCtrl::OnLedChanged>("Shape", 2, VT_I2, "m_nLedShape"),
    DispMember<&CLedCtrl::m_mode, &CLedCtrl::OnLedChanged>("Mode", 3, VT_I2, "m_nLedMode"),
    DispMethod<&CLedCtrl::SetColor>("SetColor", 4, VT_EMPTY, kSelParam),
    DispMethod<&CLedCtrl::SetShape>("SetShape", 5, VT_EMPTY, kSelParam),
    DispMethod<&CLedCtrl::SetMode>("SetMode", 6, VT_EMPTY, kSelParam),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kLedTable{kLedRows};
const DispTable kLedEvents{};

COleControlClass LedClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Led, &kLedTable, &kLedEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

} // namespace

const DispTable& LedDispatchTable() {
    return kLedTable;
}
const DispTable& LedEventTable() {
    return kLedEvents;
}

CLedCtrl::CLedCtrl() : COleControl(LedClass()) {
    InitializeIIDs(&kw::ids::IID_DLed, &kw::ids::IID_DLedEvents);
    SetInitialSize(12, 12);
    m_images.Create(kBitmapId, kCell, 0, RGB(255, 0, 255));
}

CLedCtrl::~CLedCtrl() = default;

BOOL CLedCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "STATIC";
    return COleControl::PreCreateWindow(cs);
}

int CLedCtrl::CellIndex() const {
    // The strip holds three states of four colours of two shapes; anything
    // outside those ranges would pick a wrong picture or none, so such a
    // lamp shows nothing.
    if (m_color < 0 || m_color > 3 || m_shape < 0 || m_shape > 1)
        return -1;
    int column;
    if (m_hWnd && !::IsWindowEnabled(m_hWnd))
        column = 2;
    else if (m_mode == 3)
        column = m_blinkPhase ? 1 : 0;
    else if (m_mode >= 0 && m_mode <= 2)
        column = m_mode;
    else
        return -1;
    return column + 3 * (m_color + 4 * m_shape);
}

void CLedCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    m_rcBoundsLast = rcBounds;
    CRect clip;
    if (dc->GetClipBox(&clip) == ERROR)
        return;
    CRect client;
    GetClientRect(&client);
    bool enabled = !m_hWnd || ::IsWindowEnabled(m_hWnd);
    if (enabled && m_mode == 3 && m_blinkTimer == 0 && m_hWnd)
        m_blinkTimer = SetTimer(kBlinkTimer, kBlinkPeriod);
    // The picture is transparent around and inside the lamp: on its own
    // window the container's background goes under it, so no earlier picture
    // shows through. Drawn elsewhere, the caller owns the background.
    if (m_drawingOnWindow)
        (void)DrawThemeParentBackground(m_hWnd, dc->GetSafeHdc(), &client);
    int cell = CellIndex();
    if (cell < 0)
        return;
    m_images.Draw(
        dc, cell,
        CPoint((client.left + client.right) / 2 - 6, (client.top + client.bottom) / 2 - 6),
        ILD_TRANSPARENT);
}

void CLedCtrl::OnLedChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CLedCtrl::SetColor(SHORT sel) {
    if (sel == m_color)
        return;
    m_color = sel;
    InvalidateControl();
}

void CLedCtrl::SetShape(SHORT sel) {
    if (sel == m_shape)
        return;
    m_shape = sel;
    InvalidateControl();
}

void CLedCtrl::SetMode(SHORT sel) {
    if (sel == m_mode)
        return;
    m_mode = sel;
    if (sel == 4) {
        if (m_pulseActive)
            KillTimer(kFlashTimer);
        m_pulseActive = TRUE;
        m_mode = 1;
        // Without a window the flash starts with the window (OnCreate).
        SetTimer(kFlashTimer, kPulseDuration);
    }
    InvalidateControl();
}

int CLedCtrl::OnCreate(CREATESTRUCTA* cs) {
    const int result = COleControl::OnCreate(cs);
    if (result == 0 && m_pulseActive)
        SetTimer(kFlashTimer, kPulseDuration);
    return result;
}

void CLedCtrl::OnPaint() {
    m_drawingOnWindow = true;
    COleControl::OnPaint();
    m_drawingOnWindow = false;
}

void CLedCtrl::DrawNow() {
    if (!m_hWnd)
        return;
    CDC* dc = GetDC();
    if (!dc)
        return;
    CRect client;
    GetClientRect(&client);
    m_drawingOnWindow = true;
    OnDraw(dc, client, client);
    m_drawingOnWindow = false;
    ReleaseDC(dc);
}

void CLedCtrl::OnTimer(UINT_PTR id) {
    if (id == kFlashTimer) {
        KillTimer(kFlashTimer);
        m_mode = 0;
        DrawNow();
        m_pulseActive = FALSE;
    } else if (id == kBlinkTimer) {
        m_blinkPhase = !m_blinkPhase;
        DrawNow();
    }
    Default();
}

BOOL CLedCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CLedCtrl::OnEnable(BOOL) {
    InvalidateControl();
}

void CLedCtrl::OnSettingChange(UINT, LPCSTR) {
    InvalidateControl();
}

void CLedCtrl::OnDestroy() {
    if (m_blinkTimer) {
        KillTimer(m_blinkTimer);
        m_blinkTimer = 0;
    }
    COleControl::OnDestroy();
}

void CLedCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_Short(pPX, "Color", m_color, 0);
    PX_Short(pPX, "Shape", m_shape, 0);
    PX_Short(pPX, "Mode", m_mode, 0);
    OnLedChanged();
}
