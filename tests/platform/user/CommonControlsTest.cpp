// The controls dialogs are built from beside buttons and edits: the up-down
// control and its buddy, the drop-down list combo box, the list box and the
// tab control. Each is driven as a user would, with the mouse and the keys.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/SystemControls.h"
#include "tests/platform/user/UserTestFixture.h"

#include <string>
#include <vector>

using namespace kw::test;

namespace {

HWND CreateControl(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                   HWND parent, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
}

std::string TextOf(HWND hwnd) {
    char buffer[128]{};
    GetWindowTextA(hwnd, buffer, int(sizeof buffer));
    return buffer;
}

RECT RectInParent(HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// What the parent heard: WM_COMMAND codes, WM_NOTIFY codes and scroll
// reports, in order.
struct Heard {
    std::vector<std::pair<int, WORD>> commands; // id, code
    std::vector<UINT> notifies;
    std::vector<std::pair<WORD, int>> scrolls; // code, position
    std::vector<NMUPDOWN> deltas;
};

class CommonControlsTest : public UserTest {
protected:
    void SetUp() override {
        parent = rec.CreateTop(100, 100, 400, 300);
        rec.OnMessage(
            parent, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
                if (msg == WM_COMMAND)
                    heard.commands.push_back({LOWORD(wParam), HIWORD(wParam)});
                if (msg == WM_VSCROLL || msg == WM_HSCROLL)
                    heard.scrolls.push_back({LOWORD(wParam), SHORT(HIWORD(wParam))});
                if (msg == WM_NOTIFY) {
                    const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
                    heard.notifies.push_back(nm->code);
                    if (nm->code == UDN_DELTAPOS)
                        heard.deltas.push_back(*reinterpret_cast<const NMUPDOWN*>(lParam));
                    if (refuseNotify == nm->code) {
                        *result = TRUE;
                        return true;
                    }
                }
                return false;
            });
    }

    std::vector<WORD> CommandsOf(int id) const {
        std::vector<WORD> codes;
        for (const auto& [from, code] : heard.commands)
            if (from == id)
                codes.push_back(code);
        return codes;
    }

    HWND parent{nullptr};
    Heard heard;
    UINT refuseNotify{0};
};

// [SECTION] Up-down control

class UpDownTest : public CommonControlsTest {
protected:
    void Build(DWORD extra = 0) {
        buddy = CreateControl("EDIT", "", WS_TABSTOP | WS_BORDER, 10, 10, 80, 20, parent, 10);
        updown =
            CreateControl(UPDOWN_CLASS, "",
                          UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | extra,
                          0, 0, 16, 16, parent, 11);
    }
    void ClickArrow(bool up) {
        RECT rc;
        GetClientRect(updown, &rc);
        session.MouseMove(updown, 2, up ? 2 : rc.bottom - 3);
        session.Click();
    }
    HWND buddy{nullptr};
    HWND updown{nullptr};
};

TEST_F(UpDownTest, TakesThePreviousWindowAsBuddyAndSitsAtItsRightEdge) {
    Build();
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0)), buddy);
    EXPECT_EQ(RectInParent(updown), (RECT{74, 10, 90, 30})) << "as high as the buddy, at its right";
    EXPECT_EQ(RectInParent(buddy), (RECT{10, 10, 74, 30})) << "the buddy narrowed by its width";
    EXPECT_EQ(SendMessageA(updown, UDM_GETRANGE, 0, 0), MAKELRESULT(0, 100))
        << "until set, the range runs from 100 (lower) to 0 (upper)";
}

TEST_F(UpDownTest, ArrowsStepTheBuddyWithinTheRangeAndReportEachStep) {
    Build();
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELPARAM(3, 0));
    SendMessageA(updown, UDM_SETPOS, 0, MAKELPARAM(1, 0));
    EXPECT_EQ(TextOf(buddy), "1");
    ClickArrow(true);
    EXPECT_EQ(TextOf(buddy), "2");
    ClickArrow(true);
    ClickArrow(true);
    EXPECT_EQ(TextOf(buddy), "3") << "stops at the upper end";
    ASSERT_EQ(heard.deltas.size(), 2u) << "the step past the end is offered to nobody";
    EXPECT_EQ(heard.deltas[0].iPos, 1);
    EXPECT_EQ(heard.deltas[0].iDelta, 1);
    const std::vector<std::pair<WORD, int>> scrolls{{SB_THUMBPOSITION, 2},
                                                    {SB_ENDSCROLL, 2},
                                                    {SB_THUMBPOSITION, 3},
                                                    {SB_ENDSCROLL, 3},
                                                    {SB_ENDSCROLL, 3}};
    EXPECT_EQ(heard.scrolls, scrolls);

    // A number typed into the buddy is where the next step starts.
    SetWindowTextA(buddy, "1");
    ClickArrow(false);
    EXPECT_EQ(TextOf(buddy), "0");
    ClickArrow(false);
    EXPECT_EQ(TextOf(buddy), "0") << "stops at the lower end";
    EXPECT_EQ(SendMessageA(updown, UDM_GETPOS, 0, 0), MAKELRESULT(0, 0));
    SetWindowTextA(buddy, "x");
    EXPECT_EQ(HIWORD(std::uintptr_t(SendMessageA(updown, UDM_GETPOS, 0, 0))), 1)
        << "a buddy that shows no number is an error";
    SetWindowTextA(buddy, "9");
    EXPECT_NE(HIWORD(std::uintptr_t(SendMessageA(updown, UDM_GETPOS, 0, 0))), 0)
        << "nor is a number outside the range the position";
}

TEST_F(UpDownTest, UpAndDownKeysInTheBuddyStepAndAHeldArrowRepeats) {
    Build();
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELPARAM(10, 0));
    SendMessageA(updown, UDM_SETPOS, 0, 5);
    SetFocus(buddy);
    session.Key(VK_UP);
    EXPECT_EQ(TextOf(buddy), "6");
    session.Key(VK_DOWN);
    session.Key(VK_DOWN);
    EXPECT_EQ(TextOf(buddy), "4");
    EXPECT_EQ(GetFocus(), buddy);

    RECT rc;
    GetClientRect(updown, &rc);
    session.MouseMove(updown, 2, 2);
    session.MouseDown();
    EXPECT_EQ(TextOf(buddy), "5");
    session.Advance(450);
    EXPECT_EQ(TextOf(buddy), "5") << "no repeat before the delay";
    session.Advance(300);
    EXPECT_GE(std::stoi(TextOf(buddy)), 7);
    session.Advance(2000);
    EXPECT_EQ(TextOf(buddy), "10") << "repeats up to the end and no further";
    session.MouseUp();
    const std::string held = TextOf(buddy);
    session.Advance(1000);
    EXPECT_EQ(TextOf(buddy), held);

    // Destroyed first, the up-down gives the buddy back its own procedure.
    DestroyWindow(updown);
    session.Key(VK_UP);
    EXPECT_EQ(TextOf(buddy), held);
}

TEST_F(UpDownTest, AnInvertedRangeStepsDownAndTheParentMayRefuseAStep) {
    Build();
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELPARAM(0, 5)); // upper 0, lower 5
    SendMessageA(updown, UDM_SETPOS, 0, 3);
    ClickArrow(true);
    EXPECT_EQ(TextOf(buddy), "2") << "the up arrow goes toward the upper end, 0";
    refuseNotify = UDN_DELTAPOS;
    ClickArrow(true);
    EXPECT_EQ(TextOf(buddy), "2");
}

TEST_F(UpDownTest, LargePositionsShowThousandsUnlessAskedNotTo) {
    Build();
    SendMessageA(updown, UDM_SETRANGE32, 0, 5000);
    SendMessageA(updown, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(TextOf(buddy), "1,234");
    ClickArrow(true);
    EXPECT_EQ(TextOf(buddy), "1,235") << "the separator is read back";

    DestroyWindow(updown);
    DestroyWindow(buddy);
    Build(UDS_NOTHOUSANDS);
    SendMessageA(updown, UDM_SETRANGE32, 0, 5000);
    SendMessageA(updown, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(TextOf(buddy), "1234");
}

// [SECTION] Drop-down list combo box

class ComboBoxTest : public CommonControlsTest {
protected:
    void SetUp() override {
        CommonControlsTest::SetUp();
        combo = CreateControl("COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP, 10, 10, 120, 100,
                              parent, 20);
        for (const char* text : {"mm", "inch", "%", "rad"})
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    HWND combo{nullptr};
};

TEST_F(ComboBoxTest, TheFieldIsOneItemHighAndTheListDropsBelowIt) {
    RECT rc;
    GetWindowRect(combo, &rc);
    const LRESULT itemHeight = SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_LT(rc.bottom - rc.top, 40) << "the created height is the dropped list's";
    EXPECT_GE(rc.bottom - rc.top, itemHeight);
    RECT dropped{};
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 100);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);

    session.MouseMove(combo, 10, 5);
    session.Click();
    EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetFocus(), combo);
    EXPECT_EQ(CommandsOf(20), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
}

TEST_F(ComboBoxTest, TheMouseChoosesAnItemOfTheDroppedList) {
    session.MouseMove(combo, 10, 5);
    session.Click();
    RECT rc;
    GetWindowRect(combo, &rc);
    const int itemHeight = int(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    // The third item, below the field.
    session.MouseMove(rc.left + 20, rc.bottom + 1 + 2 * itemHeight + itemHeight / 2);
    session.Click();
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(TextOf(combo), "%");
    EXPECT_EQ(CommandsOf(20), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK,
                                                 CBN_CLOSEUP, CBN_SELCHANGE}));

    // A click outside the list closes it unchanged.
    heard.commands.clear();
    session.MouseMove(combo, 10, 5);
    session.Click();
    session.MouseMove(rc.right + 50, rc.top);
    session.Click();
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(CommandsOf(20), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, KeysChooseAtOnceWhileClosedAndLightItemsWhileDropped) {
    SetFocus(combo);
    heard.commands.clear();
    session.Key(VK_DOWN);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    session.Key(VK_END);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
    session.Char('i');
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1) << "the first letter finds an item";
    EXPECT_EQ(CommandsOf(20), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));

    session.Key(VK_F4);
    ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    session.Key(VK_DOWN);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1) << "only lit while the list is down";
    EXPECT_EQ(SendMessageA(combo, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    session.Key(VK_ESCAPE);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);

    session.KeyDown(VK_MENU);
    session.Key(VK_DOWN);
    session.KeyUp(VK_MENU);
    ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << "Alt+Down drops the list";
    session.Key(VK_DOWN);
    session.Key(VK_RETURN);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);

    // Losing the focus closes a dropped list unchanged.
    session.Key(VK_F4);
    session.Key(VK_UP);
    SetFocus(parent);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ComboBoxTest, SettingTheSelectionTellsNothingAndBadIndicesFail) {
    heard.commands.clear();
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 3, 0), 3);
    EXPECT_EQ(TextOf(combo), "rad");
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(heard.commands.empty());
    char text[32]{};
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, "inch");
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(text)), CB_ERR);
}

// [SECTION] List box

TEST_F(CommonControlsTest, ListBoxSelectsByMouseAndKeysAndScrollsToTheSelection) {
    const HWND list =
        CreateControl("LISTBOX", "", LBS_NOTIFY | WS_TABSTOP, 10, 10, 100, 60, parent, 30);
    for (const char* text : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf",
                             "Hotel", "India", "Juliet", "Kilo", "Lima"})
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    const int height = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int visible = 60 / height;
    session.MouseMove(list, 10, height + height / 2);
    session.Click();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(CommandsOf(30), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));

    heard.commands.clear();
    session.Click();
    EXPECT_EQ(CommandsOf(30), (std::vector<WORD>{LBN_DBLCLK})) << "a second click at once";
    heard.commands.clear();
    session.Advance(1000);
    session.Click();
    EXPECT_TRUE(CommandsOf(30).empty()) << "the same item again changes nothing";
    session.Key(VK_DOWN);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    session.Key(VK_END);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 11);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 12 - visible) << "scrolled to the last";
    session.Char('c');
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2) << "a first letter searches on, wrapping";
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

// [SECTION] Tab control

TEST_F(CommonControlsTest, TabControlAsksBeforeItChangesAndTellsAfter) {
    const HWND tab = CreateControl(WC_TABCONTROL, "", WS_TABSTOP, 10, 10, 300, 200, parent, 40);
    for (const char* text : {"Typ & Label", "Predef. Units", "Layout"}) {
        TCITEMA item;
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text);
        SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0),
                     reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);

    RECT second{};
    ASSERT_TRUE(SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    RECT first{};
    SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(second.left, first.right) << "tabs side by side";
    session.MouseMove(tab, second.left + 5, second.top + 5);
    session.Click();
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(heard.notifies, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK}));

    heard.notifies.clear();
    refuseNotify = TCN_SELCHANGING;
    session.MouseMove(tab, first.left + 5, first.top + 5);
    session.Click();
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1) << "the parent kept the tab";
    EXPECT_EQ(heard.notifies, (std::vector<UINT>{TCN_SELCHANGING, NM_CLICK}));

    refuseNotify = 0;
    heard.notifies.clear();
    SetFocus(tab);
    session.Key(VK_RIGHT);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 2);
    session.Key(VK_RIGHT);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 2) << "no tab after the last";
    EXPECT_EQ(heard.notifies,
              (std::vector<UINT>{TCN_KEYDOWN, TCN_SELCHANGING, TCN_SELCHANGE, TCN_KEYDOWN}));

    heard.notifies.clear();
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_TRUE(heard.notifies.empty()) << "TCM_SETCURSEL tells nothing";

    RECT display{0, 0, 300, 200};
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.top, second.bottom - 1) << "the display area lies below the tabs";
    RECT back = display;
    SendMessageA(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back, (RECT{0, 0, 300, 200}));

    char text[32]{};
    TCITEMA item;
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = int(sizeof text);
    ASSERT_TRUE(SendMessageA(tab, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, "Predef. Units");
}

// [SECTION] Bitmap static

TEST_F(CommonControlsTest, ABitmapStaticTakesTheBitmapsSizeAndShowsIt) {
    const HWND picture = CreateControl("STATIC", "", SS_BITMAP, 20, 20, 5, 5, parent, 50);
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(30, 12, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    const RECT all{0, 0, 30, 12};
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &all, red);
    SelectObject(mem, old);
    DeleteDC(mem);

    EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(bitmap)), 0)
        << "an icon is no SS_BITMAP's image";
    EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)),
              0);
    EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0),
              reinterpret_cast<LRESULT>(bitmap));
    EXPECT_EQ(RectInParent(picture), (RECT{20, 20, 50, 32}));
    session.Pump();
    EXPECT_EQ(session.Pixels(picture).Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(session.Pixels(picture).Pixel(29, 11), 0xFF0000u);
    DestroyWindow(picture);
    DeleteObject(bitmap);
    DeleteObject(red);
}

} // namespace
