// The curve editor in a headless host: its interface against the type
// library, the host's points, the operator's clicks and drags, the mended
// capacity and zero-scale cases, persistence and the drawn plot.
#include "machine/CurveCtrl.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/gdi/SysColors.h"
#include "tests/machine/CurveDigitHost.h"

#include <cfloat>

using machine_test::ControlHost;
using machine_test::MemberSpec;

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBoxYellow = 0xFFFF00;
constexpr std::uint32_t kGridGrey = 0x808080;
constexpr std::uint32_t kCurveRed = 0x800000;

// 130 x 94 at (10, 10): the plot is (20, 10, 120, 74), 100 x 64, so that
// y values in 1/64 steps land on exact rows.
constexpr RECT kPlace{10, 10, 140, 104};
constexpr int kLeft = 20, kTop = 10, kRight = 120, kBottom = 74;

class CurveTest : public ControlHost<CCurveCtrl> {
protected:
    CurveTest() : ControlHost(kw::ids::CLSID_Curve, kw::ids::IID_DCurveEvents) {}
    void SetUp() override {
        ControlHost::SetUp();
        Create(kPlace);
    }

    void SetPoint(SHORT index, float x, float y) {
        ASSERT_EQ(Call("SetPoint", DISPATCH_METHOD,
                       {CComVariant::I2(index), CComVariant::R4(x), CComVariant::R4(y)}),
                  S_OK);
    }
    // GetPoint through dispatch, with x and y starting at a marker.
    struct Answer {
        bool result;
        float x, y;
    };
    Answer GetPoint(SHORT index, float marker = -777.0f) {
        Answer a{false, marker, marker};
        CComVariant x, y, result;
        x.vt = VT_BYREF | VT_R4;
        x.pfltVal = &a.x;
        y.vt = VT_BYREF | VT_R4;
        y.pfltVal = &a.y;
        EXPECT_EQ(Call("GetPoint", DISPATCH_METHOD, {CComVariant::I2(index), x, y}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        a.result = result.boolVal != 0;
        return a;
    }
    void MoveTo(int x, int y) { session.MouseMove(Window(), x, y); }
    void Press(int x, int y) {
        MoveTo(x, y);
        session.MouseDown();
    }
    void Release() { session.MouseUp(); }
    void ClickAt(int x, int y) {
        Press(x, y);
        Release();
    }
    int Changed() const { return events.Count(CCurveCtrl::kEventChanged); }
};

} // namespace

// [SECTION] Interface

TEST_F(CurveTest, TheInterfaceMatchesItsDocumentationAndTheTypeLibrary) {
    const std::vector<MemberSpec> members = {
        {"Xaxis", "Xaxis", 1, DispKind::Property, VT_BSTR, VT_BSTR, {}},
        {"Yaxis", "Yaxis", 2, DispKind::Property, VT_BSTR, VT_BSTR, {}},
        {"Points", "Points", 3, DispKind::Property, VT_I2, VT_I2, {}},
        {"Flags", "Flags", 4, DispKind::Property, VT_I2, VT_I2, {}},
        {"MinVal", "minval", 5, DispKind::Property, VT_R4, VT_R4, {}},
        {"MaxVal", "maxval", 6, DispKind::Property, VT_R4, VT_R4, {}},
        {"SetPoint",
         "SetPoint",
         7,
         DispKind::Method,
         VT_EMPTY,
         VT_EMPTY,
         {{"index", VT_I2}, {"x", VT_R4}, {"y", VT_R4}}},
        {"GetPoint",
         "GetPoint",
         8,
         DispKind::Method,
         VT_BOOL,
         VT_I4,
         {{"index", VT_I2}, {"x", VT_BYREF | VT_R4}, {"y", VT_BYREF | VT_R4}}},
        {"AboutBox", "AboutBox", -552, DispKind::Method, VT_EMPTY, VT_EMPTY, {}},
    };
    machine_test::ExpectInterface(CurveDispatchTable(), kw::ids::IID_DCurve, members);
    machine_test::ExpectInterface(
        CurveEventTable(), kw::ids::IID_DCurveEvents,
        {{"Changed", "Changed", 1, DispKind::Method, VT_EMPTY, VT_EMPTY, {}}});
}

TEST_F(CurveTest, AFreshCurveHasItsDefaultsAndSavesThemByName) {
    EXPECT_EQ(std::string(BstrView(Get("Xaxis").bstrVal)), "X");
    EXPECT_EQ(std::string(BstrView(Get("Yaxis").bstrVal)), "Y");
    EXPECT_EQ(Get("Points").iVal, 2);
    EXPECT_EQ(Get("Flags").iVal, 0);
    EXPECT_EQ(Get("minval").fltVal, -FLT_MAX);
    EXPECT_EQ(Get("MaxVal").fltVal, FLT_MAX);
    EXPECT_EQ(::SendMessageA(Window(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);

    Put("Xaxis", CComVariant::Str("mm"));
    Put("Points", CComVariant::I2(7));
    Put("Flags", CComVariant::I2(3));
    Put("MinVal", CComVariant::R4(-2.0f));
    SetPoint(0, 1.0f, 0.5f);
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->Values()["Xaxis"], "mm");
    EXPECT_EQ(bag->Values()["Points"], 7);
    EXPECT_EQ(bag->Values()["Flags"], 3);
    EXPECT_FALSE(bag->Values().contains("MinVal")) << "the bounds and the points are not stored";

    Create(kPlace);
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(std::string(BstrView(Get("Xaxis").bstrVal)), "mm");
    EXPECT_EQ(std::string(BstrView(Get("Yaxis").bstrVal)), "Y");
    EXPECT_EQ(Get("Points").iVal, 7);
    EXPECT_EQ(Get("MinVal").fltVal, -FLT_MAX);
    EXPECT_EQ(Object()->PointsInUse(), 0);
}

// [SECTION] The host's points

TEST_F(CurveTest, SetPointKeepsPointsInAscendingOrderAndDropsTheRest) {
    Put("Points", CComVariant::I2(3));
    SetPoint(0, 1.0f, 0.1f);
    SetPoint(1, 2.0f, 0.2f);
    SetPoint(2, 3.0f, 0.3f);
    EXPECT_EQ(Object()->PointsInUse(), 3);
    Object()->SetModifiedFlag(FALSE);
    SetPoint(0, 5.0f, 0.5f);
    EXPECT_EQ(Object()->PointsInUse(), 1);
    EXPECT_FALSE(Object()->IsModified()) << "points are not persistent state";
    EXPECT_FLOAT_EQ(GetPoint(0).x, 5.0f);
    // Outside 0 .. Points - 1 nothing is stored.
    SetPoint(3, 9.0f, 0.9f);
    SetPoint(-1, 9.0f, 0.9f);
    EXPECT_EQ(Object()->PointsInUse(), 1);
    EXPECT_EQ(events.fired.size(), 0u);
}

TEST_F(CurveTest, GetPointOutsideTheRangeAnswersTrueAndWritesNothing) {
    // No array yet: nothing written, TRUE all the same.
    Answer a = GetPoint(0);
    EXPECT_TRUE(a.result);
    EXPECT_EQ(a.x, -777.0f);
    SetPoint(0, 1.5f, 0.25f);
    a = GetPoint(0);
    EXPECT_TRUE(a.result);
    EXPECT_EQ(a.x, 1.5f);
    EXPECT_EQ(a.y, 0.25f);
    for (SHORT index : {SHORT(2), SHORT(3), SHORT(-1), SHORT(32767)}) {
        a = GetPoint(index);
        EXPECT_TRUE(a.result) << index;
        EXPECT_EQ(a.x, -777.0f) << index;
        EXPECT_EQ(a.y, -777.0f) << index;
    }
}

TEST_F(CurveTest, APairThatWasNeverSetReadsAsZero) {
    SetPoint(0, 4.0f, 0.5f);
    const Answer a = GetPoint(1);
    EXPECT_TRUE(a.result);
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_EQ(a.y, 0.0f);
}

// [SECTION] Capacity: Points raised after the array was made

TEST_F(CurveTest, ALargerPointsGrowsTheArrayAndKeepsThePoints) {
    SetPoint(0, 1.0f, 0.1f);
    SetPoint(1, 2.0f, 0.2f);
    ASSERT_EQ(Object()->Capacity(), 2);
    Put("Points", CComVariant::I2(5));
    SetPoint(2, 3.0f, 0.3f);
    EXPECT_GE(Object()->Capacity(), 5);
    EXPECT_EQ(Object()->PointsInUse(), 3);
    EXPECT_FLOAT_EQ(GetPoint(1).x, 2.0f);
    EXPECT_FLOAT_EQ(GetPoint(2).y, 0.3f);
    // Pairs of the grown part that were never set read as zero.
    EXPECT_EQ(GetPoint(4).x, 0.0f);
    // Clicks append up to the new Points, each past the old capacity.
    ClickAt(100, 20);
    ClickAt(110, 30);
    ClickAt(115, 15);
    EXPECT_EQ(Object()->PointsInUse(), 5);
}

TEST_F(CurveTest, ClicksIntoAnArrayMadeBeforePointsWasRaisedStayInside) {
    ClickAt(60, 40); // the first click makes the array with Points = 2
    ASSERT_EQ(Object()->Capacity(), 2);
    Put("Points", CComVariant::I2(4));
    ClickAt(80, 30);
    ClickAt(100, 20);
    ClickAt(110, 15);
    EXPECT_EQ(Object()->PointsInUse(), 4);
    EXPECT_GE(Object()->Capacity(), 4);
    // Lowered again: the points in use stay, nothing more is added.
    Put("Points", CComVariant::I2(1));
    ClickAt(40, 60);
    EXPECT_EQ(Object()->PointsInUse(), 4);
    EXPECT_EQ(Object()->Selection(), -1);
    Pixels();
}

// [SECTION] Mouse editing

TEST_F(CurveTest, TheFirstClickIntoAnEmptyCurveAddsAPointAtXZero) {
    // Painted, no points: the x scale is 0, so any click stands for x = 0.
    EXPECT_EQ(Object()->Scale().x, 0.0f);
    ClickAt(90, kBottom - 16);
    EXPECT_EQ(Object()->PointsInUse(), 1);
    EXPECT_EQ(Object()->Selection(), 0);
    const Answer a = GetPoint(0);
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_FLOAT_EQ(a.y, 0.25f);
}

TEST_F(CurveTest, AClickOutsideBothPointsOfAFullCurveChangesNothing) {
    SetPoint(0, 1.0f, 0.25f);
    SetPoint(1, 2.0f, 0.5f);
    Pixels();
    Press(40, 20);
    EXPECT_EQ(Object()->Selection(), -1);
    MoveTo(50, 25);
    MoveTo(60, 30);
    Release();
    EXPECT_EQ(Object()->PointsInUse(), 2);
    EXPECT_EQ(Changed(), 0);
    EXPECT_FLOAT_EQ(GetPoint(0).x, 1.0f);
    EXPECT_FLOAT_EQ(GetPoint(1).x, 2.0f);
}

TEST_F(CurveTest, WithoutYLockADragFiresChangedOnEveryMoveButMovesNothing) {
    SetPoint(0, 10.0f, 0.5f); // x scale 0.11: device (20 + 90, 74 - 32)
    Pixels();
    Press(110, 42);
    ASSERT_EQ(Object()->Selection(), 0);
    MoveTo(90, 42);
    MoveTo(70, 40);
    MoveTo(50, 44);
    Release();
    ASSERT_EQ(Changed(), 3);
    for (const auto& e : events.fired)
        if (e.id == CCurveCtrl::kEventChanged) {
            ASSERT_EQ(e.args.size(), 1u);
            EXPECT_EQ(e.args[0].vt, VT_I2);
            EXPECT_EQ(e.args[0].iVal, 0);
        }
    EXPECT_EQ(GetPoint(0).x, 10.0f);
    EXPECT_EQ(GetPoint(0).y, 0.5f);
    // Moves after the release fire nothing more.
    MoveTo(60, 42);
    EXPECT_EQ(Changed(), 3);
}

TEST_F(CurveTest, WithYLockADragMovesXOnlyAndTheScaleWaitsForTheRelease) {
    Put("Flags", CComVariant::I2(CCurveCtrl::kFlagYLock));
    Put("Points", CComVariant::I2(3));
    SetPoint(0, 0.0f, 0.25f);
    SetPoint(1, 10.0f, 0.5f);
    Pixels();
    const float before = Object()->Scale().x;
    Press(110, 42);
    ASSERT_EQ(Object()->Selection(), 1);
    MoveTo(115, 42);
    Pixels(); // painted while dragging
    EXPECT_EQ(Object()->Scale().x, before) << "frozen while the button is down";
    // A host point set during the drag does not rescale either.
    SetPoint(2, 40.0f, 0.75f);
    EXPECT_EQ(Object()->Scale().x, before);
    MoveTo(60, 10);
    EXPECT_FLOAT_EQ(GetPoint(1).x, 40 * before);
    EXPECT_EQ(GetPoint(1).y, 0.5f);
    Release();
    EXPECT_FLOAT_EQ(Object()->Scale().x, 40.0f * 1.1f / 100.0f) << "recomputed on release";
    EXPECT_EQ(Object()->Selection(), 1) << "the selection stays";
    EXPECT_EQ(Changed(), 2);
}

TEST_F(CurveTest, ADraggedXIsRaisedToMinVal) {
    Put("Flags", CComVariant::I2(CCurveCtrl::kFlagYLock));
    Put("MinVal", CComVariant::R4(5.0f));
    SetPoint(0, 10.0f, 0.5f);
    Pixels();
    Press(110, 42);
    MoveTo(30, 42); // x = 10 * 0.11 = 1.1, below the bound
    Release();
    EXPECT_EQ(GetPoint(0).x, 5.0f);
}

// [SECTION] Zero scales

TEST_F(CurveTest, PointsAllAtXZeroLieOnThePlotsLeftEdge) {
    Put("Points", CComVariant::I2(3));
    SetPoint(0, 0.0f, 0.25f);
    SetPoint(1, 0.0f, 0.75f);
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(Object()->Scale().x, 0.0f);
    // The boxes' left sides at plot.left - 3, rows of y 0.25 and 0.75.
    EXPECT_EQ(pixels.Pixel(kLeft - 3, kBottom - 16), kBoxYellow);
    EXPECT_EQ(pixels.Pixel(kLeft - 3, kBottom - 48), kBoxYellow);
    // A click on a box finds the point.
    Press(kLeft + 2, kBottom - 48);
    EXPECT_EQ(Object()->Selection(), 1);
    Release();
}

TEST_F(CurveTest, APlotNarrowerThanItsMarginsDrawsAndTakesClicks) {
    Create(RECT{10, 10, 35, 35}); // 25 x 25: the plot is (20, 10, 15, 5)
    SetPoint(0, 3.0f, 0.5f);
    Pixels();
    EXPECT_EQ(Object()->Scale().x, 0.0f);
    EXPECT_EQ(Object()->Scale().y, 0.0f);
    Put("Flags", CComVariant::I2(CCurveCtrl::kFlagYLock));
    Press(20, 5);
    MoveTo(2, 2);
    Release();
    EXPECT_EQ(Object()->PointsInUse(), 1);
}

// [SECTION] Pixels

TEST_F(CurveTest, TheAxesGridCurveAndBoxesAreDrawnWithTheirPens) {
    Put("Points", CComVariant::I2(3));
    // Off the axes, so that no grid line crosses them.
    SetPoint(0, 1.0f, 0.125f); // device (20 + 9, 66)
    SetPoint(1, 5.0f, 0.25f);  // device (20 + 45, 58)
    SetPoint(2, 10.0f, 0.5f);  // device (20 + 90, 42)
    const SurfaceBuffer pixels = Pixels();
    // Axes: the y axis from the bottom up to just below the top, the x axis
    // along the bottom.
    EXPECT_EQ(pixels.Pixel(kLeft, 30), kBlack);
    EXPECT_EQ(pixels.Pixel(kLeft, kTop + 1), kBlack);
    EXPECT_EQ(pixels.Pixel(90, kBottom), kBlack);
    // Grid: dotted grey along the row of the point at y 0.25, every other
    // pixel between the boxes.
    int grey = 0, other = 0;
    for (int x = kLeft + 4; x < 60; ++x)
        (pixels.Pixel(x, 58) == kGridGrey ? grey : other)++;
    EXPECT_GE(grey, 15);
    EXPECT_GE(other, 15);
    // A box: its outline in the box pen, its inside in the selected brush.
    EXPECT_EQ(pixels.Pixel(65 - 3, 58), kBoxYellow);
    EXPECT_EQ(pixels.Pixel(65 + 2, 58 - 3), kBoxYellow);
    EXPECT_EQ(pixels.Pixel(65, 58), 0xFFFFFFu);
    EXPECT_NE(pixels.Pixel(65 + 3, 58), kBoxYellow);
    // The curve between the points, two pixels wide and solid.
    int red = 0;
    for (int y = 43; y < 57; ++y)
        for (int x = 70; x < 106; ++x)
            red += pixels.Pixel(x, y) == kCurveRed;
    EXPECT_GE(red, 40);
}

TEST_F(CurveTest, ADisabledCurveDrawsItsPensGrey) {
    SetPoint(0, 5.0f, 0.25f);
    Enable(false);
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(pixels.Pixel(kLeft, 30), kGridGrey);
    EXPECT_EQ(pixels.Pixel(kLeft + 90 - 3, 56), kGridGrey) << "the box pen";
    EXPECT_EQ(pixels.Pixel(kLeft + 90 - 2, 55), kGridGrey) << "the box pen";
}

TEST_F(CurveTest, ARedrawnCurveLeavesNoTraceOfItsOldPoints) {
    SetPoint(0, 5.0f, 0.25f); // box at (20 + 90, 58)
    SurfaceBuffer pixels = Pixels();
    ASSERT_EQ(pixels.Pixel(kLeft + 90 - 3, 56), kBoxYellow);
    SetPoint(0, 5.0f, 0.75f); // moves up to row 26
    pixels = Pixels();
    EXPECT_EQ(pixels.Pixel(kLeft + 90 - 3, 26), kBoxYellow);
    // The window class erases the old picture with the button face.
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const std::uint32_t facePixel = (std::uint32_t(GetRValue(face)) << 16) |
                                    (std::uint32_t(GetGValue(face)) << 8) | GetBValue(face);
    EXPECT_EQ(pixels.Pixel(kLeft + 90 - 3, 56), facePixel);
    EXPECT_EQ(pixels.Pixel(kLeft + 40, 58), facePixel) << "the old grid row";
}
