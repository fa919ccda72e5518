// CLineViewCtrl: the drag preview. A list of many segments repaints too
// slowly on a software renderer to follow the mouse, so while a button drags
// the view the viewer draws a coarse copy of it: read back once through
// OpenGL's feedback mode at the first drag after each EndList, thinned to a
// budget (ToolpathPreview.h), and compiled into a second list. When the
// button comes up the full list is drawn again; a still picture never shows
// the preview.
#include "views3d/LineViewCtrl.h"

#include "platform/user/User.h"
#include "views3d/ToolpathPreview.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The most the feedback may take: 256 MB of floats, about 17 million
// segments with their colours.
constexpr std::size_t kMostFeedbackFloats = std::size_t(1) << 26;

} // namespace

void CLineViewCtrl::PreparePreview() {
    if (m_previewState != PreviewState::Unknown || !m_hrc || !m_list || m_listDc)
        return;
    const HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return;
    if (wglMakeCurrent(hdc, m_hrc)) {
        m_previewState = CompilePreview() ? PreviewState::Ready : PreviewState::NotNeeded;
        wglMakeCurrent(nullptr, nullptr);
    }
    ::ReleaseDC(m_hWnd, hdc);
}

bool CLineViewCtrl::CompilePreview() {
    // The feedback gives window coordinates as floats. A viewport centred on
    // the origin makes them the world coordinates times a scale, exact to a
    // float's precision, for everything within the range: at least the
    // viewport's half size, and the host's box twice over.
    GLint dims[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    const int half = std::max(1, std::min(dims[0], dims[1]) / 2);
    double range = half;
    for (double v :
         {m_fitBox.left, m_fitBox.top, m_fitBox.right, m_fitBox.bottom, m_fitBox.zu, m_fitBox.zo})
        if (std::isfinite(v))
            range = std::max(range, 2 * std::fabs(v));
    std::vector<GLfloat> buffer;
    GLint used = -1;
    for (std::size_t size = m_feedbackFloats; used < 0; size *= 4) {
        if (size > kMostFeedbackFloats)
            return false;
        buffer.resize(size);
        glFeedbackBuffer(GLsizei(size), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glViewport(-half, -half, 2 * half, 2 * half);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glScaled(1 / range, 1 / range, 1 / range);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // The list's own colours, and its faces as faces.
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glCallList(m_list);
        used = glRenderMode(GL_RENDER); // negative when the buffer overflowed
        if (used >= 0)
            m_feedbackFloats = size;
    }
    const kw::views3d::ToolpathPreview preview = kw::views3d::ReadFeedback(
        std::span<const float>(buffer.data(), std::size_t(used)), half / range, range);
    if (preview.sourceSegments <= kw::views3d::kPreviewSegments)
        return false; // drawn fast enough as it is
    if (!m_preview)
        m_preview = glGenLists(1);
    if (!m_preview)
        return false;
    glNewList(m_preview, GL_COMPILE);
    glBegin(GL_LINES);
    for (const auto& v : preview.lines) {
        glColor4fv(v.rgba.data());
        glVertex3fv(v.xyz.data());
    }
    glEnd();
    for (const auto& polygon : preview.polygons) {
        glNormal3fv(polygon.normal.data());
        glBegin(GL_POLYGON);
        for (const auto& v : polygon.corners) {
            glColor4fv(v.rgba.data());
            glVertex3fv(v.xyz.data());
        }
        glEnd();
    }
    glEndList();
    return true;
}
