// The formats on offer, choosing among them, setting one on a window, and a
// machine without OpenGL.
#include "platform/gl/GlTesting.h"
#include "tests/platform/gl/GlTestSupport.h"

using namespace kw::test;

namespace {

class PixelFormatTest : public GlWindowTest {
protected:
    void SetUp() override {
        m_hwnd = CreateGreyHost("formats", 20, 20);
        m_dc = GetDC(m_hwnd);
    }
    void TearDown() override {
        kw::gl::InjectFailure(kw::gl::InjectedFailure::None);
        GlWindowTest::TearDown();
    }
};

} // namespace

TEST_F(PixelFormatTest, TwoRgbaFormatsDifferingInTheirStencil) {
    ASSERT_EQ(DescribePixelFormat(m_dc, 1, 0, nullptr), 2);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = 0xEEEE; // a probe: overwritten by a successful call
    ASSERT_EQ(DescribePixelFormat(m_dc, 1, sizeof(pfd), &pfd), 2);
    EXPECT_EQ(pfd.nSize, sizeof(pfd));
    EXPECT_EQ(pfd.dwFlags, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
    EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
    EXPECT_EQ(pfd.cRedBits + pfd.cGreenBits + pfd.cBlueBits, 24);
    EXPECT_EQ(pfd.cDepthBits, 24);
    EXPECT_EQ(pfd.cStencilBits, 0);
    ASSERT_EQ(DescribePixelFormat(m_dc, 2, sizeof(pfd), &pfd), 2);
    EXPECT_EQ(pfd.cStencilBits, 8);
    EXPECT_EQ(DescribePixelFormat(m_dc, 3, sizeof(pfd), &pfd), 0) << "no third format";
}

TEST_F(PixelFormatTest, ChoosingMatchesTheStencilAndRefusesWhatIsNotOffered) {
    const PIXELFORMATDESCRIPTOR plain = WindowDescriptor(0);
    EXPECT_EQ(ChoosePixelFormat(m_dc, &plain), 1) << "32 depth bits asked: the closest, 24";
    const PIXELFORMATDESCRIPTOR stencil = WindowDescriptor(8);
    EXPECT_EQ(ChoosePixelFormat(m_dc, &stencil), 2);
    PIXELFORMATDESCRIPTOR index = plain;
    index.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(m_dc, &index), 0);
    PIXELFORMATDESCRIPTOR deep = WindowDescriptor(16);
    EXPECT_EQ(ChoosePixelFormat(m_dc, &deep), 0) << "more stencil than any format has";
    PIXELFORMATDESCRIPTOR wrongSize = plain;
    wrongSize.nSize = 20;
    EXPECT_EQ(ChoosePixelFormat(m_dc, &wrongSize), 0);
}

TEST_F(PixelFormatTest, AWindowKeepsTheFirstFormatSetOnIt) {
    const PIXELFORMATDESCRIPTOR pfd = WindowDescriptor();
    EXPECT_EQ(GetPixelFormat(m_dc), 0);
    EXPECT_TRUE(SetPixelFormat(m_dc, 1, &pfd));
    EXPECT_TRUE(SetPixelFormat(m_dc, 1, &pfd)) << "the same format again";
    EXPECT_FALSE(SetPixelFormat(m_dc, 2, &pfd));
    EXPECT_EQ(GetPixelFormat(m_dc), 1);
    EXPECT_FALSE(SetPixelFormat(m_dc, 7, &pfd)) << "no such format";
    // A DC of no window has no format to set.
    EXPECT_FALSE(SetPixelFormat(GetDC(nullptr), 1, &pfd));
}

TEST_F(PixelFormatTest, InjectedFailuresLeaveNoFormatAndNoContext) {
    const PIXELFORMATDESCRIPTOR pfd = WindowDescriptor();
    kw::gl::InjectFailure(kw::gl::InjectedFailure::NoPixelFormat);
    EXPECT_EQ(ChoosePixelFormat(m_dc, &pfd), 0);
    kw::gl::InjectFailure(kw::gl::InjectedFailure::SetPixelFormat);
    EXPECT_EQ(ChoosePixelFormat(m_dc, &pfd), 1);
    EXPECT_FALSE(SetPixelFormat(m_dc, 1, &pfd));
    EXPECT_EQ(wglCreateContext(m_dc), nullptr) << "a window without a format gets no context";
}
