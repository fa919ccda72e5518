#pragma once
// A headless host for the numeric entry field: a registry of its own (for
// the measurement system), a host window, the control created through the
// module's factory and in-place activated, an event sink that records what
// the control fires and answers its requests as a test tells it, and
// late-bound calls by name.
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/registry/Registry.h"
#include "platform/user/User.h"
#include "spinedit/SpinEditCtrl.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace spinedit_test {

// One fired event with its arguments in declaration order.
struct FiredEvent {
    DISPID id;
    std::vector<CComVariant> args;
};

class EventRecorder final : public TestEventSink {
public:
    EventRecorder() : TestEventSink(kw::ids::IID_DSpinEditEvents) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        FiredEvent event{id, {}};
        // Arguments arrive last first; by-reference ones are kept by value.
        for (UINT i = params->cArgs; i-- > 0;) {
            CComVariant copy;
            VariantCopyInd(&copy, &params->rgvarg[i]);
            event.args.push_back(copy);
        }
        fired.push_back(event);
        if (auto answer = answers.find(id); answer != answers.end())
            answer->second(params->rgvarg, params->cArgs);
        return S_OK;
    }

    // The DISPIDs fired so far, in order.
    std::vector<DISPID> Ids() const {
        std::vector<DISPID> ids;
        for (const FiredEvent& e : fired)
            ids.push_back(e.id);
        return ids;
    }
    int Count(DISPID id) const {
        int n = 0;
        for (const FiredEvent& e : fired)
            n += e.id == id;
        return n;
    }

    std::vector<FiredEvent> fired;
    // Answers by event: the arguments as the sink sees them (last first).
    std::map<DISPID, std::function<void(VARIANT* argsLastFirst, UINT count)>> answers;
};

class SpinEditTest : public ::testing::Test {
protected:
    static constexpr RECT kPlace{10, 10, 130, 31}; // the initial 120 x 21

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kw-spin-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_registry = pattern;
        ::setenv("KW_REGISTRY_DIR", m_registry.c_str(), 1);
        m_host = CreateGreyHost("Werkzeugmaschine", 300, 120);
    }
    void TearDown() override {
        Close();
        ::unsetenv("KW_REGISTRY_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_registry, ignored);
    }

    // The installation's measurement system, read when a field is made.
    static void UseInchSystem(DWORD inch) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Varnholt\\Dravenset\\Settings",
                                  KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, "DefaultUnit", REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&inch), sizeof inch),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // Creates the field (a newly inserted one) in the host at `place`.
    void Create(RECT place = kPlace) {
        Close();
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_SpinEdit,
                                       IID_IClassFactory, factory.OutVoid()),
                  S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, m_disp.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
        ASSERT_EQ(persist->InitNew(), S_OK);
        Advise();
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
    void Advise() {
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(m_disp.As(IID_IConnectionPointContainer, &container), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(kw::ids::IID_DSpinEditEvents, point.Out()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&events, &cookie), S_OK);
    }

    CSpinEditCtrl* Field() const {
        return static_cast<CSpinEditCtrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_disp.Get()))));
    }
    HWND Window() const { return Field()->GetSafeHwnd(); }

    // [SECTION] Late-bound calls
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
    bool SetVal(double v, SHORT unit) {
        CComVariant result;
        EXPECT_EQ(
            Call("SetVal", DISPATCH_METHOD, {CComVariant::R8(v), CComVariant::I2(unit)}, &result),
            S_OK);
        return result.boolVal != 0;
    }
    // GetVal through dispatch: the answer and the value written back.
    std::pair<bool, double> GetVal(SHORT unit) {
        double out = -1.0;
        CComVariant result;
        CComVariant ref;
        ref.vt = VT_BYREF | VT_R8;
        ref.pdblVal = &out;
        EXPECT_EQ(Call("GetVal", DISPATCH_METHOD, {ref, CComVariant::I2(unit)}, &result), S_OK);
        return {result.boolVal != 0, out};
    }

    // [SECTION] Input at the field's client coordinates
    void MoveTo(POINT pt) { session.MouseMove(Window(), pt.x, pt.y); }
    void ClickAt(POINT pt) {
        MoveTo(pt);
        session.Click();
    }
    static POINT Centre(const RECT& rc) {
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    SpinEditParts Parts() const { return Field()->Parts(); }
    void Focus() {
        ::SetFocus(Window());
        session.Pump();
    }

    // The field's pixels, as the host shows them.
    SurfaceBuffer Pixels() {
        session.Pump();
        return session.Pixels(Window());
    }

    kw::headless::HeadlessSession session;
    EventRecorder events;
    HWND m_host = nullptr;
    ComPtr<IDispatch> m_disp;

private:
    std::string m_registry;
};

} // namespace spinedit_test
