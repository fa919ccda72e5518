// The jog pad in a headless host, as the operator and the host meet it:
// clicks with either button, hover and leaving, the keyboard's steps and
// continuous jogs, the lamps, the release timer over virtual time, enabling,
// the layouts, persistence and painting.
#include "PosTestSupport.h"

#include "platform/afx/JsonPropertyBag.h"
#include "platform/user/VirtualKeys.h"

using namespace pos_test;

namespace {

// Layout 0's buttons and lamps by index.
constexpr int kYMinus = 0, kZMinus = 1, kXMinus = 4, kXPlus = 5, kYPlus = 8, kZPlus = 9;
constexpr int kLampX = 10, kLampY = 11, kLampZ = 12;

} // namespace

// [SECTION] Mouse

TEST_F(PosTest, ALeftClickOnZPlusStartsAGreenJogAndLightsTheZLamp) {
    ASSERT_EQ(Colour(kLampX), kPosYellow);
    ASSERT_EQ(Colour(kLampZ), kPosGrey);
    Press(kZPlus);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x404}}));
    EXPECT_EQ(Colour(kZPlus), kPosGreen);
    EXPECT_EQ(Colour(kLampZ), kPosYellow);
    EXPECT_EQ(Colour(kLampX), kPosGrey);
    EXPECT_EQ(Colour(kLampY), kPosGrey);
    EXPECT_EQ(::GetCursor(), CPosCtrl::MovingCursor()) << "the moving cursor while held";
    MoveTo(kZPlus); // the cursor stays while held
    EXPECT_EQ(::GetCursor(), CPosCtrl::MovingCursor());
    session.MouseUp();
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x404}, {kStopPos, -1}}));
    EXPECT_EQ(Colour(kZPlus), kPosBlack);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_FALSE(Pad()->IsPressActive());
}

TEST_F(PosTest, ARightClickOnXMinusJogsRedAndAClickOutsideStillStops) {
    Press(kXMinus, MouseButton::Right);
    EXPECT_EQ(Colour(kXMinus), kPosRed);
    session.MouseUp(MouseButton::Right);
    EXPECT_EQ(Colour(kXMinus), kPosBlack);
    events.fired.clear();
    session.MouseMove(Window(), 1, 1); // the grey corner
    session.Click();
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStopPos, -1}}));
    events.fired.clear();
    Press(kXMinus, MouseButton::Right);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x811}}));
    session.MouseUp(MouseButton::Right);
}

TEST_F(PosTest, ADoubleClickJogsTwice) {
    MoveTo(kYPlus);
    session.DoubleClick();
    MoveTo(kXMinus);
    session.DoubleClick(MouseButton::Right);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x402},
                                                {kStopPos, -1},
                                                {kStartPos, 0x402},
                                                {kStopPos, -1},
                                                {kStartPos, 0x811},
                                                {kStopPos, -1},
                                                {kStartPos, 0x811},
                                                {kStopPos, -1}}));
}

TEST_F(PosTest, HoverWhitensTheButtonUnderThePointerAndLeavingLetsTheCaptureGo) {
    MoveTo(kXPlus);
    EXPECT_EQ(Colour(kXPlus), kPosWhite);
    EXPECT_EQ(Pad()->Hover(), kXPlus);
    EXPECT_EQ(::GetCapture(), Window()) << "held to see the pointer leave";
    MoveTo(kYPlus);
    EXPECT_EQ(Colour(kXPlus), kPosBlack);
    EXPECT_EQ(Colour(kYPlus), kPosWhite);
    session.MouseMove(200, 150); // over the host, outside the pad
    EXPECT_EQ(Colour(kYPlus), kPosBlack);
    EXPECT_EQ(Pad()->Hover(), -1);
    EXPECT_NE(::GetCapture(), Window());
    EXPECT_FALSE(Pad()->HasCapture());
}

TEST_F(PosTest, LampClicksSwitchTheXYAndZLampsWithoutAJog) {
    Click(kLampZ);
    EXPECT_FALSE(Pad()->LampXY());
    EXPECT_EQ(Colour(kLampZ), kPosYellow);
    Click(kLampY);
    EXPECT_TRUE(Pad()->LampXY());
    EXPECT_EQ(Colour(kLampY), kPosYellow);
    EXPECT_EQ(events.Count(kStartPos), 0);
}

// [SECTION] Keyboard

TEST_F(PosTest, ShiftLeftStepsRelativeAndTheKeyedButtonGoesBlackHalfASecondAfterTheKeyUp) {
    Focus();
    KeyWith({VK_SHIFT}, VK_LEFT);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kPosRel, 0x111}}));
    EXPECT_EQ(Colour(kXMinus), kPosRed);
    EXPECT_TRUE(Pad()->ReleaseTimerRunning());
    session.Advance(499);
    EXPECT_EQ(Colour(kXMinus), kPosRed);
    session.Advance(1);
    EXPECT_EQ(Colour(kXMinus), kPosBlack);
    EXPECT_EQ(Pad()->PressedIndex(), -1);
    EXPECT_FALSE(Pad()->ReleaseTimerRunning());
}

TEST_F(PosTest, PlainAndAltKeysStepWithoutAndWithTheAltBit) {
    Focus();
    session.Key(VK_UP);
    KeyWith({VK_MENU}, VK_DOWN);
    session.Key(VK_HOME);
    EXPECT_EQ(events.fired,
              (std::vector<Fired>{{kPosRel, 0x02}, {kPosRel, 0x222}, {kPosRel, 0x13}}));
    session.Key(VK_F5); // maps to no button
    session.Key('Q');
    EXPECT_EQ(events.fired.size(), 3u);
}

TEST_F(PosTest, CtrlLeftJogsUntilTheKeyComesUp) {
    Focus();
    session.KeyDown(VK_CONTROL);
    session.KeyDown(VK_LEFT);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}}));
    EXPECT_EQ(Colour(kXMinus), kPosGreen);
    session.KeyDown(VK_LEFT); // the key's auto-repeat leaves the jog alone
    EXPECT_EQ(events.fired.size(), 1u);
    session.KeyUp(VK_LEFT);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}, {kStopPos, -1}}));
    EXPECT_EQ(Colour(kXMinus), kPosBlack);
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(events.fired.size(), 2u) << "no press runs: no second StopPos";
}

TEST_F(PosTest, ShiftJoiningAndLeavingACtrlJogSwitchesItsButtonBit) {
    Focus();
    session.KeyDown(VK_CONTROL);
    session.KeyDown(VK_RIGHT);
    session.KeyDown(VK_SHIFT);
    EXPECT_EQ(Colour(kXPlus), kPosRed);
    session.KeyUp(VK_SHIFT);
    EXPECT_EQ(Colour(kXPlus), kPosGreen);
    session.KeyUp(VK_RIGHT);
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(events.fired,
              (std::vector<Fired>{
                  {kStartPos, 0x401}, {kStartPos, 0x801}, {kStartPos, 0x401}, {kStopPos, -1}}));
}

TEST_F(PosTest, WithTheZLampOnlyUpAndDownJogOnTheZButtons) {
    Focus();
    session.Key('Z');
    EXPECT_FALSE(Pad()->LampXY());
    EXPECT_EQ(Colour(kLampZ), kPosYellow);
    session.Key(VK_UP);
    session.Key(VK_DOWN);
    session.Key(VK_LEFT);
    session.Key(VK_PRIOR);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kPosRel, 0x04}, {kPosRel, 0x44}}));
    session.Key(VK_SPACE);
    EXPECT_TRUE(Pad()->LampXY());
    session.Key('Z');
    session.Key('X');
    EXPECT_TRUE(Pad()->LampXY());
}

TEST_F(PosTest, AJogKeyHeldThroughItsWaitsRepeatsWithoutThePause) {
    Focus();
    const ULONGLONG start = session.Clock().Now();
    session.KeyDown(VK_LEFT); // held: all eleven waits run
    EXPECT_EQ(session.Clock().Now() - start, 110u);
    session.KeyDown(VK_LEFT);
    EXPECT_EQ(session.Clock().Now() - start, 220u);
    session.KeyUp(VK_LEFT);
    EXPECT_EQ(events.Count(kPosRel), 2);
}

TEST_F(PosTest, TheDialogCodeWantsArrowsAndTheLampLettersOfTheLayout) {
    auto code = [&](UINT message, WPARAM ch) {
        MSG msg{};
        msg.message = message;
        msg.wParam = ch;
        return ::SendMessageA(Window(), WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&msg));
    };
    EXPECT_EQ(::SendMessageA(Window(), WM_GETDLGCODE, 0, 0), 1);
    EXPECT_EQ(code(WM_CHAR, 'x'), 0x81);
    EXPECT_EQ(code(WM_CHAR, 'Z'), 0x81);
    EXPECT_EQ(code(WM_CHAR, 'a'), 1);
    EXPECT_EQ(code(WM_KEYDOWN, 'X'), 1);
    Put("Mode", 2);
    EXPECT_EQ(code(WM_CHAR, 'b'), 0x81);
    EXPECT_EQ(code(WM_CHAR, 'x'), 1);
}

// [SECTION] Layouts and lamps

TEST_F(PosTest, LayoutTwoWithOnlyLampBJogsTheFourthAxisAndLampClicksKeepOneLampOn) {
    Put("Mode", 2);
    Focus();
    session.Key('A');
    EXPECT_FALSE(Pad()->LampA());
    EXPECT_TRUE(Pad()->LampB());
    EXPECT_EQ(Colour(8), kPosGrey);
    session.Key(VK_UP);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kPosRel, 0x08}}));
    Click(9); // lamp B off turns A on
    EXPECT_TRUE(Pad()->LampA());
    EXPECT_FALSE(Pad()->LampB());
    EXPECT_EQ(Colour(8), kPosYellow);
    EXPECT_EQ(Colour(9), kPosGrey);
    Focus();
    session.Key(VK_SPACE); // A -> B -> A+B
    EXPECT_FALSE(Pad()->LampA());
    session.Key(VK_SPACE);
    EXPECT_TRUE(Pad()->LampA() && Pad()->LampB());
    session.Key(VK_DOWN);
    EXPECT_EQ(events.fired.back(), (Fired{kPosRel, 0xAA}));
}

TEST_F(PosTest, ModeSevenIsLayoutZeroAndEachModeTakesItsPictureAndRectangles) {
    Put("Mode", 7);
    EXPECT_EQ(Pad()->Layout(), 0);
    EXPECT_EQ(Pad()->Buttons(), 10);
    EXPECT_EQ(Pad()->RectCount(), 13);
    EXPECT_EQ(Pad()->Picture().width, 83);
    const int sizes[5][3] = {{83, 66, 13}, {46, 46, 2}, {65, 66, 10}, {65, 66, 10}, {65, 54, 8}};
    for (SHORT mode = 0; mode < 5; ++mode) {
        Put("Mode", mode);
        EXPECT_EQ(Pad()->Picture().width, sizes[mode][0]);
        EXPECT_EQ(Pad()->Picture().height, sizes[mode][1]);
        EXPECT_EQ(Pad()->RectCount(), sizes[mode][2]);
    }
}

TEST_F(PosTest, SettingModeRelightsEveryLampAndMarksTheControlModified) {
    Focus();
    session.Key('Z');
    Pad()->SetModifiedFlag(FALSE);
    Put("Mode", 0);
    EXPECT_TRUE(Pad()->LampXY());
    EXPECT_EQ(Colour(kLampX), kPosYellow);
    EXPECT_TRUE(Pad()->IsModified());
}

TEST_F(PosTest, TheXYPadsLampsNeverTurnItsArrowKeysToDiagonals) {
    Put("Mode", 3);
    Click(8); // a lamp of the XY pad
    EXPECT_TRUE(Pad()->LampXY());
    events.fired.clear();
    Focus();
    session.Key(VK_DOWN);
    session.Key(VK_UP);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kPosRel, 0x22}, {kPosRel, 0x02}}));
}

TEST_F(PosTest, TheRotationAndZPadsJogTheirOwnCodes) {
    Put("Mode", 1);
    Focus();
    session.Key(VK_LEFT);
    session.Key(VK_RIGHT);
    Put("Mode", 4);
    Focus();
    session.Key(VK_LEFT);
    Click(3);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kPosRel, 0x88},
                                                {kPosRel, 0x08},
                                                {kPosRel, 0xFF},
                                                {kStartPos, 0x403},
                                                {kStopPos, -1}}));
}

// [SECTION] Enable

TEST_F(PosTest, DisablingGreysTheButtonsAndEnablingBlackensEveryGreyPixel) {
    ASSERT_EQ(Colour(kLampZ), kPosGrey);
    SetEnabled(false);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Colour(i), kPosGrey) << "button " << i;
    EXPECT_EQ(Colour(kLampX), kPosYellow);
    SetEnabled(true);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Colour(i), kPosBlack) << "button " << i;
    EXPECT_EQ(Colour(kLampZ), kPosBlack) << "the grey lamp too";
}

TEST_F(PosTest, APadDisabledBeforeItIsPlacedOrGivenANewLayoutShowsItDisabled) {
    Close();
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Pos, IID_IClassFactory,
                                   factory.OutVoid()),
              S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, m_disp.OutVoid()), S_OK);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    SetEnabled(false);
    EXPECT_EQ(Colour(kYPlus), kPosGrey) << "without a window";
    const RECT place{kLeft, kTop, kLeft + 83, kTop + 66};
    ComPtr<IOleObject> ole;
    ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &place), S_OK);
    session.Pump();
    EXPECT_FALSE(::IsWindowEnabled(Window()));
    EXPECT_EQ(Colour(kYPlus), kPosGrey);
    Put("Mode", 3);
    EXPECT_EQ(Colour(7), kPosGrey) << "the XY pad's Y+";
    SetEnabled(true);
    EXPECT_EQ(Colour(7), kPosBlack);
}

TEST_F(PosTest, ADisabledPadTakesNoClick) {
    SetEnabled(false);
    Click(kYPlus);
    EXPECT_TRUE(events.fired.empty());
}

// [SECTION] Persistence

TEST_F(PosTest, ModeIsSavedByNameAndALoadKeepsTheLampStates) {
    Put("Mode", 2);
    Focus();
    session.Key('A'); // only B on
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->Values()["Mode"], 2);
    ASSERT_EQ(persist->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(Pad()->Layout(), 2);
    EXPECT_FALSE(Pad()->LampA());
    EXPECT_EQ(Colour(8), kPosGrey) << "the picture is rebuilt with the lamps as they were";

    ASSERT_EQ(persist->InitNew(), S_OK);
    EXPECT_EQ(Pad()->Layout(), 0);
}

TEST_F(PosTest, AFreshPadHasItsPicturesSize) {
    int cx = 0, cy = 0;
    Pad()->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 83);
    EXPECT_EQ(cy, 66);
}

// [SECTION] Painting

TEST_F(PosTest, ThePictureIsDrawnCentredOnItsOwnGreyWithAFocusRectangle) {
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(m_disp.As(IID_IOleInPlaceObject, &inPlace), S_OK);
    const RECT larger{kLeft, kTop, kLeft + 103, kTop + 86}; // 10 more each side
    ASSERT_EQ(inPlace->SetObjectRects(&larger, &larger), S_OK);
    MoveTo(kYPlus);
    session.MouseMove(250, 150);
    Focus();
    session.Pump();
    const SurfaceBuffer pixels = session.Pixels(Window());
    EXPECT_EQ(pixels.Pixel(5, 5), 0xC0C0C0u) << "the picture's grey around it";
    // Row y (bottom-up) of the picture is client row 10 + 65 - y.
    const CRect& up = Pad()->Rects()[kYPlus];
    EXPECT_EQ(pixels.Pixel(10 + (up.left + up.right) / 2, 10 + 65 - (up.top + up.bottom) / 2),
              0x000000u);
    EXPECT_EQ(pixels.Pixel(10 + 27, 10 + 65 - 34), 0xFFFF00u) << "the X lamp's centre";
    // The focus rectangle's dots on the inner edge.
    int dots = 0;
    for (int x = 1; x < 102; ++x)
        dots += pixels.Pixel(x, 1) != 0xC0C0C0u;
    EXPECT_GT(dots, 40);
    EXPECT_EQ(pixels.Pixel(0, 0), 0xC0C0C0u);
}
