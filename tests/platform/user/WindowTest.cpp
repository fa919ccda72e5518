// Creation, destruction, the tree, geometry, text and long values.
#include "tests/platform/user/UserTestFixture.h"

#include <vector>

using namespace kw::test;

TEST_F(UserTest, CreationSendsNcCreateCreateSizeMoveThenShows) {
    const HWND top = rec.CreateTop(10, 20, 200, 100);
    ASSERT_TRUE(top);
    const HWND child = rec.CreateChild(top, 7, 5, 6, 50, 40, WS_CHILD | WS_VISIBLE | WS_BORDER);
    ASSERT_TRUE(child);
    const std::vector<Seq> expected = {
        {top, WM_NCCREATE},   {top, WM_CREATE},       {top, WM_SIZE},     {top, WM_MOVE},
        {top, WM_SHOWWINDOW}, {child, WM_NCCREATE},   {child, WM_CREATE}, {child, WM_SIZE},
        {child, WM_MOVE},     {child, WM_SHOWWINDOW},
    };
    EXPECT_EQ(rec.Sequence(), expected) << Describe(rec.Sequence());
    // WM_SIZE carries the client size (less the 1-pixel border), WM_MOVE the
    // client origin in the parent.
    const auto sizes = rec.Of(WM_SIZE);
    EXPECT_EQ(sizes[1].lParam, MAKELPARAM(48, 38));
    const auto moves = rec.Of(WM_MOVE);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(moves[1].lParam, MAKELPARAM(6, 7));
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetDlgItem(top, 7), child);
    char text[16] = "marker";
    EXPECT_EQ(GetWindowTextA(child, text, sizeof text), 5);
    EXPECT_STREQ(text, "child");
}

TEST_F(UserTest, CreateFailsWhenCreateAnswersMinusOneOrNcCreateFalse) {
    rec.OnAnyMessage([](HWND, UINT msg, WPARAM, LPARAM, LRESULT* result) {
        if (msg != WM_CREATE)
            return false;
        *result = -1;
        return true;
    });
    EXPECT_EQ(rec.CreateTop(0, 0, 10, 10), nullptr);
    const std::vector<UINT> wanted = {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY};
    ASSERT_EQ(rec.Sequence(wanted).size(), 4u) << Describe(rec.Sequence(wanted));
    EXPECT_EQ(rec.Sequence(wanted)[2].msg, UINT(WM_DESTROY));

    rec.Clear();
    rec.OnAnyMessage([](HWND, UINT msg, WPARAM, LPARAM, LRESULT* result) {
        if (msg != WM_NCCREATE)
            return false;
        *result = FALSE;
        return true;
    });
    EXPECT_EQ(rec.CreateTop(0, 0, 10, 10), nullptr);
    EXPECT_EQ(rec.Sequence(wanted).size(), 2u) << Describe(rec.Sequence(wanted));
    EXPECT_EQ(rec.Sequence(wanted).back().msg, UINT(WM_NCDESTROY));
}

TEST_F(UserTest, ChildNeedsALiveParentAndClassMustExist) {
    EXPECT_EQ(rec.CreateChild(nullptr, 1, 0, 0, 5, 5), nullptr);
    EXPECT_EQ(rec.CreateChild(reinterpret_cast<HWND>(0x1234), 1, 0, 0, 5, 5), nullptr);
    EXPECT_EQ(rec.CreateTop(0, 0, 5, 5, WS_VISIBLE, 0, "NoSuchClass"), nullptr);
}

TEST_F(UserTest, DestroySendsDestroyParentsFirstThenNcDestroyChildrenFirst) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND a = rec.CreateChild(top, 1, 0, 0, 50, 50);
    const HWND a1 = rec.CreateChild(a, 11, 0, 0, 10, 10);
    const HWND b = rec.CreateChild(top, 2, 50, 0, 50, 50);
    // While WM_DESTROY runs, the whole tree is still there.
    bool childAliveInParentDestroy = false;
    rec.OnMessage(top, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_DESTROY)
            childAliveInParentDestroy = IsWindow(a1) && IsWindow(b);
        return false;
    });
    rec.Clear();
    EXPECT_TRUE(DestroyWindow(top));
    const std::vector<Seq> expected = {
        {top, WM_DESTROY},  {a, WM_DESTROY},   {a1, WM_DESTROY},  {b, WM_DESTROY},
        {a1, WM_NCDESTROY}, {a, WM_NCDESTROY}, {b, WM_NCDESTROY}, {top, WM_NCDESTROY},
    };
    EXPECT_EQ(rec.Sequence({WM_DESTROY, WM_NCDESTROY}), expected)
        << Describe(rec.Sequence({WM_DESTROY, WM_NCDESTROY}));
    EXPECT_TRUE(childAliveInParentDestroy);
    for (HWND h : {top, a, a1, b})
        EXPECT_FALSE(IsWindow(h));
}

TEST_F(UserTest, StaleAndMadeUpHandlesFailCleanly) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(DestroyWindow(nullptr));
    for (HWND bad : {top, reinterpret_cast<HWND>(0xDEAD)}) {
        EXPECT_FALSE(IsWindow(bad));
        EXPECT_FALSE(DestroyWindow(bad));
        EXPECT_EQ(SendMessageA(bad, WM_USER, 0, 0), 0);
        EXPECT_FALSE(PostMessageA(bad, WM_USER, 0, 0));
        RECT rc{1, 2, 3, 4};
        EXPECT_FALSE(GetClientRect(bad, &rc));
        EXPECT_EQ(rc.left, 1) << "the rectangle must be left alone";
        EXPECT_FALSE(ShowWindow(bad, SW_SHOW));
        EXPECT_FALSE(InvalidateRect(bad, nullptr, TRUE));
        EXPECT_EQ(SetTimer(bad, 1, 100, nullptr), 0u);
        EXPECT_EQ(SetCapture(bad), nullptr);
        EXPECT_EQ(GetWindowLongPtrA(bad, GWL_STYLE), 0);
        EXPECT_EQ(GetDC(bad), nullptr);
    }
    // A new window never gets the handle of a destroyed one.
    const HWND next = rec.CreateTop(0, 0, 10, 10);
    EXPECT_NE(next, top);
}

TEST_F(UserTest, WindowDestroyingItselfOrItsParentInsideAHandler) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND child = rec.CreateChild(top, 1, 10, 10, 20, 20);
    rec.OnMessage(child, [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_LBUTTONDOWN) {
            EXPECT_TRUE(DestroyWindow(hwnd));
            EXPECT_FALSE(IsWindow(hwnd));
        }
        if (msg == WM_RBUTTONDOWN)
            DestroyWindow(top);
        return false;
    });
    session.MouseMove(child, 5, 5);
    session.MouseDown();
    session.MouseUp();
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(IsWindow(top));

    const HWND child2 = rec.CreateChild(top, 2, 10, 10, 20, 20);
    rec.OnMessage(child2, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_RBUTTONDOWN)
            DestroyWindow(top);
        if (msg == WM_DESTROY) {
            EXPECT_FALSE(DestroyWindow(top)) << "already being destroyed";
        }
        return false;
    });
    session.MouseMove(child2, 5, 5);
    session.MouseDown(kw::user::MouseButton::Right);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child2));
    session.MouseUp(kw::user::MouseButton::Right);
}

TEST_F(UserTest, ClientAreaExcludesBorderAndClientEdge) {
    const HWND top = rec.CreateTop(100, 50, 300, 200);
    const HWND plain = rec.CreateChild(top, 1, 10, 20, 40, 30);
    const HWND framed = rec.CreateChild(top, 2, 60, 20, 40, 30, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                        WS_EX_CLIENTEDGE);
    RECT rc;
    GetClientRect(plain, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 40, 30}));
    GetClientRect(framed, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 34, 24}));
    GetWindowRect(framed, &rc);
    EXPECT_EQ(rc, (RECT{160, 70, 200, 100}));
    POINT pt{0, 0};
    ClientToScreen(framed, &pt);
    EXPECT_EQ(pt, (POINT{163, 73}));
    ScreenToClient(plain, &pt);
    EXPECT_EQ(pt, (POINT{53, 3}));
    POINT pts[1] = {{0, 0}};
    MapWindowPoints(framed, plain, pts, 1);
    EXPECT_EQ(pts[0], (POINT{53, 3}));
}

TEST_F(UserTest, MoveAndSizeSendMoveThenSizeForWhatChanged) {
    const HWND top = rec.CreateTop(0, 0, 300, 200);
    const HWND child = rec.CreateChild(top, 1, 10, 10, 40, 30);
    rec.Clear();
    MoveWindow(child, 20, 10, 40, 30, TRUE);
    EXPECT_EQ(rec.Sequence({WM_MOVE, WM_SIZE}), (std::vector<Seq>{{child, WM_MOVE}}));
    rec.Clear();
    SetWindowPos(child, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(rec.Sequence({WM_MOVE, WM_SIZE}), (std::vector<Seq>{{child, WM_SIZE}}));
    EXPECT_EQ(rec.Of(WM_SIZE)[0].lParam, MAKELPARAM(60, 50));
    rec.Clear();
    MoveWindow(child, 0, 0, 10, 10, TRUE);
    EXPECT_EQ(rec.Sequence({WM_MOVE, WM_SIZE}),
              (std::vector<Seq>{{child, WM_MOVE}, {child, WM_SIZE}}));
    // The top-level surface follows the window's size.
    MoveWindow(top, 0, 0, 120, 80, TRUE);
    PixelSurface surface;
    ASSERT_TRUE(kw::user::TopLevelSurface(top, &surface));
    EXPECT_EQ(surface.width, 120);
    EXPECT_EQ(surface.height, 80);
}

TEST_F(UserTest, ShowHideAndEnableSendTheirMessagesOnlyOnChange) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND child = rec.CreateChild(top, 1, 0, 0, 10, 10, WS_CHILD);
    rec.Clear();
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(child));
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child)) << "a hidden parent hides its children";
    EXPECT_EQ(rec.Count(child, WM_SHOWWINDOW), 1);

    rec.Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_TRUE(EnableWindow(child, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_EQ(rec.Sequence({WM_ENABLE, WM_CANCELMODE}),
              (std::vector<Seq>{{child, WM_CANCELMODE}, {child, WM_ENABLE}, {child, WM_ENABLE}}));
    EXPECT_EQ(rec.Of(WM_ENABLE)[0].wParam, WPARAM(FALSE));
    EXPECT_EQ(rec.Of(WM_ENABLE)[1].wParam, WPARAM(TRUE));
    EXPECT_TRUE(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(UserTest, WindowLongValuesAndSubclassing) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    EXPECT_EQ(SetWindowLongPtrA(top, GWLP_USERDATA, 42), 0);
    EXPECT_EQ(GetWindowLongPtrA(top, GWLP_USERDATA), 42);
    static WNDPROC original = nullptr;
    static int seen = 0;
    seen = 0;
    WNDPROC sub = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_USER + 1)
            ++seen;
        return CallWindowProcA(original, hwnd, msg, wParam, lParam);
    };
    original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sub)));
    EXPECT_EQ(original, &MessageRecorder::Proc);
    SendMessageA(top, WM_USER + 1, 0, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(rec.Count(top, WM_USER + 1), 1) << "the original procedure still runs";
    // A 32-bit SetWindowLong cannot hold a procedure.
    EXPECT_EQ(SetWindowLongA(top, GWL_WNDPROC, 0x1234), 0);
    EXPECT_EQ(GetWindowLongPtrA(top, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(sub));
    // Out-of-range extra bytes are refused.
    EXPECT_EQ(SetWindowLongPtrA(top, 0, 5), 0);
    EXPECT_EQ(GetWindowLongPtrA(top, 0), 0);
}

TEST_F(UserTest, ClassesAreNamedWithoutCaseAndCannotBeUnregisteredWhileUsed) {
    WNDCLASSA wc;
    EXPECT_TRUE(GetClassInfoA(nullptr, "recorder", &wc));
    EXPECT_EQ(wc.lpfnWndProc, &MessageRecorder::Proc);
    EXPECT_EQ(RegisterClassA(&wc), 0) << "the name is taken";
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    EXPECT_FALSE(UnregisterClassA("Recorder", nullptr));
    DestroyWindow(top);
    WNDCLASSA other{};
    other.lpfnWndProc = &DefWindowProcA;
    other.lpszClassName = "Transient";
    EXPECT_NE(RegisterClassA(&other), 0);
    EXPECT_TRUE(UnregisterClassA("TRANSIENT", nullptr));
    EXPECT_FALSE(GetClassInfoA(nullptr, "Transient", &wc));
}
