// CPosCtrl: interfaces, construction, persistence, the layout and its lamps,
// and the press with its end.
//
// [SECTION] Interfaces
// [SECTION] Life
// [SECTION] Persistence and Mode
// [SECTION] Layout and lamps
// [SECTION] Press and release
#include "machine/PosCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"

// [SECTION] Interfaces

namespace {

using C = CPosCtrl;

const DispEntry kPosRows[] = {
    DispMember<&C::m_nMode, &C::OnModeChanged>("Mode", 1, VT_I2, "m_nMode"),
    DispStockEnabled(),
    DispStockAboutBox(),
};

constexpr DispParam kValParam[] = {{"val", VT_I2}};

const DispEntry kPosEventRows[] = {
    DispEvent("StartPos", C::kEventStartPos, kValParam),
    DispEvent("StopPos", C::kEventStopPos, {}),
    DispEvent("PosRel", C::kEventPosRel, kValParam),
};

const DispTable kPosTable{kPosRows};
const DispTable kPosEvents{kPosEventRows};

COleControlClass PosClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Pos, &kPosTable, &kPosEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21191;
    return cls;
}

} // namespace

const DispTable& PosDispatchTable() {
    return kPosTable;
}
const DispTable& PosEventTable() {
    return kPosEvents;
}

// [SECTION] Life

CPosCtrl::CPosCtrl() : COleControl(PosClass()) {
    InitializeIIDs(&kw::ids::IID_DPos, &kw::ids::IID_DPosEvents);
    // The initial size is the picture's; it has to be loaded first.
    BuildLayout();
    RecolourLamps();
    const PosLayoutInfo& info = PosLayoutInfoOf(m_nLayout);
    SetInitialSize(m_pBits ? m_nWidth : info.width, m_pBits ? m_nHeight : info.height);
}

CPosCtrl::~CPosCtrl() {
    // The host let go of the pad while a jog ran (for instance from inside
    // its StartPos handler): the sinks still connected hear the stop. The
    // object is past its last reference, so the event goes straight to the
    // connection point instead of through FireEvent, which would hold one.
    if (m_bPressed) {
        m_bPressed = false;
        Events().Fire(kEventStopPos, nullptr, 0);
    }
}

BOOL CPosCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= 0x0B; // BS_OWNERDRAW
    return COleControl::PreCreateWindow(cs);
}

void CPosCtrl::OnDestroy() {
    EndPress();
    KillReleaseTimer();
    m_bCaptured = false;
    m_mouseDown = 0;
    COleControl::OnDestroy();
}

// [SECTION] Persistence and Mode

void CPosCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_Short(pPX, "Mode", m_nMode, 0);
    if (pPX->IsLoading()) {
        // The lamps keep their states across a load.
        BuildLayout();
        RecolourLamps();
        InvalidateControl();
    }
}

void CPosCtrl::OnModeChanged() {
    BuildLayout();
    m_bXY = m_bA = m_bB = true;
    RecolourLamps();
    InvalidateControl();
    SetModifiedFlag();
}

// [SECTION] Layout and lamps

void CPosCtrl::BuildLayout() {
    // A press belongs to the buttons of the old layout.
    EndPress();
    KillReleaseTimer();
    m_nPressed = -1;
    m_nHover = -1;

    m_nLayout = PosLayoutOf(m_nMode);
    const PosLayoutInfo& info = PosLayoutInfoOf(m_nLayout);
    m_nButtons = info.buttons;
    m_nRects = info.rects;
    m_rects = PosRects{};
    m_dib.DeleteObject();
    m_pBits = nullptr;
    m_nWidth = m_nHeight = 0;

    CBitmap source;
    BITMAP bm{};
    if (!source.LoadBitmap(info.bitmapId) || !source.GetBitmap(&bm) || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = bm.bmHeight; // positive: the bottom row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    const HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    const HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC from = ::CreateCompatibleDC(screen);
    const HDC to = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    bool copied = false;
    if (dib && bits && from && to) {
        const HGDIOBJ oldFrom = ::SelectObject(from, source);
        const HGDIOBJ oldTo = ::SelectObject(to, dib);
        copied =
            oldFrom && oldTo && ::BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY);
        if (oldFrom)
            ::SelectObject(from, oldFrom);
        if (oldTo)
            ::SelectObject(to, oldTo);
    }
    if (from)
        ::DeleteDC(from);
    if (to)
        ::DeleteDC(to);
    if (!copied) {
        if (dib)
            ::DeleteObject(dib);
        return;
    }
    m_dib.Attach(dib);
    m_pBits = static_cast<std::uint32_t*>(bits);
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;
    m_crKey = m_pBits[0];
    m_rects = AnalysePosLayout(Picture(), m_nButtons, m_nRects).rects;
    // A new picture on a disabled pad shows it disabled.
    if (!IsEnabledNow())
        RecolourPos(Picture(), kPosBlack, kPosGrey);
}

bool CPosCtrl::IsEnabledNow() {
    return m_hWnd ? ::IsWindowEnabled(m_hWnd) != FALSE : GetEnabled() != FALSE;
}

std::uint32_t CPosCtrl::PixelAt(int x, int y) const {
    if (!m_pBits || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0xFFFFFFFF;
    return Picture().At(x, y) & 0x00FFFFFF;
}

void CPosCtrl::PaintRect(int index, std::uint32_t colour) {
    if (index < 0 || index >= kPosMaxRects)
        return;
    PaintPosRect(Picture(), m_rects[std::size_t(index)], m_crKey, colour);
    InvalidateControl();
}

void CPosCtrl::RecolourLamps() {
    switch (m_nLayout) {
    case 0:
    case 3: // its rectangles 10 to 12 are empty
        PaintRect(10, m_bXY ? kPosYellow : kPosGrey);
        PaintRect(11, m_bXY ? kPosYellow : kPosGrey);
        PaintRect(12, m_bXY ? kPosGrey : kPosYellow);
        break;
    case 2:
    case 4: // its rectangles 8 and 9 are empty
        PaintRect(8, m_bA ? kPosYellow : kPosGrey);
        PaintRect(9, m_bB ? kPosYellow : kPosGrey);
        break;
    default:
        break;
    }
}

// [SECTION] Press and release

HCURSOR CPosCtrl::MovingCursor() {
    return ::LoadCursorA(nullptr, IDC_SIZEALL);
}

void CPosCtrl::ShowMovingCursor() {
    ::SetCursor(MovingCursor());
}

void CPosCtrl::KillReleaseTimer() {
    if (m_nTimer && m_hWnd)
        KillTimer(m_nTimer);
    m_nTimer = 0;
}

void CPosCtrl::Press(int index, int kind, PressSource source) {
    if (m_nPressed >= 0 && m_nPressed != index && IsButton(m_nPressed))
        PaintRect(m_nPressed, kPosBlack);
    m_nPressed = index;
    if (IsButton(index)) {
        const int code = PosButtonCode(m_nLayout, index, m_bA, m_bB);
        const bool xy = (code & kPosAxisZ) == 0;
        if (xy != m_bXY) {
            m_bXY = xy;
            RecolourLamps();
        }
        // A keyed button waiting for its release timer is superseded.
        KillReleaseTimer();
        // The press counts as running before the host hears of it: a handler
        // that disables, hides or destroys the pad ends it with a StopPos.
        m_bPressed = true;
        m_pressSource = source;
        const unsigned serial = ++m_pressSerial;
        m_stopSent = false;
        const HWND hwnd = m_hWnd;
        FireEvent(kEventStartPos, SHORT(code + (kind == 2 ? kPosRightJog : kPosLeftJog)));
        if (!m_bPressed || serial != m_pressSerial || m_hWnd != hwnd)
            return; // ended or replaced meanwhile
        PaintRect(index, kind == 2 ? kPosRed : kPosGreen);
        if (m_hWnd)
            ShowMovingCursor();
        return;
    }
    if (index < m_nButtons || index >= m_nRects)
        return;
    // A lamp.
    switch (m_nLayout) {
    case 0:
        m_bXY = index == 10 || index == 11;
        RecolourLamps();
        break;
    case 2:
    case 4:
        if (index == 8) {
            m_bA = !m_bA;
            if (!m_bA && !m_bB)
                m_bB = true;
        } else if (index == 9) {
            m_bB = !m_bB;
            if (!m_bA && !m_bB)
                m_bA = true;
        }
        RecolourLamps();
        break;
    default:
        // The XY pad has no Z buttons: its lamps only show that X and Y are
        // on, and clicking them must not turn the arrow keys to Z.
        break;
    }
}

void CPosCtrl::ReleasePress() {
    if (IsButton(m_nPressed))
        PaintRect(m_nPressed, kPosBlack);
    if (m_hWnd)
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    m_nPressed = -1;
    m_bPressed = false;
    m_pressSource = PressSource::None;
    ++m_pressSerial;
    InvalidateControl();
    FireEvent(kEventStopPos);
}

void CPosCtrl::EndPress() {
    if (!m_bPressed)
        return;
    // The mouse button that started it may still come up on the pad: its
    // StopPos is sent now.
    if (m_mouseDown)
        m_stopSent = true;
    m_bCtrlJog = false;
    m_bShiftJog = false;
    ReleasePress();
}
