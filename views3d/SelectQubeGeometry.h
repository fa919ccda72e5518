#pragma once
// The point picker's geometry as pure functions: from the control's size and
// mode to the front and back squares and the pick points with their position
// codes, the hit test, the 3D region numbering and the offsets of a point
// inside a region. Nothing here needs a window.
//
// A position code says where a point lies on each axis: 0 at the lower end
// (left, front or bottom), 1 in the middle, 2 at the upper end (right, back
// or top). In 3D mode the axes are x (left to right), y (front to back) and
// z (bottom to top); in 2D mode x and y (bottom to top of the square), and
// the third code is always 0.
#include "platform/base/Geometry.h"

#include <array>
#include <cstdint>
#include <span>

namespace kw::views3d {

struct QubePoint {
    int x{0};
    int y{0};
    std::array<std::uint8_t, 3> code{};
};

struct QubeGeometry {
    static constexpr int kPoints3D = 27;
    static constexpr int kPoints2D = 9;

    bool mode2D{false};
    CRect front;
    CRect back; // `front` moved right and up by the depth; unused in 2D mode
    std::array<QubePoint, kPoints3D> table{};
    int count{kPoints3D}; // the points in use: 27 in 3D mode, 9 in 2D mode

    std::span<const QubePoint> Points() const { return std::span(table).first(count); }
};

// The squares and points for a control of cx x cy pixels. The cube fills the
// square of the smaller side at the top left; a control under 6 pixels
// collapses it to a point.
QubeGeometry ComputeQubeGeometry(int cx, int cy, bool mode2D);

// The first point, in table order, whose 8 x 8 square (x - 4 .. x + 3,
// y - 4 .. y + 3) holds `pt`; -1 for none.
int QubeHitTest(const QubeGeometry& geometry, POINT pt);

// A table index in the 3D region numbering (corners 0-7, edge middles 8-19,
// face centres 20-25, centre 26). Indexes outside 0-26 come back unchanged.
int QubeRegionNumber(int index);

// The region as SetRegion gives it: left, right, top, bottom, upper z,
// lower z.
struct QubeRegion {
    std::array<float, 6> r{};
};

// The point's offsets from the region's left, bottom, lower-z corner: the
// extent of each axis times 0, 0.5 or 1 by the code. An axis whose code is 0
// gives exactly 0, whatever the region holds.
std::array<float, 3> QubeOffsets(const QubeRegion& region, const std::array<std::uint8_t, 3>& code);

} // namespace kw::views3d
