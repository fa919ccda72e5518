// CViewmanagerCtrl: interfaces, construction, input and drawing.
#include "views3d/ViewmanagerCtrl.h"
#include "views3d/HoverCapture.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"
#include "platform/gdi/SysColors.h"

namespace {

using C = CViewmanagerCtrl;
using kw::views3d::Hotspot;

const DispEntry kViewmanagerRows[] = {
    DispMember<&C::m_viewIndex, &C::OnViewIndexChanged>("ViewIndex", 1, VT_I2),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kViewmanagerTable{kViewmanagerRows};
// The type library shows only the last row, AboutBox.
const DispTable kViewmanagerTypeLib{std::span(kViewmanagerRows).last(1)};

constexpr DispParam kSelChangedParams[] = {{"textId", VT_I2}, {"text", VT_BYREF | VT_BSTR}};
const DispEntry kViewmanagerEventRows[] = {
    DispEvent("SelChanged", C::kSelChanged, kSelChangedParams),
    DispStockClickEvent(),
};
const DispTable kViewmanagerEvents{kViewmanagerEventRows};

COleControlClass ViewmanagerClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Viewmanager, &kViewmanagerTable, &kViewmanagerEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21191; // acts like a button
    return cls;
}

constexpr COLORREF kMagenta = RGB(0xFF, 0, 0xFF);

} // namespace

const DispTable& ViewmanagerDispatchTable() {
    return kViewmanagerTable;
}
const DispTable& ViewmanagerTypeLibTable() {
    return kViewmanagerTypeLib;
}
const DispTable& ViewmanagerEventTable() {
    return kViewmanagerEvents;
}

// [SECTION] Life and persistence

CViewmanagerCtrl::CViewmanagerCtrl() : COleControl(ViewmanagerClass()) {
    InitializeIIDs(&kw::ids::IID_DViewmanager, &kw::ids::IID_DViewmanagerEvents);
    SetInitialSize(80, 80);
    SetCentre(m_size.cx, m_size.cy);
    m_isometricStrip.Create(kIsometricStrip, kPicture, 0, kMagenta);
    m_faceStrip.Create(kFaceStrip, kPicture, 0, kMagenta);
}

CViewmanagerCtrl::~CViewmanagerCtrl() = default;

BOOL CViewmanagerCtrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= BS_OWNERDRAW;
    return COleControl::PreCreateWindow(cs);
}

void CViewmanagerCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
}

void CViewmanagerCtrl::OnViewIndexChanged() {
    InvalidateControl(nullptr, TRUE);
    SetModifiedFlag(TRUE);
}

// [SECTION] Hotspots

std::span<const Hotspot> CViewmanagerCtrl::Hotspots() const {
    return m_isometric ? kw::views3d::IsometricHotspots() : kw::views3d::FaceHotspots();
}

int CViewmanagerCtrl::PictureIndex() const {
    // A hover index left over from the other level may lie beyond this
    // level's table: it counts as none.
    const auto table = Hotspots();
    if (m_hover < 0 || m_hover >= int(table.size()))
        return 0;
    return table[std::size_t(m_hover)].picture;
}

void CViewmanagerCtrl::SetCentre(int cx, int cy) {
    const int m = std::min(cx, cy);
    m_centre = CRect(m / 2, m / 2, m / 2, m / 2);
    m_centre.InflateRect(20, 20);
}

// [SECTION] Window messages

void CViewmanagerCtrl::OnSize(UINT type, int cx, int cy) {
    m_size = CSize(cx, cy);
    SetCentre(cx, cy);
    COleControl::OnSize(type, cx, cy);
    m_cache.DeleteObject();
}

void CViewmanagerCtrl::OnLButtonDown(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    COleControl::OnLButtonDown(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    const int before = m_pressed;
    const BOOL levelBefore = m_isometric;
    m_pressed = kw::views3d::HotspotHitTest(Hotspots(), m_centre.CenterPoint(), point);
    if (m_pressed >= 0) {
        const Hotspot& hit = Hotspots()[std::size_t(m_pressed)];
        if (m_isometric) {
            m_viewIndex = SHORT(m_pressed);
            if (hit.textId == kw::views3d::kTextFace)
                m_isometric = FALSE;
        } else {
            m_viewIndex = SHORT(m_pressed + kFaceViewBase);
            if (hit.textId == kw::views3d::kTextIsometric)
                m_isometric = TRUE;
        }
    }
    // A level switch changes the picture even where the pressed index
    // stays the same.
    if (m_pressed != before || m_isometric != levelBefore)
        InvalidateControl(nullptr, TRUE);
}

void CViewmanagerCtrl::OnClick(USHORT button) {
    if (m_pressed >= 0)
        COleControl::OnClick(button);
}

void CViewmanagerCtrl::OnLButtonUp(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    COleControl::OnLButtonUp(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    if (m_hovering)
        kw::views3d::RecaptureWhileOver(hwnd, point);
}

void CViewmanagerCtrl::OnMouseMove(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    CWnd::OnMouseMove(flags, point);
    if (!::IsWindow(hwnd) || m_hWnd != hwnd)
        return;
    const bool leftDown = (flags & MK_LBUTTON) != 0;
    if (leftDown && !m_hovering)
        return;
    const int before = m_hover;
    m_hover = kw::views3d::HotspotHitTest(Hotspots(), m_centre.CenterPoint(), point);
    if (::GetCapture() != hwnd && ::GetParent(hwnd)) {
        m_hovering = TRUE;
        ::SetCapture(hwnd);
        InvalidateControl(nullptr, TRUE);
    } else {
        POINT screen = point;
        ::ClientToScreen(hwnd, &screen);
        if (::WindowFromPoint(screen) != hwnd) {
            // A hotspot's square may reach past the window's edge: over
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
    if (m_hover != before) {
        const auto table = Hotspots();
        FireSelChanged(m_hover >= 0 ? table[std::size_t(m_hover)].textId : 0);
    }
}

void CViewmanagerCtrl::FireSelChanged(int textId) {
    CString text;
    if (textId != 0) {
        if (const HMODULEINSTANCE resources = GetControlClass().resources)
            if (auto loaded = resources->LoadString(UINT(textId)))
                text = *loaded;
    }
    // Redrawn first: the host's handler may close the control.
    InvalidateControl(nullptr, TRUE);
    FireEvent(kSelChanged, SHORT(textId), &text);
}

void CViewmanagerCtrl::OnEnable(BOOL enable) {
    CWnd::OnEnable(enable);
    InvalidateControl(nullptr, TRUE);
}

void CViewmanagerCtrl::OnDestroy() {
    COleControl::OnDestroy();
    m_cache.DeleteObject();
}

BOOL CViewmanagerCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}

LRESULT CViewmanagerCtrl::OnOcmCommand(WPARAM, LPARAM) {
    return 0;
}

// [SECTION] Drawing

void CViewmanagerCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    if (m_hWnd && IsSubclassedControl()) {
        DoSuperclassPaint(dc, rcBounds);
        return;
    }
    if (rcBounds.Width() != m_size.cx || rcBounds.Height() != m_size.cy) {
        m_size = CSize(rcBounds.Width(), rcBounds.Height());
        SetCentre(m_size.cx, m_size.cy);
    }
    DrawItem(dc, rcBounds);
}

LRESULT CViewmanagerCtrl::OnOcmDrawItem(WPARAM, LPARAM lParam) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!dis)
        return FALSE;
    CDC dc;
    if (!dc.Attach(dis->hDC))
        return FALSE;
    DrawItem(&dc, CRect(dis->rcItem));
    dc.Detach();
    return TRUE;
}

void CViewmanagerCtrl::DrawItem(CDC* dc, const CRect& rc) {
    const CSize size(rc.Width(), rc.Height());
    if (!dc || size.cx <= 0 || size.cy <= 0)
        return;
    if (!m_cache.GetSafeHandle() || !(m_cacheSize == size)) {
        m_cache.DeleteObject();
        if (!m_cache.CreateCompatibleBitmap(dc, size.cx, size.cy))
            return;
        m_cacheSize = size;
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    CBitmap* previous = memory.SelectObject(&m_cache);
    const CRect all(0, 0, size.cx, size.cy);
    memory.FillSolidRect(&all, GetSysColor(COLOR_BTNFACE));
    // The same picture whether enabled or not, and no frame.
    CImageList& strip = m_isometric ? m_isometricStrip : m_faceStrip;
    const CPoint centre = m_centre.CenterPoint();
    strip.Draw(&memory, PictureIndex(), CPoint(centre.x - kPicture / 2, centre.y - kPicture / 2),
               ILD_TRANSPARENT);
    dc->BitBlt(rc.left, rc.top, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}
