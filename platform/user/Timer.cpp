// Window timers on the manager's clock, and the virtual clock's stepping.
#include "platform/user/Timer.h"

#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>

using namespace kw::user::detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    WindowManager& m = Manager();
    if (hwnd) {
        Window* w = m.Find(hwnd);
        if (!w || w->destroying)
            return 0;
    }
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const ULONGLONG due = m.Now() + elapse;
    auto existing = std::find_if(m.timers.begin(), m.timers.end(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && (hwnd || id != 0);
    });
    if (existing != m.timers.end()) {
        existing->period = elapse;
        existing->due = due;
        existing->proc = proc;
        return hwnd ? id : existing->id;
    }
    if (!hwnd) {
        // Thread timers get their id here.
        do {
            id = ++m.lastThreadTimerId;
        } while (id == 0 || std::any_of(m.timers.begin(), m.timers.end(),
                                        [&](const Timer& t) { return !t.hwnd && t.id == id; }));
    }
    m.timers.push_back(Timer{hwnd, id, elapse, due, proc, ++m.timerOrder});
    return hwnd && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    WindowManager& m = Manager();
    const auto removed =
        std::erase_if(m.timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return removed ? TRUE : FALSE;
}

DWORD GetTickCount() {
    return DWORD(Manager().Now());
}

ULONGLONG GetTickCount64() {
    return Manager().Now();
}

void Sleep(DWORD ms) {
    Manager().GetClock().Sleep(ms);
}

namespace kw::user::detail {

void KillWindowTimers(HWND hwnd) {
    std::erase_if(Manager().timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

namespace {
// The earliest due timer among those `accept` lets through; ties go to the
// older timer.
template <typename Accept> Timer* EarliestTimer(Accept accept) {
    Timer* best = nullptr;
    for (Timer& t : Manager().timers) {
        if (!accept(t))
            continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order))
            best = &t;
    }
    return best;
}
} // namespace

bool TakeDueTimer(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* msg) {
    WindowManager& m = Manager();
    if (!((filterMin == 0 && filterMax == 0) || (WM_TIMER >= filterMin && WM_TIMER <= filterMax)))
        return false;
    const ULONGLONG now = m.Now();
    Timer* t = EarliestTimer([&](const Timer& t) {
        return t.due <= now && (!filter || t.hwnd == filter || IsChild(filter, t.hwnd));
    });
    if (!t)
        return false;
    *msg =
        MSG{t->hwnd, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc), DWORD(now), m.cursorPos};
    // However late it is, the timer fires once and is next due one period
    // from now.
    if (remove)
        t->due = now + t->period;
    return true;
}

bool HasDueTimer() {
    const ULONGLONG now = Manager().Now();
    return EarliestTimer([&](const Timer& t) { return t.due <= now; }) != nullptr;
}

bool NextTimerDue(ULONGLONG* due) {
    Timer* t = EarliestTimer([](const Timer&) { return true; });
    if (!t)
        return false;
    *due = t->due;
    return true;
}

} // namespace kw::user::detail

namespace kw::user {

bool AdvanceClock(DWORD ms) {
    WindowManager& m = Manager();
    auto* clock = dynamic_cast<VirtualClock*>(&m.GetClock());
    if (!clock)
        return false;
    const ULONGLONG end = clock->Now() + ms;
    RunPendingMessages();
    ULONGLONG due = 0;
    while (NextTimerDue(&due) && due <= end) {
        clock->SetNow(due);
        if (RunPendingMessages() == 0)
            break; // Nothing could run (cannot happen with a due timer).
    }
    clock->SetNow(end);
    RunPendingMessages();
    return true;
}

} // namespace kw::user
