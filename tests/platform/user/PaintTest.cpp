// Update regions, WM_PAINT, erasing, frames and composition of children into
// their top-level surface.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Surface.h"
#include "tests/platform/user/UserTestFixture.h"

#include <vector>

using namespace kw::test;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000; // 0x00RRGGBB in surfaces.

std::uint32_t PixelAt(HWND top, int x, int y) {
    PixelSurface surface;
    if (!kw::user::TopLevelSurface(top, &surface) || x < 0 || y < 0 || x >= surface.width ||
        y >= surface.height)
        return 0xDEADBEEF;
    return surface.At(x, y);
}

// Makes the window fill its whole client area with a colour when it paints.
void PaintSolid(MessageRecorder& rec, HWND hwnd, COLORREF color, std::vector<RECT>* painted) {
    rec.OnMessage(hwnd, [=](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        if (painted)
            painted->push_back(ps.rcPaint);
        RECT client;
        GetClientRect(h, &client);
        const HBRUSH brush = CreateSolidBrush(color);
        FillRect(ps.hdc, &client, brush);
        DeleteObject(brush);
        EndPaint(h, &ps);
        return true;
    });
}

} // namespace

TEST_F(UserTest, ManyInvalidationsGiveOneWmPaintWithTheirBoundingBox) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    std::vector<RECT> painted;
    PaintSolid(rec, top, RGB(255, 0, 0), &painted);
    session.Pump();
    painted.clear();
    rec.Clear();
    const HDC hdc = GetDC(top);
    const RECT all{0, 0, 100, 100};
    FillRect(hdc, &all, reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_WINDOW + 1)));
    ReleaseDC(top, hdc);
    for (int i = 0; i < 5; ++i) {
        const RECT rc{10 * i, 5, 10 * i + 5, 10};
        InvalidateRect(top, &rc, FALSE);
    }
    RECT update;
    EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
    EXPECT_EQ(update, (RECT{0, 5, 45, 10}));
    session.Pump();
    EXPECT_EQ(rec.Count(top, WM_PAINT), 1);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (RECT{0, 5, 45, 10}));
    EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
    // The DC was clipped to the update rectangle.
    EXPECT_EQ(PixelAt(top, 20, 7), kRed);
    EXPECT_EQ(PixelAt(top, 20, 20), kWhite);
    EXPECT_EQ(PixelAt(top, 50, 7), kWhite);
}

TEST_F(UserTest, EraseBackgroundUsesTheClassBrushAndSetsFErase) {
    const HWND top = rec.CreateTop(0, 0, 50, 50);
    session.Pump();
    std::vector<BOOL> erases;
    rec.OnMessage(top, [&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        erases.push_back(ps.fErase);
        EndPaint(h, &ps);
        return true;
    });
    // Paint something, then invalidate with erase: the class brush (the
    // window colour, white) comes back.
    HDC hdc = GetDC(top);
    const RECT all{0, 0, 50, 50};
    FillRect(hdc, &all, reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_WINDOWTEXT + 1)));
    ReleaseDC(top, hdc);
    EXPECT_EQ(PixelAt(top, 3, 3), kBlack) << "GetDC draws at once";
    rec.Clear();
    InvalidateRect(top, nullptr, TRUE);
    session.Pump();
    EXPECT_EQ(rec.Sequence({WM_PAINT, WM_ERASEBKGND}),
              (std::vector<Seq>{{top, WM_PAINT}, {top, WM_ERASEBKGND}}));
    EXPECT_EQ(PixelAt(top, 3, 3), kWhite);
    // An erase that did nothing (answered 0) is left to the painter.
    rec.OnMessage(top, [&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT* result) {
        if (msg == WM_ERASEBKGND) {
            *result = 0;
            return true;
        }
        if (msg != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        erases.push_back(ps.fErase);
        EndPaint(h, &ps);
        return true;
    });
    InvalidateRect(top, nullptr, TRUE);
    session.Pump();
    EXPECT_EQ(erases, (std::vector<BOOL>{FALSE, TRUE}));
}

TEST_F(UserTest, ParentPaintsBeforeTheChildrenItCovers) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND inside = rec.CreateChild(top, 1, 10, 10, 20, 20);
    const HWND elsewhere = rec.CreateChild(top, 2, 60, 60, 20, 20);
    session.Pump();
    rec.Clear();
    const RECT rc{0, 0, 40, 40};
    InvalidateRect(top, &rc, TRUE);
    session.Pump();
    EXPECT_EQ(rec.Sequence({WM_PAINT}), (std::vector<Seq>{{top, WM_PAINT}, {inside, WM_PAINT}}));
    (void)elsewhere;
    // A window that never validates gets one WM_PAINT, not an endless stream.
    rec.OnMessage(inside, [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) { return msg == WM_PAINT; });
    rec.Clear();
    InvalidateRect(inside, nullptr, FALSE);
    EXPECT_EQ(session.Pump(), 1);
    // UpdateWindow paints at once, with no pump.
    rec.Clear();
    InvalidateRect(top, nullptr, FALSE);
    UpdateWindow(top);
    EXPECT_EQ(rec.Count(top, WM_PAINT), 1);
    EXPECT_EQ(rec.Count(inside, WM_PAINT), 1);
}

TEST_F(UserTest, ChildPaintsIntoItsTopLevelAtItsOffsetWithinItsFrameAndParent) {
    const HWND top = rec.CreateTop(300, 200, 100, 80);
    const HWND panel = rec.CreateChild(top, 1, 10, 10, 50, 40, WS_CHILD | WS_VISIBLE | WS_BORDER);
    // Sticks out of the panel's right edge: drawing stops at the panel.
    const HWND inner = rec.CreateChild(panel, 2, 30, 5, 40, 10);
    PaintSolid(rec, panel, RGB(0, 0, 255), nullptr);
    PaintSolid(rec, inner, RGB(255, 0, 0), nullptr);
    session.Pump();
    // The frame is black, one pixel wide, at the window's edge.
    EXPECT_EQ(PixelAt(top, 10, 10), kBlack);
    EXPECT_EQ(PixelAt(top, 59, 49), kBlack);
    EXPECT_EQ(PixelAt(top, 11, 11), 0x0000FFu);
    EXPECT_EQ(PixelAt(top, 60, 50), kWhite);
    // inner's client (0, 0) is panel client (30, 5) = top (41, 16).
    EXPECT_EQ(PixelAt(top, 41, 16), kRed);
    EXPECT_EQ(PixelAt(top, 40, 16), 0x0000FFu);
    EXPECT_EQ(PixelAt(top, 58, 25), kRed);
    EXPECT_EQ(PixelAt(top, 58, 26), 0x0000FFu);
    EXPECT_EQ(PixelAt(top, 59, 20), kBlack) << "clipped by the panel's client area";
    EXPECT_EQ(PixelAt(top, 65, 20), kWhite);
    // The presenter heard about the painted parts.
    EXPECT_FALSE(session.Presenter().Presentations().empty());

    // Hiding the child repaints the parent where it was.
    ShowWindow(inner, SW_HIDE);
    session.Pump();
    EXPECT_EQ(PixelAt(top, 41, 16), 0x0000FFu);
}

TEST_F(UserTest, ValidateRectAndHiddenWindowsNeedNoPaint) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND hidden = rec.CreateChild(top, 1, 0, 0, 10, 10, WS_CHILD);
    session.Pump();
    rec.Clear();
    InvalidateRect(top, nullptr, TRUE);
    ValidateRect(top, nullptr);
    InvalidateRect(hidden, nullptr, TRUE);
    EXPECT_EQ(session.Pump(), 0);
    EXPECT_TRUE(rec.Of(WM_PAINT).empty());
}

TEST_F(UserTest, InvalidateRgnAddsTheRegionsRectanglesAndValidateRgnClears) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    std::vector<RECT> painted;
    PaintSolid(rec, top, RGB(255, 0, 0), &painted);
    session.Pump();
    painted.clear();
    HRGN rgn = CreateRectRgn(10, 10, 20, 20);
    HRGN second = CreateRectRgn(40, 30, 50, 35);
    CombineRgn(rgn, rgn, second, RGN_OR);
    EXPECT_TRUE(InvalidateRgn(top, rgn, FALSE));
    RECT update;
    EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
    EXPECT_EQ(update, (RECT{10, 10, 50, 35}));
    EXPECT_TRUE(ValidateRgn(top, rgn));
    EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
    EXPECT_TRUE(InvalidateRgn(top, nullptr, FALSE)); // null: the whole client area
    session.Pump();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (RECT{0, 0, 100, 100}));
    DeleteObject(second);
    DeleteObject(rgn);
    EXPECT_FALSE(InvalidateRgn(top, rgn, FALSE)); // a deleted region
}

TEST_F(UserTest, WindowFromDcNamesTheWindowOfALiveWindowDcOnly) {
    const HWND top = rec.CreateTop(0, 0, 100, 100);
    const HWND child = rec.CreateChild(top, 1, 10, 10, 50, 40);
    const HDC client = GetDC(child);
    const HDC whole = GetWindowDC(top);
    EXPECT_EQ(WindowFromDC(client), child);
    EXPECT_EQ(WindowFromDC(whole), top);
    const HDC memory = CreateCompatibleDC(client);
    EXPECT_EQ(WindowFromDC(memory), nullptr) << "a memory DC belongs to no window";
    DeleteDC(memory);
    ReleaseDC(child, client);
    ReleaseDC(top, whole);
    EXPECT_EQ(WindowFromDC(client), nullptr) << "a released DC names nothing";
    EXPECT_EQ(WindowFromDC(nullptr), nullptr);
    PAINTSTRUCT ps{};
    InvalidateRect(child, nullptr, FALSE);
    const HDC paint = BeginPaint(child, &ps);
    EXPECT_EQ(WindowFromDC(paint), child);
    EndPaint(child, &ps);
}
