// Contexts render into a frame of their window's size; SwapBuffers puts the
// frame into the window, where snapshots and the display see it.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gl/Solids.h"
#include "tests/platform/gl/GlTestSupport.h"

using namespace kw::test;

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;

class ContextTest : public GlWindowTest {};

} // namespace

TEST_F(ContextTest, ClearAndALineReachTheWindowOnlyThroughSwapBuffers) {
    Open(64, 48);
    Clear(1, 0, 0);
    glColor3ub(0, 0, 255);
    glBegin(GL_LINES);
    glVertex2f(0, 10.5f); // window row 48 - 1 - 10 = 37
    glVertex2f(64, 10.5f);
    glEnd();
    EXPECT_EQ(session.Pixels(m_hwnd).Pixel(5, 5), kGreyHostPixel)
        << "nothing shown before the swap";
    const SurfaceBuffer pixels = Swap();
    ASSERT_EQ(pixels.Width(), 64);
    EXPECT_EQ(pixels.Pixel(5, 5), kRed);
    EXPECT_EQ(pixels.Pixel(30, 37), kBlue) << "OpenGL's bottom row is the window's last";
    EXPECT_EQ(pixels.Pixel(30, 36), kRed);
    EXPECT_EQ(pixels.Pixel(63, 47), kRed);
}

TEST_F(ContextTest, TheFrameFollowsTheWindowSizeAndTheViewportStartsAtIt) {
    Open(40, 30);
    GLint viewport[4]{};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 40);
    EXPECT_EQ(viewport[3], 30);
    wglMakeCurrent(nullptr, nullptr);
    SetWindowPos(m_hwnd, nullptr, 0, 0, 70, 50, SWP_NOZORDER | SWP_NOMOVE);
    ReleaseDC(m_hwnd, m_dc);
    m_dc = GetDC(m_hwnd);
    ASSERT_TRUE(wglMakeCurrent(m_dc, m_rc));
    glViewport(0, 0, 70, 50);
    Clear(0, 1, 0);
    const SurfaceBuffer pixels = Swap();
    EXPECT_EQ(pixels.Pixel(69, 49), kGreen) << "the frame grew with the window";
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 70) << "set only the first time";
}

TEST_F(ContextTest, MakingCurrentNeedsAWindowWithTheContextsFormat) {
    Open();
    EXPECT_EQ(wglGetCurrentContext(), m_rc);
    EXPECT_EQ(wglGetCurrentDC(), m_dc);
    const HWND other = CreateGreyHost("other", 10, 10);
    HDC otherDc = GetDC(other);
    EXPECT_FALSE(wglMakeCurrent(otherDc, m_rc)) << "no pixel format on that window";
    const HDC memory = CreateCompatibleDC(m_dc);
    EXPECT_FALSE(wglMakeCurrent(memory, m_rc));
    DeleteDC(memory);
    ReleaseDC(other, otherDc);
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    // Deleting a current context leaves none current; a stale handle fails.
    ASSERT_TRUE(wglMakeCurrent(m_dc, m_rc));
    EXPECT_TRUE(wglDeleteContext(m_rc));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(wglMakeCurrent(m_dc, m_rc));
    EXPECT_FALSE(wglDeleteContext(m_rc));
    m_rc = nullptr;
}

TEST_F(ContextTest, StencilPlanesOnlyWhereTheFormatHasThem) {
    Open(16, 16, 0);
    GLint bits = -1;
    glGetIntegerv(GL_STENCIL_BITS, &bits);
    EXPECT_EQ(bits, 0);
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_EQ(bits, 24);
    TearDown();
    m_rc = nullptr;
    m_dc = nullptr;
    Open(16, 16, 8);
    glGetIntegerv(GL_STENCIL_BITS, &bits);
    EXPECT_EQ(bits, 8);
}

TEST_F(ContextTest, APrintDcGetsTheFrameOfTheCurrentContext) {
    Open(32, 32);
    Clear(0, 0, 1);
    const HDC memory = CreateCompatibleDC(m_dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(m_dc, 32, 32);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_TRUE(SwapBuffers(memory));
    PixelSurface surface;
    ASSERT_TRUE(GetBitmapSurface(bitmap, &surface));
    EXPECT_EQ(surface.At(3, 3), kBlue);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    wglMakeCurrent(nullptr, nullptr);
    const HDC lone = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(SwapBuffers(lone)) << "no context current, no window: no frame";
    DeleteDC(lone);
}

TEST_F(ContextTest, TheSolidsAreLitFromTheirNormals) {
    Open(40, 40);
    Clear(0, 0, 0);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0); // white, from +z
    glEnable(GL_DEPTH_TEST);
    glTranslatef(20, 20, 0);
    kw::gl::SolidSphere(10, 16, 16);
    glTranslatef(0, 0, -5);
    SurfaceBuffer pixels = Swap();
    const std::uint32_t centre = pixels.Pixel(20, 20);
    EXPECT_GT(centre & 0xFF, 0x80u) << "the sphere faces the light in the middle";
    EXPECT_LT(pixels.Pixel(20 + 9, 20) & 0xFF, centre & 0xFF) << "and turns away at its rim";
    EXPECT_EQ(pixels.Pixel(2, 2), 0u);
    // The cone's base faces -z: seen from +z only its mantle shows, lit.
    Clear(0, 0, 0);
    glLoadIdentity();
    glTranslatef(20, 20, 0);
    glRotatef(180, 1, 0, 0); // the base towards the viewer
    kw::gl::SolidCone(10, 5, 16, 1);
    pixels = Swap();
    EXPECT_GT(pixels.Pixel(20, 20) & 0xFF, 0x80u) << "the base disc faces the light";
}
