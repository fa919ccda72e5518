// Font lists from the DC's font: bitmaps at the raster position, outlines
// as polygons with their metrics, also while a list is being compiled.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "tests/platform/gl/GlTestSupport.h"

#include <vector>

using namespace kw::test;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

class FontListsTest : public GlWindowTest {
protected:
    void SelectCourier(int height) {
        m_font =
            CreateFontA(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 4, 0, 4, 0, "Courier New");
        m_oldFont = SelectObject(m_dc, m_font);
    }
    void TearDown() override {
        if (m_font) {
            SelectObject(m_dc, m_oldFont);
            DeleteObject(m_font);
        }
        GlWindowTest::TearDown();
    }
    // The bounding box of the pixels that are not black.
    static RECT Ink(const SurfaceBuffer& pixels) {
        RECT box{pixels.Width(), pixels.Height(), -1, -1};
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                if (pixels.Pixel(x, y) != 0) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    HFONT m_font{nullptr};
    HGDIOBJ m_oldFont{nullptr};
};

} // namespace

TEST_F(FontListsTest, BitmapGlyphsInkAtTheRasterPositionAndAdvanceIt) {
    Open(80, 30);
    SelectCourier(-20);
    const GLuint base = glGenLists(96);
    ASSERT_TRUE(wglUseFontBitmapsA(m_dc, 32, 96, base));
    Clear(0, 0, 0);
    glColor3ub(255, 255, 255);
    glRasterPos2i(10, 8);
    const char text[] = "II";
    glListBase(base - 32);
    glCallLists(2, GL_UNSIGNED_BYTE, text);
    GLint position[4]{};
    glGetIntegerv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_EQ(position[0], 10 + 2 * 12) << "Liberation Mono advances 0.6 em, 12 pixels at 20";
    const RECT ink = Ink(Swap());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + 24);
    EXPECT_EQ(ink.bottom, 30 - 8) << "the glyphs stand on the baseline";
    EXPECT_GT(ink.bottom - ink.top, 10) << "capitals of a 20-pixel font";
    glDeleteLists(base, 96);
}

TEST_F(FontListsTest, GlyphsCompileWhileTheHostsListIsOpen) {
    Open(80, 30);
    SelectCourier(-20);
    const GLuint list = glGenLists(1);
    const GLuint base = glGenLists(96);
    glNewList(list, GL_COMPILE);
    glColor3ub(255, 255, 255);
    ASSERT_TRUE(wglUseFontBitmapsA(m_dc, 32, 96, base));
    glRasterPos2i(10, 8);
    glCallList(base + 'H' - 32);
    glEndList();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the host's list stayed open";
    Clear(0, 0, 0);
    glCallList(list);
    const RECT ink = Ink(Swap());
    EXPECT_GT(ink.right, ink.left) << "the list drew the glyph";
    EXPECT_GE(ink.left, 10);
}

TEST_F(FontListsTest, OutlineGlyphsAreEmHighPolygonsWithTheirMetrics) {
    Open(80, 60);
    SelectCourier(-10);
    const GLuint base = glGenLists(96);
    std::vector<GLYPHMETRICSFLOAT> metrics(96);
    for (auto& m : metrics)
        m.gmfCellIncX = -1; // a probe
    ASSERT_TRUE(
        wglUseFontOutlinesA(m_dc, 32, 96, base, 0.0f, 0.1f, WGL_FONT_POLYGONS, metrics.data()));
    const GLYPHMETRICSFLOAT& m = metrics['M' - 32];
    EXPECT_NEAR(m.gmfCellIncX, 0.6, 0.01) << "a monospaced face of 0.6 em";
    EXPECT_GT(m.gmfBlackBoxY, 0.5f);
    EXPECT_LT(m.gmfBlackBoxY, 1.0f);
    EXPECT_NEAR(m.gmfptGlyphOrigin.y, m.gmfBlackBoxY, 0.01) << "capitals stand on the baseline";
    EXPECT_EQ(metrics[0].gmfBlackBoxX, 0.0f) << "the space has no outline";
    EXPECT_NEAR(metrics[0].gmfCellIncX, 0.6, 0.01);
    // "M" at 40 pixels an em, from (10, 10): filled, within its black box.
    Clear(0, 0, 0);
    glColor3ub(255, 255, 255);
    glTranslatef(10, 10, 0);
    glScalef(40, 40, 40);
    glCallList(base + 'M' - 32);
    GLfloat matrix[16]{};
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_NEAR(matrix[12], 10 + 0.6 * 40, 0.5) << "the list moved by the advance";
    const SurfaceBuffer pixels = Swap();
    const RECT ink = Ink(pixels);
    EXPECT_NEAR(ink.bottom, 60 - 10, 1);
    EXPECT_NEAR(ink.bottom - ink.top, m.gmfBlackBoxY * 40, 2);
    EXPECT_NEAR(ink.left, 10 + m.gmfptGlyphOrigin.x * 40, 1);
    int white = 0;
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x)
            white += pixels.Pixel(x, y) == kWhite;
    EXPECT_GT(white, 40) << "filled strokes, not outlines";
    glDeleteLists(base, 96);
}

TEST_F(FontListsTest, WithoutACurrentContextNothingIsBuilt) {
    Open(20, 20);
    SelectCourier(-10);
    const GLuint base = glGenLists(96);
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_FALSE(wglUseFontBitmapsA(m_dc, 32, 96, base));
    EXPECT_FALSE(wglUseFontOutlinesA(m_dc, 32, 96, base, 0, 0.1f, WGL_FONT_POLYGONS, nullptr));
    ASSERT_TRUE(wglMakeCurrent(m_dc, m_rc));
    EXPECT_FALSE(wglUseFontOutlinesA(m_dc, 32, 96, base, 0, 0.1f, 7, nullptr)) << "no such format";
    EXPECT_FALSE(wglUseFontBitmapsA(m_dc, 200, 96, base)) << "past the code page";
}
