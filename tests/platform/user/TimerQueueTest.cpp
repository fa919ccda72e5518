// The message queue and timers on the virtual clock.
#include "tests/platform/user/UserTestFixture.h"

#include <vector>

using namespace kw::test;

TEST_F(UserTest, PostedMessagesComeInOrderAndQuitStaysForGetMessage) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    session.Pump();
    rec.Clear();
    PostMessageA(top, WM_USER + 1, 1, 0);
    PostMessageA(top, WM_USER + 2, 2, 0);
    PostQuitMessage(3);
    EXPECT_EQ(session.Pump(), 2);
    EXPECT_EQ(rec.Sequence({WM_USER + 1, WM_USER + 2}),
              (std::vector<Seq>{{top, WM_USER + 1}, {top, WM_USER + 2}}));
    int code = 0;
    EXPECT_TRUE(kw::user::IsQuitPending(&code));
    EXPECT_EQ(code, 3);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, WPARAM(3));
    EXPECT_FALSE(kw::user::IsQuitPending());
    // Nothing can ever arrive now: GetMessage reports it instead of hanging.
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);
}

TEST_F(UserTest, MessagesPostedToADestroyedWindowAreDropped) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    PostMessageA(top, WM_USER, 0, 0);
    DestroyWindow(top);
    rec.Clear();
    EXPECT_EQ(session.Pump(), 0);
    EXPECT_TRUE(rec.All().empty());
}

TEST_F(UserTest, PreTranslateHookSeesAndMaySwallowMessages) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    session.Pump();
    std::vector<UINT> seen;
    kw::user::SetPreTranslateMessageHook([&](MSG* msg) {
        seen.push_back(msg->message);
        return msg->message == WM_USER + 1;
    });
    PostMessageA(top, WM_USER + 1, 0, 0);
    PostMessageA(top, WM_USER + 2, 0, 0);
    session.Pump();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(rec.Count(top, WM_USER + 1), 0);
    EXPECT_EQ(rec.Count(top, WM_USER + 2), 1);
}

TEST_F(UserTest, TwoTimersFireInTimeOrderOverAVirtualMinute) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    session.Pump();
    rec.Clear();
    std::vector<std::pair<UINT_PTR, DWORD>> ticks;
    rec.OnMessage(top, [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
        if (msg == WM_TIMER)
            ticks.emplace_back(wParam, GetTickCount());
        return false;
    });
    const DWORD start = GetTickCount();
    EXPECT_EQ(SetTimer(top, 1, 700, nullptr), 1u);
    EXPECT_EQ(SetTimer(top, 2, 300, nullptr), 2u);
    session.Advance(60000);
    // 60000 / 700 = 85 and 60000 / 300 = 200 firings, each at its due time.
    std::vector<std::pair<UINT_PTR, DWORD>> expected;
    for (DWORD t = 1; t <= 60000; ++t) {
        // At 2100, 4200, ... both are due; the older timer (id 1) goes first.
        if (t % 700 == 0)
            expected.emplace_back(1, start + t);
        if (t % 300 == 0)
            expected.emplace_back(2, start + t);
    }
    ASSERT_EQ(ticks.size(), 285u);
    EXPECT_EQ(ticks, expected);
    EXPECT_EQ(GetTickCount(), start + 60000);
}

TEST_F(UserTest, TimerResetInsideItsHandlerTakesItsNewPeriod) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    std::vector<DWORD> ticks;
    const DWORD start = GetTickCount();
    rec.OnMessage(top, [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_TIMER) {
            ticks.push_back(GetTickCount() - start);
            if (ticks.size() == 1)
                SetTimer(hwnd, 5, 200, nullptr);
        }
        return false;
    });
    SetTimer(top, 5, 500, nullptr);
    session.Advance(1300);
    EXPECT_EQ(ticks, (std::vector<DWORD>{500, 700, 900, 1100, 1300}));
}

TEST_F(UserTest, TimerKilledInsideItsHandlerFiresNoMore) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    rec.OnMessage(top, [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
        if (msg == WM_TIMER) {
            EXPECT_TRUE(KillTimer(hwnd, wParam));
        }
        return false;
    });
    SetTimer(top, 9, 100, nullptr);
    session.Advance(1000);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 1);
    EXPECT_FALSE(KillTimer(top, 9));
}

TEST_F(UserTest, SleepThenPumpGivesOneCoalescedTimer) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    SetTimer(top, 1, 100, nullptr);
    session.Pump();
    Sleep(1050);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 0) << "Sleep processes no messages";
    session.Pump();
    EXPECT_EQ(rec.Count(top, WM_TIMER), 1);
    // The next one is one period after that firing, not on the old grid.
    session.Advance(99);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 1);
    session.Advance(1);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 2);
}

TEST_F(UserTest, TimerRulesForPeriodsReplacementAndDestroyedWindows) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    // Below the minimum becomes 10 ms.
    SetTimer(top, 1, 1, nullptr);
    session.Advance(9);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 0);
    session.Advance(1);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 1);
    // Setting the same id again replaces the timer and restarts it.
    SetTimer(top, 1, 100, nullptr);
    session.Advance(60);
    SetTimer(top, 1, 100, nullptr);
    session.Advance(60);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 1);
    session.Advance(40);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 2);
    // A destroyed window's timers are gone.
    DestroyWindow(top);
    EXPECT_FALSE(KillTimer(top, 1));
}

TEST_F(UserTest, TimerProcIsCalledInsteadOfTheWindowAndThreadTimersGetIds) {
    static int procCalls = 0;
    procCalls = 0;
    const TIMERPROC proc = [](HWND, UINT msg, UINT_PTR, DWORD) {
        if (msg == WM_TIMER)
            ++procCalls;
    };
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    SetTimer(top, 3, 50, proc);
    const UINT_PTR a = SetTimer(nullptr, 0, 50, proc);
    const UINT_PTR b = SetTimer(nullptr, 0, 50, proc);
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    session.Advance(50);
    EXPECT_EQ(procCalls, 3);
    EXPECT_EQ(rec.Count(top, WM_TIMER), 0);
    EXPECT_TRUE(KillTimer(nullptr, a));
    EXPECT_TRUE(KillTimer(nullptr, b));
}

TEST_F(UserTest, GetMessageOnTheVirtualClockJumpsToTheNextTimer) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    session.Pump();
    const DWORD start = GetTickCount();
    SetTimer(top, 4, 250, nullptr);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.hwnd, top);
    EXPECT_EQ(GetTickCount() - start, 250u);
}
