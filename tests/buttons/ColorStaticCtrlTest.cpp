// The blinking label in a headless host: its colours read back from the
// pixels the system static paints with them, over virtual time.
#include "buttons/ColorStaticCtrl.h"
#include "tests/buttons/HostedControlTest.h"

#include <nlohmann/json.hpp>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);  // 0x0000FF as an OLE colour
constexpr COLORREF kBlue = RGB(0, 0, 255); // 0xFF0000
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr RECT kPos{10, 10, 110, 50};

// COLORREF 0x00BBGGRR as the 0x00RRGGBB of a pixel.
std::uint32_t PixelOf(COLORREF c) {
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// The system button face, which the transparent mode shows.
const std::uint32_t kFace = PixelOf(::GetSysColor(COLOR_BTNFACE));

CComVariant Long(COLORREF c) {
    return CComVariant::I4(LONG(c));
}

class ColorStaticTest : public HostedControlTest {
protected:
    void SetUp() override {
        HostedControlTest::SetUp();
        m_label = Create(kw::ids::CLSID_ColorStatic, kPos);
        // Big, bold letters, so that their stems show the text colour whole.
        ComPtr<IDispatch> font(Get(m_label, "Font").pdispVal);
        ASSERT_TRUE(font);
        ASSERT_EQ(CallByName(font.Get(), "Size", DISPATCH_PROPERTYPUT, {CComVariant::R8(20)}),
                  S_OK);
        ASSERT_EQ(CallByName(font.Get(), "Bold", DISPATCH_PROPERTYPUT, {CComVariant::Bool(true)}),
                  S_OK);
        Put(m_label, "Caption", CComVariant::Str("HH"));
    }
    CColorStaticCtrl* Label() { return Object<CColorStaticCtrl>(m_label); }

    // The background: the label's lower right corner, which no text reaches.
    std::uint32_t Background() { return Pixel(kPos.right - 2, kPos.bottom - 2); }
    // Whether some pixel of the label (of its rows from `top` on) is
    // exactly `c`.
    bool Shows(COLORREF c, int top = 0) {
        session.Pump();
        const auto pixels = session.Pixels(m_host);
        for (int y = kPos.top + top; y < kPos.bottom; ++y)
            for (int x = kPos.left; x < kPos.right; ++x)
                if (pixels.Pixel(x, y) == PixelOf(c))
                    return true;
        return false;
    }
    void StartText(bool start, SHORT period) {
        Method(m_label, "StartTextBlink", {CComVariant::Bool(start), CComVariant::I2(period)});
    }
    void StartBk(bool start, SHORT period) {
        Method(m_label, "StartBkBlink", {CComVariant::Bool(start), CComVariant::I2(period)});
    }

    ComPtr<IDispatch> m_label;
};

} // namespace

// [SECTION] Painting and blinking

TEST_F(ColorStaticTest, AFreshLabelShowsItsForeColourOnTheButtonFace) {
    EXPECT_EQ(Background(), kFace);
    EXPECT_TRUE(Shows(::GetSysColor(COLOR_WINDOWTEXT)));
    // The system static draws with the stock font: 20-point letters reach
    // rows that the static's own small font never does.
    EXPECT_TRUE(Shows(::GetSysColor(COLOR_WINDOWTEXT), 16));
    EXPECT_TRUE(Label()->TransparentBk());
    EXPECT_EQ(Get(m_label, "Flags").iVal, 1);
    EXPECT_EQ(Label()->BlinkTimer(), 0u) << "nothing blinks, so no timer runs";
}

TEST_F(ColorStaticTest, TheTextBlinksBetweenItsTwoColours) {
    Method(m_label, "SetBlinkTextColors", {Long(kRed), Long(kBlue)});
    StartText(true, 300);
    EXPECT_TRUE(Shows(kRed));
    EXPECT_FALSE(Shows(kBlue));
    for (int tick = 1; tick <= 4; ++tick) {
        session.Advance(300);
        const bool second = tick % 2 == 1;
        EXPECT_EQ(Shows(kBlue), second) << "tick " << tick;
        EXPECT_EQ(Shows(kRed), !second) << "tick " << tick;
        EXPECT_EQ(Background(), kFace) << "the background stays";
    }
}

TEST_F(ColorStaticTest, TheBackgroundBlinksWithItsBrushesAndTheTextWithItsColours) {
    Method(m_label, "SetBlinkBkColors", {Long(kYellow), Long(kGreen)});
    EXPECT_FALSE(Label()->TransparentBk()) << "own blink colours end the transparent mode";
    StartBk(true, 500);
    EXPECT_EQ(Background(), PixelOf(kYellow));
    session.Advance(500);
    EXPECT_EQ(Background(), PixelOf(kGreen));
    session.Advance(500);
    EXPECT_EQ(Background(), PixelOf(kYellow));

    // Both at once, in step on the one timer.
    Method(m_label, "SetBlinkTextColors", {Long(kRed), Long(kBlue)});
    StartText(true, 500);
    EXPECT_EQ(Label()->BlinkPeriod(), 500u);
    session.Advance(500);
    EXPECT_EQ(Background(), PixelOf(kGreen));
    EXPECT_TRUE(Shows(kBlue));
    session.Advance(500);
    EXPECT_EQ(Background(), PixelOf(kYellow));
    EXPECT_TRUE(Shows(kRed));
}

TEST_F(ColorStaticTest, OneTimerServesBothBlinksAndItsPeriodIsTheLastOneAskedFor) {
    StartText(true, 300);
    const UINT_PTR timer = Label()->BlinkTimer();
    EXPECT_EQ(timer, CColorStaticCtrl::kBlinkTimer);
    StartBk(true, 300);
    EXPECT_EQ(Label()->BlinkTimer(), timer);
    EXPECT_EQ(Label()->BlinkPeriod(), 300u);

    // Another period restarts the one timer; the text follows it.
    StartBk(true, 700);
    EXPECT_EQ(Label()->BlinkPeriod(), 700u);
    EXPECT_FALSE(Label()->TextPhase());
    session.Advance(699);
    EXPECT_FALSE(Label()->TextPhase());
    session.Advance(1);
    EXPECT_TRUE(Label()->TextPhase());
    EXPECT_TRUE(Label()->BkPhase());

    // Asking a blinking text to blink again changes nothing, not the period.
    StartText(true, 100);
    EXPECT_EQ(Label()->BlinkPeriod(), 700u);
    EXPECT_TRUE(Label()->TextPhase());
}

TEST_F(ColorStaticTest, StoppingStartsTheTimerAllTheSameAndShowsTheStillColours) {
    StartText(false, 250);
    EXPECT_EQ(Label()->BlinkTimer(), CColorStaticCtrl::kBlinkTimer);
    EXPECT_EQ(Label()->BlinkPeriod(), 250u);
    session.Advance(1000);
    EXPECT_FALSE(Label()->TextPhase());

    // Stopped in its second phase, the label goes back to its fore colour
    // at once, although the timer goes on.
    Put(m_label, "ForeColor", Long(kGreen));
    Method(m_label, "SetBlinkTextColors", {Long(kRed), Long(kBlue)});
    StartText(true, 250);
    session.Advance(250);
    ASSERT_TRUE(Shows(kBlue));
    StartText(false, 250);
    EXPECT_TRUE(Shows(kGreen));
    EXPECT_FALSE(Shows(kBlue));
    session.Advance(1000);
    EXPECT_TRUE(Shows(kGreen));
}

TEST_F(ColorStaticTest, ABlinkColourPropertyChangesTheTextBackgroundButNotTheBrush) {
    Method(m_label, "SetBlinkBkColors", {Long(kYellow), Long(kGreen)});
    StartBk(true, 500);
    Put(m_label, "BkBlinkColor1", Long(kBlue));
    EXPECT_EQ(Get(m_label, "BkBlinkColor1").lVal, LONG(kBlue));
    EXPECT_EQ(Background(), PixelOf(kYellow)) << "the brush keeps its colour";
    EXPECT_TRUE(Shows(kBlue)) << "the text background is the new colour";
    Method(m_label, "SetBlinkBkColors", {Long(kBlue), Long(kGreen)});
    EXPECT_EQ(Background(), PixelOf(kBlue));
}

TEST_F(ColorStaticTest, SystemColoursForTheBlinkBrushesAreTranslated) {
    constexpr LONG kWindowText = LONG(0x80000000u | COLOR_WINDOWTEXT);
    Method(m_label, "SetBlinkBkColors", {CComVariant::I4(kWindowText), Long(kGreen)});
    StartBk(true, 500);
    EXPECT_EQ(Background(), PixelOf(::GetSysColor(COLOR_WINDOWTEXT)));
}

// [SECTION] The transparent mode

TEST_F(ColorStaticTest, TheTransparentModeFollowsTheSystemFaceInsteadOfBackColor) {
    Put(m_label, "BackColor", Long(kYellow));
    EXPECT_EQ(Background(), kFace);
    EXPECT_EQ(COLORREF(Get(m_label, "BackColor").lVal), ::GetSysColor(COLOR_BTNFACE));

    Method(m_label, "SetTransparentBk", {CComVariant::Bool(false)});
    Put(m_label, "BackColor", Long(kYellow));
    EXPECT_EQ(Background(), PixelOf(kYellow));
    EXPECT_EQ(Label()->BkColor(), kYellow);

    Method(m_label, "SetTransparentBk", {CComVariant::Bool(true)});
    EXPECT_EQ(Background(), kFace);
    EXPECT_EQ(COLORREF(Get(m_label, "BackColor").lVal), ::GetSysColor(COLOR_BTNFACE));
}

// [SECTION] Persistence

TEST_F(ColorStaticTest, ALabelSavedWithItsVersionLoadsItsFlagsAndColours) {
    Method(m_label, "SetBlinkTextColors", {Long(kRed), Long(kBlue)});
    Put(m_label, "Flags", CComVariant::I2(0));
    Method(m_label, "SetTransparentBk", {CComVariant::Bool(false)});
    Put(m_label, "BackColor", Long(kYellow));
    auto bag = Save(m_label);
    EXPECT_EQ(bag->Values()["_Version"], 0x00010003);
    EXPECT_EQ(bag->Values()["Flags"], 0);
    EXPECT_EQ(bag->Values()["TextBlinkColor2"], LONG(kBlue));

    auto copy = Create(kw::ids::CLSID_ColorStatic, RECT{120, 10, 190, 50});
    Load(copy, bag);
    auto* loaded = Object<CColorStaticCtrl>(copy);
    EXPECT_FALSE(loaded->TransparentBk());
    EXPECT_EQ(loaded->m_textBlinkColor2, kBlue);
    EXPECT_FALSE(loaded->TextBlinks()) << "blinking is not stored";
    // Not transparent: the loaded BackColor fills the label.
    EXPECT_EQ(Pixel(190 - 2, 50 - 2), PixelOf(kYellow));
}

TEST_F(ColorStaticTest, ALabelOfAnOlderVersionLoadsAsTransparent) {
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag(nlohmann::json{
        {"_Version", 0x00010002},
        {"Flags", 0}, // not read before 1.3
        {"BackColor", LONG(kYellow)},
        {"TextBlinkColor1", LONG(kGreen)},
    }));
    Load(m_label, bag);
    EXPECT_EQ(Label()->GetVersion(), 0x00010002u);
    EXPECT_EQ(Label()->m_flags, 1);
    EXPECT_TRUE(Label()->TransparentBk());
    EXPECT_EQ(Label()->m_textBlinkColor1, kGreen);
    EXPECT_EQ(Label()->m_textBlinkColor2, ::GetSysColor(COLOR_BTNTEXT)) << "missing: the default";
    EXPECT_EQ(Background(), kFace);
    EXPECT_EQ(COLORREF(Get(m_label, "BackColor").lVal), ::GetSysColor(COLOR_BTNFACE));
}

// [SECTION] Window life: timers and brushes

TEST_F(ColorStaticTest, ABlinkAskedForBeforeTheWindowStartsWithTheWindow) {
    ComPtr<IDispatch> label = CreateUnplaced(kw::ids::CLSID_ColorStatic);
    auto* object = Object<CColorStaticCtrl>(label);
    Method(label, "SetBlinkBkColors", {Long(kYellow), Long(kGreen)});
    Method(label, "StartBkBlink", {CComVariant::Bool(true), CComVariant::I2(400)});
    EXPECT_EQ(object->BlinkTimer(), 0u) << "no window, no timer";
    session.Advance(1000);
    EXPECT_FALSE(object->BkPhase());

    Place(label, RECT{120, 10, 190, 50});
    m_controls.push_back(label);
    EXPECT_EQ(object->BlinkTimer(), CColorStaticCtrl::kBlinkTimer);
    EXPECT_EQ(Pixel(188, 48), PixelOf(kYellow));
    session.Advance(400);
    EXPECT_EQ(Pixel(188, 48), PixelOf(kGreen));

    // Taken down and put up again: the timer goes with the window and comes
    // back with the next one, with brushes of the same colours.
    Close(label);
    EXPECT_EQ(object->BlinkTimer(), 0u);
    Place(label, RECT{120, 10, 190, 50});
    EXPECT_EQ(object->BlinkTimer(), CColorStaticCtrl::kBlinkTimer);
    const std::uint32_t shown = Pixel(188, 48);
    EXPECT_TRUE(shown == PixelOf(kYellow) || shown == PixelOf(kGreen)) << std::hex << shown;
    session.Advance(400);
    EXPECT_EQ(Pixel(188, 48), shown == PixelOf(kYellow) ? PixelOf(kGreen) : PixelOf(kYellow));
}

TEST_F(ColorStaticTest, NoGdiObjectOutlivesAThousandLabels) {
    auto cycle = [&](bool blink) {
        ComPtr<IDispatch> label = CreateUnplaced(kw::ids::CLSID_ColorStatic);
        Place(label, RECT{120, 10, 190, 50});
        if (blink) {
            Method(label, "SetBlinkBkColors", {Long(kYellow), Long(kGreen)});
            Method(label, "StartBkBlink", {CComVariant::Bool(true), CComVariant::I2(100)});
            session.Advance(100);
        }
        Close(label);
    };
    cycle(true); // the stock objects and caches the first label makes
    const std::size_t before = GdiObjectCount();
    for (int i = 0; i < 1000; ++i)
        cycle(i % 2 == 0);
    // Made and released without ever getting a window.
    for (int i = 0; i < 100; ++i)
        CreateUnplaced(kw::ids::CLSID_ColorStatic);
    EXPECT_EQ(GdiObjectCount(), before);
}
