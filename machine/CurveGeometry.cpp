#include "machine/CurveGeometry.h"

#include <cmath>

namespace {

// Offsets beyond this many pixels from the plot are drawn at this distance:
// such a point is far outside any window either way, and the box and grid
// coordinates derived from it stay well inside the integer range.
constexpr float kFarOffset = 1.0e6f;

// trunc(value / scale) as a pixel offset; 0 for a scale of 0 (every value
// at the edge) and for values that are not numbers.
LONG PixelOffset(float value, float scale) {
    if (scale == 0.0f || !std::isfinite(scale))
        return 0;
    const float offset = value / scale;
    if (std::isnan(offset))
        return 0;
    return LONG(std::trunc(std::clamp(offset, -kFarOffset, kFarOffset)));
}

} // namespace

CRect CurvePlotRect(const CRect& bounds) {
    return CRect(bounds.left + 20, bounds.top + 10, bounds.right - 10, bounds.bottom - 20);
}

float CurveXScale(std::span<const CurvePoint> points, const CRect& plot) {
    float largest = 0.0f;
    for (const CurvePoint& p : points)
        if (p.x > largest)
            largest = p.x;
    const int width = plot.right - plot.left;
    if (width <= 0)
        return 0.0f;
    const float scale = largest * 1.1f / float(width);
    return std::isfinite(scale) ? scale : 0.0f;
}

float CurveYScale(const CRect& plot) {
    const int height = plot.bottom - plot.top;
    return height > 0 ? float(1.0 / height) : 0.0f;
}

CPoint CurveDevicePoint(const CurvePoint& p, const CurveScale& scale, const CRect& plot) {
    return CPoint(plot.left + PixelOffset(p.x, scale.x), plot.bottom - PixelOffset(p.y, scale.y));
}

CurvePoint CurveValueAt(CPoint device, const CurveScale& scale, const CRect& plot) {
    return CurvePoint{float(device.x - plot.left) * scale.x,
                      float(plot.bottom - device.y) * scale.y};
}

int CurveHitTest(std::span<const CurvePoint> points, CPoint click, const CurveScale& scale,
                 const CRect& plot) {
    const CRect square(click.x - 5, click.y - 5, click.x + 5, click.y + 5);
    for (std::size_t i = 0; i < points.size(); ++i)
        if (square.PtInRect(CurveDevicePoint(points[i], scale, plot)))
            return int(i);
    return -1;
}
