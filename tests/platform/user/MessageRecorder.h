#pragma once
// Records the messages that windows receive, for comparing with expected
// sequences, and lets each test give a window extra behaviour.
#include "platform/user/User.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kw::test {

struct Received {
    HWND hwnd{nullptr};
    UINT msg{0};
    WPARAM wParam{0};
    LPARAM lParam{0};

    bool operator==(const Received& other) const = default;
};

// A message and its window, parameters left out of the comparison.
struct Seq {
    HWND hwnd{nullptr};
    UINT msg{0};
    bool operator==(const Seq& other) const = default;
};

std::string MessageName(UINT msg);
std::string Describe(const std::vector<Seq>& seq);

// The class "Recorder" records every message except the noisy ones that are
// not asked for (hit tests, cursor, text queries), then calls the window's
// handler if it has one (which may answer instead of DefWindowProc).
class MessageRecorder {
public:
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;

    MessageRecorder();
    ~MessageRecorder();

    HWND CreateTop(int x, int y, int w, int h, DWORD style = WS_VISIBLE, DWORD exStyle = 0,
                   const char* className = "Recorder");
    HWND CreateChild(HWND parent, int id, int x, int y, int w, int h,
                     DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0,
                     const char* className = "Recorder");

    void OnMessage(HWND hwnd, Handler handler) { m_handlers[hwnd] = std::move(handler); }
    // Handlers for windows still being created (before their HWND is known).
    void OnAnyMessage(Handler handler) { m_anyHandler = std::move(handler); }

    void Clear() { m_received.clear(); }
    const std::vector<Received>& All() const { return m_received; }
    // The recorded messages among `wanted` (all when empty), without parameters.
    std::vector<Seq> Sequence(const std::vector<UINT>& wanted = {}) const;
    std::vector<Received> Of(UINT msg) const;
    int Count(HWND hwnd, UINT msg) const;

    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    std::vector<Received> m_received;
    std::map<HWND, Handler> m_handlers;
    Handler m_anyHandler;
};

} // namespace kw::test
