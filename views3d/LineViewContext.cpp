// CLineViewCtrl: the rendering context, made with the window and released
// with it, and the viewport on resizing.
#include "views3d/LineViewCtrl.h"

#include "platform/user/User.h"

namespace {

// What the viewer asks for: an RGBA window, double-buffered, with a deep
// depth buffer and no stencil planes.
PIXELFORMATDESCRIPTOR ViewerPixelFormat() {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

} // namespace

int CLineViewCtrl::OnCreate(CREATESTRUCTA* cs) {
    if (COleControl::OnCreate(cs) == -1)
        return -1;
    // A machine without OpenGL gets the message, and a viewer that paints
    // its background: the host goes on running.
    (void)CreateRenderingContext();
    return 0;
}

bool CLineViewCtrl::CreateRenderingContext() {
    const HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return false;
    const PIXELFORMATDESCRIPTOR pfd = ViewerPixelFormat();
    const int format = ChoosePixelFormat(hdc, &pfd);
    const char* failure = nullptr;
    if (format == 0)
        failure = kNoOpenGlText;
    else if (!SetPixelFormat(hdc, format, &pfd))
        failure = kNoPixelFormatText;
    else
        m_hrc = wglCreateContext(hdc);
    ::ReleaseDC(m_hWnd, hdc);
    if (failure)
        ::MessageBoxA(m_hWnd, failure, kErrorCaption, MB_ICONERROR);
    return m_hrc != nullptr;
}

void CLineViewCtrl::ReleaseRenderingContext() {
    if (!m_hrc)
        return;
    // The lists go with the context; they are deleted with it current on
    // the window, and an open list is closed first.
    HDC hdc = m_listDc;
    if (!hdc && m_hWnd)
        hdc = ::GetDC(m_hWnd);
    if (hdc && wglMakeCurrent(hdc, m_hrc)) {
        if (m_listDc)
            glEndList();
        if (m_fontBase)
            glDeleteLists(m_fontBase, 96);
        if (m_list)
            glDeleteLists(m_list, 1);
        if (m_preview)
            glDeleteLists(m_preview, 1);
        wglMakeCurrent(nullptr, nullptr);
    }
    if (hdc)
        ::ReleaseDC(m_hWnd, hdc);
    wglDeleteContext(m_hrc);
    m_hrc = nullptr;
    m_listDc = nullptr;
    m_list = 0;
    m_fontBase = 0;
    m_preview = 0;
    m_previewState = PreviewState::Unknown;
}

void CLineViewCtrl::OnDestroy() {
    ReleaseRenderingContext();
    COleControl::OnDestroy();
}

void CLineViewCtrl::OnSize(UINT type, int cx, int cy) {
    COleControl::OnSize(type, cx, cy);
    // A host drawing into the open list keeps its context.
    if (!m_hrc || m_listDc)
        return;
    const HDC hdc = ::GetDC(m_hWnd);
    if (hdc && wglMakeCurrent(hdc, m_hrc)) {
        glViewport(0, 0, cx, cy);
        wglMakeCurrent(nullptr, nullptr);
    }
    if (hdc)
        ::ReleaseDC(m_hWnd, hdc);
}
