#pragma once
// The arithmetic of the curve editor, without a window: where the plot lies
// in the control, how values map to device pixels and back, and which point
// a click hits. The y axis spans 0 to 1 over the plot height; the x axis is
// scaled so that the largest x fills 1/1.1 of the plot width.
#include "platform/base/Geometry.h"

#include <span>

struct CurvePoint {
    float x{0.0f};
    float y{0.0f};
};

// Values per pixel in both directions. A scale of 0 (no points, all x at 0,
// or a plot without width or height) places every value on the plot's
// left or bottom edge.
struct CurveScale {
    float x{0.0f};
    float y{0.0f};
};

// The plot inside the control's bounds: 20 pixels left for the y caption,
// 20 below for the x caption, 10 above and to the right.
CRect CurvePlotRect(const CRect& bounds);

// The x scale for the points in use: the largest x (at least 0) times 1.1
// over the plot width.
float CurveXScale(std::span<const CurvePoint> points, const CRect& plot);
// One over the plot height.
float CurveYScale(const CRect& plot);

// The device pixel of a value pair. Values far outside the plot are held
// to a range the drawing functions take without overflow.
CPoint CurveDevicePoint(const CurvePoint& p, const CurveScale& scale, const CRect& plot);
// The value pair a device pixel stands for.
CurvePoint CurveValueAt(CPoint device, const CurveScale& scale, const CRect& plot);

// The index of the first point whose device pixel lies in the 10 x 10 square
// around `click`, or -1.
int CurveHitTest(std::span<const CurvePoint> points, CPoint click, const CurveScale& scale,
                 const CRect& plot);
