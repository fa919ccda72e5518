// The point picker in a headless host: what a fresh control shows, the
// mode bits, the host's queries, selection by click and by SetSel (also
// with values beyond the table), the disabled look and persistence.
#include "platform/afx/JsonPropertyBag.h"
#include "tests/views3d/SelectQubeTestSupport.h"

using namespace views3d_test;

namespace {

// Dark pixels in a rectangle of the control.
int DarkIn(const SurfaceBuffer& pixels, RECT rc) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += (pixels.Pixel(x, y) & 0xFFFFFF) == kBlack;
    return n;
}

} // namespace

TEST_F(QubeTest, AFreshControlShowsTheCubeWithTheFrontLeftBottomCornerSelected) {
    int cx = 0, cy = 0;
    Ctrl()->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 80);
    EXPECT_EQ(cy, 80);
    EXPECT_EQ(GetShort(kDefaultSel), 0);
    EXPECT_EQ(Sel(), 0);
    EXPECT_FALSE(Ctrl()->Is2D());
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(CentreOf(pixels, 0), kGreen) << "point 0 at (8, 72) is selected";
    for (int i = 1; i < 27; ++i)
        EXPECT_EQ(CentreOf(pixels, i), i < 20 ? kShadow : kFace) << "point " << i;
    EXPECT_EQ(pixels.Pixel(0, 40), kShadow) << "the frame";
    EXPECT_EQ(pixels.Pixel(79, 79), kShadow) << "the frame";
    EXPECT_EQ(pixels.Pixel(2, 2), kFace);
}

TEST_F(QubeTest, TheAxisLettersStandBesideTheirCornersUnlessBitSixSuppressesThem) {
    // x beside the front right bottom corner, y beside the back left bottom
    // corner, z above the front left top corner.
    const RECT x{64, 67, 78, 77}, y{29, 58, 38, 68}, z{1, 14, 15, 24};
    const SurfaceBuffer with = Pixels();
    PutShort(kDefaultSel, 0x40);
    EXPECT_EQ(Sel(), 0);
    const SurfaceBuffer without = Pixels();
    for (RECT rc : {x, y, z})
        EXPECT_GT(DarkIn(with, rc), DarkIn(without, rc) + 3)
            << "letter at " << rc.left << "," << rc.top;
    EXPECT_EQ(DarkIn(without, x), 0);
}

TEST_F(QubeTest, Mode0x84IsTheSquareWithItsTopMiddleSelected) {
    PutShort(kDefaultSel, 0x80 + 4);
    EXPECT_TRUE(Ctrl()->Is2D());
    EXPECT_EQ(Sel(), 4);
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{1, 2, 0}));
    EXPECT_EQ(Reg3D(), 5) << "the 3D numbering applies to the index even in 2D mode";
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(pixels.Pixel(40, 10), kGreen) << "the top middle of the square";
    EXPECT_EQ(pixels.Pixel(16, 18), kFace) << "no receding edges in 2D mode";
    // Back to 3D: the cube and its 27 points return, and so does the green
    // corner 4 (back left top).
    PutShort(kDefaultSel, 4);
    EXPECT_FALSE(Ctrl()->Is2D());
    EXPECT_EQ(CentreOf(Pixels(), 4), kGreen);
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{0, 2, 2}));
}

TEST_F(QubeTest, OffsetsInsideTheRegionAndZerosBeforeAnyRegion) {
    SetSel(26);
    EXPECT_EQ(Offsets(), (std::array<float, 3>{0, 0, 0})) << "no region set yet";
    SetRegion(0, 100, 50, 0, 20, 0);
    EXPECT_EQ(Offsets(), (std::array<float, 3>{50, 25, 10}));
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{1, 1, 1}));
    SetSel(3);
    EXPECT_EQ(Offsets(), (std::array<float, 3>{100, 0, 0}));
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{2, 0, 0}));
    EXPECT_EQ(Reg3D(), 3);
}

TEST_F(QubeTest, AClickOnAPointSelectsItAndFiresClickOnRelease) {
    Ctrl()->SetModifiedFlag(FALSE);
    ClickAt(Point(17).x, Point(17).y);
    EXPECT_EQ(Sel(), 17);
    EXPECT_EQ(Reg3D(), 14);
    EXPECT_EQ(events.Count(DISPID_CLICK), 1);
    EXPECT_FALSE(Ctrl()->IsModified()) << "a click does not mark the control modified";
    EXPECT_EQ(CentreOf(Pixels(), 17), kGreen);
    // The mode bits survive a click.
    PutShort(kDefaultSel, 0x40 + 2);
    ClickAt(Point(5).x, Point(5).y);
    EXPECT_EQ(GetShort(kDefaultSel), 0x40 + 5);
}

TEST_F(QubeTest, AClickBesideEveryPointKeepsTheSelectionAndStillClicks) {
    SetSel(9);
    for (int i = 0; i < 27; ++i) {
        const POINT p = Beside(i);
        ClickAt(p.x, p.y);
        EXPECT_EQ(Sel(), 9) << "beside point " << i;
    }
    EXPECT_EQ(events.Count(DISPID_CLICK), 27) << "a point is selected, so each click fires";
}

TEST_F(QubeTest, SetSelMinusOneSelectsNothing) {
    Ctrl()->SetModifiedFlag(FALSE);
    SetRegion(0, 100, 50, 0, 20, 0);
    SetSel(-1);
    EXPECT_FALSE(Ctrl()->IsModified()) << "SetSel does not mark the control modified";
    EXPECT_EQ(Sel(), SHORT(0xFF3F)) << "-1 with bits 6 and 7 cleared";
    EXPECT_EQ(Reg3D(), SHORT(0xFF3F)) << "returned unchanged";
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{0, 0, 0}));
    EXPECT_EQ(Offsets(), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(CountOf(Pixels(), kGreen), 0);
    for (int i = 0; i < 27; ++i) {
        const POINT p = Beside(i);
        ClickAt(p.x, p.y);
    }
    EXPECT_EQ(events.Count(DISPID_CLICK), 0);
    EXPECT_LT(Sel(), 0);
    // A point clicked now is selected again, and clicks.
    ClickAt(Point(5).x, Point(5).y);
    EXPECT_EQ(Sel(), 5);
    EXPECT_EQ(events.Count(DISPID_CLICK), 1);
}

TEST_F(QubeTest, ASelectionBeyondTheTableMarksNothingAnswersZerosAndNeverClicks) {
    SetRegion(0, 100, 50, 0, 20, 0);
    struct Case {
        SHORT defaultSel;
        SHORT index;
    } cases[] = {
        {0, 27},      // past the 27 points of the cube
        {0, 63},      // the largest index the low bits hold
        {0, 0x100},   // the high byte set: its low bits would name point 0
        {0x80, 9},    // past the 9 points of the square
        {0x80, 26},   // a cube's index in 2D mode
        {0x80, 0x108} // the high byte set over a square's index
    };
    for (const Case& c : cases) {
        PutShort(kDefaultSel, c.defaultSel);
        SetSel(c.index);
        EXPECT_EQ(Sel(), c.index);
        EXPECT_EQ(Ctrl()->SelectedPoint(), -1);
        EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{0, 0, 0})) << c.index;
        EXPECT_EQ(Offsets(), (std::array<float, 3>{0, 0, 0})) << c.index;
        EXPECT_EQ(CountOf(Pixels(), kGreen), 0) << c.index;
        const POINT p = Beside(0);
        ClickAt(p.x, p.y);
        EXPECT_EQ(events.Count(DISPID_CLICK), 0) << c.index;
    }
    // The region numbering leaves an index past its 27 numbers unchanged.
    PutShort(kDefaultSel, 0);
    SetSel(40);
    EXPECT_EQ(Reg3D(), 40);
}

TEST_F(QubeTest, ADisabledControlDrawsTheCubeInGreyWithoutPoints) {
    ASSERT_EQ(Invoke(DISPID_ENABLED, DISPATCH_PROPERTYPUT, {CComVariant::Bool(false)}), S_OK);
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(CountOf(pixels, kGreen), 0);
    EXPECT_EQ(CountOf(pixels, kRed), 0);
    EXPECT_EQ(CountOf(pixels, kBlack), 0) << "no black edge and no letter";
    // The front left edge, two pixels wide, runs down x = 8.
    int grey = 0;
    for (int x = 6; x <= 10; ++x)
        grey += pixels.Pixel(x, 50) == kShadow;
    EXPECT_GE(grey, 1);
    ASSERT_EQ(Invoke(DISPID_ENABLED, DISPATCH_PROPERTYPUT, {CComVariant::Bool(true)}), S_OK);
    const SurfaceBuffer again = Pixels();
    EXPECT_EQ(CentreOf(again, 0), kGreen);
    EXPECT_GT(CountOf(again, kBlack), 100);
}

TEST_F(QubeTest, TheDefaultSelPropertyMarksModifiedAndIsSavedByName) {
    Ctrl()->SetModifiedFlag(FALSE);
    PutShort(kDefaultSel, 0x80 + 0x40 + 8);
    EXPECT_TRUE(Ctrl()->IsModified());
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->Values()["defaultSel"], 0x80 + 0x40 + 8);

    // Loaded into a fresh control whose window already shows the cube: the
    // square's geometry follows at once, not only at the next resize.
    Create();
    ASSERT_FALSE(Ctrl()->Is2D());
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Load(bag.Get(), nullptr), S_OK);
    EXPECT_TRUE(Ctrl()->Is2D());
    EXPECT_EQ(Sel(), 8);
    EXPECT_EQ(Ctrl()->Geometry().count, 9);
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(pixels.Pixel(40, 40), kGreen) << "the square's centre";
    ClickAt(70, 70);
    EXPECT_EQ(Sel(), 3);
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{2, 0, 0}));
}

TEST_F(QubeTest, AResizedControlLaysItsPointsOutAgain) {
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(m_disp.As(IID_IOleInPlaceObject, &inPlace), S_OK);
    const RECT wider{10, 10, 170, 110};
    ASSERT_EQ(inPlace->SetObjectRects(&wider, &wider), S_OK);
    session.Pump();
    // 160 x 100: the smaller side, 100, decides: s = 94 * 0.625 = 58.
    EXPECT_EQ(Ctrl()->Geometry().front,
              CRect(50 - 29 - 11, 50 - 29 + 11, 50 + 29 - 11, 50 + 29 + 11));
    EXPECT_EQ(CentreOf(Pixels(), 0), kGreen);
    ClickAt(Point(26).x, Point(26).y);
    EXPECT_EQ(Sel(), 26);
}

TEST_F(QubeTest, AClickBetweenTwoPointsFourPixelsApartSelectsTheLowerIndex) {
    Create(RECT{10, 10, 26, 26});
    PutShort(kDefaultSel, 0x80);
    ClickAt(10, 12); // between the bottom right corner (3) and the bottom middle (6)
    EXPECT_EQ(Sel(), 3);
    ClickAt(6, 12); // between the bottom left corner (0) and the bottom middle
    EXPECT_EQ(Sel(), 0);
}
