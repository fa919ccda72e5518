// The module file as a host meets it: loading registers everything, the
// entry points register and unregister with the platform's layout, and the
// type library describes every control in its order.
#include "module/Guids.h"
#include "platform/com/ComLoader.h"
#include "platform/com/TypeInfo.h"
#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

const char* const kProgIds[] = {"Kestrowidge.SpinEditCtrl.1",     "Kestrowidge.BmpButton1Ctrl.1",
                                "Kestrowidge.BmpButton2Ctrl.1",   "Kestrowidge.SelectQubeCtrl.1",
                                "Kestrowidge.AccelerationCtrl.1", "Kestrowidge.ViewmanagerCtrl.1",
                                "Kestrowidge.LedCtrl.1",          "Kestrowidge.SwitchCtrl.1",
                                "Kestrowidge.ColorStaticCtrl.1",  "Kestrowidge.DigitCtrl.1",
                                "Kestrowidge.PosCtrl.1",          "Kestrowidge.PolCtrl.1",
                                "Kestrowidge.CurveCtrl.1",        "Kestrowidge.LineViewCtrl.1"};

std::string Value(const std::string& key, const char* name = "") {
    std::string v;
    return RegGetStringValue(HKEY_CLASSES_ROOT, key, name, &v) == ERROR_SUCCESS ? v : "<missing>";
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ModuleLoad : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("kw-module-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        setenv("KW_REGISTRY_DIR", m_dir.c_str(), 1);
        // Loading registers the module, but only a first load runs the
        // module's start: a module file stays in the process once loaded.
        void* loaded = dlopen(KW_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
        m_loadedBefore = loaded != nullptr;
        if (loaded)
            dlclose(loaded);
        ASSERT_EQ(m_module.Open(KW_MODULE_PATH), S_OK);
        if (m_loadedBefore) {
            ASSERT_EQ(Call("DllRegisterServer"), S_OK);
        }
    }
    void TearDown() override {
        m_module = CModuleFile();
        unsetenv("KW_REGISTRY_DIR");
        std::filesystem::remove_all(m_dir);
    }
    HRESULT Call(const char* entry) {
        auto fn = reinterpret_cast<DllRegisterServerFn>(m_module.Symbol(entry));
        return fn ? fn() : E_FAIL;
    }
    std::filesystem::path m_dir;
    CModuleFile m_module;
    bool m_loadedBefore = false;
};

} // namespace

TEST_F(ModuleLoad, LoadingRegistersEveryControlAndPage) {
    if (m_loadedBefore)
        GTEST_SKIP() << "the module was loaded earlier in this process; CTest runs this alone";
    for (const char* progId : kProgIds) {
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
        const std::string key = "CLSID\\" + StringFromGuid(clsid);
        EXPECT_EQ(Value(key + "\\InprocServer32", "ThreadingModel"), "Apartment") << progId;
        // ColorStatic registers with its own version, 1.3; every other 1.4.
        EXPECT_EQ(Value(key + "\\Version"),
                  std::string(progId) == "Kestrowidge.ColorStaticCtrl.1" ? "1.3" : "1.4")
            << progId;
        EXPECT_EQ(Value(key + "\\TypeLib"), StringFromGuid(kw::ids::LIBID_KestrowidgeLib));
    }
    const std::string led = "CLSID\\" + StringFromGuid(kw::ids::CLSID_Led);
    EXPECT_EQ(Value(led), "Led Control");
    EXPECT_EQ(Value(led + "\\MiscStatus\\1"), "131473"); // 0x20191
    EXPECT_NE(Value(led + "\\ToolboxBitmap32").find(", 17"), std::string::npos);
    const std::string page = "CLSID\\" + StringFromGuid(kw::ids::CLSID_PolPropPage);
    EXPECT_EQ(Value(page), "Polatrity Property Page");
    EXPECT_EQ(Value(page + "\\InprocServer32", "ThreadingModel"), "<missing>");
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", KEY_READ, &classes), ERROR_SUCCESS);
    DWORD count = 0;
    std::string name;
    while (RegEnumKeyExA(classes, count, &name) == ERROR_SUCCESS)
        ++count;
    RegCloseKey(classes);
    EXPECT_EQ(count, 14u + 18u);
}

TEST_F(ModuleLoad, RegisteringTwiceLeavesTheSameHive) {
    const std::string first = ReadFile(m_dir / "HKEY_CLASSES_ROOT.reg");
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(ReadFile(m_dir / "HKEY_CLASSES_ROOT.reg") == first) << "the hive changed";
}

TEST_F(ModuleLoad, UnregisteringRemovesTheLibraryFirst) {
    ASSERT_EQ(UnRegisterTypeLib(kw::ids::LIBID_KestrowidgeLib, 1, 4, 0, SYS_WIN64), S_OK);
    EXPECT_EQ(Call("DllUnregisterServer"), SELFREG_E_TYPELIB);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID("Kestrowidge.LedCtrl.1", &clsid), S_OK); // classes stay
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
    EXPECT_EQ(CLSIDFromProgID("Kestrowidge.LedCtrl.1", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(Value("CLSID\\" + StringFromGuid(kw::ids::CLSID_LedPropPage)), "<missing>");
}

TEST_F(ModuleLoad, AClassTheModuleDoesNotHoldAnswersWithoutCrashing) {
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(m_module.Symbol("DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    const CLSID unknown = {0x5d1c0a7e, 0x2b3f, 0x4e11, {0x9a, 0x40, 0x13, 0x37, 0x00, 0xc0, 0xff, 0xee}};
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(getClassObject(unknown, IID_IClassFactory, factory.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory.Get(), nullptr);
    ComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstanceFromName("Kestrowidge.LedCtrl.1", IID_IDispatch, object.OutVoid()),
              S_OK);
    ASSERT_EQ(
        CoCreateInstanceFromName("Kestrowidge.SpinEditCtrl.1", IID_IDispatch, object.OutVoid()),
        S_OK);
}

TEST_F(ModuleLoad, TheTypeLibraryListsEveryControlInItsOrder) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadRegTypeLib(kw::ids::LIBID_KestrowidgeLib, 1, 3, 0, lib.Out()), S_OK);
    CComBSTR name, help;
    ASSERT_EQ(lib->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), "KestrowidgeLib");
    EXPECT_EQ(help.View(), "Kestrowidge ActiveX-Steuerelement-Modul");
    TLIBATTR attr{};
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr.wMajorVerNum, 1);
    EXPECT_EQ(attr.wMinorVerNum, 4);
    ASSERT_EQ(lib->GetTypeInfoCount(), 42u);
    const char* order[] = {"SpinEdit",     "BmpButton1",  "BmpButton2", "SelectQube", "LineView",
                           "Acceleration", "Viewmanager", "Led",        "Switch",     "Polarity",
                           "ColorStatic",  "Digit",       "Pos",        "Curve"};
    for (UINT i = 0; i < 14; ++i) {
        CComBSTR dispatch, events, coclass, dispatchDoc, eventsDoc, coclassDoc;
        ASSERT_EQ(lib->GetDocumentation(INT(3 * i), &dispatch, &dispatchDoc, nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(dispatch.View(), std::string("_D") + order[i]);
        std::string shown = std::string(order[i]) == "Polarity" ? "polarity" : order[i];
        EXPECT_EQ(dispatchDoc.View(), "Dispatch-Schnittstelle f\xC3\xBCr " + shown + " Control");
        ASSERT_EQ(lib->GetDocumentation(INT(3 * i + 1), &events, &eventsDoc, nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(events.View(), std::string("_D") + order[i] + "Events");
        EXPECT_EQ(eventsDoc.View(), "Ereignisschnittstelle f\xC3\xBCr " + shown + " Control");
        ASSERT_EQ(lib->GetDocumentation(INT(3 * i + 2), &coclass, &coclassDoc, nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(coclass.View(), order[i]);
        EXPECT_EQ(coclassDoc.View(), std::string(order[i]) + " Control");
        TYPEKIND kind{};
        ASSERT_EQ(lib->GetTypeInfoType(3 * i + 2, &kind), S_OK);
        EXPECT_EQ(kind, TKIND_COCLASS);
    }
    // The Led's members carry their type library names.
    ComPtr<ITypeInfo> led;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DLed, led.Out()), S_OK);
    CComBSTR member;
    ASSERT_EQ(led->GetDocumentation(1, &member, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(member.View(), "m_nLedColor");
}
