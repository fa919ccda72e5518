// Conversion between units: the host first, then the built-in rules.
#include "UnitsTestSupport.h"
#include "spinedit/UnitConversion.h"
#include "spinedit/UnitTable.h"

#include <gtest/gtest.h>

namespace {

constexpr double kUntouched = 777.0;

TEST(ConvertUnit, LengthsAndAngles) {
    double out = kUntouched;
    ASSERT_TRUE(ConvertUnit(25.4, kUnitMM, out, kUnitInch, false, nullptr));
    EXPECT_DOUBLE_EQ(out, 1.0);
    ASSERT_TRUE(ConvertUnit(1.0, kUnitInchAbs, out, kUnitMMAbs, false, nullptr));
    EXPECT_DOUBLE_EQ(out, 25.4);
    ASSERT_TRUE(ConvertUnit(180.0, kUnitDegree, out, kUnitRadian, false, nullptr));
    EXPECT_DOUBLE_EQ(out, kUnitPi);
    ASSERT_TRUE(ConvertUnit(kUnitPi, kUnitRadian, out, kUnitDegree, false, nullptr));
    EXPECT_DOUBLE_EQ(out, 180.0);
    ASSERT_TRUE(ConvertUnit(3.5, kUnitPercent, out, kUnitPercent, false, nullptr));
    EXPECT_EQ(out, 3.5);
}

TEST(ConvertUnit, TargetWithoutARuleForTheSourceLeavesTheOutput) {
    for (auto [from, to] : {std::pair<WORD, WORD>{kUnitMM, kUnitMMAbs},
                            {kUnitPercent, kUnitMM},
                            {kUnitInch, kUnitInchAbs},
                            {kUnitMM, kUnitDegree},
                            {kUnitDegree, kUnitRadian << 1}}) {
        double out = kUntouched;
        const bool converted = ConvertUnit(5.0, from, out, to, false, nullptr);
        const bool lengthOrAngle = to <= kUnitInchAbs || to == kUnitDegree || to == kUnitRadian;
        EXPECT_EQ(converted, lengthOrAngle) << from << " to " << to;
        EXPECT_EQ(out, kUntouched) << from << " to " << to;
    }
    for (WORD to : {kUnitPercent, kUnitHost1, static_cast<WORD>(kUnitMM | kUnitMMAbs),
                    static_cast<WORD>(0)}) {
        double out = kUntouched;
        EXPECT_FALSE(ConvertUnit(5.0, kUnitMM, out, to, false, nullptr)) << "to " << to;
        EXPECT_EQ(out, kUntouched);
    }
}

TEST(ConvertUnit, UnitsOffPassesThroughWithoutAskingTheHost) {
    RecordingHost host;
    host.converted = 1.0;
    double out = kUntouched;
    EXPECT_TRUE(ConvertUnit(5.0, kUnitMM, out, 0, true, &host));
    EXPECT_EQ(out, 5.0);
    EXPECT_TRUE(host.convertRequests.empty());
}

TEST(ConvertUnit, HostIsAskedFirst) {
    RecordingHost host;
    host.converted = 42.0;
    double out = 9.0;
    EXPECT_TRUE(ConvertUnit(5.0, kUnitMM, out, kUnitMMAbs, false, &host));
    EXPECT_EQ(out, 42.0);
    ASSERT_EQ(host.convertRequests.size(), 1u);
    const ConvertRequest& asked = host.convertRequests[0];
    EXPECT_EQ(asked.curValue, 5.0);
    EXPECT_EQ(asked.curUnit, kUnitMM);
    EXPECT_EQ(asked.newValueIn, 9.0);
    EXPECT_EQ(asked.newUnit, kUnitMMAbs);

    // Even a unit the field cannot convert, and the same unit.
    EXPECT_TRUE(ConvertUnit(5.0, kUnitHost1, out, kUnitPercent, false, &host));
    EXPECT_TRUE(ConvertUnit(5.0, kUnitMM, out, kUnitMM, false, &host));
    EXPECT_EQ(out, 42.0);

    // Target 0 is refused before the host hears of it.
    host.convertRequests.clear();
    EXPECT_FALSE(ConvertUnit(5.0, kUnitMM, out, 0, false, &host));
    EXPECT_TRUE(host.convertRequests.empty());
}

TEST(ConvertUnit, UnansweredHostFallsBackAndCannotTouchTheOutput) {
    RecordingHost host; // Writes -12345 without setting bHandled.
    double out = kUntouched;
    EXPECT_TRUE(ConvertUnit(25.4, kUnitMM, out, kUnitInch, false, &host));
    EXPECT_DOUBLE_EQ(out, 1.0);
    out = kUntouched;
    EXPECT_TRUE(ConvertUnit(5.0, kUnitMM, out, kUnitMMAbs, false, &host));
    EXPECT_EQ(out, kUntouched);
    EXPECT_FALSE(ConvertUnit(5.0, kUnitMM, out, kUnitPercent, false, &host));
    EXPECT_EQ(out, kUntouched);
    EXPECT_EQ(host.convertRequests.size(), 3u);
}

} // namespace
