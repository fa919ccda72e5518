// The two picture switches in a headless host: the state word under left,
// right and middle clicks, the picture each word shows, the saved
// background, Polarity's two strips and its ControlPointer.
#include "buttons/SwitchCtrl.h"
#include "buttons/PolCtrl.h"
#include "platform/afx/ControlPointer.h"
#include "tests/buttons/HostedControlTest.h"

#include <cstdio>

namespace {

using kw::user::MouseButton;

constexpr std::uint32_t kHostGrey = kGreyHostPixel;
constexpr RECT kSwitchPos{10, 10, 26, 28}; // the initial 16 x 18
constexpr RECT kPolPos{60, 10, 100, 60};   // 40 x 50, room for both strips

class SwitchTest : public HostedControlTest {
protected:
    void SetUp() override {
        HostedControlTest::SetUp();
        m_switch = Create(kw::ids::CLSID_Switch, kSwitchPos);
        m_pol = Create(kw::ids::CLSID_Polarity, kPolPos);
    }

    void SetMode(const ComPtr<IDispatch>& control, SHORT mode) {
        Put(control, "Mode", CComVariant::I2(mode));
    }
    SHORT Mode(const ComPtr<IDispatch>& control) { return Get(control, "Mode").iVal; }
    // One click, far enough from the last one not to make a double click.
    void ClickOn(const ComPtr<IDispatch>& control, MouseButton button) {
        session.Advance(::GetDoubleClickTime() + 1);
        HWND hwnd = Object<COleControl>(control)->m_hWnd;
        session.MouseMove(hwnd, 4, 4);
        session.Click(button);
    }
    bool Invalid(const ComPtr<IDispatch>& control) {
        return ::GetUpdateRect(Object<COleControl>(control)->m_hWnd, nullptr, FALSE) != FALSE;
    }

    // The Switch's picture, told by the lever: its face colour at the
    // lever's place in the cell (drawn at (0, 1) of the 16 x 18 control).
    int SwitchPictureShown() {
        const int x = kSwitchPos.left + 5, y = kSwitchPos.top + 1;
        if (Pixel(x, y + 10) == 0x0000FF)
            return 0;
        if (Pixel(x, y + 3) == 0xFF0000)
            return 1;
        if (Pixel(x, y + 10) == 0xC0C0C0)
            return 2;
        if (Pixel(x, y + 6) == 0xFFFF00)
            return 3;
        return -1;
    }

    ComPtr<IDispatch> m_switch;
    ComPtr<IDispatch> m_pol;
};

} // namespace

// [SECTION] The click rule

TEST_F(SwitchTest, EveryStateWordUnderLeftAndRightClicks) {
    // Bits: 0 checked, 1 left toggles, 2 special (right toggles), 3 last
    // click was a right one.
    constexpr struct {
        SHORT start, afterLeft, afterRight;
    } kCases[] = {
        {0x0, 0x0, 0xC}, {0x1, 0x1, 0xD}, {0x2, 0x3, 0xE}, {0x3, 0x2, 0xF},
        {0x4, 0x4, 0x8}, {0x5, 0x5, 0x9}, {0x6, 0x7, 0xA}, {0x7, 0x6, 0xB},
        {0x8, 0x0, 0xC}, {0x9, 0x1, 0xD}, {0xA, 0x3, 0xE}, {0xB, 0x2, 0xF},
        {0xC, 0x4, 0x8}, {0xD, 0x5, 0x9}, {0xE, 0x7, 0xA}, {0xF, 0x6, 0xB},
    };
    for (const auto& control : {m_switch, m_pol}) {
        RecordingSink sink(IID_IDispatch);
        const IID events = control.Get() == m_switch.Get() ? kw::ids::IID_DSwitchEvents
                                                           : kw::ids::IID_DPolarityEvents;
        SinkConnection connection(control, events, &sink);
        auto* object = Object<COleControl>(control);
        for (const auto& c : kCases) {
            SetMode(control, c.start);
            object->SetModifiedFlag(FALSE);
            ClickOn(control, MouseButton::Left);
            EXPECT_EQ(Mode(control), c.afterLeft) << "left on 0x" << std::hex << c.start;
            SetMode(control, c.start);
            object->SetModifiedFlag(FALSE);
            ClickOn(control, MouseButton::Right);
            EXPECT_EQ(Mode(control), c.afterRight) << "right on 0x" << std::hex << c.start;
            EXPECT_FALSE(object->IsModified()) << "clicks do not mark the control modified";
        }
        // Every click fires one Click, the right ones too.
        EXPECT_EQ(sink.fired, std::vector<DISPID>(2 * std::size(kCases), DISPID_CLICK));
    }
}

TEST_F(SwitchTest, AMiddleClickIsAnOtherClick) {
    SetMode(m_switch, 0xA);
    ClickOn(m_switch, MouseButton::Middle);
    EXPECT_EQ(Mode(m_switch), 0x3);
}

TEST_F(SwitchTest, ToggleOnFlipsTheCheckWithEachLeftClickAndRedraws) {
    RecordingSink sink(kw::ids::IID_DSwitchEvents);
    SinkConnection connection(m_switch, kw::ids::IID_DSwitchEvents, &sink);
    SetMode(m_switch, 2);
    EXPECT_EQ(SwitchPictureShown(), 0);
    for (int i = 1; i <= 4; ++i) {
        ClickOn(m_switch, MouseButton::Left);
        EXPECT_EQ(Get(m_switch, "GetCheck", DISPATCH_METHOD).iVal, i % 2);
        EXPECT_EQ(SwitchPictureShown(), i % 2);
    }
    EXPECT_EQ(sink.fired.size(), 4u);

    // Without bit 1 a left click only fires Click: nothing is redrawn.
    SetMode(m_switch, 0);
    session.Pump();
    ClickOn(m_switch, MouseButton::Left);
    EXPECT_EQ(Mode(m_switch), 0);
    EXPECT_EQ(sink.fired.size(), 5u);
}

TEST_F(SwitchTest, RightClicksShowAndHideTheSpecialPicture) {
    SetMode(m_switch, 0);
    ClickOn(m_switch, MouseButton::Right);
    EXPECT_EQ(Mode(m_switch), 0xC);
    EXPECT_EQ(SwitchPictureShown(), 3);
    ClickOn(m_switch, MouseButton::Right);
    EXPECT_EQ(Mode(m_switch), 0x8);
    EXPECT_EQ(SwitchPictureShown(), 0);
    ClickOn(m_switch, MouseButton::Left);
    EXPECT_EQ(Mode(m_switch), 0x0);
}

// [SECTION] Check and picture

TEST_F(SwitchTest, SetCheckSetsForAnyNonZeroValueAndRedrawsOnlyOnAChange) {
    auto* object = Object<COleControl>(m_switch);
    object->SetModifiedFlag(FALSE);
    Method(m_switch, "SetCheck", {CComVariant::I2(5)});
    EXPECT_EQ(Mode(m_switch), 1);
    EXPECT_EQ(SwitchPictureShown(), 1);
    Method(m_switch, "SetCheck", {CComVariant::I2(1)});
    EXPECT_FALSE(Invalid(m_switch)) << "already checked: no redraw";
    Method(m_switch, "SetCheck", {CComVariant::I2(0)});
    EXPECT_TRUE(Invalid(m_switch));
    EXPECT_EQ(SwitchPictureShown(), 0);
    EXPECT_FALSE(object->IsModified());
    SetMode(m_switch, 0x1F); // every other bit stays
    Method(m_switch, "SetCheck", {CComVariant::I2(0)});
    EXPECT_EQ(Mode(m_switch), 0x1E);
    EXPECT_EQ(Get(m_switch, "GetCheck", DISPATCH_METHOD).iVal, 0);
}

TEST_F(SwitchTest, ThePictureOfEachWordIncludingTheDisabledCell) {
    constexpr struct {
        SHORT mode;
        int picture;
    } kCases[] = {{0x0, 0},  {0x1, 1},           {0x2, 0},           {0x4, 3},
                  {0x5, 3},  {0x8, 0},           {0x9, 1},           {0x10, 0},
                  {0x11, 1}, {SHORT(0x7FE1), 1}, {SHORT(0xFFF4), 3}, {SHORT(0xFFFB), 1}};
    for (const auto& c : kCases) {
        SetMode(m_switch, c.mode);
        EXPECT_EQ(Object<CSwitchCtrl>(m_switch)->PictureIndex(), c.picture)
            << "mode 0x" << std::hex << c.mode;
        EXPECT_EQ(SwitchPictureShown(), c.picture) << "mode 0x" << std::hex << c.mode;
    }
    Put(m_switch, "Enabled", CComVariant::Bool(false));
    for (SHORT mode : {SHORT(0), SHORT(1), SHORT(4), SHORT(-1)}) {
        SetMode(m_switch, mode);
        EXPECT_EQ(SwitchPictureShown(), 2) << "mode " << mode;
    }
    Put(m_switch, "Enabled", CComVariant::Bool(true));
    EXPECT_EQ(SwitchPictureShown(), 3) << "mode -1 has the special bit";
}

TEST_F(SwitchTest, TheSavedBackgroundShowsAroundEveryPicture) {
    // The slot's transparent margin shows the host, before and after a
    // change of picture; the whole area is put back each time.
    EXPECT_EQ(Pixel(kSwitchPos.left, kSwitchPos.top + 5), kHostGrey);
    EXPECT_TRUE(Object<CSwitchCtrl>(m_switch)->HasSavedBackground());
    for (SHORT mode : {SHORT(1), SHORT(4), SHORT(0)}) {
        SetMode(m_switch, mode);
        EXPECT_EQ(Pixel(kSwitchPos.left, kSwitchPos.top + 5), kHostGrey);
        EXPECT_EQ(Pixel(kSwitchPos.left + 15, kSwitchPos.top + 17), kHostGrey);
    }
}

// [SECTION] Polarity

TEST_F(SwitchTest, PolarityDrawsItsWideOrItsNarrowStripCentred) {
    const int cx = (kPolPos.left + kPolPos.right) / 2, cy = (kPolPos.top + kPolPos.bottom) / 2;
    // Wide, 32 x 13: its plate's corners, light above left, dark below right.
    const int wx = cx - 16, wy = cy - 6;
    EXPECT_EQ(Pixel(wx, wy), 0xFFFFFFu);
    EXPECT_EQ(Pixel(wx + 31, wy + 12), 0x000000u);
    EXPECT_EQ(Pixel(wx + 21, wy + 3), 0x0000FFu) << "off: the L on its blue box";
    SetMode(m_pol, 1);
    EXPECT_EQ(Pixel(wx + 25, wy + 3), 0xFF0000u) << "on: the H on its red box";

    // Narrow, 16 x 33, the same turned upright; nothing of the wide one is
    // left around it.
    SetMode(m_pol, 0x10);
    const int nx = cx - 8, ny = cy - 16;
    EXPECT_EQ(Pixel(nx + 1, ny + 31), 0xFFFFFFu) << "the plate's light edge";
    EXPECT_EQ(Pixel(nx + 13, ny + 0), 0x000000u) << "and its dark corner";
    EXPECT_EQ(Pixel(nx + 4, ny + 10), 0x0000FFu) << "the L's box";
    EXPECT_EQ(Pixel(nx, ny + 5), kHostGrey) << "the strip's transparent column";
    EXPECT_EQ(Pixel(wx, wy), kHostGrey) << "the wide plate is gone";
    EXPECT_EQ(Pixel(wx + 31, wy + 12), kHostGrey);
}

TEST_F(SwitchTest, PolarityShowsOnlyItsBackgroundForPicturesItsStripsLack) {
    const int cx = (kPolPos.left + kPolPos.right) / 2, cy = (kPolPos.top + kPolPos.bottom) / 2;
    auto* pol = Object<CPolCtrl>(m_pol);
    for (SHORT mode : {SHORT(0x4), SHORT(0x14), SHORT(0x7FF5)}) {
        SetMode(m_pol, mode);
        EXPECT_EQ(pol->PictureIndex(), -1) << "mode 0x" << std::hex << mode;
        EXPECT_EQ(Pixel(cx, cy), kHostGrey);
    }
    SetMode(m_pol, 1);
    EXPECT_EQ(pol->PictureIndex(), 1);
    Put(m_pol, "Enabled", CComVariant::Bool(false));
    EXPECT_EQ(pol->PictureIndex(), -1);
    EXPECT_EQ(Pixel(cx - 16, cy - 6), kHostGrey);
}

TEST_F(SwitchTest, InitialSizesComeFromTheStrips) {
    int cx = 0, cy = 0;
    ComPtr<IDispatch> sw = CreateUnplaced(kw::ids::CLSID_Switch);
    Object<COleControl>(sw)->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 18);
    ComPtr<IDispatch> pol = CreateUnplaced(kw::ids::CLSID_Polarity);
    Object<COleControl>(pol)->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 14);
}

TEST_F(SwitchTest, PolarityHandsOutItsControlPointerAndTheSwitchHasNone) {
    const LONG token = Get(m_pol, "ControlPointer").lVal;
    EXPECT_EQ(Get(m_pol, "ControlPointer").lVal, token);
    EXPECT_EQ(AfxControlFromPointer(token), Object<COleControl>(m_pol));
    EXPECT_EQ(Call(m_pol, "ControlPointer", DISPATCH_PROPERTYPUT, {CComVariant::I4(1)}),
              DISP_E_EXCEPTION);
    EXPECT_EQ(Get(m_pol, "ControlPointer").lVal, token);
    CComVariant none;
    EXPECT_EQ(Call(m_switch, "ControlPointer", DISPATCH_PROPERTYGET, {}, &none),
              DISP_E_UNKNOWNNAME);
}

TEST_F(SwitchTest, TheStateWordIsSavedAndLoadedByName) {
    SetMode(m_pol, 0x13);
    auto bag = Save(m_pol);
    EXPECT_EQ(bag->Values()["Mode"], 0x13);
    EXPECT_EQ(bag->Values()["_Version"], 0x00010004);
    EXPECT_FALSE(bag->Values().contains("ControlPointer"));
    Load(m_switch, bag);
    EXPECT_EQ(Mode(m_switch), 0x13);
    EXPECT_EQ(Get(m_switch, "GetCheck", DISPATCH_METHOD).iVal, 1);
}

TEST_F(SwitchTest, NoGdiObjectOutlivesAThousandSwitches) {
    auto cycle = [&](const CLSID& clsid) {
        ComPtr<IDispatch> control = CreateUnplaced(clsid);
        Place(control, RECT{120, 10, 160, 60});
        Put(control, "Mode", CComVariant::I2(0x12));
        session.Pump();
        Close(control);
    };
    cycle(kw::ids::CLSID_Switch);
    cycle(kw::ids::CLSID_Polarity);
    const std::size_t before = GdiObjectCount();
    for (int i = 0; i < 500; ++i) {
        cycle(kw::ids::CLSID_Switch);
        cycle(kw::ids::CLSID_Polarity);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

namespace {

// Lets go of its switch inside the Click it fires, as a host closing a
// dialog from a click handler does.
class ClosingSink final : public TestEventSink {
public:
    explicit ClosingSink(ComPtr<IDispatch>* control) : m_control(control) {}
    STDMETHOD(Invoke)
    (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        ComPtr<IOleObject> ole;
        if (SUCCEEDED(m_control->As(IID_IOleObject, &ole)))
            ole->Close(0);
        ole.Reset();
        m_control->Reset(); // the host's last reference
        ++clicks;
        return S_OK;
    }
    int clicks = 0;

private:
    ComPtr<IDispatch>* m_control;
};

} // namespace

TEST_F(SwitchTest, AHostMayReleaseTheSwitchInsideItsClick) {
    ComPtr<IDispatch> control = CreateUnplaced(kw::ids::CLSID_Switch);
    Place(control, RECT{120, 10, 136, 28});
    Put(control, "Mode", CComVariant::I2(2));
    const HWND hwnd = Object<COleControl>(control)->m_hWnd;
    ClosingSink sink(&control);
    {
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(control.As(IID_IConnectionPointContainer, &container), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(kw::ids::IID_DSwitchEvents, point.Out()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    }
    session.Advance(::GetDoubleClickTime() + 1);
    session.MouseMove(hwnd, 4, 4);
    session.Click(MouseButton::Right);
    EXPECT_EQ(sink.clicks, 1);
    EXPECT_FALSE(control);
    EXPECT_FALSE(::IsWindow(hwnd));
}
