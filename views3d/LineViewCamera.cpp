// CLineViewCtrl: the camera as the paint uses it: the orthographic
// projection of the view window, the model rotation by the view angles, the
// point size and the axis indicator. The matrices come from ViewCamera.h,
// so that navigation and fitting compute with exactly what is drawn.
#include "views3d/LineViewCtrl.h"

#include "platform/gl/Solids.h"
#include "views3d/ViewMapping.h"

#include <algorithm>
#include <cmath>

kw::views3d::CameraSetup CLineViewCtrl::Camera() const {
    kw::views3d::CameraSetup camera;
    camera.home = m_home;
    camera.view = m_view;
    camera.nearPlane = m_near;
    camera.farPlane = m_far;
    for (int i = 0; i < 3; ++i) {
        camera.eye[i] = m_eye[i];
        camera.centre[i] = m_centre[i];
        camera.up[i] = m_up[i];
    }
    return camera;
}

void CLineViewCtrl::SetupProjection(const CRect& rc) {
    // The view window fills the viewport undistorted; the camera looks from
    // the eye at the centre.
    const kw::views3d::Mat4 projection =
        kw::views3d::ProjectionMatrix(Camera(), rc.Width(), rc.Height());
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
}

void CLineViewCtrl::ApplyModelRotation() {
    const kw::views3d::Mat4f rotation =
        kw::views3d::ModelRotation({m_viewAngles[0], m_viewAngles[1], m_viewAngles[2]});
    glMultMatrixf(rotation.data());
}

void CLineViewCtrl::SetupModelView(const CRect& rc) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyModelRotation();
    m_pointSize = PointSizeFor(rc);
    m_pointSizeComputed = true;
}

float CLineViewCtrl::PointSizeFor(const CRect& rc) const {
    // Two pixels in world units; nothing sensible for an empty window.
    if (rc.Width() <= 0 || rc.Height() <= 0)
        return 0;
    CViewMapping mapping;
    mapping.SetWorldWindow(m_view.left, m_view.bottom, m_view.right, m_view.top);
    mapping.SetPixelRect(rc.left, rc.top, rc.right, rc.bottom);
    return float(2 / std::fabs(mapping.ScaleX()));
}

void CLineViewCtrl::DrawAxisIndicator(const CRect& client) {
    // The lower-left corner: at most 60 pixels wide, a third of the height.
    const CRect corner(client.left, client.top, std::min<int>(client.right / 3, 60),
                       client.bottom / 3);
    if (corner.Width() <= 0 || corner.Height() <= 0)
        return;
    glViewport(0, 0, corner.Width(), corner.Height());
    // Pan and zoom do not move the indicator.
    const ViewWindow saved = m_view;
    m_view = m_home;
    SetupProjection(corner);
    m_view = saved;
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyModelRotation();
    glPushMatrix();
    glScalef(0.1f, 0.1f, 0.1f);
    kw::gl::SolidSphere(1.0, 10, 10);
    glColor3ub(0, 0, 0);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glVertex3f(0, 0, -3);
    glVertex3f(0, 0, 3);
    glVertex3f(0, -3, 0);
    glVertex3f(0, 3, 0);
    glVertex3f(-3, 0, 0);
    glVertex3f(3, 0, 0);
    glEnd();
    glColor3ub(50, 50, 50);
    glPushMatrix();
    glTranslatef(3, 0, 0);
    glRotatef(90, 0, 1, 0);
    kw::gl::SolidSphere(0.01, 10, 10);
    kw::gl::SolidCone(0.21, 0.9, 32, 1);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0, 3, 0);
    glRotatef(-90, 1, 0, 0);
    kw::gl::SolidCone(0.21, 0.9, 32, 1);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0, 0, 3);
    kw::gl::SolidCone(0.21, 0.9, 32, 1);
    glPopMatrix();
    glPopMatrix();
}
