// CLineViewCtrl: the paint, in its order: clear, depth and stencil state,
// lights and material, the axis indicator, the camera, then the host's list
// in the display mode.
#include "views3d/LineViewCtrl.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/User.h"

namespace {

void Light(GLenum light, GLenum what, GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const GLfloat v[4] = {r, g, b, a};
    glLightfv(light, what, v);
}

} // namespace

BOOL CLineViewCtrl::OnEraseBkgnd(CDC*) {
    return TRUE; // The paint covers the whole window.
}

void CLineViewCtrl::OnPaint() {
    PAINTSTRUCT ps{};
    const HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (!hdc)
        return;
    CRect client;
    GetClientRect(&client);
    // While the host compiles into the list, a paint would end up in the
    // list and take the context from the host: it waits for EndList, which
    // invalidates the window.
    if (m_listDc) {
        ::EndPaint(m_hWnd, &ps);
        return;
    }
    if (m_hrc && wglMakeCurrent(hdc, m_hrc)) {
        RenderScene(client);
        SwapBuffers(hdc);
        wglMakeCurrent(nullptr, nullptr);
    } else {
        CDC dc;
        dc.Attach(hdc);
        PaintWithoutContext(&dc, client);
        dc.Detach();
    }
    ::EndPaint(m_hWnd, &ps);
}

void CLineViewCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    m_rcBoundsLast = rcBounds;
    // Drawn elsewhere (printed, or through the view object): the same
    // picture, rendered on the window and copied into the DC at the bounds.
    CRect client;
    GetClientRect(&client);
    const HDC windowDc = m_hWnd && m_hrc && !m_listDc ? ::GetDC(m_hWnd) : nullptr;
    if (windowDc && wglMakeCurrent(windowDc, m_hrc)) {
        RenderScene(client);
        const int saved = dc->SaveDC();
        dc->OffsetViewportOrg(rcBounds.left, rcBounds.top);
        SwapBuffers(dc->GetSafeHdc());
        dc->RestoreDC(saved);
        wglMakeCurrent(nullptr, nullptr);
    } else {
        PaintWithoutContext(dc, rcBounds);
    }
    if (windowDc)
        ::ReleaseDC(m_hWnd, windowDc);
}

void CLineViewCtrl::PaintWithoutContext(CDC* dc, const CRect& rc) {
    dc->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
}

void CLineViewCtrl::RenderScene(const CRect& client) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    glClearColor(GetRValue(face) * 0.003921569f, GetGValue(face) * 0.003921569f,
                 GetBValue(face) * 0.003921569f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (m_light || m_hiddenLine) {
        if (m_hiddenLine) {
            glEnable(GL_STENCIL_TEST);
            glStencilFunc(GL_ALWAYS, 0, 1);
            glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
        }
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    }
    ApplyLightsAndMaterial();
    glViewport(0, 0, client.Width(), client.Height());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Light positions in eye coordinates: a directional light from above
    // and in front, and a positional one.
    Light(GL_LIGHT0, GL_POSITION, 0, 0.5f, 1, 0);
    Light(GL_LIGHT1, GL_POSITION, 5, 10, 5, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_MODELVIEW);
    glColor3ub(255, 255, 0);
    if (!m_2d)
        DrawAxisIndicator(client);
    glViewport(0, 0, client.Width(), client.Height());
    SetupProjection(client);
    SetupModelView(client);
    if (!m_light) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        if (!m_hiddenLine) {
            glDisable(GL_COLOR_MATERIAL);
            glDisable(GL_LIGHTING);
            glDisable(GL_DEPTH_TEST);
        }
    }
    if (m_list != 0)
        CallListInMode();
}

void CLineViewCtrl::ApplyLightsAndMaterial() {
    Light(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1);
    Light(GL_LIGHT0, GL_SPECULAR, 1, 1, 1, 1);
    Light(GL_LIGHT0, GL_AMBIENT, 0.1f, 0.1f, 0.1f, 1);
    glEnable(GL_LIGHT0);
    Light(GL_LIGHT1, GL_DIFFUSE, 1, 1, 1, 1);
    Light(GL_LIGHT1, GL_SPECULAR, 1, 1, 1, 1);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    const GLfloat specular[4] = {0.2f, 0.2f, 0.2f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 30);
    // The host's glColor sets the diffuse colour.
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void CLineViewCtrl::CallListInMode() {
    // While the user drags the view of a large list, its preview stands in.
    const GLuint list = m_navigating && m_previewState == PreviewState::Ready ? m_preview : m_list;
    if (!m_hiddenLine) {
        glCallList(list);
        return;
    }
    // Hidden lines: red outlines, then the faces filled in light grey over
    // the depth they leave, then the outlines again on top of the faces.
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glColor3ub(255, 0, 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glCallList(list);
    glColor3ub(192, 192, 192);
    glStencilFunc(GL_ALWAYS, 0, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glCallList(list);
    glColor3ub(255, 0, 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glStencilFunc(GL_ALWAYS, 0, 1);
    glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
    glCallList(list);
}
