#pragma once
// A LineView in a headless grey host, created through its factory and
// driven by name; the host's OpenGL calls go to the context the control
// makes current, as a host's in the same process do.
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/gdi/SysColors.h"
#include "platform/gl/GlTesting.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "views3d/LineViewCtrl.h"

#include <gtest/gtest.h>

namespace kw::test {

class LineViewTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 150;
    static constexpr RECT kPos{10, 10, 10 + kWidth, 10 + kHeight};

    void SetUp() override { m_host = CreateGreyHost("host", 240, 200); }
    void TearDown() override {
        kw::gl::InjectFailure(kw::gl::InjectedFailure::None);
        Close(m_view);
    }

    ComPtr<IDispatch> Create(bool pump = true) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_LineView,
                                       IID_IClassFactory, factory.OutVoid()),
                  S_OK);
        ComPtr<IDispatch> view;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, view.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(view.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->InitNew(), S_OK);
        ComPtr<IOleObject> ole;
        EXPECT_EQ(view.As(IID_IOleObject, &ole), S_OK);
        const RECT pos = kPos;
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &pos), S_OK);
        if (pump)
            session.Pump();
        return view;
    }
    void Close(ComPtr<IDispatch>& view) {
        ComPtr<IOleObject> ole;
        if (view && SUCCEEDED(view.As(IID_IOleObject, &ole)))
            ole->Close(0);
        view.Reset();
    }
    static CLineViewCtrl* Object(const ComPtr<IDispatch>& view) {
        return static_cast<CLineViewCtrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(view.Get()))));
    }
    HRESULT Call(const char* name, std::vector<CComVariant> args = {}, VARIANT* result = nullptr) {
        return CallByName(m_view.Get(), name, DISPATCH_METHOD, std::move(args), result);
    }
    void Method(const char* name, std::vector<CComVariant> args = {}) {
        ASSERT_EQ(Call(name, std::move(args)), S_OK) << name;
    }
    // The control's client area as shown, top row first.
    SurfaceBuffer Picture() {
        session.Pump();
        return session.Pixels(Object(m_view)->GetSafeHwnd());
    }
    static std::uint32_t FacePixel() { return PixelFromColor(GetSysColor(COLOR_BTNFACE)); }

    kw::headless::HeadlessSession session;
    HWND m_host{nullptr};
    ComPtr<IDispatch> m_view;
};

} // namespace kw::test
