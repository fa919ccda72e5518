// Edges, frame controls, focus rectangles and DrawState.
#include "platform/gdi/Theme.h"
#include "platform/gdi/SysColors.h"
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kFace = RGB(192, 192, 192);
const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kHighlight = RGB(255, 255, 255);
const COLORREF kDark = RGB(0, 0, 0);

void Pattern(Canvas& c) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            c.Set(x, y, RGB(x * 7, y * 11, (x * y) & 0xFF));
}

} // namespace

TEST(Theme, ClassicSchemeColours) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), kFace);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), kShadow);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), kHighlight);
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), kDark);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), kShadow);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
    EXPECT_EQ(GetSysColor(999), 0u);
    HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(brush, nullptr);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH) << "system brushes survive DeleteObject";
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
}

TEST(Theme, FocusRectDrawnTwiceRestoresEveryPixel) {
    const RECT rects[] = {
        {2, 3, 17, 12}, {0, 0, 20, 16}, {5, 5, 6, 9}, {4, 4, 4, 8}, {-3, -3, 8, 8}};
    for (const RECT& rc : rects) {
        Canvas c(20, 16), before(20, 16);
        Pattern(c);
        Pattern(before);
        ASSERT_TRUE(DrawFocusRect(c.Dc(), &rc));
        // Once: every other pixel of the frame inverted, nothing else.
        int changed = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                if (c.At(x, y) != before.At(x, y)) {
                    ++changed;
                    EXPECT_EQ(c.At(x, y), before.At(x, y) ^ 0xFFFFFF);
                    const bool onFrame =
                        x == rc.left || x == rc.right - 1 || y == rc.top || y == rc.bottom - 1;
                    EXPECT_TRUE(onFrame) << "(" << x << "," << y << ") of " << RectText(rc);
                    EXPECT_EQ((x + y) % 2, 0);
                }
        if (!IsRectEmpty(&rc)) {
            EXPECT_GT(changed, 0) << RectText(rc);
        }
        DrawFocusRect(c.Dc(), &rc);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(c.At(x, y), before.At(x, y))
                    << "(" << x << "," << y << ") after two focus rects " << RectText(rc);
    }
}

TEST(Theme, RaisedAndSunkenEdges) {
    Canvas c(10, 8, RGB(1, 2, 3));
    RECT rc{0, 0, 10, 8};
    ASSERT_TRUE(DrawEdge(c.Dc(), &rc, EDGE_RAISED, BF_RECT));
    struct Expect {
        int x, y;
        COLORREF color;
        const char* what;
    };
    const Expect raised[] = {
        {0, 0, kFace, "outer top-left: 3D light"},
        {4, 0, kFace, "outer top"},
        {9, 0, kDark, "top-right corner belongs to the dark right line"},
        {0, 7, kDark, "bottom-left corner belongs to the dark bottom line"},
        {9, 7, kDark, "outer bottom-right"},
        {1, 1, kHighlight, "inner top-left: highlight"},
        {8, 1, kShadow, "inner right: shadow"},
        {1, 6, kShadow, "inner bottom: shadow"},
        {4, 4, RGB(1, 2, 3), "middle untouched without BF_MIDDLE"},
    };
    for (const Expect& e : raised)
        EXPECT_EQ(c.At(e.x, e.y), e.color) << e.what << ": got " << Hex(c.At(e.x, e.y));

    rc = RECT{0, 0, 10, 8};
    DrawEdge(c.Dc(), &rc, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST);
    EXPECT_EQ(c.At(0, 0), kShadow);
    EXPECT_EQ(c.At(9, 7), kHighlight);
    EXPECT_EQ(c.At(1, 1), kDark);
    EXPECT_EQ(c.At(8, 6), kFace) << "inner bottom-right: 3D light";
    EXPECT_EQ(c.At(4, 4), kFace) << "BF_MIDDLE fills with the button face";
    EXPECT_EQ(rc, (RECT{2, 2, 8, 6})) << "BF_ADJUST takes off both borders";

    // Only the sides asked for.
    Canvas one(6, 6, RGB(1, 2, 3));
    rc = RECT{0, 0, 6, 6};
    DrawEdge(one.Dc(), &rc, EDGE_ETCHED, BF_LEFT | BF_ADJUST);
    EXPECT_EQ(one.Bounds(RGB(1, 2, 3)), (RECT{0, 0, 2, 5}));
    EXPECT_EQ(rc, (RECT{2, 0, 6, 6}));
}

TEST(Theme, PushButtonsAndTheirStates) {
    Canvas c(20, 12, RGB(1, 2, 3));
    RECT rc{0, 0, 20, 12};
    ASSERT_TRUE(DrawFrameControl(c.Dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(c.At(0, 0), kHighlight) << "raised: light top-left";
    EXPECT_EQ(c.At(19, 11), kDark) << "raised: dark bottom-right";
    EXPECT_EQ(c.At(10, 6), kFace) << "face inside";
    DrawFrameControl(c.Dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_NE(c.At(0, 0), kHighlight) << "pushed: sunken, dark top-left";
    EXPECT_EQ(c.At(19, 11), kHighlight);
    DrawFrameControl(c.Dc(), &rc, DFC_BUTTON, 0xC010); // Push | flat | mono.
    EXPECT_EQ(c.At(0, 0), c.At(19, 11)) << "mono: one colour all round";
    EXPECT_EQ(c.At(10, 6), RGB(255, 255, 255)) << "mono buttons are window-coloured inside";
    EXPECT_FALSE(DrawFrameControl(c.Dc(), &rc, 99, 0));
    EXPECT_FALSE(DrawFrameControl(nullptr, &rc, DFC_BUTTON, DFCS_BUTTONPUSH));
}

TEST(Theme, CheckBoxesAndRadioButtonsShowTheirCheck) {
    for (UINT kind : {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO}) {
        Canvas off(13, 13, RGB(1, 2, 3)), on(13, 13, RGB(1, 2, 3));
        RECT rc{0, 0, 13, 13};
        DrawFrameControl(off.Dc(), &rc, DFC_BUTTON, kind);
        DrawFrameControl(on.Dc(), &rc, DFC_BUTTON, kind | DFCS_CHECKED);
        EXPECT_EQ(off.At(6, 6), RGB(255, 255, 255)) << "kind " << kind;
        EXPECT_EQ(on.At(6, 6), RGB(0, 0, 0)) << "kind " << kind << " checked";
        Canvas grey(13, 13);
        DrawFrameControl(grey.Dc(), &rc, DFC_BUTTON, kind | DFCS_CHECKED | DFCS_INACTIVE);
        EXPECT_EQ(grey.At(6, 6), kShadow) << "inactive check is grey";
    }
}

TEST(Theme, ScrollArrowsPointTheirWay) {
    struct Case {
        UINT state;
        bool vertical;
        bool tipFirst; // The narrow end comes first (top or left).
    };
    for (Case k : {Case{DFCS_SCROLLUP, true, true}, Case{DFCS_SCROLLDOWN, true, false},
                   Case{DFCS_SCROLLLEFT, false, true}, Case{DFCS_SCROLLRIGHT, false, false}}) {
        Canvas c(16, 16);
        RECT rc{0, 0, 16, 16};
        ASSERT_TRUE(DrawFrameControl(c.Dc(), &rc, DFC_SCROLL, k.state));
        // Count black pixels per row (or column) inside the button.
        std::vector<int> counts;
        for (int i = 2; i < 14; ++i) {
            int n = 0;
            for (int j = 2; j < 14; ++j)
                n += (k.vertical ? c.At(j, i) : c.At(i, j)) == RGB(0, 0, 0);
            if (n)
                counts.push_back(n);
        }
        ASSERT_GE(counts.size(), 2u) << "state " << k.state;
        EXPECT_EQ(counts.front() < counts.back(), k.tipFirst) << "state " << k.state;
        EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()) ||
                    std::is_sorted(counts.rbegin(), counts.rend()));
        // Inactive arrows are grey with a white shadow, no black.
        Canvas grey(16, 16);
        DrawFrameControl(grey.Dc(), &rc, DFC_SCROLL, k.state | DFCS_INACTIVE);
        int black = 0;
        for (int y = 2; y < 14; ++y)
            for (int x = 2; x < 14; ++x)
                black += grey.At(x, y) == RGB(0, 0, 0);
        EXPECT_EQ(black, 0);
    }
}

TEST(Theme, SmallSpinButtonsStillShowATriangle) {
    // A spin column's 14 x 9 button: a two-row arrow, 1 and 3 pixels wide.
    Canvas c(14, 9);
    RECT rc{0, 0, 14, 9};
    ASSERT_TRUE(DrawFrameControl(c.Dc(), &rc, DFC_SCROLL, DFCS_SCROLLUP));
    std::vector<int> widths;
    for (int y = 0; y < 9; ++y) {
        int n = 0;
        for (int x = 0; x < 14; ++x)
            n += c.At(x, y) == RGB(0, 0, 0) && x > 1 && x < 12 && y > 1 && y < 7;
        if (n)
            widths.push_back(n);
    }
    EXPECT_EQ(widths, (std::vector<int>{1, 3}));
}

TEST(Theme, DrawStateCopiesOrEmbossesABitmap) {
    Canvas img(3, 1);
    img.Set(0, 0, RGB(0, 0, 0));
    img.Set(1, 0, RGB(255, 255, 255));
    img.Set(2, 0, RGB(10, 200, 10));
    Canvas c(6, 4, RGB(1, 2, 3));
    // The image's bitmap is selected in its canvas; DrawState still reads it.
    ASSERT_TRUE(DrawState(c.Dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(img.Bitmap()), 0, 1, 1,
                          0, 0, DST_BITMAP | DSS_NORMAL));
    EXPECT_EQ(c.At(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(c.At(2, 1), RGB(255, 255, 255));
    EXPECT_EQ(c.At(3, 1), RGB(10, 200, 10));
    EXPECT_EQ(c.At(4, 1), RGB(1, 2, 3));

    HBITMAP free = CreateBitmap(3, 1, 1, 32, nullptr);
    HDC tmp = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(tmp, free);
    BitBlt(tmp, 0, 0, 3, 1, img.Dc(), 0, 0, SRCCOPY);
    SelectObject(tmp, old);
    DeleteDC(tmp);
    c.Clear(RGB(1, 2, 3));
    DrawState(c.Dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(free), 0, 1, 1, 0, 0,
              DST_BITMAP | DSS_DISABLED);
    EXPECT_EQ(c.At(1, 1), kShadow) << "dark pixel in the shadow colour";
    EXPECT_EQ(c.At(2, 2), kHighlight) << "its highlight one pixel down and right";
    EXPECT_EQ(c.At(2, 1), RGB(1, 2, 3)) << "light pixels are left out";
    EXPECT_FALSE(DrawState(c.Dc(), nullptr, nullptr, 0, 0, 0, 0, 0, 0, DST_BITMAP));
    EXPECT_FALSE(DrawState(c.Dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(free), 0, 0, 0, 0, 0,
                           DST_TEXT));
    DeleteObject(free);
}
