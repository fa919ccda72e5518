// The thread's message queue: posting, taking messages in the platform's
// order, dispatching them, and the loops that empty the queue.
#include "platform/user/MessageQueue.h"

#include "platform/user/Input.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>

using namespace kw::user::detail;

namespace {

// A window filter of (HWND)-1 asks for thread messages only.
const HWND kThreadOnly = reinterpret_cast<HWND>(~std::uintptr_t(0));

bool MatchesWindow(HWND filter, HWND hwnd) {
    if (!filter)
        return true;
    if (filter == kThreadOnly)
        return hwnd == nullptr;
    return hwnd == filter || IsChild(filter, hwnd);
}

bool MatchesRange(UINT min, UINT max, UINT message) {
    return (min == 0 && max == 0) || (message >= min && message <= max);
}

bool Peek(MSG* msg, HWND hwnd, UINT min, UINT max, bool remove, bool allowQuit) {
    WindowManager& m = Manager();
    if (kw::user::EventSource* events = m.m_backend.events)
        events->PollEvents(0);
    for (auto it = m.posted.begin(); it != m.posted.end(); ++it) {
        if (MatchesWindow(hwnd, it->hwnd) && MatchesRange(min, max, it->message)) {
            *msg = *it;
            if (remove)
                m.posted.erase(it);
            return true;
        }
    }
    if (hwnd != kThreadOnly && TakeInputMessage(hwnd, min, max, remove, msg))
        return true;
    if (allowQuit && m.quitPending) {
        *msg = MSG{nullptr, WM_QUIT, WPARAM(m.quitCode), 0, GetTickCount(), m.cursorPos};
        if (remove)
            m.quitPending = false;
        return true;
    }
    if (hwnd != kThreadOnly && MatchesRange(min, max, WM_PAINT)) {
        if (HWND target = NextWindowToPaint(hwnd)) {
            *msg = MSG{target, WM_PAINT, 0, 0, GetTickCount(), m.cursorPos};
            return true;
        }
    }
    return TakeDueTimer(hwnd == kThreadOnly ? nullptr : hwnd, min, max, remove, msg);
}

} // namespace

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Send(hwnd, msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowManager& m = Manager();
    if (hwnd && !m.Find(hwnd))
        return FALSE;
    m.posted.push_back(MSG{hwnd, msg, wParam, lParam, GetTickCount(), m.cursorPos});
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    WindowManager& m = Manager();
    m.quitPending = true;
    m.quitCode = exitCode;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg)
        return -1;
    WindowManager& m = Manager();
    for (;;) {
        if (Peek(msg, hwnd, filterMin, filterMax, true, true))
            return msg->message == WM_QUIT ? 0 : 1;
        ULONGLONG due = 0;
        const bool timer = NextTimerDue(&due);
        const ULONGLONG now = m.Now();
        const DWORD timeout =
            !timer ? kw::user::INFINITE
                   : DWORD(std::min<ULONGLONG>(due > now ? due - now : 0, 0x7FFFFFFF));
        kw::user::EventSource* events = m.m_backend.events;
        if (auto* virtualClock = dynamic_cast<kw::user::VirtualClock*>(&m.GetClock())) {
            // Waiting on a virtual clock: time jumps to what comes next.
            if (timer)
                virtualClock->SetNow(due);
            else if (events)
                events->PollEvents(kw::user::INFINITE);
            else
                return -1;
        } else if (events) {
            events->PollEvents(timeout);
        } else if (timer) {
            m.GetClock().Sleep(timeout);
        } else {
            return -1;
        }
    }
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg)
        return FALSE;
    return Peek(msg, hwnd, filterMin, filterMax, removeFlags & PM_REMOVE, true) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg)
        return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg)
        return 0;
    WindowManager& m = Manager();
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only a timer that still exists with this procedure calls it.
        const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        const bool live = std::any_of(m.timers.begin(), m.timers.end(), [&](const Timer& t) {
            return t.hwnd == msg->hwnd && t.id == msg->wParam && t.proc == proc;
        });
        if (live)
            proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!m.Find(msg->hwnd))
        return 0;
    if (msg->message != WM_PAINT)
        return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    // A procedure that neither painted nor validated would get WM_PAINT
    // forever; its window counts as painted.
    const unsigned validations = m.Find(msg->hwnd)->validations;
    const LRESULT result = Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (Window* w = m.Find(msg->hwnd); w && w->validations == validations) {
        w->update = RECT{};
        w->erase = false;
        w->frameDirty = false;
    }
    return result;
}

namespace kw::user {

void SetPreTranslateMessageHook(PreTranslateHook hook) {
    Manager().preTranslate = std::move(hook);
}

void PumpMessage(MSG* msg) {
    if (!msg)
        return;
    // A copy, so that the hook may replace itself while it runs.
    PreTranslateHook hook = Manager().preTranslate;
    if (hook && hook(msg))
        return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}

int RunPendingMessages() {
    constexpr int kLimit = 100000;
    int count = 0;
    MSG msg;
    while (count < kLimit && Peek(&msg, nullptr, 0, 0, true, false)) {
        PumpMessage(&msg);
        ++count;
    }
    return count;
}

bool IsQuitPending(int* exitCode) {
    WindowManager& m = Manager();
    if (m.quitPending && exitCode)
        *exitCode = m.quitCode;
    return m.quitPending;
}

} // namespace kw::user
