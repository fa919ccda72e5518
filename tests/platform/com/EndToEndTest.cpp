// A module built as its own shared object, registered by kwregsvr in another
// process, then created by ProgID here and driven only by name.
#include "platform/com/ComLoader.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/TypeInfo.h"
#include "platform/registry/Registry.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

constexpr GUID LIBID_TestWidgetLib =
    MakeGuid(0x6B1E0C51, 0x3D2A, 0x4F7B, 0x9A, 0x11, 0x52, 0x0E, 0x7C, 0x44, 0x10, 0x04);
constexpr IID IID_DTestWidgetEvents =
    MakeGuid(0x6B1E0C51, 0x3D2A, 0x4F7B, 0x9A, 0x11, 0x52, 0x0E, 0x7C, 0x44, 0x10, 0x03);

int RunRegsvr(std::vector<std::string> args) {
    args.insert(args.begin(), KW_REGSVR_PATH);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

DISPID IdOf(IDispatch* d, const char* name) {
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << name;
    return id;
}

HRESULT Put(IDispatch* d, const char* name, CComVariant value) {
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p{&value, &put, 1, 1};
    return d->Invoke(IdOf(d, name), IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr,
                     nullptr);
}

CComVariant Get(IDispatch* d, const char* name) {
    CComVariant result;
    DISPPARAMS none{};
    EXPECT_EQ(d->Invoke(IdOf(d, name), IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                        nullptr),
              S_OK);
    return result;
}

// Answers every Changing event with cancel = (new value is negative).
class CVetoSink final : public TestEventSink {
public:
    int calls = 0;
    STDMETHOD(Invoke)
    (DISPID, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
        ++calls;
        // rgvarg[1] = newValue, rgvarg[0] = cancel (by reference).
        *p->rgvarg[0].pboolVal = p->rgvarg[1].lVal < 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("kw-e2e-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        setenv("KW_REGISTRY_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        unsetenv("KW_REGISTRY_DIR");
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path Hive() const { return m_dir / "HKEY_CLASSES_ROOT.reg"; }
    std::filesystem::path m_dir;
};

} // namespace

TEST_F(EndToEnd, RegisterCreateByProgIdUseByNameAndUnregister) {
    ASSERT_EQ(RunRegsvr({"-s", KW_TESTMODULE_PATH}), 0);

    ComPtr<IDispatch> widget;
    ASSERT_EQ(CoCreateInstanceFromName("Kestrowidge.TestWidget.1", IID_IDispatch, widget.OutVoid()),
              S_OK);
    EXPECT_EQ(Get(widget.Get(), "value").lVal, 7);
    ASSERT_EQ(Put(widget.Get(), "VALUE", CComVariant::Str("12")), S_OK);
    EXPECT_EQ(Get(widget.Get(), "Value").lVal, 12);
    ASSERT_EQ(Put(widget.Get(), "label",
                  CComVariant::Str("\xC2\xB0"
                                   "C")),
              S_OK);
    EXPECT_EQ(BstrView(Get(widget.Get(), "LABEL").bstrVal), "\xC2\xB0"
                                                            "C");

    // A method with a by-reference result.
    LONG doubled = 0;
    VARIANT args[2];
    args[1] = CComVariant::I4(21); // x, the first argument, sits last
    args[0].vt = VT_BYREF | VT_I4;
    args[0].plVal = &doubled;
    DISPPARAMS params{args, nullptr, 2, 0};
    CComVariant ok;
    ASSERT_EQ(widget->Invoke(IdOf(widget.Get(), "twice"), IID_NULL, 0, DISPATCH_METHOD, &params,
                             &ok, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(doubled, 42);
    EXPECT_EQ(ok.boolVal, VARIANT_TRUE);

    // A method that fails reports an exception record.
    CComVariant text = CComVariant::Str("no");
    DISPPARAMS failParams{&text, nullptr, 1, 0};
    EXCEPINFO info{};
    EXPECT_EQ(widget->Invoke(IdOf(widget.Get(), "Fail"), IID_NULL, 0, DISPATCH_METHOD, &failParams,
                             nullptr, &info, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_INVALIDARG);
    EXPECT_EQ(BstrView(info.bstrDescription), "no");
    ClearExcepInfo(&info);

    // The event's by-reference answer reaches the control.
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(widget.As(IID_IConnectionPointContainer, &container), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(IID_DTestWidgetEvents, point.Out()), S_OK);
    CVetoSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    ASSERT_EQ(Put(widget.Get(), "Value", CComVariant::I4(-5)), S_OK);
    EXPECT_EQ(Get(widget.Get(), "Value").lVal, 12); // vetoed
    ASSERT_EQ(Put(widget.Get(), "Value", CComVariant::I4(5)), S_OK);
    EXPECT_EQ(Get(widget.Get(), "Value").lVal, 5);
    EXPECT_EQ(sink.calls, 2);
    ASSERT_EQ(point->Unadvise(cookie), S_OK);

    // The registered type library describes the members.
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadRegTypeLib(LIBID_TestWidgetLib, 1, 3, 0, lib.Out()), S_OK); // 1.4 serves 1.3
    EXPECT_EQ(LoadRegTypeLib(LIBID_TestWidgetLib, 1, 5, 0, lib.Out()), TYPE_E_LIBNOTREGISTERED);

    // The module stays loaded while an object or a server lock is alive.
    point.Reset();
    container.Reset();
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedLibraryCount(), 1u);
    widget.Reset();
    CLSID widgetClass{};
    ASSERT_EQ(CLSIDFromProgID("Kestrowidge.TestWidget.1", &widgetClass), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(widgetClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.OutVoid()),
              S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedLibraryCount(), 1u);
    ASSERT_EQ(CoGetClassObject(widgetClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.OutVoid()),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedLibraryCount(), 0u);

    ASSERT_EQ(RunRegsvr({"-u", "-s", KW_TESTMODULE_PATH}), 0);
    EXPECT_EQ(CoCreateInstanceFromName("Kestrowidge.TestWidget.1", IID_IDispatch, widget.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID("Kestrowidge.TestWidget.1", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(LoadRegTypeLib(LIBID_TestWidgetLib, 1, 4, 0, lib.Out()), TYPE_E_LIBNOTREGISTERED);
}

TEST_F(EndToEnd, RegisteringTwiceLeavesByteIdenticalHives) {
    ASSERT_EQ(RunRegsvr({"-s", KW_TESTMODULE_PATH}), 0);
    const std::string first = ReadFile(Hive());
    ASSERT_NE(first.find("Kestrowidge.TestWidget.1"), std::string::npos);
    ASSERT_EQ(RunRegsvr({"-s", KW_TESTMODULE_PATH}), 0);
    EXPECT_EQ(ReadFile(Hive()), first);
}

TEST_F(EndToEnd, UnregisteringWithoutTheTypeLibraryFailsAndKeepsTheClasses) {
    ASSERT_EQ(RunRegsvr({"-s", KW_TESTMODULE_PATH}), 0);
    ASSERT_EQ(UnRegisterTypeLib(LIBID_TestWidgetLib, 1, 4, 0, SYS_WIN64), S_OK);
    EXPECT_EQ(RunRegsvr({"-u", "-s", KW_TESTMODULE_PATH}), 5); // SELFREG_E_TYPELIB
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID("Kestrowidge.TestWidget.1", &clsid), S_OK);
}

TEST_F(EndToEnd, BadModulesAndNamesAreAnsweredWithErrors) {
    const auto notAModule = m_dir / "not-a-module.so";
    std::ofstream(notAModule) << "plain text";
    EXPECT_EQ(RunRegsvr({"-s", notAModule.string()}), 3);
    EXPECT_EQ(RunRegsvr({"-s", (m_dir / "missing.so").string()}), 3);
    EXPECT_EQ(RunRegsvr({"-s", "/usr/lib/x86_64-linux-gnu/libc.so.6"}), 4); // no entry point
    EXPECT_EQ(RunRegsvr({}), 1);

    ComPtr<IDispatch> d;
    EXPECT_EQ(CoCreateInstanceFromName("No.Such.Class", IID_IDispatch, d.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CoCreateInstanceFromName("{00000000-0000-0000-0000-00000000000", IID_IDispatch,
                                       d.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CoCreateInstanceFromName("a\\b", IID_IDispatch, d.OutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);

    // A class whose registered file is gone or foreign.
    ASSERT_EQ(RunRegsvr({"-s", KW_TESTMODULE_PATH}), 0);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID("Kestrowidge.TestWidget.1", &clsid), S_OK);
    const std::string server = "CLSID\\" + StringFromGuid(clsid) + "\\InprocServer32";
    ASSERT_EQ(RegSetStringValue(HKEY_CLASSES_ROOT, server, "", (m_dir / "gone.so").string()),
              ERROR_SUCCESS);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.OutVoid()),
              HRESULT_MOD_NOT_FOUND);
    ASSERT_EQ(RegSetStringValue(HKEY_CLASSES_ROOT, server, "", notAModule.string()), ERROR_SUCCESS);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.OutVoid()),
              HRESULT_BAD_EXE_FORMAT);

    // A damaged hive is an error, never a crash, and stays as it was.
    std::ofstream(Hive(), std::ios::trunc) << "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\x\n\"broken";
    const std::string damaged = ReadFile(Hive());
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.OutVoid()),
              REGDB_E_READREGDB);
    EXPECT_EQ(RunRegsvr({"-s", KW_TESTMODULE_PATH}), 5);
    EXPECT_EQ(ReadFile(Hive()), damaged);
}
