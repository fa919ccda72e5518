#include "views3d/ViewMapping.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this a window has no extent: its scale is taken as 1 instead of a
// division by (nearly) zero.
constexpr double kDegenerate = 1.1920928955078125e-7;

} // namespace

void CViewMapping::SetWorldWindow(double x1, double y1, double x2, double y2) {
    m_wx0 = std::min(x1, x2), m_wx1 = std::max(x1, x2);
    m_wy0 = std::min(y1, y2), m_wy1 = std::max(y1, y2);
    Recompute();
}

void CViewMapping::SetPixelRect(double x1, double y1, double x2, double y2) {
    m_px0 = std::min(x1, x2), m_px1 = std::max(x1, x2);
    m_py0 = std::min(y1, y2), m_py1 = std::max(y1, y2);
    Recompute();
}

void CViewMapping::PixelToWorld(double px, double py, double* wx, double* wy) const {
    *wx = (px - m_offsetX) / m_scaleX;
    *wy = (py - m_offsetY) / m_scaleY;
}

void CViewMapping::Recompute() {
    double sx = std::fabs(m_wx1 - m_wx0) < kDegenerate ? 1.0 : (m_px1 - m_px0) / (m_wx1 - m_wx0);
    // Pixel y runs down, world y up: the y scale is negative.
    double sy = std::fabs(m_wy1 - m_wy0) < kDegenerate ? 1.0 : (m_py0 - m_py1) / (m_wy1 - m_wy0);
    const double s = std::min(std::fabs(sx), std::fabs(sy));
    // A scale of exactly 0 counts as negative.
    sx = sx > 0 ? s : -s;
    sy = sy > 0 ? s : -s;
    m_scaleX = sx;
    m_scaleY = sy;
    m_offsetX = ((m_px1 + m_px0) - (m_wx1 + m_wx0) * sx) / 2;
    m_offsetY = ((m_py1 + m_py0) - (m_wy1 + m_wy0) * sy) / 2;
}
