#pragma once
// Window timers and time, all on the window manager's clock (Clock.h).
#include "platform/user/UserTypes.h"

constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// Starts or replaces the timer `id` of the window (a replaced timer restarts
// with the new period). Periods below USER_TIMER_MINIMUM become the minimum.
// A timer fires WM_TIMER(id, proc) once it is due and the queue has nothing
// else; however many periods passed, it fires once, and the next is due one
// period after that firing. With a NULL window the id is chosen here (or an
// existing thread timer of that id replaced). Returns the id, 0 on failure.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Milliseconds of the clock, wrapping after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// Lets time pass without processing messages; timers that fall due meanwhile
// fire at the next pump.
void Sleep(DWORD ms);

namespace kw::user {

// Virtual clock only: moves time forward by `ms`, stopping at every timer that
// falls due on the way (in the order of due time, then of creation), firing it
// and processing everything it caused, then everything pending at the end.
// Returns false (and does nothing) when the clock is not virtual.
bool AdvanceClock(DWORD ms);

} // namespace kw::user
