// The picture button in a headless host: its properties, its drawing in each
// state, hover tracking, auto-repeat over virtual time, every way a press can
// end, persistence and verbs.
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/Surface.h"
#include "tests/buttons/ButtonTestSupport.h"

#include <set>

namespace {

using buttons_test::ButtonTest;

constexpr std::uint32_t kFace = 0xC0C0C0;
constexpr std::uint32_t kShadow = 0x808080;
constexpr std::uint32_t kHighlight = 0xFFFFFF;
constexpr std::uint32_t kDarkShadow = 0x000000;

// A solid bitmap of `w` x `h` whose bottom-left pixel is `corner`.
HBITMAP SolidBitmap(int w, int h, std::uint32_t fill, std::uint32_t corner) {
    BmpImage image{w, h, std::vector<std::uint32_t>(std::size_t(w) * h, fill), false};
    image.pixels[std::size_t(h - 1) * w] = corner;
    return CreateBitmapFromImage(image);
}

std::set<std::uint32_t> Colours(const SurfaceBuffer& pixels, const RECT& rc) {
    std::set<std::uint32_t> out;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            out.insert(pixels.Pixel(x, y) & 0xFFFFFF);
    return out;
}

class BmpButton1Test : public ButtonTest<CBmpButton1Ctrl> {
protected:
    BmpButton1Test() : ButtonTest(kw::ids::CLSID_BmpButton1, kw::ids::IID_DBmpButton1Events) {}
    void SetUp() override {
        ButtonTest::SetUp();
        Create(); // 80 x 40
    }
    void Hold() {
        MoveInside();
        session.MouseDown();
    }
    bool Pushed() { return (::SendMessageA(Window(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }
};

} // namespace

// [SECTION] Properties

TEST_F(BmpButton1Test, AFreshButtonHasItsDefaults) {
    ComPtr<IDispatch> fresh = Make(RECT{150, 20, 178, 48}, false);
    m_extra.push_back(fresh);
    int cx = 0, cy = 0;
    Object(fresh)->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 28);
    EXPECT_EQ(cy, 28);
    EXPECT_EQ(Get("Align").iVal, 0);
    EXPECT_EQ(Get("Flags").iVal, 0);
    EXPECT_EQ(Get("Spacing").iVal, 0);
    EXPECT_EQ(Get("ShowFocus").iVal, 1);
    EXPECT_NE(Get("EnableHoover").boolVal, 0);
    EXPECT_EQ(Get("EnableAutorepeat").boolVal, 0);
    EXPECT_EQ(Get("StaticText").bstrVal ? BstrView(Get("StaticText").bstrVal) : "", "");
    const FontDescription& font = Button()->m_staticFont.Description();
    EXPECT_EQ(font.name, "MS Shell Dlg");
    EXPECT_EQ(font.size, 12.0);
    EXPECT_EQ(font.weight, FW_BOLD);
    EXPECT_EQ(Button()->m_hooverFont.Description(), font);
    EXPECT_EQ(Button()->RestBackground(), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(BmpButton1Test, AlignChangesOnlyTheLowBitsAndComparesTheWholeValue) {
    Put("Flags", CComVariant::I2(0x33));
    Button()->SetModifiedFlag(FALSE);
    Put("Align", CComVariant::I2(0x13)); // 0x13 differs from 3: stored as 3 again
    EXPECT_TRUE(Button()->IsModified());
    EXPECT_EQ(Get("Align").iVal, 3);
    EXPECT_EQ(Get("Flags").iVal, 0x33);
    EXPECT_TRUE(Button()->IsFlat());
    EXPECT_TRUE(Button()->IsTransparentBitmap());
    Button()->SetModifiedFlag(FALSE);
    Put("Align", CComVariant::I2(3));
    EXPECT_FALSE(Button()->IsModified()) << "the same alignment changes nothing";
    Put("Align", CComVariant::I2(5));
    EXPECT_EQ(Get("Flags").iVal, 0x35);
}

TEST_F(BmpButton1Test, OnlyRedrawingPropertiesSkipAnUnchangedValue) {
    for (const char* name : {"Spacing", "ShowFocus"}) {
        Button()->SetModifiedFlag(FALSE);
        Put(name, Get(name));
        EXPECT_FALSE(Button()->IsModified()) << name;
    }
    Button()->SetModifiedFlag(FALSE);
    Put("StaticText", CComVariant::Str("")); // notify: always
    EXPECT_TRUE(Button()->IsModified());
    Button()->SetModifiedFlag(FALSE);
    Put("EnableAutorepeat", CComVariant::Bool(true));
    EXPECT_TRUE(Button()->IsModified());
}

TEST_F(BmpButton1Test, StaticColorSetsBothBackgroundsUnlessItIsTheTransparencyKey) {
    Put("StaticColor", CComVariant::I4(LONG(RGB(10, 200, 30))));
    EXPECT_EQ(Button()->RestBackground(), RGB(10, 200, 30));
    EXPECT_EQ(Button()->ActiveBackground(), RGB(10, 200, 30));
    EXPECT_EQ(Pixels().Pixel(40, 20), 0x0AC81Eu);
    Put("Flags", CComVariant::I2(0x20));
    Put("StaticColor", CComVariant::I4(LONG(RGB(255, 0, 255))));
    EXPECT_EQ(Button()->RestBackground(), RGB(10, 200, 30));
    EXPECT_EQ(Get("StaticColor").lVal, LONG(RGB(255, 0, 255)));
}

TEST_F(BmpButton1Test, ControlPointerIsReadOnly) {
    const LONG token = Get("ControlPointer").lVal;
    EXPECT_NE(token, 0);
    EXPECT_EQ(Get("ControlPointer").lVal, token);
    EXPECT_NE(Call("ControlPointer", DISPATCH_PROPERTYPUT, {CComVariant::I4(1)}), S_OK);
    EXPECT_EQ(Get("ControlPointer").lVal, token);
}

TEST_F(BmpButton1Test, PicturesCrossTheInterfaceAsPictureObjects) {
    CPictureHolder source;
    ASSERT_TRUE(source.CreateFromBitmap(SolidBitmap(12, 10, 0x00FF00, 0x00FF00), TRUE));
    CComVariant object;
    object.vt = VT_DISPATCH;
    object.pdispVal = source.GetPictureDispatch();
    Put("StaticPic", object);
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_BITMAP);
    EXPECT_EQ(Button()->m_staticPic.GetPixelSize(), CSize(12, 10));
    // Read back and handed to the other picture.
    Put("HooverPic", Get("StaticPic"));
    EXPECT_EQ(Button()->m_hooverPic.GetPixelSize(), CSize(12, 10));
    // Text is no picture: refused, and nothing changes.
    EXPECT_EQ(Call("StaticPic", DISPATCH_PROPERTYPUT, {CComVariant::Str("bitmap:")}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_BITMAP);
    CComVariant none;
    none.vt = VT_DISPATCH;
    none.pdispVal = nullptr;
    Put("StaticPic", none);
    EXPECT_EQ(Button()->m_staticPic.GetType(), PICTYPE_NONE);
}

// [SECTION] Drawing

TEST_F(BmpButton1Test, TheRestStateHasARaisedEdgeAndTheTextCentredOneRight) {
    Put("StaticText", CComVariant::Str("Start"));
    const SurfaceBuffer px = Pixels();
    EXPECT_EQ(px.Pixel(0, 0), kHighlight);
    EXPECT_EQ(px.Pixel(0, 20), kHighlight);
    EXPECT_EQ(px.Pixel(1, 20), 0xC0C0C0u) << "COLOR_3DLIGHT";
    EXPECT_EQ(px.Pixel(40, 39), kDarkShadow);
    EXPECT_EQ(px.Pixel(79, 20), kDarkShadow);
    EXPECT_EQ(px.Pixel(40, 38), kShadow);
    EXPECT_EQ(px.Pixel(78, 20), kShadow);
    const CRect text = Button()->LastLayout().text;
    EXPECT_EQ(text.left, 40 - text.Width() / 2 + 1);
    EXPECT_EQ(text.top, 20 - text.Height() / 2);
    EXPECT_TRUE(Colours(px, text).count(0)) << "black text at rest";
}

TEST_F(BmpButton1Test, EmptyHoverAndPushTextsLeaveTheStaticTextShown) {
    Put("StaticText", CComVariant::Str("Vorschub"));
    Put("HooverColor", CComVariant::I4(LONG(RGB(255, 0, 0))));
    Put("PushColor", CComVariant::I4(LONG(RGB(0, 0, 255))));
    Pixels();
    const CRect rest = Button()->LastLayout().text;
    MoveInside();
    SurfaceBuffer px = Pixels();
    EXPECT_TRUE(Button()->IsHovered());
    EXPECT_EQ(CRect(Button()->LastLayout().text), rest) << "the same text, the same place";
    EXPECT_TRUE(Colours(px, rest).count(0xFF0000)) << "in the hover colour";
    session.MouseDown();
    px = Pixels();
    CRect pushed = rest;
    pushed.OffsetRect(1, 1);
    EXPECT_TRUE(Colours(px, pushed).count(0x0000FF)) << "in the push colour, one pixel down";
    EXPECT_EQ(px.Pixel(0, 0), kShadow) << "a pressed button is framed in the shadow colour";
    session.MouseUp();
    // With texts of their own, each state shows its text.
    Put("PushText", CComVariant::Str("Halt"));
    session.MouseDown();
    Pixels();
    EXPECT_LT(Button()->LastLayout().text.Width(), rest.Width());
    session.MouseUp();
}

TEST_F(BmpButton1Test, TheHoverPictureShowsOnlyWhenItIsABitmapOrAnIcon) {
    Button()->m_staticPic.CreateFromBitmap(SolidBitmap(16, 16, 0x00FF00, 0x00FF00), TRUE);
    Put("Spacing", CComVariant::I2(0));
    auto centre = [&] {
        const SurfaceBuffer px = Pixels();
        const CRect pic = Button()->LastLayout().picture;
        return px.Pixel((pic.left + pic.right) / 2, (pic.top + pic.bottom) / 2);
    };
    MoveInside();
    EXPECT_EQ(centre(), 0x00FF00u) << "no hover picture: the static one stays";
    Button()->m_hooverPic.CreateFromBitmap(SolidBitmap(16, 16, 0x0000FF, 0x0000FF), TRUE);
    Button()->Invalidate();
    EXPECT_EQ(centre(), 0x0000FFu);
    MoveOutside();
    EXPECT_FALSE(Button()->IsHovered());
    EXPECT_EQ(centre(), 0x00FF00u);
    // Focus with ShowFocus bit 1 lights the button as the mouse does.
    Put("ShowFocus", CComVariant::I2(2));
    ::SetFocus(Window());
    EXPECT_EQ(centre(), 0x0000FFu);
}

TEST_F(BmpButton1Test, FlagsThirtyGiveAFlatButtonWithAKeyedBitmap) {
    // Magenta with a black square in the middle; the key is the bottom-left
    // pixel, read after loading.
    BmpImage image{16, 16, std::vector<std::uint32_t>(256, 0xFF00FF), false};
    for (int y = 6; y < 10; ++y)
        for (int x = 6; x < 10; ++x)
            image.pixels[std::size_t(y) * 16 + x] = 0x000000;
    Button()->m_staticPic.CreateFromBitmap(CreateBitmapFromImage(image), TRUE);
    Put("Flags", CComVariant::I2(0x30));
    Put("StaticColor", CComVariant::I4(LONG(RGB(255, 0, 255))));
    const SurfaceBuffer px = Pixels();
    EXPECT_EQ(px.Pixel(0, 0), kFace) << "no border";
    EXPECT_EQ(px.Pixel(79, 39), kFace);
    const CRect pic = Button()->LastLayout().picture;
    EXPECT_EQ(px.Pixel(pic.left, pic.top), kFace) << "the key shows the background";
    EXPECT_EQ(px.Pixel(pic.left + 7, pic.top + 7), 0x000000u);
    EXPECT_FALSE(Colours(px, pic).count(0xFF00FF));

    // Saved and loaded: the flags come back from the word, the key from the
    // bitmap's bottom-left pixel.
    ComPtr<CJsonPropertyBag> bag;
    ComPtr<IDispatch> copy = SaveAndLoad(&bag);
    EXPECT_EQ(bag->Values()["Align"], 0x30);
    EXPECT_TRUE(Object(copy)->IsFlat());
    EXPECT_TRUE(Object(copy)->IsTransparentBitmap());
    EXPECT_EQ(Object(copy)->m_staticColor, RGB(255, 0, 255));
}

TEST_F(BmpButton1Test, ADisabledButtonEmbossesItsTextOnTheButtonFace) {
    Put("StaticText", CComVariant::Str("Sperre"));
    Put("StaticColor", CComVariant::I4(LONG(RGB(0, 128, 0))));
    Put("Enabled", CComVariant::Bool(false));
    const SurfaceBuffer px = Pixels();
    EXPECT_EQ(px.Pixel(40, 3), kFace);
    const CRect text = Button()->LastLayout().text;
    CRect both = text;
    both.right += 1, both.bottom += 1;
    const std::set<std::uint32_t> seen = Colours(px, both);
    EXPECT_TRUE(seen.count(kHighlight)) << "the raised copy";
    EXPECT_TRUE(seen.count(kShadow)) << "the text itself";
    EXPECT_FALSE(seen.count(0)) << "no text colour";
}

TEST_F(BmpButton1Test, TheFocusRectangleIsInsetByThree) {
    auto changedInColumn = [](const SurfaceBuffer& a, const SurfaceBuffer& b, int x) {
        int n = 0;
        for (int y = 5; y < 35; ++y)
            n += a.Pixel(x, y) != b.Pixel(x, y);
        return n;
    };
    const SurfaceBuffer before = Pixels();
    ::SetFocus(Window());
    const SurfaceBuffer after = Pixels();
    EXPECT_GT(changedInColumn(before, after, 3), 5) << "the dotted focus line at x = 3";
    EXPECT_EQ(changedInColumn(before, after, 2), 0);
    EXPECT_EQ(changedInColumn(before, after, 4), 0);
    EXPECT_GT(changedInColumn(before, after, 76), 5) << "and at x = 80 - 4";
    Put("ShowFocus", CComVariant::I2(0));
    Button()->Invalidate();
    EXPECT_EQ(changedInColumn(before, Pixels(), 3), 0);
}

// [SECTION] Clicks and auto-repeat

TEST_F(BmpButton1Test, AQuickClickFiresOneClickAtTheRelease) {
    MoveInside();
    session.MouseDown();
    EXPECT_TRUE(clicks.times.empty());
    session.MouseUp();
    EXPECT_EQ(clicks.times.size(), 1u);
    Put("EnableAutorepeat", CComVariant::Bool(true));
    session.Click();
    EXPECT_EQ(clicks.times.size(), 2u);
    // A release outside the button is no click.
    session.MouseDown();
    MoveOutside();
    session.MouseUp();
    EXPECT_EQ(clicks.times.size(), 2u);
}

TEST_F(BmpButton1Test, HoldingRepeatsAt500ThenEvery200AndTheReleaseFiresNothing) {
    Put("EnableAutorepeat", CComVariant::Bool(true));
    Hold();
    const ULONGLONG start = session.Clock().Now();
    session.Advance(1000);
    session.MouseUp();
    ASSERT_EQ(clicks.times.size(), 3u);
    EXPECT_EQ(clicks.times[0] - start, 500u);
    EXPECT_EQ(clicks.times[1] - start, 700u);
    EXPECT_EQ(clicks.times[2] - start, 900u);
    EXPECT_FALSE(Button()->RepeatTimerRunning());
    // The next quick click counts again.
    session.Click();
    EXPECT_EQ(clicks.times.size(), 4u);
}

TEST_F(BmpButton1Test, ARepeatingPressThatEndsOutsideDoesNotSwallowTheNextClick) {
    Put("EnableAutorepeat", CComVariant::Bool(true));
    Hold();
    session.Advance(600);
    MoveOutside();
    session.MouseUp();
    ASSERT_EQ(clicks.times.size(), 1u);
    MoveInside();
    session.Click();
    EXPECT_EQ(clicks.times.size(), 2u);
}

TEST_F(BmpButton1Test, ADoubleClickIsTwoPresses) {
    MoveInside();
    session.DoubleClick();
    EXPECT_EQ(clicks.times.size(), 2u);
}

TEST_F(BmpButton1Test, EveryWayOutOfAPressStopsTheRepeatAndThePushedLook) {
    Put("EnableAutorepeat", CComVariant::Bool(true));
    HWND other = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE, 200, 150, 20, 20, m_host,
                                 nullptr, nullptr, nullptr);
    struct Way {
        const char* name;
        std::function<void()> leave;
    };
    const Way ways[] = {
        {"capture taken", [&] { ::SetCapture(other); }},
        {"focus lost", [&] { ::SetFocus(other); }},
        {"disabled", [&] { Put("Enabled", CComVariant::Bool(false)); }},
        {"deactivated", [&] { ::SendMessageA(Window(), WM_ACTIVATE, WA_INACTIVE, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Put("Enabled", CComVariant::Bool(true));
        ::ReleaseCapture();
        clicks.times.clear();
        Hold();
        session.Advance(550);
        ASSERT_EQ(clicks.times.size(), 1u);
        way.leave();
        session.Pump();
        if (std::string_view(way.name) == "deactivated") {
            // Deactivation only ends the hover; the press goes on.
            EXPECT_FALSE(Button()->IsHovered());
            session.MouseUp();
            continue;
        }
        EXPECT_FALSE(Button()->RepeatTimerRunning());
        EXPECT_FALSE(Pushed());
        EXPECT_FALSE(Button()->IsHovered());
        session.Advance(1000);
        session.MouseUp();
        EXPECT_EQ(clicks.times.size(), 1u);
        ::ReleaseCapture();
    }
}

TEST_F(BmpButton1Test, DestroyingAHeldButtonLeavesNoTimerBehind) {
    Put("EnableAutorepeat", CComVariant::Bool(true));
    Hold();
    session.Advance(550);
    const HWND hwnd = Window();
    CBmpButton1Ctrl* button = Button();
    ComPtr<IDispatch> keep = m_disp; // the object outlives its window
    ComPtr<IOleObject> ole;
    ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
    ole->Close(0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(button->RepeatTimerRunning());
    session.Advance(1000);
    session.MouseUp();
    EXPECT_EQ(clicks.times.size(), 1u);
}

TEST_F(BmpButton1Test, AHostMayDestroyTheButtonFromItsClick) {
    Put("EnableAutorepeat", CComVariant::Bool(true));
    clicks.onClick = [&] { Close(m_disp); };
    Hold();
    session.Advance(600);
    session.MouseUp();
    EXPECT_EQ(clicks.times.size(), 1u);
}

// [SECTION] Hover tracking

TEST_F(BmpButton1Test, HoverCapturesTheMouseAndLetsGoOutside) {
    MoveInside();
    EXPECT_TRUE(Button()->IsHovered());
    EXPECT_EQ(::GetCapture(), Window());
    MoveOutside();
    EXPECT_FALSE(Button()->IsHovered());
    EXPECT_EQ(::GetCapture(), nullptr);
    // After a click the button keeps tracking, so leaving still ends the
    // hover, and no lit look is left behind.
    MoveInside();
    session.Click();
    EXPECT_TRUE(Button()->IsHovered());
    EXPECT_EQ(::GetCapture(), Window());
    MoveOutside();
    EXPECT_FALSE(Button()->IsHovered());
    EXPECT_EQ(::GetCapture(), nullptr);
    // A drag that starts elsewhere does not light the button.
    session.MouseDown();
    MoveInside();
    EXPECT_FALSE(Button()->IsHovered());
    session.MouseUp();
}

// [SECTION] Persistence and verbs

TEST_F(BmpButton1Test, PropertiesAreSavedByNameAndLoadAgain) {
    Put("StaticText", CComVariant::Str("Spindel"));
    Put("HooverText", CComVariant::Str("an"));
    Put("Spacing", CComVariant::I2(3));
    Put("ShowFocus", CComVariant::I2(3));
    Put("EnableHoover", CComVariant::Bool(false));
    Put("HooverColor", CComVariant::I4(0x0000FF));
    Put("EnableAutorepeat", CComVariant::Bool(true));
    Put("Flags", CComVariant::I2(0x14));
    ComPtr<CJsonPropertyBag> bag;
    ComPtr<IDispatch> copy = SaveAndLoad(&bag);
    EXPECT_EQ(bag->Values()["StaticText"], "Spindel");
    EXPECT_TRUE(bag->Values().contains("Static Font.Name"));
    EXPECT_FALSE(bag->Values().contains("EnableAutorepeat"));
    CBmpButton1Ctrl* loaded = Object(copy);
    EXPECT_EQ(loaded->m_staticText.Str(), "Spindel");
    EXPECT_EQ(loaded->m_hooverText.Str(), "an");
    EXPECT_EQ(loaded->m_spacing, 3);
    EXPECT_EQ(loaded->m_showFocus, 3);
    EXPECT_EQ(loaded->m_enableHoover, FALSE);
    EXPECT_EQ(loaded->m_hooverColor, 0x0000FFu);
    EXPECT_EQ(loaded->m_align, 0x14);
    EXPECT_TRUE(loaded->IsFlat());
    EXPECT_EQ(loaded->m_enableAutorepeat, FALSE) << "not persisted";
}

TEST_F(BmpButton1Test, HideAndShowVerbs) {
    ComPtr<IOleObject> ole;
    ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
    EXPECT_EQ(ole->DoVerb(OLEIVERB_HIDE, m_host, nullptr), S_OK);
    EXPECT_FALSE(::IsWindowVisible(Window()));
    EXPECT_EQ(ole->DoVerb(OLEIVERB_SHOW, m_host, nullptr), S_OK);
    EXPECT_TRUE(::IsWindowVisible(Window()));
}
