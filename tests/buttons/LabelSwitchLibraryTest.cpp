// The same published interfaces in the type library of the module file, as
// a host loads it: the file is loaded (it registers itself, into a registry
// of its own here) and its library resource read.
#include "tests/buttons/LabelSwitchMembers.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace label_switch;

class LabelSwitchLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::filesystem::temp_directory_path() /
                ("kw-label-switch-" + std::to_string(getpid()));
        std::filesystem::create_directories(s_dir);
        setenv("KW_REGISTRY_DIR", s_dir.c_str(), 1);
        ASSERT_EQ(LoadTypeLib(KW_MODULE_PATH, s_lib.Out()), S_OK);
    }
    static void TearDownTestSuite() {
        s_lib.Reset();
        std::error_code ec;
        std::filesystem::remove_all(s_dir, ec);
    }
    static inline std::filesystem::path s_dir;
    static inline ComPtr<ITypeLib> s_lib;
};

} // namespace

TEST_F(LabelSwitchLibrary, ColorStatic) {
    ExpectLibrary(s_lib.Get(), kw::ids::IID_DColorStatic, kColorStatic);
    ExpectLibrary(s_lib.Get(), kw::ids::IID_DColorStaticEvents, kNoEvents);
}

TEST_F(LabelSwitchLibrary, Switch) {
    ExpectLibrary(s_lib.Get(), kw::ids::IID_DSwitch, kSwitch);
    ExpectLibrary(s_lib.Get(), kw::ids::IID_DSwitchEvents, kClickEvent);
}

TEST_F(LabelSwitchLibrary, Polarity) {
    ExpectLibrary(s_lib.Get(), kw::ids::IID_DPolarity, kPolarity);
    ExpectLibrary(s_lib.Get(), kw::ids::IID_DPolarityEvents, kClickEvent);
}
