// Class objects a process provides itself: found before the registry,
// registered once per class, revoked by their cookie.
#include "platform/com/ComLoader.h"

#include <gtest/gtest.h>

namespace {

constexpr CLSID CLSID_Builtin = MakeGuid(0x5A5A0001, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11);

int created = 0;
HRESULT CreateNothing(REFIID, void** ppv) {
    ++created;
    *ppv = nullptr;
    return E_NOINTERFACE;
}

} // namespace

TEST(ClassObjectTest, ARegisteredClassIsFoundWithoutRegistryUntilRevoked) {
    CComModuleState state;
    CStaticClassFactory factory(state, CLSID_Builtin, &CreateNothing);
    CStaticClassFactory other(state, CLSID_Builtin, &CreateNothing);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_Builtin, &factory, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    EXPECT_NE(cookie, 0u);
    DWORD second = 0xFFFF;
    EXPECT_EQ(CoRegisterClassObject(CLSID_Builtin, &other, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &second),
              CO_E_OBJISREG);
    EXPECT_EQ(second, 0u);

    ComPtr<IClassFactory> found;
    ASSERT_EQ(CoGetClassObject(CLSID_Builtin, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               found.OutVoid()),
              S_OK);
    EXPECT_EQ(found.Get(), static_cast<IClassFactory*>(&factory));
    found.Reset();
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_Builtin, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              E_NOINTERFACE);
    EXPECT_EQ(created, 1) << "creation went through the registered factory";
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(state.Locks(), 0) << "the runtime let go of its reference";
    EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
    EXPECT_NE(CoGetClassObject(CLSID_Builtin, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               found.OutVoid()),
              S_OK);
}
