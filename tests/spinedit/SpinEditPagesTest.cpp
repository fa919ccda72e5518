// The SpinEdit property pages: each opens on a control showing its values,
// applies exactly what it owns (every property is read before and after),
// keeps the bits and entries it does not own, refuses values out of range
// without writing anything, and works on several controls at once.
#include "platform/afx/OlePropertyPage.h"
#include "platform/afx/PropertyFrame.h"
#include "resources/ResourceTables.h"
#include "spinedit/SpinEditPage.h"
#include "tests/spinedit/SpinEditTestSupport.h"
#include "tests/support/PageHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace spinedit_test;
using kw::ids::CLSID_SpinEditPropPage1;
using kw::ids::CLSID_SpinEditPropPage2;
using kw::ids::CLSID_SpinEditPropPage3;
using kw::ids::CLSID_SpinEditPropPage4;

const char* const kProperties[] = {
    "Label",       "LowLimit",      "HighLimit",  "StepVal",   "Typ",       "PointPos",
    "Units",       "DefaultUnit",   "LabelWidth", "SpinWidth", "UnitWidth", "UnitText",
    "UnitsMaskMM", "UnitsMaskINCH", "AbsWidth",   "Flags",     "Value",     "EditHeight",
};

std::string Text(const CComVariant& v) {
    switch (v.vt) {
    case VT_I2:
        return std::to_string(v.iVal);
    case VT_I4:
        return std::to_string(v.lVal);
    case VT_R4:
        return std::to_string(v.fltVal);
    case VT_R8:
        return std::to_string(v.dblVal);
    case VT_BOOL:
        return v.boolVal ? "true" : "false";
    case VT_BSTR:
        return AnsiFromBstr(v.bstrVal);
    default:
        return "vt " + std::to_string(v.vt);
    }
}

class SpinEditPagesTest : public SpinEditTest {
protected:
    using Snapshot = std::map<std::string, std::string>;

    Snapshot Properties(IDispatch* field) {
        Snapshot all;
        for (const char* name : kProperties) {
            CComVariant value;
            EXPECT_EQ(CallByName(field, name, DISPATCH_PROPERTYGET, {}, &value), S_OK) << name;
            all[name] = Text(value);
        }
        return all;
    }
    Snapshot Properties() { return Properties(m_disp.Get()); }
    // Every property that differs, as "name: before -> after".
    static std::vector<std::string> Changes(const Snapshot& before, const Snapshot& after) {
        std::vector<std::string> changes;
        for (const auto& [name, value] : before)
            if (after.at(name) != value)
                changes.push_back(name + ": " + value + " -> " + after.at(name));
        return changes;
    }
    static std::vector<std::string> Names(std::initializer_list<const char*> names) {
        return {names.begin(), names.end()};
    }
    static std::vector<std::string> ChangedNames(const Snapshot& before, const Snapshot& after) {
        std::vector<std::string> names;
        for (const auto& [name, value] : before)
            if (after.at(name) != value)
                names.push_back(name);
        return names;
    }
    void PutShort(const char* name, int value) { Put(name, CComVariant::I2(SHORT(value))); }
    void PutText(const char* name, const char* value) { Put(name, CComVariant::Str(value)); }
    short GetShort(const char* name) { return Get(name).iVal; }
    std::string GetText(const char* name) { return Text(Get(name)); }
};

// [SECTION] Page 1: type, label, limits and switches

TEST_F(SpinEditPagesTest, PageOneShowsTheFieldsValuesAndSwitches) {
    Create();
    PutText("Label", "Vorschub");
    Put("LowLimit", CComVariant::R4(-2.5f));
    PutShort("Typ", 3);
    PutShort("Flags", 0x0004 | 0x1000 | 0x0040);
    PageHarness page(session, CLSID_SpinEditPropPage1);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    EXPECT_EQ(page.Text(270), "Vorschub");
    EXPECT_EQ(page.Text(271), "-2.5");
    EXPECT_TRUE(page.Checked(233)) << "Typ 3 is \"Long (32Bit)\"";
    EXPECT_TRUE(page.Checked(301));
    EXPECT_TRUE(page.Checked(317));
    EXPECT_FALSE(page.Checked(311));
    EXPECT_FALSE(page.Dirty());
}

TEST_F(SpinEditPagesTest, PageOneWritesOnlyTheChangedSwitchAndKeepsBitsItDoesNotOwn) {
    Create();
    PutShort("Flags", 0x0040 | 0x2000 | 0x0001); // 0x0040 and 0x2000 belong to no check box
    PageHarness page(session, CLSID_SpinEditPropPage1);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    const Snapshot before = Properties();
    page.Click(312); // "use Limits"
    page.Click(311); // "no Spin" off
    EXPECT_TRUE(page.Dirty());
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, Properties()), Names({"Flags: 8257 -> 8288"}));
    EXPECT_FALSE(page.Dirty());

    // Clicking a switch twice leaves the word as it was: nothing is written.
    const Snapshot again = Properties();
    page.Click(315);
    page.Click(315);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(Changes(again, Properties()).empty());
}

TEST_F(SpinEditPagesTest, PageOneWritesTheTypedValuesAndNothingElse) {
    Create();
    PageHarness page(session, CLSID_SpinEditPropPage1);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    const Snapshot before = Properties();
    page.Retype(272, "250");
    page.Click(232); // "Double"
    page.Retype(275, "60");
    page.Click(316); // "allow defset"
    EXPECT_EQ(page.Apply(), S_OK);
    // A new limit turns "use Limits" on in the control; the page's own
    // switch joins it instead of writing the word as it was before.
    EXPECT_EQ(Changes(before, Properties()),
              Names({"Flags: 4 -> 2084", "HighLimit: 0.000000 -> 250.000000",
                     "LabelWidth: 20 -> 60", "Typ: 1 -> 2"}));
    EXPECT_EQ(GetShort("Typ"), 2);
    EXPECT_EQ(GetShort("LabelWidth"), 60);
}

TEST_F(SpinEditPagesTest, ValuesOutOfRangeAreRefusedWithTheRangeMessageAndNothingIsWritten) {
    Create();
    const struct {
        CLSID page;
        int item;
        const char* text;
        const char* message;
    } cases[] = {
        {CLSID_SpinEditPropPage1, 275, "401", "Please enter an integer between 10 and 400."},
        {CLSID_SpinEditPropPage1, 276, "31", "Please enter an integer between 10 and 30."},
        {CLSID_SpinEditPropPage2, 294, "9", "Please enter an integer between 10 and 100."},
        {CLSID_SpinEditPropPage2, 295, "101", "Please enter an integer between 10 and 100."},
        {CLSID_SpinEditPropPage2, 270, "12", "Please enter an integer between 0 and 8."},
        {CLSID_SpinEditPropPage3, 294, "101", "Please enter an integer between 10 and 100."},
        {CLSID_SpinEditPropPage3, 278, "9", "Please enter an integer between 0 and 8."},
        {CLSID_SpinEditPropPage3, 270, "mm;x", "Please enter a name without ':', ';' or '$'."},
    };
    PutShort("Units", 0x7FFF); // every unit's items enabled
    for (const auto& c : cases) {
        PageHarness page(session, c.page);
        ASSERT_TRUE(page.Open({m_disp.Get()}));
        const Snapshot before = Properties();
        page.Click(325); // a packed switch changed as well
        page.Retype(c.item, c.text);
        page.TakeMessages();
        EXPECT_EQ(page.Apply(), E_FAIL) << c.text;
        EXPECT_EQ(page.TakeMessages(), Names({c.message}));
        EXPECT_TRUE(Changes(before, Properties()).empty()) << c.text;
        EXPECT_TRUE(page.Dirty());
        EXPECT_EQ(GetFocus(), page.Item(c.item)) << "the refused item has the focus";
    }
}

TEST_F(SpinEditPagesTest, TheSpinStepsItsBuddyWithinItsRangeAndAppliesAtOnce) {
    Create();
    PutShort("PointPos", 7);
    PageHarness page(session, CLSID_SpinEditPropPage1);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    const HWND spin = page.Item(250);
    RECT rc{};
    GetClientRect(spin, &rc);
    for (int i = 0; i < 3; ++i) {
        session.MouseMove(spin, rc.right / 2, 2); // the up arrow
        session.Click();
    }
    EXPECT_EQ(page.Text(274), "8") << "the range ends at 8";
    EXPECT_EQ(GetShort("PointPos"), 8) << "a spin click applies at once";
    EXPECT_TRUE(page.TakeMessages().empty());
}

TEST_F(SpinEditPagesTest, ArrowsMoveWithinTheTypeGroupAndTabLeavesIt) {
    Create();
    PutShort("Typ", 0);
    PageHarness page(session, CLSID_SpinEditPropPage1);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    SetFocus(page.Item(230));
    session.Key(VK_DOWN);
    session.Key(VK_DOWN);
    EXPECT_EQ(GetFocus(), page.Item(232));
    EXPECT_TRUE(page.Checked(232)) << "a radio button is chosen as the focus arrives";
    EXPECT_FALSE(page.Checked(230));
    session.Key(VK_TAB);
    EXPECT_EQ(GetFocus(), page.Item(301)) << "Tab leaves the group for the next item";
    session.KeyDown(VK_SHIFT);
    session.Key(VK_TAB);
    session.KeyUp(VK_SHIFT);
    EXPECT_EQ(GetFocus(), page.Item(232)) << "back into the group at its checked button";
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort("Typ"), 2);
}

// [SECTION] Page 2: predefined units

TEST_F(SpinEditPagesTest, PageTwoReadsDecimalsOnlyFromValidDigitsAndWritesThemBack) {
    Create();
    PutText("UnitText", "a$9c$4h$11:Grad;");
    PutShort("Units", 0x0001 | 0x0004);
    PutShort("UnitsMaskMM", 0x0004);
    PutShort("DefaultUnit", 2);
    PageHarness page(session, CLSID_SpinEditPropPage2);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    EXPECT_EQ(page.Text(270), "0") << "9 is no number of decimals";
    EXPECT_EQ(page.Text(272), "4");
    EXPECT_TRUE(page.Checked(311));
    EXPECT_EQ(page.Selection(240), 2);
    EXPECT_TRUE(IsWindowEnabled(page.Item(272)));
    EXPECT_FALSE(IsWindowEnabled(page.Item(271))) << "unit b is off";
    ASSERT_EQ(SendMessageA(page.Item(240), CB_GETCOUNT, 0, 0), 15);

    const Snapshot before = Properties();
    page.Click(327); // "Flat Unit"
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(ChangedNames(before, Properties()), Names({"Flags", "UnitText"}));
    EXPECT_EQ(GetText("UnitText"), "h$11:Grad;a$0c$4");
}

TEST_F(SpinEditPagesTest, PageTwoWithNoPredefinedUnitKeepsOnlyTheHostUnitEntries) {
    Create();
    PutText("UnitText", "a$3b$2h$11:Grad;g$5");
    PutShort("Units", 0x0003 | 0x0080);
    PutShort("UnitsMaskINCH", 0x4081);
    PageHarness page(session, CLSID_SpinEditPropPage2);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    page.Click(317); // unit a's inch box, while the unit is still on
    page.Click(301);
    page.Click(302);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetText("UnitText"), "h$11:Grad;");
    EXPECT_EQ(GetShort("Units"), 0x0080) << "the host units' bits survive";
    EXPECT_EQ(GetShort("UnitsMaskINCH"), 0x4080);
}

TEST_F(SpinEditPagesTest, ADefaultUnitOutsideTheListShowsTheFirstEntryAndIsWrittenAsIt) {
    Create();
    for (int value : {20, 15, -1}) {
        CSpinEditCtrl* field = Field();
        field->m_defaultUnit = SHORT(value); // a stored value, as a container may hold it
        PageHarness page(session, CLSID_SpinEditPropPage2);
        ASSERT_TRUE(page.Open({m_disp.Get()}));
        EXPECT_EQ(page.Selection(240), 0) << value;
        page.Click(326);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(GetShort("DefaultUnit"), 0) << value;
    }
}

TEST_F(SpinEditPagesTest, ChoosingADefaultUnitWritesIt) {
    Create();
    PutShort("Units", 0x7FFF);
    PageHarness page(session, CLSID_SpinEditPropPage2);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    const Snapshot before = Properties();
    page.Choose(240, 4);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort("DefaultUnit"), 4);
    const auto changed = ChangedNames(before, Properties());
    EXPECT_NE(std::find(changed.begin(), changed.end(), "DefaultUnit"), changed.end());
    for (const auto& name : changed)
        EXPECT_TRUE(name == "DefaultUnit" || name == "UnitText" || name == "PointPos" ||
                    name == "Value")
            << name << " changed";
}

// [SECTION] Page 3: host-defined units

TEST_F(SpinEditPagesTest, PageThreeReadsNamesUntilTheFirstColonWithoutAUnitDigit) {
    Create();
    PutText("UnitText", "a$21:Grad;h$12:Bar;i$0x:Nix;3:Psi;");
    PutShort("Units", 0x0080);
    PageHarness page(session, CLSID_SpinEditPropPage3);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    EXPECT_EQ(page.Text(270), "Grad");
    EXPECT_EQ(page.Text(271), "Bar");
    EXPECT_EQ(page.Text(272), "") << "the scan stopped at x:";
    EXPECT_EQ(page.Text(278), "1");
    EXPECT_TRUE(IsWindowEnabled(page.Item(270)));
    EXPECT_FALSE(IsWindowEnabled(page.Item(271)));
}

TEST_F(SpinEditPagesTest, PageThreeWritesEntriesForNamedUnitsWhetherOrNotEnabled) {
    Create();
    PutText("UnitText", "c$4a$2j$31:Grad;h$1");
    PutShort("Units", 0x0001 | 0x0080);
    PutShort("UnitsMaskMM", 0x0041);
    PageHarness page(session, CLSID_SpinEditPropPage3);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    page.Click(302); // U2 on, no name: no entry
    page.Click(303); // U3 on
    page.Retype(272, "Psi");
    page.Retype(280, "2");
    page.Click(301); // U1 off, but named
    page.Click(310); // U2 only with mm
    const Snapshot before = Properties();
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetText("UnitText"), "a$2c$41:Grad;h$13:Psi;j$2");
    EXPECT_EQ(GetShort("Units"), 0x0001 | 0x0100 | 0x0200);
    EXPECT_EQ(GetShort("UnitsMaskMM"), 0x0041 | 0x0100) << "bits 0-6 are page two's";
    for (const auto& name : ChangedNames(before, Properties()))
        EXPECT_TRUE(name == "UnitText" || name == "Units" || name == "UnitsMaskMM" ||
                    name == "PointPos" || name == "Value")
            << name << " changed";
}

// [SECTION] Page 4: layout

TEST_F(SpinEditPagesTest, PageFourShowsTheSizeAndTheValueFieldWidth) {
    Create();
    PutShort("Flags", 0x0004 | 0x0002); // label, no unit
    PutShort("LabelWidth", 40);
    PutShort("SpinWidth", 14);
    PageHarness page(session, CLSID_SpinEditPropPage4);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    EXPECT_EQ(page.Text(270), "120");
    EXPECT_EQ(page.Text(276), "21");
    EXPECT_EQ(page.Text(274), "66") << "120 - 40 - 14";
    EXPECT_TRUE(page.Checked(301));
    EXPECT_TRUE(page.Checked(302));
    EXPECT_FALSE(page.Checked(303));
    EXPECT_FALSE(IsWindowEnabled(page.Item(272))) << "no unit: its width is off";
    page.Click(302); // no spin: the value field grows
    EXPECT_EQ(page.Text(274), "80");
    EXPECT_FALSE(IsWindowEnabled(page.Item(273)));
}

TEST_F(SpinEditPagesTest, PageFourLimitsTheEditHeightToTheControlsHeight) {
    Create();
    PutShort("Flags", 0x0004);
    PutShort("EditHeight", 25);
    PageHarness page(session, CLSID_SpinEditPropPage4);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    const Snapshot before = Properties();
    page.Retype(276, "20");
    EXPECT_EQ(page.Apply(), S_OK);
    int cx = 0, cy = 0;
    ASSERT_TRUE(Field()->GetControlSize(&cx, &cy));
    EXPECT_EQ(cx, 120);
    EXPECT_EQ(cy, 20);
    EXPECT_EQ(ChangedNames(before, Properties()), Names({"EditHeight"}));
    EXPECT_EQ(GetShort("EditHeight"), 20);
    EXPECT_EQ(page.Text(271), "20");
}

TEST_F(SpinEditPagesTest, TypingAValueFieldWidthResizesTheControlAtOnce) {
    Create();
    PutShort("Flags", 0);
    PutShort("SpinWidth", 14);
    PutShort("UnitWidth", 30);
    PageHarness page(session, CLSID_SpinEditPropPage4);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    const Snapshot before = Properties();
    page.Retype(274, "100");
    int cx = 0, cy = 0;
    ASSERT_TRUE(Field()->GetControlSize(&cx, &cy));
    EXPECT_EQ(cx, 144) << "100 + spin 14 + unit 30, before any apply";
    EXPECT_EQ(cy, 21);
    EXPECT_EQ(page.Text(270), "144");
    EXPECT_TRUE(Changes(before, Properties()).empty());
}

TEST_F(SpinEditPagesTest, PageFourWritesFlagsBitsAndOnlyTheWidthsTheUserChanged) {
    Create();
    PutShort("Flags", 0x0040 | 0x0001);
    PageHarness page(session, CLSID_SpinEditPropPage4);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    // Another page of the same frame changes a width meanwhile.
    PutShort("LabelWidth", 77);
    const Snapshot before = Properties();
    page.Click(302); // "Spin" on
    page.Retype(273, "18");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(ChangedNames(before, Properties()), Names({"Flags", "SpinWidth"}));
    EXPECT_EQ(GetShort("Flags"), 0x0040);
    EXPECT_EQ(GetShort("LabelWidth"), 77);
}

// [SECTION] Several controls, the frame, the templates

TEST_F(SpinEditPagesTest, AFrameOverTwoFieldsWritesBothAndEachKeepsItsOwnBits) {
    Create();
    ComPtr<IDispatch> first = m_disp;
    m_disp.Reset();
    Create(RECT{10, 40, 130, 61});
    ComPtr<IDispatch> second = m_disp;
    CallByName(first.Get(), "Flags", DISPATCH_PROPERTYPUT, {CComVariant::I2(0x0004 | 0x0040)});
    CallByName(second.Get(), "Flags", DISPATCH_PROPERTYPUT, {CComVariant::I2(0x0010)});
    CallByName(second.Get(), "Units", DISPATCH_PROPERTYPUT, {CComVariant::I2(0x0003)});
    const Snapshot firstBefore = Properties(first.Get());
    const Snapshot secondBefore = Properties(second.Get());

    PageHarness one(session, CLSID_SpinEditPropPage1);
    PageHarness two(session, CLSID_SpinEditPropPage2);
    IUnknown* objects[] = {first.Get(), second.Get()};
    IPropertyPage* pages[] = {one.Page(), two.Page()};
    bool applyWasOff = false;
    session.Modal().onModalLoop = [&](HWND frame) {
        const HWND apply = GetDlgItem(frame, ID_APPLY_NOW);
        applyWasOff = !IsWindowEnabled(apply);
        auto* page = dynamic_cast<COlePropertyPage*>(one.Page());
        SendMessageA(GetDlgItem(page->GetSafeHwnd(), 317), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(apply));
        session.Key(VK_RETURN); // OK
    };
    int result = 0;
    ASSERT_EQ(AfxRunPropertyFrame(m_host, "SpinEdit", objects, pages, &result), S_OK);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(applyWasOff);
    EXPECT_EQ(Changes(firstBefore, Properties(first.Get())), Names({"Flags: 68 -> 4164"}));
    EXPECT_EQ(Changes(secondBefore, Properties(second.Get())), Names({"Flags: 16 -> 4112"}));
    ComPtr<IOleObject> ole;
    if (SUCCEEDED(first.As(IID_IOleObject, &ole)))
        ole->Close(0);
}

TEST_F(SpinEditPagesTest, CancelWritesNothing) {
    Create();
    const Snapshot before = Properties();
    PageHarness one(session, CLSID_SpinEditPropPage1);
    IUnknown* objects[] = {m_disp.Get()};
    IPropertyPage* pages[] = {one.Page()};
    session.Modal().onModalLoop = [&](HWND) {
        auto* page = dynamic_cast<COlePropertyPage*>(one.Page());
        SendMessageA(GetDlgItem(page->GetSafeHwnd(), 311), BM_CLICK, 0, 0);
        SetFocus(GetDlgItem(page->GetSafeHwnd(), 270));
        session.Type("X");
        session.Key(VK_ESCAPE);
    };
    int result = 0;
    ASSERT_EQ(AfxRunPropertyFrame(m_host, "SpinEdit", objects, pages, &result), S_OK);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(Changes(before, Properties()).empty());
}

const DialogTemplate* Template(UINT id) {
    for (const DialogTemplate& t : kw::resources::DialogTemplates())
        if (t.id == id)
            return &t;
    return nullptr;
}

TEST_F(SpinEditPagesTest, TheFieldNamesItsFourPagesAndEachCanBeCreated) {
    Create();
    ComPtr<ISpecifyPropertyPages> specify;
    ASSERT_EQ(m_disp.As(IID_ISpecifyPropertyPages, &specify), S_OK);
    CAUUID pages;
    ASSERT_EQ(specify->GetPages(&pages), S_OK);
    ASSERT_EQ(pages.elems.size(), 4u);
    EXPECT_EQ(pages.elems[0], CLSID_SpinEditPropPage1);
    EXPECT_EQ(pages.elems[3], CLSID_SpinEditPropPage4);
    for (const GUID& id : pages.elems) {
        PageHarness page(session, id);
        ASSERT_TRUE(page.Open({m_disp.Get()}));
        PROPPAGEINFO info;
        ASSERT_EQ(page.Page()->GetPageInfo(&info), S_OK);
        EXPECT_GT(info.size.cx, 0);
    }
    PageHarness layout(session, CLSID_SpinEditPropPage4);
    ASSERT_TRUE(layout.Open({m_disp.Get()}));
    EXPECT_NE(SendMessageA(layout.Item(411), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
        << "the layout picture is shown";
}

TEST_F(SpinEditPagesTest, TheFourTemplatesLoadWithTheirItemsAndTheUnitList) {
    const struct {
        UINT id;
        std::size_t items;
    } pages[] = {{51, 31}, {52, 48}, {53, 58}, {76, 25}};
    for (const auto& p : pages) {
        const DialogTemplate* t = Template(p.id);
        ASSERT_NE(t, nullptr) << p.id;
        EXPECT_EQ(t->items.size(), p.items) << p.id;
    }
    const DialogTemplate* two = Template(52);
    for (const DialogItemTemplate& item : two->items)
        if (item.id == 240) {
            ASSERT_EQ(item.initialData.size(), 15u);
            EXPECT_STREQ(item.initialData[0], "[ mm (rel) ]");
            EXPECT_STREQ(item.initialData[5], "[ \xB0 ]");
            EXPECT_STREQ(item.initialData[14], "[ Unit8 ]");
        }
}

} // namespace
