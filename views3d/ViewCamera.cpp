#include "views3d/ViewCamera.h"

#include "views3d/ViewMapping.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace kw::views3d {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Mat4 kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

bool Finite(double v) {
    return std::isfinite(v);
}

template <class Array> bool AllFinite(const Array& values) {
    return std::all_of(values.begin(), values.end(), [](auto v) { return Finite(double(v)); });
}

std::optional<ViewWindow> Usable(const ViewWindow& window) {
    if (!IsUsable(window))
        return std::nullopt;
    return window;
}

bool IsEmpty(const CRect& client) {
    return client.Width() < 1 || client.Height() < 1;
}

CViewMapping MappingFor(const ViewWindow& view, const CRect& client) {
    CViewMapping mapping;
    mapping.SetWorldWindow(view.left, view.bottom, view.right, view.top);
    mapping.SetPixelRect(client.left, client.top, client.right, client.bottom);
    return mapping;
}

// The world rectangle of two pixel corners.
ViewWindow WorldRect(const CViewMapping& mapping, double x0, double y0, double x1, double y1) {
    double ax, ay, bx, by;
    mapping.PixelToWorld(x0, y0, &ax, &ay);
    mapping.PixelToWorld(x1, y1, &bx, &by);
    return ViewWindow{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
}

Mat3f Multiply3(const Mat3f& a, const Mat3f& b) {
    Mat3f r{};
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) {
            float sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += a[k * 3 + row] * b[col * 3 + k];
            r[col * 3 + row] = sum;
        }
    return r;
}

Mat3f AxisRotation(float degrees, float ax, float ay, float az) {
    const double half = degrees * kPi / 180 / 2;
    const float s = float(std::sin(half));
    return QuaternionMatrix(Quatf{ax * s, ay * s, az * s, float(std::cos(half))});
}

float Degrees(double radians) {
    float degrees = float(radians * 180 / kPi);
    if (degrees < 0)
        degrees += 360;
    // A tiny negative angle rounds to 360 itself.
    if (degrees >= 360)
        degrees = 0;
    return degrees;
}

} // namespace

bool IsUsable(const ViewWindow& w) {
    const double width = w.right - w.left;
    const double height = w.top - w.bottom;
    return Finite(w.left) && Finite(w.right) && Finite(w.bottom) && Finite(w.top) && width > 0 &&
           height > 0 && Finite(width) && Finite(height) && Finite(1 / width) && Finite(1 / height);
}

ViewWindow HomeWindow(double fovyDegrees, double nearPlane) {
    const double t = nearPlane * std::tan(fovyDegrees / 2 * kPi / 180);
    return ViewWindow{-t, -t, t, t};
}

// [SECTION] Projection and model rotation

Mat4 Multiply(const Mat4& a, const Mat4& b) {
    Mat4 r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    return r;
}

Mat4 OrthoMatrix(double l, double r, double b, double t, double n, double f) {
    Mat4 m = kIdentity;
    m[0] = 2 / (r - l);
    m[5] = 2 / (t - b);
    m[10] = -2 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    return m;
}

Mat4 LookAtMatrix(const Vec3f& eye, const Vec3f& centre, const Vec3f& up) {
    double f[3] = {double(centre[0]) - eye[0], double(centre[1]) - eye[1],
                   double(centre[2]) - eye[2]};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl > 0)
        f[0] /= fl, f[1] /= fl, f[2] /= fl;
    double s[3] = {f[1] * up[2] - f[2] * up[1], f[2] * up[0] - f[0] * up[2],
                   f[0] * up[1] - f[1] * up[0]};
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl > 0)
        s[0] /= sl, s[1] /= sl, s[2] /= sl;
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                         s[0] * f[1] - s[1] * f[0]};
    Mat4 m = kIdentity;
    for (int i = 0; i < 3; ++i) {
        m[i * 4 + 0] = s[i];
        m[i * 4 + 1] = u[i];
        m[i * 4 + 2] = -f[i];
    }
    Mat4 translate = kIdentity;
    translate[12] = -eye[0];
    translate[13] = -eye[1];
    translate[14] = -eye[2];
    return Multiply(m, translate);
}

Mat4 ZoomMatrix(const ViewWindow& home, const ViewWindow& view, int width, int height) {
    const double aspect = width > 0 && height > 0 ? double(width) / height : 1.0;
    const double homeWidth = home.right - home.left;
    const double sx = homeWidth / (view.right - view.left);
    const double sy = homeWidth / (view.top - view.bottom);
    const double zx = sx * aspect <= sy ? sx : sy / aspect;
    const double zy = zx * aspect;
    const double cx = (view.left + view.right) / 2;
    const double cy = (view.bottom + view.top) / 2;
    Mat4 zoom = kIdentity;
    zoom[0] = zx;
    zoom[5] = zy;
    zoom[12] = -2 * zx * cx / homeWidth;
    zoom[13] = -2 * zy * cy / homeWidth;
    // The camera never holds an unusable window; this keeps the matrix
    // finite for any caller all the same.
    return AllFinite(zoom) ? zoom : kIdentity;
}

Mat4 ProjectionMatrix(const CameraSetup& camera, int width, int height) {
    const ViewWindow& h = camera.home;
    return Multiply(
        Multiply(ZoomMatrix(h, camera.view, width, height),
                 OrthoMatrix(h.left, h.right, h.bottom, h.top, camera.nearPlane, camera.farPlane)),
        LookAtMatrix(camera.eye, camera.centre, camera.up));
}

Mat4f ModelRotation(const Vec3f& angles) {
    const Mat3f r =
        Multiply3(Multiply3(AxisRotation(angles[0], 1, 0, 0), AxisRotation(angles[1], 0, 1, 0)),
                  AxisRotation(angles[2], 0, 0, 1));
    Mat4f m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            m[col * 4 + row] = r[col * 3 + row];
    return m;
}

std::optional<std::array<double, 3>> Project(const Mat4& projection, const Mat4f& model, double x,
                                             double y, double z, int width, int height) {
    const double in[4] = {x, y, z, 1};
    double eye[4] = {};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k)
            eye[row] += double(model[k * 4 + row]) * in[k];
    double clip[4] = {};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k)
            clip[row] += projection[k * 4 + row] * eye[k];
    if (clip[3] == 0)
        return std::nullopt;
    const std::array<double, 3> window{(clip[0] / clip[3] + 1) * width / 2,
                                       (clip[1] / clip[3] + 1) * height / 2,
                                       (clip[2] / clip[3] + 1) / 2};
    if (!AllFinite(window))
        return std::nullopt;
    return window;
}

// [SECTION] Navigation

std::optional<ViewWindow> PanWindow(const ViewWindow& view, const CRect& client, POINT p0,
                                    POINT p1) {
    if (IsEmpty(client))
        return std::nullopt;
    const CViewMapping mapping = MappingFor(view, client);
    double x0, y0, x1, y1;
    mapping.PixelToWorld(p0.x, p0.y, &x0, &y0);
    mapping.PixelToWorld(p1.x, p1.y, &x1, &y1);
    const double dx = x0 - x1, dy = y0 - y1;
    return Usable(ViewWindow{view.left + dx, view.bottom + dy, view.right + dx, view.top + dy});
}

std::optional<ViewWindow> ZoomWindow(const ViewWindow& view, double k) {
    const double cx = (view.left + view.right) / 2, cy = (view.bottom + view.top) / 2;
    const double w = (view.right - view.left) * k, h = (view.top - view.bottom) * k;
    return Usable(ViewWindow{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2});
}

float WheelFactor(int delta) {
    return delta > 0 ? float(delta) * 0.01f : 100.0f / float(-delta);
}

std::optional<ViewWindow> WheelZoomWindow(const ViewWindow& view, const CRect& client, POINT cursor,
                                          int delta) {
    // No turn of the wheel, no zoom: the factor would be infinite.
    if (delta == 0 || IsEmpty(client))
        return std::nullopt;
    const double f = WheelFactor(delta);
    const double cx = (client.left + client.right) / 2.0, cy = (client.top + client.bottom) / 2.0;
    const double w = client.Width() / f, h = (client.top - client.bottom) / f;
    CViewMapping mapping = MappingFor(view, client);
    double x0, y0;
    mapping.PixelToWorld(cursor.x, cursor.y, &x0, &y0);
    ViewWindow zoomed = WorldRect(mapping, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2);
    // The world point under the cursor stays under it.
    mapping.SetWorldWindow(zoomed.left, zoomed.bottom, zoomed.right, zoomed.top);
    double x1, y1;
    mapping.PixelToWorld(cursor.x, cursor.y, &x1, &y1);
    zoomed.left += x0 - x1, zoomed.right += x0 - x1;
    zoomed.bottom += y0 - y1, zoomed.top += y0 - y1;
    return Usable(zoomed);
}

// [SECTION] Fit

std::optional<ViewWindow> FitWindow(const CameraSetup& camera, const Vec3f& angles,
                                    const FitBox& box, const CRect& client) {
    const std::array<double, 6> values{box.left, box.top, box.right, box.bottom, box.zu, box.zo};
    if (box.IsEmpty() || !AllFinite(values) || IsEmpty(client))
        return std::nullopt;
    const int width = client.Width(), height = client.Height();
    const Mat4 projection = ProjectionMatrix(camera, width, height);
    const Mat4f model = ModelRotation(angles);
    const double corners[8][3] = {
        {box.left, box.bottom, box.zu}, {box.left, box.top, box.zu},
        {box.right, box.top, box.zu},   {box.right, box.bottom, box.zu},
        {box.left, box.bottom, box.zo}, {box.left, box.top, box.zo},
        {box.right, box.top, box.zo},   {box.right, box.bottom, box.zo},
    };
    float xMin = FLT_MAX, yMax = -FLT_MAX, xMax = -FLT_MAX, yMin = FLT_MAX;
    for (const auto& c : corners) {
        const auto w =
            Project(projection, model, float(c[0]), float(c[1]), float(c[2]), width, height);
        if (!w)
            return std::nullopt;
        // Window y runs up, pixel y down.
        const float x = float((*w)[0]), y = float(height - (*w)[1]);
        xMin = std::min(xMin, x), xMax = std::max(xMax, x);
        yMin = std::min(yMin, y), yMax = std::max(yMax, y);
    }
    // A margin of 10 % about the centre.
    const double cx = (double(xMin) + xMax) / 2, cy = (double(yMin) + yMax) / 2;
    const double w = (double(xMax) - xMin) * 1.1, h = (double(yMax) - yMin) * 1.1;
    const CViewMapping mapping = MappingFor(camera.view, client);
    return Usable(WorldRect(mapping, cx - w / 2, cy + h / 2, cx + w / 2, cy - h / 2));
}

std::optional<ViewWindow> InitialFit2D(float left, float right, float top, float bottom) {
    const std::array<float, 4> values{left, right, top, bottom};
    if (!AllFinite(values) || left - right == 0 || top - bottom == 0)
        return std::nullopt;
    const double cx = (double(right) + left) / 2, cy = (double(top) + bottom) / 2;
    const double w = (double(right) - left) * 1.1, h = (double(top) - bottom) * 1.1;
    // Either order of the edges gives the same window.
    return Usable(ViewWindow{std::min(cx - w / 2, cx + w / 2), std::min(cy - h / 2, cy + h / 2),
                             std::max(cx - w / 2, cx + w / 2), std::max(cy - h / 2, cy + h / 2)});
}

// [SECTION] Rotation drag

Vec3f SpherePoint(float x, float y, float horizontalAdjust, float verticalAdjust) {
    const float px = x * horizontalAdjust - 1;
    const float py = 1 - y * verticalAdjust;
    const float length = px * px + py * py;
    if (length > 1) {
        const float norm = std::sqrt(length);
        return Vec3f{px / norm, py / norm, 0};
    }
    return Vec3f{px, py, std::sqrt(1 - length)};
}

Quatf ArcballQuaternion(const Vec3f& a, const Vec3f& b) {
    const Vec3f p{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    if (std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]) > 1e-5f)
        return Quatf{p[0], p[1], p[2], a[0] * b[0] + a[1] * b[1] + a[2] * b[2]};
    return Quatf{0, 0, 0, 0};
}

Mat3f QuaternionMatrix(const Quatf& q) {
    const float n = q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3];
    const float s = n > 0 ? 2 / n : 0;
    const float xs = q[0] * s, ys = q[1] * s, zs = q[2] * s;
    const float wx = q[3] * xs, wy = q[3] * ys, wz = q[3] * zs;
    const float xx = q[0] * xs, xy = q[0] * ys, xz = q[0] * zs;
    const float yy = q[1] * ys, yz = q[1] * zs, zz = q[2] * zs;
    return Mat3f{1 - (yy + zz), xy + wz, xz - wy, xy - wz,      1 - (xx + zz),
                 yz + wx,       xz + wy, yz - wx, 1 - (xx + yy)};
}

Vec3f AnglesFromMatrix(const Mat4f& m) {
    const double sinY = std::clamp(double(m[8]), -1.0, 1.0);
    const double y = std::asin(sinY);
    const double c = std::cos(y);
    double x, z;
    if (std::fabs(c) <= 0.005) {
        x = 0;
        z = std::atan2(double(m[1]), double(m[5]));
    } else {
        x = std::atan2(-m[9] / c, m[10] / c);
        z = std::atan2(-m[4] / c, m[0] / c);
    }
    return Vec3f{Degrees(x), Degrees(y), Degrees(z)};
}

void RotationDrag::Begin(float x, float y, int width, int height, const Vec3f& angles) {
    const Mat4f model = ModelRotation(angles);
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            m_last[col * 3 + row] = model[col * 4 + row];
    m_transform = Mat4f{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // A window of one pixel or none has no sphere to turn: every point then
    // lies on the same spot of the rim and the drag turns nothing.
    m_horizontalAdjust = width > 1 ? 1 / ((float(width) - 1) * 0.5f) : 0;
    m_verticalAdjust = height > 1 ? 1 / ((float(height) - 1) * 0.5f) : 0;
    m_start = SpherePoint(x, y, m_horizontalAdjust, m_verticalAdjust);
    m_dragging = true;
}

std::optional<Vec3f> RotationDrag::Step(float x, float y) {
    if (!m_dragging)
        return std::nullopt;
    const Vec3f end = SpherePoint(x, y, m_horizontalAdjust, m_verticalAdjust);
    // The turn since the drag began, in eye space, after the start rotation.
    const Mat3f current = Multiply3(QuaternionMatrix(ArcballQuaternion(m_start, end)), m_last);
    float sum = 0;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            sum += m_transform[col * 4 + row] * m_transform[col * 4 + row];
    const float scale = std::sqrt(sum / 3);
    Mat4f transform = m_transform;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            transform[col * 4 + row] = current[col * 3 + row] * scale;
    const Vec3f angles = AnglesFromMatrix(transform);
    if (!AllFinite(transform) || !AllFinite(angles))
        return std::nullopt;
    m_transform = transform;
    return angles;
}

} // namespace kw::views3d
