#pragma once
// A headless host for the button and indicator tests: a grey window, controls
// made through the module's factories and embedded in it, calls by name.
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/afx/OleControl.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/gdi/GdiObjects.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

class HostedControlTest : public ::testing::Test {
protected:
    void SetUp() override { m_host = CreateGreyHost("host", 200, 120); }
    void TearDown() override {
        for (auto& control : m_controls)
            Close(control);
    }

    // A new control of `clsid` at `pos` in the host; it stays until the end
    // of the test.
    ComPtr<IDispatch> Create(const CLSID& clsid, RECT pos) {
        ComPtr<IDispatch> control = CreateUnplaced(clsid);
        Place(control, pos);
        m_controls.push_back(control);
        return control;
    }
    // Made and initialised as new, without a window.
    static ComPtr<IDispatch> CreateUnplaced(const CLSID& clsid) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory,
                                       factory.OutVoid()),
                  S_OK);
        ComPtr<IDispatch> control;
        if (!factory)
            return control;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(control.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->InitNew(), S_OK);
        return control;
    }
    void Place(const ComPtr<IDispatch>& control, RECT pos) {
        ComPtr<IOleObject> ole;
        ASSERT_EQ(control.As(IID_IOleObject, &ole), S_OK);
        ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &pos), S_OK);
        session.Pump();
    }
    static void Close(const ComPtr<IDispatch>& control) {
        ComPtr<IOleObject> ole;
        if (control && SUCCEEDED(control.As(IID_IOleObject, &ole)))
            ole->Close(0);
    }
    template <class T> static T* Object(const ComPtr<IDispatch>& control) {
        return static_cast<T*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(control.Get()))));
    }

    static HRESULT Call(const ComPtr<IDispatch>& d, const char* name, WORD flags,
                        std::vector<CComVariant> args = {}, VARIANT* result = nullptr) {
        return CallByName(d.Get(), name, flags, std::move(args), result);
    }
    static void Put(const ComPtr<IDispatch>& d, const char* name, CComVariant value) {
        ASSERT_EQ(Call(d, name, DISPATCH_PROPERTYPUT, {std::move(value)}), S_OK) << name;
    }
    static void Method(const ComPtr<IDispatch>& d, const char* name,
                       std::vector<CComVariant> args = {}) {
        ASSERT_EQ(Call(d, name, DISPATCH_METHOD, std::move(args)), S_OK) << name;
    }
    static CComVariant Get(const ComPtr<IDispatch>& d, const char* name, WORD flags = 0) {
        CComVariant result;
        EXPECT_EQ(Call(d, name, flags ? flags : WORD(DISPATCH_PROPERTYGET), {}, &result), S_OK)
            << name;
        return result;
    }

    // The control saved by name into a new bag.
    static ComPtr<CJsonPropertyBag> Save(const ComPtr<IDispatch>& control) {
        auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(control.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
        return bag;
    }
    static void Load(const ComPtr<IDispatch>& control, const ComPtr<CJsonPropertyBag>& bag) {
        ComPtr<IPersistPropertyBag> persist;
        ASSERT_EQ(control.As(IID_IPersistPropertyBag, &persist), S_OK);
        ASSERT_EQ(persist->Load(bag.Get(), nullptr), S_OK);
    }

    std::uint32_t Pixel(int x, int y) {
        session.Pump();
        return session.Pixels(m_host).Pixel(x, y);
    }

    kw::headless::HeadlessSession session;
    HWND m_host = nullptr;
    std::vector<ComPtr<IDispatch>> m_controls;
};

// Counts the events of one control, by DISPID.
class RecordingSink final : public TestEventSink {
public:
    explicit RecordingSink(const IID& events) : TestEventSink(events) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        fired.push_back(id);
        return S_OK;
    }
    std::vector<DISPID> fired;
};

// Connects `sink` to the control's events for the life of this object.
class SinkConnection {
public:
    SinkConnection(const ComPtr<IDispatch>& control, const IID& events, IDispatch* sink) {
        ComPtr<IConnectionPointContainer> container;
        EXPECT_EQ(control.As(IID_IConnectionPointContainer, &container), S_OK);
        if (container) {
            EXPECT_EQ(container->FindConnectionPoint(events, m_point.Out()), S_OK);
        }
        if (m_point) {
            EXPECT_EQ(m_point->Advise(sink, &m_cookie), S_OK);
        }
    }
    ~SinkConnection() {
        if (m_point)
            m_point->Unadvise(m_cookie);
    }
    SinkConnection(const SinkConnection&) = delete;
    SinkConnection& operator=(const SinkConnection&) = delete;

private:
    ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};
