// Region arithmetic is exact: checked pixel by pixel against the plain
// definition of each operation over a small grid.
#include "platform/gdi/Region.h"
#include "platform/gdi/GdiObjects.h"

#include <gtest/gtest.h>

namespace {

bool InRect(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

TEST(Region, CombinationsMatchTheirDefinitionAtEveryPixel) {
    const RECT a{2, 2, 12, 9};
    const RECT b{6, 5, 16, 14};
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
        HRGN ra = CreateRectRgnIndirect(&a);
        HRGN rb = CreateRectRgnIndirect(&b);
        HRGN out = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(CombineRgn(out, ra, rb, mode), ERROR);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                bool inA = InRect(a, x, y), inB = InRect(b, x, y);
                bool expected = mode == RGN_AND   ? inA && inB
                                : mode == RGN_OR  ? inA || inB
                                : mode == RGN_XOR ? inA != inB
                                                  : inA && !inB;
                EXPECT_EQ(PtInRegion(out, x, y) != 0, expected)
                    << "mode " << mode << " at " << x << "," << y;
            }
        // The pieces never overlap.
        auto rects = GetRegionRects(out);
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                RECT common;
                EXPECT_FALSE(IntersectRect(&common, &rects[i], &rects[j]));
            }
        DeleteObject(ra);
        DeleteObject(rb);
        DeleteObject(out);
    }
}

TEST(Region, BoxesComplexityAndOffsets) {
    HRGN r = CreateRectRgn(10, 10, 0, 0); // corners in any order
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
    HRGN other = CreateRectRgn(20, 0, 30, 5);
    EXPECT_EQ(CombineRgn(r, r, other, RGN_OR), COMPLEXREGION); // a region may be its own source
    EXPECT_EQ(GetRgnBox(r, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 30, 10}));
    EXPECT_EQ(OffsetRgn(r, 5, -5), COMPLEXREGION);
    // Now {5,-5,15,5} and {25,-5,35,0}.
    EXPECT_TRUE(PtInRegion(r, 25, -1));
    EXPECT_FALSE(PtInRegion(r, 20, -1)); // the gap between the two pieces
    EXPECT_FALSE(PtInRegion(r, 25, 0));  // bottom edges are exclusive
    RECT gap{16, -5, 24, -4}, overlapping{20, -5, 26, -4};
    EXPECT_FALSE(RectInRegion(r, &gap));
    EXPECT_TRUE(RectInRegion(r, &overlapping));
    EXPECT_EQ(CombineRgn(r, r, r, RGN_DIFF), NULLREGION);
    EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
    EXPECT_EQ(box, RECT{});
    DeleteObject(r);
    DeleteObject(other);
    // A deleted or foreign handle fails cleanly.
    EXPECT_EQ(GetRgnBox(r, &box), ERROR);
    EXPECT_EQ(CombineRgn(r, r, r, RGN_OR), ERROR);
    EXPECT_FALSE(PtInRegion(reinterpret_cast<HRGN>(GetStockObject(WHITE_BRUSH)), 0, 0));
}
