// Which pixels lines, rectangles, ellipses and frames touch.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

using PixelSet = std::set<std::pair<int, int>>;

PixelSet FrameOf(int l, int t, int r, int b) {
    PixelSet s;
    for (int x = l; x < r; ++x) {
        s.insert({x, t});
        s.insert({x, b - 1});
    }
    for (int y = t; y < b; ++y) {
        s.insert({l, y});
        s.insert({r - 1, y});
    }
    return s;
}

struct PenScope {
    PenScope(HDC dc, int style, int width, COLORREF color)
        : m_dc(dc), m_pen(CreatePen(style, width, color)), m_old(SelectObject(dc, m_pen)) {}
    ~PenScope() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_pen);
    }
    HDC m_dc;
    HPEN m_pen;
    HGDIOBJ m_old;
};

struct BrushScope {
    BrushScope(HDC dc, HBRUSH brush, bool own = true)
        : m_dc(dc), m_brush(brush), m_own(own), m_old(SelectObject(dc, brush)) {}
    ~BrushScope() {
        SelectObject(m_dc, m_old);
        if (m_own)
            DeleteObject(m_brush);
    }
    HDC m_dc;
    HBRUSH m_brush;
    bool m_own;
    HGDIOBJ m_old;
};

} // namespace

TEST(Lines, LineToLeavesOutItsLastPixelAndMovesThePosition) {
    Canvas c(12, 6);
    PenScope pen(c.Dc(), PS_SOLID, 1, kRed);
    MoveToEx(c.Dc(), 2, 1, nullptr);
    ASSERT_TRUE(LineTo(c.Dc(), 7, 1));
    PixelSet expected{{2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}};
    EXPECT_EQ(c.Touched(), expected) << c.Picture();
    POINT pos{};
    GetCurrentPositionEx(c.Dc(), &pos);
    EXPECT_EQ(pos, (POINT{7, 1}));
    // Going on from there draws the corner pixel once.
    LineTo(c.Dc(), 7, 4);
    expected.insert({{7, 1}, {7, 2}, {7, 3}});
    EXPECT_EQ(c.Touched(), expected) << c.Picture();
    // Right to left also leaves out the end.
    c.Clear(kWhite);
    MoveToEx(c.Dc(), 5, 0, nullptr);
    LineTo(c.Dc(), 1, 0);
    EXPECT_EQ(c.Touched(), (PixelSet{{5, 0}, {4, 0}, {3, 0}, {2, 0}})) << c.Picture();
}

// Any line: one pixel per step of the major axis, from the start up to but
// not including the end, each within half a pixel of the ideal line.
TEST(Lines, EveryDirectionStaysOnTheIdealLine) {
    const POINT ends[] = {{0, 0},    {15, 3},  {3, 15},  {-7, 9},
                          {-12, -5}, {4, -13}, {10, 10}, {-9, 0}};
    for (const POINT e : ends) {
        Canvas c(40, 40);
        PenScope pen(c.Dc(), PS_SOLID, 0, kBlue);
        const POINT a{20, 20}, b{20 + e.x, 20 + e.y};
        MoveToEx(c.Dc(), a.x, a.y, nullptr);
        LineTo(c.Dc(), b.x, b.y);
        const PixelSet got = c.Touched();
        const int steps = std::max(std::abs(e.x), std::abs(e.y));
        EXPECT_EQ(int(got.size()), steps) << "line to (" << b.x << "," << b.y << ")\n"
                                          << c.Picture();
        if (steps == 0)
            continue;
        EXPECT_TRUE(got.count({a.x, a.y})) << "the first pixel is drawn";
        EXPECT_FALSE(got.count({b.x, b.y})) << "the last pixel is not drawn";
        for (auto [x, y] : got) {
            // Distance along the minor axis from the ideal line.
            double off;
            if (std::abs(e.x) >= std::abs(e.y))
                off = std::abs((y - a.y) - double(e.y) * (x - a.x) / e.x);
            else
                off = std::abs((x - a.x) - double(e.x) * (y - a.y) / e.y);
            EXPECT_LE(off, 0.5) << "pixel (" << x << "," << y << ") strays from the line";
        }
    }
}

TEST(Lines, CosmeticDottedPenDrawsThreeOnThreeOff) {
    Canvas c(20, 3);
    PenScope pen(c.Dc(), PS_DOT, 0, kRed);
    SetBkMode(c.Dc(), TRANSPARENT);
    MoveToEx(c.Dc(), 0, 1, nullptr);
    LineTo(c.Dc(), 16, 1);
    std::string got;
    for (int x = 0; x < 18; ++x)
        got += c.At(x, 1) == kRed ? '#' : '.';
    EXPECT_EQ(got, "###...###...###...");

    // An opaque background fills the gaps with the background colour.
    c.Clear(kWhite);
    SetBkMode(c.Dc(), OPAQUE);
    SetBkColor(c.Dc(), kBlue);
    MoveToEx(c.Dc(), 0, 1, nullptr);
    LineTo(c.Dc(), 9, 1);
    got.clear();
    for (int x = 0; x < 10; ++x)
        got += c.At(x, 1) == kRed ? 'R' : c.At(x, 1) == kBlue ? 'B' : '.';
    EXPECT_EQ(got, "RRRBBBRRR.");
}

TEST(Lines, DottedPenWiderThanOnePixelDrawsSolid) {
    Canvas c(20, 6);
    PenScope pen(c.Dc(), PS_DOT, 2, kRed);
    SetBkMode(c.Dc(), TRANSPARENT);
    MoveToEx(c.Dc(), 2, 3, nullptr);
    LineTo(c.Dc(), 14, 3);
    for (int x = 2; x < 14; ++x)
        EXPECT_EQ(c.At(x, 3), kRed) << "x=" << x << "\n" << c.Picture();
    const RECT b = c.Bounds();
    EXPECT_EQ(b.bottom - b.top, 2) << "two pixels thick: " << RectText(b);
}

TEST(Lines, DottedPatternRunsOnAcrossPolylineCorners) {
    Canvas c(10, 10);
    PenScope pen(c.Dc(), PS_DOT, 1, kRed);
    SetBkMode(c.Dc(), TRANSPARENT);
    const POINT pts[] = {{0, 0}, {4, 0}, {4, 6}};
    ASSERT_TRUE(Polyline(c.Dc(), pts, 3));
    // (0..3,0) then (4,0..5): pattern positions 0..9 → on 0,1,2 and 6,7,8.
    const PixelSet expected{{0, 0}, {1, 0}, {2, 0}, {4, 2}, {4, 3}, {4, 4}};
    EXPECT_EQ(c.Touched(), expected) << c.Picture();
}

TEST(Lines, XorPenDrawnTwiceRestores) {
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            c.Set(x, y, RGB(x * 16, y * 16, 77));
    const Canvas* before = &c;
    std::vector<COLORREF> saved;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            saved.push_back(before->At(x, y));
    PenScope pen(c.Dc(), PS_SOLID, 1, RGB(0x12, 0x34, 0x56));
    SetROP2(c.Dc(), R2_XORPEN);
    for (int pass = 0; pass < 2; ++pass) {
        MoveToEx(c.Dc(), 1, 1, nullptr);
        LineTo(c.Dc(), 14, 9);
        LineTo(c.Dc(), 3, 14);
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(c.At(x, y), saved[std::size_t(y * 16 + x)]) << "at " << x << "," << y;
    // R2_NOT inverts whatever lies below the pen.
    SetROP2(c.Dc(), R2_NOT);
    MoveToEx(c.Dc(), 0, 0, nullptr);
    LineTo(c.Dc(), 2, 0);
    EXPECT_EQ(c.At(1, 0), saved[1] ^ 0xFFFFFF);
}

TEST(Rectangles, CosmeticOutlineLiesInsideTheRightAndBottomEdges) {
    Canvas c(12, 12);
    PenScope pen(c.Dc(), PS_SOLID, 1, kRed);
    BrushScope brush(c.Dc(), CreateSolidBrush(kBlue));
    ASSERT_TRUE(Rectangle(c.Dc(), 2, 3, 9, 8));
    EXPECT_EQ(c.Touched(), [] {
        PixelSet s;
        for (int y = 3; y < 8; ++y)
            for (int x = 2; x < 9; ++x)
                s.insert({x, y});
        return s;
    }()) << c.Picture();
    for (auto p : FrameOf(2, 3, 9, 8))
        EXPECT_EQ(c.At(p.first, p.second), kRed) << p.first << "," << p.second;
    EXPECT_EQ(c.At(3, 4), kBlue);
    EXPECT_EQ(c.At(7, 6), kBlue);
}

TEST(Rectangles, NullBrushLeavesTheInsideAndNullPenFillsOneLess) {
    Canvas c(12, 12);
    {
        PenScope pen(c.Dc(), PS_SOLID, 1, kRed);
        BrushScope brush(c.Dc(), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), false);
        Rectangle(c.Dc(), 1, 1, 6, 6);
        EXPECT_EQ(c.Touched(), FrameOf(1, 1, 6, 6)) << c.Picture();
    }
    c.Clear(kWhite);
    {
        PenScope pen(c.Dc(), PS_NULL, 1, kRed);
        BrushScope brush(c.Dc(), CreateSolidBrush(kBlue));
        Rectangle(c.Dc(), 1, 1, 6, 6);
        EXPECT_EQ(c.Bounds(), (RECT{1, 1, 5, 5})) << c.Picture();
    }
}

TEST(Rectangles, DottedOutlineRunsOnceRound) {
    Canvas c(12, 12);
    PenScope pen(c.Dc(), PS_DOT, 0, kRed);
    BrushScope brush(c.Dc(), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), false);
    SetBkMode(c.Dc(), TRANSPARENT);
    Rectangle(c.Dc(), 0, 0, 7, 7);
    // 24 frame pixels clockwise from (0,0): on at positions 0-2, 6-8, 12-14, 18-20.
    std::vector<std::pair<int, int>> path;
    for (int x = 0; x < 6; ++x)
        path.push_back({x, 0});
    for (int y = 0; y < 6; ++y)
        path.push_back({6, y});
    for (int x = 6; x > 0; --x)
        path.push_back({x, 6});
    for (int y = 6; y > 0; --y)
        path.push_back({0, y});
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool on = i % 6 < 3;
        EXPECT_EQ(c.At(path[i].first, path[i].second) == kRed, on)
            << "frame pixel " << i << " at " << path[i].first << "," << path[i].second << "\n"
            << c.Picture();
    }
}

TEST(Rectangles, WidePenIsCentredOnTheOutline) {
    Canvas c(20, 20);
    PenScope pen(c.Dc(), PS_SOLID, 3, kRed);
    BrushScope brush(c.Dc(), CreateSolidBrush(kBlue));
    Rectangle(c.Dc(), 5, 5, 15, 15);
    EXPECT_EQ(c.Bounds(), (RECT{4, 4, 16, 16})) << c.Picture();
    EXPECT_EQ(c.At(6, 6), kRed);
    EXPECT_EQ(c.At(7, 7), kBlue);
}

TEST(Ellipses, StayInsideTheBoxAndReachEverySide) {
    const RECT boxes[] = {{2, 2, 12, 8}, {0, 0, 15, 15}, {3, 1, 4, 9}, {1, 1, 20, 6}};
    for (const RECT& box : boxes) {
        Canvas c(24, 24);
        PenScope pen(c.Dc(), PS_SOLID, 1, kRed);
        BrushScope brush(c.Dc(), CreateSolidBrush(kBlue));
        ASSERT_TRUE(Ellipse(c.Dc(), box.left, box.top, box.right, box.bottom));
        EXPECT_EQ(c.Bounds(), box) << "box " << RectText(box) << "\n" << c.Picture();
        // Mirror symmetry about both axes of the box.
        for (auto [x, y] : c.Touched()) {
            const int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
            EXPECT_EQ(c.At(mx, y), c.At(x, y)) << "mirror of " << x << "," << y;
            EXPECT_EQ(c.At(x, my), c.At(x, y)) << "mirror of " << x << "," << y;
        }
        // Corners of the box stay clear unless the box is a line.
        if (box.right - box.left > 2 && box.bottom - box.top > 2) {
            EXPECT_EQ(c.At(box.left, box.top), kWhite);
        }
    }
}

TEST(Ellipses, OutlineIsClosedAndTheInsideFilled) {
    Canvas c(20, 20);
    PenScope pen(c.Dc(), PS_SOLID, 1, kRed);
    BrushScope brush(c.Dc(), CreateSolidBrush(kBlue));
    Ellipse(c.Dc(), 2, 2, 18, 14);
    // Walking out from the centre in any row or column meets the pen before
    // leaving the shape.
    EXPECT_EQ(c.At(9, 7), kBlue);
    for (int y = 3; y < 13; ++y) {
        int x = 9;
        while (c.At(x, y) == kBlue)
            --x;
        EXPECT_EQ(c.At(x, y), kRed) << "row " << y << "\n" << c.Picture();
    }
}

TEST(Fills, FillRectAndFrameRectTouchExactlyTheRectangle) {
    Canvas c(10, 10);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT rc{1, 2, 6, 9};
    ASSERT_EQ(FillRect(c.Dc(), &rc, red), 1);
    EXPECT_EQ(c.Bounds(), rc);
    EXPECT_EQ(c.Touched().size(), 35u);
    c.Clear(kWhite);
    ASSERT_EQ(FrameRect(c.Dc(), &rc, red), 1);
    EXPECT_EQ(c.Touched(), FrameOf(1, 2, 6, 9)) << c.Picture();
    // A system colour index + 1 stands for its brush.
    c.Clear(kWhite);
    FillRect(c.Dc(), &rc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(c.At(3, 3), RGB(192, 192, 192));
    // FillRect ignores the mix mode.
    SetROP2(c.Dc(), R2_XORPEN);
    FillRect(c.Dc(), &rc, red);
    EXPECT_EQ(c.At(3, 3), kRed);
    DeleteObject(red);
}

TEST(Fills, InvertRectAndPixels) {
    Canvas c(6, 6, RGB(0x10, 0x20, 0x30));
    RECT rc{1, 1, 3, 3};
    InvertRect(c.Dc(), &rc);
    EXPECT_EQ(c.At(1, 1), RGB(0xEF, 0xDF, 0xCF));
    EXPECT_EQ(c.At(3, 3), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(SetPixel(c.Dc(), 4, 4, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(c.Dc(), 4, 4), RGB(1, 2, 3));
    EXPECT_TRUE(SetPixelV(c.Dc(), 5, 5, kRed));
    EXPECT_EQ(c.At(5, 5), kRed);
    EXPECT_EQ(GetPixel(c.Dc(), 6, 0), CLR_INVALID) << "outside the bitmap";
    EXPECT_EQ(SetPixel(c.Dc(), -1, 0, kRed), CLR_INVALID);
}
