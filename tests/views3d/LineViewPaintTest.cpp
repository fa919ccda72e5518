// What the viewer paints, from the pixels of real rendering: the
// background and axis indicator, the host's list in the three display
// modes, and the same picture wherever it is drawn.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "tests/views3d/LineViewTestSupport.h"

using namespace kw::test;

namespace {

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kLightGrey = 0xC0C0C0;

// In 2D mode the 200 x 150 viewer shows the home window's height, 2 x
// 0.36397 world units, over 150 pixels: 206 pixels a unit, the origin at
// the centre.
constexpr double kPixelsPerUnit = 75 / 0.36397023426620234;
int PixelX(double x) {
    return int(100 + x * kPixelsPerUnit);
}
int PixelY(double y) {
    return int(75 - y * kPixelsPerUnit);
}

// The pixels in a rectangle that are not the given colour.
int CountOther(const SurfaceBuffer& pixels, RECT rc, std::uint32_t colour) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += pixels.Pixel(x, y) != colour;
    return n;
}
int Count(const SurfaceBuffer& pixels, RECT rc, std::uint32_t colour) {
    return (rc.right - rc.left) * (rc.bottom - rc.top) - CountOther(pixels, rc, colour);
}

class LineViewPaintTest : public LineViewTest {
protected:
    // A face at z = 0 around the centre and a line behind it at z = -1,
    // crossing it; with `colours` the face is green and the line blue,
    // otherwise the list leaves the colour to the viewer.
    void FaceWithLineBehind(bool colours) {
        Method("BeginList");
        if (colours)
            glColor3ub(0, 160, 0);
        glNormal3d(0, 0, 1);
        glBegin(GL_QUADS);
        glVertex3d(-0.2, -0.1, 0);
        glVertex3d(0.2, -0.1, 0);
        glVertex3d(0.2, 0.1, 0);
        glVertex3d(-0.2, 0.1, 0);
        glEnd();
        if (colours)
            glColor3ub(0, 0, 255);
        glBegin(GL_LINES);
        glVertex3d(-0.3, 0.0, -1);
        glVertex3d(0.3, 0.0, -1);
        glEnd();
        Method("EndList");
    }
    // The column of the line's pixels at x = 0.25 (outside the face) and
    // at the centre (behind it).
    std::uint32_t LineOutside(const SurfaceBuffer& p) { return Darkest(p, PixelX(0.25)); }
    std::uint32_t LineAtCentre(const SurfaceBuffer& p) { return Darkest(p, PixelX(0.0)); }
    // The line is one pixel thick; which row it lands in is the
    // rasteriser's business, so the two rows around y = 0 are looked at.
    std::uint32_t Darkest(const SurfaceBuffer& p, int x) {
        // Shaded, the line is lit: blue, with a little of the others.
        auto blue = [](std::uint32_t c) {
            return (c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) < 0x60 && (c >> 16) < 0x60;
        };
        const std::uint32_t a = p.Pixel(x, PixelY(0) - 1), b = p.Pixel(x, PixelY(0));
        return blue(a) || blue(b) ? kBlue : a == kRed || b == kRed ? kRed : b;
    }
};

} // namespace

TEST_F(LineViewPaintTest, AFreshViewerPaintsTheButtonFaceAndTheAxisIndicator) {
    m_view = Create();
    const SurfaceBuffer pixels = Picture();
    ASSERT_EQ(pixels.Width(), kWidth);
    // The indicator sits in the lower-left corner: 60 x 50 pixels here.
    EXPECT_EQ(CountOther(pixels, RECT{60, 0, kWidth, kHeight}, FacePixel()), 0)
        << "only the face outside the corner";
    EXPECT_EQ(CountOther(pixels, RECT{0, 0, kWidth, 100}, FacePixel()), 0);
    const int ink = CountOther(pixels, RECT{0, 100, 60, kHeight}, FacePixel());
    EXPECT_GT(ink, 100) << "the sphere, the axes and the cones";
    // Shaded, with the depth test, the sphere in the corner's centre shows
    // its lit yellow front. (In wireframe mode there is no depth test, and
    // its far side, facing away from the lights, is drawn over it.)
    Method("EnableLight", {CComVariant::I4(TRUE)});
    const std::uint32_t sphere = Picture().Pixel(30, 125);
    EXPECT_GT((sphere >> 16) & 0xFF, 0x80u) << std::hex << sphere;
    EXPECT_GT((sphere >> 8) & 0xFF, 0x80u) << std::hex << sphere;
    EXPECT_LT(sphere & 0xFF, 0x40u) << std::hex << sphere;

    Method("EnableLight", {CComVariant::I4(FALSE)});
    // In 2D mode there is no indicator; the angles are all 0 either way.
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    EXPECT_EQ(CountOther(Picture(), RECT{0, 0, kWidth, kHeight}, FacePixel()), 0);
    Method("Set2DMode", {CComVariant::I4(FALSE)});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Object(m_view)->ViewAngles()[i], 0.0f) << "angle " << i;
    EXPECT_GT(CountOther(Picture(), RECT{0, 100, 60, kHeight}, FacePixel()), 100);
}

TEST_F(LineViewPaintTest, WireframeShowsTheLineBehindAFaceShadedAndHiddenLineHideIt) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    FaceWithLineBehind(true);
    SurfaceBuffer p = Picture();
    EXPECT_EQ(LineOutside(p), kBlue);
    EXPECT_EQ(LineAtCentre(p), kBlue) << "wireframe: no depth test";
    EXPECT_EQ(p.Pixel(PixelX(0.1), PixelY(0.05)), FacePixel()) << "the face is an outline";
    EXPECT_GT(
        Count(p, RECT{PixelX(-0.15), PixelY(0.1) - 1, PixelX(0.15), PixelY(0.1) + 1}, 0x00A000), 20)
        << "its top edge in the list's green";

    Method("EnableLight", {CComVariant::I4(TRUE)});
    p = Picture();
    EXPECT_EQ(LineOutside(p), kBlue) << "the line outside the face stays";
    EXPECT_NE(LineAtCentre(p), kBlue) << "shaded: the face hides the line";
    const std::uint32_t lit = p.Pixel(PixelX(0.1), PixelY(0.05));
    EXPECT_GT((lit >> 8) & 0xFF, 0x60u) << "a lit green face: " << std::hex << lit;
    EXPECT_LT(lit & 0xFF, (lit >> 8) & 0xFF);

    Method("EnableLight", {CComVariant::I4(FALSE)});
    Method("EnableHiddenLine", {CComVariant::I4(TRUE)});
    p = Picture();
    EXPECT_NE(LineAtCentre(p), kBlue) << "hidden-line: the face hides the line";
    EXPECT_EQ(LineOutside(p), kBlue);
    Method("EnableLight", {CComVariant::I4(TRUE)});
    EXPECT_NE(LineAtCentre(Picture()), kBlue) << "whatever the light flag";
}

TEST_F(LineViewPaintTest, HiddenLineDrawsRedEdgesOverLightGreyFaces) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    Method("EnableHiddenLine", {CComVariant::I4(TRUE)});
    FaceWithLineBehind(false);
    const SurfaceBuffer p = Picture();
    EXPECT_EQ(p.Pixel(PixelX(0.1), PixelY(0.05)), kLightGrey);
    EXPECT_EQ(LineOutside(p), kRed);
    EXPECT_EQ(LineAtCentre(p), kLightGrey) << "the line behind the face is gone";
    EXPECT_GT(Count(p, RECT{PixelX(-0.15), PixelY(0.1) - 1, PixelX(0.15), PixelY(0.1) + 1}, kRed),
              20)
        << "the face's top edge in red";
}

TEST_F(LineViewPaintTest, APrintedViewerShowsWhatItsWindowShows) {
    m_view = Create();
    Method("Set2DMode", {CComVariant::I4(TRUE)});
    FaceWithLineBehind(true);
    const SurfaceBuffer shown = Picture();
    const HWND hwnd = Object(m_view)->GetSafeHwnd();
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    PixelSurface printed;
    ASSERT_TRUE(GetBitmapSurface(bitmap, &printed));
    int different = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            different += printed.At(x, y) != shown.Pixel(x, y);
    EXPECT_EQ(different, 0);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
