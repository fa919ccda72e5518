// The display-list protocol and the font lists, the point size, the life of
// the rendering context, and a machine without OpenGL.
#include "tests/views3d/LineViewTestSupport.h"

#include <cmath>

using namespace kw::test;

namespace {

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;

int CountColour(const SurfaceBuffer& p, RECT rc, std::uint32_t colour) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += p.Pixel(x, y) == colour;
    return n;
}

class LineViewListsTest : public LineViewTest {
protected:
    void Line(std::uint8_t r, std::uint8_t b, double y) {
        glColor3ub(r, 0, b);
        glBegin(GL_LINES);
        glVertex2d(-0.3, y);
        glVertex2d(0.3, y);
        glEnd();
    }
    LONG FontList() {
        CComVariant result;
        EXPECT_EQ(Call("GetFontList", {}, &result), S_OK);
        return result.lVal;
    }
    float PointSize() {
        CComVariant result;
        EXPECT_EQ(Call("GetPointSize", {}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_R4);
        return result.fltVal;
    }
};

constexpr RECT kAll{0, 0, 200, 150};

} // namespace

TEST_F(LineViewListsTest, ASecondPairReplacesTheFirstPictureAndKeepsTheListName) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    EXPECT_EQ(Object(m_view)->DisplayList(), 0u) << "no list before the first BeginList";
    Method("BeginList");
    EXPECT_EQ(wglGetCurrentContext(), Object(m_view)->RenderingContext())
        << "the context stays current for the host";
    Line(0, 255, 0.1);
    Method("EndList");
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    const GLuint first = Object(m_view)->DisplayList();
    EXPECT_NE(first, 0u);
    SurfaceBuffer p = Picture();
    EXPECT_GT(CountColour(p, kAll, kBlue), 100) << "a list of lines appears";

    Method("BeginList");
    Line(255, 0, -0.1);
    Method("EndList");
    p = Picture();
    EXPECT_EQ(CountColour(p, kAll, kBlue), 0) << "the first picture is gone";
    EXPECT_GT(CountColour(p, kAll, kRed), 100);
    EXPECT_EQ(Object(m_view)->DisplayList(), first);
}

TEST_F(LineViewListsTest, APaintWhileTheListIsOpenWaitsForEndList) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    Method("BeginList");
    const HWND hwnd = Object(m_view)->GetSafeHwnd();
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_EQ(wglGetCurrentContext(), Object(m_view)->RenderingContext())
        << "the host keeps its context";
    Line(0, 255, 0);
    Method("EndList");
    EXPECT_GT(CountColour(Picture(), kAll, kBlue), 100) << "and its list holds only its lines";
    // EndList without BeginList repaints and changes nothing.
    Method("EndList");
    EXPECT_GT(CountColour(Picture(), kAll, kBlue), 100);
}

TEST_F(LineViewListsTest, TheFirstCreateFontDecidesAndTextLeavesInk) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    EXPECT_EQ(FontList(), 0) << "before CreateFont";
    Method("CreateFont", {CComVariant::I4(TRUE)});
    EXPECT_EQ(FontList(), 0) << "outside BeginList there is no current context";

    Method("BeginList");
    Method("CreateFont", {CComVariant::I4(TRUE)});
    const LONG base = FontList();
    ASSERT_NE(base, 0);
    glColor3ub(0, 0, 255);
    glRasterPos2d(-0.2, 0.0); // pixel (58, 75)
    glListBase(GLuint(base) - 32);
    glCallLists(5, GL_UNSIGNED_BYTE, "HELLO");
    Method("EndList");
    const SurfaceBuffer text = Picture();
    // Five glyphs of Courier's 10-pixel em, 6 pixels each, on the baseline.
    EXPECT_GT(CountColour(text, RECT{58, 66, 88, 76}, kBlue), 20) << "ink where the label is";
    EXPECT_EQ(CountColour(text, RECT{0, 0, 200, 60}, kBlue), 0) << "and nowhere else";
    EXPECT_EQ(CountColour(text, RECT{95, 0, 200, 150}, kBlue), 0);

    // An outline font asked for later changes nothing: same base, same text.
    Method("BeginList");
    Method("CreateFont", {CComVariant::I4(FALSE)});
    EXPECT_EQ(FontList(), base);
    glColor3ub(0, 0, 255);
    glRasterPos2d(-0.2, 0.0);
    glListBase(GLuint(base) - 32);
    glCallLists(5, GL_UNSIGNED_BYTE, "HELLO");
    Method("EndList");
    const SurfaceBuffer again = Picture();
    int different = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            different += again.Pixel(x, y) != text.Pixel(x, y);
    EXPECT_EQ(different, 0) << "still the bitmap glyphs";
}

TEST_F(LineViewListsTest, OutlineGlyphsAreEmHighPolygons) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    Method("BeginList");
    Method("CreateFont", {CComVariant::I4(FALSE)});
    const LONG base = FontList();
    ASSERT_NE(base, 0);
    glColor3ub(0, 0, 255);
    glPushMatrix();
    glTranslated(-0.2, -0.1, 0);
    glScaled(0.3, 0.3, 0.3); // an em of 0.3 units, 62 pixels
    glCallList(GLuint(base) + 'I' - 32);
    glPopMatrix();
    Method("EndList");
    const SurfaceBuffer p = Picture();
    // A capital I of Liberation Mono: filled, about 0.66 em high.
    EXPECT_GT(CountColour(p, kAll, kBlue), 150);
    EXPECT_EQ(CountColour(p, RECT{0, 0, 200, 40}, kBlue), 0);
}

TEST_F(LineViewListsTest, ThePointSizeIsTwoPixelsInWorldUnitsBeforeAndAfterTheFirstPaint) {
    m_view = Create(false);
    const float before = PointSize();
    // 150 pixels show the home window's 0.728 units.
    EXPECT_NEAR(before, 2 * 2 * 0.36397 / 150, 1e-6);
    session.Pump();
    EXPECT_EQ(PointSize(), before);
    // None of the methods marks the control modified.
    CLineViewCtrl* view = Object(m_view);
    view->SetModifiedFlag(FALSE);
    Method("EnableLight", {CComVariant::I4(TRUE)});
    Method("EnableHiddenLine", {CComVariant::I4(TRUE)});
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    Method("BeginList");
    Method("CreateFont", {CComVariant::I4(TRUE)});
    Method("EndList");
    EXPECT_FALSE(view->IsModified());
}

TEST_F(LineViewListsTest, DestroyingTheWindowReleasesTheContextAndItsLists) {
    m_view = Create();
    Method("BeginList");
    Method("CreateFont", {CComVariant::I4(TRUE)});
    Method("EndList");
    const HGLRC context = Object(m_view)->RenderingContext();
    ASSERT_NE(context, nullptr);
    const HWND hwnd = Object(m_view)->GetSafeHwnd();
    const HDC dc = GetDC(hwnd);
    Close(m_view);
    EXPECT_FALSE(wglMakeCurrent(dc, context)) << "the context is gone";
    EXPECT_FALSE(wglDeleteContext(context));
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    // A list left open by a host that goes away is closed with it.
    m_view = Create();
    Method("BeginList");
    Close(m_view);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST_F(LineViewListsTest, WithoutAPixelFormatTheHostRunsOnAndTheViewerShowsItsFace) {
    const struct {
        kw::gl::InjectedFailure failure;
        const char* text;
    } cases[] = {{kw::gl::InjectedFailure::NoPixelFormat, "May be you do not install OpenGL!"},
                 {kw::gl::InjectedFailure::SetPixelFormat, "Can not set pixel format for OpenGL!"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        kw::gl::InjectFailure(c.failure);
        session.Modal().messageBoxes.clear();
        m_view = Create();
        ASSERT_EQ(session.Modal().messageBoxes.size(), 1u);
        EXPECT_EQ(session.Modal().messageBoxes[0].text, c.text);
        EXPECT_EQ(session.Modal().messageBoxes[0].caption, "Error!");
        EXPECT_EQ(session.Modal().messageBoxes[0].type, MB_ICONERROR);
        CLineViewCtrl* view = Object(m_view);
        EXPECT_EQ(view->RenderingContext(), nullptr);
        Method("BeginList");
        EXPECT_FALSE(view->IsListOpen());
        EXPECT_EQ(wglGetCurrentContext(), nullptr);
        Method("CreateFont", {CComVariant::I4(TRUE)});
        Method("EndList");
        Method("Fit");
        EXPECT_EQ(FontList(), 0);
        EXPECT_EQ(view->DisplayList(), 0u);
        const SurfaceBuffer p = Picture();
        EXPECT_EQ(CountColour(p, kAll, FacePixel()), 200 * 150) << "the face, no indicator";
        Close(m_view);
    }
}
