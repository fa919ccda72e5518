#pragma once
// A headless window with an OpenGL context current on its DC, and pixels
// read from the window as the user would see them.
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/gl/Wgl.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"

#include <gtest/gtest.h>

namespace kw::test {

inline PIXELFORMATDESCRIPTOR WindowDescriptor(BYTE stencilBits = 0) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.cStencilBits = stencilBits;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

class GlWindowTest : public ::testing::Test {
protected:
    // A window of the size with a context current on its DC, and an
    // orthographic view of (0, 0)-(width, height) with y up.
    void Open(int width = 64, int height = 48, BYTE stencilBits = 0) {
        m_hwnd = CreateGreyHost("gl", width, height);
        session.Pump();
        m_dc = GetDC(m_hwnd);
        const PIXELFORMATDESCRIPTOR pfd = WindowDescriptor(stencilBits);
        const int format = ChoosePixelFormat(m_dc, &pfd);
        ASSERT_NE(format, 0) << "no OpenGL on this machine";
        ASSERT_TRUE(SetPixelFormat(m_dc, format, &pfd));
        m_rc = wglCreateContext(m_dc);
        ASSERT_NE(m_rc, nullptr);
        ASSERT_TRUE(wglMakeCurrent(m_dc, m_rc));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width, 0, height, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        if (m_rc) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(m_rc);
        }
        if (m_dc)
            ReleaseDC(m_hwnd, m_dc);
    }
    // Swaps and reads the window's pixels (0x00RRGGBB, top row first).
    SurfaceBuffer Swap() {
        EXPECT_TRUE(SwapBuffers(m_dc));
        return session.Pixels(m_hwnd);
    }
    void Clear(float r, float g, float b) {
        glClearColor(r, g, b, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    kw::headless::HeadlessSession session;
    HWND m_hwnd{nullptr};
    HDC m_dc{nullptr};
    HGLRC m_rc{nullptr};
};

} // namespace kw::test
