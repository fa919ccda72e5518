// Mouse navigation and fitting of a viewer driven like a user: real input
// through the window manager, the camera read through the viewer's private
// probe, and where it matters the pixels of a drawn list.
#include "tests/support/TestEventSink.h"
#include "tests/views3d/LineViewTestSupport.h"
#include "views3d/LineViewCameraProbe.h"
#include "views3d/ToolpathPreview.h"
#include "views3d/ViewMapping.h"

#include <cmath>

using namespace kw::test;
using kw::user::MouseButton;

namespace {

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr DISPID kZoomChanged = 1;

class ZoomCounter final : public TestEventSink {
public:
    ZoomCounter() : TestEventSink(kw::ids::IID_DLineViewEvents) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        zooms += id == kZoomChanged;
        others += id != kZoomChanged;
        return S_OK;
    }
    int zooms{0};
    int others{0};
};

struct CameraState {
    double window[4]{}; // left, bottom, right, top
    float angles[3]{};
    double Width() const { return window[2] - window[0]; }
    double Height() const { return window[3] - window[1]; }
    bool Finite() const {
        for (double v : window)
            if (!std::isfinite(v))
                return false;
        for (float a : angles)
            if (!std::isfinite(a))
                return false;
        return true;
    }
};

class LineViewNavigationTest : public LineViewTest {
protected:
    void SetUp() override {
        LineViewTest::SetUp();
        m_view = Create();
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(m_view.As(IID_IConnectionPointContainer, &container), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(kw::ids::IID_DLineViewEvents, point.Out()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&events, &cookie), S_OK);
    }

    HWND Hwnd() { return Object(m_view)->GetSafeHwnd(); }
    CameraState Camera() {
        ComPtr<ILineViewCamera> probe;
        EXPECT_EQ(m_view.As(IID_ILineViewCamera, &probe), S_OK);
        CameraState state;
        if (probe) {
            EXPECT_EQ(probe->GetViewWindow(state.window), S_OK);
            EXPECT_EQ(probe->GetViewAngles(state.angles), S_OK);
        }
        return state;
    }
    void Resize(int width, int height) {
        ComPtr<IOleInPlaceObject> inPlace;
        ASSERT_EQ(m_view.As(IID_IOleInPlaceObject, &inPlace), S_OK);
        const RECT rc{10, 10, 10 + width, 10 + height};
        ASSERT_EQ(inPlace->SetObjectRects(&rc, &rc), S_OK);
        session.Pump();
    }
    void Press(MouseButton button, int x, int y) {
        session.MouseMove(Hwnd(), x, y);
        session.MouseDown(button);
    }
    // SetInitialFit(left, right, top, bottom, zo, zu) by name.
    void InitialFit(float left, float right, float top, float bottom, float zo, float zu) {
        std::vector<CComVariant> args;
        for (float v : {left, right, top, bottom, zo, zu})
            args.push_back(CComVariant::R4(v));
        Method("SetInitialFit", std::move(args));
    }
    void MoveTo(int x, int y) { session.MouseMove(Hwnd(), x, y); }
    void Wheel(int x, int y, int notches) {
        SetFocus(Hwnd());
        session.MouseMove(Hwnd(), x, y);
        session.Wheel(notches);
    }
    // A drawn list: a blue vertical line through the origin, or the edges of
    // a box.
    void VerticalLine() {
        Method("BeginList");
        glColor3ub(0, 0, 255);
        glBegin(GL_LINES);
        glVertex3d(0, -0.3, 0);
        glVertex3d(0, 0.3, 0);
        glEnd();
        Method("EndList");
    }
    void BoxEdges(double x0, double y0, double z0, double x1, double y1, double z1) {
        Method("BeginList");
        glColor3ub(0, 0, 255);
        glBegin(GL_LINES);
        auto corner = [&](int i) { glVertex3d(i & 1 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0); };
        // The twelve edges join corners that differ in one coordinate.
        for (int i = 0; i < 8; ++i)
            for (int bit = 1; bit < 8; bit <<= 1)
                if (!(i & bit)) {
                    corner(i);
                    corner(i | bit);
                }
        glEnd();
        Method("EndList");
    }
    // The bounding rectangle of the blue pixels; empty when there are none.
    static RECT BlueBounds(const SurfaceBuffer& p, int width, int height) {
        RECT r{width, height, -1, -1};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (p.Pixel(x, y) == kBlue) {
                    r.left = std::min(r.left, LONG(x)), r.right = std::max(r.right, LONG(x + 1));
                    r.top = std::min(r.top, LONG(y)), r.bottom = std::max(r.bottom, LONG(y + 1));
                }
        return r;
    }
    // The box's picture fills the 200 x 150 client less the 10 % margin in
    // its tighter direction, centred.
    void ExpectFramed(const SurfaceBuffer& p) {
        const RECT r = BlueBounds(p, kWidth, kHeight);
        ASSERT_LT(r.left, r.right) << "the box is shown";
        EXPECT_NEAR((r.left + r.right) / 2.0, kWidth / 2.0, 1.5);
        EXPECT_NEAR((r.top + r.bottom) / 2.0, kHeight / 2.0, 1.5);
        const double w = r.right - r.left, h = r.bottom - r.top;
        EXPECT_TRUE(std::fabs(w - kWidth / 1.1) <= 2 || std::fabs(h - kHeight / 1.1) <= 2)
            << "shown " << w << " x " << h;
        EXPECT_LE(w, kWidth / 1.1 + 2);
        EXPECT_LE(h, kHeight / 1.1 + 2);
    }

    ZoomCounter events;
};

} // namespace

TEST_F(LineViewNavigationTest, AFreshViewerLooksFromTheStartAnglesAtTheHomeWindow) {
    const CameraState fresh = Camera();
    EXPECT_EQ(fresh.angles[0], 290.0f);
    EXPECT_EQ(fresh.angles[1], 0.0f);
    EXPECT_EQ(fresh.angles[2], 300.0f);
    EXPECT_NEAR(fresh.window[0], -0.36397, 1e-5);
    EXPECT_NEAR(fresh.window[1], -0.36397, 1e-5);
    EXPECT_NEAR(fresh.window[2], 0.36397, 1e-5);
    EXPECT_NEAR(fresh.window[3], 0.36397, 1e-5);
    // With no box to fit, neither Fit nor the right button changes it.
    Method("Fit");
    Press(MouseButton::Right, 50, 50);
    session.MouseUp(MouseButton::Right);
    const CameraState after = Camera();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(after.window[i], fresh.window[i]);
    // The probe is not part of the dispatch interface.
    DISPID id = 0;
    const char* name = "GetViewWindow";
    EXPECT_NE(m_view->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
}

TEST_F(LineViewNavigationTest, WheelNotchesZoomAboutTheCursorAndFireOncePerNotch) {
    Resize(150, 150); // the view window's own aspect
    const CameraState before = Camera();
    const POINT cursor{40, 110};
    auto worldUnderCursor = [&](const CameraState& s) {
        CViewMapping mapping;
        mapping.SetWorldWindow(s.window[0], s.window[1], s.window[2], s.window[3]);
        mapping.SetPixelRect(0, 0, 150, 150);
        double x, y;
        mapping.PixelToWorld(cursor.x, cursor.y, &x, &y);
        return std::array<double, 2>{x, y};
    };
    const auto world = worldUnderCursor(before);
    Wheel(cursor.x, cursor.y, 1);
    const CameraState in = Camera();
    EXPECT_EQ(events.zooms, 1);
    EXPECT_NEAR(in.Width() * 1.2, before.Width(), 1e-7);
    EXPECT_NEAR(worldUnderCursor(in)[0], world[0], 1e-12);
    EXPECT_NEAR(worldUnderCursor(in)[1], world[1], 1e-12);
    Wheel(cursor.x, cursor.y, -1);
    const CameraState out = Camera();
    EXPECT_EQ(events.zooms, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(out.window[i], before.window[i], 1e-7) << i;
    EXPECT_NEAR(worldUnderCursor(out)[0], world[0], 1e-12);
    EXPECT_NEAR(worldUnderCursor(out)[1], world[1], 1e-12);
    // A wheel message without a turn changes nothing and fires nothing.
    kw::user::InjectMouseWheel(0);
    session.Pump();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Camera().window[i], out.window[i]);
    // Nothing else fires it: a pan, a step zoom, a turn, a fit.
    Press(MouseButton::Left, 50, 50);
    MoveTo(60, 55);
    session.MouseUp(MouseButton::Left);
    Press(MouseButton::Middle, 50, 50);
    MoveTo(70, 60);
    MoveTo(90, 70);
    session.KeyDown(VK_CONTROL);
    MoveTo(90, 90);
    session.KeyUp(VK_CONTROL);
    session.MouseUp(MouseButton::Middle);
    InitialFit(1.0f, 2.0f, 2.0f, 1.0f, 1.0f, 0.0f);
    Method("Fit");
    EXPECT_EQ(events.zooms, 2);
    EXPECT_EQ(events.others, 0);
}

TEST_F(LineViewNavigationTest, CtrlMiddleDragZoomsInStepsOfMoreThanFivePixels) {
    const CameraState before = Camera();
    Press(MouseButton::Middle, 100, 70);
    session.KeyDown(VK_CONTROL);
    MoveTo(100, 75);
    const CameraState five = Camera();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(five.window[i], before.window[i]) << "5 pixels do nothing";
    MoveTo(100, 76);
    const CameraState six = Camera();
    EXPECT_NEAR(six.Width(), before.Width() * 0.7, 1e-12);
    EXPECT_NEAR(six.Height(), before.Height() * 0.7, 1e-12);
    EXPECT_NEAR(six.window[0] + six.window[2], before.window[0] + before.window[2], 1e-12);
    EXPECT_NEAR(six.window[1] + six.window[3], before.window[1] + before.window[3], 1e-12);
    // Up by more than five from the new anchor: back out.
    MoveTo(100, 69);
    EXPECT_NEAR(Camera().Width(), before.Width(), 1e-12);
    session.KeyUp(VK_CONTROL);
    session.MouseUp(MouseButton::Middle);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Camera().angles[i], before.angles[i]) << "no turn";
}

TEST_F(LineViewNavigationTest, LeftDragMovesTheDrawnSceneWithTheCursor) {
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    VerticalLine();
    const RECT start = BlueBounds(Picture(), kWidth, kHeight);
    ASSERT_LT(start.left, start.right);
    Press(MouseButton::Left, 50, 50);
    MoveTo(60, 50);
    session.MouseUp(MouseButton::Left);
    const RECT once = BlueBounds(Picture(), kWidth, kHeight);
    EXPECT_EQ(once.left, start.left + 10);
    EXPECT_EQ(once.top, start.top);
    // Pressed again at once, the press is a double click: it drags as well.
    Press(MouseButton::Left, 60, 50);
    MoveTo(70, 50);
    session.MouseUp(MouseButton::Left);
    const RECT moved = BlueBounds(Picture(), kWidth, kHeight);
    EXPECT_EQ(moved.left, start.left + 20);
    // In 2D the middle button pans as well, and with Shift in 3D.
    Press(MouseButton::Middle, 70, 50);
    MoveTo(70, 45);
    session.MouseUp(MouseButton::Middle);
    const RECT up = BlueBounds(Picture(), kWidth, kHeight);
    EXPECT_EQ(up.left, moved.left);
    EXPECT_EQ(up.top, moved.top - 5);
    for (float a : Camera().angles)
        EXPECT_EQ(a, 0.0f);
}

TEST_F(LineViewNavigationTest, MiddleDragTurnsFromTheSecondMoveAndReturnsWhenDraggedBack) {
    const CameraState before = Camera();
    Press(MouseButton::Middle, 100, 75);
    MoveTo(120, 75);
    const CameraState first = Camera();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(first.angles[i], before.angles[i]) << "the first move only anchors";
    MoveTo(150, 95);
    const CameraState turned = Camera();
    EXPECT_NE(turned.angles[0], before.angles[0]);
    for (float a : turned.angles) {
        EXPECT_GE(a, 0.0f);
        EXPECT_LT(a, 360.0f);
    }
    MoveTo(120, 75);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(Camera().angles[i], before.angles[i], 1e-3) << i;
    session.MouseUp(MouseButton::Middle);
    // A Shift drag pans and does not turn.
    session.KeyDown(VK_SHIFT);
    Press(MouseButton::Middle, 100, 75);
    MoveTo(110, 75);
    MoveTo(130, 85);
    session.MouseUp(MouseButton::Middle);
    session.KeyUp(VK_SHIFT);
    const CameraState panned = Camera();
    EXPECT_NE(panned.window[0], before.window[0]);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(panned.angles[i], before.angles[i], 1e-3);
}

TEST_F(LineViewNavigationTest, FitFramesTheBoxAndShowsItAtOnce) {
    BoxEdges(0, 0, -10, 100, 50, 20);
    InitialFit(0.0f, 100.0f, 50.0f, 0.0f, 20.0f, -10.0f);
    Picture();
    Method("Fit");
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(Hwnd(), &pending, FALSE)) << "Fit through dispatch repaints";
    ExpectFramed(Picture());
    // Turned, the right button fits again.
    Press(MouseButton::Middle, 100, 75);
    MoveTo(110, 75);
    MoveTo(150, 40);
    session.MouseUp(MouseButton::Middle);
    Press(MouseButton::Right, 100, 75);
    session.MouseUp(MouseButton::Right);
    ExpectFramed(Picture());
}

TEST_F(LineViewNavigationTest, InitialFitIn2DFramesOnlyAnUntouchedView) {
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    InitialFit(0.0f, 100.0f, 50.0f, 0.0f, 0.0f, 0.0f);
    const CameraState framed = Camera();
    EXPECT_NEAR(framed.window[0], -5, 1e-9);
    EXPECT_NEAR(framed.window[1], -2.5, 1e-9);
    EXPECT_NEAR(framed.window[2], 105, 1e-9);
    EXPECT_NEAR(framed.window[3], 52.5, 1e-9);
    InitialFit(0.0f, 10.0f, 10.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Camera().window[i], framed.window[i]) << "a second call does nothing";
    // The 2D call keeps no box: Fit has nothing to fit.
    Method("Fit");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Camera().window[i], framed.window[i]);

    Close(m_view);
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    Press(MouseButton::Left, 50, 50);
    MoveTo(51, 50);
    session.MouseUp(MouseButton::Left);
    const CameraState panned = Camera();
    InitialFit(0.0f, 100.0f, 50.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Camera().window[i], panned.window[i]) << "not after a pan";
}

TEST_F(LineViewNavigationTest, DegenerateSizesLeaveNoUndefinedValueInTheCamera) {
    VerticalLine();
    InitialFit(-0.3f, 0.3f, 0.3f, -0.3f, 0.1f, -0.1f);
    for (SIZE size : {SIZE{1, 1}, SIZE{200, 0}, SIZE{0, 0}, SIZE{1, 150}}) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        Resize(size.cx, size.cy);
        Press(MouseButton::Middle, 0, 0);
        MoveTo(0, 0);
        MoveTo(1, 1);
        MoveTo(0, 40);
        session.KeyDown(VK_CONTROL);
        MoveTo(0, 60);
        MoveTo(0, 0);
        session.KeyUp(VK_CONTROL);
        session.MouseUp(MouseButton::Middle);
        Press(MouseButton::Left, 0, 0);
        MoveTo(3, 3);
        session.MouseUp(MouseButton::Left);
        Wheel(0, 0, 1);
        Wheel(0, 0, -3);
        Press(MouseButton::Right, 0, 0);
        session.MouseUp(MouseButton::Right);
        Method("Fit");
        Picture();
        const CameraState state = Camera();
        ASSERT_TRUE(state.Finite());
        EXPECT_GT(state.Width(), 0);
        EXPECT_GT(state.Height(), 0);
    }
    // Back at a normal size the list is shown again.
    Resize(kWidth, kHeight);
    Method("Fit");
    const RECT shown = BlueBounds(Picture(), kWidth, kHeight);
    EXPECT_LT(shown.left, shown.right);
}

TEST_F(LineViewNavigationTest, ALargeListIsDrawnCoarseOnlyWhileTheViewIsDragged) {
    auto count = [](const SurfaceBuffer& p, std::uint32_t colour) {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                n += p.Pixel(x, y) == colour;
        return n;
    };
    auto same = [](const SurfaceBuffer& a, const SurfaceBuffer& b) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y))
                    return false;
        return true;
    };
    // A press and one move: the view does not turn, but the drag has begun.
    auto duringDrag = [&] {
        Press(MouseButton::Middle, 100, 75);
        MoveTo(101, 75);
        SurfaceBuffer p = Picture();
        session.MouseUp(MouseButton::Middle);
        return p;
    };

    // A small list is drawn as it is, dragged or not.
    VerticalLine();
    const SurfaceBuffer smallStill = Picture();
    EXPECT_TRUE(same(duringDrag(), smallStill));

    // More loose dashes than a preview keeps, so that it keeps every second:
    // the even ones blue on the left, the odd ones red on the right.
    constexpr std::uint32_t kRed = 0xFF0000;
    constexpr int kRows = 200;
    const int dashes = int(kw::views3d::kPreviewSegments) + 10000;
    Method("BeginList");
    glBegin(GL_LINES);
    for (int i = 0; i < dashes; ++i) {
        const int half = i % 2, n = i / 2;
        const double x = (half ? 0.02 : -0.3) + 0.28 * (n / kRows) / (dashes / 2 / kRows);
        const double y = -0.3 + 0.6 * (n % kRows) / kRows;
        glColor3ub(half ? 255 : 0, 0, half ? 0 : 255);
        glVertex3d(x, y, 0);
        glVertex3d(x + 0.002, y, 0);
    }
    glEnd();
    Method("EndList");
    const SurfaceBuffer still = Picture();
    ASSERT_GT(count(still, kRed), 500);
    ASSERT_GT(count(still, kBlue), 500);
    const SurfaceBuffer coarse = duringDrag();
    EXPECT_EQ(count(coarse, kRed), 0) << "the odd dashes are left out while dragging";
    EXPECT_GT(count(coarse, kBlue), count(still, kBlue) / 2);
    EXPECT_TRUE(same(Picture(), still)) << "the full list once the button is up";
    // Pans use it too, and a new list is read afresh.
    Press(MouseButton::Left, 100, 75);
    MoveTo(100, 76);
    MoveTo(100, 75);
    EXPECT_EQ(count(Picture(), kRed), 0);
    session.MouseUp(MouseButton::Left);
    EXPECT_TRUE(same(Picture(), still));
    VerticalLine();
    EXPECT_TRUE(same(duringDrag(), smallStill));
}
