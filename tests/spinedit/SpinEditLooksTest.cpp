// The looks that flags, colours and the keyboard focus give the field: the
// focus rectangle of each part where the layout puts it, flat unit and frame,
// a centred label, and the label and value colours.
#include "SpinEditTestSupport.h"

#include "platform/gdi/SysColors.h"

using spinedit_test::SpinEditTest;

namespace {

std::uint32_t Rgb(COLORREF c) {
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// The pixels two pictures of the field differ in, as a rectangle with
// exclusive right and bottom edges (empty when they are equal).
CRect Differences(const SurfaceBuffer& a, const SurfaceBuffer& b) {
    CRect box(1 << 30, 1 << 30, -1, -1);
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.right < 0 ? CRect() : box;
}

int Count(const SurfaceBuffer& pixels, const RECT& rc, std::uint32_t pixel) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += pixels.Pixel(x, y) == pixel;
    return n;
}

class SpinEditLooksTest : public SpinEditTest {
protected:
    // The picture with the focus on `part`, and the difference to the same
    // field without the focus: where the part's focus rectangle lies.
    CRect FocusRectOf(SHORT part) {
        Focus();
        for (int i = 0; i < 5 && Field()->FocusPart() != part; ++i)
            session.Key(VK_RIGHT);
        EXPECT_EQ(Field()->FocusPart(), part);
        const SurfaceBuffer focused = Pixels();
        ::SetFocus(m_host);
        session.Pump();
        return Differences(focused, Pixels());
    }
};

} // namespace

TEST_F(SpinEditLooksTest, EachPartDrawsItsFocusRectangleWhereTheLayoutPutsIt) {
    Create(RECT{10, 10, 230, 31});
    Put("Flags", CComVariant::I2(4 | 8 | kSpinEditFlagAbsRel));
    Put("Label", CComVariant::Str("F"));
    ASSERT_TRUE(SetVal(1.0, -1));
    const SpinEditParts parts = Parts();

    CRect label = *parts.label;
    label.DeflateRect(2, 1);
    EXPECT_EQ(FocusRectOf(CSpinEditCtrl::kLabel), label);

    const CRect spin(parts.down->left, parts.up->top, parts.down->right, parts.down->bottom);
    EXPECT_EQ(FocusRectOf(CSpinEditCtrl::kSpin), spin);

    CRect unit = *parts.unit;
    unit.DeflateRect(3, 2);
    EXPECT_EQ(FocusRectOf(CSpinEditCtrl::kUnit), unit);

    CRect absRel = *parts.absRel;
    absRel.DeflateRect(3, 2);
    EXPECT_EQ(FocusRectOf(CSpinEditCtrl::kAbsRel), absRel);

    // The value's rectangle lies inside the sunken frame.
    const CRect value = FocusRectOf(CSpinEditCtrl::kValue);
    EXPECT_FALSE(value.IsRectEmpty());
    EXPECT_GE(value.left, parts.value->left - 1);
    EXPECT_LE(value.right, parts.value->right + 1);
}

TEST_F(SpinEditLooksTest, FlatUnitDropsTheUnitButtonsAndTheFramesEdges) {
    Create();
    ASSERT_TRUE(SetVal(1.0, -1));
    const std::uint32_t face = Rgb(GetSysColor(COLOR_BTNFACE));
    const CRect unit = *Parts().unit;
    const SurfaceBuffer raised = Pixels();
    // The button's lower right edge is shadowed; the frame's outer top row too.
    EXPECT_NE(raised.Pixel(unit.right - 1, unit.bottom - 1), face);
    EXPECT_NE(raised.Pixel(Parts().value->left, Parts().value->top - 2), face);

    Put("Flags", CComVariant::I2(4 | kSpinEditFlagFlatUnit));
    const SurfaceBuffer flat = Pixels();
    EXPECT_EQ(flat.Pixel(unit.right - 1, unit.bottom - 1), face);
    EXPECT_EQ(flat.Pixel(unit.left, unit.top), face);
    EXPECT_EQ(flat.Pixel(Parts().value->left, Parts().value->top - 2), face);
}

TEST_F(SpinEditLooksTest, CenterLabelCentresTheLabelText) {
    Create(RECT{10, 10, 230, 31});
    Put("Label", CComVariant::Str("X"));
    Put("LabelWidth", CComVariant::I2(60));
    auto inkOfLabel = [&] {
        const SurfaceBuffer pixels = Pixels();
        const CRect label = *Parts().label;
        int left = label.right, right = label.left;
        for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x)
                if ((pixels.Pixel(x, y) & 0xFF) < 0x60) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                }
        return std::pair{left - label.left, label.right - right};
    };
    const auto [leftAligned, rightGap] = inkOfLabel();
    EXPECT_LE(leftAligned, 3) << "left aligned, two pixels in";
    EXPECT_GT(rightGap, 40);
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagCenterLabel));
    const auto [left, right] = inkOfLabel();
    EXPECT_LE(std::abs(left - right), 2) << "gaps " << left << " and " << right;
}

TEST_F(SpinEditLooksTest, TheLabelAndValueColoursFillTheirParts) {
    Create(RECT{10, 10, 230, 31});
    Put("Flags", CComVariant::I2(4 | 8));
    Put("Label", CComVariant::Str("F"));
    ASSERT_TRUE(SetVal(1.0, -1));
    CComVariant ok;
    ASSERT_EQ(Call("SetLabelColor", DISPATCH_METHOD, {CComVariant::I4(LONG(RGB(0xC0, 0x20, 0x20)))}, &ok),
              S_OK);
    ASSERT_EQ(Call("SetValueColor", DISPATCH_METHOD, {CComVariant::I4(LONG(RGB(0xFF, 0xF0, 0x80)))}, &ok),
              S_OK);
    const SurfaceBuffer pixels = Pixels();
    CRect inner = *Parts().label;
    inner.DeflateRect(3, 3);
    EXPECT_GT(Count(pixels, inner, 0xC02020), inner.Width() * inner.Height() / 2);
    const CRect value = *Parts().value;
    EXPECT_GT(Count(pixels, value, 0xFFF080), value.Width() * value.Height() / 2);

    // Disabled, the value field is on the button face instead.
    ASSERT_EQ(Call("Enabled", DISPATCH_PROPERTYPUT, {CComVariant::Bool(false)}), S_OK);
    EXPECT_EQ(Count(Pixels(), value, 0xFFF080), 0);
}
