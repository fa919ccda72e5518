// The picture buttons' property pages on live controls: what each page
// shows when it opens, what Apply writes (every other property read before
// and after), refused values, Cancel, several buttons at once, and the
// launcher page's icons.
#include "buttons/BmpButton1PropPage1.h"
#include "buttons/BmpButton1PropPage2.h"
#include "buttons/BmpButton2PropPage1.h"
#include "platform/afx/FileDialog.h"
#include "platform/com/Bstr.h"
#include "tests/buttons/HostedControlTest.h"
#include "tests/platform/shell/IconFilesTest.h"
#include "tests/support/PageHarness.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Page1 = CBmpButton1PropPage1;
using Page2 = CBmpButton2PropPage1;
using Props = std::map<std::string, std::string>;

constexpr const char* kButton1Properties[] = {
    "StaticText",  "HooverText",   "PushText",  "HooverColor",      "PushColor",   "Align",
    "Spacing",     "EnableHoover", "ShowFocus", "EnableAutorepeat", "StaticColor", "Flags",
    "BorderStyle", "Enabled",      "BackColor", "ForeColor"};
constexpr const char* kButton2Properties[] = {"COMMAND", "IconIndex", "SymSize",    "WORKPATH",
                                              "ARG",     "Enabled",   "BorderStyle"};

class ButtonPagesTest : public HostedControlTest {
protected:
    ComPtr<IDispatch> Button1(const char* text = "Start") {
        ComPtr<IDispatch> button = Create(kw::ids::CLSID_BmpButton1, RECT{10, 10, 90, 50});
        Put(button, "StaticText", CComVariant::Str(text));
        Put(button, "HooverText", CComVariant::Str("Los"));
        Put(button, "PushText", CComVariant::Str("Läuft"));
        Put(button, "ShowFocus", CComVariant::I2(2));
        Put(button, "Flags", CComVariant::I2(0x13)); // flat, picture at the top
        Put(button, "Spacing", CComVariant::I2(4));
        Put(button, "EnableHoover", CComVariant::Bool(false));
        return button;
    }
    ComPtr<IDispatch> Button2() {
        return Create(kw::ids::CLSID_BmpButton2, RECT{100, 10, 140, 50});
    }

    template <std::size_t N>
    static Props Read(const ComPtr<IDispatch>& control, const char* const (&names)[N]) {
        Props values;
        for (const char* name : names) {
            CComVariant value = Get(control, name);
            CComVariant text;
            EXPECT_EQ(VariantChangeType(&text, &value, 0, VT_BSTR), S_OK) << name;
            values[name] = AnsiFromBstr(text.bstrVal);
        }
        return values;
    }
    static Props Read1(const ComPtr<IDispatch>& c) { return Read(c, kButton1Properties); }
    static Props Read2(const ComPtr<IDispatch>& c) { return Read(c, kButton2Properties); }

    static std::string SnapshotPath(const std::string& name) {
        const char* build = std::getenv("KW_BUILD_DIR");
        const fs::path dir =
            fs::path(build ? build : ::testing::TempDir()) / "snapshots" / "buttonpages";
        fs::create_directories(dir);
        return (dir / (name + ".png")).string();
    }

    static HICON ShownIcon(PageHarness& page, int id) {
        return reinterpret_cast<HICON>(SendMessageA(page.Item(id), STM_GETICON, 0, 0));
    }
};

// [SECTION] First page: texts, focus mode, flat and transparent bits

TEST_F(ButtonPagesTest, TheFirstPageShowsTheTextsTheFocusModeAndTheTwoFlagBits) {
    const auto button = Button1();
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    EXPECT_EQ(page.Text(Page1::IDC_STATICTEXT), "Start");
    EXPECT_EQ(page.Text(Page1::IDC_HOOVERTEXT), "Los");
    EXPECT_EQ(page.Text(Page1::IDC_PUSHTEXT), "L\xE4uft"); // Windows-1252
    EXPECT_EQ(page.Selection(Page1::IDC_SHOWFOCUS), 2);
    EXPECT_EQ(SendMessageA(page.Item(Page1::IDC_SHOWFOCUS), CB_GETCOUNT, 0, 0), 4);
    EXPECT_TRUE(page.Checked(Page1::IDC_FLAT));
    EXPECT_FALSE(page.Checked(Page1::IDC_TRANSPARENT));
    EXPECT_FALSE(page.Dirty());
    EXPECT_TRUE(page.Snapshot(SnapshotPath("bmpbutton1-page1")));
}

TEST_F(ButtonPagesTest, TheFirstPageWritesTheChangedTextsAndOnlyItsOwnFlagBits) {
    const auto button = Button1();
    const Props before = Read1(button);
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    page.Retype(Page1::IDC_PUSHTEXT, "Halt");
    page.Choose(Page1::IDC_SHOWFOCUS, 3);
    page.Click(Page1::IDC_FLAT);        // cleared
    page.Click(Page1::IDC_TRANSPARENT); // set
    EXPECT_TRUE(page.Dirty());
    ASSERT_EQ(page.Apply(), S_OK);

    Props expected = before;
    expected["PushText"] = "Halt";
    expected["ShowFocus"] = "3";
    expected["Flags"] = "35"; // 0x23: transparent, still aligned to the top
    expected["Align"] = "3";
    EXPECT_EQ(Read1(button), expected);
    EXPECT_FALSE(page.Dirty());
}

TEST_F(ButtonPagesTest, WithSeveralButtonsEachKeepsItsOwnFlagsButTheChangedBit) {
    const auto first = Button1("Eins");
    const auto second = Button1("Zwei");
    Put(second, "Flags", CComVariant::I2(0x05)); // not flat, picture and text centred
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage1);
    ASSERT_TRUE(page.Open({first.Get(), second.Get()}));
    page.Click(Page1::IDC_TRANSPARENT);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Get(first, "Flags").iVal, 0x33);
    EXPECT_EQ(Get(second, "Flags").iVal, 0x25); // the first one's flat bit is not copied
    // Texts the user left alone stay each button's own.
    EXPECT_EQ(AnsiFromBstr(Get(second, "StaticText").bstrVal), "Zwei");
}

TEST_F(ButtonPagesTest, ClosingThePagesWithoutApplyWritesNothing) {
    const auto button1 = Button1();
    const auto button2 = Button2();
    const Props before1 = Read1(button1);
    const Props before2 = Read2(button2);
    {
        PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage1);
        ASSERT_TRUE(page.Open({button1.Get()}));
        page.Retype(Page1::IDC_STATICTEXT, "Anders");
        page.Click(Page1::IDC_FLAT);
        page.Choose(Page1::IDC_SHOWFOCUS, 0);
    }
    {
        PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage2);
        ASSERT_TRUE(page.Open({button1.Get()}));
        page.Choose(CBmpButton1PropPage2::IDC_ALIGN, 1);
        page.Retype(CBmpButton1PropPage2::IDC_SPACING, "9");
        page.Click(CBmpButton1PropPage2::IDC_HOOVER);
    }
    {
        PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
        ASSERT_TRUE(page.Open({button2.Get()}));
        page.Retype(Page2::IDC_COMMAND, "/bin/true");
        page.Retype(Page2::IDC_ARG, "-x");
        page.Click(Page2::IDC_LARGESYMBOL);
    }
    EXPECT_EQ(Read1(button1), before1);
    EXPECT_EQ(Read2(button2), before2);
}

// [SECTION] Second page: alignment, spacing, hover

TEST_F(ButtonPagesTest, TheSecondPageShowsAndWritesAlignmentSpacingAndHover) {
    const auto button = Button1();
    Put(button, "Flags", CComVariant::I2(0x35)); // flat, transparent, alignment 5
    const Props before = Read1(button);
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage2);
    ASSERT_TRUE(page.Open({button.Get()}));
    EXPECT_EQ(page.Selection(CBmpButton1PropPage2::IDC_ALIGN), 5);
    EXPECT_EQ(SendMessageA(page.Item(CBmpButton1PropPage2::IDC_ALIGN), CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(page.Text(CBmpButton1PropPage2::IDC_SPACING), "4");
    EXPECT_FALSE(page.Checked(CBmpButton1PropPage2::IDC_HOOVER));
    EXPECT_TRUE(page.Snapshot(SnapshotPath("bmpbutton1-page2")));

    page.Choose(CBmpButton1PropPage2::IDC_ALIGN, 6);
    page.Retype(CBmpButton1PropPage2::IDC_SPACING, "20");
    page.Click(CBmpButton1PropPage2::IDC_HOOVER);
    ASSERT_EQ(page.Apply(), S_OK);
    Props expected = before;
    expected["Align"] = "6";
    expected["Flags"] = "54"; // 0x36: the flat and transparent bits stay
    expected["Spacing"] = "20";
    expected["EnableHoover"] = "-1";
    EXPECT_EQ(Read1(button), expected);
}

TEST_F(ButtonPagesTest, ASpacingOutsideZeroToTwentyIsRefusedAndNothingIsWritten) {
    const auto button = Button1();
    const Props before = Read1(button);
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage2);
    ASSERT_TRUE(page.Open({button.Get()}));
    page.Choose(CBmpButton1PropPage2::IDC_ALIGN, 1);
    page.Click(CBmpButton1PropPage2::IDC_HOOVER);
    for (const char* text : {"21", "-1"}) {
        page.Retype(CBmpButton1PropPage2::IDC_SPACING, text);
        EXPECT_EQ(page.Apply(), E_FAIL) << text;
        EXPECT_EQ(page.TakeMessages(),
                  std::vector<std::string>{"Please enter an integer between 0 and 20."})
            << text;
        EXPECT_EQ(Read1(button), before) << text;
        EXPECT_TRUE(page.Dirty());
    }
    page.Retype(CBmpButton1PropPage2::IDC_SPACING, "0");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Get(button, "Spacing").iVal, 0);
    EXPECT_EQ(Get(button, "Align").iVal, 1);
}

TEST_F(ButtonPagesTest, TheSpacingArrowsStepUpwardWithinTheRangeThePageAccepts) {
    const auto button = Button1();
    Put(button, "Spacing", CComVariant::I2(19));
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage2);
    ASSERT_TRUE(page.Open({button.Get()}));
    SetFocus(page.Item(CBmpButton1PropPage2::IDC_SPACING));
    session.Key(VK_UP);
    EXPECT_EQ(page.Text(CBmpButton1PropPage2::IDC_SPACING), "20");
    session.Key(VK_UP);
    EXPECT_EQ(page.Text(CBmpButton1PropPage2::IDC_SPACING), "20");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Get(button, "Spacing").iVal, 20);
}

TEST_F(ButtonPagesTest, ASpacingAHostSetOutsideTheRangeDoesNotBlockTheOtherItems) {
    const auto button = Button1();
    Put(button, "Spacing", CComVariant::I2(30));
    PageHarness page(session, kw::ids::CLSID_BmpButton1PropPage2);
    ASSERT_TRUE(page.Open({button.Get()}));
    page.Click(CBmpButton1PropPage2::IDC_HOOVER);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(page.TakeMessages().empty());
    EXPECT_EQ(Get(button, "EnableHoover").boolVal, VARIANT_TRUE);
    EXPECT_EQ(Get(button, "Spacing").iVal, 30);
}

// [SECTION] The launcher's page

class LauncherPageTest : public ButtonPagesTest {
protected:
    void SetUp() override {
        ButtonPagesTest::SetUp();
        std::string pattern = (fs::temp_directory_path() / "kw-bpages-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_program = m_dir / "werkzeug.ico";
        std::ofstream(m_program, std::ios::binary)
            << shell_test::MakeIco({{16, 0x00C000}, {32, 0x0000C0}});
    }
    void TearDown() override {
        kw::afx::ClearFileDialogAnswers();
        ButtonPagesTest::TearDown();
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    // "..." with the file dialog answered by `path`, or cancelled.
    void Browse(PageHarness& page, std::optional<std::string> path) {
        kw::afx::QueueFileDialogAnswer(std::move(path));
        page.Click(Page2::IDC_BROWSE);
        EXPECT_EQ(kw::afx::ClearFileDialogAnswers(), 0u) << "the file dialog did not open";
    }
    static std::string Text(const ComPtr<IDispatch>& control, const char* name) {
        return AnsiFromBstr(Get(control, name).bstrVal);
    }
    std::string Folder() const { return m_dir.string() + "/"; }

    fs::path m_dir;
    fs::path m_program;
};

TEST_F(LauncherPageTest, ThePageShowsTheProgramItsIconsAndTheLaunchSettings) {
    const auto button = Button2();
    Put(button, "COMMAND", CComVariant::Str(m_program.string()));
    Put(button, "IconIndex", CComVariant::I2(3));
    Put(button, "SymSize", CComVariant::I2(1));
    Put(button, "WORKPATH", CComVariant::Str("/srv/nc"));
    Put(button, "ARG", CComVariant::Str("-v teil.nc"));
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    EXPECT_EQ(page.Text(Page2::IDC_COMMAND), m_program.string());
    EXPECT_FALSE(page.Checked(Page2::IDC_SMALLSYMBOL));
    EXPECT_TRUE(page.Checked(Page2::IDC_LARGESYMBOL));
    EXPECT_EQ(page.Text(Page2::IDC_WORKPATH), "/srv/nc");
    EXPECT_EQ(page.Text(Page2::IDC_ARG), "-v teil.nc");
    // Icon 0 of the program, whatever index the button shows.
    const HICON small = ShownIcon(page, Page2::IDC_SMALLICON);
    const HICON large = ShownIcon(page, Page2::IDC_LARGEICON);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(kw::user::IconSize(small).cx, 16);
    EXPECT_EQ(kw::user::IconSize(large).cx, 32);
    EXPECT_TRUE(page.Snapshot(SnapshotPath("bmpbutton2-page")));
}

TEST_F(LauncherPageTest, ApplyWritesTheChangedLaunchSettingsAndNothingElse) {
    const auto button = Button2();
    Put(button, "COMMAND", CComVariant::Str(m_program.string()));
    Put(button, "IconIndex", CComVariant::I2(1));
    const Props before = Read2(button);
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    page.Click(Page2::IDC_LARGESYMBOL);
    page.Retype(Page2::IDC_WORKPATH, "/srv/nc");
    page.Retype(Page2::IDC_ARG, "--fast");
    ASSERT_EQ(page.Apply(), S_OK);
    Props expected = before;
    expected["SymSize"] = "1";
    expected["WORKPATH"] = "/srv/nc";
    expected["ARG"] = "--fast";
    EXPECT_EQ(Read2(button), expected);
}

TEST_F(LauncherPageTest, TheWorkingDirectoryFieldTakesNoMoreThanTheLauncherHolds) {
    const auto button = Button2();
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    const std::string longPath = "/" + std::string(300, 'd');
    page.Retype(Page2::IDC_WORKPATH, longPath.c_str());
    EXPECT_EQ(page.Text(Page2::IDC_WORKPATH).size(), 259u);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(AnsiFromBstr(Get(button, "WORKPATH").bstrVal), longPath.substr(0, 259));
}

// [SECTION] "..." on the launcher's page

TEST_F(LauncherPageTest, BrowsingSetsTheProgramAndAnEmptyWorkingDirectoryAndShowsThem) {
    const auto button = Button2();
    Put(button, "ARG", CComVariant::Str("-q"));
    Props expected = Read2(button);
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    Browse(page, m_program.string());

    expected["COMMAND"] = m_program.string();
    expected["WORKPATH"] = Folder();
    EXPECT_EQ(Read2(button), expected);
    EXPECT_EQ(page.Text(Page2::IDC_COMMAND), m_program.string());
    EXPECT_EQ(page.Text(Page2::IDC_WORKPATH), Folder());
    EXPECT_EQ(page.Text(Page2::IDC_ARG), "-q");
    // The new program's icons, 16 and 32 pixels.
    const HICON small = ShownIcon(page, Page2::IDC_SMALLICON);
    const HICON large = ShownIcon(page, Page2::IDC_LARGEICON);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(kw::user::IconSize(small).cx, 16);
    EXPECT_EQ(kw::user::IconSize(large).cx, 32);
    // Nothing is left for Apply to write.
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Read2(button), expected);
}

TEST_F(LauncherPageTest, BrowsingGivesTheProgramToEveryLauncherAndTheFolderToThoseWithoutOne) {
    const auto first = Button2();
    const auto own = Button2();
    const auto third = Button2();
    Put(own, "WORKPATH", CComVariant::Str("/srv/eigen"));
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({first.Get(), own.Get(), third.Get()}));
    Browse(page, m_program.string());
    for (const auto& button : {first, own, third})
        EXPECT_EQ(Text(button, "COMMAND"), m_program.string());
    EXPECT_EQ(Text(first, "WORKPATH"), Folder());
    EXPECT_EQ(Text(own, "WORKPATH"), "/srv/eigen");
    EXPECT_EQ(Text(third, "WORKPATH"), Folder());
}

TEST_F(LauncherPageTest, BrowsingWithADirectoryInTheFieldLeavesEveryWorkingDirectory) {
    const auto first = Button2();
    const auto second = Button2();
    Put(first, "WORKPATH", CComVariant::Str("/srv/nc"));
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({first.Get(), second.Get()}));
    Browse(page, m_program.string());
    EXPECT_EQ(Text(first, "COMMAND"), m_program.string());
    EXPECT_EQ(Text(second, "COMMAND"), m_program.string());
    EXPECT_EQ(Text(first, "WORKPATH"), "/srv/nc");
    EXPECT_EQ(Text(second, "WORKPATH"), "");
}

TEST_F(LauncherPageTest, AFieldTheUserEmptiedGivesTheFolderToEveryLauncher) {
    const auto first = Button2();
    const auto second = Button2();
    Put(first, "WORKPATH", CComVariant::Str("/srv/a"));
    Put(second, "WORKPATH", CComVariant::Str("/srv/b"));
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({first.Get(), second.Get()}));
    page.Retype(Page2::IDC_WORKPATH, "");
    session.Key(VK_DELETE); // the whole text was selected
    ASSERT_EQ(page.Text(Page2::IDC_WORKPATH), "");
    Browse(page, m_program.string());
    EXPECT_EQ(Text(first, "WORKPATH"), Folder());
    EXPECT_EQ(Text(second, "WORKPATH"), Folder());
    EXPECT_EQ(page.Text(Page2::IDC_WORKPATH), Folder());
}

TEST_F(LauncherPageTest, WhatTheUserTypedAndHasNotAppliedSurvivesBrowsing) {
    const auto button = Button2();
    Put(button, "ARG", CComVariant::Str("-alt"));
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    page.Retype(Page2::IDC_ARG, "-neu");
    page.Retype(Page2::IDC_WORKPATH, "/srv/nc");
    page.Click(Page2::IDC_LARGESYMBOL);
    Browse(page, m_program.string());

    // Browsing wrote only the program: the field held a directory.
    EXPECT_EQ(Text(button, "COMMAND"), m_program.string());
    EXPECT_EQ(Text(button, "ARG"), "-alt");
    EXPECT_EQ(Text(button, "WORKPATH"), "");
    EXPECT_EQ(Get(button, "SymSize").iVal, 0);
    EXPECT_EQ(page.Text(Page2::IDC_ARG), "-neu");
    EXPECT_EQ(page.Text(Page2::IDC_WORKPATH), "/srv/nc");
    EXPECT_TRUE(page.Checked(Page2::IDC_LARGESYMBOL));
    EXPECT_TRUE(page.Dirty());

    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Text(button, "ARG"), "-neu");
    EXPECT_EQ(Text(button, "WORKPATH"), "/srv/nc");
    EXPECT_EQ(Get(button, "SymSize").iVal, 1);
    EXPECT_EQ(Text(button, "COMMAND"), m_program.string());
}

TEST_F(LauncherPageTest, CancellingTheFileDialogChangesNothing) {
    const auto button = Button2();
    const Props before = Read2(button);
    PageHarness page(session, kw::ids::CLSID_BmpButton2PropPage1);
    ASSERT_TRUE(page.Open({button.Get()}));
    const HICON shown = ShownIcon(page, Page2::IDC_LARGEICON);
    Browse(page, std::nullopt);
    EXPECT_EQ(Read2(button), before);
    EXPECT_EQ(page.Text(Page2::IDC_COMMAND), "");
    EXPECT_EQ(ShownIcon(page, Page2::IDC_LARGEICON), shown);
    EXPECT_FALSE(page.Dirty());
}

} // namespace
