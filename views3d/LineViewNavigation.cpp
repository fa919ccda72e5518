// CLineViewCtrl: mouse navigation. The left button pans; the middle button
// turns the model (pans with Shift or in 2D, zooms in steps with Ctrl); the
// wheel zooms about the cursor; the right button fits the host's box.
#include "views3d/LineViewCtrl.h"

#include "platform/user/User.h"

namespace {

// The event the wheel zoom fires.
constexpr DISPID kEventZoomChanged = 1;

// A vertical move of the middle button with Ctrl must exceed this to zoom
// one step, so that a shaky hand does not zoom.
constexpr int kStepZoomThreshold = 5;

} // namespace

void CLineViewCtrl::Redraw() {
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CLineViewCtrl::Pan(CPoint from, CPoint to) {
    CRect client;
    GetClientRect(&client);
    if (const auto panned = kw::views3d::PanWindow(m_view, client, from, to))
        m_view = *panned;
}

void CLineViewCtrl::StartNavigating() {
    m_navigating = true;
}

void CLineViewCtrl::StopNavigating() {
    if (!m_navigating)
        return;
    m_navigating = false;
    // The full list again, if the drag showed the preview.
    if (m_previewState == PreviewState::Ready)
        Redraw();
}

void CLineViewCtrl::OnCaptureChanged(CWnd* wnd) {
    StopNavigating();
    COleControl::OnCaptureChanged(wnd);
}

void CLineViewCtrl::OnLButtonDown(UINT flags, CPoint point) {
    SetFocus();
    SetCapture();
    StartNavigating();
    m_leftAnchor = point;
    COleControl::OnLButtonDown(flags, point);
}

// A second press soon after the first comes as a double click; it starts a
// drag all the same.
void CLineViewCtrl::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point);
}

void CLineViewCtrl::OnMButtonDblClk(UINT flags, CPoint point) {
    OnMButtonDown(flags, point);
}

void CLineViewCtrl::OnLButtonUp(UINT flags, CPoint point) {
    ReleaseCapture();
    StopNavigating();
    COleControl::OnLButtonUp(flags, point);
}

void CLineViewCtrl::OnMButtonDown(UINT flags, CPoint point) {
    SetFocus();
    SetCapture();
    StartNavigating();
    m_middleAnchor = point;
    // A press always starts a new drag, even when the release of the last
    // one never arrived (the capture was taken away).
    m_drag.End();
    COleControl::OnMButtonDown(flags, point);
}

void CLineViewCtrl::OnMButtonUp(UINT flags, CPoint point) {
    m_drag.End();
    ReleaseCapture();
    StopNavigating();
    COleControl::OnMButtonUp(flags, point);
}

void CLineViewCtrl::OnRButtonDown(UINT flags, CPoint point) {
    Fit();
    Redraw();
    COleControl::OnRButtonDown(flags, point);
}

void CLineViewCtrl::OnMouseMove(UINT flags, CPoint point) {
    const bool shift = (flags & MK_SHIFT) != 0;
    const bool ctrl = (flags & MK_CONTROL) != 0;
    if (m_navigating && (flags & (MK_LBUTTON | MK_MBUTTON)))
        PreparePreview();
    if (flags & MK_LBUTTON) {
        Pan(m_leftAnchor, point);
        m_leftAnchor = point;
        m_drag.End();
        Redraw();
    } else if (flags & MK_MBUTTON) {
        if (shift || m_2d) {
            Pan(m_middleAnchor, point);
            m_middleAnchor = point;
            m_drag.End();
        } else if (ctrl) {
            const int dy = point.y - m_middleAnchor.y;
            if (dy > kStepZoomThreshold || dy < -kStepZoomThreshold) {
                m_drag.End();
                if (const auto zoomed =
                        kw::views3d::ZoomWindow(m_view, kw::views3d::StepZoomFactor(dy > 0)))
                    m_view = *zoomed;
                m_middleAnchor = point;
            }
        } else if (!m_drag.Dragging()) {
            // The first move only anchors the turn.
            CRect client;
            GetClientRect(&client);
            m_drag.Begin(float(point.x), float(point.y), client.Width(), client.Height(),
                         {m_viewAngles[0], m_viewAngles[1], m_viewAngles[2]});
        } else if (const auto angles = m_drag.Step(float(point.x), float(point.y))) {
            for (int i = 0; i < 3; ++i)
                m_viewAngles[i] = (*angles)[i];
        }
        Redraw();
    }
    COleControl::OnMouseMove(flags, point);
}

BOOL CLineViewCtrl::OnMouseWheel(UINT flags, short delta, CPoint point) {
    CPoint cursor = point;
    ::ScreenToClient(m_hWnd, &cursor);
    CRect client;
    GetClientRect(&client);
    if (const auto zoomed = kw::views3d::WheelZoomWindow(m_view, client, cursor, delta)) {
        m_view = *zoomed;
        m_pointSize = PointSizeFor(client);
        m_pointSizeComputed = true;
        Redraw();
        FireEvent(kEventZoomChanged);
    }
    return COleControl::OnMouseWheel(flags, delta, point);
}
