// Every class the module registers can be created through its factory: the
// fourteen controls and the eighteen pages.
#include "module/ClassTable.h"
#include "module/ModuleObjects.h"
#include "platform/afx/PropertyPageInterfaces.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/com/Dispatch.h"
#include "platform/com/OleInterfaces.h"
#include "platform/com/PropertyBag.h"

#include <gtest/gtest.h>

namespace {

// Creates an object of `clsid` with the interface `iid` through the module's
// factory; the failure of either step is the result.
HRESULT Create(REFCLSID clsid, REFIID iid, IUnknown** object) {
    ComPtr<IClassFactory> factory;
    const HRESULT hr =
        AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory, factory.OutVoid());
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, iid, reinterpret_cast<void**>(object));
}

} // namespace

TEST(Creatable, EveryControl) {
    kw::headless::HeadlessSession session;
    for (const kw::module::ControlClass& c : kw::module::Controls()) {
        ComPtr<IUnknown> object;
        ASSERT_EQ(Create(c.clsid, IID_IDispatch, object.Out()), S_OK) << c.className;
        ComPtr<IDispatch> dispatch;
        EXPECT_EQ(object.As(IID_IDispatch, &dispatch), S_OK) << c.className;
        ComPtr<IPersistPropertyBag> persist;
        ASSERT_EQ(object.As(IID_IPersistPropertyBag, &persist), S_OK) << c.className;
        EXPECT_EQ(persist->InitNew(), S_OK) << c.className;
    }
}

TEST(Creatable, EveryPageWithItsCaptionAndDialog) {
    kw::headless::HeadlessSession session;
    int built = 0;
    for (const kw::module::PageClass& p : kw::module::Pages()) {
        ComPtr<IUnknown> object;
        ASSERT_EQ(Create(p.clsid, IID_IPropertyPage, object.Out()), S_OK) << p.className;
        ++built;
        ComPtr<IPropertyPage> page;
        ASSERT_EQ(object.As(IID_IPropertyPage, &page), S_OK) << p.className;
        PROPPAGEINFO info{};
        ASSERT_EQ(page->GetPageInfo(&info), S_OK) << p.className;
        const auto caption = kw::module::Resources()->LoadString(p.captionId);
        ASSERT_TRUE(caption) << p.className;
        EXPECT_EQ(info.title, caption->GetString()) << p.className;
        EXPECT_GT(info.size.cx, 0) << p.className;
        EXPECT_GT(info.size.cy, 0) << p.className;
    }
    EXPECT_EQ(built, 18);
}
