#pragma once
// Sending and posting messages, the thread's message queue and the loop that
// empties it.
//
// GetMessage and PeekMessage take, in this order: posted messages, input
// (mouse, keys and characters from the backend), WM_QUIT once the posted
// messages are gone, WM_PAINT for a window with an update region (parents
// before their children), and WM_TIMER for a due timer.
#include "platform/user/UserTypes.h"

#include <functional>

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// FALSE for an invalid window. A NULL window posts to the thread.
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Waits until a message arrives: with a real clock for the backend's events
// or the next timer; with the virtual clock, time jumps to the next timer.
// Returns 0 for WM_QUIT, -1 when nothing can ever arrive (no backend events,
// no timers), otherwise a positive value.
BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Characters come from the backend as WM_CHAR already, so this only reports
// whether the message is a key message.
BOOL TranslateMessage(const MSG* msg);
// Calls the window procedure, or the TIMERPROC of a WM_TIMER that has one.
LRESULT DispatchMessageA(const MSG* msg);

namespace kw::user {

// Sees every message that RunPendingMessages, PumpMessage and the modal loop
// take from the queue before it is dispatched; returning true swallows it.
using PreTranslateHook = std::function<bool(MSG*)>;
void SetPreTranslateMessageHook(PreTranslateHook hook);

// The hook, TranslateMessage and DispatchMessage for one message.
void PumpMessage(MSG* msg);

// Processes everything that is pending (posted messages, input, paints, due
// timers) and returns the number of messages dispatched, without waiting.
// WM_QUIT stays pending for the next GetMessage. A procedure that posts
// without end is cut off after 100000 messages.
int RunPendingMessages();

// True when PostQuitMessage was called and WM_QUIT has not been taken yet.
bool IsQuitPending(int* exitCode = nullptr);

} // namespace kw::user
