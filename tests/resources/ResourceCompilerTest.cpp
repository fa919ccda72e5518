#include "resources/ResourceTables.h"
#include "resources/compiler/RcEmitter.h"

#include <gtest/gtest.h>

using kw::rc::ParseScript;

TEST(ResourceScript, DialogItemsTakeTheStatementDefaults) {
    std::string error;
    auto script = ParseScript(R"rc(
        51 DIALOG 0, 0, 250, 62
        STYLE WS_CHILD | DS_CONTROL
        FONT 8, "MS Shell Dlg"
        BEGIN
            EDITTEXT 270, 10, 20, 40, 12, ES_AUTOHSCROLL | NOT WS_BORDER
            AUTOCHECKBOX "no Spin", 311, 60, 20, 60, 10
            AUTORADIOBUTTON "Short (16Bit)", 230, 60, 32, 60, 10, WS_GROUP
            CONTROL "", 250, "msctls_updown32", UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 0, 0, 10, 14
            ICON 1, -1, 10, 10
        END)rc",
                              &error);
    ASSERT_TRUE(script) << error;
    const auto& d = script->dialogs.at(0);
    EXPECT_EQ(d.style, 0x40000000u | 0x400u | 0x40u); // DS_SETFONT comes with FONT
    ASSERT_EQ(d.items.size(), 5u);
    EXPECT_EQ(d.items[0].windowClass, "EDIT");
    EXPECT_EQ(d.items[0].style, 0x50010080u); // child, visible, tab stop, no border
    EXPECT_EQ(d.items[1].style, 0x50010003u);
    EXPECT_EQ(d.items[2].style, 0x50020009u);
    EXPECT_EQ(d.items[3].windowClass, "msctls_updown32");
    EXPECT_EQ(d.items[3].style, 0x50000006u);
    EXPECT_EQ(d.items[4].text, "#1");
}

TEST(ResourceScript, TextsBecomeWindows1252) {
    std::string error;
    auto script = ParseScript("STRINGTABLE BEGIN 5 \"[ \xC2\xB0 ] \"\"ok\"\" Gr\xC3\xB6\xC3\x9F"
                              "e\" END",
                              &error);
    ASSERT_TRUE(script) << error;
    EXPECT_EQ(script->strings.at(0).second, "[ \xB0 ] \"ok\" Gr\xF6\xDF"
                                            "e");
    std::string code = kw::rc::EmitTables(*script, {}, "test.rc");
    // Octal escapes cannot swallow a following digit or letter.
    EXPECT_NE(code.find(R"("[ \260 ] \"ok\" Gr\366\337e")"), std::string::npos) << code;
}

TEST(ResourceScript, MistakesAreReportedWithTheirLine) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"STRINGTABLE BEGIN 1 \"a\" 1 \"b\" END", "line 1: string 1 is defined twice"},
        {"STRINGTABLE BEGIN 1 \"a END", "unterminated string"},
        {"\n\n50 DIALOG 0, 0, 1\nBEGIN END", "line 4: expected ','"},
        {"50 DIALOG 0,0,1,1 STYLE WS_NOSUCH BEGIN END", "unknown style name"},
        {"50 DIALOG 0,0,1,1 BEGIN LISTBOX 1, 0, 0, 1, 1 END", "expected a dialog item"},
        {"STRINGTABLE BEGIN 1 \"\xE2\x88\x9E\" END", "Windows-1252 cannot hold"},
        {"STRINGTABLE BEGIN 99999999999 \"x\" END", "bad number"},
        {"/* open", "unterminated comment"},
        {"7 MENU \"x\"", "expected DIALOG, DIALOGEX, DLGINIT, BITMAP or ICON"},
        {"7 ICON 5", "expected a string"},
        {"7 ICON \"a.ico\" 7 ICON \"b.ico\"", "icon 7 is defined twice"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseScript(c.script, &error)) << c.script;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << "expected \"" << c.message << "\", got \"" << error << "\"";
    }
}

TEST(ResourceScript, InitialDataFillsComboAndListBoxesInOrder) {
    std::string error;
    auto script = ParseScript(R"rc(
        52 DLGINIT
        BEGIN
            240, "[ mm (rel) ]"
            241, "eins"
            240, "[ ° ]"
        END
        52 DIALOG 0, 0, 100, 60
        BEGIN
            LTEXT "Default Unit:", -1, 4, 4, 40, 8
            CONTROL "", 240, "COMBOBOX", CBS_DROPDOWNLIST, 4, 14, 60, 80
            CONTROL "", 241, "ListBox", 0, 4, 30, 60, 20
        END)rc",
                              &error);
    ASSERT_TRUE(script) << error;
    const auto& items = script->dialogs.at(0).items;
    EXPECT_TRUE(items[0].initialData.empty());
    EXPECT_EQ(items[1].initialData, (std::vector<std::string>{"[ mm (rel) ]", "[ \xB0 ]"}));
    EXPECT_EQ(items[2].initialData, (std::vector<std::string>{"eins"}));
    const std::string code = kw::rc::EmitTables(*script, {}, "test.rc");
    EXPECT_NE(code.find("\"[ mm (rel) ]\",\n    \"[ \\260 ]\","), std::string::npos) << code;
    EXPECT_NE(code.find("80, kDialog52Data1}"), std::string::npos) << code;
}

TEST(ResourceScript, InitialDataForAnItemThatCannotHoldItIsRefused) {
    const char* dialog = "\n50 DIALOG 0,0,9,9 BEGIN EDITTEXT 7, 0, 0, 9, 9 "
                         "CONTROL \"\", 8, \"COMBOBOX\", 0, 0, 0, 9, 9 END";
    const struct {
        std::string script;
        const char* message;
    } cases[] = {
        {std::string("50 DLGINIT BEGIN 7, \"x\" END") + dialog,
         "line 1: initial data for item 7, which is no combo box or list box"},
        {std::string("50 DLGINIT BEGIN\n 9, \"x\" END") + dialog,
         "line 2: initial data for item 9, which dialog 50 does not have"},
        {"51 DLGINIT BEGIN 8, \"x\" END", "initial data for dialog 51, which is not defined"},
        {std::string("50 DLGINIT BEGIN END 50 DLGINIT BEGIN END") + dialog,
         "initial data of dialog 50 is defined twice"},
        {std::string("50 DLGINIT BEGIN 8 \"x\" END") + dialog, "expected ','"},
        {std::string("50 DLGINIT BEGIN 8, 9 END") + dialog, "expected a string"},
        {"50 DLGINIT BEGIN 8, \"x\"", "expected a number (at the end)"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseScript(c.script, &error)) << c.script;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << "expected \"" << c.message << "\", got \"" << error << "\"";
    }
}

TEST(ModuleResources, TheCompiledScriptHoldsTheStringsAndTheAboutBox) {
    CModuleResources resources{&resources, kw::resources::StringTable(),
                               kw::resources::DialogTemplates()};
    EXPECT_EQ(resources.LoadString(7).value_or("?"), "Led Control");
    EXPECT_EQ(resources.LoadString(39).value_or("?"), "Polatrity Property Page");
    EXPECT_EQ(resources.LoadString(28).value_or("?"), "BmpButton2 Property Page 2");
    EXPECT_FALSE(resources.LoadString(15).has_value());
    const DialogTemplate* about = resources.FindDialog(50);
    ASSERT_NE(about, nullptr);
    EXPECT_STREQ(about->caption, "About SpinEdit Control");
    EXPECT_EQ(about->cx, 260);
    EXPECT_EQ(about->cy, 55);
    EXPECT_STREQ(about->fontFace, "MS Shell Dlg");
    ASSERT_EQ(about->items.size(), 4u);
    EXPECT_STREQ(about->items[1].text, "SpinEdit Control, Version 1.3");
    EXPECT_EQ(about->items[3].id, 1);
    EXPECT_EQ(about->items[3].style & 0xF, 1u); // the default push button
}
