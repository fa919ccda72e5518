#include "hosts/container/GuiSession.h"

#include "platform/user/User.h"

namespace kw::container {

GuiSession::GuiSession(CContainer& container, const GuiOptions& options)
    : m_container(container), m_x11(kw::x11::X11Options{options.display, options.lostExitStatus}) {
    if (!m_x11.IsOpen())
        return;
    const HWND form = container.Form();
    if (options.embedParent && !m_x11.SetEmbedParent(options.embedParent)) {
        m_embedRefused = true;
        return;
    }
    // The form closes the run instead of destroying itself: the container
    // closes its controls and the form in order afterwards. The session is
    // found through the form's user data, which the form does not use.
    SetWindowLongPtrA(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GuiSession::FormProc)));
    if (!options.title.empty())
        SetWindowTextA(form, options.title.c_str());
    m_x11.Show(form);
    InstallModalUi();
    container.Settle();
}

GuiSession::~GuiSession() {
    if (!m_x11.IsOpen() || m_embedRefused)
        return;
    kw::user::SetModalUiHandler(std::move(m_containerUi));
    const HWND form = m_container.Form();
    if (IsWindow(form)) {
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_formProc));
        SetWindowLongPtrA(form, GWLP_USERDATA, 0);
    }
}

LRESULT GuiSession::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<GuiSession*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_CLOSE) {
        self->m_closed = true;
        PostQuitMessage(0);
        return 0;
    }
    return CallWindowProcA(self->m_formProc, hwnd, msg, wParam, lParam);
}

// Message boxes still print their line (the container's log), then ask the
// user in a real window. A host function that drives a dialog itself (the
// recording log's onModalLoop, as `about` does) keeps doing so.
void GuiSession::InstallModalUi() {
    kw::user::ModalUiHandler real = m_x11.ModalUi();
    kw::user::ModalUiHandler handler;
    m_containerUi = kw::user::SetModalUiHandler({});
    handler.messageBox = [log = m_containerUi.messageBox,
                          show = real.messageBox](HWND owner, const std::string& text,
                                                  const std::string& caption, UINT type) {
        if (log)
            log(owner, text, caption, type);
        return show(owner, text, caption, type);
    };
    handler.messageBeep = [log = m_containerUi.messageBeep, bell = real.messageBeep](UINT type) {
        if (log)
            log(type);
        bell(type);
    };
    handler.modalLoop = [loop = real.modalLoop](HWND hwnd) {
        auto driver = kw::user::RecordingModalUiLog().onModalLoop;
        if (!driver)
            return loop(hwnd);
        kw::user::RunPendingMessages();
        driver(hwnd);
        kw::user::RunPendingMessages();
        int result = IDCANCEL;
        if (!kw::user::IsModalLoopEnded(hwnd, &result))
            kw::user::EndModalLoop(hwnd, IDCANCEL);
        return result;
    };
    kw::user::SetModalUiHandler(std::move(handler));
}

bool GuiSession::RunUntilClosed(std::string* error) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!m_filter || !m_filter(msg))
            kw::user::PumpMessage(&msg);
        try {
            m_container.ThrowPendingError();
        } catch (const ScriptError& e) {
            *error = e.what();
            return false;
        }
    }
    return true;
}

bool GuiSession::RunFor(DWORD ms) {
    if (m_closed)
        return false;
    // A thread timer marks the end; GetMessage waits for it, the server and
    // the controls' own timers alike.
    const UINT_PTR timer = SetTimer(nullptr, 0, ms ? ms : 1, nullptr);
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(msg.wParam)); // Stays for the outer loop.
            break;
        }
        if (got < 0 || (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer))
            break;
        if (!m_filter || !m_filter(msg))
            kw::user::PumpMessage(&msg);
        try {
            m_container.ThrowPendingError();
        } catch (const ScriptError&) {
            KillTimer(nullptr, timer);
            throw;
        }
    }
    KillTimer(nullptr, timer);
    return !m_closed;
}

} // namespace kw::container
