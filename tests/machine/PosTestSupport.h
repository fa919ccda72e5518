#pragma once
// A headless host for the jog pad: a host window, the pad created through
// the module's factory and in-place activated at 10, 10 in its initial
// size, a second window that can take the focus or the mouse, an event sink
// that records StartPos, StopPos and PosRel (and may act from inside a
// handler), and input aimed at the pad's buttons.
#include "machine/PosCtrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace pos_test {

using kw::user::MouseButton;

constexpr DISPID kStartPos = CPosCtrl::kEventStartPos;
constexpr DISPID kStopPos = CPosCtrl::kEventStopPos;
constexpr DISPID kPosRel = CPosCtrl::kEventPosRel;

struct Fired {
    DISPID id;
    int val; // -1 for StopPos
    bool operator==(const Fired&) const = default;
};

inline std::string Describe(const std::vector<Fired>& events) {
    std::string text;
    for (const Fired& e : events) {
        char buf[32];
        if (e.id == kStopPos)
            std::snprintf(buf, sizeof buf, "StopPos ");
        else
            std::snprintf(buf, sizeof buf, "%s(0x%X) ", e.id == kStartPos ? "StartPos" : "PosRel",
                          unsigned(e.val));
        text += buf;
    }
    return text.empty() ? "(none)" : text;
}

class PosRecorder final : public TestEventSink {
public:
    PosRecorder() : TestEventSink(kw::ids::IID_DPosEvents) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        int val = -1;
        if (params && params->cArgs == 1) {
            EXPECT_EQ(params->rgvarg[0].vt, VT_I2) << "the direction is a 16-bit integer";
            val = params->rgvarg[0].iVal;
        }
        fired.push_back(Fired{id, val});
        if (auto action = actions.find(id); action != actions.end() && action->second)
            action->second();
        return S_OK;
    }
    std::vector<Fired> fired;
    // Run from inside the handler of an event.
    std::map<DISPID, std::function<void()>> actions;

    int Count(DISPID id) const {
        int n = 0;
        for (const Fired& e : fired)
            n += e.id == id;
        return n;
    }
};

class PosTest : public ::testing::Test {
protected:
    static constexpr int kLeft = 10, kTop = 10;

    void SetUp() override {
        m_host = CreateGreyHost("Handrad", 300, 200);
        // Another place for the focus and the mouse to go.
        m_other = CreateWindowExA(0, "KwTestGreyHost", "other", WS_POPUP | WS_VISIBLE, 400, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
        Create();
    }
    void TearDown() override { Close(); }

    void Create(SHORT mode = 0) {
        Close();
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Pos,
                                       IID_IClassFactory, factory.OutVoid()),
                  S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, m_disp.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
        ASSERT_EQ(persist->InitNew(), S_OK);
        Advise();
        if (mode != 0)
            Put("Mode", mode);
        int cx = 0, cy = 0;
        Pad()->GetControlSize(&cx, &cy);
        const RECT place{kLeft, kTop, kLeft + cx, kTop + cy};
        ComPtr<IOleObject> ole;
        ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
        ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &place), S_OK);
        session.Pump();
    }
    // Deactivates and lets go of the pad; the sink stays connected until
    // the pad is gone.
    void Close() {
        ComPtr<IOleObject> ole;
        if (m_disp && SUCCEEDED(m_disp.As(IID_IOleObject, &ole)))
            ole->Close(0);
        m_disp.Reset();
        session.Pump();
    }
    void Advise() {
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(m_disp.As(IID_IConnectionPointContainer, &container), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(kw::ids::IID_DPosEvents, point.Out()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&events, &cookie), S_OK);
    }

    CPosCtrl* Pad() const {
        return static_cast<CPosCtrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_disp.Get()))));
    }
    HWND Window() const { return m_disp ? Pad()->GetSafeHwnd() : nullptr; }

    void Put(const char* name, CComVariant value) {
        ASSERT_EQ(CallByName(m_disp.Get(), name, DISPATCH_PROPERTYPUT, {value}), S_OK) << name;
    }
    void Put(const char* name, SHORT value) { Put(name, CComVariant::I2(value)); }
    void SetEnabled(bool enabled) { Put("Enabled", CComVariant::Bool(enabled)); }

    // [SECTION] Aiming at buttons and lamps

    // A client point inside rectangle `index` (the picture fills the client
    // area in its initial size).
    POINT PointOf(int index) const {
        const CRect& r = Pad()->Rects()[std::size_t(index)];
        CRect client;
        ::GetClientRect(Window(), &client);
        const int h = Pad()->Picture().height, w = Pad()->Picture().width;
        const int ox = (client.left + client.right) / 2 - w / 2;
        const int oy = (client.top + client.bottom) / 2 - h / 2;
        const int bx = (r.left + r.right) / 2, by = (r.top + r.bottom) / 2;
        return POINT{ox + bx, oy + h - by};
    }
    // The colour of rectangle `index`: its first pixel that is not the
    // background.
    std::uint32_t Colour(int index) const {
        const CRect& r = Pad()->Rects()[std::size_t(index)];
        const std::uint32_t key = Pad()->PixelAt(0, 0);
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x)
                if (Pad()->PixelAt(x, y) != key)
                    return Pad()->PixelAt(x, y);
        return key;
    }
    void MoveTo(int index) {
        const POINT pt = PointOf(index);
        session.MouseMove(Window(), pt.x, pt.y);
    }
    void Press(int index, MouseButton button = MouseButton::Left) {
        MoveTo(index);
        session.MouseDown(button);
    }
    void Click(int index, MouseButton button = MouseButton::Left) {
        MoveTo(index);
        session.Click(button);
    }
    void Focus() {
        ::SetFocus(Window());
        session.Pump();
    }
    // A key with modifiers held around it.
    void KeyWith(std::initializer_list<BYTE> modifiers, BYTE vk) {
        for (BYTE m : modifiers)
            session.KeyDown(m);
        session.Key(vk);
        for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
            session.KeyUp(*it);
    }

    kw::headless::HeadlessSession session;
    PosRecorder events;
    HWND m_host = nullptr;
    HWND m_other = nullptr;
    ComPtr<IDispatch> m_disp;
};

} // namespace pos_test
