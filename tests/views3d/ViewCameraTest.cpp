// The viewer's camera arithmetic without a window: matrices against
// references built another way, navigation that keeps the right world point
// under the cursor, the one-step fit, and the rotation drag.
#include "views3d/ViewCamera.h"
#include "views3d/ViewMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kw::views3d;

namespace {

constexpr double kPi = 3.14159265358979323846;
const ViewWindow kHome = HomeWindow(40, 1.0);

CameraSetup CameraFor(const ViewWindow& view) {
    CameraSetup camera;
    camera.home = kHome;
    camera.view = view;
    return camera;
}

// The three rotations written out with sines and cosines, multiplied in
// double: the reference for the quaternion build.
Mat4 ReferenceRotation(double x, double y, double z) {
    auto rad = [](double d) { return d * kPi / 180; };
    const double cx = std::cos(rad(x)), sx = std::sin(rad(x));
    const double cy = std::cos(rad(y)), sy = std::sin(rad(y));
    const double cz = std::cos(rad(z)), sz = std::sin(rad(z));
    const Mat4 rx{1, 0, 0, 0, 0, cx, sx, 0, 0, -sx, cx, 0, 0, 0, 0, 1};
    const Mat4 ry{cy, 0, -sy, 0, 0, 1, 0, 0, sy, 0, cy, 0, 0, 0, 0, 1};
    const Mat4 rz{cz, sz, 0, 0, -sz, cz, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    return Multiply(Multiply(rx, ry), rz);
}

void ExpectRotationNear(const Mat4f& m, const Mat4& reference, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], reference[i], tolerance) << "element " << i;
}

// Where a world point of the viewing plane is shown, in client pixels (y
// down), with no model rotation.
std::array<double, 2> PixelOf(const ViewWindow& view, const CRect& client, double x, double y) {
    static const Mat4f identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const auto w = Project(ProjectionMatrix(CameraFor(view), client.Width(), client.Height()),
                           identity, x, y, 0, client.Width(), client.Height());
    EXPECT_TRUE(w.has_value());
    return {(*w)[0], client.Height() - (*w)[1]};
}

std::array<double, 2> WorldOf(const ViewWindow& view, const CRect& client, POINT p) {
    CViewMapping mapping;
    mapping.SetWorldWindow(view.left, view.bottom, view.right, view.top);
    mapping.SetPixelRect(client.left, client.top, client.right, client.bottom);
    double x, y;
    mapping.PixelToWorld(p.x, p.y, &x, &y);
    return {x, y};
}

bool InDegreeRange(const Vec3f& angles) {
    for (float a : angles)
        if (!(a >= 0 && a < 360))
            return false;
    return true;
}

} // namespace

TEST(ViewCameraTest, HomeWindowIsWhatTheOpeningAngleShowsAtTheNearPlane) {
    EXPECT_NEAR(kHome.right, 0.36397, 1e-5);
    EXPECT_EQ(kHome.left, -kHome.right);
    EXPECT_EQ(kHome.bottom, -kHome.top);
    EXPECT_EQ(kHome.top, kHome.right);
}

TEST(ViewCameraTest, ModelRotationEqualsTheThreeAxisRotationsInOrder) {
    const float cases[][3] = {{290, 0, 300}, {0, 0, 0}, {30, 45, 60}, {-10, 80, 200}, {0, 90, 0}};
    for (const auto& a : cases) {
        SCOPED_TRACE(testing::Message() << a[0] << ", " << a[1] << ", " << a[2]);
        ExpectRotationNear(ModelRotation({a[0], a[1], a[2]}), ReferenceRotation(a[0], a[1], a[2]),
                           1e-6);
    }
}

TEST(ViewCameraTest, AnglesComeBackFromTheRotationInDegreeRange) {
    for (float x = 0; x < 360; x += 37)
        for (float y : {-80.0f, -45.0f, 0.0f, 10.0f, 60.0f, 85.0f})
            for (float z = 0; z < 360; z += 53) {
                const Vec3f back = AnglesFromMatrix(ModelRotation({x, y, z}));
                EXPECT_TRUE(InDegreeRange(back)) << back[0] << " " << back[1] << " " << back[2];
                EXPECT_NEAR(back[0], x, 1e-3) << x << " " << y << " " << z;
                EXPECT_NEAR(back[1], y < 0 ? y + 360 : y, 1e-3);
                EXPECT_NEAR(back[2], z, 1e-3);
            }
    // A turn a hair below zero rounds to 360 in float; it is shown as 0.
    EXPECT_EQ(AnglesFromMatrix(ModelRotation({0, 0, -1e-6f}))[2], 0.0f);
}

TEST(ViewCameraTest, NearNinetyDegreesYTheTurnIsCarriedByZ) {
    for (float y : {90.0f, -90.0f, 89.8f, -89.8f})
        for (float x : {0.0f, 25.0f, 300.0f}) {
            SCOPED_TRACE(testing::Message() << "x " << x << " y " << y);
            const Mat4f m = ModelRotation({x, y, 40});
            const Vec3f back = AnglesFromMatrix(m);
            EXPECT_EQ(back[0], 0.0f);
            EXPECT_TRUE(InDegreeRange(back));
            // At exactly ±90° nothing is lost: the same rotation.
            if (std::fabs(y) == 90.0f)
                ExpectRotationNear(ModelRotation(back), ReferenceRotation(x, y, 40), 1e-4);
        }
}

TEST(ViewCameraTest, ProjectionShowsTheViewWindowUndistortedAndCentred) {
    const CRect client(0, 0, 200, 150);
    // Taller than the client: the height decides; wider: the width decides.
    const ViewWindow tall{-0.2, -0.5, 0.6, 0.3};
    const ViewWindow wide{-1.0, 0.1, 2.0, 0.5};
    for (const ViewWindow& v : {kHome, tall, wide}) {
        const double cx = (v.left + v.right) / 2, cy = (v.bottom + v.top) / 2;
        const auto centre = PixelOf(v, client, cx, cy);
        EXPECT_NEAR(centre[0], 100, 1e-9);
        EXPECT_NEAR(centre[1], 75, 1e-9);
        const auto topRight = PixelOf(v, client, v.right, v.top);
        const double sx = (topRight[0] - centre[0]) / (v.right - cx);
        const double sy = (centre[1] - topRight[1]) / (v.top - cy);
        EXPECT_NEAR(sx, sy, 1e-9) << "the same scale on both axes";
        // The tighter extent touches the client's edges, the other fits.
        EXPECT_TRUE(std::fabs(topRight[0] - 200) < 1e-9 || std::fabs(topRight[1]) < 1e-9);
        EXPECT_LE(topRight[0], 200 + 1e-9);
        EXPECT_GE(topRight[1], -1e-9);
    }
    // The projection equals an orthographic projection of the visible
    // rectangle from the eye.
    const Mat4 p = ProjectionMatrix(CameraFor(tall), 200, 150);
    const double h = 0.8, w = h * 200 / 150, cx = 0.2, cy = -0.1;
    Mat4 translate{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -100, 1};
    const Mat4 reference =
        Multiply(OrthoMatrix(cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2, 1, 10000), translate);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(p[i], reference[i], 1e-9) << "element " << i;
}

TEST(ViewCameraTest, PanMovesTheSceneWithTheCursor) {
    const CRect client(0, 0, 200, 150);
    const POINT from{60, 40}, to{70, 40};
    const auto world = WorldOf(kHome, client, from);
    const auto panned = PanWindow(kHome, client, from, to);
    ASSERT_TRUE(panned);
    const auto shown = PixelOf(*panned, client, world[0], world[1]);
    EXPECT_NEAR(shown[0], 70, 1e-9);
    EXPECT_NEAR(shown[1], 40, 1e-9);
    EXPECT_FALSE(PanWindow(kHome, CRect(0, 0, 200, 0), from, to)) << "an empty client";
}

TEST(ViewCameraTest, WheelNotchesZoomAboutTheCursorAndUndoEachOther) {
    EXPECT_FLOAT_EQ(WheelFactor(120), 1.2f);
    EXPECT_FLOAT_EQ(WheelFactor(-120), 1 / 1.2f);
    EXPECT_FLOAT_EQ(WheelFactor(240), 2.4f);
    const CRect client(0, 0, 200, 200);
    const POINT cursor{37, 150};
    const auto world = WorldOf(kHome, client, cursor);
    const auto in = WheelZoomWindow(kHome, client, cursor, 120);
    ASSERT_TRUE(in);
    // The factor is a float: the notches undo each other to its precision.
    EXPECT_NEAR((in->right - in->left) * 1.2, kHome.right - kHome.left, 1e-7);
    const auto afterIn = WorldOf(*in, client, cursor);
    EXPECT_NEAR(afterIn[0], world[0], 1e-12);
    EXPECT_NEAR(afterIn[1], world[1], 1e-12);
    const auto out = WheelZoomWindow(*in, client, cursor, -120);
    ASSERT_TRUE(out);
    EXPECT_NEAR(out->left, kHome.left, 1e-7);
    EXPECT_NEAR(out->bottom, kHome.bottom, 1e-7);
    EXPECT_NEAR(out->right, kHome.right, 1e-7);
    EXPECT_NEAR(out->top, kHome.top, 1e-7);
    const auto afterOut = WorldOf(*out, client, cursor);
    EXPECT_NEAR(afterOut[0], world[0], 1e-12);
    EXPECT_NEAR(afterOut[1], world[1], 1e-12);
    // No turn, or nothing shown: no zoom.
    EXPECT_FALSE(WheelZoomWindow(kHome, client, cursor, 0));
    EXPECT_FALSE(WheelZoomWindow(kHome, CRect(0, 0, 200, 0), cursor, 120));
}

TEST(ViewCameraTest, ZoomingNeverLeavesAnUnusableWindow) {
    EXPECT_EQ(StepZoomFactor(true), 0.7);
    EXPECT_EQ(StepZoomFactor(false), 1.4285714285714286);
    const auto step = ZoomWindow(ViewWindow{0, 0, 2, 1}, 0.7);
    ASSERT_TRUE(step);
    EXPECT_NEAR(step->left, 0.3, 1e-12);
    EXPECT_NEAR(step->right, 1.7, 1e-12);
    EXPECT_NEAR(step->bottom, 0.15, 1e-12);
    EXPECT_NEAR(step->top, 0.85, 1e-12);
    for (double k : {0.7, 1 / 0.7, 1e-30, 1e30}) {
        ViewWindow view = kHome;
        int refused = 0;
        for (int i = 0; i < 3000; ++i) {
            if (const auto next = ZoomWindow(view, k))
                view = *next;
            else
                ++refused;
            ASSERT_TRUE(IsUsable(view)) << "k " << k << " step " << i;
        }
        EXPECT_GT(refused, 0) << "k " << k << ": the zoom stops somewhere";
    }
}

TEST(ViewCameraTest, FitFramesTheTurnedBoxWithATenPercentMargin) {
    const CRect client(0, 0, 200, 150);
    const FitBox box{-10, 40, 90, -20, -5, 15}; // left, top, right, bottom, zu, zo
    for (const Vec3f& angles : {Vec3f{290, 0, 300}, Vec3f{0, 0, 0}, Vec3f{33, 71, 140}}) {
        SCOPED_TRACE(testing::Message() << angles[0] << " " << angles[1] << " " << angles[2]);
        CameraSetup camera = CameraFor(kHome);
        const auto fitted = FitWindow(camera, angles, box, client);
        ASSERT_TRUE(fitted);
        camera.view = *fitted;
        const Mat4 p = ProjectionMatrix(camera, 200, 150);
        const Mat4f m = ModelRotation(angles);
        double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
        for (double x : {box.left, box.right})
            for (double y : {box.bottom, box.top})
                for (double z : {box.zu, box.zo}) {
                    const auto w = Project(p, m, x, y, z, 200, 150);
                    ASSERT_TRUE(w);
                    x0 = std::min(x0, (*w)[0]), x1 = std::max(x1, (*w)[0]);
                    y0 = std::min(y0, (*w)[1]), y1 = std::max(y1, (*w)[1]);
                }
        EXPECT_NEAR((x0 + x1) / 2, 100, 1e-3);
        EXPECT_NEAR((y0 + y1) / 2, 75, 1e-3);
        const double w = (x1 - x0) * 1.1, h = (y1 - y0) * 1.1;
        EXPECT_LE(w, 200 + 1e-3);
        EXPECT_LE(h, 150 + 1e-3);
        EXPECT_TRUE(std::fabs(w - 200) < 1e-3 || std::fabs(h - 150) < 1e-3) << w << " x " << h;
        // Fitting again from there changes nothing.
        const auto again = FitWindow(camera, angles, box, client);
        ASSERT_TRUE(again);
        EXPECT_NEAR(again->left, fitted->left, 1e-4);
        EXPECT_NEAR(again->top, fitted->top, 1e-4);
        // Edges given the other way round fit the same.
        const FitBox swapped{box.right, box.bottom, box.left, box.top, box.zo, box.zu};
        const auto same = FitWindow(CameraFor(kHome), angles, swapped, client);
        ASSERT_TRUE(same);
        EXPECT_NEAR(same->left, fitted->left, 1e-4);
        EXPECT_NEAR(same->right, fitted->right, 1e-4);
    }
}

TEST(ViewCameraTest, FitTakesFlatBoxesAndRefusesPointsAndEmptyClients) {
    const CRect client(0, 0, 200, 150);
    const Vec3f turned{290, 0, 300};
    EXPECT_TRUE(FitWindow(CameraFor(kHome), turned, FitBox{0, 50, 100, 0, 3, 3}, client))
        << "flat in z";
    EXPECT_TRUE(FitWindow(CameraFor(kHome), turned, FitBox{5, 50, 5, 0, 0, 0}, client))
        << "no width in x";
    EXPECT_FALSE(FitWindow(CameraFor(kHome), turned, FitBox{}, client)) << "never set";
    EXPECT_FALSE(FitWindow(CameraFor(kHome), {0, 0, 0}, FitBox{1, 2, 1, 2, 0, 9}, client))
        << "seen end-on, a line in z projects to a point";
    EXPECT_FALSE(FitWindow(CameraFor(kHome), turned, FitBox{0, 50, 100, 0, 0, 1}, CRect()));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(FitWindow(CameraFor(kHome), turned, FitBox{0, 50, nan, 0, 0, 1}, client));
}

TEST(ViewCameraTest, InitialFitIn2DFramesTheRangeTenPercentLarger) {
    const auto framed = InitialFit2D(0, 100, 50, 0);
    ASSERT_TRUE(framed);
    EXPECT_NEAR(framed->left, -5, 1e-12);
    EXPECT_NEAR(framed->right, 105, 1e-12);
    EXPECT_NEAR(framed->bottom, -2.5, 1e-12);
    EXPECT_NEAR(framed->top, 52.5, 1e-12);
    EXPECT_FALSE(InitialFit2D(3, 3, 50, 0));
    EXPECT_FALSE(InitialFit2D(0, 100, 7, 7));
    EXPECT_FALSE(InitialFit2D(0, std::numeric_limits<float>::infinity(), 50, 0));
}

TEST(ViewCameraTest, RotationDragTurnsFromTheSecondPointAndReturnsWhenDraggedBack) {
    const Vec3f start{290, 0, 300};
    RotationDrag drag;
    EXPECT_FALSE(drag.Step(10, 10)) << "not dragging";
    drag.Begin(100, 75, 201, 151, start);
    const auto same = drag.Step(100, 75);
    ASSERT_TRUE(same);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((*same)[i], start[i], 1e-3);
    for (int x = 100; x <= 400; x += 25) {
        const auto turned = drag.Step(float(x), 75 + float(x) / 3);
        ASSERT_TRUE(turned);
        EXPECT_TRUE(InDegreeRange(*turned));
    }
    const auto back = drag.Step(100, 75);
    ASSERT_TRUE(back);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((*back)[i], start[i], 1e-3);
    drag.End();
    EXPECT_FALSE(drag.Step(120, 75));
}

TEST(ViewCameraTest, RotationDragTurnsTheSceneTheWayTheMouseGoes) {
    // From the centre a quarter of the way right: the point nearest the
    // viewer moves right and the scene turns about the screen's y axis.
    RotationDrag drag;
    drag.Begin(100, 100, 201, 201, {0, 0, 0});
    const auto angles = drag.Step(150, 100);
    ASSERT_TRUE(angles);
    const Mat4f m = ModelRotation(*angles);
    // The image of (0, 0, 1): the third column.
    EXPECT_GT(m[8], 0.5f);
    EXPECT_NEAR(m[9], 0, 1e-5);
    EXPECT_NEAR(m[5], 1, 1e-5) << "y stays";
    // The arcball turns by twice the angle between the sphere points.
    const double between = std::acos(std::sqrt(1 - 0.25));
    EXPECT_NEAR(std::asin(m[8]), 2 * between, 1e-4);
}

TEST(ViewCameraTest, RotationDragOnADegenerateWindowStaysFinite) {
    const Vec3f start{290, 0, 300};
    for (SIZE size : {SIZE{1, 1}, SIZE{0, 0}, SIZE{200, 0}, SIZE{1, 150}}) {
        // Without extent in either direction there is no sphere to turn.
        const bool still = size.cx <= 1 && size.cy <= 1;
        RotationDrag drag;
        drag.Begin(0, 0, size.cx, size.cy, start);
        for (float p : {0.0f, 1.0f, 50.0f, -30.0f}) {
            SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy << " at " << p);
            const auto angles = drag.Step(p, p * 2);
            ASSERT_TRUE(angles);
            EXPECT_TRUE(InDegreeRange(*angles));
            for (int i = 0; still && i < 3; ++i)
                EXPECT_NEAR((*angles)[i], start[i], 1e-3);
        }
    }
}
