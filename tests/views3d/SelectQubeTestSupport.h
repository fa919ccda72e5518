#pragma once
// The point picker in a headless host, reached by DISPID as a host that
// reads its type library must reach it.
#include "tests/views3d/ViewsTestSupport.h"
#include "views3d/SelectQubeCtrl.h"

#include <array>
#include <cstdint>

namespace views3d_test {

// Its DISPIDs.
constexpr DISPID kDefaultSel = 1, kGetOffsets = 2, kSetRegion = 3, kGetBezug = 4, kGetSel = 5,
                 kSetSel = 6, kGetReg3DSel = 7;

constexpr std::uint32_t kFace = 0xC0C0C0;   // the button face
constexpr std::uint32_t kShadow = 0x808080; // the button shadow and the disabled ink
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlack = 0x000000;

class QubeTest : public ControlHostTest<CSelectQubeCtrl> {
protected:
    QubeTest() : ControlHostTest(kw::ids::CLSID_SelectQube, kw::ids::IID_DSelectQubeEvents) {}

    SHORT Sel() { return GetShort(kGetSel, DISPATCH_METHOD); }
    SHORT Reg3D() { return GetShort(kGetReg3DSel, DISPATCH_METHOD); }
    void SetSel(SHORT index) {
        ASSERT_EQ(Invoke(kSetSel, DISPATCH_METHOD, {CComVariant::I2(index)}), S_OK);
        session.Pump();
    }
    void SetRegion(float a, float b, float c, float d, float e, float f) {
        ASSERT_EQ(Invoke(kSetRegion, DISPATCH_METHOD,
                         {CComVariant::R4(a), CComVariant::R4(b), CComVariant::R4(c),
                          CComVariant::R4(d), CComVariant::R4(e), CComVariant::R4(f)}),
                  S_OK);
    }
    // The three by-reference answers, each filled with a marker first, so
    // that a value left unwritten shows.
    std::array<SHORT, 3> Bezug() {
        std::array<SHORT, 3> out{-77, -77, -77};
        std::vector<CComVariant> args(3);
        for (std::size_t i = 0; i < 3; ++i) {
            args[i].vt = VT_BYREF | VT_I2;
            args[i].piVal = &out[i];
        }
        EXPECT_EQ(Invoke(kGetBezug, DISPATCH_METHOD, args), S_OK);
        for (auto& a : args)
            a.vt = VT_EMPTY; // views of `out`
        return out;
    }
    std::array<float, 3> Offsets() {
        std::array<float, 3> out{-77.0f, -77.0f, -77.0f};
        std::vector<CComVariant> args(3);
        for (std::size_t i = 0; i < 3; ++i) {
            args[i].vt = VT_BYREF | VT_R4;
            args[i].pfltVal = &out[i];
        }
        EXPECT_EQ(Invoke(kGetOffsets, DISPATCH_METHOD, args), S_OK);
        for (auto& a : args)
            a.vt = VT_EMPTY;
        return out;
    }
    const kw::views3d::QubePoint& Point(int i) const {
        return Ctrl()->Geometry().table[std::size_t(i)];
    }
    std::uint32_t CentreOf(const SurfaceBuffer& pixels, int i) const {
        return pixels.Pixel(Point(i).x, Point(i).y);
    }
    // Pixels of one colour in the control.
    static int CountOf(const SurfaceBuffer& pixels, std::uint32_t colour) {
        int n = 0;
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                n += pixels.Pixel(x, y) == colour;
        return n;
    }
    // Points whose centre shows the hover colour.
    int RedCentres(const SurfaceBuffer& pixels) const {
        int n = 0;
        for (int i = 0; i < Ctrl()->Geometry().count; ++i)
            n += CentreOf(pixels, i) == kRed;
        return n;
    }
    // A place beside point i, outside every point's square; the control's
    // own hit test is the judge.
    POINT Beside(int i) const {
        const auto& p = Point(i);
        for (POINT c : {POINT{p.x + 4, p.y}, POINT{p.x - 5, p.y}, POINT{p.x, p.y + 4},
                        POINT{p.x, p.y - 5}, POINT{p.x + 4, p.y + 4}, POINT{p.x - 5, p.y - 5}})
            if (kw::views3d::QubeHitTest(Ctrl()->Geometry(), c) < 0 && c.x >= 0 && c.y >= 0)
                return c;
        ADD_FAILURE() << "no free place beside point " << i;
        return POINT{79, 79};
    }
};

} // namespace views3d_test
