// The curve editor's arithmetic without a window: the plot inside the
// bounds, values to pixels and back, the scales and the hit test.
#include "machine/CurveGeometry.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

namespace {

// Plot (20, 10, 120, 74): 100 x 64, so that y values of 1/64 steps are exact.
const CRect kBounds(0, 0, 130, 94);

} // namespace

TEST(CurveGeometry, TheLargestXFillsATenthLessThanTheWidth) {
    const CRect plot = CurvePlotRect(kBounds);
    const std::vector<CurvePoint> points{{2.0f, 0.1f}, {10.0f, 0.5f}, {4.0f, 0.9f}};
    const float xs = CurveXScale(points, plot);
    EXPECT_FLOAT_EQ(xs, 10.0f * 1.1f / 100.0f);
    const CurveScale scale{xs, CurveYScale(plot)};
    EXPECT_FLOAT_EQ(scale.y, 1.0f / 64.0f);
    // x = 10 lands at trunc(10 / 0.11) = 90 pixels right of the plot's left.
    EXPECT_EQ(CurveDevicePoint(points[1], scale, plot), CPoint(20 + 90, 74 - 32));
    // The top of the y range is the plot's top.
    EXPECT_EQ(CurveDevicePoint({0.0f, 1.0f}, scale, plot).y, 10);
    // And back: a pixel stands for its offset times the scale.
    const CurvePoint v = CurveValueAt(CPoint(20 + 50, 74 - 16), scale, plot);
    EXPECT_FLOAT_EQ(v.x, 50 * xs);
    EXPECT_FLOAT_EQ(v.y, 0.25f);
}

TEST(CurveGeometry, NegativeXDoesNotRaiseTheScaleBelowZero) {
    const std::vector<CurvePoint> points{{-5.0f, 0.0f}, {-1.0f, 0.0f}};
    EXPECT_EQ(CurveXScale(points, CurvePlotRect(kBounds)), 0.0f);
    EXPECT_EQ(CurveXScale({}, CurvePlotRect(kBounds)), 0.0f);
}

TEST(CurveGeometry, AZeroScalePutsEveryPointOnThePlotsLeftEdge) {
    const CRect plot = CurvePlotRect(kBounds);
    const std::vector<CurvePoint> points{{0.0f, 0.25f}, {0.0f, 0.75f}};
    const CurveScale scale{CurveXScale(points, plot), CurveYScale(plot)};
    ASSERT_EQ(scale.x, 0.0f);
    EXPECT_EQ(CurveDevicePoint(points[0], scale, plot), CPoint(20, 74 - 16));
    EXPECT_EQ(CurveDevicePoint(points[1], scale, plot), CPoint(20, 74 - 48));
    // A point with a non-zero x under a zero scale (set while dragging)
    // lies on the edge too.
    EXPECT_EQ(CurveDevicePoint({3.0f, 0.0f}, scale, plot), CPoint(20, 74));
}

TEST(CurveGeometry, APlotWithoutWidthOrHeightHasZeroScales) {
    const std::vector<CurvePoint> points{{1.0f, 1.0f}};
    for (const CRect bounds : {CRect(0, 0, 30, 30), CRect(0, 0, 20, 10), CRect(0, 0, 0, 0)}) {
        const CRect plot = CurvePlotRect(bounds);
        const CurveScale scale{CurveXScale(points, plot), CurveYScale(plot)};
        EXPECT_EQ(scale.x, 0.0f) << plot.Width();
        EXPECT_EQ(scale.y, 0.0f) << plot.Height();
        EXPECT_EQ(CurveDevicePoint(points[0], scale, plot), CPoint(plot.left, plot.bottom));
    }
}

TEST(CurveGeometry, ValuesFarOutsideThePlotStayDrawable) {
    const CRect plot = CurvePlotRect(kBounds);
    const CurveScale scale{0.01f, 1.0f / 64.0f};
    for (const float v : {FLT_MAX, -FLT_MAX, INFINITY, -INFINITY}) {
        const CPoint p = CurveDevicePoint({v, v}, scale, plot);
        EXPECT_LE(std::abs(p.x - plot.left), 1000000) << v;
        EXPECT_LE(std::abs(p.y - plot.bottom), 1000000) << v;
    }
    EXPECT_EQ(CurveDevicePoint({NAN, NAN}, scale, plot), CPoint(plot.left, plot.bottom));
    // The scale of a huge largest x is no number to divide by.
    const std::vector<CurvePoint> huge{{FLT_MAX, 0.0f}};
    EXPECT_EQ(CurveXScale(huge, plot), 0.0f);
}

TEST(CurveGeometry, TheHitTestTakesTheFirstPointInTheTenPixelSquare) {
    const CRect plot = CurvePlotRect(kBounds);
    const CurveScale scale{0.125f, 1.0f / 64.0f};
    // Device points (30, 42), (32, 42) and (60, 42).
    const std::vector<CurvePoint> points{{1.25f, 0.5f}, {1.5f, 0.5f}, {5.0f, 0.5f}};
    ASSERT_EQ(CurveDevicePoint(points[1], scale, plot), CPoint(32, 42));
    EXPECT_EQ(CurveHitTest(points, CPoint(31, 42), scale, plot), 0);
    EXPECT_EQ(CurveHitTest(points, CPoint(36, 46), scale, plot), 1);
    // The square (click - 5 .. click + 5) holds its left and top edges,
    // not its right and bottom ones.
    EXPECT_EQ(CurveHitTest(points, CPoint(65, 47), scale, plot), 2);
    EXPECT_EQ(CurveHitTest(points, CPoint(55, 42), scale, plot), -1);
    EXPECT_EQ(CurveHitTest(points, CPoint(60, 37), scale, plot), -1);
    EXPECT_EQ(CurveHitTest({}, CPoint(30, 42), scale, plot), -1);
}
