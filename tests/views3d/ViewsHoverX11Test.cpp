// The hover tracking of the point picker and the view chooser on a real X
// server (a private Xvfb), with the pointer moved through XTest: the control
// takes the mouse when the pointer comes over it, and lets it go when the
// pointer is over another window.
// GoogleTest comes before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/x11/X11Session.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "views3d/SelectQubeCtrl.h"
#include "views3d/ViewmanagerCtrl.h"

#include "tests/platform/backends/x11/XTestDriver.h"
#include "tests/platform/backends/x11/XvfbServer.h"

#include <chrono>
#include <functional>
#include <thread>

namespace {

using kw::test::XTestDriver;
using kw::test::XvfbServer;

class ViewsHoverX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.IsRunning()) << m_server.Error();
        kw::user::ResetThreadState();
        m_session = std::make_unique<kw::x11::X11Session>(kw::x11::X11Options{m_server.Name()});
        ASSERT_TRUE(m_session->IsOpen());
        m_driver = std::make_unique<XTestDriver>(m_server.Name());
        ASSERT_TRUE(m_driver->IsOpen());
        m_host = CreateGreyHost("host", 200, 120);
        m_other = CreateWindowExA(0, "KwTestGreyHost", "other", WS_POPUP | WS_VISIBLE, 300, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_other, nullptr);
        for (HWND w : {m_host, m_other})
            ASSERT_TRUE(
                PumpUntil([&] { return m_driver->IsMapped(Window(m_session->WindowOf(w))); }));
    }
    void TearDown() override {
        ComPtr<IOleObject> ole;
        if (m_control && SUCCEEDED(m_control.As(IID_IOleObject, &ole)))
            ole->Close(0);
        m_control.Reset();
        kw::user::ResetThreadState();
        m_session.reset();
    }

    // The control of `clsid` at (10, 10) in the host, 80 x 80.
    HWND Insert(const CLSID& clsid) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory,
                                       factory.OutVoid()),
                  S_OK);
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, m_control.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(m_control.As(IID_IPersistPropertyBag, &persist), S_OK);
        persist->InitNew();
        ComPtr<IOleObject> ole;
        EXPECT_EQ(m_control.As(IID_IOleObject, &ole), S_OK);
        const RECT place{10, 10, 90, 90};
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &place), S_OK);
        kw::user::RunPendingMessages();
        return static_cast<COleControl*>(
                   static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_control.Get())))
            ->GetSafeHwnd();
    }

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

    // Moves the pointer over the control, then over the other window.
    void EnterAndLeave(HWND control, POINT inside) {
        m_driver->MoveTo(10 + inside.x, 10 + inside.y);
        ASSERT_TRUE(PumpUntil([&] { return GetCapture() == control; }))
            << "the control takes the mouse when the pointer comes over it";
        m_driver->MoveTo(320, 40);
        EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }))
            << "the control lets the mouse go over another window";
        // And again, leaving over the host around it.
        m_driver->MoveTo(10 + inside.x, 10 + inside.y);
        ASSERT_TRUE(PumpUntil([&] { return GetCapture() == control; }));
        m_driver->MoveTo(150, 60);
        EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
    }

    XvfbServer m_server;
    std::unique_ptr<kw::x11::X11Session> m_session;
    std::unique_ptr<XTestDriver> m_driver;
    HWND m_host = nullptr;
    HWND m_other = nullptr;
    ComPtr<IDispatch> m_control;
};

} // namespace

TEST_F(ViewsHoverX11Test, SelectQubeReleasesTheMouseWhenThePointerLeaves) {
    const HWND control = Insert(kw::ids::CLSID_SelectQube);
    ASSERT_NE(control, nullptr);
    auto* qube = static_cast<CSelectQubeCtrl*>(static_cast<COleControl*>(
        static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_control.Get()))));
    const auto& p = qube->Geometry().table[8];
    EnterAndLeave(control, POINT{p.x, p.y});
    EXPECT_FALSE(qube->IsHovering());
    EXPECT_EQ(qube->HoverPoint(), -1);
}

TEST_F(ViewsHoverX11Test, ViewmanagerReleasesTheMouseWhenThePointerLeaves) {
    const HWND control = Insert(kw::ids::CLSID_Viewmanager);
    ASSERT_NE(control, nullptr);
    auto* views = static_cast<CViewmanagerCtrl*>(static_cast<COleControl*>(
        static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_control.Get()))));
    EnterAndLeave(control, POINT{40 + 20, 40 - 12});
    EXPECT_FALSE(views->IsHovering());
    EXPECT_EQ(views->HoverIndex(), -1);
}
