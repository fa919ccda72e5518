#include "machine/CurveEditor.h"

// [SECTION] The host's points

void CCurveEditor::Reserve(int maxPoints) {
    m_allocated = true;
    if (maxPoints > 0 && std::size_t(maxPoints) > m_points.size())
        m_points.resize(std::size_t(maxPoints));
}

std::span<const CurvePoint> CCurveEditor::InUse() const {
    return std::span<const CurvePoint>(m_points).first(std::size_t(m_inUse));
}

bool CCurveEditor::SetPoint(int index, CurvePoint p, int maxPoints) {
    if (index < 0 || index >= maxPoints)
        return false;
    Reserve(maxPoints);
    m_points[std::size_t(index)] = p;
    m_inUse = index + 1;
    RescaleX();
    return true;
}

bool CCurveEditor::GetPoint(int index, int maxPoints, CurvePoint& out) const {
    if (!m_allocated || index < 0 || index >= maxPoints)
        return false;
    // Points raised since the array grew last: those pairs were never set.
    out = std::size_t(index) < m_points.size() ? m_points[std::size_t(index)] : CurvePoint{};
    return true;
}

// [SECTION] Painting

void CCurveEditor::RescaleX() {
    if (!m_dragging)
        m_scale.x = CurveXScale(InUse(), m_plot);
}

void CCurveEditor::Layout(const CRect& bounds) {
    m_plot = CurvePlotRect(bounds);
    RescaleX();
    m_scale.y = CurveYScale(m_plot);
}

// [SECTION] The left button

bool CCurveEditor::ButtonDown(CPoint click, int maxPoints) {
    const CurvePoint value = CurveValueAt(click, m_scale, m_plot);
    m_sel = CurveHitTest(InUse(), click, m_scale, m_plot);
    bool added = false;
    if (m_sel < 0) {
        Reserve(maxPoints);
        if (m_inUse < maxPoints) {
            m_points[std::size_t(m_inUse)] = value;
            m_sel = m_inUse++;
            added = true;
        }
    }
    m_dragging = true;
    return added;
}

bool CCurveEditor::Drag(CPoint pointer, float minVal, bool yLock) {
    if (m_sel < 0)
        return false;
    float x = float(pointer.x - m_plot.left) * m_scale.x;
    if (!(x > minVal))
        x = minVal;
    // The host may have dropped the selected point with SetPoint since.
    if (yLock && m_sel < m_inUse)
        m_points[std::size_t(m_sel)].x = x;
    return true;
}

void CCurveEditor::ButtonUp() {
    m_dragging = false;
    RescaleX();
}
