// The point picker's geometry without a window: the point tables of the
// 80 x 80 control in both modes, small sizes, the hit test, the 3D region
// numbering and the offsets inside a region.
#include "views3d/SelectQubeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kw::views3d::ComputeQubeGeometry;
using kw::views3d::QubeGeometry;
using kw::views3d::QubeHitTest;
using kw::views3d::QubeOffsets;
using kw::views3d::QubeRegion;
using kw::views3d::QubeRegionNumber;

namespace {

struct Expected {
    int x, y;
    int cx, cy, cz;
};

void ExpectTable(const QubeGeometry& g, const Expected* expected, int count) {
    ASSERT_EQ(g.count, count);
    for (int i = 0; i < count; ++i) {
        const auto& p = g.table[std::size_t(i)];
        const Expected& e = expected[i];
        EXPECT_EQ(p.x, e.x) << "point " << i;
        EXPECT_EQ(p.y, e.y) << "point " << i;
        EXPECT_EQ(p.code[0], e.cx) << "x code of point " << i;
        EXPECT_EQ(p.code[1], e.cy) << "y code of point " << i;
        EXPECT_EQ(p.code[2], e.cz) << "z code of point " << i;
    }
}

} // namespace

TEST(SelectQubeGeometry, The3DTableOfThe80PixelControl) {
    // s = 74 * 0.625 = 46, h = 23; the front square 17..63 moved by 9 left
    // and down; the back square moved by d = 16 right and up.
    const QubeGeometry g = ComputeQubeGeometry(80, 80, false);
    EXPECT_EQ(g.front, CRect(8, 26, 54, 72));
    EXPECT_EQ(g.back, CRect(24, 10, 70, 56));
    const Expected table[] = {
        {8, 72, 0, 0, 0},  {8, 26, 0, 0, 2},  {54, 26, 2, 0, 2}, {54, 72, 2, 0, 0},
        {24, 10, 0, 2, 2}, {70, 10, 2, 2, 2}, {70, 56, 2, 2, 0}, {24, 56, 0, 2, 0},
        {31, 26, 1, 0, 2}, {54, 49, 2, 0, 1}, {31, 72, 1, 0, 0}, {8, 49, 0, 0, 1},
        {47, 10, 1, 2, 2}, {70, 33, 2, 2, 1}, {47, 56, 1, 2, 0}, {24, 33, 0, 2, 1},
        {16, 18, 0, 1, 2}, {62, 18, 2, 1, 2}, {16, 64, 0, 1, 0}, {62, 64, 2, 1, 0},
        {31, 49, 1, 0, 1}, {47, 33, 1, 2, 1}, {16, 41, 0, 1, 1}, {62, 41, 2, 1, 1},
        {39, 64, 1, 1, 0}, {39, 18, 1, 1, 2}, {39, 41, 1, 1, 1},
    };
    ExpectTable(g, table, 27);
}

TEST(SelectQubeGeometry, The2DTableOfThe80PixelControl) {
    // s = 74 * 0.8333333 = 61.67, truncated to 61; h = 30; no move.
    const QubeGeometry g = ComputeQubeGeometry(80, 80, true);
    EXPECT_EQ(g.front, CRect(10, 10, 70, 70));
    const Expected table[] = {
        {10, 70, 0, 0, 0}, {10, 10, 0, 2, 0}, {70, 10, 2, 2, 0},
        {70, 70, 2, 0, 0}, {40, 10, 1, 2, 0}, {70, 40, 2, 1, 0},
        {40, 70, 1, 0, 0}, {10, 40, 0, 1, 0}, {40, 40, 1, 1, 0},
    };
    ExpectTable(g, table, 9);
    EXPECT_EQ(g.Points().size(), 9u);
}

TEST(SelectQubeGeometry, TheSmallerSideDecidesAndTheCubeSitsAtTheTopLeft) {
    const QubeGeometry wide = ComputeQubeGeometry(200, 80, false);
    const QubeGeometry square = ComputeQubeGeometry(80, 80, false);
    EXPECT_EQ(wide.front, square.front);
    EXPECT_EQ(wide.back, square.back);
    // 2D: s0 * 0.8333333 in single precision; 6 * 0.8333333f is just below 5.
    EXPECT_EQ(ComputeQubeGeometry(12, 12, true).front, CRect(4, 4, 8, 8));
}

TEST(SelectQubeGeometry, AControlUnderSixPixelsCollapsesTheCubeToAPoint) {
    for (int size : {0, 1, 5, 6}) {
        for (bool mode2D : {false, true}) {
            const QubeGeometry g = ComputeQubeGeometry(size, size, mode2D);
            EXPECT_EQ(g.front.Width(), 0) << size;
            EXPECT_EQ(g.front.Height(), 0) << size;
            // Everything lies at the middle, the back square one pixel away.
            for (const auto& p : g.Points()) {
                EXPECT_LE(std::abs(p.x - size / 2), 1) << size << (mode2D ? " 2D" : " 3D");
                EXPECT_LE(std::abs(p.y - size / 2), 1) << size << (mode2D ? " 2D" : " 3D");
            }
        }
    }
}

TEST(SelectQubeGeometry, TheHitSquareExcludesItsRightAndBottomEdges) {
    const QubeGeometry g = ComputeQubeGeometry(80, 80, false);
    // Point 26, the centre, at (39, 41), lies apart from every other point.
    EXPECT_EQ(QubeHitTest(g, POINT{39, 41}), 26);
    EXPECT_EQ(QubeHitTest(g, POINT{35, 37}), 26);
    EXPECT_EQ(QubeHitTest(g, POINT{42, 44}), 26);
    EXPECT_EQ(QubeHitTest(g, POINT{43, 41}), -1);
    EXPECT_EQ(QubeHitTest(g, POINT{39, 45}), -1);
    EXPECT_EQ(QubeHitTest(g, POINT{34, 41}), -1);
    EXPECT_EQ(QubeHitTest(g, POINT{39, 36}), -1);
}

TEST(SelectQubeGeometry, BetweenTwoPointsFourPixelsApartTheLowerIndexWins) {
    // At 16 x 16 in 2D mode the bottom right corner (3) lies at (12, 12),
    // the bottom middle (6) at (8, 12) and the right middle (5) at (12, 8).
    const QubeGeometry g = ComputeQubeGeometry(16, 16, true);
    ASSERT_EQ(g.table[3].x, 12);
    ASSERT_EQ(g.table[6].x, 8);
    ASSERT_EQ(g.table[5].y, 8);
    EXPECT_EQ(QubeHitTest(g, POINT{10, 12}), 3);
    EXPECT_EQ(QubeHitTest(g, POINT{12, 10}), 3);
    EXPECT_EQ(QubeHitTest(g, POINT{7, 12}), 0) << "the corner (4, 12) before the middle";
    // The bottom middle's whole square lies under its lower neighbours.
    EXPECT_EQ(QubeHitTest(g, POINT{8, 12}), 3);
}

TEST(SelectQubeGeometry, TheHitTestAgreesWithASlowReferenceEverywhere) {
    for (int size : {12, 25, 80, 133}) {
        for (bool mode2D : {false, true}) {
            const QubeGeometry g = ComputeQubeGeometry(size, size, mode2D);
            for (int y = -5; y < size + 5; ++y)
                for (int x = -5; x < size + 5; ++x) {
                    int expected = -1;
                    for (int i = g.count - 1; i >= 0; --i) {
                        const auto& p = g.table[std::size_t(i)];
                        if (x >= p.x - 4 && x < p.x + 4 && y >= p.y - 4 && y < p.y + 4)
                            expected = i;
                    }
                    ASSERT_EQ(QubeHitTest(g, POINT{x, y}), expected)
                        << size << (mode2D ? " 2D " : " 3D ") << x << "," << y;
                }
        }
    }
}

TEST(SelectQubeGeometry, TheRegionNumbersFollowCornersEdgesFacesAndCentre) {
    const int numbers[] = {0, 4,  7,  3,  5, 6,  2,  1,  15, 19, 11, 16, 13, 18,
                           9, 17, 12, 14, 8, 10, 23, 21, 20, 22, 24, 25, 26};
    for (int i = 0; i < 27; ++i)
        EXPECT_EQ(QubeRegionNumber(i), numbers[i]) << "index " << i;
    // The numbering is a permutation, and it agrees with the codes: the
    // corners are the points with no code 1.
    const QubeGeometry g = ComputeQubeGeometry(80, 80, false);
    bool seen[27] = {};
    for (int i = 0; i < 27; ++i) {
        const int n = QubeRegionNumber(i);
        EXPECT_FALSE(seen[n]) << n;
        seen[n] = true;
        const auto& c = g.table[std::size_t(i)].code;
        const int middles = (c[0] == 1) + (c[1] == 1) + (c[2] == 1);
        const int kind = n < 8 ? 0 : n < 20 ? 1 : n < 26 ? 2 : 3;
        EXPECT_EQ(middles, kind) << "index " << i << " number " << n;
    }
    for (int outside : {-193, -1, 27, 63, 0x100})
        EXPECT_EQ(QubeRegionNumber(outside), outside);
}

TEST(SelectQubeGeometry, OffsetsMeasureFromTheLeftBottomLowerCorner) {
    QubeRegion region;
    region.r = {0, 100, 50, 0, 20, 0};
    const QubeGeometry g = ComputeQubeGeometry(80, 80, false);
    const auto centre = QubeOffsets(region, g.table[26].code);
    EXPECT_EQ(centre[0], 50.0f);
    EXPECT_EQ(centre[1], 25.0f);
    EXPECT_EQ(centre[2], 10.0f);
    const auto corner = QubeOffsets(region, g.table[3].code);
    EXPECT_EQ(corner[0], 100.0f);
    EXPECT_EQ(corner[1], 0.0f);
    EXPECT_EQ(corner[2], 0.0f);
    // A region given the other way round gives negative offsets.
    region.r = {100, 0, 0, 50, 0, 20};
    const auto reversed = QubeOffsets(region, g.table[5].code);
    EXPECT_EQ(reversed[0], -100.0f);
    EXPECT_EQ(reversed[1], -50.0f);
    EXPECT_EQ(reversed[2], -20.0f);
}

TEST(SelectQubeGeometry, AnAxisWithCodeZeroStaysZeroWhateverTheRegionHolds) {
    QubeRegion region;
    const float inf = std::numeric_limits<float>::infinity();
    region.r = {inf, inf, std::nanf(""), 1, 5, inf};
    const auto at = QubeOffsets(region, {0, 0, 0});
    EXPECT_EQ(at[0], 0.0f);
    EXPECT_EQ(at[1], 0.0f);
    EXPECT_EQ(at[2], 0.0f);
    // Codes outside 0..2 never index past the factors.
    const auto odd = QubeOffsets(region, {7, 3, 255});
    EXPECT_EQ(odd[0], 0.0f);
    EXPECT_EQ(odd[2], 0.0f);
}
