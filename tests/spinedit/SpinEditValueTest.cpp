// The field's value logic through its dispatch interface: units and the
// measurement system, the host's answers, limits, steps, SetVal and GetVal,
// the entry record, persistence.
#include "GermanLocale.h"
#include "SpinEditTestSupport.h"
#include "platform/afx/JsonPropertyBag.h"

#include <cmath>

using spinedit_test::SpinEditTest;

namespace {

constexpr DISPID kValueChanged = CSpinEditCtrl::kEventValueChanged;
constexpr DISPID kUnitChanged = CSpinEditCtrl::kEventUnitChanged;
constexpr DISPID kRequestUnitText = CSpinEditCtrl::kEventRequestUnitText;
constexpr DISPID kRequestUnitConvert = CSpinEditCtrl::kEventRequestUnitConvert;

std::string Text(CSpinEditCtrl* field) {
    return field->FormatValue(true).Str();
}

} // namespace

// [SECTION] Units and the measurement system

TEST_F(SpinEditTest, MetricFieldShowsMillimetresAndItsUnitSwitchComesBackToThem) {
    Create();
    CSpinEditCtrl* field = Field();
    EXPECT_FALSE(field->InchSystem());
    Pixels(); // the first paint settles the unit text
    EXPECT_EQ(field->DisplayUnit(), 1);
    EXPECT_EQ(field->UnitTextShown(), " [mm] ");

    // Units 5 offers mm and inch; inch is not offered in the metric system,
    // so a switch goes round to mm again, and says so.
    ClickAt(Centre(*Parts().unit));
    EXPECT_EQ(field->DisplayUnit(), 1);
    ASSERT_EQ(events.Count(kUnitChanged), 1);
    const auto& changed = events.fired.back();
    EXPECT_EQ(changed.args[0].iVal, 1);
    EXPECT_EQ(changed.args[1].iVal, 1);
    EXPECT_EQ(changed.args[2].lVal, LONG(reinterpret_cast<std::uintptr_t>(Window())));
}

TEST_F(SpinEditTest, InchFieldSettlesOnInchesAndShowsMillimetreValuesConverted) {
    UseInchSystem(1);
    Create();
    CSpinEditCtrl* field = Field();
    EXPECT_TRUE(field->InchSystem());
    Put("UnitText", CComVariant::Str("c$3"));
    ASSERT_TRUE(SetVal(25.4, 1)); // 25.4 mm
    Pixels();
    EXPECT_EQ(field->DisplayUnit(), 4);
    EXPECT_EQ(field->UnitTextShown(), " [inch] ");
    EXPECT_EQ(Text(field), "1.000");
    auto [ok, inches] = GetVal(4);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(inches, 1.0);
    // And back: one inch entered reads as 25.4 mm stored.
    NMSPINEDITENTRY entry;
    entry.hdr = NMHDR{nullptr, kSpinEditEntryId, kSpinEditEntryCode};
    entry.text = "2";
    ::SendMessageA(Window(), WM_NOTIFY, kSpinEditEntryId, reinterpret_cast<LPARAM>(&entry));
    EXPECT_DOUBLE_EQ(GetVal(-1).second, 50.8);
}

TEST_F(SpinEditTest, HalfATurnInDegreesReadsPiInRadians) {
    Create();
    Put("Units", CComVariant::I2(32 | 64));
    Put("DefaultUnit", CComVariant::I2(5));
    Put("UnitText", CComVariant::Str("g$5"));
    ASSERT_TRUE(SetVal(180.0, 32));
    ASSERT_TRUE(Call("SetUnit", DISPATCH_METHOD, {CComVariant::I2(64)}) == S_OK);
    EXPECT_EQ(Field()->UnitTextShown(), " [rad] ");
    EXPECT_EQ(Text(Field()), "3.14159");
}

TEST_F(SpinEditTest, TheHostConvertsAndNamesUnitsWhenItAnswers) {
    Create();
    Put("Units", CComVariant::I2(1 | 128));
    Put("UnitText", CComVariant::Str("a$1"));
    ASSERT_TRUE(SetVal(10.0, 1));

    // Unanswered: a host unit without a name shows " [ ??? ] ", and a value
    // without a rule for it passes through.
    ASSERT_EQ(Call("SetUnit", DISPATCH_METHOD, {CComVariant::I2(128)}), S_OK);
    EXPECT_EQ(Field()->UnitTextShown(), " [ ??? ] ");
    EXPECT_EQ(events.Count(kRequestUnitText), 1);
    EXPECT_EQ(Text(Field()), "10.0");

    // Answered: the host's name and the host's number.
    events.answers[kRequestUnitText] = [](VARIANT* args, UINT) {
        SysFreeString(*args[2].pbstrVal);
        *args[2].pbstrVal = BstrFromAnsi("Umdr");
        *args[0].plVal = 1;
    };
    events.answers[kRequestUnitConvert] = [](VARIANT* args, UINT) {
        EXPECT_EQ(args[5].dblVal, 10.0);
        EXPECT_EQ(args[4].iVal, 1);
        EXPECT_EQ(args[2].iVal, 128);
        *args[3].pdblVal = args[5].dblVal / 4;
        *args[1].plVal = 1;
    };
    ASSERT_EQ(Call("SetUnit", DISPATCH_METHOD, {CComVariant::I2(128)}), S_OK);
    EXPECT_EQ(Field()->UnitTextShown(), " [Umdr] ");
    EXPECT_EQ(Text(Field()), "2.5");
    auto [ok, turns] = GetVal(128);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(turns, 2.5);
}

TEST_F(SpinEditTest, GetValFailsForAUnitWithoutAnyConversion) {
    Create();
    ASSERT_TRUE(SetVal(3.0, 1));
    EXPECT_FALSE(GetVal(16).first) << "mm to % has no rule and no host";
    EXPECT_FALSE(GetVal(0).first);
}

TEST_F(SpinEditTest, GetValPassesTheValueThroughWhereOnlyTheTargetHasARule) {
    Create();
    ASSERT_TRUE(SetVal(3.0, 1));
    // mm to absolute mm: a length target, but no rule from mm; the caller's
    // -1 must not come back as the answer.
    auto [ok, v] = GetVal(2);
    EXPECT_TRUE(ok);
    EXPECT_EQ(v, 3.0);
}

TEST_F(SpinEditTest, SetValOfAUnitWithoutARuleFailsAndChangesNothing) {
    Create();
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagShowUninitialized));
    ASSERT_EQ(Call("SetUndefined", DISPATCH_METHOD), S_OK);
    ASSERT_EQ(Text(Field()), "---");
    EXPECT_FALSE(SetVal(2.0, 2)) << "absolute mm is not in Units 5 and has no rule into mm";
    EXPECT_FALSE(Field()->IsDefined());
    EXPECT_EQ(Text(Field()), "---");

    ASSERT_TRUE(SetVal(4.0, 1));
    EXPECT_FALSE(SetVal(9.0, 2));
    EXPECT_EQ(GetVal(-1).second, 4.0);
}

TEST_F(SpinEditTest, FieldShowsTheUsersDecimalCommaAndDashesWhenUnset) {
    GermanNumericLocale german;
    if (!german.Available())
        GTEST_SKIP() << "no German locale, localedef gave " << german.LocaledefStatus();
    Create();
    Put("PointPos", CComVariant::I2(2));
    ASSERT_TRUE(SetVal(1.5, 1));
    EXPECT_EQ(Text(Field()), "1,50");
    EXPECT_STREQ(std::localeconv()->decimal_point, ".") << "back to C afterwards";
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagShowUninitialized));
    ASSERT_EQ(Call("SetUndefined", DISPATCH_METHOD), S_OK);
    EXPECT_EQ(Text(Field()), "---");
}

// [SECTION] SetVal and GetVal

TEST_F(SpinEditTest, SetValWithTheDefaultUnitStoresAndGetValReturnsUnconverted) {
    Create();
    EXPECT_TRUE(SetVal(12.5, -1));
    EXPECT_EQ(Field()->ValueUnit(), 1) << "the default unit, mm";
    EXPECT_TRUE(SetVal(13.5, -1)) << "a second call stores like the first";
    auto [ok, v] = GetVal(-1);
    EXPECT_TRUE(ok);
    EXPECT_EQ(v, 13.5);
    EXPECT_TRUE(Field()->IsDefined());
    EXPECT_TRUE(events.fired.empty()) << "SetVal fires nothing";
}

TEST_F(SpinEditTest, SetValOfAUnitTheFieldDoesNotShowConvertsIntoTheValueUnit) {
    Create();
    ASSERT_TRUE(SetVal(10.0, 1));
    EXPECT_TRUE(SetVal(2.0, 8)) << "INCH is not in Units 5: converted into mm";
    EXPECT_DOUBLE_EQ(GetVal(-1).second, 50.8);
    EXPECT_EQ(Field()->ValueUnit(), 1);
    EXPECT_FALSE(SetVal(2.0, 0)) << "unit 0 names nothing";

    // A value held in % takes nothing from inches.
    Create();
    Put("DefaultUnit", CComVariant::I2(4));
    ASSERT_TRUE(SetVal(7.0, -1));
    EXPECT_FALSE(SetVal(2.0, 8));
    EXPECT_EQ(GetVal(-1).second, 7.0);
}

TEST_F(SpinEditTest, IntegerReadersSaturateAndSayWhenTheyHadTo) {
    Create();
    ASSERT_TRUE(SetVal(-1234.9, -1));
    SHORT s = 0;
    LONG l = 0;
    EXPECT_TRUE(Field()->GetsVal(&s, -1));
    EXPECT_EQ(s, -1234);
    ASSERT_TRUE(SetVal(1e6, -1));
    EXPECT_FALSE(Field()->GetsVal(&s, -1));
    EXPECT_EQ(s, 32767);
    EXPECT_TRUE(Field()->GetlVal(&l, -1));
    EXPECT_EQ(l, 1000000);
    ASSERT_TRUE(SetVal(-1e12, -1));
    EXPECT_FALSE(Field()->GetlVal(&l, -1));
    EXPECT_EQ(l, std::numeric_limits<LONG>::min());
    float f = 0;
    ASSERT_TRUE(SetVal(1e300, -1));
    EXPECT_TRUE(Field()->GetfVal(&f, -1));
    EXPECT_TRUE(std::isinf(f));
}

// [SECTION] Limits and steps

TEST_F(SpinEditTest, WritingALimitTurnsLimitsOnAndReclampsOnlyWhenTheValueMoves) {
    Create();
    ASSERT_TRUE(SetVal(2.0, -1));
    Put("LowLimit", CComVariant::R4(5.0f));
    EXPECT_NE(Get("Flags").iVal & kSpinEditFlagUseLimits, 0);
    EXPECT_EQ(GetVal(-1).second, 5.0);
    EXPECT_EQ(events.Count(kValueChanged), 1);

    Put("HighLimit", CComVariant::R4(50.0f));
    EXPECT_EQ(GetVal(-1).second, 5.0);
    EXPECT_EQ(events.Count(kValueChanged), 1) << "nothing moved, nothing fired";

    // A high limit of 0 means none.
    Put("HighLimit", CComVariant::R4(0.0f));
    ASSERT_TRUE(SetVal(1000.0, -1));
    Field()->StepUp(1);
    EXPECT_EQ(GetVal(-1).second, 1001.0);
}

TEST_F(SpinEditTest, StepDownAtTheLowLimitDoesNothing) {
    Create();
    Put("LowLimit", CComVariant::R4(1.0f));
    events.fired.clear();
    ASSERT_TRUE(SetVal(1.0, -1));
    EXPECT_FALSE(Field()->StepDown(1));
    EXPECT_EQ(GetVal(-1).second, 1.0);
    EXPECT_TRUE(events.fired.empty());

    // A step clamped back to where it was fires nothing either.
    Put("HighLimit", CComVariant::R4(3.0f));
    ASSERT_TRUE(SetVal(3.0, -1));
    events.fired.clear();
    EXPECT_TRUE(Field()->StepUp(1));
    EXPECT_EQ(GetVal(-1).second, 3.0);
    EXPECT_EQ(events.Count(kValueChanged), 0);
}

TEST_F(SpinEditTest, StepsAreTakenInTheDisplayUnit) {
    UseInchSystem(1);
    Create();
    Put("Units", CComVariant::I2(1 | 4));
    Put("UnitsMaskMM", CComVariant::I2(0));
    Put("UnitsMaskINCH", CComVariant::I2(0));
    Put("PointPos", CComVariant::I2(3));
    Put("StepVal", CComVariant::R4(0.5f));
    ASSERT_TRUE(SetVal(10.0, 1)); // mm stored
    ASSERT_EQ(Call("SetUnit", DISPATCH_METHOD, {CComVariant::I2(4)}), S_OK);
    EXPECT_TRUE(Field()->StepUp(1)); // half an inch more
    EXPECT_DOUBLE_EQ(GetVal(-1).second, 22.7);
    EXPECT_EQ(events.Count(kValueChanged), 1);
}

// [SECTION] The entry record

TEST_F(SpinEditTest, ACommittedEntryTakesTheOffsetAndIsReported) {
    Create();
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagAbsRel));
    ASSERT_TRUE(SetVal(100.0, -1));
    ASSERT_EQ(Call("SetOffset", DISPATCH_METHOD, {CComVariant::R8(10.0)}), S_OK);
    EXPECT_EQ(Text(Field()), "110");

    NMSPINEDITENTRY entry;
    entry.hdr = NMHDR{nullptr, kSpinEditEntryId, kSpinEditEntryCode};
    entry.text = "7,4";
    ::SendMessageA(Window(), WM_NOTIFY, kSpinEditEntryId, reinterpret_cast<LPARAM>(&entry));
    EXPECT_EQ(GetVal(-1).second, -3.0) << "7 shown in absolute mode is 7 - offset";
    EXPECT_EQ(events.Count(kValueChanged), 1);

    // Relative: what is typed is added to the reference.
    ClickAt(Centre(*Parts().absRel));
    EXPECT_FALSE(Field()->IsAbsolute());
    entry.text = "2";
    ::SendMessageA(Window(), WM_NOTIFY, kSpinEditEntryId, reinterpret_cast<LPARAM>(&entry));
    EXPECT_EQ(GetVal(-1).second, 102.0) << "reference 100 (from SetVal) + 2";
}

TEST_F(SpinEditTest, AnEntryThatIsNoNumberKeepsTheValueAndBeeps) {
    Create();
    ASSERT_TRUE(SetVal(4.0, -1));
    NMSPINEDITENTRY entry;
    entry.hdr = NMHDR{nullptr, kSpinEditEntryId, kSpinEditEntryCode};
    for (const char* text : {"nan", "-nan", "---", "inf"}) {
        entry.text = text;
        ::SendMessageA(Window(), WM_NOTIFY, kSpinEditEntryId, reinterpret_cast<LPARAM>(&entry));
        EXPECT_EQ(GetVal(-1).second, 4.0) << text;
    }
    EXPECT_EQ(events.Count(kValueChanged), 0);
    EXPECT_EQ(session.Modal().beeps.size(), 4u);
}

// [SECTION] Persistence

TEST_F(SpinEditTest, SavedPropertiesComeBackAndOldStoresKeepLaterOnes) {
    Create();
    Put("Label", CComVariant::Str("Z:"));
    Put("SpinWidth", CComVariant::I2(20));
    Put("EditHeight", CComVariant::I2(17));
    Put("AbsWidth", CComVariant::I2(33));
    Put("DefaultUnit", CComVariant::I2(2));
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    nlohmann::json saved = bag->Values();
    EXPECT_EQ(saved["Label"], "Z:");
    EXPECT_EQ(saved["_Version"], 0x00010004);
    EXPECT_EQ(saved["EditHeight"], 17);

    // A store of version 1.1: AbsWidth and EditHeight are not read from it,
    // and a SpinWidth outside 10 to 30 becomes 15.
    saved["_Version"] = 0x00010001;
    saved["SpinWidth"] = 5;
    saved["AbsWidth"] = 99;
    saved["EditHeight"] = 99;
    Create();
    auto old = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag(saved));
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Load(old.Get(), nullptr), S_OK);
    EXPECT_EQ(Get("SpinWidth").iVal, 15);
    EXPECT_EQ(Get("AbsWidth").iVal, 30);
    EXPECT_EQ(Get("EditHeight").iVal, 21);
    EXPECT_EQ(AnsiFromBstr(Get("Label").bstrVal), "Z:");
    EXPECT_EQ(Field()->DisplayUnit(), 4) << "the display unit starts as the default unit";
}
