// Mouse routing, double clicks, keys, capture, focus and activation.
#include "tests/platform/user/UserTestFixture.h"

#include <vector>

using namespace kw::test;
using kw::user::MouseButton;

namespace {
const std::vector<UINT> kMouse = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                  WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_MOUSEWHEEL};
} // namespace

TEST_F(UserTest, MouseGoesToTheDeepestVisibleEnabledWindow) {
    const HWND top = rec.CreateTop(100, 100, 200, 200);
    const HWND panel = rec.CreateChild(top, 1, 10, 10, 100, 100);
    const HWND button = rec.CreateChild(panel, 2, 10, 10, 30, 30);
    const HWND hidden = rec.CreateChild(panel, 3, 50, 10, 30, 30, WS_CHILD);
    const HWND disabled =
        rec.CreateChild(panel, 4, 10, 50, 30, 30, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    session.Pump();

    EXPECT_EQ(WindowFromPoint(POINT{125, 125}), button);
    EXPECT_EQ(WindowFromPoint(POINT{165, 125}), panel) << "hidden windows are passed over";
    EXPECT_EQ(WindowFromPoint(POINT{125, 165}), panel) << "disabled ones give their parent";
    EXPECT_EQ(WindowFromPoint(POINT{290, 290}), top);
    EXPECT_EQ(WindowFromPoint(POINT{50, 50}), nullptr);
    EXPECT_EQ(ChildWindowFromPoint(panel, POINT{55, 15}), hidden);
    EXPECT_EQ(ChildWindowFromPoint(panel, POINT{95, 95}), panel);
    EXPECT_EQ(ChildWindowFromPoint(panel, POINT{150, 15}), nullptr);
    (void)disabled;

    rec.Clear();
    session.MouseMove(125, 127);
    session.Click();
    EXPECT_EQ(rec.Sequence(kMouse),
              (std::vector<Seq>{
                  {button, WM_MOUSEMOVE}, {button, WM_LBUTTONDOWN}, {button, WM_LBUTTONUP}}))
        << Describe(rec.Sequence(kMouse));
    const auto downs = rec.Of(WM_LBUTTONDOWN);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(5, 7)) << "client coordinates";
    EXPECT_EQ(downs[0].wParam, MK_LBUTTON);
    EXPECT_EQ(rec.Of(WM_LBUTTONUP)[0].wParam, WPARAM(0));
    // Hit test and cursor come before each mouse message.
    const std::vector<Seq> withCursor = rec.Sequence({WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE});
    ASSERT_GE(withCursor.size(), 3u);
    EXPECT_EQ(withCursor[0].msg, UINT(WM_NCHITTEST));
    EXPECT_EQ(withCursor[1].msg, UINT(WM_SETCURSOR));
    EXPECT_EQ(withCursor[1].hwnd, button);

    rec.Clear();
    session.MouseMove(125, 165);
    session.Click();
    EXPECT_EQ(rec.Count(panel, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(rec.Count(disabled, WM_LBUTTONDOWN), 0);
}

TEST_F(UserTest, CaptureTakesTheMouseOutsideTheWindowAndNotifiesTheLoser) {
    const HWND top = rec.CreateTop(0, 0, 200, 200);
    const HWND a = rec.CreateChild(top, 1, 0, 0, 50, 50);
    const HWND b = rec.CreateChild(top, 2, 100, 0, 50, 50);
    session.Pump();
    rec.Clear();
    EXPECT_EQ(SetCapture(a), nullptr);
    EXPECT_EQ(SetCapture(a), a);
    EXPECT_EQ(rec.Count(a, WM_CAPTURECHANGED), 0) << "taking it again changes nothing";
    session.MouseMove(120, 10);
    EXPECT_EQ(rec.Count(a, WM_MOUSEMOVE), 1);
    EXPECT_EQ(rec.Count(b, WM_MOUSEMOVE), 0);
    EXPECT_EQ(rec.Of(WM_MOUSEMOVE)[0].lParam, MAKELPARAM(120, 10));
    EXPECT_EQ(rec.Count(a, WM_SETCURSOR), 0) << "no cursor messages while captured";
    session.MouseMove(-5, 300);
    EXPECT_EQ(rec.Of(WM_MOUSEMOVE)[1].lParam, MAKELPARAM(WORD(-5), 300));

    rec.Clear();
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_EQ(rec.Sequence({WM_CAPTURECHANGED}), (std::vector<Seq>{{a, WM_CAPTURECHANGED}}));
    EXPECT_EQ(rec.Of(WM_CAPTURECHANGED)[0].lParam, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(GetCapture(), b);
    ReleaseCapture();
    EXPECT_EQ(rec.Of(WM_CAPTURECHANGED)[1].hwnd, b);
    EXPECT_EQ(rec.Of(WM_CAPTURECHANGED)[1].lParam, 0);
    EXPECT_EQ(GetCapture(), nullptr);

    // A destroyed capture window leaves no capture behind.
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserTest, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
    const HWND top = rec.CreateTop(0, 0, 200, 200);
    const HWND dbl = rec.CreateChild(top, 1, 0, 0, 100, 100);
    const HWND plain =
        rec.CreateChild(top, 2, 100, 0, 100, 100, WS_CHILD | WS_VISIBLE, 0, "PlainRecorder");
    session.Pump();
    const std::vector<UINT> downs = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK};

    rec.Clear();
    session.MouseMove(10, 10);
    session.DoubleClick();
    session.Click(); // A third click starts over.
    EXPECT_EQ(
        rec.Sequence(downs),
        (std::vector<Seq>{{dbl, WM_LBUTTONDOWN}, {dbl, WM_LBUTTONDBLCLK}, {dbl, WM_LBUTTONDOWN}}));

    rec.Clear();
    session.Advance(1000);
    session.Click();
    session.Advance(501);
    session.Click();
    session.Advance(500);
    session.Click();
    EXPECT_EQ(
        rec.Sequence(downs),
        (std::vector<Seq>{{dbl, WM_LBUTTONDOWN}, {dbl, WM_LBUTTONDOWN}, {dbl, WM_LBUTTONDBLCLK}}));

    rec.Clear();
    session.Advance(1000);
    session.Click();
    session.MouseMove(13, 10); // 3 pixels away: outside the 4x4 box.
    session.Click();
    session.MouseMove(15, 12); // 2 pixels away: inside.
    session.Click();
    EXPECT_EQ(
        rec.Sequence(downs),
        (std::vector<Seq>{{dbl, WM_LBUTTONDOWN}, {dbl, WM_LBUTTONDOWN}, {dbl, WM_LBUTTONDBLCLK}}));

    rec.Clear();
    session.MouseMove(150, 10);
    session.DoubleClick();
    EXPECT_EQ(rec.Sequence(downs),
              (std::vector<Seq>{{plain, WM_LBUTTONDOWN}, {plain, WM_LBUTTONDOWN}}));
}

TEST_F(UserTest, WheelKeysAndCharactersGoToTheFocusWindow) {
    const HWND top = rec.CreateTop(0, 0, 200, 200);
    const HWND a = rec.CreateChild(top, 1, 0, 0, 50, 50);
    const HWND b = rec.CreateChild(top, 2, 100, 0, 50, 50);
    SetFocus(b);
    session.Pump();
    rec.Clear();
    session.MouseMove(10, 10); // Over a.
    session.Wheel(-2);
    auto wheel = rec.Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 2u) << "to b, then b's default handling passes it to the parent";
    EXPECT_EQ(wheel[0].hwnd, b);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -240);
    EXPECT_EQ(wheel[0].lParam, MAKELPARAM(10, 10)) << "screen coordinates";
    EXPECT_EQ(wheel[1].hwnd, top);

    rec.Clear();
    session.Type("a");
    const std::vector<UINT> keys = {WM_KEYDOWN,    WM_KEYUP,    WM_CHAR,
                                    WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};
    EXPECT_EQ(rec.Sequence(keys), (std::vector<Seq>{{b, WM_KEYDOWN}, {b, WM_CHAR}, {b, WM_KEYUP}}));
    EXPECT_EQ(rec.Of(WM_KEYDOWN)[0].wParam, WPARAM('A'));
    EXPECT_EQ(rec.Of(WM_KEYDOWN)[0].lParam, 1);
    EXPECT_EQ(rec.Of(WM_CHAR)[0].wParam, WPARAM('a'));
    EXPECT_EQ(DWORD(rec.Of(WM_KEYUP)[0].lParam), 0xC0000001u);
    EXPECT_EQ(rec.Count(a, WM_CHAR), 0);

    rec.Clear();
    session.KeyDown(VK_MENU);
    session.Char('x');
    session.KeyUp(VK_MENU);
    EXPECT_EQ(rec.Sequence(keys),
              (std::vector<Seq>{{b, WM_SYSKEYDOWN}, {b, WM_SYSCHAR}, {b, WM_SYSKEYUP}}));
    EXPECT_TRUE(rec.Of(WM_SYSCHAR)[0].lParam & (LPARAM(1) << 29));
}

TEST_F(UserTest, KeyStateFollowsHeldKeysAndButtons) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    SetFocus(top);
    SHORT stateInHandler = 0;
    rec.OnMessage(top, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_KEYDOWN)
            stateInHandler = GetKeyState(VK_SHIFT);
        return false;
    });
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    session.KeyDown(VK_SHIFT);
    EXPECT_LT(stateInHandler, 0);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 1, 1) << "toggled by the press";
    // Held through a sleep, still held.
    Sleep(1000);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    // A second press while down is a repeat (bit 30) and does not toggle.
    rec.Clear();
    session.KeyDown(VK_SHIFT);
    EXPECT_TRUE(rec.Of(WM_KEYDOWN)[0].lParam & (LPARAM(1) << 30));
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 1, 1);
    session.MouseMove(10, 10);
    session.MouseDown();
    EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
    EXPECT_EQ(rec.Of(WM_LBUTTONDOWN)[0].wParam, MK_LBUTTON | MK_SHIFT);
    session.MouseUp();
    session.KeyUp(VK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
    // Left and right variants report as the generic key in messages.
    rec.Clear();
    session.KeyDown(VK_LSHIFT);
    EXPECT_EQ(rec.Of(WM_KEYDOWN)[0].wParam, WPARAM(VK_SHIFT));
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetKeyState(VK_LSHIFT), 0);
    session.KeyUp(VK_LSHIFT);
}

TEST_F(UserTest, FocusChangeOrderWithActivationOfAnotherTopLevel) {
    const HWND top1 = rec.CreateTop(0, 0, 100, 100);
    const HWND a = rec.CreateChild(top1, 1, 0, 0, 10, 10);
    const HWND b = rec.CreateChild(top1, 2, 20, 0, 10, 10);
    const HWND top2 = rec.CreateTop(200, 0, 100, 100);
    const HWND c = rec.CreateChild(top2, 3, 0, 0, 10, 10);
    const std::vector<UINT> focus = {WM_SETFOCUS, WM_KILLFOCUS, WM_ACTIVATE};
    rec.Clear();
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(rec.Sequence(focus), (std::vector<Seq>{{top1, WM_ACTIVATE}, {a, WM_SETFOCUS}}));
    rec.Clear();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(rec.Sequence(focus), (std::vector<Seq>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));
    EXPECT_EQ(rec.Of(WM_KILLFOCUS)[0].wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(rec.Of(WM_SETFOCUS)[0].wParam, reinterpret_cast<WPARAM>(a));
    rec.Clear();
    EXPECT_EQ(SetFocus(c), b);
    EXPECT_EQ(rec.Sequence(focus),
              (std::vector<Seq>{
                  {top1, WM_ACTIVATE}, {top2, WM_ACTIVATE}, {b, WM_KILLFOCUS}, {c, WM_SETFOCUS}}))
        << Describe(rec.Sequence(focus));
    const auto activations = rec.Of(WM_ACTIVATE);
    EXPECT_EQ(LOWORD(activations[0].wParam), WA_INACTIVE);
    EXPECT_EQ(activations[0].lParam, reinterpret_cast<LPARAM>(top2));
    EXPECT_EQ(LOWORD(activations[1].wParam), WA_ACTIVE);
    EXPECT_EQ(GetActiveWindow(), top2);
    rec.Clear();
    EXPECT_EQ(SetFocus(c), c);
    EXPECT_TRUE(rec.Sequence(focus).empty()) << "no messages for the same window";
}

TEST_F(UserTest, FocusLeavesHiddenDisabledAndDestroyedWindows) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND a = rec.CreateChild(top, 1, 0, 0, 10, 10);
    SetFocus(a);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetFocus(), top) << "hiding gives the focus to the parent";
    ShowWindow(a, SW_SHOW);
    SetFocus(a);
    rec.Clear();
    EnableWindow(a, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(rec.Sequence({WM_KILLFOCUS, WM_ENABLE}),
              (std::vector<Seq>{{a, WM_KILLFOCUS}, {a, WM_ENABLE}}));
    EnableWindow(a, TRUE);
    SetFocus(a);
    rec.Clear();
    DestroyWindow(a);
    EXPECT_EQ(GetFocus(), top);
    EXPECT_EQ(rec.Sequence({WM_KILLFOCUS, WM_SETFOCUS, WM_DESTROY}),
              (std::vector<Seq>{{a, WM_KILLFOCUS}, {top, WM_SETFOCUS}, {a, WM_DESTROY}}));
}

TEST_F(UserTest, CursorsAreSharedAndUnknownIdsGiveNone) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorA(nullptr, IDC_SIZENS), arrow);
    EXPECT_NE(LoadCursorA(nullptr, IDC_HAND), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(12101)), nullptr);
    EXPECT_EQ(kw::user::SystemCursorId(LoadCursorA(nullptr, IDC_SIZENS)), 32645);

    SetCursor(arrow);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x1234)), nullptr) << "refused";
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(session.Presenter().Cursor(), arrow);

    // The class cursor is set over the client area by the default handling.
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = "IBeamWindow";
    RegisterClassA(&wc);
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    CreateWindowExA(0, "IBeamWindow", "", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top, nullptr,
                    nullptr, nullptr);
    session.MouseMove(15, 15);
    EXPECT_EQ(GetCursor(), wc.hCursor);
    EXPECT_EQ(GetCursorPos(nullptr), FALSE);
    POINT pt;
    EXPECT_TRUE(GetCursorPos(&pt));
    EXPECT_EQ(pt, (POINT{15, 15}));
}
