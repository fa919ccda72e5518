#include "platform/base/Geometry.h"

#include <gtest/gtest.h>

TEST(Geometry, RightAndBottomEdgesAreExclusive) {
    CRect rc(0, 0, 10, 5);
    EXPECT_EQ(rc.Width(), 10);
    EXPECT_EQ(rc.Height(), 5);
    EXPECT_TRUE(rc.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(rc.PtInRect(CPoint(9, 4)));
    EXPECT_FALSE(rc.PtInRect(CPoint(10, 0))) << "the right edge lies outside";
    EXPECT_FALSE(rc.PtInRect(CPoint(0, 5))) << "the bottom edge lies outside";
    EXPECT_TRUE(CRect(3, 3, 3, 8).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 0, 2, 4).IsRectEmpty()) << "inverted rectangles are empty";
    EXPECT_EQ(CRect(2, 4, 8, 10).CenterPoint(), CPoint(5, 7));
}

TEST(Geometry, IntersectionAndUnion) {
    RECT out{9, 9, 9, 9};
    const RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, c{10, 0, 20, 10};
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_EQ(out, (RECT{5, 5, 10, 10}));
    // Touching edges share no pixel.
    EXPECT_FALSE(IntersectRect(&out, &a, &c));
    EXPECT_EQ(out, RECT{}) << "an empty intersection is set to all zeros";
    EXPECT_TRUE(UnionRect(&out, &a, &c));
    EXPECT_EQ(out, (RECT{0, 0, 20, 10}));
    const RECT empty{50, 50, 50, 60};
    EXPECT_TRUE(UnionRect(&out, &a, &empty));
    EXPECT_EQ(out, a) << "an empty operand does not stretch the union";
    CRect r = CRect(a) & CRect(b);
    EXPECT_EQ(r, CRect(5, 5, 10, 10));
}

TEST(Geometry, MovingAndResizing) {
    CRect rc(10, 20, 30, 40);
    rc.OffsetRect(-10, 5);
    EXPECT_EQ(rc, CRect(0, 25, 20, 45));
    rc.DeflateRect(2, 3);
    EXPECT_EQ(rc, CRect(2, 28, 18, 42));
    rc.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(rc, CRect(1, 26, 21, 46));
    CRect inverted(8, 9, 1, 2);
    inverted.NormalizeRect();
    EXPECT_EQ(inverted, CRect(1, 2, 8, 9));
    EXPECT_EQ(rc.TopLeft(), CPoint(1, 26));
    EXPECT_EQ(rc.BottomRight(), CPoint(21, 46));
}

TEST(Geometry, NullPointersFailInsteadOfCrashing) {
    RECT r{};
    EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
    EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
    EXPECT_FALSE(InflateRect(nullptr, 1, 1));
    EXPECT_FALSE(IntersectRect(&r, nullptr, &r));
    EXPECT_FALSE(UnionRect(nullptr, &r, &r));
    EXPECT_FALSE(CopyRect(&r, nullptr));
    EXPECT_FALSE(EqualRect(&r, nullptr));
    EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
    EXPECT_TRUE(IsRectEmpty(nullptr));
}
