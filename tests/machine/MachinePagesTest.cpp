// The pages of the machine displays, opened headless on configured controls
// the way a property frame opens them: what they show, what an apply writes
// (every property is read before and after), refused values that write
// nothing, closing without apply, and several controls selected at once.
#include "machine/AccelerationCtrl.h"
#include "machine/AccelerationPropPage.h"
#include "machine/CurveCtrl.h"
#include "machine/CurvePropPage.h"
#include "machine/DigitCtrl.h"
#include "machine/DigitPropPage.h"
#include "machine/PosCtrl.h"
#include "machine/PosPropPage.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
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

using Props = std::map<std::string, std::string>;

// [SECTION] Controls and their properties

class MachinePages : public ::testing::Test {
protected:
    ComPtr<IDispatch> Create(const CLSID& clsid) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory,
                                       factory.OutVoid()),
                  S_OK);
        ComPtr<IDispatch> control;
        if (!factory)
            return control;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(control.As(IID_IPersistPropertyBag, &persist), S_OK);
        if (persist) {
            EXPECT_EQ(persist->InitNew(), S_OK);
        }
        return control;
    }

    static COleControl* Object(const ComPtr<IDispatch>& d) {
        return static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(d.Get())));
    }
    static void Put(const ComPtr<IDispatch>& d, const char* name, CComVariant value) {
        ASSERT_EQ(CallByName(d.Get(), name, DISPATCH_PROPERTYPUT, {value}), S_OK) << name;
    }
    static std::string Text(const ComPtr<IDispatch>& d, const char* name) {
        CComVariant value, text;
        if (FAILED(CallByName(d.Get(), name, DISPATCH_PROPERTYGET, {}, &value)))
            return "<unreadable>";
        if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR)))
            return "<vt " + std::to_string(value.vt) + ">";
        return std::string(BstrView(text.bstrVal));
    }
    static LONG Long(const ComPtr<IDispatch>& d, const char* name) {
        return std::strtol(Text(d, name).c_str(), nullptr, 10);
    }
    // Every property of the control's dispatch table, by name.
    static Props ReadAll(const ComPtr<IDispatch>& d, const DispTable& table) {
        Props props;
        for (const DispEntry& e : table.entries)
            if (e.kind == DispKind::Property && e.get)
                props[e.name] = Text(d, e.name);
        return props;
    }
    // What changed between two readings, as "name: before -> after".
    static std::vector<std::string> Changes(const Props& before, const Props& after) {
        std::vector<std::string> changes;
        for (const auto& [name, value] : before)
            if (after.at(name) != value)
                changes.push_back(name + ": " + value + " -> " + after.at(name));
        return changes;
    }
    // From here on, a write through the control's dispatch interface shows
    // as its modified flag.
    static void Settle(const ComPtr<IDispatch>& d) { Object(d)->SetModifiedFlag(FALSE); }
    static bool Written(const ComPtr<IDispatch>& d) { return Object(d)->IsModified() != FALSE; }

    static std::string SnapshotPath(const std::string& name) {
        const char* build = std::getenv("KW_BUILD_DIR");
        const std::filesystem::path dir = build ? std::filesystem::path(build) / "snapshots"
                                                : std::filesystem::path(::testing::TempDir());
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }

    kw::headless::HeadlessSession session;
};

using V = std::vector<std::string>;

// [SECTION] Acceleration

class AccelerationPage : public MachinePages {
protected:
    using P = CAccelerationPropPage;
    ComPtr<IDispatch> Ramp(short vstart, short a, short b, LONG vmax) {
        ComPtr<IDispatch> c = Create(kw::ids::CLSID_Acceleration);
        Put(c, "Vstart", CComVariant::I2(vstart));
        Put(c, "A", CComVariant::I2(a));
        Put(c, "B", CComVariant::I2(b));
        Put(c, "Vmax", CComVariant::I4(vmax));
        Settle(c);
        return c;
    }
    const DispTable& Table() const { return AccelerationDispatchTable(); }
};

TEST_F(AccelerationPage, OpensOnTheRampParametersAndWritesOnlyTheChangedOne) {
    ComPtr<IDispatch> c = Ramp(300, 150, 12000, 6000);
    PageHarness page(session, kw::ids::CLSID_AccelerationPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(P::IDC_VSTART), "300"); // "VStart" reaches Vstart
    EXPECT_EQ(page.Text(P::IDC_A), "150");
    EXPECT_EQ(page.Text(P::IDC_B), "12000");
    EXPECT_EQ(page.Text(P::IDC_VMAX), "6000");
    EXPECT_FALSE(page.Dirty());

    const Props before = ReadAll(c, Table());
    page.Retype(P::IDC_VMAX, "7000");
    EXPECT_TRUE(page.Dirty());
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(c, Table())), (V{"Vmax: 6000 -> 7000"}));
    EXPECT_TRUE(page.TakeMessages().empty());
    EXPECT_FALSE(page.Dirty());
}

// Each field takes both ends of its range and refuses one past either,
// with the range message, writing nothing; its spin button steps within
// the same range.
TEST_F(AccelerationPage, EachFieldHasItsRangeAndARefusalWritesNothing) {
    struct Field {
        int edit, spin, lower, upper;
        const char* property;
    };
    const Field fields[] = {
        {P::IDC_VSTART, P::IDC_SPIN_VSTART, 32, 1000, "Vstart"},
        {P::IDC_A, P::IDC_SPIN_A, 10, 500, "A"},
        {P::IDC_B, P::IDC_SPIN_B, 1000, 30000, "B"},
        {P::IDC_VMAX, P::IDC_SPIN_VMAX, 32, 8000, "Vmax"},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.property);
        ComPtr<IDispatch> c = Ramp(300, 150, 12000, 6000);
        PageHarness page(session, kw::ids::CLSID_AccelerationPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        int lower = 0, upper = 0;
        SendMessageA(page.Item(f.spin), UDM_GETRANGE32, WPARAM(&lower), LPARAM(&upper));
        EXPECT_EQ(lower, f.lower);
        EXPECT_EQ(upper, f.upper);

        const std::string message = "Please enter an integer between " + std::to_string(f.lower) +
                                    " and " + std::to_string(f.upper) + ".";
        for (int refused : {f.lower - 1, f.upper + 1}) {
            const Props before = ReadAll(c, Table());
            page.Retype(f.edit, std::to_string(refused).c_str());
            EXPECT_EQ(page.Apply(), E_FAIL) << refused;
            EXPECT_EQ(page.TakeMessages(), V{message});
            EXPECT_TRUE(Changes(before, ReadAll(c, Table())).empty()) << refused;
            EXPECT_FALSE(Written(c));
            EXPECT_TRUE(page.Dirty());
            EXPECT_EQ(GetFocus(), page.Item(f.edit));
        }
        for (int taken : {f.lower, f.upper}) {
            page.Retype(f.edit, std::to_string(taken).c_str());
            EXPECT_EQ(page.Apply(), S_OK) << taken;
            EXPECT_EQ(Long(c, f.property), taken);
        }
        EXPECT_TRUE(page.TakeMessages().empty());
    }
}

TEST_F(AccelerationPage, ARefusedFieldKeepsBackTheOtherChangesToo) {
    ComPtr<IDispatch> c = Ramp(300, 150, 12000, 6000);
    PageHarness page(session, kw::ids::CLSID_AccelerationPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    const Props before = ReadAll(c, Table());
    page.Retype(P::IDC_VSTART, "400");
    page.Retype(P::IDC_VMAX, "20000");
    EXPECT_EQ(page.Apply(), E_FAIL);
    EXPECT_EQ(page.TakeMessages(), V{"Please enter an integer between 32 and 8000."});
    EXPECT_TRUE(Changes(before, ReadAll(c, Table())).empty());
    EXPECT_FALSE(Written(c));
}

// The linear ramp has B = 0, outside the page's range for B. What the
// user did not touch is not checked, so its other values can be edited and
// it stays linear; giving B a value makes it exponential.
TEST_F(AccelerationPage, ALinearRampKeepsItsModeUntilBIsGiven) {
    ComPtr<IDispatch> c = Ramp(200, 200, 10000, 5000);
    Put(c, "Alpha", CComVariant::I4(1000));
    ASSERT_EQ(Long(c, "B"), 0);
    Settle(c);
    PageHarness page(session, kw::ids::CLSID_AccelerationPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(P::IDC_B), "0");

    Props before = ReadAll(c, Table());
    page.Retype(P::IDC_VSTART, "250");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(page.TakeMessages().empty());
    EXPECT_EQ(Changes(before, ReadAll(c, Table())), (V{"Vstart: 200 -> 250"}));

    before = ReadAll(c, Table());
    page.Retype(P::IDC_B, "12000");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(c, Table())), (V{"Alpha: 1000 -> 0", "B: 0 -> 12000"}));
}

// A host may set Vmax beyond 16 bits; the page shows it as it is and
// leaves it alone while the user does.
TEST_F(AccelerationPage, AVmaxBeyondSixteenBitsIsShownWholeAndKept) {
    ComPtr<IDispatch> c = Ramp(300, 150, 12000, 40000);
    PageHarness page(session, kw::ids::CLSID_AccelerationPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(P::IDC_VMAX), "40000");
    page.Retype(P::IDC_A, "100");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "Vmax"), 40000);
    EXPECT_EQ(Long(c, "A"), 100);
}

// [SECTION] Curve

class CurvePage : public MachinePages {
protected:
    using P = CCurvePropPage;
    ComPtr<IDispatch> Curve(const char* x, const char* y, short points, short flags) {
        ComPtr<IDispatch> c = Create(kw::ids::CLSID_Curve);
        Put(c, "Xaxis", CComVariant::Str(x));
        Put(c, "Yaxis", CComVariant::Str(y));
        Put(c, "Points", CComVariant::I2(points));
        Put(c, "Flags", CComVariant::I2(flags));
        Put(c, "MinVal", CComVariant::R4(-5.0f));
        Settle(c);
        return c;
    }
    const DispTable& Table() const { return CurveDispatchTable(); }
};

TEST_F(CurvePage, OpensOnTheCurveAndTicksTheLockBits) {
    ComPtr<IDispatch> c = Curve("Weg", "Kraft", 5, 0x0106);
    PageHarness page(session, kw::ids::CLSID_CurvePropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_EQ(page.Text(P::IDC_XAXIS), "Weg");
    EXPECT_EQ(page.Text(P::IDC_YAXIS), "Kraft");
    EXPECT_EQ(page.Text(P::IDC_POINTS), "5");
    EXPECT_FALSE(page.Checked(P::IDC_XLOCK));
    EXPECT_TRUE(page.Checked(P::IDC_YLOCK));
    int lower = 0, upper = 0;
    SendMessageA(page.Item(P::IDC_SPIN_POINTS), UDM_GETRANGE32, WPARAM(&lower), LPARAM(&upper));
    EXPECT_EQ(lower, 2);
    EXPECT_EQ(upper, 10);
}

TEST_F(CurvePage, TickingXLockSetsOnlyItsBit) {
    ComPtr<IDispatch> c = Curve("X", "Y", 2, 0x0104);
    PageHarness page(session, kw::ids::CLSID_CurvePropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    const Props before = ReadAll(c, Table());
    page.Click(P::IDC_XLOCK);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(c, Table())), (V{"Flags: 260 -> 261"})); // 0x0104 -> 0x0105

    page.Click(P::IDC_XLOCK);
    page.Click(P::IDC_YLOCK);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "Flags"), 0x0106);
}

// A box ticked and unticked again leaves Flags as it was: it is not
// written, while the caption changed beside it is.
TEST_F(CurvePage, FlagsAreWrittenOnlyWhenTheirBitsChange) {
    ComPtr<IDispatch> c = Curve("X", "Y", 2, 0x0001);
    PageHarness page(session, kw::ids::CLSID_CurvePropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    page.Click(P::IDC_YLOCK);
    page.Click(P::IDC_YLOCK);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(Written(c));

    const Props before = ReadAll(c, Table());
    page.Retype(P::IDC_XAXIS, "Zeit");
    page.Click(P::IDC_XLOCK);
    page.Click(P::IDC_XLOCK);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(c, Table())), (V{"Xaxis: X -> Zeit"}));
}

TEST_F(CurvePage, PointsOutsideTwoToTenAreRefused) {
    ComPtr<IDispatch> c = Curve("X", "Y", 4, 0);
    PageHarness page(session, kw::ids::CLSID_CurvePropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    const Props before = ReadAll(c, Table());
    page.Retype(P::IDC_YAXIS, "v");
    page.Click(P::IDC_XLOCK);
    page.Retype(P::IDC_POINTS, "11");
    EXPECT_EQ(page.Apply(), E_FAIL);
    EXPECT_EQ(page.TakeMessages(), V{"Please enter an integer between 2 and 10."});
    EXPECT_TRUE(Changes(before, ReadAll(c, Table())).empty());
    EXPECT_FALSE(Written(c));

    page.Retype(P::IDC_POINTS, "10");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(c, Table())),
              (V{"Flags: 0 -> 1", "Points: 4 -> 10", "Yaxis: Y -> v"}));
}

// [SECTION] Digit

class DigitPage : public MachinePages {
protected:
    using P = CDigitPropPage;
    ComPtr<IDispatch> Digit(const char* format, short maxSize, short flags) {
        ComPtr<IDispatch> c = Create(kw::ids::CLSID_Digit);
        Put(c, "Format", CComVariant::Str(format));
        Put(c, "MaxSize", CComVariant::I2(maxSize));
        Put(c, "Flags", CComVariant::I2(flags));
        Settle(c);
        return c;
    }
    const DispTable& Table() const { return DigitDispatchTable(); }
};

TEST_F(DigitPage, OpensOnTheFormatCellsAndFlagBits) {
    struct Case {
        short flags;
        bool zeroPadding, uninitialized, error;
        int size; // radio checked
    };
    const Case cases[] = {
        {0x0000, false, false, false, P::IDC_MEDIUM}, {0x0019, true, true, true, P::IDC_MEDIUM},
        {0x000A, false, true, false, P::IDC_BIG},     {0x0004, false, false, false, P::IDC_SMALL},
        {0x0006, false, false, false, P::IDC_BIG}, // the read-out takes big then
        {0x0160, false, false, false, P::IDC_MEDIUM},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.flags);
        ComPtr<IDispatch> c = Digit("%5.1f", 7, k.flags);
        PageHarness page(session, kw::ids::CLSID_DigitPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        EXPECT_EQ(page.Text(P::IDC_FORMAT), "%5.1f");
        EXPECT_EQ(page.Text(P::IDC_MAXSIZE), "7");
        EXPECT_EQ(page.Checked(P::IDC_ZEROPADDING), k.zeroPadding);
        EXPECT_EQ(page.Checked(P::IDC_UNINITIALIZED), k.uninitialized);
        EXPECT_EQ(page.Checked(P::IDC_ERROR), k.error);
        for (int id : {P::IDC_BIG, P::IDC_MEDIUM, P::IDC_SMALL})
            EXPECT_EQ(page.Checked(id), id == k.size) << id;
    }
}

TEST_F(DigitPage, TheSizeRadioReplacesOnlyTheSizeBits) {
    struct Case {
        short before;
        int click;
        short after;
    };
    const Case cases[] = {
        {0x000A, P::IDC_SMALL, 0x000C}, // big, Uninitialized -> small
        {0x0107, P::IDC_MEDIUM, 0x0101},
        {0x0011, P::IDC_BIG, 0x0013},
        {0x0006, P::IDC_SMALL, 0x0004}, // both size bits: big shown, small chosen
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.before);
        ComPtr<IDispatch> c = Digit("%f", 5, k.before);
        PageHarness page(session, kw::ids::CLSID_DigitPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        const Props before = ReadAll(c, Table());
        page.Click(k.click);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Changes(before, ReadAll(c, Table())),
                  (V{"Flags: " + std::to_string(k.before) + " -> " + std::to_string(k.after)}));
    }
}

TEST_F(DigitPage, EachBoxSetsOrClearsItsBit) {
    ComPtr<IDispatch> c = Digit("%f", 5, 0x0100);
    PageHarness page(session, kw::ids::CLSID_DigitPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    page.Click(P::IDC_ZEROPADDING);
    page.Click(P::IDC_UNINITIALIZED);
    page.Click(P::IDC_ERROR);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "Flags"), 0x0119);
    page.Click(P::IDC_ZEROPADDING);
    page.Click(P::IDC_ERROR);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "Flags"), 0x0108);
}

// The read-out clears Uninitialized with its first value. An apply of the
// page opened before does not set the bit again unless the user ticks it.
TEST_F(DigitPage, AnApplyKeepsABitTheControlChangedMeanwhile) {
    ComPtr<IDispatch> c = Digit("%f", 5, 0x0008);
    PageHarness page(session, kw::ids::CLSID_DigitPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    EXPECT_TRUE(page.Checked(P::IDC_UNINITIALIZED));
    ASSERT_EQ(CallByName(c.Get(), "SetVal", DISPATCH_METHOD, {CComVariant::R8(1.5)}), S_OK);
    ASSERT_EQ(Long(c, "Flags"), 0);

    page.Retype(P::IDC_FORMAT, "%4.2f");
    page.Click(P::IDC_ZEROPADDING);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Text(c, "Format"), "%4.2f");
    EXPECT_EQ(Long(c, "Flags"), 0x0001);
}

// MaxSize has no range of its own beyond what a number holds.
TEST_F(DigitPage, MaxSizeTakesAnyNumberButNoText) {
    ComPtr<IDispatch> c = Digit("%f", 5, 0);
    PageHarness page(session, kw::ids::CLSID_DigitPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    page.Retype(P::IDC_MAXSIZE, "12");
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "MaxSize"), 12);
    EXPECT_TRUE(page.TakeMessages().empty());

    Settle(c);
    page.Retype(P::IDC_MAXSIZE, "viele");
    page.Click(P::IDC_ERROR);
    EXPECT_EQ(page.Apply(), E_FAIL);
    EXPECT_EQ(page.TakeMessages(), V{"Please enter an integer."});
    EXPECT_FALSE(Written(c));
}

// [SECTION] Pos

class PosPage : public MachinePages {
protected:
    using P = CPosPropPage;
    ComPtr<IDispatch> Pad(short mode) {
        ComPtr<IDispatch> c = Create(kw::ids::CLSID_Pos);
        Put(c, "Mode", CComVariant::I2(mode));
        Settle(c);
        return c;
    }
    const DispTable& Table() const { return PosDispatchTable(); }
    static int Chosen(const PageHarness& page) {
        for (int id = P::IDC_XYZ; id <= P::IDC_Z; ++id)
            if (page.Checked(id))
                return id - P::IDC_XYZ;
        return -1;
    }
};

TEST_F(PosPage, OpensOnTheLayoutTheModeGives) {
    const std::pair<short, int> cases[] = {{0, 0}, {1, 1},  {4, 4},  {5, 0},     {6, 0},
                                           {7, 0}, {10, 2}, {-1, 0}, {0x0103, 3}};
    for (const auto& [mode, layout] : cases) {
        SCOPED_TRACE(mode);
        ComPtr<IDispatch> c = Pad(mode);
        PageHarness page(session, kw::ids::CLSID_PosPropPage);
        ASSERT_TRUE(page.Open({c.Get()}));
        EXPECT_EQ(Chosen(page), layout);
        EXPECT_FALSE(page.Checked(P::IDC_TOGGLEONCLICK));
    }
}

TEST_F(PosPage, TheChosenLayoutReplacesTheWholeMode) {
    ComPtr<IDispatch> c = Pad(6);
    PageHarness page(session, kw::ids::CLSID_PosPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    const Props before = ReadAll(c, Table());
    page.Click(P::IDC_XYZ);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Changes(before, ReadAll(c, Table())), (V{"Mode: 6 -> 0"}));

    page.Click(P::IDC_Z);
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(c, "Mode"), 4);
}

// ToggleOnClick lives in the page only; the pad's Mode is written only
// when the user chose a layout, since writing it lights the lamps anew.
TEST_F(PosPage, ToggleOnClickAndAnUntouchedLayoutWriteNothing) {
    ComPtr<IDispatch> c = Pad(2);
    PageHarness page(session, kw::ids::CLSID_PosPropPage);
    ASSERT_TRUE(page.Open({c.Get()}));
    page.Click(P::IDC_TOGGLEONCLICK);
    EXPECT_TRUE(page.Checked(P::IDC_TOGGLEONCLICK));
    EXPECT_TRUE(page.Dirty());
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(Written(c));
    page.Click(P::IDC_AB); // the layout it has
    EXPECT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(Written(c));
    EXPECT_TRUE(page.Checked(P::IDC_TOGGLEONCLICK));
}

// [SECTION] Every page

struct PageCase {
    const char* name;
    CLSID control;
    CLSID page;
    const DispTable& (*table)();
    // Configures the control and changes the page (without applying).
    void (*configure)(const ComPtr<IDispatch>&);
    void (*change)(PageHarness&);
};

void Set(const ComPtr<IDispatch>& d, const char* name, CComVariant value) {
    ASSERT_EQ(CallByName(d.Get(), name, DISPATCH_PROPERTYPUT, {value}), S_OK) << name;
}

const PageCase kPageCases[] = {
    {"acceleration", kw::ids::CLSID_Acceleration, kw::ids::CLSID_AccelerationPropPage,
     &AccelerationDispatchTable,
     [](const ComPtr<IDispatch>& c) {
         Set(c, "Vstart", CComVariant::I2(250));
         Set(c, "Vmax", CComVariant::I4(6000));
     },
     [](PageHarness& p) {
         p.Retype(CAccelerationPropPage::IDC_VSTART, "400");
         p.Retype(CAccelerationPropPage::IDC_B, "20000");
     }},
    {"curve", kw::ids::CLSID_Curve, kw::ids::CLSID_CurvePropPage, &CurveDispatchTable,
     [](const ComPtr<IDispatch>& c) {
         Set(c, "Xaxis", CComVariant::Str("s [mm]"));
         Set(c, "Yaxis", CComVariant::Str("F [N]"));
         Set(c, "Points", CComVariant::I2(6));
         Set(c, "Flags", CComVariant::I2(0x0002));
     },
     [](PageHarness& p) {
         p.Retype(CCurvePropPage::IDC_XAXIS, "t");
         p.Click(CCurvePropPage::IDC_XLOCK);
         p.Retype(CCurvePropPage::IDC_POINTS, "3");
     }},
    {"digit", kw::ids::CLSID_Digit, kw::ids::CLSID_DigitPropPage, &DigitDispatchTable,
     [](const ComPtr<IDispatch>& c) {
         Set(c, "Format", CComVariant::Str("%6.2f"));
         Set(c, "MaxSize", CComVariant::I2(6));
         Set(c, "Flags", CComVariant::I2(0x0011));
     },
     [](PageHarness& p) {
         p.Retype(CDigitPropPage::IDC_FORMAT, "%g");
         p.Click(CDigitPropPage::IDC_BIG);
         p.Click(CDigitPropPage::IDC_ERROR);
     }},
    {"pos", kw::ids::CLSID_Pos, kw::ids::CLSID_PosPropPage, &PosDispatchTable,
     [](const ComPtr<IDispatch>& c) { Set(c, "Mode", CComVariant::I2(2)); },
     [](PageHarness& p) {
         p.Click(CPosPropPage::IDC_Z);
         p.Click(CPosPropPage::IDC_TOGGLEONCLICK);
     }},
};

TEST_F(MachinePages, EveryPageIsCreatableAndClosingWithoutApplyWritesNothing) {
    for (const PageCase& k : kPageCases) {
        SCOPED_TRACE(k.name);
        ComPtr<IDispatch> c = Create(k.control);
        k.configure(c);
        Settle(c);
        const Props before = ReadAll(c, k.table());
        {
            PageHarness page(session, k.page);
            ASSERT_TRUE(page);
            ASSERT_TRUE(page.Open({c.Get()}));
            EXPECT_TRUE(page.Snapshot(SnapshotPath(std::string("page_") + k.name + ".png")));
            k.change(page);
            EXPECT_TRUE(page.Dirty());
        }
        EXPECT_TRUE(Changes(before, ReadAll(c, k.table())).empty());
        EXPECT_FALSE(Written(c));
    }
}

// Several controls selected: the page shows the first; an apply gives every
// control the values the user changed and leaves each its others, packed
// bits included.
TEST_F(MachinePages, SeveralControlsKeepWhatTheUserLeftAlone) {
    {
        ComPtr<IDispatch> a = Create(kw::ids::CLSID_Curve), b = Create(kw::ids::CLSID_Curve);
        Set(a, "Xaxis", CComVariant::Str("a"));
        Set(a, "Flags", CComVariant::I2(0x0104));
        Set(b, "Xaxis", CComVariant::Str("b"));
        Set(b, "Points", CComVariant::I2(8));
        Set(b, "Flags", CComVariant::I2(0x0002));
        PageHarness page(session, kw::ids::CLSID_CurvePropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        EXPECT_EQ(page.Text(CCurvePropPage::IDC_XAXIS), "a");
        page.Click(CCurvePropPage::IDC_XLOCK);
        page.Retype(CCurvePropPage::IDC_YAXIS, "F");
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Long(a, "Flags"), 0x0105);
        EXPECT_EQ(Long(b, "Flags"), 0x0003);
        EXPECT_EQ(Text(a, "Xaxis"), "a");
        EXPECT_EQ(Text(b, "Xaxis"), "b");
        EXPECT_EQ(Long(a, "Points"), 2);
        EXPECT_EQ(Long(b, "Points"), 8);
        EXPECT_EQ(Text(a, "Yaxis"), "F");
        EXPECT_EQ(Text(b, "Yaxis"), "F");
    }
    {
        ComPtr<IDispatch> a = Create(kw::ids::CLSID_Digit), b = Create(kw::ids::CLSID_Digit);
        Set(a, "Flags", CComVariant::I2(0x000A)); // big, Uninitialized
        Set(b, "Flags", CComVariant::I2(0x0015)); // small, ZeroPadding, Error
        PageHarness page(session, kw::ids::CLSID_DigitPropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        page.Click(CDigitPropPage::IDC_MEDIUM);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Long(a, "Flags"), 0x0008);
        EXPECT_EQ(Long(b, "Flags"), 0x0011);
    }
    {
        ComPtr<IDispatch> a = Create(kw::ids::CLSID_Pos), b = Create(kw::ids::CLSID_Pos);
        Set(a, "Mode", CComVariant::I2(1));
        Set(b, "Mode", CComVariant::I2(3));
        Settle(a);
        Settle(b);
        PageHarness page(session, kw::ids::CLSID_PosPropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        page.Click(CPosPropPage::IDC_XY);
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Long(a, "Mode"), 3);
        EXPECT_EQ(Long(b, "Mode"), 3);
        EXPECT_TRUE(Written(a));
        EXPECT_FALSE(Written(b)); // it had that layout
    }
    {
        ComPtr<IDispatch> a = Create(kw::ids::CLSID_Acceleration);
        ComPtr<IDispatch> b = Create(kw::ids::CLSID_Acceleration);
        Set(a, "Vstart", CComVariant::I2(300));
        Set(b, "Vstart", CComVariant::I2(100));
        Set(b, "Alpha", CComVariant::I4(2000)); // linear: B = 0
        PageHarness page(session, kw::ids::CLSID_AccelerationPropPage);
        ASSERT_TRUE(page.Open({a.Get(), b.Get()}));
        page.Retype(CAccelerationPropPage::IDC_VMAX, "7000");
        EXPECT_EQ(page.Apply(), S_OK);
        EXPECT_EQ(Long(a, "Vmax"), 7000);
        EXPECT_EQ(Long(b, "Vmax"), 7000);
        EXPECT_EQ(Long(a, "Vstart"), 300);
        EXPECT_EQ(Long(b, "Vstart"), 100);
        EXPECT_EQ(Long(b, "Alpha"), 2000);
    }
}

} // namespace
