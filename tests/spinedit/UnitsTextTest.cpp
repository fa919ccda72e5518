// Which unit a field settles on, the text beside the value, and what the
// unit-configuration string gives.
#include "UnitsTestSupport.h"
#include "spinedit/UnitText.h"

#include <gtest/gtest.h>

namespace {

struct Field {
    UnitMasks masks;
    std::string config;
    bool inch{false};
    UnitDisplay display;
    short pointPos{0};

    void Update(IUnitRequests* host = nullptr) {
        UpdateUnitText(display, pointPos, masks, config, inch, host);
    }
    // A unit switch, as the unit button makes it.
    void Switch(IUnitRequests* host = nullptr) {
        display.displayUnit = static_cast<WORD>(display.displayUnit * 2);
        Update(host);
    }
};

TEST(UnitText, MetricSystemSettlesOnMillimetresAndCyclesBackToThem) {
    Field field; // Units 5: mm and inch, relative.
    field.display.displayUnit = kUnitMM;
    field.Update();
    EXPECT_EQ(field.display.displayUnit, kUnitMM);
    EXPECT_EQ(field.display.unitText, " [mm] ");
    EXPECT_FALSE(field.display.unitTextStale);

    // 2 is not in Units, 4 is an inch unit, the rest are not in Units.
    field.Switch();
    EXPECT_EQ(field.display.displayUnit, kUnitMM) << "got " << field.display.displayUnit;
    EXPECT_EQ(field.display.unitText, " [mm] ");
}

TEST(UnitText, InchSystemSettlesOnInches) {
    Field field;
    field.inch = true;
    field.display.displayUnit = kUnitMM;
    field.Update();
    EXPECT_EQ(field.display.displayUnit, kUnitInch);
    EXPECT_EQ(field.display.unitText, " [inch] ");
    field.Switch();
    EXPECT_EQ(field.display.displayUnit, kUnitInch);
}

TEST(UnitText, SwitchVisitsEveryAllowedUnitAndWrapsPastBitFifteen) {
    Field field;
    field.masks = {kUnitMM | kUnitMMAbs | kUnitPercent | kUnitDegree | kUnitRadian | kUnitHidden, 0,
                   0};
    field.display.displayUnit = kUnitMM;
    field.Update();
    std::vector<std::string> seen{field.display.unitText};
    for (int i = 0; i < 5; ++i) {
        field.Switch();
        seen.push_back(field.display.unitText);
    }
    const std::vector<std::string> expected{" [mm] ",   " [MM] ",  " [%] ",
                                            " [\xB0] ", " [rad] ", " [mm] "};
    EXPECT_EQ(seen, expected);
}

TEST(UnitText, SystemMasksHideUnits) {
    // % is offered only in the metric system, degrees only in the inch system.
    Field metric;
    metric.masks = {kUnitPercent | kUnitDegree, kUnitPercent, kUnitDegree};
    metric.display.displayUnit = kUnitDegree;
    metric.Update();
    EXPECT_EQ(metric.display.displayUnit, kUnitPercent);

    Field inch = metric;
    inch.inch = true;
    inch.display.displayUnit = kUnitPercent;
    inch.Update();
    EXPECT_EQ(inch.display.displayUnit, kUnitDegree);
}

TEST(UnitText, NoAllowedUnitLeavesAnEmptyText) {
    Field field;
    field.masks = {kUnitInch, 0, 0}; // Inch in the metric system.
    field.display.displayUnit = kUnitInch;
    field.display.unitText = "old";
    field.Update();
    EXPECT_EQ(field.display.unitText, "");
    EXPECT_FALSE(field.display.unitTextStale);

    Field none;
    none.masks.units = 0;
    none.Update();
    EXPECT_EQ(none.display.unitText, "");
}

TEST(UnitText, HostUnitNamesComeFromTheConfigurationOrTheHost) {
    Field field;
    field.masks = {static_cast<WORD>(kUnitHost1 | (kUnitHost1 << 1) | (kUnitHost1 << 2)), 0, 0};
    field.config = "a$3c$4h$11:Grad;3:;";
    field.display.displayUnit = kUnitHost1;
    RecordingHost host;
    field.Update(&host);
    EXPECT_EQ(field.display.unitText, " [Grad] ");
    EXPECT_EQ(field.pointPos, 1);
    EXPECT_TRUE(host.textRequests.empty());

    // U2 has no name: the host is asked with an empty text; unanswered.
    field.Switch(&host);
    EXPECT_EQ(field.display.displayUnit, kUnitHost1 << 1);
    EXPECT_EQ(field.display.unitText, " [ ??? ] ");
    ASSERT_EQ(host.textRequests.size(), 1u);
    EXPECT_EQ(host.textRequests[0], 256);
    EXPECT_EQ(host.textIn[0], "");

    // Answered.
    host.unitName = "Stk";
    field.Update(&host);
    EXPECT_EQ(field.display.unitText, " [Stk] ");

    // U3 has an empty name in the configuration.
    field.Switch(&host);
    EXPECT_EQ(field.display.unitText, " [] ");
    EXPECT_EQ(host.textRequests.size(), 2u);
}

TEST(UnitText, WithoutAHostAnUnnamedUnitIsUnknown) {
    Field field;
    field.masks = {static_cast<WORD>(kUnitHost8), 0, 0};
    field.config = "8:Name"; // No ';': malformed, no name.
    field.display.displayUnit = kUnitHost8;
    field.Update(nullptr);
    EXPECT_EQ(field.display.unitText, " [ ??? ] ");
}

TEST(UnitText, DecimalsFromTheConfiguration) {
    Field field;
    field.display.displayUnit = kUnitMM;
    field.pointPos = 5;
    field.config = "a$3";
    field.Update();
    EXPECT_EQ(field.pointPos, 3);

    for (const char* ignored : {"a$9", "a$", "a$x", "b$2", "A$2"}) {
        field.pointPos = 5;
        field.config = ignored;
        field.Update();
        EXPECT_EQ(field.pointPos, 5) << "config \"" << ignored << "\"";
    }
    // The first entry of a letter counts.
    field.config = "c$4a$0a$7";
    field.Update();
    EXPECT_EQ(field.pointPos, 0);
}

TEST(UnitTable, LettersIndexesAndHostNumbers) {
    EXPECT_EQ(UnitLetter(0), 'a');
    EXPECT_EQ(UnitLetter(14), 'o');
    EXPECT_EQ(UnitLetter(15), 0);
    EXPECT_EQ(UnitFromBitIndex(0), kUnitMM);
    EXPECT_EQ(UnitFromBitIndex(15), kUnitHidden);
    EXPECT_EQ(UnitFromBitIndex(16), 0);
    EXPECT_EQ(UnitFromBitIndex(-1), 0);
    EXPECT_EQ(HostUnitNumber(kUnitHost1), 1);
    EXPECT_EQ(HostUnitNumber(kUnitHost8), 8);
    EXPECT_EQ(HostUnitNumber(kUnitRadian), 0);
    EXPECT_EQ(HostUnitNumber(kUnitHidden), 0);
    EXPECT_EQ(HostUnitNumber(kUnitHost1 | kUnitHost8), 0);
    EXPECT_EQ(LowestUnitBit(0), -1);
    EXPECT_EQ(LowestUnitBit(0x30), 4);
}

} // namespace
