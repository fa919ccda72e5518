// Rounding, the shown text of a value and reading an entered number back.
#include "GermanLocale.h"
#include "UnitsTestSupport.h"
#include "spinedit/UnitTable.h"
#include "spinedit/ValueFormat.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>

namespace {

double Rounded(double v, int n) {
    RoundToDecimals(v, n);
    return v;
}

TEST(RoundToDecimals, HalvesAwayFromZeroAndZeroStaysPositive) {
    EXPECT_EQ(Rounded(2.125, 2), 2.13);
    EXPECT_EQ(Rounded(-2.125, 2), -2.13);
    EXPECT_EQ(Rounded(2.5, 0), 3.0);
    EXPECT_EQ(Rounded(-2.5, 0), -3.0);
    EXPECT_EQ(Rounded(1.234, 2), 1.23);
    EXPECT_EQ(Rounded(1250.0, -2), 1300.0);
    for (double tiny : {0.0, -0.0, 0.004, -0.004}) {
        const double v = Rounded(tiny, 2);
        EXPECT_EQ(v, 0.0) << tiny;
        EXPECT_FALSE(std::signbit(v)) << tiny << " came back as -0";
    }
}

TEST(RoundToDecimals, BeyondThirtyTwoBitsAndTheEdgesOfDouble) {
    EXPECT_EQ(Rounded(3000000.0, 3), 3000000.0);
    EXPECT_EQ(Rounded(-3000000.4567, 3), -3000000.457);
    EXPECT_EQ(Rounded(1e12 + 0.5, 0), 1e12 + 1.0);
    // Already whole at double precision: adding a half must not move it.
    const double odd = 4503599627370497.0;
    EXPECT_EQ(Rounded(odd, 0), odd);
    EXPECT_EQ(Rounded(1e300, 8), 1e300);
    EXPECT_EQ(Rounded(1.5, 400), 1.5);
    EXPECT_TRUE(std::isinf(Rounded(std::numeric_limits<double>::infinity(), 2)));
    EXPECT_TRUE(std::isnan(Rounded(std::nan(""), 2)));
}

TEST(TruncateSaturated, IntegerFormsSaturate) {
    short s = 1;
    EXPECT_TRUE(TruncateSaturated(-12.9, s));
    EXPECT_EQ(s, -12);
    EXPECT_FALSE(TruncateSaturated(40000.0, s));
    EXPECT_EQ(s, 32767);
    EXPECT_FALSE(TruncateSaturated(-40000.0, s));
    EXPECT_EQ(s, -32768);
    EXPECT_TRUE(TruncateSaturated(32767.9, s));
    EXPECT_EQ(s, 32767);
    std::int32_t l = 1;
    EXPECT_FALSE(TruncateSaturated(3e9, l));
    EXPECT_EQ(l, 2147483647);
    EXPECT_FALSE(TruncateSaturated(std::nan(""), l));
    EXPECT_EQ(l, 0);
}

struct Shown {
    ValueFormatInput input;
    WORD valueUnit{0};
    WORD displayUnit{0};

    std::string Text(IUnitRequests* host = nullptr) {
        return FormatValue(input, valueUnit, displayUnit, true, host);
    }
};

Shown Defined(double value, short typ = kSpinEditTypFloat, short pointPos = 0) {
    Shown shown;
    shown.input.value = value;
    shown.input.defined = true;
    shown.input.typ = typ;
    shown.input.pointPos = pointPos;
    return shown;
}

TEST(FormatValue, EachValueType) {
    EXPECT_EQ(Defined(2.125, kSpinEditTypFloat, 2).Text(), "2.13");
    EXPECT_EQ(Defined(-2.125, kSpinEditTypDouble, 3).Text(), "-2.125");
    EXPECT_EQ(Defined(7.0, kSpinEditTypDouble, -1).Text(), "10");
    EXPECT_EQ(Defined(2.5, kSpinEditTypShort).Text(), "3");
    EXPECT_EQ(Defined(-2.5, kSpinEditTypLong).Text(), "-3");
    EXPECT_EQ(Defined(1e6, kSpinEditTypShort).Text(), "1000000");
    EXPECT_EQ(Defined(-1e12, kSpinEditTypShort).Text(), "-2147483648");
    EXPECT_EQ(Defined(-1e12, kSpinEditTypLong).Text(), "-2147483648");
    EXPECT_EQ(Defined(5e38, kSpinEditTypDouble).Text(), "---");
    Shown text = Defined(1.0, kSpinEditTypText);
    text.input.text = "Auto";
    EXPECT_EQ(text.Text(), "Auto");
    EXPECT_EQ(Defined(1.0, 9).Text(), "");
}

TEST(FormatValue, UndefinedValue) {
    Shown shown;
    shown.input.value = 1.0;
    shown.input.flags = kSpinEditFlagShowUninitialized;
    EXPECT_EQ(shown.Text(), "---");
    shown.input.flags = 0;
    EXPECT_EQ(shown.Text(), "1");
}

TEST(FormatValue, SettlesUnitsAndConvertsToTheDisplayUnit) {
    Shown shown = Defined(25.4, kSpinEditTypFloat, 3);
    EXPECT_EQ(shown.Text(), "25.400");
    EXPECT_EQ(shown.valueUnit, kUnitMM) << "the value unit settles on the default unit";
    EXPECT_EQ(shown.displayUnit, kUnitMM);

    shown.displayUnit = kUnitInch;
    EXPECT_EQ(shown.Text(), "1.000");

    Shown angle = Defined(180.0, kSpinEditTypDouble, 6);
    angle.input.defaultUnit = 5;
    angle.displayUnit = kUnitRadian;
    EXPECT_EQ(angle.Text(), "3.141593");

    // No rule (mm to %): shown as it is.
    shown.displayUnit = kUnitPercent;
    EXPECT_EQ(shown.Text(), "25.400");

    // Units off: no conversion, and the host is not asked.
    RecordingHost host;
    host.converted = 99.0;
    shown.displayUnit = kUnitInch;
    shown.input.flags = kSpinEditFlagNoUnits;
    EXPECT_EQ(shown.Text(&host), "25.400");
    EXPECT_TRUE(host.convertRequests.empty());
    shown.input.flags = 0;
    EXPECT_EQ(shown.Text(&host), "99.000");
}

TEST(FormatValue, OffsetAndRelativeDisplay) {
    Shown shown = Defined(10.0, kSpinEditTypFloat, 1);
    shown.input.displayOffset = 2.0;
    EXPECT_EQ(shown.Text(), "12.0");
    shown.input.absolute = false;
    shown.input.referenceValue = 4.0;
    EXPECT_EQ(shown.Text(), "6.0");

    // The relative zero point is converted with the value.
    Shown inch = Defined(50.8, kSpinEditTypFloat, 3);
    inch.displayUnit = kUnitInch;
    inch.input.absolute = false;
    inch.input.referenceValue = 25.4;
    EXPECT_EQ(inch.Text(), "1.000");
}

TEST(FormatValue, LowLimitShowsTheSpecialText) {
    Shown shown = Defined(-1.0, kSpinEditTypFloat, 1);
    shown.input.lowLimit = -1.0f;
    shown.input.text = "Aus";
    shown.input.flags = kSpinEditFlagUseLimits | kSpinEditFlagShowUninitialized;
    EXPECT_EQ(shown.Text(), "Aus");
    shown.input.value = -0.9;
    EXPECT_EQ(shown.Text(), "-0.9");
    shown.input.value = -1.0;
    shown.input.flags = kSpinEditFlagUseLimits;
    EXPECT_EQ(shown.Text(), "-1.0");
    shown.input.flags = kSpinEditFlagUseLimits | kSpinEditFlagShowUninitialized;
    shown.input.text.clear();
    EXPECT_EQ(shown.Text(), "-1.0");
}

TEST_F(GermanUserLocale, DecimalCommaForTheUserAndCAfterwards) {
    EXPECT_EQ(Defined(1.5, kSpinEditTypFloat, 2).Text(), "1,50");
    EXPECT_EQ(Defined(-2.125, kSpinEditTypDouble, 2).Text(), "-2,13");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    // Whole-number types and "---" have no separator to localise.
    EXPECT_EQ(Defined(1234.0, kSpinEditTypLong).Text(), "1234");
    EXPECT_EQ(Defined(1.5, kSpinEditTypFloat, 2).Text(), "1,50");
    EXPECT_EQ(ReadEnteredNumber("1,50"), 1.5);
}

TEST_F(GermanUserLocale, ReadsTheCurrentDecimalPoint) {
    // Should the numeric locale still be the user's, its separator is read too.
    ASSERT_NE(std::setlocale(LC_NUMERIC, ""), nullptr);
    EXPECT_EQ(ReadEnteredNumber("2,25"), 2.25);
}

TEST(ReadEnteredNumber, PointsCommasAndJunk) {
    EXPECT_EQ(ReadEnteredNumber("1.5"), 1.5);
    EXPECT_EQ(ReadEnteredNumber("-0,25"), -0.25);
    EXPECT_EQ(ReadEnteredNumber("  12"), 12.0);
    EXPECT_EQ(ReadEnteredNumber("3.5 mm"), 3.5);
    EXPECT_EQ(ReadEnteredNumber(""), 0.0);
    EXPECT_EQ(ReadEnteredNumber("abc"), 0.0);
}

} // namespace
