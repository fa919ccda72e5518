// CWnd: binding objects to windows, creation through the framework's
// procedure, the one message dispatch, and reflection of child notifications.
//
// [SECTION] Objects of windows
// [SECTION] Classes
// [SECTION] Creation and subclassing
// [SECTION] The dispatch
// [SECTION] Default handlers
// [SECTION] Helpers
#include "platform/afx/Wnd.h"

#include <cctype>
#include <string>
#include <unordered_map>

namespace {

// Everything here belongs to the thread's window manager, as windows do.
struct WndState {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
    // Superclass name (upper case) to the procedure of the class it copies.
    std::unordered_map<std::string, WNDPROC> superProcs;
    CWnd* creating{nullptr};
};

WndState& State() {
    thread_local WndState state;
    return state;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string ClassNameOf(HWND hwnd) {
    char buffer[128]{};
    const int n = ::GetClassNameA(hwnd, buffer, int(sizeof buffer));
    return n > 0 ? Upper(std::string_view(buffer, std::size_t(n))) : std::string();
}

// The procedure a window of a superclass falls back to without its object.
LRESULT FallbackProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto& procs = State().superProcs;
    const auto it = procs.find(ClassNameOf(hwnd));
    if (it != procs.end() && it->second)
        return ::CallWindowProcA(it->second, hwnd, msg, wParam, lParam);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

// [SECTION] Objects of windows

CWnd::CWnd() = default;

CWnd::~CWnd() {
    *m_alive = false;
    if (!m_hWnd)
        return;
    const HWND hwnd = m_hWnd;
    const bool created = m_created;
    if (created) {
        // The window goes with the object; its last messages find no object
        // and go to the class's own procedure.
        Unbind();
        ::DestroyWindow(hwnd);
    } else {
        UnsubclassWindow();
        Unbind();
    }
}

void CWnd::Bind(HWND hwnd) {
    m_hWnd = hwnd;
    State().permanent[hwnd] = this;
    State().temporary.erase(hwnd);
}

void CWnd::Unbind() {
    if (m_hWnd) {
        auto& map = State().permanent;
        const auto it = map.find(m_hWnd);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hWnd = nullptr;
}

BOOL CWnd::Attach(HWND hwnd) {
    if (m_hWnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd))
        return FALSE;
    Bind(hwnd);
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND hwnd = m_hWnd;
    Unbind();
    m_pfnSuper = nullptr;
    m_created = false;
    return hwnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    const auto& map = State().permanent;
    const auto it = map.find(hwnd);
    return it != map.end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (CWnd* wnd = FromHandlePermanent(hwnd))
        return wnd;
    if (!::IsWindow(hwnd))
        return nullptr;
    auto& temporary = State().temporary;
    if (const auto it = temporary.find(hwnd); it != temporary.end())
        return it->second.get();
    // Wrappers of dead windows go when new ones come (handles never repeat).
    std::erase_if(temporary, [](const auto& entry) { return !::IsWindow(entry.first); });
    auto wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = hwnd; // owns nothing, takes no messages
    CWnd* result = wrapper.get();
    temporary.emplace(hwnd, std::move(wrapper));
    return result;
}

// [SECTION] Classes

namespace {

// The class to create: the framework's own, or a superclass of a system
// class whose procedure is AfxWndProc. Returns the name to create with and
// the procedure the window had without the framework.
bool PrepareClass(LPCSTR requested, std::string* actual, WNDPROC* super) {
    WNDCLASSA wc{};
    if (!requested || !*requested || Upper(requested) == Upper(kAfxWndClass)) {
        *actual = kAfxWndClass;
        *super = nullptr;
        if (!::GetClassInfoA(nullptr, kAfxWndClass, &wc)) {
            WNDCLASSA own{};
            own.style = CS_DBLCLKS;
            own.lpfnWndProc = AfxWndProc;
            own.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
            own.lpszClassName = kAfxWndClass;
            if (!::RegisterClassA(&own))
                return false;
        }
        return true;
    }
    if (!::GetClassInfoA(nullptr, requested, &wc))
        return false;
    if (wc.lpfnWndProc == AfxWndProc) { // already one of ours
        *actual = requested;
        *super = nullptr;
        return true;
    }
    *actual = "Afx:" + Upper(requested);
    *super = wc.lpfnWndProc;
    State().superProcs[Upper(*actual)] = wc.lpfnWndProc;
    WNDCLASSA existing{};
    if (::GetClassInfoA(nullptr, actual->c_str(), &existing))
        return true;
    WNDCLASSA copy = wc;
    copy.lpfnWndProc = AfxWndProc;
    copy.lpszClassName = actual->c_str();
    return ::RegisterClassA(&copy) != 0;
}

} // namespace

// [SECTION] Creation and subclassing

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = kAfxWndClass;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param) {
    return CreateEx(exStyle, className, windowName, style, rect, parent ? parent->m_hWnd : nullptr,
                    id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT id, void* param) {
    if (m_hWnd)
        return FALSE; // one window per object
    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id));
    cs.hwndParent = parent;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!PreCreateWindow(cs))
        return FALSE;
    std::string actual;
    WNDPROC super = nullptr;
    if (!PrepareClass(cs.lpszClass, &actual, &super))
        return FALSE;
    m_pfnSuper = super;
    m_created = true;
    ::kw::user::SetPreTranslateMessageHook(AfxPreTranslateMessage);

    auto alive = m_alive;
    WndState& state = State();
    CWnd* const outer = state.creating;
    state.creating = this;
    const HWND hwnd =
        ::CreateWindowExA(cs.dwExStyle, actual.c_str(), cs.lpszName, DWORD(cs.style), cs.x, cs.y,
                          cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    state.creating = outer;
    if (!*alive)
        return FALSE;
    if (!hwnd) {
        // Creation failed (or a handler destroyed the window meanwhile).
        if (m_hWnd && !::IsWindow(m_hWnd))
            Unbind();
        m_created = false;
        m_pfnSuper = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd))
        return FALSE;
    const auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    // A window that was already ours keeps its class's procedure.
    if (old != AfxWndProc)
        m_pfnSuper = old;
    ::kw::user::SetPreTranslateMessageHook(AfxPreTranslateMessage);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent)
        return FALSE;
    const HWND item = ::GetDlgItem(parent->m_hWnd, int(id));
    return item && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    return Detach();
}

// [SECTION] The dispatch

LRESULT AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WndState& state = State();
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd && state.creating && !state.creating->m_hWnd) {
        // The first message of a window being created binds its object.
        wnd = state.creating;
        state.creating = nullptr;
        wnd->Bind(hwnd);
    }
    if (!wnd)
        return FallbackProc(hwnd, msg, wParam, lParam);
    return wnd->Dispatch(msg, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto alive = m_alive;
    const CurrentMessage outer = m_current;
    m_current = CurrentMessage{msg, wParam, lParam};
    const LRESULT result = WindowProc(msg, wParam, lParam);
    if (*alive)
        m_current = outer;
    return result;
}

namespace {

template <class F> LRESULT WithDc(WPARAM wParam, F&& f) {
    CDC dc;
    dc.Attach(reinterpret_cast<HDC>(wParam));
    const LRESULT result = f(&dc);
    dc.Detach();
    return result;
}

CPoint PointOf(LPARAM lParam) {
    return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

UINT CtlColorType(UINT msg) {
    return msg - WM_CTLCOLORMSGBOX; // CTLCOLOR_MSGBOX = 0 ... CTLCOLOR_STATIC = 6
}

} // namespace

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto alive = m_alive;
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        OnNcDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return WithDc(wParam, [&](CDC* dc) { return LRESULT(OnEraseBkgnd(dc)); });
    case WM_PRINTCLIENT:
        return OnPrintClient(wParam, lParam);
    case WM_SIZE:
        OnSize(UINT(wParam), LOWORD(ULONG_PTR(lParam)), HIWORD(ULONG_PTR(lParam)));
        return 0;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(BOOL(wParam), UINT(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(UINT_PTR(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMButtonDown(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_MBUTTONUP:
        OnMButtonUp(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_MBUTTONDBLCLK:
        OnMButtonDblClk(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(UINT(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam),
                            PointOf(lParam));
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(UINT(wParam), LOWORD(ULONG_PTR(lParam)), HIWORD(ULONG_PTR(lParam)));
        return 0;
    case WM_KEYUP:
        OnKeyUp(UINT(wParam), LOWORD(ULONG_PTR(lParam)), HIWORD(ULONG_PTR(lParam)));
        return 0;
    case WM_CHAR:
        OnChar(UINT(wParam), LOWORD(ULONG_PTR(lParam)), HIWORD(ULONG_PTR(lParam)));
        return 0;
    case WM_SYSKEYDOWN:
        OnSysKeyDown(UINT(wParam), LOWORD(ULONG_PTR(lParam)), HIWORD(ULONG_PTR(lParam)));
        return 0;
    case WM_SYSCHAR:
        OnSysChar(UINT(wParam), LOWORD(ULONG_PTR(lParam)), HIWORD(ULONG_PTR(lParam)));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_GETDLGCODE:
        return LRESULT(OnGetDlgCode());
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(ULONG_PTR(lParam)),
                           HIWORD(ULONG_PTR(lParam)));
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    case WM_CANCELMODE:
        OnCancelMode();
        return 0;
    case WM_ENABLE:
        OnEnable(BOOL(wParam));
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(UINT(wParam), reinterpret_cast<LPCSTR>(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        return 0;
    case WM_SETFONT:
        OnSetFont(reinterpret_cast<HFONT>(wParam), BOOL(LOWORD(ULONG_PTR(lParam))));
        return 0;
    case WM_COMMAND: {
        LRESULT result = 0;
        if (lParam &&
            ReflectChildNotify(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &result))
            return result;
        if (*alive && OnCommand(wParam, lParam))
            return 0;
        return *alive ? Default() : 0;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && ReflectChildNotify(header->hwndFrom, msg, wParam, lParam, &result))
            return result;
        if (*alive && OnNotify(wParam, lParam, &result))
            return result;
        return *alive ? Default() : 0;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        LRESULT result = 0;
        if (dis && dis->CtlType != ODT_MENU &&
            ReflectChildNotify(dis->hwndItem, msg, wParam, lParam, &result))
            return TRUE;
        if (*alive)
            OnDrawItem(int(wParam), dis);
        return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        LRESULT result = 0;
        const auto child = reinterpret_cast<HWND>(lParam);
        if (child && ReflectChildNotify(child, msg, wParam, lParam, &result))
            return result;
        if (!*alive)
            return 0;
        return WithDc(wParam, [&](CDC* dc) {
            return reinterpret_cast<LRESULT>(OnCtlColor(dc, FromHandle(child), CtlColorType(msg)));
        });
    }
    case OCM_COMMAND:
        return OnOcmCommand(wParam, lParam);
    case OCM_NOTIFY:
        return OnOcmNotify(wParam, lParam);
    case OCM_DRAWITEM:
        return OnOcmDrawItem(wParam, lParam);
    case OCM_CTLCOLORSTATIC:
        return OnOcmCtlColorStatic(wParam, lParam);
    case OCM_CTLCOLORBTN:
        return OnOcmCtlColorBtn(wParam, lParam);
    default:
        return DefWindowProc(msg, wParam, lParam);
    }
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.msg, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd)
        return 0;
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* msg) {
    if (!msg)
        return FALSE;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        // A handler may have destroyed the chain.
        if (!::IsWindow(hwnd))
            break;
    }
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL CWnd::ReflectChildNotify(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* wnd = FromHandlePermanent(child);
    return wnd ? wnd->OnChildNotify(msg, wParam, lParam, result) : FALSE;
}

// [SECTION] Default handlers

int CWnd::OnCreate(CREATESTRUCTA*) {
    return int(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnNcDestroy() {
    auto alive = m_alive;
    Default();
    if (!*alive)
        return;
    Unbind();
    m_pfnSuper = nullptr;
    m_created = false;
    PostNcDestroy();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return BOOL(Default());
}
LRESULT CWnd::OnPrintClient(WPARAM, LPARAM) {
    return Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return BOOL(Default());
}
void CWnd::OnMouseLeave() {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
UINT CWnd::OnGetDlgCode() {
    return UINT(Default());
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return BOOL(Default());
}
void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}
void CWnd::OnCancelMode() {
    Default();
}
void CWnd::OnEnable(BOOL) {
    Default();
}
void CWnd::OnSettingChange(UINT, LPCSTR) {
    Default();
}
void CWnd::OnSysColorChange() {
    Default();
}
void CWnd::OnSetFont(HFONT, BOOL) {
    Default();
}
BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}
void CWnd::OnDrawItem(int, DRAWITEMSTRUCT*) {
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
LRESULT CWnd::OnOcmCommand(WPARAM, LPARAM) {
    return Default();
}
LRESULT CWnd::OnOcmNotify(WPARAM, LPARAM) {
    return Default();
}
LRESULT CWnd::OnOcmDrawItem(WPARAM, LPARAM) {
    return Default();
}
// Unhandled colour requests get what the parent's default would give.
LRESULT CWnd::OnOcmCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, WM_CTLCOLORSTATIC, wParam, lParam);
}
LRESULT CWnd::OnOcmCtlColorBtn(WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, WM_CTLCOLORBTN, wParam, lParam);
}

// [SECTION] Helpers

void CWnd::GetClientRect(RECT* rc) const {
    if (!rc)
        return;
    if (!::GetClientRect(m_hWnd, rc))
        *rc = RECT{};
}

void CWnd::GetWindowRect(RECT* rc) const {
    if (!rc)
        return;
    if (!::GetWindowRect(m_hWnd, rc))
        *rc = RECT{};
}

CDC* CWnd::GetDC() {
    // Without a window there is nothing to draw on (not the screen).
    if (!m_hWnd)
        return nullptr;
    const HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return nullptr;
    auto* dc = new CDC;
    dc->Attach(hdc);
    return dc;
}

int CWnd::ReleaseDC(CDC* dc) {
    if (!dc)
        return 0;
    const HDC hdc = dc->Detach();
    delete dc;
    return ::ReleaseDC(m_hWnd, hdc);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    if (!m_hWnd)
        return FALSE;
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, LONG_PTR(changed));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    if (!m_hWnd)
        return FALSE;
    const DWORD style = GetExStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, LONG_PTR(changed));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}
