#pragma once
// A headless host for the picture buttons: a grey host window, the control
// made through the module's factory and in-place activated, an event sink
// that records when each Click arrives on the virtual clock, and late-bound
// calls by name.
#include "buttons/BmpButton1Ctrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace buttons_test {

class ClickRecorder final : public TestEventSink {
public:
    explicit ClickRecorder(const IID& events, kw::headless::HeadlessSession& session)
        : TestEventSink(events), m_session(session) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (id == DISPID_CLICK) {
            times.push_back(m_session.Clock().Now());
            if (onClick)
                onClick();
        }
        return S_OK;
    }
    std::vector<ULONGLONG> times; // virtual clock at each Click
    std::function<void()> onClick;

private:
    kw::headless::HeadlessSession& m_session;
};

template <class Ctrl> class ButtonTest : public ::testing::Test {
protected:
    ButtonTest(const CLSID& clsid, const IID& events)
        : clicks(events, session), m_clsid(clsid), m_events(events) {}

    void SetUp() override { m_host = CreateGreyHost("Bedienfeld", 300, 200); }
    void TearDown() override {
        for (auto& extra : m_extra)
            Close(extra);
        Close(m_disp);
    }

    ComPtr<IDispatch> Make(RECT place, bool advise) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), m_clsid, IID_IClassFactory,
                                       factory.OutVoid()),
                  S_OK);
        ComPtr<IDispatch> disp;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, disp.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(disp.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->InitNew(), S_OK);
        if (advise) {
            ComPtr<IConnectionPointContainer> container;
            EXPECT_EQ(disp.As(IID_IConnectionPointContainer, &container), S_OK);
            ComPtr<IConnectionPoint> point;
            EXPECT_EQ(container->FindConnectionPoint(m_events, point.Out()), S_OK);
            DWORD cookie = 0;
            EXPECT_EQ(point->Advise(&clicks, &cookie), S_OK);
        }
        ComPtr<IOleObject> ole;
        EXPECT_EQ(disp.As(IID_IOleObject, &ole), S_OK);
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &place), S_OK);
        session.Pump();
        return disp;
    }
    void Create(RECT place = RECT{20, 20, 100, 60}) {
        Close(m_disp);
        m_disp = Make(place, true);
        m_place = place;
    }
    void Close(ComPtr<IDispatch>& disp) {
        ComPtr<IOleObject> ole;
        if (disp && SUCCEEDED(disp.As(IID_IOleObject, &ole)))
            ole->Close(0);
        disp.Reset();
    }
    static Ctrl* Object(const ComPtr<IDispatch>& disp) {
        return static_cast<Ctrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(disp.Get()))));
    }
    Ctrl* Button() const { return Object(m_disp); }
    HWND Window() const { return Button()->GetSafeHwnd(); }

    HRESULT Call(const char* name, WORD flags, std::vector<CComVariant> args = {},
                 VARIANT* result = nullptr) {
        return CallByName(m_disp.Get(), name, flags, std::move(args), result);
    }
    void Put(const char* name, CComVariant value) {
        ASSERT_EQ(Call(name, DISPATCH_PROPERTYPUT, {value}), S_OK) << name;
    }
    CComVariant Get(const char* name) {
        CComVariant result;
        EXPECT_EQ(Call(name, DISPATCH_PROPERTYGET, {}, &result), S_OK) << name;
        return result;
    }

    // Saves the control into a property bag and loads it into a new one.
    ComPtr<IDispatch> SaveAndLoad(ComPtr<CJsonPropertyBag>* saved = nullptr) {
        auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
        m_extra.push_back(Make(RECT{150, 20, 230, 60}, false));
        ComPtr<IPersistPropertyBag> second;
        EXPECT_EQ(m_extra.back().As(IID_IPersistPropertyBag, &second), S_OK);
        EXPECT_EQ(second->Load(bag.Get(), nullptr), S_OK);
        if (saved)
            *saved = bag;
        session.Pump();
        return m_extra.back();
    }

    // Mouse over the button, in its client coordinates.
    void MoveInside(int x = 10, int y = 10) { session.MouseMove(Window(), x, y); }
    void MoveOutside() { session.MouseMove(m_host, 280, 180); }

    SurfaceBuffer Pixels() {
        session.Pump();
        return session.Pixels(Window());
    }

    kw::headless::HeadlessSession session;
    ClickRecorder clicks;
    HWND m_host = nullptr;
    ComPtr<IDispatch> m_disp;
    RECT m_place{};
    std::vector<ComPtr<IDispatch>> m_extra;

private:
    CLSID m_clsid;
    IID m_events;
};

} // namespace buttons_test
