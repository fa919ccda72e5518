#include "platform/user/Clock.h"

#include <chrono>
#include <thread>

namespace kw::user {

namespace {
long long SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

MonotonicClock::MonotonicClock() : m_startNs(SteadyNanoseconds()) {}

ULONGLONG MonotonicClock::Now() const {
    return ULONGLONG((SteadyNanoseconds() - m_startNs) / 1000000);
}

void MonotonicClock::Sleep(DWORD ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace kw::user
