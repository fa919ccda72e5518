// Where the picture button puts picture and text, for every alignment code,
// without a window. The item is 100 x 60 at (10, 20); the picture 16 x 16;
// the measured text 30 x 13 wherever it was wrapped.
#include "buttons/BmpButton1Layout.h"

#include <gtest/gtest.h>

namespace {

const CRect kItem(10, 20, 110, 80); // L 10, T 20, R 110, B 80: centre (60, 50)
constexpr int kTextW = 30;
constexpr int kTextH = 13;

BmpButtonLayoutInput Input(int align, int spacing = 4, bool picture = true, bool text = true) {
    BmpButtonLayoutInput in;
    in.item = kItem;
    in.picture = CSize(16, 16);
    in.hasPicture = picture;
    in.hasText = text;
    in.spacing = spacing;
    in.align = align;
    return in;
}

// What DT_CALCRECT leaves: the wrap rectangle's corner, the text's size.
CRect Measured(const CRect& wrap) {
    return CRect(wrap.left, wrap.top, wrap.left + kTextW, wrap.top + kTextH);
}

BmpButtonLayout Place(const BmpButtonLayoutInput& in) {
    return PlaceBmpButton(in, Measured(TextWrapRect(in, CSize(kTextW, kTextH))));
}

void ExpectRect(const CRect& got, int l, int t, int r, int b, const char* what) {
    EXPECT_EQ(got.left, l) << what;
    EXPECT_EQ(got.top, t) << what;
    EXPECT_EQ(got.right, r) << what;
    EXPECT_EQ(got.bottom, b) << what;
}

} // namespace

TEST(BmpButton1Layout, WithoutAPictureTheTextIsCentredOnePixelRight) {
    const BmpButtonLayout out = Place(Input(0, 4, false));
    // left = 60 - 15 + 1, top = 50 - 6
    ExpectRect(out.text, 46, 44, 76, 57, "text");
    EXPECT_TRUE(out.picture.IsRectEmpty());
    // The wrap rectangle is the whole item then, whatever the code.
    for (int align = 0; align < 16; ++align) {
        const CRect wrap = TextWrapRect(Input(align, 4, false), CSize(kTextW, kTextH));
        ExpectRect(wrap, 10, 20, 110, 80, "wrap without picture");
    }
}

TEST(BmpButton1Layout, EachAlignmentCodeNarrowsTheWrapRectangle) {
    const CSize extent(kTextW, kTextH);
    ExpectRect(TextWrapRect(Input(0), extent), 10 + 16 + 4 + 7, 20, 110, 80, "0 left");
    ExpectRect(TextWrapRect(Input(1), extent), 10, 50 + 8 + 4 + 2, 110, 80, "1 centre");
    ExpectRect(TextWrapRect(Input(2), extent), 15, 20, 110 - 4 - 16 - 7, 80, "2 right");
    ExpectRect(TextWrapRect(Input(3), extent), 10, 20 + 16 + 4 + 7, 110, 75, "3 top");
    ExpectRect(TextWrapRect(Input(4), extent), 10, 25, 110, 80 - 4 - 16 - 7, "4 bottom");
    ExpectRect(TextWrapRect(Input(5), extent), 37, 20, 110, 80, "5 group");
    // 6: x0 = 37, left = 37 + (110 - 30 - 37) / 2 = 58, one pixel wider.
    ExpectRect(TextWrapRect(Input(6), extent), 58, 20, 58 + 31, 80, "6 text centre");
}

TEST(BmpButton1Layout, EachAlignmentCodePlacesPictureAndText) {
    struct Case {
        int align;
        CRect picture;
        CRect text;
    };
    const Case cases[] = {
        // 0: picture at L + 5, text at the measured sides; both centred vertically.
        {0, CRect(15, 42, 31, 58), CRect(37, 44, 67, 57)},
        // 1: picture centred; text centred below at the measured top.
        {1, CRect(52, 42, 68, 58), CRect(45, 64, 75, 77)},
        // 2: picture ends at R - 5; text from L + 5.
        {2, CRect(89, 42, 105, 58), CRect(15, 44, 45, 57)},
        // 3: picture at T + 5; text below at T + ph + Sp + 7.
        {3, CRect(52, 25, 68, 41), CRect(45, 47, 75, 60)},
        // 4: picture ends at B - 5; text at T + 5.
        {4, CRect(52, 59, 68, 75), CRect(45, 25, 75, 38)},
        // 5: group of 16 + 4 + 30 centred: left = 60 - 25.
        {5, CRect(35, 42, 51, 58), CRect(55, 44, 85, 57)},
        // 6: picture as 0, text at the centred wrap rectangle.
        {6, CRect(15, 42, 31, 58), CRect(58, 44, 88, 57)},
    };
    for (const Case& c : cases) {
        const BmpButtonLayout out = Place(Input(c.align));
        SCOPED_TRACE(c.align);
        ExpectRect(out.picture, c.picture.left, c.picture.top, c.picture.right, c.picture.bottom,
                   "picture");
        ExpectRect(out.text, c.text.left, c.text.top, c.text.right, c.text.bottom, "text");
    }
}

TEST(BmpButton1Layout, CodesSevenToFifteenBehaveAsLeft) {
    const BmpButtonLayout left = Place(Input(0));
    for (int align = 7; align < 16; ++align) {
        const BmpButtonLayout out = Place(Input(align));
        EXPECT_EQ(CRect(out.picture), CRect(left.picture)) << align;
        EXPECT_EQ(CRect(out.text), CRect(left.text)) << align;
    }
}

TEST(BmpButton1Layout, APictureWithoutTextSitsAtTheSpacingFromTheLeft) {
    const BmpButtonLayout out = PlaceBmpButton(Input(0, 9, true, false), CRect());
    ExpectRect(out.picture, 19, 42, 35, 58, "picture at L + Sp");
    EXPECT_TRUE(out.text.IsRectEmpty());
    const BmpButtonLayout top = PlaceBmpButton(Input(3, 9, true, false), CRect());
    ExpectRect(top.picture, 52, 25, 68, 41, "code 3 ignores the missing text");
}

TEST(BmpButton1Layout, DivisionsRoundTowardZeroForOddSizes) {
    BmpButtonLayoutInput in = Input(1);
    in.item = CRect(0, 0, 27, 27);
    in.picture = CSize(15, 15);
    const CRect wrap = TextWrapRect(in, CSize(11, 7));
    EXPECT_EQ(wrap.top, 13 + 7 + 4 + 2);
    const BmpButtonLayout out =
        PlaceBmpButton(in, CRect(wrap.left, wrap.top, wrap.left + 11, wrap.top + 7));
    ExpectRect(out.picture, 6, 6, 21, 21, "picture: 13 - 7");
    ExpectRect(out.text, 8, 26, 19, 33, "text: 13 - 5");
}
