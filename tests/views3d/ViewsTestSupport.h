#pragma once
// A headless host for the point picker and the view chooser: a grey host
// window, the control created through the module's factory and in-place
// activated, an event sink that records what the control fires, and
// late-bound calls by DISPID, as a host that knows the members only by
// their numbers makes them.
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/afx/OleControl.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace views3d_test {

// One fired event: its DISPID and its arguments in declaration order.
struct FiredEvent {
    DISPID id;
    std::vector<CComVariant> args;
    std::string text; // a BSTR argument's bytes as the host receives them (UTF-8)
};

class EventRecorder final : public TestEventSink {
public:
    explicit EventRecorder(const IID& events) : TestEventSink(events) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        FiredEvent event{id, {}, {}};
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& arg = params->rgvarg[i];
            if (arg.vt == (VT_BYREF | VT_BSTR))
                event.text = std::string(BstrView(*arg.pbstrVal));
            CComVariant copy;
            VariantCopyInd(&copy, &arg);
            event.args.push_back(copy);
        }
        fired.push_back(event);
        if (onEvent)
            onEvent(id);
        return S_OK;
    }
    int Count(DISPID id) const {
        int n = 0;
        for (const FiredEvent& e : fired)
            n += e.id == id;
        return n;
    }
    std::vector<FiredEvent> fired;
    // A host's handler, run after the event is recorded.
    std::function<void(DISPID)> onEvent;
};

// The control of class T (with class id `Clsid` and events `Events`) at
// kPlace in a grey host of 200 x 120 at the screen's origin.
template <class T> class ControlHostTest : public ::testing::Test {
protected:
    static constexpr RECT kPlace{10, 10, 90, 90}; // the initial 80 x 80

    ControlHostTest(const CLSID& clsid, const IID& eventsIid)
        : events(eventsIid), m_clsid(clsid), m_eventsIid(eventsIid) {}

    void SetUp() override {
        m_host = CreateGreyHost("Werkzeugmaschine", 200, 120);
        Create();
    }
    void TearDown() override { Close(); }

    void Create(RECT place = kPlace) {
        Close();
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(AfxDllGetClassObject(kw::module::Factories(), m_clsid, IID_IClassFactory,
                                       factory.OutVoid()),
                  S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, m_disp.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
        ASSERT_EQ(persist->InitNew(), S_OK);
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(m_disp.As(IID_IConnectionPointContainer, &container), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(m_eventsIid, point.Out()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&events, &cookie), S_OK);
        ComPtr<IOleObject> ole;
        ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
        ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &place), S_OK);
        session.Pump();
    }
    void Close() {
        ComPtr<IOleObject> ole;
        if (m_disp && SUCCEEDED(m_disp.As(IID_IOleObject, &ole)))
            ole->Close(0);
        m_disp.Reset();
    }

    T* Ctrl() const {
        return static_cast<T*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_disp.Get()))));
    }
    HWND Window() const { return Ctrl()->GetSafeHwnd(); }

    // [SECTION] Calls by DISPID; arguments in reading order.
    HRESULT Invoke(DISPID id, WORD flags, std::vector<CComVariant> args = {},
                   VARIANT* result = nullptr) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS p{reversed.data(), nullptr, UINT(reversed.size()), 0};
        if (flags == DISPATCH_PROPERTYPUT)
            p.rgdispidNamedArgs = &put, p.cNamedArgs = 1;
        EXCEPINFO info{};
        const HRESULT hr = m_disp->Invoke(id, IID_NULL, 0, flags, &p, result, &info, nullptr);
        ClearExcepInfo(&info);
        return hr;
    }
    void PutShort(DISPID id, SHORT value) {
        ASSERT_EQ(Invoke(id, DISPATCH_PROPERTYPUT, {CComVariant::I2(value)}), S_OK) << id;
        session.Pump();
    }
    SHORT GetShort(DISPID id, WORD flags = DISPATCH_PROPERTYGET) {
        CComVariant result;
        EXPECT_EQ(Invoke(id, flags, {}, &result), S_OK) << id;
        return result.iVal;
    }

    // [SECTION] Input at the control's client coordinates
    void MoveTo(int x, int y) { session.MouseMove(Window(), x, y); }
    void ClickAt(int x, int y) {
        MoveTo(x, y);
        session.Click();
    }
    // The control's pixels as the host shows them.
    SurfaceBuffer Pixels() {
        session.Pump();
        return session.Pixels(Window());
    }

    kw::headless::HeadlessSession session;
    EventRecorder events;
    HWND m_host = nullptr;
    ComPtr<IDispatch> m_disp;

private:
    CLSID m_clsid;
    IID m_eventsIid;
};

} // namespace views3d_test
