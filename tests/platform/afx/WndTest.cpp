// CWnd: one dispatch to typed handlers, the previous procedure behind
// Default(), system classes taken over from their first message,
// reflection of notifications, pre-translation up the parents, and objects
// that die inside their own handlers.
#include "platform/afx/Wnd.h"
#include "platform/backends/headless/HeadlessSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CRecordingWnd : public CWnd {
public:
    std::vector<std::string> log;
    bool deleteOnClick{false};
    bool swallowKeys{false};

protected:
    int OnCreate(CREATESTRUCTA* cs) override {
        log.push_back("create");
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT, int cx, int cy) override {
        log.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnLButtonDown(UINT flags, CPoint point) override {
        log.push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y) +
                      ((flags & MK_LBUTTON) ? " L" : ""));
        if (deleteOnClick)
            delete this; // a handler ending its own object
    }
    void OnTimer(UINT_PTR id) override { log.push_back("timer " + std::to_string(id)); }
    void OnSetFocus(CWnd* old) override {
        log.push_back(std::string("focus from ") + (old ? "a window" : "nowhere"));
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            log.push_back("pretranslate");
            return swallowKeys;
        }
        return FALSE;
    }
    void OnKeyDown(UINT key, UINT, UINT) override { log.push_back("key " + std::to_string(key)); }
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        log.push_back("parent command " + std::to_string(HIWORD(wParam)));
        return TRUE;
    }
};

// A child that takes its own notifications back.
class CReflectingButton : public CWnd {
public:
    std::vector<std::string> log;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override {
        cs.lpszClass = "BUTTON";
        cs.style |= BS_PUSHBUTTON;
        return TRUE;
    }
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (msg != WM_COMMAND)
            return FALSE;
        *result = SendMessage(OCM__BASE + msg, wParam, lParam);
        return TRUE;
    }

protected:
    LRESULT OnOcmCommand(WPARAM wParam, LPARAM) override {
        log.push_back("reflected " + std::to_string(HIWORD(wParam)));
        return 0;
    }
    UINT OnGetDlgCode() override {
        log.push_back("dlgcode");
        return CWnd::OnGetDlgCode(); // the button's own answer
    }
};

class WndTest : public ::testing::Test {
protected:
    kw::headless::HeadlessSession session;
};

} // namespace

TEST_F(WndTest, HandlersSeeTheirMessagesFromCreationOn) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 100, 80),
                             static_cast<HWND>(nullptr), 0));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    ASSERT_GE(wnd.log.size(), 2u);
    EXPECT_EQ("create", wnd.log[0]);
    EXPECT_EQ("size 100x80", wnd.log[1]);

    wnd.log.clear();
    session.MouseMove(wnd.m_hWnd, 7, 9);
    session.MouseDown();
    session.MouseUp();
    wnd.SetTimer(5, 100);
    session.Advance(100);
    wnd.SetFocus();
    const std::vector<std::string> expected{"down 7,9 L", "timer 5", "focus from nowhere"};
    EXPECT_EQ(expected, wnd.log);

    // Messages without a handler of the object go to DefWindowProc.
    wnd.SetWindowText("text");
    EXPECT_EQ(4, wnd.GetWindowTextLength());
}

TEST_F(WndTest, AnObjectWithoutAWindowGetsNoTimer) {
    CRecordingWnd wnd;
    EXPECT_EQ(wnd.SetTimer(1, 100), 0u) << "a thread timer would outlive every KillTimer";
    EXPECT_FALSE(wnd.KillTimer(1));
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 50, 50),
                             static_cast<HWND>(nullptr), 0));
    wnd.log.clear();
    session.Advance(1000);
    EXPECT_TRUE(wnd.log.empty()) << wnd.log.front();
}

TEST_F(WndTest, ObjectGoneInsideItsHandlerEndsTheWindowSafely) {
    auto* wnd = new CRecordingWnd;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "w", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 50, 50),
                              static_cast<HWND>(nullptr), 0));
    const HWND hwnd = wnd->m_hWnd;
    wnd->deleteOnClick = true;
    session.MouseMove(hwnd, 5, 5);
    session.MouseDown();
    session.MouseUp();
    EXPECT_FALSE(::IsWindow(hwnd)) << "the object's window outlived it";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
}

TEST_F(WndTest, SubclassingKeepsThePreviousProcedureForDefault) {
    const HWND button = ::CreateWindowExA(0, "BUTTON", "OK", WS_OVERLAPPED | BS_PUSHBUTTON, 0, 0,
                                          60, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(button);
    const LONG_PTR original = ::GetWindowLongPtrA(button, GWLP_WNDPROC);
    {
        CReflectingButton wnd;
        ASSERT_TRUE(wnd.SubclassWindow(button));
        EXPECT_FALSE(CWnd().SubclassWindow(button)) << "a window has one object";
        // The button still answers as a button through Default().
        EXPECT_TRUE(::SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
        EXPECT_EQ(std::vector<std::string>{"dlgcode"}, wnd.log);
        EXPECT_EQ(button, wnd.UnsubclassWindow());
    }
    EXPECT_EQ(original, ::GetWindowLongPtrA(button, GWLP_WNDPROC));
    EXPECT_TRUE(::IsWindow(button)) << "a subclassed window is not the object's to destroy";
    ::DestroyWindow(button);
}

TEST_F(WndTest, ChildNotificationsAreReflectedToTheChildFirst) {
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 120, 80),
                                static_cast<HWND>(nullptr), 0));
    CReflectingButton button;
    ASSERT_TRUE(
        button.CreateEx(0, nullptr, "b", WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 30), &parent, 7));
    CRecordingWnd plain;
    ASSERT_TRUE(
        plain.CreateEx(0, nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(80, 10, 100, 30), &parent, 8));
    parent.log.clear();

    session.MouseMove(button.m_hWnd, 5, 5);
    session.Click();
    EXPECT_EQ(std::vector<std::string>{"reflected 0"}, button.log) << "BN_CLICKED";
    EXPECT_TRUE(parent.log.empty()) << "the child handled it";

    // A child that does not take its notifications leaves them to the parent.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(8, 3), reinterpret_cast<LPARAM>(plain.m_hWnd));
    EXPECT_EQ(std::vector<std::string>{"parent command 3"}, parent.log);
}

TEST_F(WndTest, PreTranslationWalksUpTheParents) {
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 120, 80),
                                static_cast<HWND>(nullptr), 0));
    CRecordingWnd child;
    ASSERT_TRUE(
        child.CreateEx(0, nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 1));
    child.SetFocus();
    parent.log.clear();
    child.log.clear();

    session.Key(VK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"pretranslate", "key 13"}), child.log);
    EXPECT_EQ(std::vector<std::string>{"pretranslate"}, parent.log);

    parent.swallowKeys = true;
    child.log.clear();
    session.Key(VK_RETURN);
    EXPECT_EQ(std::vector<std::string>{"pretranslate"}, child.log) << "the parent swallowed it";
}

TEST_F(WndTest, FromHandleWrapsForeignWindowsWithoutOwningThem) {
    const HWND foreign = ::CreateWindowExA(0, "STATIC", "x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                           nullptr, nullptr, nullptr);
    CWnd* wrapper = CWnd::FromHandle(foreign);
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(foreign, wrapper->m_hWnd);
    EXPECT_EQ(wrapper, CWnd::FromHandle(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    ::DestroyWindow(foreign);
    EXPECT_EQ(nullptr, CWnd::FromHandle(foreign));
}
