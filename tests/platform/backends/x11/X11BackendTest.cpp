// The X11 backend against a private Xvfb server, with real input injected
// through XTest by a second client that also plays the window manager.
// GoogleTest comes before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "platform/backends/x11/MessageBoxWindow.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/backends/x11/X11Session.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/User.h"

#include "tests/platform/backends/x11/XTestDriver.h"
#include "tests/platform/backends/x11/XvfbServer.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

using kw::test::XTestDriver;
using kw::test::XvfbServer;

struct Logged {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool shiftHeld; // GetKeyState(VK_SHIFT) when it arrived
};
std::vector<Logged>* g_log = nullptr;
constexpr COLORREF kFill = RGB(200, 30, 40);

LRESULT LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        const HBRUSH brush = CreateSolidBrush(kFill);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        g_log->push_back({msg, wParam, lParam, false});
        return 0; // Stays open: the test looks at it.
    default:
        if ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
            (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_SIZE || msg == WM_SETFOCUS ||
            msg == WM_KILLFOCUS || msg == WM_TIMER)
            g_log->push_back({msg, wParam, lParam, GetKeyState(VK_SHIFT) < 0});
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

class X11BackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.IsRunning()) << m_server.Error();
        kw::user::ResetThreadState();
        m_session = std::make_unique<kw::x11::X11Session>(Options());
        ASSERT_TRUE(m_session->IsOpen());
        m_driver = std::make_unique<XTestDriver>(m_server.Name());
        ASSERT_TRUE(m_driver->IsOpen());
        g_log = &m_log;
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &LoggingProc;
        wc.lpszClassName = "X11BackendTestWindow";
        RegisterClassA(&wc);
        m_hwnd = CreateWindowExA(0, wc.lpszClassName, "Backend test \xDF",
                                 WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 200, 150, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        m_window = Window(m_session->WindowOf(m_hwnd));
        ASSERT_NE(m_window, None);
        ASSERT_TRUE(PumpUntil([&] { return m_driver->IsMapped(m_window); }));
        // No window manager runs: the driver gives the focus, as one would.
        m_driver->Focus(m_window);
        ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == m_hwnd; }));
        m_log.clear();
    }

    void TearDown() override {
        kw::user::ResetThreadState();
        m_session.reset();
        g_log = nullptr;
    }

    virtual kw::x11::X11Options Options() const { return kw::x11::X11Options{m_server.Name()}; }

    // Runs the message loop until `done` holds, for at most two seconds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (;;) {
            kw::user::RunPendingMessages();
            if (done())
                return true;
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    bool PumpUntilLogged(UINT msg) {
        return PumpUntil([&] { return Find(msg) != nullptr; });
    }
    const Logged* Find(UINT msg) const {
        for (const Logged& l : m_log)
            if (l.msg == msg)
                return &l;
        return nullptr;
    }
    std::vector<UINT> Messages(UINT first, UINT last) const {
        std::vector<UINT> found;
        for (const Logged& l : m_log)
            if (l.msg >= first && l.msg <= last && l.msg != WM_MOUSEMOVE)
                found.push_back(l.msg);
        return found;
    }

    XvfbServer m_server;
    std::unique_ptr<kw::x11::X11Session> m_session;
    std::unique_ptr<XTestDriver> m_driver;
    std::vector<Logged> m_log;
    HWND m_hwnd{nullptr};
    Window m_window{None};
};

TEST_F(X11BackendTest, TopLevelBecomesAnXWindowWithItsTitlePlaceAndPixels) {
    const auto g = m_driver->GeometryOf(m_window);
    EXPECT_EQ(g.x, 100);
    EXPECT_EQ(g.y, 100);
    EXPECT_EQ(g.width, 200);
    EXPECT_EQ(g.height, 150);
    EXPECT_EQ(m_driver->Property(m_window, "_NET_WM_NAME"), "Backend test \xC3\x9F");
    EXPECT_EQ(m_driver->Property(m_window, "WM_NAME"), "Backend test \xDF");
    ASSERT_TRUE(PumpUntil([&] { return m_driver->Pixel(m_window, 5, 5) == 0xC81E28; }));
    EXPECT_EQ(m_driver->Pixel(m_window, 199, 149), 0xC81E28u);

    // The program moves the window; the server follows.
    SetWindowPos(m_hwnd, nullptr, 50, 60, 120, 90, SWP_NOZORDER);
    ASSERT_TRUE(PumpUntil([&] { return m_driver->GeometryOf(m_window).width == 120; }));
    const auto moved = m_driver->GeometryOf(m_window);
    EXPECT_EQ(moved.x, 50);
    EXPECT_EQ(moved.y, 60);
    EXPECT_EQ(moved.height, 90);
}

TEST_F(X11BackendTest, ResizeOnTheServerResizesTheWindowAndRepaintsIt) {
    XMoveResizeWindow(m_driver->Get(), m_window, 30, 40, 300, 220);
    XSync(m_driver->Get(), False);
    ASSERT_TRUE(PumpUntil([&] {
        RECT rc{};
        GetWindowRect(m_hwnd, &rc);
        return rc.right - rc.left == 300 && rc.bottom - rc.top == 220 && rc.left == 30;
    }));
    const Logged* size = Find(WM_SIZE);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(LOWORD(size->lParam), 300);
    EXPECT_EQ(HIWORD(size->lParam), 220);
    // The new area shows the window's own pixels.
    EXPECT_TRUE(PumpUntil([&] { return m_driver->Pixel(m_window, 290, 210) == 0xC81E28; }));
}

// The same without shared memory: the path taken with a remote display.
class X11BackendPlainImageTest : public X11BackendTest {
protected:
    kw::x11::X11Options Options() const override {
        kw::x11::X11Options options{m_server.Name()};
        options.sharedMemory = false;
        return options;
    }
};

TEST_F(X11BackendPlainImageTest, PixelsArriveWithoutSharedMemoryToo) {
    ASSERT_TRUE(PumpUntil([&] { return m_driver->Pixel(m_window, 5, 5) == 0xC81E28; }));
    XResizeWindow(m_driver->Get(), m_window, 260, 180);
    XSync(m_driver->Get(), False);
    EXPECT_TRUE(PumpUntil([&] { return m_driver->Pixel(m_window, 250, 170) == 0xC81E28; }));
}

TEST_F(X11BackendTest, MouseButtonsWheelAndDoubleClicksArriveAsMessages) {
    m_driver->MoveTo(110, 120);
    ASSERT_TRUE(PumpUntilLogged(WM_MOUSEMOVE));
    EXPECT_EQ(Find(WM_MOUSEMOVE)->lParam, MAKELPARAM(10, 20));

    m_driver->Click(Button1);
    m_driver->Click(Button3);
    m_driver->Click(Button3); // within the double-click time and distance
    m_driver->Click(Button4);
    m_driver->Click(Button5);
    ASSERT_TRUE(PumpUntil([&] {
        return std::count_if(m_log.begin(), m_log.end(),
                             [](const Logged& l) { return l.msg == WM_MOUSEWHEEL; }) == 2;
    }));
    EXPECT_EQ(Messages(WM_LBUTTONDOWN, WM_MBUTTONDBLCLK),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                                 WM_RBUTTONDBLCLK, WM_RBUTTONUP}));
    std::vector<short> deltas;
    for (const Logged& l : m_log)
        if (l.msg == WM_MOUSEWHEEL)
            deltas.push_back(GET_WHEEL_DELTA_WPARAM(l.wParam));
    EXPECT_EQ(deltas, (std::vector<short>{WHEEL_DELTA, -WHEEL_DELTA}));
}

TEST_F(X11BackendTest, KeysGiveVirtualKeysCharactersAndModifierState) {
    m_driver->TypeText("a!");
    m_driver->Key(XK_Control_L, true);
    m_driver->Type(XK_c);
    m_driver->Key(XK_Control_L, false);
    m_driver->Type(XK_Return);
    ASSERT_TRUE(PumpUntil([&] {
        return std::count_if(m_log.begin(), m_log.end(),
                             [](const Logged& l) { return l.msg == WM_CHAR; }) == 4;
    }));
    std::vector<WPARAM> chars, downs;
    bool shiftWithBang = false;
    for (const Logged& l : m_log) {
        if (l.msg == WM_CHAR) {
            chars.push_back(l.wParam);
            shiftWithBang = shiftWithBang || (l.wParam == '!' && l.shiftHeld);
        }
        if (l.msg == WM_KEYDOWN)
            downs.push_back(l.wParam);
    }
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', '!', 3, '\r'}));
    EXPECT_EQ(downs, (std::vector<WPARAM>{'A', VK_SHIFT, '1', VK_CONTROL, 'C', VK_RETURN}));
    EXPECT_TRUE(shiftWithBang);
    EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0);
}

TEST_F(X11BackendTest, CaptureKeepsTheMouseOutsideAndReleasingItLetsGo) {
    SetCapture(m_hwnd);
    kw::user::RunPendingMessages(); // the pointer is grabbed on the next poll
    m_driver->MoveTo(500, 400);
    ASSERT_TRUE(PumpUntilLogged(WM_MOUSEMOVE));
    EXPECT_EQ(Find(WM_MOUSEMOVE)->lParam, MAKELPARAM(400, 300));

    ReleaseCapture();
    kw::user::RunPendingMessages();
    m_log.clear();
    m_driver->MoveTo(600, 500);
    m_driver->MoveTo(105, 105); // back inside: the only move we hear of
    ASSERT_TRUE(PumpUntilLogged(WM_MOUSEMOVE));
    EXPECT_EQ(Find(WM_MOUSEMOVE)->lParam, MAKELPARAM(5, 5));
    EXPECT_EQ(WindowFromPoint(POINT{600, 500}), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{105, 105}), m_hwnd);
}

TEST_F(X11BackendTest, FocusLeavingDeactivatesAndReturningRestoresIt) {
    SetFocus(m_hwnd);
    m_driver->Focus(m_driver->Root());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_NE(Find(WM_KILLFOCUS), nullptr);
    m_driver->Focus(m_window);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == m_hwnd; }));
    EXPECT_EQ(GetActiveWindow(), m_hwnd);
}

TEST_F(X11BackendTest, CloseRequestOfTheWindowManagerBecomesWmClose) {
    m_driver->RequestClose(m_window);
    EXPECT_TRUE(PumpUntilLogged(WM_CLOSE));
}

TEST_F(X11BackendTest, GetMessageWaitsForTimersAndForTheServer) {
    const auto start = std::chrono::steady_clock::now();
    SetTimer(m_hwnd, 7, 80, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
        DispatchMessageA(&msg);
    KillTimer(m_hwnd, 7);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(75));

    // No timer left: only the server can end the wait. A thread moves the
    // pointer after a while; a safety timer ends a wait that never ends.
    SetTimer(m_hwnd, 8, 5000, nullptr);
    std::thread mover([name = m_server.Name()] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        XTestDriver other(name);
        other.MoveTo(150, 150);
    });
    GetMessageA(&msg, nullptr, 0, 0);
    mover.join();
    KillTimer(m_hwnd, 8);
    EXPECT_EQ(msg.message, UINT(WM_MOUSEMOVE));
}

TEST_F(X11BackendTest, MessageBoxIsAModalWindowAnsweredByItsButtons) {
    // While the box runs its loop, a timer of the owner clicks "No" as a
    // user would, on the server.
    struct Click {
        XTestDriver* driver;
        bool done = false;
    };
    static Click click;
    click = Click{m_driver.get()};
    SetTimer(m_hwnd, 9, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        const HWND box = GetActiveWindow();
        const HWND no = box ? GetDlgItem(box, IDNO) : nullptr;
        if (click.done || !no || !IsWindowVisible(box))
            return;
        RECT rc;
        GetWindowRect(no, &rc);
        click.driver->MoveTo((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        click.driver->Click(Button1);
        click.done = true;
    });
    const kw::user::ModalUiHandler previous = kw::user::SetModalUiHandler(m_session->ModalUi());
    const int answer = MessageBoxA(m_hwnd, "Save the changes?", "Question", MB_YESNO);
    kw::user::SetModalUiHandler(previous);
    KillTimer(m_hwnd, 9);
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(IsWindowEnabled(m_hwnd));
}

TEST_F(X11BackendTest, EmbeddedWindowLivesInsideTheHostsWindow) {
    Display* d = m_driver->Get();
    const Window host = XCreateSimpleWindow(d, m_driver->Root(), 300, 200, 320, 240, 0, 0, 0);
    XMapWindow(d, host);
    XSync(d, False);
    EXPECT_FALSE(m_session->SetEmbedParent(0xdeadbeef)) << "no such window";
    ASSERT_TRUE(m_session->SetEmbedParent(host));
    const HWND embedded =
        CreateWindowExA(0, "X11BackendTestWindow", "embedded", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80,
                        nullptr, nullptr, nullptr, nullptr);
    const Window window = Window(m_session->WindowOf(embedded));
    ASSERT_TRUE(PumpUntil([&] { return m_driver->IsMapped(window); }));
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    XQueryTree(d, window, &root, &parent, &children, &count);
    if (children)
        XFree(children);
    EXPECT_EQ(parent, host);
    RECT rc{};
    GetWindowRect(embedded, &rc);
    EXPECT_EQ(rc.left, 300);
    EXPECT_EQ(rc.top, 200);

    // When the host's window goes, ours goes with it: the window hears WM_CLOSE.
    XDestroyWindow(d, host);
    XSync(d, False);
    m_log.clear();
    EXPECT_TRUE(PumpUntilLogged(WM_CLOSE));
}

TEST(MessageBoxButtons, FollowTheTypeAndClosingAnswersOnlyWhereTheBoxAllowsIt) {
    using kw::x11::MessageBoxButtons;
    using kw::x11::MessageBoxCloseAnswer;
    EXPECT_EQ(MessageBoxButtons(MB_YESNOCANCEL | MB_ICONQUESTION).size(), 3u);
    EXPECT_EQ(MessageBoxButtons(0x0F).front().id, IDOK); // unknown: OK
    EXPECT_EQ(MessageBoxCloseAnswer(MB_OK), IDOK);
    EXPECT_EQ(MessageBoxCloseAnswer(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxCloseAnswer(MB_YESNO), 0);
    EXPECT_EQ(MessageBoxCloseAnswer(MB_ABORTRETRYIGNORE), 0);
}

} // namespace

TEST(MessageBoxIcon, EachTypeDrawsItsSignAndNoTypeDrawsNothing) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, 40, 40};
    auto count = [&](COLORREF colour) {
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                n += GetPixel(dc, x, y) == colour;
        return n;
    };
    const struct {
        UINT type;
        COLORREF face, mark;
    } cases[] = {{MB_ICONHAND, RGB(0xD0, 0x10, 0x10), RGB(0xFF, 0xFF, 0xFF)},
                 {MB_ICONQUESTION, RGB(0x20, 0x50, 0xC8), RGB(0xFF, 0xFF, 0xFF)},
                 {MB_ICONEXCLAMATION, RGB(0xFF, 0xD8, 0x00), RGB(0, 0, 0)},
                 {MB_ICONASTERISK, RGB(0x20, 0x50, 0xC8), RGB(0xFF, 0xFF, 0xFF)}};
    for (const auto& c : cases) {
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        ASSERT_TRUE(kw::x11::DrawMessageBoxIcon(dc, 4, 4, c.type | MB_YESNO));
        EXPECT_GT(count(c.face), 200) << "type " << c.type;
        EXPECT_GT(count(c.mark), 15) << "type " << c.type << ": the sign on the face";
        EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0x80, 0x80, 0x80)) << "outside the icon";
    }
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_FALSE(kw::x11::DrawMessageBoxIcon(dc, 4, 4, MB_OK));
    EXPECT_EQ(count(RGB(0x80, 0x80, 0x80)), 1600);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
