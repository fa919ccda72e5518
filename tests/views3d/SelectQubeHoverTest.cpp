// The point picker's hover tracking: the point under the cursor turns red,
// the control holds the mouse while the cursor is over it and lets go when
// the cursor is over another window.
#include "tests/views3d/SelectQubeTestSupport.h"

using namespace views3d_test;

namespace {

class QubeHoverTest : public QubeTest {
protected:
    void SetUp() override {
        QubeTest::SetUp();
        // Another top-level window beside the host.
        m_other = CreateWindowExA(0, "KwTestGreyHost", "other", WS_POPUP | WS_VISIBLE, 300, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_other, nullptr);
        session.Pump();
    }
    HWND m_other = nullptr;
};

} // namespace

TEST_F(QubeHoverTest, TheHoveredPointTurnsRedAndTheControlHoldsTheMouse) {
    MoveTo(Point(8).x, Point(8).y);
    EXPECT_EQ(GetCapture(), Window());
    EXPECT_TRUE(Ctrl()->IsHovering());
    EXPECT_EQ(Ctrl()->HoverPoint(), 8);
    SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(CentreOf(pixels, 8), kRed);
    // The hovered marker is a red disc the size of the selected one; a plain
    // point has only a red rim.
    auto redAround = [&](const SurfaceBuffer& p, int i) {
        int n = 0;
        for (int y = Point(i).y - 4; y <= Point(i).y + 4; ++y)
            for (int x = Point(i).x - 5; x <= Point(i).x + 4; ++x)
                n += p.Pixel(x, y) == kRed;
        return n;
    };
    EXPECT_GE(redAround(pixels, 8), 50);
    EXPECT_LE(redAround(pixels, 9), 30);
    EXPECT_EQ(CentreOf(pixels, 0), kGreen);

    MoveTo(Point(20).x + 1, Point(20).y - 1);
    pixels = Pixels();
    EXPECT_EQ(CentreOf(pixels, 20), kRed);
    EXPECT_EQ(CentreOf(pixels, 8), kShadow);
    // Empty space inside the control: nothing red, the mouse still held.
    MoveTo(76, 4);
    EXPECT_EQ(RedCentres(Pixels()), 0);
    EXPECT_EQ(GetCapture(), Window());
    // The selected point stays green under the cursor.
    MoveTo(Point(0).x, Point(0).y);
    EXPECT_EQ(CentreOf(Pixels(), 0), kGreen);
    EXPECT_EQ(events.Count(DISPID_CLICK), 0) << "hovering clicks nothing";
}

TEST_F(QubeHoverTest, LeavingForAnotherWindowLetsTheMouseGo) {
    MoveTo(Point(8).x, Point(8).y);
    ASSERT_EQ(GetCapture(), Window());
    session.MouseMove(310, 10); // over the other top-level window
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Ctrl()->IsHovering());
    EXPECT_EQ(Ctrl()->HoverPoint(), -1);
    EXPECT_EQ(RedCentres(Pixels()), 0);
    // Back over the control, and out over the host around it.
    MoveTo(Point(8).x, Point(8).y);
    EXPECT_EQ(GetCapture(), Window());
    session.MouseMove(m_host, 150, 50);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(RedCentres(Pixels()), 0);
}

TEST_F(QubeHoverTest, APressDraggedOutKeepsTheMouseUntilTheButtonIsUp) {
    MoveTo(Point(8).x, Point(8).y);
    session.MouseDown();
    EXPECT_EQ(Sel(), 8);
    session.MouseMove(310, 10);
    EXPECT_EQ(GetCapture(), Window()) << "the left button is held";
    EXPECT_FALSE(Ctrl()->IsHovering());
    session.MouseUp();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(events.Count(DISPID_CLICK), 0) << "released outside the control";
    // A move with the button held that starts outside does not hover.
    session.MouseDown();
    MoveTo(Point(20).x, Point(20).y);
    EXPECT_EQ(Ctrl()->HoverPoint(), -1);
    session.MouseUp();
}

TEST_F(QubeHoverTest, AHoverLeftOverFromTheCubeNeverMarksAPointOfTheSquare) {
    MoveTo(Point(24).x, Point(24).y);
    ASSERT_EQ(Ctrl()->HoverPoint(), 24);
    PutShort(kDefaultSel, 0x80); // the host switches to the square
    EXPECT_EQ(Ctrl()->HoverPoint(), -1);
    EXPECT_EQ(RedCentres(Pixels()), 0);
    MoveTo(40, 40);
    EXPECT_EQ(Ctrl()->HoverPoint(), 8);
    EXPECT_EQ(Pixels().Pixel(40, 40), kRed);
}

TEST_F(QubeHoverTest, LeavingStraightAfterAClickStillEndsTheHover) {
    MoveTo(Point(8).x, Point(8).y);
    session.Click();
    EXPECT_EQ(Sel(), 8);
    EXPECT_EQ(events.Count(DISPID_CLICK), 1);
    EXPECT_EQ(GetCapture(), Window()) << "the hover keeps the mouse after the press ends";
    MoveTo(Point(20).x, Point(20).y);
    EXPECT_EQ(Ctrl()->HoverPoint(), 20);
    session.Click();
    session.MouseMove(310, 10); // the next move is over the other window
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Ctrl()->HoverPoint(), -1);
    EXPECT_EQ(RedCentres(Pixels()), 0);
}
