// The pages of the machine displays, opened headless on configured controls
// the way a property frame opens them: what they show, what an apply writes
// (every property is read before and after), refused values that write
// nothing, closing without apply, and several controls selected at once.
#include "machine/AccelerationPropPage.h"
#include "machine/CurvePropPage.h"
#include "machine/DigitPropPage.h"
#include "machine/PosPropPage.h"
#include "module/ClassTable.h"
#include "module/Guids.h"
#include "platform/afx/OleControl.h"
#include "tests/support/LateBound.h"
#include "tests/support/PageHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace kw::ids;
using Props = std::map<std::string, std::string>;
using V = std::vector<std::string>;
using Acc = CAccelerationPropPage;
using Cur = CCurvePropPage;
using Dig = CDigitPropPage;
using Pos = CPosPropPage;

struct Setting {
    const char* name;
    CComVariant value;
};

// [SECTION] Controls and their properties

class MachinePages : public ::testing::Test {
protected:
    // A new control given `settings`; its modified flag is cleared then, so
    // that any later write through its dispatch interface shows.
    ComPtr<IDispatch> Make(const CLSID& clsid, std::initializer_list<Setting> settings) {
        ComPtr<IClassFactory> factory;
        ComPtr<IDispatch> control;
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory,
                                       factory.OutVoid()),
                  S_OK);
        if (!factory ||
            FAILED(factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid())) ||
            FAILED(control.As(IID_IPersistPropertyBag, &persist)) || FAILED(persist->InitNew())) {
            ADD_FAILURE() << "no control";
            return control;
        }
        for (const Setting& s : settings)
            EXPECT_EQ(CallByName(control.Get(), s.name, DISPATCH_PROPERTYPUT, {s.value}), S_OK)
                << s.name;
        Object(control)->SetModifiedFlag(FALSE);
        return control;
    }
    static COleControl* Object(const ComPtr<IDispatch>& d) {
        return static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(d.Get())));
    }
    static bool Written(const ComPtr<IDispatch>& d) { return Object(d)->IsModified() != FALSE; }

    static std::string Text(const ComPtr<IDispatch>& d, const char* name) {
        CComVariant value, text;
        if (FAILED(CallByName(d.Get(), name, DISPATCH_PROPERTYGET, {}, &value)) ||
            FAILED(VariantChangeType(&text, &value, 0, VT_BSTR)))
            return "<unreadable>";
        return std::string(BstrView(text.bstrVal));
    }
    static LONG Long(const ComPtr<IDispatch>& d, const char* name) {
        return std::strtol(Text(d, name).c_str(), nullptr, 10);
    }
    // Every property its class's dispatch table lists.
    static Props ReadAll(const ComPtr<IDispatch>& d) {
        CLSID clsid{};
        Object(d)->GetClassID(&clsid);
        Props props;
        for (const DispEntry& e : kw::module::FindControl(clsid)->dispatch->entries)
            if (e.kind == DispKind::Property && e.get)
                props[e.name] = Text(d, e.name);
        return props;
    }
    // What changed since `before`, as "name: before -> after".
    static V Changes(const Props& before, const ComPtr<IDispatch>& d) {
        const Props after = ReadAll(d);
        V changes;
        for (const auto& [name, value] : before)
            if (after.at(name) != value)
                changes.push_back(name + ": " + value + " -> " + after.at(name));
        return changes;
    }
    static std::string SnapshotPath(const std::string& name) {
        const char* build = std::getenv("KW_BUILD_DIR");
        const std::filesystem::path dir = build ? std::filesystem::path(build) / "snapshots"
                                                : std::filesystem::path(::testing::TempDir());
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }

    kw::headless::HeadlessSession session;
};

// [SECTION] Acceleration

TEST_F(MachinePages, AccelerationPageShowsTheRampAndWritesOnlyWhatChanged) {
    auto c = Make(CLSID_Acceleration, {{"Vstart", CComVariant::I2(300)},
                                       {"A", CComVariant::I2(150)},
                                       {"B", CComVariant::I2(12000)},
                                       {"Vmax", CComVariant::I4(6000)}});
    PageHarness page(session, CLSID_AccelerationPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(Acc::IDC_VSTART), "300"); // "VStart" reaches Vstart
    EXPECT_EQ(page.Text(Acc::IDC_A), "150");
    EXPECT_EQ(page.Text(Acc::IDC_B), "12000");
    EXPECT_EQ(page.Text(Acc::IDC_VMAX), "6000");

    const Props before = ReadAll(c);
    page.Retype(Acc::IDC_VMAX, "7000");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, c), V{"Vmax: 6000 -> 7000"});
    EXPECT_TRUE(page.TakeMessages().empty());

    // The spin button writes a number the field reads back: no separators.
    SetFocus(page.Item(Acc::IDC_B));
    session.Key(VK_UP);
    EXPECT_EQ(page.Text(Acc::IDC_B), "12001");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "B"), 12001);
    EXPECT_TRUE(page.TakeMessages().empty());
}

// Each number field takes both ends of its range and refuses one past
// either with the range message, writing nothing, not even the other
// changes; its spin button steps within the same range.
TEST_F(MachinePages, NumberFieldsTakeTheirRangeAndRefuseBeyondIt) {
    struct Field {
        CLSID control, page;
        int edit, spin, lower, upper;
        const char* property;
        int other; // an edit changed beside it
    };
    const Field fields[] = {
        {CLSID_Acceleration, CLSID_AccelerationPropPage, Acc::IDC_VSTART, Acc::IDC_SPIN_VSTART, 32,
         1000, "Vstart", Acc::IDC_A},
        {CLSID_Acceleration, CLSID_AccelerationPropPage, Acc::IDC_A, Acc::IDC_SPIN_A, 10, 500, "A",
         Acc::IDC_VMAX},
        {CLSID_Acceleration, CLSID_AccelerationPropPage, Acc::IDC_B, Acc::IDC_SPIN_B, 1000, 30000,
         "B", Acc::IDC_VSTART},
        {CLSID_Acceleration, CLSID_AccelerationPropPage, Acc::IDC_VMAX, Acc::IDC_SPIN_VMAX, 32,
         8000, "Vmax", Acc::IDC_VSTART},
        {CLSID_Curve, CLSID_CurvePropPage, Cur::IDC_POINTS, Cur::IDC_SPIN_POINTS, 2, 10, "Points",
         Cur::IDC_XAXIS},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.property);
        auto c = Make(f.control, {});
        PageHarness page(session, f.page);
        ASSERT_TRUE(page.Open({c.Get()}));
        int lower = 0, upper = 0;
        SendMessageA(page.Item(f.spin), UDM_GETRANGE32, WPARAM(&lower), LPARAM(&upper));
        EXPECT_EQ(lower, f.lower);
        EXPECT_EQ(upper, f.upper);

        const Props before = ReadAll(c);
        page.Retype(f.other, "100");
        for (int refused : {f.lower - 1, f.upper + 1}) {
            page.Retype(f.edit, std::to_string(refused).c_str());
            EXPECT_EQ(page.Apply(), E_FAIL) << refused;
            EXPECT_EQ(page.TakeMessages(),
                      V{"Please enter an integer between " + std::to_string(f.lower) + " and " +
                        std::to_string(f.upper) + "."});
            EXPECT_EQ(GetFocus(), page.Item(f.edit));
            EXPECT_TRUE(page.Dirty());
        }
        EXPECT_TRUE(Changes(before, c).empty());
        EXPECT_FALSE(Written(c));
        for (int taken : {f.lower, f.upper}) {
            page.Retype(f.edit, std::to_string(taken).c_str());
            EXPECT_EQ(page.Apply(), S_OK) << taken;
            EXPECT_EQ(Long(c, f.property), taken);
        }
    }
}

// A linear ramp has B = 0, below the page's range for B, and a host may set
// Vmax beyond 16 bits. What the user does not touch is shown as it is and
// neither checked nor written, so the ramp stays linear until B is given.
TEST_F(MachinePages, ALinearRampKeepsItsModeAndVmaxUntilTheyAreGiven) {
    auto c = Make(CLSID_Acceleration,
                  {{"Vmax", CComVariant::I4(40000)}, {"Alpha", CComVariant::I4(1000)}});
    ASSERT_EQ(Long(c, "B"), 0);
    PageHarness page(session, CLSID_AccelerationPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(Acc::IDC_B), "0");
    EXPECT_EQ(page.Text(Acc::IDC_VMAX), "40000");

    Props before = ReadAll(c);
    page.Retype(Acc::IDC_VSTART, "250");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(page.TakeMessages().empty());
    EXPECT_EQ(Changes(before, c), V{"Vstart: 200 -> 250"});

    before = ReadAll(c);
    page.Retype(Acc::IDC_B, "12000");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, c), (V{"Alpha: 1000 -> 0", "B: 0 -> 12000"}));
}

// [SECTION] Curve

TEST_F(MachinePages, CurvePageSetsOnlyTheLockBitsTheUserChanged) {
    auto c = Make(CLSID_Curve, {{"Xaxis", CComVariant::Str("Weg")},
                                {"Yaxis", CComVariant::Str("Kraft")},
                                {"Points", CComVariant::I2(5)},
                                {"Flags", CComVariant::I2(0x0104)},
                                {"MinVal", CComVariant::R4(-5.0f)}});
    PageHarness page(session, CLSID_CurvePropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(Cur::IDC_XAXIS), "Weg");
    EXPECT_EQ(page.Text(Cur::IDC_YAXIS), "Kraft");
    EXPECT_EQ(page.Text(Cur::IDC_POINTS), "5");
    EXPECT_FALSE(page.Checked(Cur::IDC_XLOCK));
    EXPECT_FALSE(page.Checked(Cur::IDC_YLOCK));

    Props before = ReadAll(c);
    page.Click(Cur::IDC_XLOCK);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, c), V{"Flags: 260 -> 261"}); // 0x0104 -> 0x0105

    // A box ticked and unticked again leaves Flags alone: not written.
    Object(c)->SetModifiedFlag(FALSE);
    page.Click(Cur::IDC_YLOCK);
    page.Click(Cur::IDC_YLOCK);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(Written(c));
    before = ReadAll(c);
    page.Click(Cur::IDC_YLOCK);
    page.Retype(Cur::IDC_YAXIS, "F");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, c), (V{"Flags: 261 -> 263", "Yaxis: Kraft -> F"}));
}

// [SECTION] Digit

TEST_F(MachinePages, DigitPageShowsItsFlagBits) {
    struct Case {
        short flags;
        bool zeroPadding, uninitialized, error;
        int size; // the radio button checked
    };
    const Case cases[] = {
        {0x0000, false, false, false, Dig::IDC_MEDIUM},
        {0x0019, true, true, true, Dig::IDC_MEDIUM},
        {0x000A, false, true, false, Dig::IDC_BIG},
        {0x0004, false, false, false, Dig::IDC_SMALL},
        {0x0166, false, false, false, Dig::IDC_BIG}, // the read-out draws big then
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.flags);
        auto c = Make(CLSID_Digit, {{"Format", CComVariant::Str("%5.1f")},
                                    {"MaxSize", CComVariant::I2(7)},
                                    {"Flags", CComVariant::I2(k.flags)}});
        PageHarness page(session, CLSID_DigitPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        EXPECT_EQ(page.Text(Dig::IDC_FORMAT), "%5.1f");
        EXPECT_EQ(page.Text(Dig::IDC_MAXSIZE), "7");
        EXPECT_EQ(page.Checked(Dig::IDC_ZEROPADDING), k.zeroPadding);
        EXPECT_EQ(page.Checked(Dig::IDC_UNINITIALIZED), k.uninitialized);
        EXPECT_EQ(page.Checked(Dig::IDC_ERROR), k.error);
        for (int id : {Dig::IDC_BIG, Dig::IDC_MEDIUM, Dig::IDC_SMALL})
            EXPECT_EQ(page.Checked(id), id == k.size) << id;
    }
}

TEST_F(MachinePages, DigitPageChangesOnlyTheBitsOfTheItemsChanged) {
    struct Case {
        short before;
        std::vector<int> clicks;
        short after;
    };
    const Case cases[] = {
        {0x000A, {Dig::IDC_SMALL}, 0x000C}, // big, Uninitialized -> small
        {0x0107, {Dig::IDC_MEDIUM}, 0x0101},
        {0x0006, {Dig::IDC_SMALL}, 0x0004}, // both size bits: shown big, small chosen
        {0x0100, {Dig::IDC_ZEROPADDING, Dig::IDC_UNINITIALIZED, Dig::IDC_ERROR}, 0x0119},
        {0x0119, {Dig::IDC_ZEROPADDING, Dig::IDC_ERROR, Dig::IDC_BIG}, 0x010A},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.before);
        auto c = Make(CLSID_Digit, {{"Flags", CComVariant::I2(k.before)}});
        PageHarness page(session, CLSID_DigitPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        const Props before = ReadAll(c);
        for (int id : k.clicks)
            page.Click(id);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Changes(before, c),
                  V{"Flags: " + std::to_string(k.before) + " -> " + std::to_string(k.after)});
    }
}

// The read-out clears Uninitialized with its first value. An apply of the
// page opened before does not set the bit again unless the user ticks it.
TEST_F(MachinePages, DigitApplyKeepsABitTheControlChangedMeanwhile) {
    auto c = Make(CLSID_Digit, {{"Flags", CComVariant::I2(0x0008)}});
    PageHarness page(session, CLSID_DigitPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_TRUE(page.Checked(Dig::IDC_UNINITIALIZED));
    ASSERT_EQ(CallByName(c.Get(), "SetVal", DISPATCH_METHOD, {CComVariant::R8(1.5)}), S_OK);
    ASSERT_EQ(Long(c, "Flags"), 0);

    page.Retype(Dig::IDC_FORMAT, "%4.2f");
    page.Click(Dig::IDC_ZEROPADDING);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Text(c, "Format"), "%4.2f");
    EXPECT_EQ(Long(c, "Flags"), 0x0001);
}

// [SECTION] Pos

TEST_F(MachinePages, PosPageShowsTheLayoutOfModeAndWritesAChosenOne) {
    const std::pair<short, int> shown[] = {{1, 1}, {4, 4}, {5, 0}, {7, 0}, {10, 2}, {0x0103, 3}};
    for (const auto& [mode, layout] : shown) {
        SCOPED_TRACE(mode);
        auto c = Make(CLSID_Pos, {{"Mode", CComVariant::I2(mode)}});
        PageHarness page(session, CLSID_PosPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        for (int i = 0; i <= Pos::IDC_Z - Pos::IDC_XYZ; ++i)
            EXPECT_EQ(page.Checked(Pos::IDC_XYZ + i), i == layout) << i;
    }

    auto c = Make(CLSID_Pos, {{"Mode", CComVariant::I2(6)}});
    PageHarness page(session, CLSID_PosPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_TRUE(page.Checked(Pos::IDC_XYZ));
    EXPECT_FALSE(page.Checked(Pos::IDC_TOGGLEONCLICK));
    // ToggleOnClick lives in the page only.
    page.Click(Pos::IDC_TOGGLEONCLICK);
    EXPECT_TRUE(page.Dirty());
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(Written(c));
    // A chosen layout replaces the whole Mode.
    const Props before = ReadAll(c);
    page.Click(Pos::IDC_XYZ);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, c), V{"Mode: 6 -> 0"});
    page.Click(Pos::IDC_Z);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "Mode"), 4);
    EXPECT_TRUE(page.Checked(Pos::IDC_TOGGLEONCLICK));
}

// [SECTION] Every page

TEST_F(MachinePages, EveryPageOpensOnItsControlAndClosingWithoutApplyWritesNothing) {
    struct PageCase {
        const char* name;
        CLSID page;
        ComPtr<IDispatch> control;
        std::vector<std::pair<int, const char*>> edits; // null text: a click
    };
    PageCase cases[] = {
        {"acceleration",
         CLSID_AccelerationPropPage,
         Make(CLSID_Acceleration, {{"Vstart", CComVariant::I2(250)}}),
         {{Acc::IDC_VSTART, "400"}, {Acc::IDC_B, "20000"}}},
        {"curve",
         CLSID_CurvePropPage,
         Make(CLSID_Curve, {{"Xaxis", CComVariant::Str("s [mm]")},
                            {"Yaxis", CComVariant::Str("F [N]")},
                            {"Points", CComVariant::I2(6)},
                            {"Flags", CComVariant::I2(0x0002)}}),
         {{Cur::IDC_XAXIS, "t"}, {Cur::IDC_XLOCK, nullptr}, {Cur::IDC_POINTS, "3"}}},
        {"digit",
         CLSID_DigitPropPage,
         Make(CLSID_Digit, {{"Format", CComVariant::Str("%6.2f")},
                            {"MaxSize", CComVariant::I2(6)},
                            {"Flags", CComVariant::I2(0x0011)}}),
         {{Dig::IDC_FORMAT, "%g"}, {Dig::IDC_BIG, nullptr}, {Dig::IDC_ERROR, nullptr}}},
        {"pos",
         CLSID_PosPropPage,
         Make(CLSID_Pos, {{"Mode", CComVariant::I2(2)}}),
         {{Pos::IDC_Z, nullptr}, {Pos::IDC_TOGGLEONCLICK, nullptr}}},
    };
    for (PageCase& k : cases) {
        SCOPED_TRACE(k.name);
        const Props before = ReadAll(k.control);
        {
            PageHarness page(session, k.page);
            ASSERT_TRUE(page.Open({k.control.Get()}));
            EXPECT_TRUE(page.Snapshot(SnapshotPath(std::string("page_") + k.name + ".png")));
            for (const auto& [id, text] : k.edits)
                text ? page.Retype(id, text) : page.Click(id);
            EXPECT_TRUE(page.Dirty());
        }
        EXPECT_TRUE(Changes(before, k.control).empty());
        EXPECT_FALSE(Written(k.control));
    }
}

// Several controls selected: the page shows the first; an apply gives every
// control the values the user changed and leaves each its others, packed
// bits included.
TEST_F(MachinePages, SeveralControlsKeepWhatTheUserLeftAlone) {
    {
        auto a = Make(CLSID_Curve,
                      {{"Xaxis", CComVariant::Str("a")}, {"Flags", CComVariant::I2(0x0104)}});
        auto b = Make(CLSID_Curve, {{"Xaxis", CComVariant::Str("b")},
                                    {"Points", CComVariant::I2(8)},
                                    {"Flags", CComVariant::I2(0x0002)}});
        PageHarness page(session, CLSID_CurvePropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        EXPECT_EQ(page.Text(Cur::IDC_XAXIS), "a");
        const Props beforeA = ReadAll(a), beforeB = ReadAll(b);
        page.Click(Cur::IDC_XLOCK);
        page.Retype(Cur::IDC_YAXIS, "F");
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Changes(beforeA, a), (V{"Flags: 260 -> 261", "Yaxis: Y -> F"}));
        EXPECT_EQ(Changes(beforeB, b), (V{"Flags: 2 -> 3", "Yaxis: Y -> F"}));
    }
    {
        auto a = Make(CLSID_Digit, {{"Flags", CComVariant::I2(0x000A)}}); // big, Uninitialized
        auto b = Make(CLSID_Digit, {{"Flags", CComVariant::I2(0x0015)}}); // small, 0-pad, Error
        PageHarness page(session, CLSID_DigitPropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        page.Click(Dig::IDC_MEDIUM);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Long(a, "Flags"), 0x0008);
        EXPECT_EQ(Long(b, "Flags"), 0x0011);
    }
    {
        auto a = Make(CLSID_Pos, {{"Mode", CComVariant::I2(1)}});
        auto b = Make(CLSID_Pos, {{"Mode", CComVariant::I2(3)}});
        PageHarness page(session, CLSID_PosPropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        page.Click(Pos::IDC_XY);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Long(a, "Mode"), 3);
        EXPECT_FALSE(Written(b)); // it had that layout: its lamps stay as they are
    }
    {
        auto a = Make(CLSID_Acceleration, {{"Vstart", CComVariant::I2(300)}});
        auto b = Make(CLSID_Acceleration, {{"Vstart", CComVariant::I2(100)},
                                           {"Alpha", CComVariant::I4(2000)}}); // linear
        PageHarness page(session, CLSID_AccelerationPropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        const Props beforeA = ReadAll(a), beforeB = ReadAll(b);
        page.Retype(Acc::IDC_VMAX, "7000");
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Changes(beforeA, a), V{"Vmax: 5000 -> 7000"});
        EXPECT_EQ(Changes(beforeB, b), V{"Vmax: 5000 -> 7000"});
    }
}

} // namespace
