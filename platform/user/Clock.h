#pragma once
// The clocks the window manager runs on: a virtual clock for headless runs and
// tests, where time moves only when told to, and the monotonic clock of the
// system for a real display.
#include "platform/base/WinTypes.h"

namespace kw::user {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start.
    virtual ULONGLONG Now() const = 0;
    virtual void Sleep(DWORD ms) = 0;
};

class VirtualClock : public Clock {
public:
    explicit VirtualClock(ULONGLONG start = 0) : m_now(start) {}
    ULONGLONG Now() const override { return m_now; }
    // Only moves time forward.
    void Sleep(DWORD ms) override { m_now += ms; }
    // Never moves time backward.
    void SetNow(ULONGLONG now) {
        if (now > m_now)
            m_now = now;
    }

private:
    ULONGLONG m_now{0};
};

class MonotonicClock : public Clock {
public:
    MonotonicClock();
    ULONGLONG Now() const override;
    void Sleep(DWORD ms) override;

private:
    long long m_startNs{0};
};

} // namespace kw::user
