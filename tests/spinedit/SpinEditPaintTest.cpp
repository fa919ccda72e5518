// What the field looks like: the value text centred in its field, the
// pressed spin button, disabled texts embossed, the "---" of an unset value,
// and the same picture through WM_PRINTCLIENT.
#include "SpinEditTestSupport.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"

using spinedit_test::SpinEditTest;

namespace {

std::uint32_t Rgb(COLORREF c) {
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// The columns and rows inside a rectangle where some kind of pixel lies.
struct Ink {
    int left{1 << 30}, right{-1}, top{1 << 30}, bottom{-1}, count{0};
};

int Brightness(std::uint32_t p) {
    return int((p >> 16) & 0xFF) + int((p >> 8) & 0xFF) + int(p & 0xFF);
}

// Where the pixels inside `rc` that `isInk` picks lie.
template <class Pick> Ink FindInk(const SurfaceBuffer& pixels, const RECT& rc, Pick isInk) {
    Ink ink;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (isInk(pixels.Pixel(x, y))) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

// Pixels lighter (`sign` +1) or darker (-1) than `face`.
Ink FindShade(const SurfaceBuffer& pixels, const RECT& rc, std::uint32_t face, int sign) {
    return FindInk(pixels, rc,
                   [&](std::uint32_t p) { return (Brightness(p) - Brightness(face)) * sign > 24; });
}

// Dark pixels on a light field: text.
Ink FindDarkInk(const SurfaceBuffer& pixels, const RECT& rc) {
    return FindInk(pixels, rc, [](std::uint32_t p) { return Brightness(p) < 3 * 128; });
}

} // namespace

TEST_F(SpinEditTest, TheValueIsDrawnCentredInTheValueField) {
    Create();
    Put("Units", CComVariant::I2(1));
    Put("PointPos", CComVariant::I2(2));
    ASSERT_TRUE(SetVal(12.5, -1));
    const SurfaceBuffer pixels = Pixels();
    const CRect value = *Parts().value;
    EXPECT_EQ(pixels.Pixel(value.left, value.top), Rgb(::GetSysColor(COLOR_WINDOW)));
    const Ink ink = FindDarkInk(pixels, value);
    ASSERT_GT(ink.count, 10) << "the text 12.50";
    const int leftMargin = ink.left - value.left;
    const int rightMargin = value.right - 1 - ink.right;
    EXPECT_LE(std::abs(leftMargin - rightMargin), 2) << leftMargin << " vs " << rightMargin;
    const int topMargin = ink.top - value.top;
    const int bottomMargin = value.bottom - 1 - ink.bottom;
    EXPECT_LE(std::abs(topMargin - bottomMargin), 3) << topMargin << " vs " << bottomMargin;
    // And the unit text on its button.
    EXPECT_GT(FindDarkInk(pixels, *Parts().unit).count, 10);
}

TEST_F(SpinEditTest, AnUnsetValueShowsDashesWithShowUninitialized) {
    Create();
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagShowUninitialized));
    const Ink dashes = FindDarkInk(Pixels(), *Parts().value);
    ASSERT_GT(dashes.count, 3);
    EXPECT_LE(dashes.bottom - dashes.top, 2) << "a flat row of dashes";
    ASSERT_TRUE(SetVal(8.0, -1));
    const Ink digit = FindDarkInk(Pixels(), *Parts().value);
    EXPECT_GT(digit.bottom - digit.top, 4) << "the digit 8";
}

TEST_F(SpinEditTest, APressedSpinButtonLooksPressedUntilReleased) {
    Create();
    const CRect up = *Parts().up;
    const SurfaceBuffer before = Pixels();
    MoveTo(Centre(up));
    session.MouseDown();
    const SurfaceBuffer pressed = Pixels();
    int changed = 0;
    for (int y = up.top; y < up.bottom; ++y)
        for (int x = up.left; x < up.right; ++x)
            changed += before.Pixel(x, y) != pressed.Pixel(x, y);
    EXPECT_GT(changed, 4);
    // A pressed button loses its light top-left edge.
    EXPECT_NE(pressed.Pixel(up.left + 1, up.top + 1), before.Pixel(up.left + 1, up.top + 1));
    session.MouseUp();
    const SurfaceBuffer after = Pixels();
    for (int y = up.top; y < up.bottom; ++y)
        for (int x = up.left; x < up.right; ++x)
            ASSERT_EQ(after.Pixel(x, y), before.Pixel(x, y)) << x << "," << y;
}

TEST_F(SpinEditTest, ADisabledFieldEmbossesItsTextsOnButtonFace) {
    Create(RECT{10, 10, 250, 31});
    Put("Label", CComVariant::Str("Vorschub"));
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagAbsRel));
    Put("LabelWidth", CComVariant::I2(50));
    ASSERT_TRUE(SetVal(3.0, -1));
    Put("Enabled", CComVariant::Bool(false));
    const SurfaceBuffer pixels = Pixels();
    const std::uint32_t face = Rgb(::GetSysColor(COLOR_BTNFACE));
    for (const CRect& part : {*Parts().label, *Parts().unit, *Parts().absRel}) {
        // Inside the button edges: text pixels lighter and darker than the face.
        CRect inside = part;
        inside.DeflateRect(2, 2);
        const Ink light = FindShade(pixels, inside, face, +1);
        const Ink dark = FindShade(pixels, inside, face, -1);
        EXPECT_GT(light.count, 5);
        EXPECT_GT(dark.count, 5);
        if (part == *Parts().label) {
            // The highlight lies one pixel below the shadow (and right of
            // it, where the smoothing of the letters leaves it visible).
            EXPECT_EQ(light.bottom, dark.bottom + 1);
            EXPECT_GE(light.right, dark.right);
        }
    }
    const CRect value = *Parts().value;
    EXPECT_EQ(pixels.Pixel(value.left, value.top), Rgb(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(SpinEditTest, ALabelWithABackslashNBreaksIntoTwoLines) {
    Create(RECT{10, 10, 170, 50});
    Put("Label", CComVariant::Str("Soll\\nwert"));
    Put("LabelWidth", CComVariant::I2(40));
    const Ink ink = FindDarkInk(Pixels(), *Parts().label);
    EXPECT_GT(ink.bottom - ink.top, 14) << "two lines of text";
}

TEST_F(SpinEditTest, PrintClientPaintsWhatTheScreenShows) {
    Create();
    ASSERT_TRUE(SetVal(42.0, -1));
    const SurfaceBuffer screen = Pixels();
    SurfaceBuffer printed(screen.Width(), screen.Height(), 0x123456);
    HDC dc = CreateDCForSurface(printed.View(), POINT{0, 0},
                                RECT{0, 0, printed.Width(), printed.Height()});
    ASSERT_NE(dc, nullptr);
    ::SendMessageA(Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    ::DeleteDC(dc);
    int differing = 0;
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            differing += screen.Pixel(x, y) != printed.Pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(SpinEditTest, ARepaintLeavesNothingOfAnEarlierPicture) {
    // A field no wider than its label width halves the label and leaves a
    // strip that no part paints; the erased background must cover it.
    Create(RECT{10, 10, 60, 31});
    Put("Label", CComVariant::Str("Vorschub"));
    Put("LabelWidth", CComVariant::I2(60));
    ASSERT_TRUE(SetVal(1.0, -1));
    session.Pump();
    constexpr COLORREF kMarker = RGB(0xFF, 0x00, 0xFF);
    HDC dc = GetDC(Window());
    RECT client;
    GetClientRect(Window(), &client);
    HBRUSH marker = CreateSolidBrush(kMarker);
    FillRect(dc, &client, marker);
    DeleteObject(marker);
    ReleaseDC(Window(), dc);
    InvalidateRect(Window(), nullptr, TRUE);
    const SurfaceBuffer pixels = Pixels();
    const Ink left = FindInk(pixels, client, [](std::uint32_t p) { return p == 0xFF00FF; });
    EXPECT_EQ(left.count, 0) << "marker pixels left from (" << left.left << ", " << left.top
                             << ") to (" << left.right << ", " << left.bottom << ")";
}
