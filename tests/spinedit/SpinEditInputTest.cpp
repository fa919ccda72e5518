// The field under the operator's hands: spin buttons with auto-repeat,
// vertical drag, wheel, keys and focus parts, the label, unit and abs/rel
// buttons, right double-click and the cursor.
#include "SpinEditTestSupport.h"

#include "platform/user/Input.h"
#include "spinedit/SEEdit.h"

using spinedit_test::SpinEditTest;

namespace {

constexpr DISPID kValueChanged = CSpinEditCtrl::kEventValueChanged;
constexpr DISPID kLabelChanged = CSpinEditCtrl::kEventLabelChanged;
constexpr DISPID kRequestLabelText = CSpinEditCtrl::kEventRequestLabelText;
constexpr DISPID kToggle = CSpinEditCtrl::kEventToggle;

} // namespace

// [SECTION] Spin buttons, drag and wheel

TEST_F(SpinEditTest, HoldingTheUpButtonStepsOnceAndThenEveryThreeHundredMilliseconds) {
    Create();
    ASSERT_TRUE(SetVal(0.0, -1));
    MoveTo(Centre(*Parts().up));
    session.MouseDown();
    EXPECT_EQ(GetVal(-1).second, 1.0);
    EXPECT_TRUE(Field()->RepeatTimerRunning());
    EXPECT_EQ(Field()->RepeatPeriod(), 300u);
    session.Advance(299);
    EXPECT_EQ(GetVal(-1).second, 1.0);
    session.Advance(1);
    EXPECT_EQ(GetVal(-1).second, 2.0);
    session.MouseUp();
    EXPECT_FALSE(Field()->RepeatTimerRunning());
    session.Advance(1000);
    EXPECT_EQ(GetVal(-1).second, 2.0);
    EXPECT_EQ(events.Count(kValueChanged), 2);

    ClickAt(Centre(*Parts().down));
    EXPECT_EQ(GetVal(-1).second, 1.0);
}

TEST_F(SpinEditTest, DraggingFarAboveStepsTenAtOnceThenEveryTenMilliseconds) {
    Create();
    ASSERT_TRUE(SetVal(0.0, -1));
    MoveTo(Centre(*Parts().drag));
    session.MouseDown();
    EXPECT_EQ(GetVal(-1).second, 0.0) << "a press on the drag zone steps nothing";
    session.MouseMove(Window(), Centre(*Parts().drag).x, -150);
    EXPECT_EQ(GetVal(-1).second, 10.0);
    EXPECT_EQ(Field()->RepeatPeriod(), 10u);
    session.Advance(30);
    EXPECT_EQ(GetVal(-1).second, 13.0);
    session.MouseUp();
    EXPECT_FALSE(Field()->RepeatTimerRunning());

    // Far below: ten down at once, then one every 50 ms.
    MoveTo(Centre(*Parts().drag));
    session.MouseDown();
    session.MouseMove(Window(), Centre(*Parts().drag).x, 150);
    EXPECT_EQ(GetVal(-1).second, 3.0);
    EXPECT_EQ(Field()->RepeatPeriod(), 50u);
    session.Advance(100);
    EXPECT_EQ(GetVal(-1).second, 1.0);
    session.MouseUp();
}

TEST_F(SpinEditTest, SmallDragsStepOnePerMoveInTheirDirection) {
    Create();
    ASSERT_TRUE(SetVal(0.0, -1));
    const POINT start = Centre(*Parts().drag);
    MoveTo(start);
    session.MouseDown();
    session.MouseMove(Window(), start.x, start.y - 5);
    session.MouseMove(Window(), start.x, start.y - 9);
    EXPECT_EQ(GetVal(-1).second, 2.0);
    session.MouseMove(Window(), start.x, start.y + 20);
    EXPECT_EQ(GetVal(-1).second, 1.0);
    session.MouseUp();
}

TEST_F(SpinEditTest, TheWheelStepsOnlyOverTheSpinButtons) {
    Create();
    ASSERT_TRUE(SetVal(5.0, -1));
    Focus(); // the wheel turns the focused window's way
    MoveTo(Centre(*Parts().up));
    session.Wheel(1);
    EXPECT_EQ(GetVal(-1).second, 6.0);
    MoveTo(Centre(*Parts().down));
    session.Wheel(-1);
    session.Wheel(-1);
    EXPECT_EQ(GetVal(-1).second, 4.0);
    MoveTo(Centre(*Parts().value));
    session.Wheel(1);
    EXPECT_EQ(GetVal(-1).second, 4.0);
}

TEST_F(SpinEditTest, TheCursorOverTheDragZoneIsTheVerticalSizer) {
    Create();
    MoveTo(Centre(*Parts().drag));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_SIZENS));
    MoveTo(Centre(*Parts().value));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

// [SECTION] Keys and focus parts

TEST_F(SpinEditTest, ArrowKeysStepTheValueAndPageKeysStepTen) {
    Create();
    ASSERT_TRUE(SetVal(0.0, -1));
    Focus();
    session.Key(VK_UP);
    session.Key(VK_PRIOR);
    EXPECT_EQ(GetVal(-1).second, 11.0);
    session.Key(VK_NEXT);
    session.Key(VK_DOWN);
    EXPECT_EQ(GetVal(-1).second, 0.0);
    events.fired.clear();
    session.Key(VK_RETURN);
    EXPECT_EQ(events.Ids(), std::vector<DISPID>{kValueChanged}) << "Enter released on the value";
}

TEST_F(SpinEditTest, LeftAndRightWalkTheAvailablePartsAndWrap) {
    Create();
    Put("Flags", CComVariant::I2(4 | 8 | kSpinEditFlagAbsRel)); // every part
    Focus();
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kValue);
    session.Key(VK_RIGHT);
    session.Key(VK_RIGHT);
    session.Key(VK_RIGHT);
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kAbsRel);
    session.Key(VK_RIGHT);
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kLabel);
    session.Key(VK_LEFT);
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kAbsRel);

    // Only the value available: it keeps the focus.
    Put("Flags", CComVariant::I2(kSpinEditFlagNoSpin | 0x0002));
    session.Key(VK_RIGHT);
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kValue);
    session.Key(VK_LEFT);
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kValue);

    // Nothing available: no part has the focus.
    Put("Flags", CComVariant::I2(kSpinEditFlagNoSpin | 0x0002 | kSpinEditFlagNoEdit));
    session.Key(VK_RIGHT);
    EXPECT_EQ(Field()->FocusPart(), CSpinEditCtrl::kNoPart);
}

TEST_F(SpinEditTest, KeysOnTheUnitPartSwitchTheUnit) {
    UseInchSystem(1);
    Create();
    Put("Units", CComVariant::I2(4 | 16));
    Focus();
    session.Key(VK_RIGHT); // spin
    session.Key(VK_RIGHT); // unit
    ASSERT_EQ(Field()->FocusPart(), CSpinEditCtrl::kUnit);
    const WORD before = Field()->DisplayUnit();
    session.Key(VK_DOWN);
    EXPECT_NE(Field()->DisplayUnit(), before);
    EXPECT_EQ(events.Count(CSpinEditCtrl::kEventUnitChanged), 1);
}

// [SECTION] Buttons

TEST_F(SpinEditTest, TheLabelButtonAsksTheHostForALabel) {
    Create();
    Put("Flags", CComVariant::I2(4 | 8));
    events.answers[kRequestLabelText] = [](VARIANT* args, UINT) {
        EXPECT_EQ(AnsiFromBstr(*args[1].pbstrVal), "X:");
        SysFreeString(*args[1].pbstrVal);
        *args[1].pbstrVal = BstrFromAnsi("Y:");
        *args[0].plVal = 1;
    };
    ClickAt(Centre(*Parts().label));
    EXPECT_EQ(AnsiFromBstr(Get("Label").bstrVal), "Y:");
    EXPECT_EQ(events.Ids(), (std::vector<DISPID>{kRequestLabelText, kLabelChanged}));

    // Unanswered, the label stays.
    events.answers.clear();
    ClickAt(Centre(*Parts().label));
    EXPECT_EQ(AnsiFromBstr(Get("Label").bstrVal), "Y:");
}

TEST_F(SpinEditTest, AbsRelFlipsTheDisplayAndToggleFiresOnTheValueField) {
    Create();
    Put("Flags",
        CComVariant::I2(4 | kSpinEditFlagAbsRel | kSpinEditFlagToggle | kSpinEditFlagNoEdit));
    ASSERT_TRUE(SetVal(5.0, -1));
    ClickAt(Centre(*Parts().absRel));
    EXPECT_FALSE(Field()->IsAbsolute());
    EXPECT_EQ(Field()->FormatValue(false), "0") << "relative to the value set";
    ClickAt(Centre(*Parts().absRel));
    EXPECT_TRUE(Field()->IsAbsolute());
    ClickAt(Centre(*Parts().value));
    EXPECT_EQ(events.Count(kToggle), 1);
    EXPECT_FALSE(Field()->IsEditing()) << "no Edit";
}

TEST_F(SpinEditTest, RightDoubleClickRequestsTheDefaultOnlyWhenAllowed) {
    Create();
    session.MouseMove(Window(), 30, 10);
    session.DoubleClick(kw::user::MouseButton::Right);
    EXPECT_FALSE(Field()->IsDefVal());
    EXPECT_EQ(session.Modal().beeps, std::vector<UINT>{MB_ICONHAND});

    Put("Flags", CComVariant::I2(4 | kSpinEditFlagAllowDefSet));
    session.DoubleClick(kw::user::MouseButton::Right);
    CComVariant result;
    ASSERT_EQ(Call("IsDefVal", DISPATCH_METHOD, {}, &result), S_OK);
    EXPECT_NE(result.boolVal, 0);
    EXPECT_EQ(session.Modal().beeps, (std::vector<UINT>{MB_ICONHAND, 0}));
}

TEST_F(SpinEditTest, LosingTheCaptureStopsTheRepeat) {
    Create();
    ASSERT_TRUE(SetVal(0.0, -1));
    MoveTo(Centre(*Parts().up));
    session.MouseDown();
    ASSERT_TRUE(Field()->RepeatTimerRunning());
    ::SetCapture(m_host); // another window takes the mouse, as a menu would
    session.Pump();
    EXPECT_FALSE(Field()->RepeatTimerRunning());
    EXPECT_EQ(Field()->RepeatPeriod(), 300u);
    session.Advance(1000);
    EXPECT_EQ(GetVal(-1).second, 1.0) << "no step after the capture went";
    session.MouseUp();
    ::ReleaseCapture();
}

TEST_F(SpinEditTest, TheFieldAndItsEntryBoxAskForTheKeysTheyNeed) {
    Create();
    EXPECT_EQ(::SendMessageA(Window(), WM_GETDLGCODE, 0, 0), 0x2081)
        << "arrows, characters, and a button";
    ASSERT_NE(Field()->EntryBox(), nullptr);
    EXPECT_EQ(::SendMessageA(Field()->EntryBox()->GetSafeHwnd(), WM_GETDLGCODE, 0, 0), 0x87)
        << "every key, Tab and Enter included";
}
