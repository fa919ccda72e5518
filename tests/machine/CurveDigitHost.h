#pragma once
// A headless host for the curve editor and the read-out: a grey host window,
// the control created through the module's factory and in-place activated,
// a sink that records what it fires, late-bound calls by name, and the
// check of a control's rows against the type library the module builds.
#include "module/ClassTable.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace machine_test {

struct FiredEvent {
    DISPID id;
    std::vector<CComVariant> args; // in declaration order
};

class EventRecorder final : public TestEventSink {
public:
    explicit EventRecorder(const IID& events) : TestEventSink(events) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        FiredEvent event{id, {}};
        for (UINT i = params ? params->cArgs : 0; i-- > 0;) {
            CComVariant copy;
            VariantCopyInd(&copy, &params->rgvarg[i]);
            event.args.push_back(copy);
        }
        fired.push_back(event);
        return S_OK;
    }
    int Count(DISPID id) const {
        int n = 0;
        for (const FiredEvent& e : fired)
            n += e.id == id;
        return n;
    }
    std::vector<FiredEvent> fired;
};

// One control of class `Ctrl` in a grey host window.
template <class Ctrl> class ControlHost : public ::testing::Test {
protected:
    ControlHost(const CLSID& clsid, const IID& events) : m_clsid(clsid), m_eventsIid(events) {}

    void SetUp() override { m_host = CreateGreyHost("Maschine", 300, 200); }
    void TearDown() override { Close(); }

    void Create(RECT place) {
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

    Ctrl* Object() const {
        return static_cast<Ctrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_disp.Get()))));
    }
    HWND Window() const { return Object()->GetSafeHwnd(); }

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
    void Enable(bool enabled) {
        ::EnableWindow(Window(), enabled ? TRUE : FALSE);
        session.Pump();
    }

    // The control's client pixels as the host shows them.
    SurfaceBuffer Pixels() {
        session.Pump();
        return session.Pixels(Window());
    }

    kw::headless::HeadlessSession session;
    EventRecorder events{m_eventsIid};
    HWND m_host = nullptr;
    ComPtr<IDispatch> m_disp;

private:
    CLSID m_clsid;
    IID m_eventsIid;
};

// One member of an interface as a control's documentation gives it.
struct MemberSpec {
    const char* name;        // the run-time name
    const char* typeLibName; // the type library's
    DISPID dispid;
    DispKind kind;
    VARTYPE type;        // property type or method result at run time
    VARTYPE typeLibType; // as the type library declares it
    std::vector<std::pair<const char*, VARTYPE>> params;
};

// Checks `rows` (the control's table) and the interface `iid` of the type
// library the module builds against `expected`, member by member in order.
inline void ExpectInterface(const DispTable& rows, const IID& iid,
                            const std::vector<MemberSpec>& expected) {
    ASSERT_EQ(rows.entries.size(), expected.size());
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(iid, info.Out()), S_OK);
    TYPEATTR attr{};
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    ASSERT_EQ(attr.cFuncs, expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const MemberSpec& m = expected[i];
        SCOPED_TRACE(m.name);
        const DispEntry& row = rows.entries[i];
        EXPECT_STREQ(row.name, m.name);
        EXPECT_EQ(row.dispid, m.dispid);
        EXPECT_EQ(row.kind, m.kind);
        EXPECT_EQ(row.type, m.type);
        ASSERT_EQ(row.params.size(), m.params.size());
        for (std::size_t p = 0; p < m.params.size(); ++p) {
            EXPECT_STREQ(row.params[p].name, m.params[p].first);
            EXPECT_EQ(row.params[p].vt, m.params[p].second);
        }
        // The library's view: by DISPID and by its own name.
        const DispEntry* member = nullptr;
        ASSERT_EQ(info->GetMemberDesc(UINT(i), &member), S_OK);
        EXPECT_EQ(member->dispid, m.dispid);
        EXPECT_EQ(member->kind, m.kind);
        EXPECT_EQ(member->TypeLibType(), m.typeLibType);
        CComBSTR name;
        ASSERT_EQ(info->GetDocumentation(m.dispid, &name, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(name.View(), m.typeLibName);
        const char* lookup = m.typeLibName;
        MEMBERID id = 0;
        EXPECT_EQ(info->GetIDsOfNames(&lookup, 1, &id), S_OK);
        EXPECT_EQ(id, m.dispid);
        BSTR names[8] = {};
        UINT count = 0;
        ASSERT_EQ(info->GetNames(m.dispid, names, 8, &count), S_OK);
        EXPECT_EQ(count, 1 + m.params.size());
        for (UINT n = 1; n < count && n <= m.params.size(); ++n)
            EXPECT_EQ(BstrView(names[n]), m.params[n - 1].first);
        for (BSTR n : names)
            SysFreeString(n);
    }
}

} // namespace machine_test
