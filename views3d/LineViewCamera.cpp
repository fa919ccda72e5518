// CLineViewCtrl: the camera as the paint uses it: the orthographic
// projection of the view window, the model rotation by the view angles, the
// point size and the axis indicator.
//
// FIXME: navigation (pan, zoom, rotation drag) and fitting change the view
// window and the angles; until they come, the view window stays the home
// window.
#include "views3d/LineViewCtrl.h"

#include "platform/gl/Solids.h"
#include "views3d/ViewMapping.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

void CLineViewCtrl::SetupProjection(const CRect& rc) {
    const double aspect = double(rc.Width()) / rc.Height();
    const double homeWidth = m_home.right - m_home.left;
    const double sx = homeWidth / (m_view.right - m_view.left);
    const double sy = homeWidth / (m_view.top - m_view.bottom);
    // The larger extent of the view window, against the viewport's aspect,
    // decides: the window fills the viewport undistorted.
    const double zx = sx * aspect <= sy ? sx : sy / aspect;
    const double zy = zx * aspect;
    const double cx = (m_view.left + m_view.right) / 2;
    const double cy = (m_view.bottom + m_view.top) / 2;
    GLdouble zoom[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    zoom[0] = zx;
    zoom[5] = zy;
    zoom[12] = -2 * zx * cx / homeWidth;
    zoom[13] = -2 * zy * cy / homeWidth;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMultMatrixd(zoom);
    glOrtho(m_home.left, m_home.right, m_home.bottom, m_home.top, m_near, m_far);
    gluLookAt(m_eye[0], m_eye[1], m_eye[2], m_centre[0], m_centre[1], m_centre[2], m_up[0], m_up[1],
              m_up[2]);
}

void CLineViewCtrl::ApplyModelRotation() {
    glRotatef(m_viewAngles[0], 1, 0, 0);
    glRotatef(m_viewAngles[1], 0, 1, 0);
    glRotatef(m_viewAngles[2], 0, 0, 1);
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
