#pragma once
// CWnd: the framework's window object. It owns or wraps one HWND and receives
// every message of that window in one place (WindowProc), which calls one
// typed virtual handler per message with the framework's handler names and
// parameters. A handler that does not handle its message calls Default(),
// which hands the message to the procedure the window had before (a system
// class such as "BUTTON", or DefWindowProc).
//
// Notifications that a child sends to its parent (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_CTLCOLOR*) are first offered back to the child object as
// the reflected OCM_ messages, so a control handles its own notifications.
//
// A handler may destroy the window or delete the object (a host's event
// handler may release a control from inside a click): the dispatch notices
// and touches nothing of the object afterwards.
#include "platform/gdi/AfxGdi.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <memory>

class CWnd;

// The procedure of every window a CWnd receives messages for.
LRESULT AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The framework's own window class for windows without a system class.
constexpr const char* kAfxWndClass = "AfxWnd";

// The pre-translation of a queued message: PreTranslateMessage of the target
// window's object and then of each parent's, until one answers TRUE.
BOOL AfxPreTranslateMessage(MSG* msg);

// NMHDR, the header of WM_NOTIFY's lParam, comes with the system controls.

class CWnd {
public:
    CWnd();
    // A window that still exists is destroyed with its object.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd{nullptr};
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // [SECTION] Handles and objects

    // Binds the object to a window without taking its messages.
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // The object bound to the window, or a wrapper that owns nothing and
    // lives while the window does; null for a null or dead handle.
    static CWnd* FromHandle(HWND hwnd);
    // Only the objects bound with Attach, creation or SubclassWindow.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // [SECTION] Creation and destruction

    // Fills in the class (kAfxWndClass when empty) and may change styles.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Creates the window with this object receiving its messages from the
    // first one on, also for a system class.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT id, void* param = nullptr);
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id) {
        return CreateEx(0, className, windowName, style, rect, parent, id);
    }
    virtual BOOL DestroyWindow();
    // Takes the messages of an existing window; the old procedure answers
    // Default().
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Called after the last message (WM_NCDESTROY), when the object is no
    // longer bound to the window; an object may delete itself here.
    virtual void PostNcDestroy() {}

    // [SECTION] Messages

    // The one dispatch of every message.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The previous procedure's answer to the message being handled.
    LRESULT Default();
    // The previous procedure (or DefWindowProc) for any message.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // A child's notification offered back to it; TRUE when it handled it,
    // *result then answers the parent's message.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Sends the current notification to the child `child` as its OCM_.
    static BOOL ReflectChildNotify(HWND child, UINT msg, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result);

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam);
    }

    // [SECTION] Helpers the controls call

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rc, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rc, erase); }
    void ValidateRect(const RECT* rc) { ::ValidateRect(m_hWnd, rc); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // The client area; a control without a window may answer otherwise.
    virtual void GetClientRect(RECT* rc) const;
    void GetWindowRect(RECT* rc) const;
    void ClientToScreen(POINT* pt) const { ::ClientToScreen(m_hWnd, pt); }
    void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
    // A DC on the client area that draws at once; give it back with
    // ReleaseDC. Null while the object has no window.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    // Without a window the system call would make a thread timer with an id
    // of its own that no later KillTimer of the window removes; an object
    // without a window gets no timer (0), and kills none.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
        return m_hWnd ? ::SetTimer(m_hWnd, id, elapse, proc) : 0;
    }
    BOOL KillTimer(UINT_PTR id) { return m_hWnd ? ::KillTimer(m_hWnd, id) : FALSE; }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, w, h, repaint);
    }
    BOOL MoveWindow(const RECT* rc, BOOL repaint = TRUE) {
        return rc &&
               MoveWindow(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int w, int h, UINT flags) {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, w, h, flags);
    }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    DWORD GetStyle() const { return DWORD(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return DWORD(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
    // Adds and removes style bits; with `swpFlags` the frame is recomputed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    static BOOL MessageBeep(UINT type) { return ::MessageBeep(type); }

protected:
    // [SECTION] Handlers
    // Each default passes the message on with Default().

    virtual int OnCreate(CREATESTRUCTA* cs);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual void OnMButtonDown(UINT flags, CPoint point);
    virtual void OnMButtonUp(UINT flags, CPoint point);
    virtual void OnMButtonDblClk(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    // `point` in screen coordinates, as the message carries it.
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    virtual void OnMouseLeave();
    virtual void OnKeyDown(UINT nChar, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT nChar, UINT repeat, UINT flags);
    virtual void OnChar(UINT nChar, UINT repeat, UINT flags);
    virtual void OnSysKeyDown(UINT nChar, UINT repeat, UINT flags);
    virtual void OnSysChar(UINT nChar, UINT repeat, UINT flags);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual UINT OnGetDlgCode();
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnCaptureChanged(CWnd* wnd);
    virtual void OnCancelMode();
    virtual void OnEnable(BOOL enable);
    virtual void OnSettingChange(UINT flags, LPCSTR section);
    virtual void OnSysColorChange();
    virtual void OnSetFont(HFONT font, BOOL redraw);
    // Parent side of the notifications; the child had them first.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnDrawItem(int idCtl, DRAWITEMSTRUCT* dis);
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    // Reflected notifications (the control's own, sent back by its parent).
    virtual LRESULT OnOcmCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnOcmNotify(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnOcmDrawItem(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnOcmCtlColorStatic(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnOcmCtlColorBtn(WPARAM wParam, LPARAM lParam);

    // The procedure the window had before this object took it.
    WNDPROC m_pfnSuper{nullptr};
    // Whether this object made the window (and so destroys it).
    bool m_created{false};

private:
    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void Bind(HWND hwnd);
    void Unbind();

    struct CurrentMessage {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
    // Cleared when the object dies, so a procedure running on it notices.
    std::shared_ptr<bool> m_alive{std::make_shared<bool>(true)};
};
