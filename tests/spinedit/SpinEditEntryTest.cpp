// Typing into the field, as an operator does: the entry box opens over the
// value field, evaluates on leaving and the field stores what it gives.
#include "SpinEditTestSupport.h"

#include "platform/user/Input.h"
#include "spinedit/SEEdit.h"

using spinedit_test::SpinEditTest;

namespace {

constexpr DISPID kValueChanged = CSpinEditCtrl::kEventValueChanged;

class SpinEditEntryTest : public SpinEditTest {
protected:
    void SetUp() override {
        SpinEditTest::SetUp();
        Create();
        Put("PointPos", CComVariant::I2(6));
        Put("Units", CComVariant::I2(1));
    }
    CSEEdit* Box() { return Field()->EntryBox(); }
    std::string BoxText() {
        CString text;
        Box()->GetWindowText(text);
        return text.Str();
    }
    std::pair<int, int> BoxSelection() {
        int start = 0, end = 0;
        Box()->GetSel(start, end);
        return {start, end};
    }
    double Value() { return GetVal(-1).second; }
};

} // namespace

TEST_F(SpinEditEntryTest, ADigitOpensTheBoxWithThatDigitAndEnterCommitsIt) {
    ASSERT_TRUE(SetVal(12.0, -1));
    Focus();
    session.Type("7");
    ASSERT_TRUE(Field()->IsEditing());
    ASSERT_NE(Box(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(Box()->GetSafeHwnd()));
    EXPECT_EQ(::GetFocus(), Box()->GetSafeHwnd());
    EXPECT_EQ(BoxText(), "7") << "the old value is replaced";
    RECT box;
    ::GetWindowRect(Box()->GetSafeHwnd(), &box);
    POINT origin{0, 0};
    ::ClientToScreen(Window(), &origin);
    ::OffsetRect(&box, -origin.x, -origin.y);
    EXPECT_EQ(CRect(box), *Parts().value) << "the box lies over the value field";

    session.Key(VK_RETURN);
    EXPECT_FALSE(Field()->IsEditing());
    EXPECT_FALSE(::IsWindowVisible(Box()->GetSafeHwnd()));
    EXPECT_EQ(::GetFocus(), Window());
    EXPECT_EQ(Value(), 7.0);
    EXPECT_EQ(events.Count(kValueChanged), 1);
}

TEST_F(SpinEditEntryTest, AClickOpensTheBoxWithTheOldValueSelected) {
    Put("PointPos", CComVariant::I2(2));
    ASSERT_TRUE(SetVal(3.5, -1));
    ClickAt(Centre(*Parts().value));
    ASSERT_TRUE(Field()->IsEditing());
    EXPECT_EQ(BoxText(), "3.50");
    EXPECT_EQ(BoxSelection(), std::make_pair(0, 4));
}

TEST_F(SpinEditEntryTest, AnExpressionInMillimetresIsStoredInInches) {
    // The field shows mm and stores inches.
    Put("Units", CComVariant::I2(1 | 4));
    Put("PointPos", CComVariant::I2(3));
    ASSERT_TRUE(SetVal(1.0, 4));
    ASSERT_EQ(Field()->ValueUnit(), 4);
    Focus();
    session.Type("2*3");
    session.Key(VK_RETURN);
    auto [ok, inches] = GetVal(-1);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(inches, 6 * 0.03937007874015748);
    EXPECT_DOUBLE_EQ(GetVal(1).second, 6.0);
    EXPECT_EQ(Field()->FormatValue(false), "6.000");
    EXPECT_EQ(events.Count(kValueChanged), 1);
}

TEST_F(SpinEditEntryTest, EscapeRestoresAndCommitsTheStartingText) {
    Put("PointPos", CComVariant::I2(1));
    ASSERT_TRUE(SetVal(4.25, -1));
    Focus();
    session.Type("99");
    session.Key(VK_ESCAPE);
    EXPECT_FALSE(Field()->IsEditing());
    EXPECT_EQ(Value(), 4.3) << "the text shown, 4.3, committed again";
    EXPECT_EQ(events.Count(kValueChanged), 1);
}

TEST_F(SpinEditEntryTest, AnEmptiedBoxCommitsZero) {
    ASSERT_TRUE(SetVal(8.0, -1));
    ClickAt(Centre(*Parts().value));
    session.Key(VK_DELETE);
    EXPECT_EQ(BoxText(), "");
    session.Key(VK_RETURN);
    EXPECT_EQ(Value(), 0.0);
}

TEST_F(SpinEditEntryTest, AThirdArrivesWithSixDecimals) {
    Put("PointPos", CComVariant::I2(8));
    Focus();
    session.Type("1/3");
    session.Key(VK_RETURN);
    EXPECT_EQ(Value(), 0.333333) << "formatted with %f before the field reads it";
}

TEST_F(SpinEditEntryTest, UntouchedDashesOfAnUnsetFieldSendNothing) {
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagShowUninitialized));
    ClickAt(Centre(*Parts().value));
    EXPECT_EQ(BoxText(), "---");
    session.Key(VK_RETURN);
    EXPECT_FALSE(Field()->IsEditing());
    EXPECT_FALSE(Field()->IsDefined());
    EXPECT_EQ(events.Count(kValueChanged), 0);
}

TEST_F(SpinEditEntryTest, CtrlUpEndsEditingWhileUpAloneMovesTheCaret) {
    Focus();
    session.Type("12");
    session.Key(VK_HOME);
    session.Key(VK_UP);
    EXPECT_TRUE(Field()->IsEditing()) << "Up is the box's own";
    session.Type("3");
    EXPECT_EQ(BoxText(), "312") << "Home put the caret first; Up moved it nowhere new";
    session.KeyDown(VK_CONTROL);
    session.Key(VK_UP);
    session.KeyUp(VK_CONTROL);
    EXPECT_FALSE(Field()->IsEditing());
    EXPECT_EQ(::GetFocus(), Window());
    EXPECT_EQ(Value(), 312.0);
    EXPECT_EQ(Box()->LastKey(), LONG(VK_UP));
}

TEST_F(SpinEditEntryTest, AnErrorShowsTheEvaluatorsWordsAndKeepsTheValue) {
    Put("Flags", CComVariant::I2(0)); // no label
    ASSERT_TRUE(SetVal(5.0, -1));
    Focus();
    session.Type("2+");
    session.Key(VK_RETURN);
    const auto& boxes = session.Modal().messageBoxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Werkzeugmaschine") << "the host's main window";
    EXPECT_EQ(boxes[0].type, MB_ICONHAND);
    const std::string error = boxes[0].text;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find("Fehler bei Eingabe"), std::string::npos) << "the label is not shown";
    EXPECT_EQ(Value(), 5.0);
    EXPECT_EQ(events.Count(kValueChanged), 0);

    // With a label shown, the message names it.
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagLabel));
    Put("Label", CComVariant::Str("Vorschub"));
    Focus();
    session.Type("2+");
    session.Key(VK_RETURN);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Fehler bei Eingabe Vorschub\n\n" + error);
    EXPECT_EQ(Value(), 5.0);
}

TEST_F(SpinEditEntryTest, ResultsThatAreNoNumberAreRefusedWithABeep) {
    ASSERT_TRUE(SetVal(5.0, -1));
    for (const char* typed : {"Acos(2)", "10^39"}) {
        Focus();
        session.Type(typed);
        session.Key(VK_RETURN);
        EXPECT_EQ(Value(), 5.0) << typed;
    }
    EXPECT_EQ(events.Count(kValueChanged), 0);
    EXPECT_EQ(session.Modal().beeps, (std::vector<UINT>{MB_ICONHAND, MB_ICONHAND}));
    EXPECT_TRUE(session.Modal().messageBoxes.empty());
}

TEST_F(SpinEditEntryTest, VariablesLiveFromOneEditToTheNext) {
    // The field defines the variable its Text names; the operator may
    // assign it, and it keeps that value once the field names another.
    Put("LowLimit", CComVariant::R4(-100.0f));
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagUseLimits | kSpinEditFlagShowUninitialized));
    Put("Text", CComVariant::Str("a"));
    Focus();
    session.Type("a=5");
    session.Key(VK_RETURN);
    EXPECT_EQ(Value(), 5.0);
    Put("Text", CComVariant::Str("b"));
    Focus();
    session.Type("a*2");
    session.Key(VK_RETURN);
    EXPECT_EQ(Value(), 10.0);
}

TEST_F(SpinEditEntryTest, TabEndsEditingAndCommits) {
    Focus();
    session.Type("42");
    session.Key(VK_TAB);
    EXPECT_FALSE(Field()->IsEditing());
    EXPECT_EQ(Box()->LastKey(), LONG(VK_TAB));
    EXPECT_EQ(Value(), 42.0);
}

TEST_F(SpinEditEntryTest, TheTextOfTheLowLimitEntersTheLowLimit) {
    Put("LowLimit", CComVariant::R4(-20.0f));
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagUseLimits | kSpinEditFlagShowUninitialized));
    Put("Text", CComVariant::Str("min"));
    ASSERT_TRUE(SetVal(5.0, -1));
    Focus();
    session.Type("min+1");
    session.Key(VK_RETURN);
    EXPECT_EQ(Value(), -19.0);
    EXPECT_EQ(Field()->FormatValue(false), "-19.000000");
    ASSERT_TRUE(SetVal(-20.0, -1));
    EXPECT_EQ(Field()->FormatValue(false), "min");
}

TEST_F(SpinEditEntryTest, NoEditAndCtrlKeepTheBoxClosed) {
    Focus();
    session.KeyDown(VK_CONTROL);
    session.Type("7");
    session.KeyUp(VK_CONTROL);
    EXPECT_FALSE(Field()->IsEditing());
    Put("Flags", CComVariant::I2(4 | kSpinEditFlagNoEdit));
    Focus();
    session.Type("7");
    ClickAt(Centre(*Parts().value));
    EXPECT_FALSE(Field()->IsEditing());
}

TEST_F(SpinEditEntryTest, ClosingTheFieldWhileEditingLosesNothingElse) {
    ASSERT_TRUE(SetVal(2.0, -1));
    Focus();
    session.Type("5");
    ASSERT_TRUE(Field()->IsEditing());
    Close(); // the window goes with the box open; nothing may touch it after
    session.Pump();
    EXPECT_TRUE(::IsWindow(m_host));
}

TEST_F(SpinEditEntryTest, SpaceAndHashOpenTheBoxWithTheOldTextSelectedAndBackspaceEditsIt) {
    for (BYTE ch : {BYTE(' '), BYTE('#')}) {
        ASSERT_TRUE(SetVal(12.0, -1));
        Focus();
        session.Char(ch);
        ASSERT_TRUE(Field()->IsEditing()) << int(ch);
        EXPECT_EQ(BoxText(), "12.000000") << "the character itself is not typed: " << int(ch);
        EXPECT_EQ(BoxSelection(), std::make_pair(0, 9));
        session.Key(VK_ESCAPE);
        ASSERT_FALSE(Field()->IsEditing());
    }
    // Backspace goes to the box as a key of its own: nothing is selected,
    // so it edits the old text instead of replacing it.
    ASSERT_TRUE(SetVal(12.0, -1));
    Focus();
    session.Char(8);
    ASSERT_TRUE(Field()->IsEditing());
    const auto [start, end] = BoxSelection();
    EXPECT_EQ(start, end) << "no selection";
    EXPECT_FALSE(BoxText().empty());
    EXPECT_EQ(BoxText().substr(0, 1), "1");
}
