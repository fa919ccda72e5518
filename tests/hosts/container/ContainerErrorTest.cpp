// Mistakes in scripts and damaged input end the run with a message that
// names the mistake and a non-zero status, never a crash; a dispatch error
// that the script catches does not end it.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

struct BadScript {
    const char* what;
    const char* script;
    const char* message; // a part of the message on standard error
};

TEST_F(ContainerTest, EveryMistakeEndsTheScriptWithAClearMessage) {
    // A class registered under the module that the module does not have.
    const char* kUnknown = "{6B1D0C2E-5A47-4E0F-9C3B-2D8E71F04A55}";
    std::ofstream(Path("registry/HKEY_CLASSES_ROOT.reg"), std::ios::app)
        << "\n[HKEY_CLASSES_ROOT\\CLSID\\" << kUnknown << "]\n@=\"No class of the module\"\n"
        << "\n[HKEY_CLASSES_ROOT\\CLSID\\" << kUnknown << "\\InprocServer32]\n@=\""
        << KW_MODULE_PATH << "\"\n";
    WriteFile("damaged.json", "{\"format\": \"kestrowidge-form\", \"version\": 1, \"controls\": [");
    WriteFile("wrongshape.json",
              "{\"format\": \"kestrowidge-form\", \"version\": 1, \"controls\": [{\"name\": 5}]}");
    const BadScript cases[] = {
        {"unknown class", "insert('Kestrowidge.NoSuchCtrl.1')",
         "insert: no class is registered under \"Kestrowidge.NoSuchCtrl.1\""},
        // The Led's property page: registered, and not a control to insert.
        {"registered but not a control", "insert('{0133AFC7-6611-4A72-BF1B-624AAE37A0A3}')",
         "is registered but cannot be created: E_NOINTERFACE (0x80004002)"},
        // Registered below under the module, which has no such class.
        {"registered but not available", "insert('{6B1D0C2E-5A47-4E0F-9C3B-2D8E71F04A55}')",
         "is registered but cannot be created: CLASS_E_CLASSNOTAVAILABLE (0x80040111)"},
        {"wrong argument type", "insert(5)", "insert: argument 1 (class) must be a string"},
        {"wrong property type", "local c = insert('Kestrowidge.LedCtrl.1'); c.Color = 'red'",
         "Led1.Color: DISP_E_TYPEMISMATCH (0x80020005)"},
        {"value out of range", "local c = insert('Kestrowidge.LedCtrl.1'); c.Color = 70000",
         "Led1.Color: DISP_E_"},
        {"unknown member", "local c = insert('Kestrowidge.LedCtrl.1'); print(c.Colour)",
         "Led1.Colour: no such member (DISP_E_UNKNOWNNAME (0x80020006))"},
        {"a function as a value", "local c = insert('Kestrowidge.LedCtrl.1'); c:SetMode(print)",
         "Led1.SetMode argument 1: a function cannot be given to a control"},
        {"damaged form file", "loadform('damaged.json')", "\"damaged.json\" is not a stored form"},
        {"form of the wrong shape", "loadform('wrongshape.json')", "\"name\""},
        {"missing file", "load('missing.json')",
         "load: cannot read \"missing.json\": No such file or directory"},
        {"unknown event", "local c = insert('Kestrowidge.LedCtrl.1'); on(c, 'Blink', print)",
         "on: Led1 has no event \"Blink\""},
        {"unknown mouse action", "local c = insert('Kestrowidge.LedCtrl.1'); mouse(c, 'x', 1, 1)",
         "mouse: unknown action \"x\""},
        {"pixel outside", "local c = insert('Kestrowidge.LedCtrl.1'); pixel(c, 12, 0)",
         "pixel: (12, 0) lies outside Led1"},
        {"syntax error", "x = = 1", "unexpected symbol near '='"},
        {"runtime error", "error('stop here')", "script.lua:1: stop here"},
    };
    for (const BadScript& c : cases) {
        const RunResult run = Script(c.script);
        EXPECT_EQ(run.status, 1) << c.what << "\n" << run.Transcript();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << "\n" << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << c.what << "\n" << run.err;
    }
}

TEST_F(ContainerTest, ACaughtDispatchErrorLeavesTheScriptRunning) {
    const RunResult run = Script(R"(
local c = insert("Kestrowidge.LedCtrl.1")
local ok, err = pcall(function() c.Shape = "round" end)
print("caught", ok, err ~= nil)
c.Shape = 1
print("after", c.Shape)
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("caught\tfalse\ttrue"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("after\t1"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, BadCommandLinesAndAMissingScriptFail) {
    EXPECT_EQ(Container("").status, 2);
    EXPECT_EQ(Container("--bogus x.lua").status, 2);
    EXPECT_EQ(Container("--list extra").status, 2);
    const RunResult missing = Container("nothing-here.lua");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot open nothing-here.lua"), std::string::npos) << missing.err;
}

TEST_F(ContainerTest, AnEmptyRegistryOffersNoClassesAndTheOptionRegisters) {
    const RunResult empty = Container("--registry empty-root --list");
    ASSERT_EQ(empty.status, 0) << empty.Transcript();
    EXPECT_NE(empty.out.find("0 controls, 0 pages"), std::string::npos) << empty.out;
    const RunResult none =
        Container("--registry empty-root -e " + Quote("insert('Kestrowidge.LedCtrl.1')"));
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no class is registered under \"Kestrowidge.LedCtrl.1\""),
              std::string::npos)
        << none.err;
    // Where it looked, and the ways to fill it.
    for (const char* hint : {"empty-root", "scripts/run", "--registry", "--register"})
        EXPECT_NE(none.err.find(hint), std::string::npos) << hint << "\n" << none.err;
    const RunResult registered =
        Container(std::string("--registry own-root --register ") + KW_MODULE_PATH + " --list");
    ASSERT_EQ(registered.status, 0) << registered.Transcript();
    EXPECT_NE(registered.out.find("14 controls, 18 pages"), std::string::npos) << registered.out;
}

} // namespace
TEST_F(ContainerTest, TheCommandLineAnswersHelpAndNamesWhatIsWrong) {
    for (const char* help : {"--help", "-h"}) {
        const RunResult run = Container(help);
        EXPECT_EQ(run.status, 0) << run.Transcript();
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("usage: kwcontainer"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("insert(class"), std::string::npos) << "the script functions";
        EXPECT_NE(run.out.find("example:"), std::string::npos);
    }
    struct Bad {
        const char* args;
        const char* message;
    };
    const Bad cases[] = {
        {"--frobnicate", "kwcontainer: unknown option --frobnicate\n"},
        {"--gui --embed hello", "kwcontainer: --embed: 'hello' is not a window id\n"},
        {"--gui --embed -5", "kwcontainer: --embed: '-5' is not a window id\n"},
        {"--embed 12 x.lua", "kwcontainer: --embed needs --gui\n"},
        {"--registry", "kwcontainer: --registry needs a value\n"},
        {"", "kwcontainer: nothing to run: give a script, -e CODE, --list or --gui\n"},
    };
    for (const Bad& c : cases) {
        const RunResult run = Container(c.args);
        EXPECT_EQ(run.status, 2) << c.args << "\n" << run.Transcript();
        EXPECT_EQ(run.err.substr(0, run.err.find("usage:")), c.message) << c.args;
    }
}

} // namespace kw::container::test
