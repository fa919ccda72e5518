// Late-bound calls through a dispatch table, events through a connection
// point, and type information generated from the same rows.
#include "platform/com/DispatchAdapters.h"
#include "platform/com/DispatchObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr IID IID_DGauge = MakeGuid(0x11111111, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
constexpr IID IID_DGaugeEvents = MakeGuid(0x11111111, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2);
constexpr CLSID CLSID_Gauge = MakeGuid(0x11111111, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3);

class CGauge;
constexpr DispParam kScaleParams[] = {{"factor", VT_R8}, {"result", VT_BYREF | VT_R8}};
constexpr DispParam kRenameParams[] = {{"name", VT_BSTR}, {"suffix", VT_BSTR, true}};
constexpr DispParam kAskParams[] = {{"text", VT_BYREF | VT_BSTR}, {"handled", VT_BYREF | VT_BOOL}};

class CGauge final : public CDispatchObject {
public:
    CGauge();
    SHORT m_level = 3;
    int m_notified = 0;
    void OnLevelChanged() { ++m_notified; }
    float GetReading() { return 1.25f; }
    BOOL Scale(double factor, double* result) {
        *result = *result * factor;
        return factor != 0;
    }
    std::string m_name = "g";
    void Rename(std::string name, std::string suffix) { m_name = name + suffix; }
    void SetLocked(BOOL) { ThrowDispatchException(CTL_E_SETNOTSUPPORTED); }
    BOOL GetLocked() { return TRUE; }
};

const DispEntry kRows[] = {
    DispMember<&CGauge::m_level, &CGauge::OnLevelChanged>("Level", 1, VT_I2, "m_nLevel"),
    DispGetSet<&CGauge::GetReading, nullptr>("Reading", 2, VT_R4),
    DispMethod<&CGauge::Scale>("Scale", 3, VT_BOOL, kScaleParams),
    DispMethod<&CGauge::Rename>("Rename", 4, VT_EMPTY, kRenameParams),
    DispTypeLibType(DispGetSet<&CGauge::GetLocked, &CGauge::SetLocked>("Locked", 5, VT_BOOL),
                    VT_I4),
};
const DispTable kTable{kRows};
const DispEntry kEventRows[] = {DispEvent("Ask", 1, kAskParams)};
const TypeDesc kTypes[] = {
    {TKIND_DISPATCH, IID_DGauge, "_DGauge", "Dispatch-Schnittstelle f\xC3\xBCr Gauge",
     TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE, DispTable{kRows}},
    {TKIND_DISPATCH, IID_DGaugeEvents, "_DGaugeEvents", "events", TYPEFLAG_FDISPATCHABLE,
     DispTable{kEventRows}},
    {TKIND_COCLASS,
     CLSID_Gauge,
     "Gauge",
     "Gauge Control",
     TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
     {},
     &IID_DGauge,
     &IID_DGaugeEvents},
};
const TypeLibDesc kLib{GUID{7}, "GaugeLib", "Gauge library", "Gauge.hlp", 1, 4, 0, kTypes};

CGauge::CGauge() : CDispatchObject({nullptr, &kTable, IID_DGauge, IID_DGaugeEvents, &kLib}, this) {}

// Calls with positional arguments given first to last.
HRESULT Call(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result,
             EXCEPINFO* info = nullptr, UINT* argErr = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    return d->Invoke(id, IID_NULL, 0, flags, &params, result, info, argErr);
}

struct GaugeTest : ::testing::Test {
    ComPtr<CGauge> gauge = ComPtr<CGauge>::Attach(new CGauge);
};

} // namespace

TEST_F(GaugeTest, NamesAreFoundInAnyLetterCase) {
    const char* names[] = {"sCaLe", "RESULT", "factor", "nothing"};
    DISPID ids[4] = {};
    EXPECT_EQ(gauge->GetIDsOfNames(IID_NULL, names, 3, 0, ids), S_OK);
    EXPECT_EQ(ids[0], 3);
    EXPECT_EQ(ids[1], 1);
    EXPECT_EQ(ids[2], 0);
    EXPECT_EQ(gauge->GetIDsOfNames(IID_NULL, names, 4, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[3], DISPID_UNKNOWN);
    const char* unknown[] = {"Levels"};
    EXPECT_EQ(gauge->GetIDsOfNames(IID_NULL, unknown, 1, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], DISPID_UNKNOWN);
}

TEST_F(GaugeTest, PropertiesAreReadAndWrittenWithConversion) {
    CComVariant result;
    ASSERT_EQ(Call(gauge.Get(), 1, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I2);
    EXPECT_EQ(result.iVal, 3);

    ASSERT_EQ(Call(gauge.Get(), 1, DISPATCH_PROPERTYPUT, {CComVariant::Str("41.5")}, nullptr),
              S_OK);
    EXPECT_EQ(gauge->m_level, 42);
    // Writing the same value again still runs the change handler.
    ASSERT_EQ(Call(gauge.Get(), 1, DISPATCH_PROPERTYPUT, {CComVariant::I4(42)}, nullptr), S_OK);
    EXPECT_EQ(gauge->m_notified, 2);

    UINT argErr = 99;
    EXPECT_EQ(Call(gauge.Get(), 1, DISPATCH_PROPERTYPUT, {CComVariant::Str("high")}, nullptr,
                   nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    EXPECT_EQ(gauge->m_level, 42);
}

TEST_F(GaugeTest, ReadOnlyAndRefusedWrites) {
    EXPECT_EQ(Call(gauge.Get(), 2, DISPATCH_PROPERTYPUT, {CComVariant::R4(2)}, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXCEPINFO info{};
    EXPECT_EQ(
        Call(gauge.Get(), 5, DISPATCH_PROPERTYPUT, {CComVariant::Bool(false)}, nullptr, &info),
        DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, CTL_E_SETNOTSUPPORTED);
    ClearExcepInfo(&info);
    CComVariant result;
    ASSERT_EQ(Call(gauge.Get(), 5, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
}

TEST_F(GaugeTest, ByReferenceArgumentsCarryTheAnswerBack) {
    double value = 3;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_R8;
    ref.pdblVal = &value;
    CComVariant result;
    ASSERT_EQ(Call(gauge.Get(), 3, DISPATCH_METHOD, {CComVariant::I2(4), ref}, &result), S_OK);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);

    // A by-reference variant takes the declared type on the way back.
    CComVariant inner = CComVariant::Str("2");
    VARIANT varRef;
    VariantInit(&varRef);
    varRef.vt = VT_BYREF | VT_VARIANT;
    varRef.pvarVal = &inner;
    ASSERT_EQ(Call(gauge.Get(), 3, DISPATCH_METHOD, {CComVariant::R8(0.5), varRef}, &result), S_OK);
    EXPECT_EQ(inner.vt, VT_R8);
    EXPECT_EQ(inner.dblVal, 1.0);
}

TEST_F(GaugeTest, ArgumentMistakesAreReportedByName) {
    CComVariant result;
    UINT argErr = 99;
    EXPECT_EQ(Call(gauge.Get(), 3, DISPATCH_METHOD, {CComVariant::I2(4)}, &result),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(gauge.Get(), 3, DISPATCH_METHOD,
                   {CComVariant::I2(1), CComVariant::R8(1), CComVariant::R8(1)}, &result),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(gauge.Get(), 3, DISPATCH_METHOD, {CComVariant::Str("x"), CComVariant::R8(1)},
                   &result, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u); // the first argument sits last in rgvarg
    EXPECT_EQ(Call(gauge.Get(), 3, DISPATCH_METHOD,
                   {CComVariant::Error(DISP_E_PARAMNOTFOUND), CComVariant::R8(1)}, &result),
              DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(Call(gauge.Get(), 99, DISPATCH_METHOD, {}, &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(gauge.Get(), 1, DISPATCH_PROPERTYGET, {CComVariant::I2(1)}, &result),
              DISP_E_BADPARAMCOUNT);
}

TEST_F(GaugeTest, OptionalArgumentsMayBeLeftOut) {
    ASSERT_EQ(Call(gauge.Get(), 4, DISPATCH_METHOD, {CComVariant::Str("gr\xC3\xBCn")}, nullptr),
              S_OK);
    EXPECT_EQ(gauge->m_name, "gr\xFCn"); // Windows-1252 inside
    ASSERT_EQ(Call(gauge.Get(), 4, DISPATCH_METHOD,
                   {CComVariant::Str("a"), CComVariant::Error(DISP_E_PARAMNOTFOUND)}, nullptr),
              S_OK);
    EXPECT_EQ(gauge->m_name, "a");
}

namespace {

// An event sink that records calls and may answer by reference.
class CSink final : public IDispatch {
public:
    std::function<void(DISPID, DISPPARAMS*)> onInvoke;
    ULONG refs = 1;
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(GetTypeInfoCount)(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, const char* const*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
        if (onInvoke)
            onInvoke(id, p);
        return S_OK;
    }
};

class CNotASink final : public IUnknown {
public:
    STDMETHOD(QueryInterface)(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
};

void FireAsk(CGauge& gauge, std::string* text, VARIANT_BOOL* handled) {
    CComBSTR bstr(*text);
    VARIANT args[2];
    args[0].vt = VT_BYREF | VT_BSTR;
    args[0].pbstrVal = &bstr;
    args[1].vt = VT_BYREF | VT_BOOL;
    args[1].pboolVal = handled;
    gauge.FireEvent(1, args, 2);
    *text = std::string(bstr.View());
}

} // namespace

TEST_F(GaugeTest, EventsReachConnectedSinksAndBringAnswersBack) {
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(gauge->FindConnectionPoint(IID_DGaugeEvents, point.Out()), S_OK);
    EXPECT_EQ(gauge->FindConnectionPoint(IID_DGauge, point.Out()), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(gauge->FindConnectionPoint(IID_DGaugeEvents, point.Out()), S_OK);

    CSink sink;
    std::vector<DISPID> seen;
    sink.onInvoke = [&](DISPID id, DISPPARAMS* p) {
        seen.push_back(id);
        ASSERT_EQ(p->cArgs, 2u);
        // rgvarg[1] is the first parameter, "text".
        SysReAllocString(p->rgvarg[1].pbstrVal, "Grad");
        *p->rgvarg[0].pboolVal = VARIANT_TRUE;
    };
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    std::string text = "mm";
    VARIANT_BOOL handled = VARIANT_FALSE;
    FireAsk(*gauge.Get(), &text, &handled);
    EXPECT_EQ(seen, std::vector<DISPID>{1});
    EXPECT_EQ(text, "Grad");
    EXPECT_EQ(handled, VARIANT_TRUE);

    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    handled = VARIANT_FALSE;
    FireAsk(*gauge.Get(), &text, &handled);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(handled, VARIANT_FALSE);
    EXPECT_EQ(sink.refs, 1u); // every reference the point took is returned

    CNotASink stranger;
    EXPECT_EQ(point->Advise(&stranger, &cookie), CONNECT_E_CANNOTCONNECT);
}

TEST_F(GaugeTest, ASinkMayDisconnectAndReleaseTheObjectWhileItFires) {
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(gauge->FindConnectionPoint(IID_DGaugeEvents, point.Out()), S_OK);
    CSink first, second;
    DWORD firstCookie = 0, secondCookie = 0;
    ASSERT_EQ(point->Advise(&first, &firstCookie), S_OK);
    ASSERT_EQ(point->Advise(&second, &secondCookie), S_OK);
    int secondCalls = 0;
    first.onInvoke = [&](DISPID, DISPPARAMS*) {
        point->Unadvise(firstCookie);
        point->Unadvise(secondCookie);
        point.Reset();
        gauge.Reset(); // the host lets go of the object inside the handler
    };
    second.onInvoke = [&](DISPID, DISPPARAMS*) { ++secondCalls; };
    CGauge* raw = gauge.Get();
    std::string text;
    VARIANT_BOOL handled = 0;
    FireAsk(*raw, &text, &handled);
    EXPECT_EQ(secondCalls, 1); // the event had already started for it
    EXPECT_EQ(first.refs, 1u);
    EXPECT_EQ(second.refs, 1u);
}

TEST_F(GaugeTest, TypeInformationComesFromTheSameRows) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(gauge->GetTypeInfo(0, 0, info.Out()), S_OK);
    TYPEATTR attr{};
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.guid, IID_DGauge);
    EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
    EXPECT_EQ(attr.cFuncs, 5);
    EXPECT_EQ(attr.wTypeFlags, TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE);

    CComBSTR name, doc;
    ASSERT_EQ(info->GetDocumentation(1, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), "m_nLevel");
    ASSERT_EQ(info->GetDocumentation(DISPID_UNKNOWN, nullptr, &doc, nullptr, nullptr), S_OK);
    EXPECT_EQ(doc.View(), "Dispatch-Schnittstelle f\xC3\xBCr Gauge");

    // Types as the library declares them: the run-time type unless the row
    // names another.
    const DispEntry* member = nullptr;
    ASSERT_EQ(info->GetMemberDesc(0, &member), S_OK);
    EXPECT_EQ(member->TypeLibType(), VT_I2);
    ASSERT_EQ(info->GetMemberDesc(4, &member), S_OK);
    EXPECT_EQ(member->type, VT_BOOL);
    EXPECT_EQ(member->TypeLibType(), VT_I4);

    BSTR names[3] = {};
    UINT count = 0;
    ASSERT_EQ(info->GetNames(3, names, 3, &count), S_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(BstrView(names[0]), "Scale");
    EXPECT_EQ(BstrView(names[2]), "result");
    for (BSTR n : names)
        SysFreeString(n);

    ComPtr<ITypeLib> lib;
    ASSERT_EQ(info->GetContainingTypeLib(lib.Out(), nullptr), S_OK);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(CLSID_Gauge, coclass.Out()), S_OK);
    int flags = 0;
    ASSERT_EQ(coclass->GetImplTypeFlags(1, &flags), S_OK);
    EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
    ComPtr<ITypeInfo> source;
    ASSERT_EQ(coclass->GetImplTypeInfo(1, source.Out()), S_OK);
    ASSERT_EQ(source->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.guid, IID_DGaugeEvents);
    EXPECT_EQ(coclass->GetImplTypeFlags(2, &flags), TYPE_E_ELEMENTNOTFOUND);
}

TEST(DispatchTypeLibrary, ARowMayDeclareAnotherTypeThanItIsCalledWith) {
    // A property kept and called as long that the library declares short.
    static const DispEntry rows[] = {
        DispTypeLibType(DispMember<&CGauge::m_level>("Wide", 1, VT_I4, "m_nWide"), VT_I2),
        DispMember<&CGauge::m_level>("Plain", 2, VT_I2),
    };
    static const TypeDesc types[] = {{TKIND_DISPATCH, IID_DGauge, "_DWide", "wide",
                                      TYPEFLAG_FDISPATCHABLE, DispTable{rows}}};
    static const TypeLibDesc lib{GUID{8}, "WideLib", "", "", 1, 0, 0, types};
    ComPtr<ITypeLib> library;
    ASSERT_EQ(CreateTypeLib(&lib, nullptr, library.Out()), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfo(0, info.Out()), S_OK);
    const DispEntry* wide = nullptr;
    const DispEntry* plain = nullptr;
    ASSERT_EQ(info->GetMemberDesc(0, &wide), S_OK);
    ASSERT_EQ(info->GetMemberDesc(1, &plain), S_OK);
    EXPECT_EQ(wide->type, VT_I4);
    EXPECT_EQ(wide->TypeLibType(), VT_I2);
    EXPECT_EQ(plain->TypeLibType(), VT_I2);

    // Calls still go by the row's own type.
    auto gauge = ComPtr<CGauge>::Attach(new CGauge);
    gauge->m_level = -25536;
    CComVariant value;
    ASSERT_EQ(wide->get(gauge.Get(), *wide, &value), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, -25536);
}
