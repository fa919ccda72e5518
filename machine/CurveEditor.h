#pragma once
// The curve editor's state and rules without a window: the point array the
// host fills, the plot and scales of the last paint, and what a press, a
// drag and a release of the left button do. CCurveCtrl adds the window,
// the dispatch interface, the drawing and the event.
#include "machine/CurveGeometry.h"

#include <vector>

class CCurveEditor {
public:
    // [SECTION] The host's points

    // Stores p at index when 0 <= index < maxPoints; the points after it
    // are dropped. False (nothing changed) for other indices.
    bool SetPoint(int index, CurvePoint p, int maxPoints);
    // The pair at index when the array exists and 0 <= index < maxPoints;
    // pairs that were never set are (0, 0). False: nothing to read.
    bool GetPoint(int index, int maxPoints, CurvePoint& out) const;

    // [SECTION] Painting

    // The plot and scales for a paint into `bounds`; the x scale stays as
    // it is while a drag is on.
    void Layout(const CRect& bounds);

    // [SECTION] The left button

    // Selects the point under `click`, or appends one there when none is hit
    // and fewer than maxPoints are in use. True when a point was added.
    bool ButtonDown(CPoint click, int maxPoints);
    // A move with the button down: true when a point is selected (the
    // control then fires Changed). With yLock the point's x follows the
    // pointer, raised to minVal.
    bool Drag(CPoint pointer, float minVal, bool yLock);
    // Ends a drag and rescales x; the selection stays.
    void ButtonUp();

    // [SECTION] State
    std::span<const CurvePoint> InUse() const;
    int PointsInUse() const { return m_inUse; }
    int Capacity() const { return int(m_points.size()); }
    bool HasArray() const { return m_allocated; }
    int Selection() const { return m_sel; }
    bool IsDragging() const { return m_dragging; }
    const CurveScale& Scale() const { return m_scale; }
    const CRect& Plot() const { return m_plot; }

private:
    // Makes the array on first use and grows it to maxPoints, keeping the
    // pairs: the host may raise Points after the array was made, and no
    // index below Points may lie past it.
    void Reserve(int maxPoints);
    void RescaleX();

    std::vector<CurvePoint> m_points;
    bool m_allocated{false};
    int m_inUse{0};
    int m_sel{-1};
    bool m_dragging{false};
    CurveScale m_scale;
    CRect m_plot;
};
