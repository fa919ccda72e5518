#include "tests/platform/user/MessageRecorder.h"

#include "platform/gdi/GdiTypes.h"

#include <algorithm>
#include <cstdio>

namespace kw::test {

namespace {
MessageRecorder* g_recorder = nullptr;

bool IsNoise(UINT msg) {
    return msg == WM_NCHITTEST || msg == WM_SETCURSOR || msg == WM_GETTEXT ||
           msg == WM_GETTEXTLENGTH || msg == WM_PARENTNOTIFY;
}
} // namespace

std::string MessageName(UINT msg) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"},
        {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
        {WM_MBUTTONUP, "WM_MBUTTONUP"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    };
    auto it = names.find(msg);
    if (it != names.end())
        return it->second;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04x", msg);
    return buffer;
}

std::string Describe(const std::vector<Seq>& seq) {
    std::string text;
    for (const Seq& s : seq) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%#lx:",
                      static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(s.hwnd)));
        text += buffer + MessageName(s.msg) + " ";
    }
    return text;
}

MessageRecorder::MessageRecorder() {
    g_recorder = this;
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &MessageRecorder::Proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_WINDOW + 1));
    wc.lpszClassName = "Recorder";
    RegisterClassA(&wc);
    wc.style = 0;
    wc.lpszClassName = "PlainRecorder";
    RegisterClassA(&wc);
}

MessageRecorder::~MessageRecorder() {
    g_recorder = nullptr;
    // Windows still alive would call into a recorder that is gone.
    m_handlers.clear();
    m_anyHandler = nullptr;
}

HWND MessageRecorder::CreateTop(int x, int y, int w, int h, DWORD style, DWORD exStyle,
                                const char* className) {
    return CreateWindowExA(exStyle, className, "top", style, x, y, w, h, nullptr, nullptr, nullptr,
                           nullptr);
}

HWND MessageRecorder::CreateChild(HWND parent, int id, int x, int y, int w, int h, DWORD style,
                                  DWORD exStyle, const char* className) {
    return CreateWindowExA(exStyle, className, "child", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
}

std::vector<Seq> MessageRecorder::Sequence(const std::vector<UINT>& wanted) const {
    std::vector<Seq> seq;
    for (const Received& r : m_received) {
        if (wanted.empty() ? IsNoise(r.msg)
                           : std::find(wanted.begin(), wanted.end(), r.msg) == wanted.end())
            continue;
        seq.push_back(Seq{r.hwnd, r.msg});
    }
    return seq;
}

std::vector<Received> MessageRecorder::Of(UINT msg) const {
    std::vector<Received> found;
    for (const Received& r : m_received)
        if (r.msg == msg)
            found.push_back(r);
    return found;
}

int MessageRecorder::Count(HWND hwnd, UINT msg) const {
    return int(std::count_if(m_received.begin(), m_received.end(),
                             [&](const Received& r) { return r.hwnd == hwnd && r.msg == msg; }));
}

LRESULT MessageRecorder::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MessageRecorder* self = g_recorder;
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    self->m_received.push_back(Received{hwnd, msg, wParam, lParam});
    LRESULT result = 0;
    // Copies: a handler may replace itself or destroy its window.
    if (auto it = self->m_handlers.find(hwnd); it != self->m_handlers.end()) {
        Handler handler = it->second;
        if (handler(hwnd, msg, wParam, lParam, &result))
            return result;
    } else if (self->m_anyHandler) {
        Handler handler = self->m_anyHandler;
        if (handler(hwnd, msg, wParam, lParam, &result))
            return result;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace kw::test
