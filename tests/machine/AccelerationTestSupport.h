#pragma once
// A headless host for the acceleration control: a grey host window, the
// control created through the module's factory (or the factory function
// of a test's own subclass) and in-place activated, and late-bound calls by
// name.
#include "machine/AccelerationCtrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/com/SafeArray.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"

#include <gtest/gtest.h>

#include <vector>

namespace acceleration_test {

class AccelerationTest : public ::testing::Test {
protected:
    static constexpr RECT kPlace{10, 10, 310, 210}; // 300 x 200 on the host

    void SetUp() override { m_host = CreateGreyHost("host", 400, 300); }
    void TearDown() override {
        for (auto& c : m_controls) {
            ComPtr<IOleObject> ole;
            if (c && SUCCEEDED(c.As(IID_IOleObject, &ole)))
                ole->Close(0);
            c.Reset();
        }
        ::DestroyWindow(m_host);
    }

    // A control in place, by the module's factory or by `create`.
    ComPtr<IDispatch> Create(RECT pos = kPlace, COleObjectFactory::CreateFn create = nullptr) {
        ComPtr<IDispatch> control;
        if (create) {
            EXPECT_EQ(create(IID_IDispatch, control.OutVoid()), S_OK);
        } else {
            ComPtr<IClassFactory> factory;
            EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Acceleration,
                                           IID_IClassFactory, factory.OutVoid()),
                      S_OK);
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid()), S_OK);
        }
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(control.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->InitNew(), S_OK);
        ComPtr<IOleObject> ole;
        EXPECT_EQ(control.As(IID_IOleObject, &ole), S_OK);
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &pos), S_OK);
        session.Pump();
        m_controls.push_back(control);
        return control;
    }
    static CAccelerationCtrl* Object(const ComPtr<IDispatch>& d) {
        return static_cast<CAccelerationCtrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(d.Get()))));
    }

    static HRESULT Call(const ComPtr<IDispatch>& d, const char* name, WORD flags,
                        std::vector<CComVariant> args = {}, VARIANT* result = nullptr) {
        return CallByName(d.Get(), name, flags, std::move(args), result);
    }
    static void Put(const ComPtr<IDispatch>& d, const char* name, CComVariant value) {
        ASSERT_EQ(Call(d, name, DISPATCH_PROPERTYPUT, {value}), S_OK) << name;
    }
    static LONG Get(const ComPtr<IDispatch>& d, const char* name) {
        CComVariant result;
        EXPECT_EQ(Call(d, name, DISPATCH_PROPERTYGET, {}, &result), S_OK) << name;
        CComVariant asLong;
        EXPECT_EQ(VariantChangeType(&asLong, &result, 0, VT_I4), S_OK) << name;
        return asLong.lVal;
    }
    // The table as the host reads it.
    static std::vector<USHORT> Table(const ComPtr<IDispatch>& d) {
        CComVariant result;
        EXPECT_EQ(Call(d, "GetRampTable", DISPATCH_METHOD, {}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_ARRAY | VT_UI2);
        std::vector<USHORT> values;
        if (result.vt != (VT_ARRAY | VT_UI2))
            return values;
        LONG lower = -1;
        EXPECT_EQ(SafeArrayGetLBound(result.parray, 1, &lower), S_OK);
        EXPECT_EQ(lower, 0);
        values.resize(SafeArrayElementCount(result.parray));
        for (LONG i = 0; i < LONG(values.size()); ++i)
            EXPECT_EQ(SafeArrayGetElement(result.parray, &i, &values[std::size_t(i)]), S_OK);
        return values;
    }
    // A one-dimensional array of `vt` elements with `count` elements, each
    // `value`, from lower bound `lower`.
    static CComVariant Array(VARTYPE vt, ULONG count, LONG value, LONG lower = 0) {
        CComVariant v;
        v.vt = VARTYPE(VT_ARRAY | vt);
        v.parray = SafeArrayCreateVector(vt, lower, count);
        for (ULONG i = 0; i < count; ++i) {
            LONG index = lower + LONG(i);
            if (vt == VT_I2) {
                SHORT s = SHORT(value);
                SafeArrayPutElement(v.parray, &index, &s);
            } else {
                SafeArrayPutElement(v.parray, &index, &value);
            }
        }
        return v;
    }
    // SetRampTable by name with the array by reference, as a script's
    // variant argument reaches it; the OLE status of a raised exception
    // goes to `scode`.
    static HRESULT SetRampTable(const ComPtr<IDispatch>& d, CComVariant array, VARIANT* result,
                                SCODE* scode = nullptr) {
        const char* name = "SetRampTable";
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
        VARIANT ref;
        VariantInit(&ref);
        ref.vt = VT_BYREF | VT_VARIANT;
        ref.pvarVal = &array;
        DISPPARAMS params{&ref, nullptr, 1, 0};
        EXCEPINFO info{};
        HRESULT hr = d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, &info, nullptr);
        if (scode)
            *scode = info.scode;
        ClearExcepInfo(&info);
        return hr;
    }

    kw::headless::HeadlessSession session;
    HWND m_host = nullptr;
    std::vector<ComPtr<IDispatch>> m_controls;
};

} // namespace acceleration_test
