// The read-out in a headless host: its interface against the type library,
// the cells it draws for the documented cases (each cell recognised as the
// combination of strip glyphs it must be), the three sizes, the disabled and
// error strips, the Uninitialized state, persistence.
#include "machine/DigitCtrl.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/gdi/AfxGdi.h"
#include "tests/machine/CurveDigitHost.h"

#include <map>

using machine_test::ControlHost;
using machine_test::MemberSpec;

namespace {

// A glyph strip's pixels, read through a memory DC as the control reads it.
struct Strip {
    int width{0}, height{0};
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

Strip ReadStrip(UINT id) {
    Strip strip;
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(id))
        return strip;
    BITMAP bm{};
    bitmap.GetBitmap(&bm);
    strip.width = bm.bmWidth;
    strip.height = bm.bmHeight;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    for (int y = 0; y < strip.height; ++y)
        for (int x = 0; x < strip.width; ++x) {
            const COLORREF c = dc.GetPixel(x, y);
            strip.pixels.push_back((std::uint32_t(GetRValue(c)) << 16) |
                                   (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c));
        }
    dc.SelectObject(old);
    return strip;
}

const char kGlyphNames[] = "0123456789 - ";

class DigitTest : public ControlHost<CDigitCtrl> {
protected:
    DigitTest() : ControlHost(kw::ids::CLSID_Digit, kw::ids::IID_DDigitEvents) {}
    void SetUp() override {
        ControlHost::SetUp();
        Create(RECT{10, 10, 210, 60});
    }

    void SetVal(double v) {
        ASSERT_EQ(Call("SetVal", DISPATCH_METHOD, {CComVariant::R8(v)}), S_OK);
    }
    void Show(const char* format, double value, SHORT flags = 0, SHORT maxSize = 5) {
        Put("Format", CComVariant::Str(format));
        Put("Flags", CComVariant::I2(flags));
        Put("MaxSize", CComVariant::I2(maxSize));
        SetVal(value);
    }

    // What the cells show, read back from the pixels: per cell the glyph
    // combined into it ('0'..'9', ' ' blank or nothing, '-') and '.' when
    // its point is lit, each followed by '|'. A cell that is no such
    // combination of `strip` shows as '?'.
    std::string Cells(UINT stripId, int count) {
        const Strip strip = ReadStrip(stripId);
        const int w = Object()->GlyphWidth(), h = Object()->GlyphHeight();
        EXPECT_EQ(strip.width / 13, w);
        const SurfaceBuffer pixels = Pixels();
        std::string line;
        for (int k = 0; k < count; ++k) {
            std::string found = "?";
            for (int background : {kDigitGlyphBlank, kDigitGlyphPoint}) {
                for (int glyph = 0; glyph <= kDigitGlyphMinus && found == "?"; ++glyph) {
                    bool same = true;
                    for (int y = 0; y < h && same; ++y)
                        for (int x = 0; x < w && same; ++x)
                            same = pixels.Pixel(1 + k * w + x, 1 + y) ==
                                   (strip.At(background * w + x, y) & strip.At(glyph * w + x, y));
                    if (same)
                        found = std::string(1, kGlyphNames[glyph]) +
                                (background == kDigitGlyphPoint ? "." : "");
                }
            }
            line += found + "|";
        }
        return line;
    }
};

} // namespace

// [SECTION] Interface

TEST_F(DigitTest, TheInterfaceMatchesItsDocumentationAndTheTypeLibrary) {
    const std::vector<MemberSpec> members = {
        {"Format", "m_strFormat", 1, DispKind::Property, VT_BSTR, VT_BSTR, {}},
        {"Flags", "m_nFlags", 2, DispKind::Property, VT_I2, VT_I2, {}},
        {"MaxSize", "m_nMaxSize", 3, DispKind::Property, VT_I2, VT_I2, {}},
        {"SetFormat",
         "SetFormat",
         4,
         DispKind::Method,
         VT_EMPTY,
         VT_EMPTY,
         {{"format", VT_BYREF | VT_BSTR}}},
        {"SetVal", "SetVal", 5, DispKind::Method, VT_EMPTY, VT_EMPTY, {{"dbValue", VT_R8}}},
        {"GetVal", "GetVal", 6, DispKind::Method, VT_R8, VT_R8, {}},
        {"Enabled", "Enabled", -514, DispKind::Property, VT_BOOL, VT_BOOL, {}},
        {"AboutBox", "AboutBox", -552, DispKind::Method, VT_EMPTY, VT_EMPTY, {}},
    };
    machine_test::ExpectInterface(DigitDispatchTable(), kw::ids::IID_DDigit, members);
    machine_test::ExpectInterface(DigitEventTable(), kw::ids::IID_DDigitEvents, {});
}

TEST_F(DigitTest, AFreshReadOutHasItsDefaultsAndSavesThemByName) {
    int cx = 0, cy = 0;
    Create(RECT{10, 10, 60, 30});
    Object()->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 50);
    EXPECT_EQ(cy, 20);
    EXPECT_EQ(std::string(BstrView(Get("Format").bstrVal)), "%f");
    EXPECT_EQ(Get("Flags").iVal, 0);
    EXPECT_EQ(Get("MaxSize").iVal, 5);
    EXPECT_EQ(Object()->BitmapId(), CDigitCtrl::kMediumStrip);

    Put("Format", CComVariant::Str("%6.2f"));
    Put("Flags", CComVariant::I2(kDigitSmall | kDigitZeroPadding));
    Put("MaxSize", CComVariant::I2(7));
    SetVal(3.5);
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->Values()["Format"], "%6.2f");
    EXPECT_EQ(bag->Values()["Flags"], 5);
    EXPECT_EQ(bag->Values()["MaxSize"], 7);

    Create(RECT{10, 10, 60, 30});
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(Get("MaxSize").iVal, 7);
    EXPECT_EQ(Object()->BitmapId(), CDigitCtrl::kSmallStrip) << "strips reloaded after loading";
    EXPECT_EQ(Object()->GlyphWidth(), 12);
    CComVariant value;
    ASSERT_EQ(Call("GetVal", DISPATCH_METHOD, {}, &value), S_OK);
    EXPECT_EQ(value.dblVal, 0.0) << "the value is not stored";
}

TEST_F(DigitTest, SetFormatStoresAChangedFormatWithoutMarkingModified) {
    Object()->SetModifiedFlag(FALSE);
    CComBSTR text("%4.1f");
    CComVariant format;
    format.vt = VT_BYREF | VT_BSTR;
    format.pbstrVal = &text;
    ASSERT_EQ(Call("SetFormat", DISPATCH_METHOD, {format}), S_OK);
    EXPECT_EQ(std::string(BstrView(Get("Format").bstrVal)), "%4.1f");
    EXPECT_FALSE(Object()->IsModified());
    Put("Format", CComVariant::Str("%f")); // the property marks modified
    EXPECT_TRUE(Object()->IsModified());
}

// [SECTION] Cells of the documented cases

TEST_F(DigitTest, AHostFormatWithAPointSharesTheDigitsCell) {
    Show("%5.1f", 12.5);
    EXPECT_EQ(Object()->Text(), " 12.5");
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), " |1|2.|5| |");
}

TEST_F(DigitTest, ZeroPaddingShowsLeadingZerosOnlyForValuesNotNegative) {
    Show("%5.1f", 12.5, kDigitZeroPadding);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), "0|1|2.|5| |");
    SetVal(-2.5);
    EXPECT_EQ(Object()->Text(), " -2.5");
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), " |-|2.|5| |");
}

TEST_F(DigitTest, TheDefaultFormatOfZeroFillsFiveCells) {
    Show("%f", 0.0);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), "0.|0|0|0|0|");
}

TEST_F(DigitTest, TooLongATextAndARefusedFormatShowDashes) {
    Show("%f", 1e20);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), "-|-|-|-|-|");
    Show("%s", 1.0);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), "-|-|-|-|-|");
    Show("%5.1f%n", 1.0);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), "-|-|-|-|-|");
    Show("", 1.0);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), "-|-|-|-|-|");
}

TEST_F(DigitTest, UninitializedShowsMinusSignsUntilTheFirstSetVal) {
    Show("%5.1f", 0.0, 0, 12);
    Put("Flags", CComVariant::I2(kDigitUninitialized));
    // Ten minus signs; the two cells past them keep their blank background.
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 12), "-|-|-|-|-|-|-|-|-|-| | |");
    Object()->SetModifiedFlag(FALSE);
    SetVal(0.0); // the value it already has
    EXPECT_EQ(Get("Flags").iVal, 0);
    EXPECT_FALSE(Object()->IsModified());
    EXPECT_EQ(Cells(CDigitCtrl::kMediumStrip, 5), " | |0.|0| |");
}

// [SECTION] Sizes and looks

TEST_F(DigitTest, SwitchingSizesReloadsTheStripsAndTheCellSize) {
    const struct {
        SHORT flags;
        UINT strip;
        int w, h;
    } sizes[] = {{kDigitBig, CDigitCtrl::kBigStrip, 32, 38},
                 {kDigitSmall, CDigitCtrl::kSmallStrip, 12, 14},
                 {kDigitBig | kDigitSmall, CDigitCtrl::kBigStrip, 32, 38},
                 {0, CDigitCtrl::kMediumStrip, 16, 19}};
    Create(RECT{10, 10, 210, 60});
    for (const auto& s : sizes) {
        Show("%4.1f", -7.5, s.flags, 4);
        EXPECT_EQ(Object()->BitmapId(), s.strip);
        EXPECT_EQ(Object()->GlyphWidth(), s.w);
        EXPECT_EQ(Object()->GlyphHeight(), s.h);
        EXPECT_EQ(Cells(s.strip, 4), "-|7.|5| |") << "flags " << s.flags;
    }
}

TEST_F(DigitTest, TheErrorAndDisabledLooksDrawTheirOwnStrips) {
    Show("%4.1f", 3.5, kDigitError, 4);
    EXPECT_EQ(Cells(CDigitCtrl::kMediumErrorStrip, 4), " |3.|5| |");
    Enable(false); // disabled wins over the error state
    EXPECT_EQ(Cells(CDigitCtrl::kMediumDisabledStrip, 4), " |3.|5| |");
    Enable(true);
    Put("Flags", CComVariant::I2(kDigitSmall | kDigitError));
    EXPECT_EQ(Cells(CDigitCtrl::kSmallErrorStrip, 4), " |3.|5| |");
}

TEST_F(DigitTest, ADisabledBigReadOutCutsTheSmallDisabledStripAtTheBigCellSize) {
    Show("%2.0f", 10.0, kDigitBig, 2);
    Enable(false);
    EXPECT_EQ(Object()->GlyphWidth(), 32);
    const Strip small = ReadStrip(CDigitCtrl::kSmallDisabledStrip);
    ASSERT_EQ(small.width, 156);
    ASSERT_EQ(small.height, 14);
    // Drawn through IViewObject over a marker colour, to see what the
    // drawing touches.
    constexpr COLORREF kMarker = RGB(0x5A, 0xA5, 0x3C);
    constexpr std::uint32_t kMarkerPixel = 0x5AA53C;
    ComPtr<IViewObject> view;
    ASSERT_EQ(m_disp.As(IID_IViewObject, &view), S_OK);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap target;
    CDC* screen = CDC::FromHandle(::GetDC(nullptr));
    target.CreateCompatibleBitmap(screen, 80, 40);
    ::ReleaseDC(nullptr, screen->GetSafeHdc());
    CBitmap* old = dc.SelectObject(&target);
    dc.FillSolidRect(0, 0, 80, 40, kMarker);
    RECT bounds{0, 0, 80, 40};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, dc.GetSafeHdc(), &bounds), S_OK);
    auto at = [&](int x, int y) {
        const COLORREF c = dc.GetPixel(x, y);
        return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
               GetBValue(c);
    };
    // Cell 1 shows glyph 0, cut from x 0 .. 31 and rows 0 .. 13 of the small
    // strip; its blank background (glyph 10, at x 320) lies outside the
    // strip and copies nothing.
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(at(1 + 32 + x, 1 + y), kMarkerPixel & small.At(x, y)) << x << "," << y;
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(at(1 + x, 1 + 20), kMarkerPixel) << "below the strip's height, x " << x;
    dc.SelectObject(old);
}
