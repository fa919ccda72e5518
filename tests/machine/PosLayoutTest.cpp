// The jog pad's layouts without a window: the analysis of each of the five
// pictures the generator draws gives the buttons and lamps to the pixel,
// the analysis of odd pictures stays inside them, and the tables of codes,
// keys and the hit test.
#include "machine/PosLayout.h"
#include "platform/gdi/BmpReader.h"
#include "platform/user/VirtualKeys.h"
#include "resources/generators/PosLayouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A picture as the pad holds it: the bottom row first.
struct BottomUp {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    PosPixels View() { return PosPixels{pixels.data(), width, height}; }
};

BottomUp LayoutPicture(int layout) {
    const std::string bytes = kw::bitmaps::MakePosLayout(layout).EncodeBmp();
    auto image =
        ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(image.has_value());
    BottomUp out;
    if (!image)
        return out;
    out.width = image->width;
    out.height = image->height;
    for (int y = out.height - 1; y >= 0; --y)
        for (int x = 0; x < out.width; ++x)
            out.pixels.push_back(image->pixels[std::size_t(y) * std::size_t(out.width) + x]);
    return out;
}

// From a picture written top row first: '.' background, '#' black, 'o'
// white, 'r' red, 'y' yellow.
BottomUp FromRows(const std::vector<std::string>& rows) {
    BottomUp out;
    out.height = int(rows.size());
    out.width = int(rows[0].size());
    for (int y = out.height - 1; y >= 0; --y)
        for (char c : rows[std::size_t(y)])
            out.pixels.push_back(c == '#'   ? kPosBlack
                                 : c == 'o' ? kPosWhite
                                 : c == 'r' ? kPosRed
                                 : c == 'y' ? kPosYellow
                                            : 0xC0C0C0);
    return out;
}

std::string Text(const CRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

} // namespace

// [SECTION] The five layout pictures

TEST(PosLayout, EachPictureYieldsItsButtonAndLampRectangles) {
    const std::vector<std::vector<std::string>> expected = {
        {"26,4,38,17", "65,4,77,17", "11,12,21,22", "43,12,53,22", "3,27,16,39", "48,27,61,39",
         "11,44,21,54", "43,44,53,54", "26,49,38,62", "65,49,77,62", "23,29,31,39", "33,29,41,39",
         "67,29,75,39"},
        {"8,9,17,18", "28,9,37,18"},
        {"26,4,38,17", "11,12,21,22", "43,12,53,22", "3,27,16,39", "48,27,61,39", "11,44,21,54",
         "43,44,53,54", "26,49,38,62", "23,29,31,39", "33,29,41,39"},
        {"26,4,38,17", "11,12,21,22", "43,12,53,22", "3,27,16,39", "48,27,61,39", "11,44,21,54",
         "43,44,53,54", "26,49,38,62", "23,29,31,39", "33,29,41,39"},
        {"17,1,47,13", "17,17,47,29", "1,39,14,51", "17,39,30,51", "34,39,47,51", "50,39,63,51",
         "5,25,13,35", "51,25,59,35"},
    };
    const int sizes[5][2] = {{83, 66}, {46, 46}, {65, 66}, {65, 66}, {65, 54}};
    for (int layout = 0; layout < kPosLayoutCount; ++layout) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        const PosLayoutInfo& info = PosLayoutInfoOf(layout);
        EXPECT_EQ(info.bitmapId, kw::bitmaps::kPosLayoutIds[layout]);
        BottomUp picture = LayoutPicture(layout);
        ASSERT_EQ(picture.width, sizes[layout][0]);
        ASSERT_EQ(picture.height, sizes[layout][1]);
        EXPECT_EQ(picture.View().At(0, 0), 0xC0C0C0u) << "the grey background key";
        const PosAnalysis found = AnalysePosLayout(picture.View(), info.buttons, info.rects);
        EXPECT_EQ(found.buttonsFound, info.buttons);
        EXPECT_EQ(found.lampsFound, info.rects - info.buttons);
        ASSERT_EQ(expected[std::size_t(layout)].size(), std::size_t(info.rects));
        for (int i = 0; i < kPosMaxRects; ++i) {
            if (i < info.rects)
                EXPECT_EQ(Text(found.rects[std::size_t(i)]),
                          expected[std::size_t(layout)][std::size_t(i)])
                    << "rectangle " << i;
            else
                EXPECT_TRUE(found.rects[std::size_t(i)].IsRectEmpty()) << "rectangle " << i;
        }
        // After the analysis no seed and no marker is left: buttons are
        // black, lamp centres yellow.
        for (std::uint32_t p : picture.pixels) {
            EXPECT_NE(p & 0xFFFFFF, kPosWhite);
            EXPECT_NE(p & 0xFFFFFF, kPosRed);
        }
    }
}

TEST(PosLayout, PicturesUseNoColourThatRecolouringWouldTouchOutsideButtonsAndLamps) {
    // Enabling turns every grey pixel black and disabling every black one
    // grey: artwork outside the buttons must hold neither.
    for (int layout = 0; layout < kPosLayoutCount; ++layout) {
        const PosLayoutInfo& info = PosLayoutInfoOf(layout);
        BottomUp picture = LayoutPicture(layout);
        const PosAnalysis found = AnalysePosLayout(picture.View(), info.buttons, info.rects);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const std::uint32_t p = picture.View().At(x, y);
                if (p != kPosBlack && p != kPosGrey)
                    continue;
                bool inside = false;
                for (int i = 0; i < info.buttons; ++i) {
                    const CRect& r = found.rects[std::size_t(i)];
                    inside = inside || (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom);
                }
                EXPECT_TRUE(inside) << "layout " << layout << " pixel " << x << "," << y;
            }
    }
}

TEST(PosLayout, TheGeneratorDrawsTheSameBytesEveryRun) {
    for (int layout = 0; layout < kPosLayoutCount; ++layout)
        EXPECT_EQ(kw::bitmaps::MakePosLayout(layout).EncodeBmp(),
                  kw::bitmaps::MakePosLayout(layout).EncodeBmp());
}

// [SECTION] The analysis on odd pictures

TEST(PosLayout, TheFillStaysInsideThePictureAtEveryEdge) {
    // A region that runs along all four edges and wraps the corners.
    BottomUp picture = FromRows({
        "#######",
        "#.....#",
        "#.###.#",
        "#.#o#.#",
        "#.....#",
        "######.",
    });
    picture.pixels[0] = 0xC0C0C0; // the key: bottom-left
    // The outer ring is one region; the inner one holds the seed.
    const PosAnalysis inner = AnalysePosLayout(picture.View(), 1, 1);
    EXPECT_EQ(Text(inner.rects[0]), "2,2,4,3");
    BottomUp ring = FromRows({
        "o######",
        "#.....#",
        "#.....#",
        ".######",
    });
    const PosAnalysis outer = AnalysePosLayout(ring.View(), 1, 1);
    EXPECT_EQ(Text(outer.rects[0]), "0,0,6,3");
}

TEST(PosLayout, AFullyBlackPictureIsOneButtonWithoutExhaustingTheStack) {
    BottomUp picture;
    picture.width = 1500;
    picture.height = 1000;
    picture.pixels.assign(std::size_t(picture.width) * std::size_t(picture.height), kPosBlack);
    picture.pixels[0] = 0xC0C0C0;
    picture.pixels[1] = kPosWhite;
    const PosAnalysis found = AnalysePosLayout(picture.View(), 2, 2);
    EXPECT_EQ(found.buttonsFound, 1);
    EXPECT_EQ(Text(found.rects[0]), "0,0,1499,999");
}

TEST(PosLayout, SeedsAndMarkersBeyondTheCountsOnlyChangeColour) {
    BottomUp picture = FromRows({
        "..o..r..",
        "........",
        ".#o.#o.r",
        "........",
    });
    const PosAnalysis found = AnalysePosLayout(picture.View(), 2, 3);
    EXPECT_EQ(found.buttonsFound, 2);
    EXPECT_EQ(found.lampsFound, 1);
    EXPECT_EQ(Text(found.rects[0]), "1,1,2,1");
    EXPECT_EQ(Text(found.rects[1]), "4,1,5,1");
    EXPECT_EQ(Text(found.rects[2]), "3,-4,11,6") << "the first marker, bottom row first";
    EXPECT_EQ(picture.View().At(2, 3), kPosBlack) << "a third seed just turns black";
    EXPECT_EQ(picture.View().At(5, 3), kPosYellow) << "a second marker just turns yellow";
}

TEST(PosLayout, PaintingKeepsTheBackgroundAndClipsToThePicture) {
    BottomUp picture = FromRows({
        "#y#",
        "...",
    });
    PaintPosRect(picture.View(), CRect(-5, -5, 10, 10), 0xC0C0C0, kPosGreen);
    EXPECT_EQ(picture.View().At(0, 1), kPosGreen);
    EXPECT_EQ(picture.View().At(1, 1), kPosGreen);
    EXPECT_EQ(picture.View().At(1, 0), 0xC0C0C0u);
    RecolourPos(picture.View(), kPosGreen, kPosGrey);
    EXPECT_EQ(picture.View().At(2, 1), kPosGrey);
}

TEST(PosLayout, AnEmptyPictureFindsNothing) {
    const PosAnalysis found = AnalysePosLayout(PosPixels{}, 10, 13);
    EXPECT_EQ(found.buttonsFound, 0);
    EXPECT_EQ(found.lampsFound, 0);
}

// [SECTION] Codes, keys, modes and the hit test

TEST(PosLayout, ModesAboveFourAndNegativeOnesGiveLayoutZeroOrTheirLowBits) {
    EXPECT_EQ(PosLayoutOf(7), 0);
    EXPECT_EQ(PosLayoutOf(5), 0);
    EXPECT_EQ(PosLayoutOf(12), 4); // 12 & 7
    EXPECT_EQ(PosLayoutOf(-1), 0);
    EXPECT_EQ(PosLayoutOf(2), 2);
}

TEST(PosLayout, DirectionCodesByLayoutAndLamps) {
    EXPECT_EQ(PosButtonCode(0, 9, true, true), 0x04);
    EXPECT_EQ(PosButtonCode(0, 4, true, true), 0x11);
    EXPECT_EQ(PosButtonCode(0, 10, true, true), 0) << "a lamp has no code";
    EXPECT_EQ(PosButtonCode(1, 1, true, true), 0x88);
    EXPECT_EQ(PosButtonCode(2, 7, true, false), 0x02);
    EXPECT_EQ(PosButtonCode(2, 7, false, true), 0x08);
    EXPECT_EQ(PosButtonCode(2, 1, true, true), 0x33 | 0xCC);
    EXPECT_EQ(PosButtonCode(3, 7, false, true), 0x02) << "XY ignores the lamps";
    EXPECT_EQ(PosButtonCode(4, 0, true, true), 0xFF);
    EXPECT_EQ(PosButtonCode(4, 6, true, true), 0);
}

TEST(PosLayout, KeysMapToButtonsPerLayout) {
    struct Row {
        unsigned vk;
        int buttons[5];
    };
    const Row rows[] = {
        {VK_LEFT, {4, 1, 3, 3, 0}},    {VK_RIGHT, {5, 0, 4, 4, 1}},  {VK_UP, {8, -1, 7, 7, -1}},
        {VK_DOWN, {0, -1, 0, 0, -1}},  {VK_END, {2, -1, 1, 1, -1}},  {VK_HOME, {6, -1, 5, 5, -1}},
        {VK_PRIOR, {7, -1, 6, 6, -1}}, {VK_NEXT, {3, -1, 2, 2, -1}}, {'X', {-1, -1, -1, -1, -1}}};
    for (const Row& row : rows)
        for (int layout = 0; layout < 5; ++layout)
            EXPECT_EQ(PosKeyButton(layout, row.vk), row.buttons[layout])
                << "key " << row.vk << " layout " << layout;
}

TEST(PosLayout, TheHitTestCentresThePictureAndCountsRowsFromTheBottom) {
    // An 83 x 66 picture centred in a 100 x 80 client area sits at
    // 50 - 41 = 9, 40 - 33 = 7.
    PosRects rects{};
    rects[0] = CRect(26, 4, 38, 17);
    rects[1] = CRect(10, 10, 20, 20);
    const CRect client(0, 0, 100, 80);
    // Bitmap row by = 66 - (y - 7): y = 7 + 66 - 4 = 69 is row 4.
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(9 + 26, 69), rects), 0);
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(9 + 37, 69), rects), 0);
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(9 + 38, 69), rects), -1) << "right edge excluded";
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(9 + 25, 69), rects), -1);
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(9 + 15, 7 + 66 - 15), rects), 1);
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(0, 0), rects), -1);
    EXPECT_EQ(PosHitTest(client, 83, 66, CPoint(9 + 15, 7 + 66 - 15), std::span(rects.data(), 1)),
              -1)
        << "only the layout's rectangles count";
}
