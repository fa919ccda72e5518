#pragma once
// The toolpath viewer's camera as plain arithmetic: the view window and its
// navigation (pan, step zoom, wheel zoom, fit), the projection and the model
// rotation as matrices, the projection of a point to the window, and the
// rotation drag. Nothing here needs a window or a rendering context; the
// control loads the matrices into OpenGL and keeps the state.
//
// Matrices are column-major, in OpenGL's order. Every operation that changes
// the camera returns its result only when it is finite and usable, so that
// no infinite or undefined value ever reaches the camera's state, whatever
// the size of the window.
#include "platform/base/Geometry.h"

#include <array>
#include <optional>

namespace kw::views3d {

// The world rectangle shown, in view coordinates: x to the right and y up
// on the screen, after the model rotation.
struct ViewWindow {
    double left, bottom, right, top;
    bool operator==(const ViewWindow&) const = default;
};

using Mat4 = std::array<double, 16>;
using Mat4f = std::array<float, 16>;
using Mat3f = std::array<float, 9>;
using Vec3f = std::array<float, 3>;
using Quatf = std::array<float, 4>; // x, y, z, w

// Finite, with extents above zero whose inverses are finite as well.
bool IsUsable(const ViewWindow& window);

// What the opening angle shows at the near plane: ±near · tan(fovy / 2).
ViewWindow HomeWindow(double fovyDegrees, double nearPlane);

// [SECTION] Projection and model rotation

struct CameraSetup {
    ViewWindow home{};
    ViewWindow view{};
    double nearPlane{1.0};
    double farPlane{10000.0};
    Vec3f eye{0, 0, 100};
    Vec3f centre{0, 0, 0};
    Vec3f up{0, 1, 0};
};

Mat4 Multiply(const Mat4& a, const Mat4& b);
Mat4 OrthoMatrix(double l, double r, double b, double t, double n, double f);
Mat4 LookAtMatrix(const Vec3f& eye, const Vec3f& centre, const Vec3f& up);
// Shows the view window in a viewport of width x height pixels undistorted:
// the larger of its two extents, against the viewport's aspect, decides.
// An empty viewport counts as square.
Mat4 ZoomMatrix(const ViewWindow& home, const ViewWindow& view, int width, int height);
// Zoom · orthographic projection of the home window · look-at of the eye.
Mat4 ProjectionMatrix(const CameraSetup& camera, int width, int height);

// The rotation about (1, 0, 0) by angle X, then about (0, 1, 0) by Y, then
// about (0, 0, 1) by Z (degrees), each built from its unit quaternion; equal
// to glRotatef of the three in that order.
Mat4f ModelRotation(const Vec3f& anglesDegrees);

// Window coordinates of a point (x, y, z) in a viewport (0, 0, width,
// height), as gluProject gives them (y up from the bottom row); nothing when
// the point does not project.
std::optional<std::array<double, 3>> Project(const Mat4& projection, const Mat4f& model, double x,
                                             double y, double z, int width, int height);

// [SECTION] Navigation

// The scene follows the cursor from p0 to p1. Nothing for an empty client.
std::optional<ViewWindow> PanWindow(const ViewWindow& view, const CRect& client, POINT p0,
                                    POINT p1);
// Width and height times k about the centre.
std::optional<ViewWindow> ZoomWindow(const ViewWindow& view, double k);
// The step zoom's factor: moving down zooms in.
inline double StepZoomFactor(bool down) {
    return down ? 0.7 : 1 / 0.7;
}
// The wheel's factor: 1.2 for a notch away from the user, 1 / 1.2 towards.
// Not defined for a delta of 0.
float WheelFactor(int delta);
// The wheel zoom about the cursor (client coordinates): the world point
// under it stays under it. Nothing for a delta of 0 or an empty client.
std::optional<ViewWindow> WheelZoomWindow(const ViewWindow& view, const CRect& client, POINT cursor,
                                          int delta);

// [SECTION] Fit

// The host's box: x minimum, y maximum, x maximum, y minimum, lower z,
// upper z, as given; minima and maxima are taken in pixels.
struct FitBox {
    double left{0}, top{0}, right{0}, bottom{0}, zu{0}, zo{0};
    // No extent on any axis: never set, or a single point.
    bool IsEmpty() const { return right - left == 0 && bottom - top == 0 && zo - zu == 0; }
};

// The view window in which the box, seen through the camera and the model
// rotation, fills the client with a margin of 10 % in its tighter
// direction, centred. Nothing for an empty box or client, or a box that
// projects to a point.
std::optional<ViewWindow> FitWindow(const CameraSetup& camera, const Vec3f& angles,
                                    const FitBox& box, const CRect& client);

// The 2D framing of x from left to right and y from bottom to top, 10 %
// larger, centred; nothing for a range without extent.
std::optional<ViewWindow> InitialFit2D(float left, float right, float top, float bottom);

// [SECTION] Rotation drag

// The pixel on the virtual sphere over the client: inside the circle on the
// sphere, outside it on the rim.
Vec3f SpherePoint(float x, float y, float horizontalAdjust, float verticalAdjust);
// The turn from one sphere point to another (twice their angle); all zero
// when they are (nearly) parallel.
Quatf ArcballQuaternion(const Vec3f& from, const Vec3f& to);
// The rotation of a quaternion of any length; the identity for zero.
Mat3f QuaternionMatrix(const Quatf& q);
// View angles X, Y, Z in degrees in [0, 360) of a rotation built as
// ModelRotation builds it. Near Y = ±90° X is 0 and Z carries the turn.
Vec3f AnglesFromMatrix(const Mat4f& m);

// One drag of the middle button: the first point only anchors it; each
// later point gives the view angles of the whole turn since then.
class RotationDrag {
public:
    void Begin(float x, float y, int width, int height, const Vec3f& angles);
    // The angles at (x, y); nothing when not dragging.
    std::optional<Vec3f> Step(float x, float y);
    void End() { m_dragging = false; }
    bool Dragging() const { return m_dragging; }

private:
    bool m_dragging{false};
    Vec3f m_start{};
    float m_horizontalAdjust{0};
    float m_verticalAdjust{0};
    Mat3f m_last{1, 0, 0, 0, 1, 0, 0, 0, 1};
    Mat4f m_transform{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

} // namespace kw::views3d
