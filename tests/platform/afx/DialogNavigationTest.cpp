// Moving through a dialog with the keyboard: Tab and Shift+Tab over the tab
// stops, the arrows within a group of radio buttons, and mnemonics; also
// through the controls of a dialog placed inside another.
#include "platform/user/DialogNavigation.h"
#include "platform/afx/Dialog.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

enum : int {
    IDC_NAME_LABEL = 10,
    IDC_NAME,
    IDC_GROUP,
    IDC_SHORT,
    IDC_FLOAT,
    IDC_DOUBLE,
    IDC_FLAG,
    IDC_UNIT_LABEL,
    IDC_UNIT,
    IDC_INNER_EDIT = 30,
    IDC_INNER_CHECK,
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr const char* kUnits[] = {"mm", "inch"};
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON;
const DialogItemTemplate kItems[] = {
    {"STATIC", "&Name:", IDC_NAME_LABEL, kChild, 0, 4, 6, 30, 8},
    {"EDIT", "spindle", IDC_NAME, kChild | WS_TABSTOP | WS_BORDER, 0, 40, 4, 60, 12},
    {"BUTTON", "&Typ", IDC_GROUP, kChild | BS_GROUPBOX, 0, 4, 20, 100, 50},
    {"BUTTON", "&Short", IDC_SHORT, kRadio | WS_GROUP | WS_TABSTOP, 0, 10, 30, 60, 10},
    {"BUTTON", "F&loat", IDC_FLOAT, kRadio, 0, 10, 42, 60, 10},
    {"BUTTON", "&Double", IDC_DOUBLE, kRadio, 0, 10, 54, 60, 10},
    {"BUTTON", "&Flag", IDC_FLAG, kChild | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 110, 30, 60,
     10},
    {"STATIC", "&Unit:", IDC_UNIT_LABEL, kChild, 0, 110, 46, 30, 8},
    {"COMBOBOX", "", IDC_UNIT, kChild | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 140, 44, 50, 60, kUnits},
    {"BUTTON", "OK", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 0, 200, 4, 40, 14},
    {"BUTTON", "Cancel", IDCANCEL, kChild | WS_TABSTOP, 0, 200, 22, 40, 14},
};
const DialogTemplate kTemplate{
    1,     WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 0, 250, 80, "Navigation", 8, "MS Shell Dlg",
    kItems};

const DialogItemTemplate kInnerItems[] = {
    {"EDIT", "", IDC_INNER_EDIT, kChild | WS_TABSTOP | WS_BORDER, 0, 4, 4, 60, 12},
    {"BUTTON", "&Inner", IDC_INNER_CHECK, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 4, 20, 60, 10},
};
const DialogTemplate kInner{2, WS_CHILD | DS_SETFONT, 0,          110, 60, 100, 30, "",
                            8, "MS Shell Dlg",        kInnerItems};

class NavigationTest : public ::testing::Test {
protected:
    // Runs the dialog; `drive` acts on it while it is open.
    void Run(std::function<void(HWND)> drive, const DialogTemplate& t = kTemplate) {
        CDialog dialog(&t, nullptr);
        session.Modal().onModalLoop = [&](HWND hwnd) {
            const HWND unit = GetDlgItem(hwnd, IDC_UNIT);
            EXPECT_EQ(SendMessageA(unit, CB_GETCOUNT, 0, 0), 2) << "filled from initial data";
            char text[16]{};
            SendMessageA(unit, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, "inch");
            drive(hwnd);
        };
        dialog.DoModal();
    }
    int FocusId() const { return GetDlgCtrlID(GetFocus()); }
    kw::headless::HeadlessSession session;
};

} // namespace

TEST_F(NavigationTest, TabVisitsTheTabStopsInOrderAndEntersARadioGroupAtItsChoice) {
    Run([&](HWND dialog) {
        EXPECT_EQ(FocusId(), IDC_NAME) << "the first tab stop";
        DWORD start = 9, end = 9;
        SendMessageA(GetDlgItem(dialog, IDC_NAME), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_SHORT);
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_FLAG);
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_UNIT);
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDOK);
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDCANCEL);
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_NAME) << "wraps around";
        start = end = 9;
        SendMessageA(GetDlgItem(dialog, IDC_NAME), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 7u) << "an edit reached by Tab has its text selected";

        session.KeyDown(VK_SHIFT);
        session.Key(VK_TAB);
        session.KeyUp(VK_SHIFT);
        EXPECT_EQ(FocusId(), IDCANCEL) << "Shift+Tab goes back";

        // A disabled tab stop is passed over.
        EnableWindow(GetDlgItem(dialog, IDC_FLAG), FALSE);
        SendMessageA(GetDlgItem(dialog, IDC_DOUBLE), BM_SETCHECK, BST_CHECKED, 0);
        SetFocus(GetDlgItem(dialog, IDC_NAME));
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_DOUBLE) << "into the group through its checked button";
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_UNIT);
    });
}

TEST_F(NavigationTest, ArrowsMoveWithinARadioGroupAndChooseAsTheyGo) {
    Run([&](HWND dialog) {
        const HWND shortButton = GetDlgItem(dialog, IDC_SHORT);
        SetFocus(shortButton);
        session.Key(VK_DOWN);
        EXPECT_EQ(FocusId(), IDC_FLOAT);
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_FLOAT), BM_GETCHECK, 0, 0), BST_CHECKED);
        session.Key(VK_RIGHT);
        EXPECT_EQ(FocusId(), IDC_DOUBLE);
        session.Key(VK_DOWN);
        EXPECT_EQ(FocusId(), IDC_SHORT) << "wraps within the group, never leaves it";
        EXPECT_EQ(SendMessageA(shortButton, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_DOUBLE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        session.Key(VK_UP);
        EXPECT_EQ(FocusId(), IDC_DOUBLE);
        // The combo box keeps its arrows.
        SetFocus(GetDlgItem(dialog, IDC_UNIT));
        session.Key(VK_DOWN);
        EXPECT_EQ(FocusId(), IDC_UNIT);
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_UNIT), CB_GETCURSEL, 0, 0), 0);
    });
}

TEST_F(NavigationTest, MnemonicsFocusClickOrLeadPastTheirLabel) {
    Run([&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDOK));
        session.KeyDown(VK_MENU);
        session.Char('n');
        session.KeyUp(VK_MENU);
        EXPECT_EQ(FocusId(), IDC_NAME) << "a label leads to the control after it";

        session.KeyDown(VK_MENU);
        session.Char('F');
        session.KeyUp(VK_MENU);
        EXPECT_EQ(FocusId(), IDC_FLAG);
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_FLAG), BM_GETCHECK, 0, 0), BST_CHECKED);

        // Without Alt where the focused control types no characters.
        session.Char('l');
        EXPECT_EQ(FocusId(), IDC_FLOAT);
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_FLOAT), BM_GETCHECK, 0, 0), BST_CHECKED);
        session.Char('t');
        EXPECT_EQ(FocusId(), IDC_SHORT) << "a group box leads to the control after it";
        session.Char('u');
        EXPECT_EQ(FocusId(), IDC_UNIT);

        // In an edit a letter is typed, not a mnemonic.
        SetFocus(GetDlgItem(dialog, IDC_NAME));
        SendMessageA(GetDlgItem(dialog, IDC_NAME), EM_SETSEL, 0, -1);
        session.Char('f');
        EXPECT_EQ(FocusId(), IDC_NAME);
        char text[32]{};
        GetWindowTextA(GetDlgItem(dialog, IDC_NAME), text, int(sizeof text));
        EXPECT_STREQ(text, "f");
        EXPECT_EQ(kw::user::FindMnemonicControl(dialog, nullptr, 'q'), nullptr);
    });
}

TEST_F(NavigationTest, TheControlsOfAChildDialogJoinTheOrderOfTheDialogAroundIt) {
    struct CInner : CDialog {
        CInner() : CDialog(&kInner, nullptr) {}
    } inner;
    Run([&](HWND dialog) {
        ASSERT_TRUE(inner.CreateModeless(dialog));
        const HWND innerHwnd = inner.GetSafeHwnd();
        ShowWindow(innerHwnd, SW_SHOW);
        EXPECT_EQ(GetParent(innerHwnd), dialog);
        EXPECT_TRUE(GetWindowLongA(innerHwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
        SetFocus(GetDlgItem(dialog, IDCANCEL));
        session.Key(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(innerHwnd, IDC_INNER_EDIT));
        session.Key(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(innerHwnd, IDC_INNER_CHECK));
        session.Key(VK_TAB);
        EXPECT_EQ(FocusId(), IDC_NAME);
        // Mnemonics reach inside, and Enter inside acts on the outer dialog.
        session.KeyDown(VK_MENU);
        session.Char('i');
        session.KeyUp(VK_MENU);
        EXPECT_EQ(SendMessageA(GetDlgItem(innerHwnd, IDC_INNER_CHECK), BM_GETCHECK, 0, 0),
                  BST_CHECKED);
        session.Key(VK_RETURN);
        int result = 0;
        EXPECT_TRUE(kw::user::IsModalLoopEnded(dialog, &result));
        EXPECT_EQ(result, IDOK);
    });
}
