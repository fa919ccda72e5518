// The lamp's, the switches' and the label's property pages, opened headless
// on configured controls as a property frame opens them: what each page
// shows, what Apply writes (every property read before and after), range
// refusals, Cancel, and several controls at once.
#include "buttons/ColorStaticCtrl.h"
#include "buttons/ColorStaticPropPage.h"
#include "buttons/LedCtrl.h"
#include "buttons/LedPropPage.h"
#include "buttons/PolCtrl.h"
#include "buttons/PolPropPage.h"
#include "buttons/SwitchCtrl.h"
#include "buttons/SwitchPropPage.h"
#include "platform/afx/ControlPointer.h"
#include "platform/com/Bstr.h"
#include "tests/buttons/HostedControlTest.h"
#include "tests/support/PageHarness.h"

#include <filesystem>
#include <map>
#include <string>

namespace {

using Values = std::map<std::string, std::string>;

class IndicatorPagesTest : public HostedControlTest {
protected:
    void SetUp() override {
        HostedControlTest::SetUp();
        ::MoveWindow(m_host, 0, 0, 400, 200, TRUE);
    }

    // Every property the control answers to, by name, as text (the font
    // object left out); a property that cannot be read shows as "?".
    static Values ReadAll(const ComPtr<IDispatch>& control, const DispTable& table) {
        Values values;
        for (const DispEntry& e : table.entries) {
            if (e.kind != DispKind::Property || !e.get || e.type == VT_DISPATCH)
                continue;
            CComVariant value;
            DISPPARAMS none{};
            std::string text = "?";
            if (SUCCEEDED(control->Invoke(e.dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                          &value, nullptr, nullptr))) {
                CComVariant shown;
                if (SUCCEEDED(VariantChangeType(&shown, &value, 0, VT_BSTR)))
                    text = shown.bstrVal ? BstrView(shown.bstrVal) : "";
            }
            values[e.name] = text;
        }
        return values;
    }
    // What changed between two readings: name -> "before -> after".
    static Values Changes(const Values& before, const Values& after) {
        Values changed;
        for (const auto& [name, value] : before)
            if (after.at(name) != value)
                changed[name] = value + " -> " + after.at(name);
        return changed;
    }
    static bool Modified(const ComPtr<IDispatch>& control) {
        return Object<COleControl>(control)->IsModified() != FALSE;
    }
    static void Unmodify(const ComPtr<IDispatch>& control) {
        Object<COleControl>(control)->SetModifiedFlag(FALSE);
    }
    static SHORT Short(const ComPtr<IDispatch>& control, const char* name) {
        return Get(control, name).iVal;
    }
    static std::pair<int, int> Size(const ComPtr<IDispatch>& control) {
        int cx = 0, cy = 0;
        Object<COleControl>(control)->GetControlSize(&cx, &cy);
        return {cx, cy};
    }
    // A picture of the page beside the test's other output.
    static void SnapshotPage(const PageHarness& page, const char* name) {
        const auto dir = std::filesystem::current_path() / "page-snapshots";
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(page.Snapshot((dir / name).string()));
    }
};

std::string Range(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

} // namespace

// [SECTION] Led

TEST_F(IndicatorPagesTest, LedPageShowsTheFirstLampAndWritesTheChangedGroupToEach) {
    auto first = Create(kw::ids::CLSID_Led, {10, 10, 22, 22});
    auto second = Create(kw::ids::CLSID_Led, {30, 10, 42, 22});
    Put(first, "Color", CComVariant::I2(2));
    Put(first, "Shape", CComVariant::I2(1));
    Put(first, "Mode", CComVariant::I2(3));
    Put(second, "Mode", CComVariant::I2(4)); // a flash set by a host
    Unmodify(first);
    const Values before = ReadAll(first, LedDispatchTable());

    PageHarness page(session, kw::ids::CLSID_LedPropPage);
    ASSERT_TRUE(page.Open({first.Get(), second.Get()}));
    SnapshotPage(page, "led-page.png");
    for (int id : {230, 231, 232, 233, 234, 408, 235, 236, 237, 238})
        EXPECT_EQ(page.Checked(id), id == 232 || id == 408 || id == 238) << "button " << id;
    page.Click(233); // Blue
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(page.Dirty());
    EXPECT_EQ(Changes(before, ReadAll(first, LedDispatchTable())), (Values{{"Color", "2 -> 3"}}));
    EXPECT_EQ(Short(second, "Color"), 3);
    EXPECT_EQ(Short(second, "Shape"), 0);
    EXPECT_EQ(Short(second, "Mode"), 4);
}

TEST_F(IndicatorPagesTest, EveryPageClosedWithoutApplyWritesNothing) {
    const struct {
        CLSID control, page;
        RECT pos;
        int clicks[2];
    } kCases[] = {
        {kw::ids::CLSID_Led, kw::ids::CLSID_LedPropPage, {10, 10, 22, 22}, {231, 238}},
        {kw::ids::CLSID_Switch, kw::ids::CLSID_SwitchPropPage, {10, 10, 26, 28}, {301, 231}},
        {kw::ids::CLSID_Polarity, kw::ids::CLSID_PolPropPage, {10, 10, 42, 24}, {302, 231}},
        {kw::ids::CLSID_ColorStatic,
         kw::ids::CLSID_ColorStaticPropPage,
         {10, 10, 90, 30},
         {301, 301}},
    };
    for (const auto& c : kCases) {
        auto control = Create(c.control, c.pos);
        Unmodify(control);
        const auto size = Size(control);
        {
            PageHarness page(session, c.page);
            ASSERT_TRUE(page.Open({control.Get()}));
            for (int id : c.clicks)
                page.Click(id);
            if (c.page == kw::ids::CLSID_PolPropPage)
                page.Retype(CPolPropPage::IDC_WIDTH, "100");
            EXPECT_TRUE(page.Dirty());
        }
        EXPECT_FALSE(Modified(control)) << StringFromGuid(c.page);
        EXPECT_EQ(Size(control), size) << StringFromGuid(c.page);
    }
}

// [SECTION] Switch

TEST_F(IndicatorPagesTest, SwitchPageSetsOnlyTheBitsOfTheItemsChanged) {
    auto sw = Create(kw::ids::CLSID_Switch, {10, 10, 26, 28});
    // Toggle on, then a right click's special state and "last click right".
    Put(sw, "Mode", CComVariant::I2(0x0E));
    Unmodify(sw);
    const Values before = ReadAll(sw, SwitchDispatchTable());
    PageHarness page(session, kw::ids::CLSID_SwitchPropPage);
    ASSERT_TRUE(page.Open({sw.Get()}));
    SnapshotPage(page, "switch-page.png");
    EXPECT_TRUE(page.Checked(CSwitchPropPage::IDC_TOGGLE));
    EXPECT_TRUE(page.Checked(CSwitchPropPage::IDC_OFF));
    EXPECT_FALSE(page.Checked(CSwitchPropPage::IDC_ON));

    page.Click(CSwitchPropPage::IDC_ON);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(sw, SwitchDispatchTable())), (Values{{"Mode", "14 -> 15"}}));
    page.Click(CSwitchPropPage::IDC_TOGGLE);
    page.Click(CSwitchPropPage::IDC_OFF);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(sw, "Mode"), 0x0C);
}

TEST_F(IndicatorPagesTest, SwitchPageOnSeveralSwitchesKeepsEachOnesState) {
    auto on = Create(kw::ids::CLSID_Switch, {10, 10, 26, 28});
    auto off = Create(kw::ids::CLSID_Switch, {40, 10, 56, 28});
    Put(on, "Mode", CComVariant::I2(0x01));
    Put(off, "Mode", CComVariant::I2(0x04));
    PageHarness page(session, kw::ids::CLSID_SwitchPropPage);
    ASSERT_TRUE(page.Open({on.Get(), off.Get()}));
    EXPECT_TRUE(page.Checked(CSwitchPropPage::IDC_ON)); // the first one's
    page.Click(CSwitchPropPage::IDC_TOGGLE);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(on, "Mode"), 0x03);
    EXPECT_EQ(Short(off, "Mode"), 0x06);
    // Turning them off: the second was off already and is not written.
    page.Click(CSwitchPropPage::IDC_OFF);
    Unmodify(on);
    Unmodify(off);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(on, "Mode"), 0x02);
    EXPECT_EQ(Short(off, "Mode"), 0x06);
    EXPECT_TRUE(Modified(on));
    EXPECT_FALSE(Modified(off));
}

// [SECTION] Polarity

TEST_F(IndicatorPagesTest, PolarityPageShowsWordAndSizeAndResizesOnlyWhenTheSizeChanged) {
    auto pol = Create(kw::ids::CLSID_Polarity, {10, 10, 50, 20});
    Put(pol, "Mode", CComVariant::I2(0x0F));
    Unmodify(pol);
    const Values before = ReadAll(pol, PolarityDispatchTable());
    PageHarness page(session, kw::ids::CLSID_PolPropPage);
    ASSERT_TRUE(page.Open({pol.Get()}));
    SnapshotPage(page, "pol-page.png");
    EXPECT_TRUE(page.Checked(CPolPropPage::IDC_TOGGLE));
    EXPECT_FALSE(page.Checked(CPolPropPage::IDC_VERTICAL));
    EXPECT_TRUE(page.Checked(CPolPropPage::IDC_ON));
    EXPECT_EQ(page.Text(CPolPropPage::IDC_WIDTH), "40");
    EXPECT_EQ(page.Text(CPolPropPage::IDC_HEIGHT), "10");
    for (const auto& [spin, low, high] : {std::tuple{CPolPropPage::IDC_WIDTH_SPIN, 10, 400},
                                          std::tuple{CPolPropPage::IDC_HEIGHT_SPIN, 10, 200}}) {
        const LRESULT range = SendMessageA(page.Item(spin), UDM_GETRANGE, 0, 0);
        EXPECT_EQ(int(SHORT(HIWORD(range))), low) << "spin " << spin;
        EXPECT_EQ(int(SHORT(LOWORD(range))), high) << "spin " << spin;
    }

    // The width's up arrow steps from the size shown: the control is
    // resized, its word not written.
    session.MouseMove(page.Item(CPolPropPage::IDC_WIDTH_SPIN), 2, 2);
    session.Click();
    EXPECT_EQ(page.Text(CPolPropPage::IDC_WIDTH), "41");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Size(pol), (std::pair{41, 10}));
    EXPECT_EQ(Changes(before, ReadAll(pol, PolarityDispatchTable())), Values{});
    EXPECT_FALSE(Modified(pol));

    // The upright strip: bit 4 set, the right-click bits kept, the size too.
    page.Click(CPolPropPage::IDC_VERTICAL);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(pol, "Mode"), 0x1F);
    EXPECT_EQ(Size(pol), (std::pair{41, 10}));
}

TEST_F(IndicatorPagesTest, PolarityPageRefusesSizesOutsideTheSpinRanges) {
    auto pol = Create(kw::ids::CLSID_Polarity, {10, 10, 50, 60});
    Unmodify(pol);
    const Values before = ReadAll(pol, PolarityDispatchTable());
    PageHarness page(session, kw::ids::CLSID_PolPropPage);
    ASSERT_TRUE(page.Open({pol.Get()}));
    const struct {
        int id;
        const char* text;
        std::string message;
    } kCases[] = {
        {CPolPropPage::IDC_WIDTH, "401", Range(10, 400)},
        {CPolPropPage::IDC_HEIGHT, "9", Range(10, 200)},
    };
    for (const auto& c : kCases) {
        page.Click(CPolPropPage::IDC_TOGGLE); // a change that must wait too
        page.Retype(c.id, c.text);
        EXPECT_EQ(page.Apply(), E_FAIL) << c.text;
        EXPECT_EQ(page.TakeMessages(), std::vector<std::string>{c.message}) << c.text;
        EXPECT_TRUE(page.Dirty());
        EXPECT_EQ(Changes(before, ReadAll(pol, PolarityDispatchTable())), Values{}) << c.text;
        EXPECT_EQ(Size(pol), (std::pair{40, 50})) << c.text;
        EXPECT_FALSE(Modified(pol)) << c.text;
        page.Retype(c.id, c.id == CPolPropPage::IDC_WIDTH ? "40" : "50");
    }
    page.Retype(CPolPropPage::IDC_WIDTH, "400");
    page.Retype(CPolPropPage::IDC_HEIGHT, "10");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Size(pol), (std::pair{400, 10}));
    EXPECT_EQ(Short(pol, "Mode"), 0x00); // the toggle clicked twice
}

TEST_F(IndicatorPagesTest, PolarityPageKeepsASizeOutsideTheRangeThatTheUserLeftAlone) {
    // The container made it wider than the spin offers; changing the word
    // must not be refused for it.
    auto pol = Create(kw::ids::CLSID_Polarity, {0, 0, 380, 20});
    Object<COleControl>(pol)->SetControlSize(450, 20);
    PageHarness page(session, kw::ids::CLSID_PolPropPage);
    ASSERT_TRUE(page.Open({pol.Get()}));
    EXPECT_EQ(page.Text(CPolPropPage::IDC_WIDTH), "450");
    page.Click(CPolPropPage::IDC_ON);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(page.TakeMessages(), std::vector<std::string>{});
    EXPECT_EQ(Short(pol, "Mode"), 0x01);
    EXPECT_EQ(Size(pol), (std::pair{450, 20}));
}

TEST_F(IndicatorPagesTest, PolarityPageOnSeveralControlsKeepsEachOnesWordAndSize) {
    auto first = Create(kw::ids::CLSID_Polarity, {10, 10, 50, 60});
    auto second = Create(kw::ids::CLSID_Polarity, {60, 10, 92, 24});
    Put(first, "Mode", CComVariant::I2(0x01));
    Put(second, "Mode", CComVariant::I2(0x10));
    PageHarness page(session, kw::ids::CLSID_PolPropPage);
    ASSERT_TRUE(page.Open({first.Get(), second.Get()}));
    page.Click(CPolPropPage::IDC_TOGGLE);
    page.Retype(CPolPropPage::IDC_HEIGHT, "30");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(first, "Mode"), 0x03);
    EXPECT_EQ(Short(second, "Mode"), 0x12);
    EXPECT_EQ(Size(first), (std::pair{40, 30}));
    EXPECT_EQ(Size(second), (std::pair{32, 30}));
}

namespace {

// A stand-in that is not a Polarity: its DISPID 4 yields a Polarity's token
// under another name.
class CNotPolarity final : public CDispatchObject {
public:
    CNotPolarity();
    SHORT m_mode{0};
    LONG m_other{0};
};
const DispEntry kNotPolarityRows[] = {
    DispMember<&CNotPolarity::m_mode>("Mode", 1, VT_I2),
    DispMember<&CNotPolarity::m_other>("Other", 4, VT_I4),
};
const DispTable kNotPolarityTable{kNotPolarityRows};
constexpr IID IID_DNotPolarity = MakeGuid(0x5A5A5A5A, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2);
CNotPolarity::CNotPolarity()
    : CDispatchObject({nullptr, &kNotPolarityTable, IID_DNotPolarity, GUID{}, nullptr}, this) {}

} // namespace

TEST_F(IndicatorPagesTest, PolarityPageSizesNothingButPolarityControls) {
    auto pol = Create(kw::ids::CLSID_Polarity, {10, 10, 50, 60});
    auto other = ComPtr<CNotPolarity>::Attach(new CNotPolarity);
    other->m_other = AfxControlPointerOf(Object<COleControl>(pol));
    PageHarness page(session, kw::ids::CLSID_PolPropPage);
    ASSERT_TRUE(page.Open({other.Get(), pol.Get()}));
    EXPECT_EQ(page.Text(CPolPropPage::IDC_WIDTH), "0");
    EXPECT_FALSE(IsWindowEnabled(page.Item(CPolPropPage::IDC_WIDTH)));
    page.Click(CPolPropPage::IDC_ON);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(other->m_mode, 0x01);
    EXPECT_EQ(Short(pol, "Mode"), 0x01);
    EXPECT_EQ(Size(pol), (std::pair{40, 50}));
}

// [SECTION] ColorStatic

TEST_F(IndicatorPagesTest, ColorStaticPageSetsOnlyItsFlagBit) {
    auto label = Create(kw::ids::CLSID_ColorStatic, {10, 10, 110, 30});
    auto plain = Create(kw::ids::CLSID_ColorStatic, {10, 40, 110, 60});
    Put(label, "Flags", CComVariant::I2(0x0043));
    Put(plain, "Flags", CComVariant::I2(0x0040));
    Unmodify(label);
    Unmodify(plain);
    const Values before = ReadAll(plain, ColorStaticDispatchTable());
    PageHarness page(session, kw::ids::CLSID_ColorStaticPropPage);
    ASSERT_TRUE(page.Open({label.Get(), plain.Get()}));
    SnapshotPage(page, "colorstatic-page.png");
    EXPECT_TRUE(page.Checked(CColorStaticPropPage::IDC_TRANSPARENT));
    EXPECT_FALSE(IsWindowEnabled(page.Item(CColorStaticPropPage::IDC_ALIGN_CENTER)));

    page.Click(CColorStaticPropPage::IDC_TRANSPARENT);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(label, "Flags"), 0x0042);
    EXPECT_FALSE(Modified(plain)); // its bit was clear already
    page.Click(CColorStaticPropPage::IDC_TRANSPARENT);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Short(label, "Flags"), 0x0043);
    EXPECT_EQ(Changes(before, ReadAll(plain, ColorStaticDispatchTable())),
              (Values{{"Flags", "64 -> 65"}}));
}
