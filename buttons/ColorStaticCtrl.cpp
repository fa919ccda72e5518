#include "buttons/ColorStaticCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"

namespace {

using C = CColorStaticCtrl;

constexpr DispParam kColorParams[] = {{"color1", VT_I4}, {"color2", VT_I4}};
constexpr DispParam kBlinkParams[] = {{"bStart", VT_BOOL}, {"nElapse", VT_I2}};
constexpr DispParam kModeParams[] = {{"mode", VT_BOOL}};

const DispEntry kColorStaticRows[] = {
    DispMember<&C::m_textBlinkColor1, &C::OnChanged>("TextBlinkColor1", 1, VT_I4,
                                                     "m_crTextBlinkColor1"),
    DispMember<&C::m_textBlinkColor2, &C::OnChanged>("TextBlinkColor2", 2, VT_I4,
                                                     "m_crTextBlinkColor2"),
    // The blink brushes keep their colours until SetBlinkBkColors.
    DispMember<&C::m_bkBlinkColor1, &C::OnChanged>("BkBlinkColor1", 3, VT_I4, "m_crBkBlinkColor1"),
    DispMember<&C::m_bkBlinkColor2, &C::OnChanged>("BkBlinkColor2", 4, VT_I4, "m_crBkBlinkColor2"),
    DispMethod<&C::SetBlinkTextColors>("SetBlinkTextColors", 5, VT_EMPTY, kColorParams),
    DispMethod<&C::SetBlinkBkColors>("SetBlinkBkColors", 6, VT_EMPTY, kColorParams),
    DispMethod<&C::StartTextBlink>("StartTextBlink", 7, VT_EMPTY, kBlinkParams),
    DispMethod<&C::StartBkBlink>("StartBkBlink", 8, VT_EMPTY, kBlinkParams),
    DispMethod<&C::SetTransparentBk>("SetTransparentBk", 9, VT_EMPTY, kModeParams),
    DispMember<&C::m_flags, &C::OnChanged>("Flags", 10, VT_I2, "m_nFlags"),
    // The stock caption, which the type library calls Text.
    DispGetSet<&COleControl::GetText, &COleControl::SetText>("Caption", DISPID_CAPTION, VT_BSTR,
                                                             "Text"),
    DispStockBackColor(),
    DispStockForeColor(),
    DispStockFont(),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kColorStaticTable{kColorStaticRows};
const DispTable kColorStaticEvents{};

COleControlClass ColorStaticClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_ColorStatic, &kColorStaticTable, &kColorStaticEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

// The period as the timer takes it: a negative one wraps to the longest.
UINT PeriodOf(SHORT nElapse) {
    return static_cast<UINT>(static_cast<int>(nElapse));
}

} // namespace

const DispTable& ColorStaticDispatchTable() {
    return kColorStaticTable;
}
const DispTable& ColorStaticEventTable() {
    return kColorStaticEvents;
}

CColorStaticCtrl::CColorStaticCtrl()
    : COleControl(ColorStaticClass()), m_defaultTextColor(::GetSysColor(COLOR_BTNTEXT)),
      m_bkColor(::GetSysColor(COLOR_BTNFACE)) {
    InitializeIIDs(&kw::ids::IID_DColorStatic, &kw::ids::IID_DColorStaticEvents);
    m_textBlinkColor1 = m_textBlinkColor2 = m_defaultTextColor;
    m_bkBlinkColor1 = m_bkBlinkColor2 = m_bkColor;
    m_blinkBrushColors[0] = m_blinkBrushColors[1] = m_bkColor;
    RebuildBkBrush();
    RebuildBlinkBrushes();
}

CColorStaticCtrl::~CColorStaticCtrl() = default;

BOOL CColorStaticCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "STATIC";
    return COleControl::PreCreateWindow(cs);
}

// [SECTION] Window life

int CColorStaticCtrl::OnCreate(CREATESTRUCTA* cs) {
    if (COleControl::OnCreate(cs) == -1)
        return -1;
    // A window made again after a destroy gets its brushes back, and a
    // blink asked for before there was a window starts now.
    if (!m_bkBrush.GetSafeHandle())
        RebuildBkBrush();
    if (!m_blinkBrushes[0].GetSafeHandle() || !m_blinkBrushes[1].GetSafeHandle())
        RebuildBlinkBrushes();
    if (m_textBlink || m_bkBlink)
        RunBlinkTimer(m_timerPeriod);
    PassFont();
    return 0;
}

void CColorStaticCtrl::PassFont() {
    if (m_hWnd)
        DefWindowProc(WM_SETFONT, reinterpret_cast<WPARAM>(InternalGetFont().GetFontHandle()), 0);
}

void CColorStaticCtrl::OnFontChanged() {
    PassFont();
    COleControl::OnFontChanged();
}

void CColorStaticCtrl::OnDestroy() {
    if (m_timerId) {
        KillTimer(m_timerId);
        m_timerId = 0;
    }
    COleControl::OnDestroy();
    DeleteBrushes();
}

void CColorStaticCtrl::DeleteBrushes() {
    m_bkBrush.DeleteObject();
    m_blinkBrushes[0].DeleteObject();
    m_blinkBrushes[1].DeleteObject();
}

void CColorStaticCtrl::RebuildBkBrush() {
    m_bkBrush.DeleteObject();
    m_bkBrush.CreateSolidBrush(m_bkColor);
}

void CColorStaticCtrl::RebuildBlinkBrushes() {
    for (int i = 0; i < 2; ++i) {
        m_blinkBrushes[i].DeleteObject();
        m_blinkBrushes[i].CreateSolidBrush(m_blinkBrushColors[i]);
    }
}

// [SECTION] Painting

void CColorStaticCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    DoSuperclassPaint(dc, rcBounds);
}

LRESULT CColorStaticCtrl::OnOcmCtlColorStatic(WPARAM wParam, LPARAM) {
    const HDC hdc = reinterpret_cast<HDC>(wParam);
    OLE_COLOR text = GetForeColor();
    if (m_textBlink)
        text = m_textPhase ? m_textBlinkColor2 : m_textBlinkColor1;
    ::SetTextColor(hdc, TranslateColor(text));
    if (m_bkBlink) {
        const int phase = m_bkPhase ? 1 : 0;
        ::SetBkColor(hdc, TranslateColor(phase ? m_bkBlinkColor2 : m_bkBlinkColor1));
        if (!m_blinkBrushes[phase].GetSafeHandle())
            RebuildBlinkBrushes();
        return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_blinkBrushes[phase]));
    }
    ::SetBkColor(hdc, TranslateColor(GetBackColor()));
    if (!m_bkBrush.GetSafeHandle())
        RebuildBkBrush();
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_bkBrush));
}

// [SECTION] Blinking

void CColorStaticCtrl::RunBlinkTimer(UINT period) {
    if (!m_hWnd)
        return;
    if (m_timerId && m_timerPeriod != period) {
        KillTimer(m_timerId);
        m_timerId = 0;
    }
    if (!m_timerId) {
        m_timerId = SetTimer(kBlinkTimer, period);
        m_timerPeriod = period;
    }
}

void CColorStaticCtrl::StartTextBlink(BOOL bStart, SHORT nElapse) {
    const bool start = bStart != FALSE;
    if (m_textBlink && start)
        return;
    if (m_hWnd)
        RunBlinkTimer(PeriodOf(nElapse));
    else
        m_timerPeriod = PeriodOf(nElapse); // the window starts the timer with it
    // A label that stops in its second phase shows its still colours again.
    const bool changed = m_textBlink != start || m_textPhase;
    m_textBlink = start;
    m_textPhase = false;
    if (changed)
        InvalidateControl();
}

void CColorStaticCtrl::StartBkBlink(BOOL bStart, SHORT nElapse) {
    const bool start = bStart != FALSE;
    if (m_hWnd)
        RunBlinkTimer(PeriodOf(nElapse));
    else
        m_timerPeriod = PeriodOf(nElapse);
    const bool changed = m_bkBlink != start || m_bkPhase;
    m_bkBlink = start;
    m_bkPhase = false;
    if (changed)
        InvalidateControl();
}

void CColorStaticCtrl::OnTimer(UINT_PTR id) {
    if (id != 0 && id == m_timerId) {
        if (m_textBlink)
            m_textPhase = !m_textPhase;
        if (m_bkBlink)
            m_bkPhase = !m_bkPhase;
        // Only a label whose picture changes is repainted.
        if (m_textBlink || m_bkBlink)
            InvalidateControl();
    }
    Default();
}

// [SECTION] Colours

void CColorStaticCtrl::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CColorStaticCtrl::SetBlinkTextColors(LONG color1, LONG color2) {
    m_textBlinkColor1 = OLE_COLOR(color1);
    m_textBlinkColor2 = OLE_COLOR(color2);
    InvalidateControl();
}

void CColorStaticCtrl::SetBlinkBkColors(LONG color1, LONG color2) {
    m_bkBlinkColor1 = OLE_COLOR(color1);
    m_bkBlinkColor2 = OLE_COLOR(color2);
    // System colours are translated here as everywhere else, so that the
    // filled area matches the text background of the same phase.
    m_blinkBrushColors[0] = TranslateColor(m_bkBlinkColor1);
    m_blinkBrushColors[1] = TranslateColor(m_bkBlinkColor2);
    RebuildBlinkBrushes();
    m_transparentBk = false;
    InvalidateControl();
}

void CColorStaticCtrl::SetTransparentBk(BOOL mode) {
    const bool transparent = mode != FALSE;
    if (transparent == m_transparentBk)
        return;
    m_transparentBk = transparent;
    m_bkColor = ::GetSysColor(COLOR_BTNFACE);
    SetBackColor(m_bkColor); // comes back through OnBackColorChanged
    RebuildBkBrush();
    InvalidateControl();
}

void CColorStaticCtrl::UpdateBackground() {
    if (m_transparentBk) {
        m_bkColor = ::GetSysColor(COLOR_BTNFACE);
        // Setting it calls this handler once more, which then finds it set.
        if (GetBackColor() != m_bkColor)
            SetBackColor(m_bkColor);
    } else {
        m_bkColor = TranslateColor(GetBackColor());
    }
    RebuildBkBrush();
}

void CColorStaticCtrl::OnBackColorChanged() {
    UpdateBackground();
    InvalidateControl();
}

// [SECTION] Persistence

void CColorStaticCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, kVersion);
    COleControl::DoPropExchange(pPX);
    PX_Color(pPX, "TextBlinkColor1", m_textBlinkColor1, m_defaultTextColor);
    PX_Color(pPX, "TextBlinkColor2", m_textBlinkColor2, m_defaultTextColor);
    PX_Color(pPX, "BkBlinkColor1", m_bkBlinkColor1, m_bkColor);
    PX_Color(pPX, "BkBlinkColor2", m_bkBlinkColor2, m_bkColor);
    if (!pPX->IsLoading()) {
        PX_Short(pPX, "Flags", m_flags, 1);
        return;
    }
    // Stores older than 1.3 have no flags: they load as transparent labels.
    m_flags = 1;
    if (GetVersion() >= kVersion)
        PX_Short(pPX, "Flags", m_flags, 1);
    m_transparentBk = (m_flags & 1) != 0;
    // The background colour and its brush follow what was loaded: the
    // system face in the transparent mode, else the loaded BackColor.
    UpdateBackground();
    InvalidateControl();
}
