// The launcher in a headless host: the icon it shows for its command, index
// and size, what a click starts (the arguments, directory and environment a
// helper program records), its refusals, and what it stores.
#include "buttons/BmpButton2Ctrl.h"
#include "platform/shell/CommandLine.h"
#include "platform/shell/Process.h"
#include "platform/shell/ShellIcons.h"
#include "tests/buttons/ButtonTestSupport.h"
#include "tests/platform/shell/ArgvRecord.h"
#include "tests/platform/shell/IconFilesTest.h"

#include <fstream>

namespace {

namespace fs = std::filesystem;
using buttons_test::ButtonTest;
using shell_test::ReadArgvRecord;
using shell_test::TempDir;
using shell_test::WaitForRecords;

class BmpButton2Test : public ButtonTest<CBmpButton2Ctrl> {
protected:
    BmpButton2Test() : ButtonTest(kw::ids::CLSID_BmpButton2, kw::ids::IID_DBmpButton2Events) {}
    void SetUp() override {
        ButtonTest::SetUp();
        ::setenv("KW_ARGV_DIR", m_out.Path().c_str(), 1);
        ::setenv("KW_ARGV_PROBE", "vom Host", 1);
        ::setenv("TMPDIR", m_temp.Path().c_str(), 1);
        Create(RECT{20, 20, 60, 60});
    }
    void TearDown() override {
        ButtonTest::TearDown();
        while (kw::shell::ChildrenNotYetReaped() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::unsetenv("KW_ARGV_DIR");
        ::unsetenv("KW_ARGV_PROBE");
        ::unsetenv("TMPDIR");
    }
    void ClickIt() {
        MoveInside();
        session.Click();
    }
    shell_test::ArgvRecord LaunchedOnce() {
        const auto files = WaitForRecords(m_out.Path(), 1);
        EXPECT_EQ(files.size(), 1u);
        shell_test::ArgvRecord record;
        if (!files.empty())
            record = ReadArgvRecord(files[0]);
        for (const auto& f : files)
            fs::remove(f);
        return record;
    }
    std::size_t RecordsNow() {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(m_out.Path()))
            n += e.path().extension() == ".txt";
        return n;
    }
    CSize PictureSize() { return Button()->m_staticPic.GetPixelSize(); }

    TempDir m_out;
    TempDir m_temp;
    const std::string m_writer = KW_ARGV_WRITER;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

// [SECTION] The icon

TEST_F(BmpButton2Test, AnEmptyCommandShowsTheStockIconAndAClickOnlyFiresClick) {
    Put("IconIndex", CComVariant::I2(3));
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_ICON);
    EXPECT_EQ(PictureSize(), CSize(16, 16));
    EXPECT_TRUE(Button()->ProgramPath().IsEmpty());
    ClickIt();
    EXPECT_EQ(clicks.times.size(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(RecordsNow(), 0u);
    EXPECT_EQ(kw::shell::ChildrenNotYetReaped(), 0u);
}

TEST_F(BmpButton2Test, SymSizeChoosesBetweenTheTwoSizesOfAnIconFile) {
    const fs::path file = m_temp.Path() / "probe.ico";
    WriteFile(file, shell_test::MakeIco({{32, 0xFF0000}, {16, 0x00FF00}}));
    Put("COMMAND", CComVariant::Str(file.string()));
    EXPECT_EQ(PictureSize(), CSize(16, 16)) << "SymSize 0: the small icon";
    Put("SymSize", CComVariant::I2(1));
    EXPECT_EQ(PictureSize(), CSize(32, 32)) << "SymSize 1: the large icon";
    Put("SymSize", CComVariant::I2(2));
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_NONE) << "2 with both sizes: none";

    const fs::path largeOnly = m_temp.Path() / "large.ico";
    WriteFile(largeOnly, shell_test::MakeIco({{32, 0xFF0000}}));
    Put("COMMAND", CComVariant::Str(largeOnly.string()));
    EXPECT_EQ(PictureSize(), CSize(32, 32)) << "2 with one size: that one";
    Put("SymSize", CComVariant::I2(0));
    EXPECT_EQ(PictureSize(), CSize(32, 32)) << "0 without a small icon: the large one";
}

TEST_F(BmpButton2Test, AFileWithoutIconsShowsTheStockIconOfTheSameIndex) {
    const fs::path text = m_temp.Path() / "readme.txt";
    WriteFile(text, "no icons here");
    Put("IconIndex", CComVariant::I2(5));
    Put("COMMAND", CComVariant::Str(text.string()));
    ASSERT_EQ(Button()->m_staticPic.GetType(), PICTYPE_ICON);
    // The same picture as the stock icon 5, small.
    HICON small = nullptr;
    ASSERT_EQ(ExtractIconExA(kStockIconLibrary, 5, nullptr, &small, 1), 1u);
    CPictureHolder stock;
    stock.CreateFromIcon(small, TRUE);
    EXPECT_EQ(Button()->m_staticPic.ToString(), stock.ToString());
    // An index the stock set lacks leaves the button without a picture.
    Put("IconIndex", CComVariant::I2(999));
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_NONE);
}

// [SECTION] Starting the program

TEST_F(BmpButton2Test, AnEmptyArgGivesPathAndABlankAndNoExtraArgument) {
    Put("COMMAND", CComVariant::Str(m_writer));
    EXPECT_EQ(Button()->CommandLine().Str(), m_writer + " ");
    ClickIt();
    const auto record = LaunchedOnce();
    EXPECT_EQ(record.args, std::vector<std::string>{m_writer});
    EXPECT_EQ(fs::path(record.cwd), fs::canonical(m_temp.Path())) << "the temporary directory";
    EXPECT_EQ(record.probe, "vom Host");
    EXPECT_TRUE(record.fds.empty());
}

TEST_F(BmpButton2Test, ShellCharactersInArgArriveVerbatim) {
    Put("COMMAND", CComVariant::Str(m_writer));
    const std::string arg =
        R"(; rm -rf ~ | tee x & $(reboot) `id` *.nc > /dev/null "a b" 'c d' \"q\")";
    Put("ARG", CComVariant::Str(arg));
    ClickIt();
    std::vector<std::string> expected{m_writer};
    for (std::string& a : kw::shell::SplitCommandLine(arg))
        expected.push_back(std::move(a));
    EXPECT_EQ(LaunchedOnce().args, expected);
    EXPECT_EQ(expected.at(14), "a b");
    EXPECT_EQ(expected.at(15), "'c");
    EXPECT_EQ(expected.back(), "\"q\"");
}

TEST_F(BmpButton2Test, WorkpathIsTheWorkingDirectoryAndALongOneIsRefusedWhenSet) {
    Put("COMMAND", CComVariant::Str(m_writer));
    const fs::path work = m_temp.Path() / "Programm 1";
    fs::create_directory(work);
    Put("WORKPATH", CComVariant::Str(work.string()));
    ClickIt();
    EXPECT_EQ(fs::path(LaunchedOnce().cwd), fs::canonical(work));

    const std::string longest(259, 'w');
    const std::string tooLong(260, 'w');
    Button()->SetModifiedFlag(FALSE);
    EXPECT_NE(Call("WORKPATH", DISPATCH_PROPERTYPUT, {CComVariant::Str(tooLong)}), S_OK);
    EXPECT_EQ(Button()->m_workPath.Str(), work.string()) << "the old one is kept, never cut";
    EXPECT_FALSE(Button()->IsModified());
    Put("WORKPATH", CComVariant::Str(longest));
    EXPECT_EQ(Button()->m_workPath.Str(), longest);
}

TEST_F(BmpButton2Test, ClickFiresBeforeTheProgramStarts) {
    Put("COMMAND", CComVariant::Str(m_writer));
    std::size_t startedAtClick = 99;
    clicks.onClick = [&] { startedAtClick = kw::shell::ChildrenNotYetReaped() + RecordsNow(); };
    ClickIt();
    EXPECT_EQ(startedAtClick, 0u);
    LaunchedOnce();
}

TEST_F(BmpButton2Test, AProgramThatDoesNotStartLeavesTheOperatorUntroubled) {
    Put("COMMAND", CComVariant::Str((m_temp.Path() / "missing program").string()));
    Put("WORKPATH", CComVariant::Str("/nonexistent/folder"));
    ClickIt();
    EXPECT_EQ(clicks.times.size(), 1u);
    EXPECT_TRUE(session.Modal().messageBoxes.empty());
    EXPECT_EQ(kw::shell::ChildrenNotYetReaped(), 0u);
}

TEST_F(BmpButton2Test, ACommandTooLongForItsBufferStartsNothing) {
    const std::string longPath = "/" + std::string(300, 'p');
    Put("COMMAND", CComVariant::Str(longPath));
    EXPECT_TRUE(Button()->ProgramPath().IsEmpty()) << "never a cut path";
    ClickIt();
    EXPECT_EQ(clicks.times.size(), 1u);
}

TEST_F(BmpButton2Test, HoldingTheLauncherDoesNotRepeat) {
    MoveInside();
    session.MouseDown();
    session.Advance(1000);
    EXPECT_TRUE(clicks.times.empty());
    session.MouseUp();
    EXPECT_EQ(clicks.times.size(), 1u);
}

// [SECTION] Persistence

TEST_F(BmpButton2Test, SavingKeepsCommandAndIndexOnly) {
    const fs::path file = m_temp.Path() / "probe.ico";
    WriteFile(file, shell_test::MakeIco({{32, 0xFF0000}, {16, 0x00FF00}}));
    Put("COMMAND", CComVariant::Str(file.string()));
    Put("IconIndex", CComVariant::I2(0));
    Put("SymSize", CComVariant::I2(1));
    Put("WORKPATH", CComVariant::Str("/srv"));
    Put("ARG", CComVariant::Str("-x"));
    ComPtr<CJsonPropertyBag> bag;
    ComPtr<IDispatch> copy = SaveAndLoad(&bag);
    EXPECT_EQ(bag->Values()["COMMAND"], file.string());
    EXPECT_FALSE(bag->Values().contains("WORKPATH"));
    EXPECT_FALSE(bag->Values().contains("ARG"));
    EXPECT_FALSE(bag->Values().contains("SymSize"));
    CBmpButton2Ctrl* loaded = Object(copy);
    EXPECT_EQ(loaded->m_command.Str(), file.string());
    EXPECT_TRUE(loaded->m_workPath.IsEmpty());
    EXPECT_TRUE(loaded->m_arg.IsEmpty());
    EXPECT_EQ(loaded->m_symSize, 0);
    EXPECT_EQ(loaded->m_staticPic.GetPixelSize(), CSize(16, 16)) << "the icon loaded again";
}

TEST_F(BmpButton2Test, AResetShowsTheStockIconAgain) {
    const fs::path file = m_temp.Path() / "probe.ico";
    WriteFile(file, shell_test::MakeIco({{32, 0xFF0000}}));
    Put("COMMAND", CComVariant::Str(file.string()));
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    EXPECT_TRUE(Button()->m_command.IsEmpty());
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_ICON);
    EXPECT_EQ(PictureSize(), CSize(16, 16));
}
