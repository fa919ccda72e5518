// Factories of a module: creation, registration with the platform's
// layout, the walk that stops at the first failure, page lists built once.
#include "platform/afx/OleObjectFactory.h"
#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr CLSID kControl = MakeGuid(0x33333333, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
constexpr CLSID kPage = MakeGuid(0x33333333, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2);
constexpr CLSID kBroken = MakeGuid(0x33333333, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3);
constexpr CLSID kLast = MakeGuid(0x33333333, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4);
constexpr GUID kLib = MakeGuid(0x33333333, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5);

const StringTableEntry kStrings[] = {{7, "Led Control"}, {33, "Led Property Page"}};
const CModuleResources kResources{&kStrings, kStrings};

int g_pageListBuilds = 0;
std::vector<CLSID> PageList() {
    ++g_pageListBuilds;
    return {kPage};
}

std::string Value(const std::string& key, const char* name = "") {
    std::string v;
    if (RegGetStringValue(HKEY_CLASSES_ROOT, key, name, &v) != ERROR_SUCCESS)
        return "<missing>";
    return v;
}

class FactoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("kw-afx-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
        setenv("KW_REGISTRY_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KW_REGISTRY_DIR");
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path m_dir;
    CFactoryList m_list;
};

} // namespace

TEST_F(FactoryTest, ControlsRegisterWithThePlatformLayout) {
    COleControlFactory control(m_list, kControl, nullptr, "Kestrowidge.LedCtrl.1",
                               {&kResources, 7, 17, 0x20191, kLib, 1, 4, &PageList});
    COlePropertyPageFactory page(m_list, kPage, nullptr, "Kestrowidge.LedPropPage.1", &kResources,
                                 33);
    ASSERT_TRUE(COleObjectFactory::UpdateRegistryAll(m_list, TRUE));

    const std::string key = "CLSID\\" + StringFromGuid(kControl);
    const std::string path = kResources.ModulePath();
    EXPECT_EQ(Value(key), "Led Control");
    EXPECT_EQ(Value(key + "\\ProgID"), "Kestrowidge.LedCtrl.1");
    EXPECT_EQ(Value(key + "\\InprocServer32"), path);
    EXPECT_EQ(Value(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(Value(key + "\\Control"), "<missing>"); // the key exists without a value
    HKEY marker = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, key + "\\Control", KEY_READ, &marker),
              ERROR_SUCCESS);
    RegCloseKey(marker);
    EXPECT_EQ(Value(key + "\\MiscStatus"), "0");
    EXPECT_EQ(Value(key + "\\MiscStatus\\1"), "131473"); // 0x20191
    EXPECT_EQ(Value(key + "\\ToolboxBitmap32"), path + ", 17");
    EXPECT_EQ(Value(key + "\\TypeLib"), StringFromGuid(kLib));
    EXPECT_EQ(Value(key + "\\Version"), "1.4");
    EXPECT_EQ(Value("Kestrowidge.LedCtrl.1\\CLSID"), StringFromGuid(kControl));

    const std::string pageKey = "CLSID\\" + StringFromGuid(kPage);
    EXPECT_EQ(Value(pageKey), "Led Property Page");
    EXPECT_EQ(Value(pageKey + "\\InprocServer32", "ThreadingModel"), "<missing>");
    EXPECT_EQ(Value("Kestrowidge.LedPropPage.1\\CLSID"), "<missing>"); // ProgID not written

    ASSERT_TRUE(COleObjectFactory::UpdateRegistryAll(m_list, FALSE));
    EXPECT_EQ(Value(key), "<missing>");
    EXPECT_EQ(Value("Kestrowidge.LedCtrl.1"), "<missing>");
    EXPECT_EQ(Value(pageKey), "<missing>");
}

TEST_F(FactoryTest, TheRegistrationWalkStopsAtTheFirstFailure) {
    COleControlFactory first(m_list, kControl, nullptr, "A.1",
                             {&kResources, 7, 1, 0, kLib, 1, 4, nullptr});
    COleControlFactory broken(m_list, kBroken, nullptr, "B.1",
                              {&kResources, 999, 1, 0, kLib, 1, 4, nullptr}); // no string 999
    COleControlFactory last(m_list, kLast, nullptr, "C.1",
                            {&kResources, 7, 1, 0, kLib, 1, 4, nullptr});
    EXPECT_FALSE(COleObjectFactory::UpdateRegistryAll(m_list, TRUE));
    EXPECT_EQ(Value("A.1\\CLSID"), StringFromGuid(kControl)); // done before stays done
    EXPECT_EQ(Value("C.1\\CLSID"), "<missing>");
}

TEST_F(FactoryTest, LookupCreationAndPageLists) {
    g_pageListBuilds = 0;
    COleControlFactory control(m_list, kControl, nullptr, "A.1",
                               {&kResources, 7, 1, 0, kLib, 1, 4, &PageList});
    EXPECT_EQ(control.GetPropPageIDs().size(), 1u);
    EXPECT_EQ(control.GetPropPageIDs()[0], kPage);
    EXPECT_EQ(g_pageListBuilds, 1);
    EXPECT_FALSE(control.IsSingleUse());

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(AfxDllGetClassObject(m_list, kControl, IID_IClassFactory, factory.OutVoid()), S_OK);
    EXPECT_EQ(AfxDllCanUnloadNow(m_list), S_FALSE); // the factory is held
    ComPtr<IUnknown> object;
    // A class whose control is not built yet answers, never crashes.
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    factory.Reset();
    EXPECT_EQ(AfxDllCanUnloadNow(m_list), S_OK);
    EXPECT_EQ(AfxDllGetClassObject(m_list, kLast, IID_IClassFactory, factory.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
}
