// COleControl: life, the control's window, size and drawing.
#include "platform/afx/OleControl.h"

#include "platform/afx/ControlPointer.h"
#include "platform/user/ParentBackground.h"

namespace {

const DispTable kNoRows{};

FONTDESC DefaultStockFont() {
    FONTDESC desc{};
    desc.lpstrName = "MS Sans Serif";
    desc.cySize = FONTSIZE(8);
    return desc;
}

// Sits between a subclassed system window and its container, so that the
// notifications the system window sends its parent come back to the
// control as OCM_ messages. It draws nothing: the control covers it. A
// container gives the focus to the window it knows, this one; the keys
// belong to the control inside.
class CReflectorWnd final : public CWnd {
protected:
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    // The reflector is invisible: a control that asks for its parent's
    // background gets the container's.
    LRESULT OnPrintClient(WPARAM wParam, LPARAM) override {
        (void)DrawThemeParentBackground(m_hWnd, reinterpret_cast<HDC>(wParam), nullptr);
        return 0;
    }
    void OnSetFocus(CWnd*) override {
        if (const HWND control = ::GetWindow(m_hWnd, GW_CHILD))
            ::SetFocus(control);
    }
};

} // namespace

// [SECTION] Life

COleControl::COleControl(const COleControlClass& cls)
    : CDispatchObject(DispatchObjectInfo{cls.factories ? &cls.factories->State() : nullptr,
                                         cls.dispatch ? cls.dispatch : &kNoRows, cls.dispatchIid,
                                         cls.eventsIid, cls.typeLib},
                      static_cast<void*>(this)),
      m_class(cls), m_font([this] { OnFontChanged(); }) {
    const FONTDESC font = DefaultStockFont();
    m_font.InitializeFont(&font);
}

COleControl::~COleControl() {
    m_destroying = true;
    AfxReleaseControlPointer(this);
    // The derived parts are gone: the window's last messages must not reach
    // this object.
    const HWND hwnd = m_hWnd;
    Detach();
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    if (m_reflector) {
        m_reflector->DestroyWindow();
        m_reflector.reset();
    }
    if (IUnknown* site = std::exchange(m_site, nullptr))
        site->Release();
}

void COleControl::InitializeIIDs(const IID* dispatchIid, const IID* eventsIid) {
    m_class.dispatchIid = dispatchIid ? *dispatchIid : GUID_NULL;
    m_class.eventsIid = eventsIid ? *eventsIid : GUID_NULL;
    SetInterfaceIds(m_class.dispatchIid, m_class.eventsIid);
}

// [SECTION] Size

void COleControl::SetInitialSize(int cx, int cy) {
    m_initialSize = SIZE{cx, cy};
    m_extent = m_initialSize;
}

BOOL COleControl::GetControlSize(int* cx, int* cy) const {
    if (!cx || !cy)
        return FALSE;
    *cx = m_extent.cx;
    *cy = m_extent.cy;
    return TRUE;
}

BOOL COleControl::SetControlSize(int cx, int cy) {
    if (cx < 0 || cy < 0)
        return FALSE;
    m_extent = SIZE{cx, cy};
    if (m_reflector && m_reflector->m_hWnd)
        ::SetWindowPos(m_reflector->m_hWnd, nullptr, 0, 0, cx, cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

// [SECTION] Window

BOOL COleControl::PreCreateWindow(CREATESTRUCTA& cs) {
    return CWnd::PreCreateWindow(cs);
}

BOOL COleControl::IsSubclassedControl() const {
    return m_pfnSuper != nullptr;
}

HWND COleControl::OuterWindow() const {
    if (m_reflector && m_reflector->m_hWnd)
        return m_reflector->m_hWnd;
    return m_hWnd;
}

BOOL COleControl::CreateControlWindow(HWND parent, const CRect& pos) {
    if (m_hWnd)
        return SetObjectRects(&pos, &pos) == S_OK;
    if (!::IsWindow(parent))
        return FALSE;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (m_borderStyle == 1)
        style |= WS_BORDER;
    if (!m_enabled)
        style |= WS_DISABLED;

    // Whether the class is a system one decides on the reflector.
    CREATESTRUCTA probe{};
    probe.style = LONG(style);
    probe.hwndParent = parent;
    PreCreateWindow(probe);
    const bool system =
        probe.lpszClass && CString(probe.lpszClass).CompareNoCase(kAfxWndClass) != 0;

    HWND host = parent;
    CRect rect = pos;
    if (system) {
        m_reflector = std::make_unique<CReflectorWnd>();
        if (!m_reflector->CreateEx(0, kAfxWndClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                   pos, parent, 0)) {
            m_reflector.reset();
            return FALSE;
        }
        host = m_reflector->m_hWnd;
        rect = CRect(0, 0, pos.Width(), pos.Height());
    }
    m_extent = SIZE{pos.Width(), pos.Height()};
    if (!CreateEx(0, nullptr, m_text, style, rect, host, 0)) {
        if (m_reflector) {
            m_reflector->DestroyWindow();
            m_reflector.reset();
        }
        return FALSE;
    }
    return TRUE;
}

void COleControl::DestroyControlWindow() {
    if (m_hWnd)
        DestroyWindow();
    if (m_reflector) {
        m_reflector->DestroyWindow();
        m_reflector.reset();
    }
}

LRESULT COleControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_destroying)
        return DefWindowProc(msg, wParam, lParam);
    // Released (and so destroyed) only after the message is handled.
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    return CWnd::WindowProc(msg, wParam, lParam);
}

BOOL COleControl::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        const LRESULT answer = ::SendMessageA(m_hWnd, OCM__BASE + msg, wParam, lParam);
        if (result)
            *result = answer;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void COleControl::OnDestroy() {
    m_buttonsDown = 0;
    CWnd::OnDestroy();
}

void COleControl::OnSize(UINT type, int cx, int cy) {
    m_extent = SIZE{cx, cy};
    // A border lies outside the client area but inside the extent.
    RECT window{};
    if (::GetWindowRect(m_hWnd, &window))
        m_extent = SIZE{window.right - window.left, window.bottom - window.top};
    CWnd::OnSize(type, cx, cy);
}

// [SECTION] Drawing

void COleControl::OnDraw(CDC*, const CRect&, const CRect&) {}

void COleControl::DrawInto(CDC* dc, const CRect& bounds, const CRect& invalid) {
    m_rcBoundsLast = bounds;
    OnDraw(dc, bounds, invalid);
}

void COleControl::OnPaint() {
    const HWND hwnd = m_hWnd;
    PAINTSTRUCT ps{};
    const HDC hdc = ::BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    {
        CDC dc;
        dc.Attach(hdc);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        DrawInto(&dc, CRect(client), CRect(ps.rcPaint));
        dc.Detach();
    }
    ::EndPaint(hwnd, &ps);
}

LRESULT COleControl::OnPrintClient(WPARAM wParam, LPARAM) {
    CDC dc;
    if (!dc.Attach(reinterpret_cast<HDC>(wParam)))
        return 0;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    DrawInto(&dc, CRect(client), CRect(client));
    dc.Detach();
    return 0;
}

BOOL COleControl::OnEraseBkgnd(CDC* dc) {
    // A system window erases as its class does; the framework's own fills
    // with the background colour.
    if (IsSubclassedControl())
        return CWnd::OnEraseBkgnd(dc);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (dc)
        dc->FillSolidRect(&client, TranslateColor(m_backColor));
    return TRUE;
}

void COleControl::InvalidateControl(const RECT* rc, BOOL erase) {
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, rc, erase);
}

void COleControl::Refresh() {
    if (!m_hWnd)
        return;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void COleControl::DoSuperclassPaint(CDC* dc, const CRect& bounds) {
    if (!dc || !m_hWnd || !m_pfnSuper)
        return;
    // The system window paints into the DC of WM_PAINT's wParam, at its
    // client origin: move that origin to the bounds.
    const int saved = dc->SaveDC();
    dc->OffsetViewportOrg(bounds.left, bounds.top);
    ::CallWindowProcA(m_pfnSuper, m_hWnd, WM_PAINT, reinterpret_cast<WPARAM>(dc->m_hDC), 0);
    dc->RestoreDC(saved);
}

void COleControl::GetClientRect(RECT* rc) const {
    if (!rc)
        return;
    if (m_hWnd)
        CWnd::GetClientRect(rc);
    else
        *rc = m_rcBoundsLast;
}

COLORREF COleControl::TranslateColor(OLE_COLOR color) {
    switch (color >> 24) {
    case 0x80:
        return GetSysColor(int(color & 0xFFFF));
    default:
        // RGB values, palette-relative values and palette indexes (there is
        // no palette) give their low 24 bits.
        return color & 0x00FFFFFF;
    }
}

CFont* COleControl::SelectStockFont(CDC* dc) {
    return SelectFontObject(dc, m_font);
}

CFont* COleControl::SelectFontObject(CDC* dc, CFontHolder& font) {
    if (!dc)
        return nullptr;
    CFont* object = font.GetFont();
    return object ? dc->SelectObject(object) : nullptr;
}

// [SECTION] Stock click

void COleControl::ButtonDown(USHORT button) {
    m_buttonsDown |= button;
    if (::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
}

void COleControl::ButtonUp(USHORT button, CPoint point) {
    const HWND hwnd = m_hWnd;
    if (!::IsWindow(hwnd))
        return;
    const bool wasDown = (m_buttonsDown & button) != 0;
    m_buttonsDown &= USHORT(~button);
    // The capture goes with the last button up. A left release frees it
    // even without its press: the system window may have taken it.
    if (m_buttonsDown == 0 && (wasDown || button == LEFT_BUTTON) && ::GetCapture() == hwnd)
        ::ReleaseCapture();
    RECT client{};
    ::GetClientRect(hwnd, &client);
    if (wasDown && ::PtInRect(&client, point))
        OnClick(button);
}

void COleControl::OnLButtonDown(UINT flags, CPoint point) {
    ButtonDown(LEFT_BUTTON);
    CWnd::OnLButtonDown(flags, point);
}

void COleControl::OnLButtonUp(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    CWnd::OnLButtonUp(flags, point);
    // The system window's own handling may have destroyed the control.
    if (::IsWindow(hwnd) && m_hWnd == hwnd)
        ButtonUp(LEFT_BUTTON, point);
}

void COleControl::OnRButtonDown(UINT flags, CPoint point) {
    ButtonDown(RIGHT_BUTTON);
    CWnd::OnRButtonDown(flags, point);
}

void COleControl::OnRButtonUp(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    CWnd::OnRButtonUp(flags, point);
    if (::IsWindow(hwnd) && m_hWnd == hwnd)
        ButtonUp(RIGHT_BUTTON, point);
}

void COleControl::OnMButtonDown(UINT flags, CPoint point) {
    ButtonDown(MIDDLE_BUTTON);
    CWnd::OnMButtonDown(flags, point);
}

void COleControl::OnMButtonUp(UINT flags, CPoint point) {
    const HWND hwnd = m_hWnd;
    CWnd::OnMButtonUp(flags, point);
    if (::IsWindow(hwnd) && m_hWnd == hwnd)
        ButtonUp(MIDDLE_BUTTON, point);
}

void COleControl::OnCancelMode() {
    m_buttonsDown = 0;
    CWnd::OnCancelMode();
}

void COleControl::OnClick(USHORT button) {
    if (button == LEFT_BUTTON)
        FireClick();
}
