// Where the parts of a numeric entry field lie.
#include "spinedit/SpinEditLayout.h"

#include <gtest/gtest.h>

namespace {

const CRect kDefaultClient(0, 0, 120, 21);

} // namespace

TEST(SpinEditLayout, DefaultFieldHasNinePixelSpinButtonsAroundAThreePixelDragZone) {
    const SpinEditParts parts = LayOutSpinEdit(kDefaultClient, SpinEditGeometry{});
    ASSERT_TRUE(parts.label && parts.value && parts.up && parts.down && parts.drag && parts.unit);
    EXPECT_FALSE(parts.absRel);
    EXPECT_EQ(*parts.label, CRect(0, 0, 20, 21));
    // 120 - 40 (unit) - 14 (spin) = 66, shrunk by 2.
    EXPECT_EQ(*parts.value, CRect(22, 2, 64, 19));
    EXPECT_EQ(*parts.up, CRect(66, 0, 80, 9));
    EXPECT_EQ(*parts.drag, CRect(66, 9, 80, 12));
    EXPECT_EQ(*parts.down, CRect(66, 12, 80, 21));
    EXPECT_EQ(*parts.unit, CRect(80, 0, 120, 21));
}

TEST(SpinEditLayout, AbsRelSitsAtTheRightAndPushesTheOthersLeft) {
    SpinEditGeometry g;
    g.flags = kSpinEditFlagLabel | kSpinEditFlagAbsRel;
    const SpinEditParts parts = LayOutSpinEdit(CRect(0, 0, 200, 21), g);
    EXPECT_EQ(*parts.absRel, CRect(170, 0, 200, 21));
    EXPECT_EQ(*parts.unit, CRect(130, 0, 170, 21));
    EXPECT_EQ(parts.up->right, 130);
    EXPECT_EQ(parts.value->right, 116 - 2);
}

TEST(SpinEditLayout, NarrowerThanTheSpinColumnThereIsNoValueFieldAndTheButtonsShareTheBand) {
    SpinEditGeometry g;
    g.flags = 0x0002; // units off
    const SpinEditParts parts = LayOutSpinEdit(CRect(0, 0, 12, 21), g);
    EXPECT_FALSE(parts.value);
    EXPECT_EQ(*parts.up, CRect(0, 0, 12, 10));
    EXPECT_EQ(*parts.down, CRect(0, 10, 12, 21));
    EXPECT_EQ(*parts.drag, CRect(0, 0, 12, 21));
}

TEST(SpinEditLayout, WithoutSpinOrUnitsTheValueFieldReachesFurtherRight) {
    SpinEditGeometry g;
    g.flags = kSpinEditFlagNoSpin;
    SpinEditParts parts = LayOutSpinEdit(kDefaultClient, g);
    EXPECT_FALSE(parts.up || parts.down || parts.drag);
    EXPECT_EQ(parts.value->right, 80 - 2) << "up to the unit button";

    g.flags = kSpinEditFlagNoSpin | 0x0002;
    parts = LayOutSpinEdit(kDefaultClient, g);
    EXPECT_FALSE(parts.unit);
    EXPECT_EQ(parts.value->right, 120 - 2) << "up to the right edge";

    g.flags = kSpinEditFlagNoSpin | 0x0002 | kSpinEditFlagAbsRel;
    parts = LayOutSpinEdit(kDefaultClient, g);
    EXPECT_EQ(parts.value->right, 90 - 2) << "up to the abs/rel button";
}

TEST(SpinEditLayout, TheBandCentresToEditHeightUnlessItIsTaller) {
    SpinEditGeometry g;
    g.editHeight = 21;
    SpinEditParts parts = LayOutSpinEdit(CRect(0, 0, 120, 41), g);
    EXPECT_EQ(*parts.label, CRect(0, 0, 20, 41)) << "the label keeps the full height";
    EXPECT_EQ(*parts.unit, CRect(80, 10, 120, 31));
    EXPECT_EQ(*parts.value, CRect(22, 12, 64, 29));
    EXPECT_EQ(*parts.up, CRect(66, 10, 80, 19));

    g.editHeight = 60;
    parts = LayOutSpinEdit(CRect(0, 0, 120, 41), g);
    EXPECT_EQ(*parts.unit, CRect(80, 0, 120, 41));
    // 2 * 41 / 5 + 1 = 17
    EXPECT_EQ(*parts.up, CRect(66, 0, 80, 17));
    EXPECT_EQ(*parts.down, CRect(66, 24, 80, 41));
}

TEST(SpinEditLayout, AFieldNoWiderThanItsLabelOrUnitHalvesThem) {
    SpinEditGeometry g;
    g.flags = kSpinEditFlagLabel | kSpinEditFlagAbsRel;
    const SpinEditParts parts = LayOutSpinEdit(CRect(0, 0, 20, 21), g);
    EXPECT_EQ(*parts.label, CRect(0, 0, 10, 21));
    EXPECT_EQ(*parts.unit, CRect(0, 10, 20, 21)) << "the band's lower half";
    EXPECT_EQ(*parts.absRel, CRect(0, 10, 20, 21));
}
