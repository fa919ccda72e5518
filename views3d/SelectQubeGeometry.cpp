#include "views3d/SelectQubeGeometry.h"

namespace kw::views3d {

namespace {

// Where each table index lies in the 3D region numbering.
constexpr int kRegionNumbers[QubeGeometry::kPoints3D] = {0,  4,  7,  3,  5,  6,  2,  1,  15,
                                                         19, 11, 16, 13, 18, 9,  17, 12, 14,
                                                         8,  10, 23, 21, 20, 22, 24, 25, 26};

constexpr float kCodeFactor[3] = {0.0f, 0.5f, 1.0f};

QubePoint P(int x, int y, int cx, int cy, int cz) {
    return QubePoint{x, y, {std::uint8_t(cx), std::uint8_t(cy), std::uint8_t(cz)}};
}

void Fill3D(QubeGeometry& g) {
    const CRect& F = g.front;
    const CRect& B = g.back;
    const int w = B.Width();
    const int d = B.left - F.left; // the depth offset: right by d, up by d
    const int w2 = w / 2;
    const int d2 = d / 2;
    g.table = {
        P(F.left, F.bottom, 0, 0, 0),
        P(F.left, F.top, 0, 0, 2),
        P(F.right, F.top, 2, 0, 2),
        P(F.right, F.bottom, 2, 0, 0),
        P(B.left, B.top, 0, 2, 2),
        P(B.right, B.top, 2, 2, 2),
        P(B.right, B.bottom, 2, 2, 0),
        P(B.left, B.bottom, 0, 2, 0),
        P(F.left + w2, F.top, 1, 0, 2),
        P(F.right, F.top + w2, 2, 0, 1),
        P(F.left + w2, F.bottom, 1, 0, 0),
        P(F.left, F.top + w2, 0, 0, 1),
        P(B.left + w2, B.top, 1, 2, 2),
        P(B.right, B.top + w2, 2, 2, 1),
        P(B.left + w2, B.bottom, 1, 2, 0),
        P(B.left, B.top + w2, 0, 2, 1),
        P(F.left + d2, B.top + d2, 0, 1, 2),
        P(F.right + d2, B.top + d2, 2, 1, 2),
        P(F.left + d2, B.bottom + d2, 0, 1, 0),
        P(F.right + d2, B.bottom + d2, 2, 1, 0),
        P(F.left + w2, F.top + w2, 1, 0, 1),
        P(B.left + w2, B.top + w2, 1, 2, 1),
        P(F.left + d2, B.bottom + d2 - w2, 0, 1, 1),
        P(F.right + d2, B.bottom + d2 - w2, 2, 1, 1),
        P(F.left + w2 + d2, F.bottom - d2, 1, 1, 0),
        P(F.left + w2 + d2, F.top - d2, 1, 1, 2),
        P(F.left + w2 + d2, F.bottom - d2 - w2, 1, 1, 1),
    };
    g.count = QubeGeometry::kPoints3D;
}

void Fill2D(QubeGeometry& g) {
    const CRect& F = g.front;
    const int w2 = F.Width() / 2;
    g.table = {};
    const QubePoint square[QubeGeometry::kPoints2D] = {
        P(F.left, F.bottom, 0, 0, 0),        P(F.left, F.top, 0, 2, 0),
        P(F.right, F.top, 2, 2, 0),          P(F.right, F.bottom, 2, 0, 0),
        P(F.left + w2, F.top, 1, 2, 0),      P(F.right, F.top + w2, 2, 1, 0),
        P(F.left + w2, F.bottom, 1, 0, 0),   P(F.left, F.top + w2, 0, 1, 0),
        P(F.left + w2, F.top + w2, 1, 1, 0),
    };
    for (int i = 0; i < QubeGeometry::kPoints2D; ++i)
        g.table[std::size_t(i)] = square[i];
    g.count = QubeGeometry::kPoints2D;
}

} // namespace

QubeGeometry ComputeQubeGeometry(int cx, int cy, bool mode2D) {
    QubeGeometry g;
    g.mode2D = mode2D;
    const int m = std::min(cx, cy);
    const int s0 = std::max(m - 6, 0);
    // The factors are single precision, as the sizes always were.
    const int s = mode2D ? int(float(s0) * 0.8333333f) : int(float(s0) * 0.625f);
    const int h = s / 2;
    g.front = CRect(m / 2 - h, m / 2 - h, m / 2 + h, m / 2 + h);
    if (!mode2D)
        g.front.OffsetRect(-(s / 5), s / 5);
    const int d = s / 3 + 1;
    g.back = g.front;
    g.back.OffsetRect(d, -d);
    if (mode2D)
        Fill2D(g);
    else
        Fill3D(g);
    return g;
}

int QubeHitTest(const QubeGeometry& geometry, POINT pt) {
    const std::span<const QubePoint> points = geometry.Points();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CRect square(points[i].x - 4, points[i].y - 4, points[i].x + 4, points[i].y + 4);
        if (square.PtInRect(pt))
            return int(i);
    }
    return -1;
}

int QubeRegionNumber(int index) {
    if (index < 0 || index >= QubeGeometry::kPoints3D)
        return index;
    return kRegionNumbers[index];
}

std::array<float, 3> QubeOffsets(const QubeRegion& region,
                                 const std::array<std::uint8_t, 3>& code) {
    const auto& r = region.r;
    const float extent[3] = {r[1] - r[0], r[2] - r[3], r[4] - r[5]};
    std::array<float, 3> offsets{};
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (code[axis] != 0 && code[axis] < 3)
            offsets[axis] = extent[axis] * kCodeFactor[code[axis]];
    return offsets;
}

} // namespace kw::views3d
