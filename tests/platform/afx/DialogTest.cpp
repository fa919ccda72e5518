// Modal dialogs from templates, and the module's About box.
#include "platform/afx/Dialog.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/Icon.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "resources/ResourceTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string WindowText(HWND hwnd) {
    char buffer[256]{};
    GetWindowTextA(hwnd, buffer, int(sizeof buffer));
    return buffer;
}

std::string ClassOf(HWND hwnd) {
    char buffer[64]{};
    GetClassNameA(hwnd, buffer, int(sizeof buffer));
    return buffer;
}

// The children of a window in creation order.
std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.insert(children.begin(), child);
    return children;
}

RECT RectInParent(HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        resources.anchor = this;
        resources.strings = kw::resources::StringTable();
        resources.dialogs = kw::resources::DialogTemplates();
        resources.icons = kw::resources::Icons();
        owner = CreateWindowExA(0, "STATIC", "owner", WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
    }

    // Runs the About box; `drive` acts on the open dialog.
    int RunAboutBox(std::function<void(HWND)> drive) {
        session.Modal().onModalLoop = [&, drive](HWND dialog) {
            opened = dialog;
            ownerDisabledMeanwhile = !IsWindowEnabled(owner);
            drive(dialog);
        };
        return AfxShowAboutBox(&resources, owner);
    }

    kw::headless::HeadlessSession session;
    CModuleResources resources{};
    HWND owner{nullptr};
    HWND opened{nullptr};
    bool ownerDisabledMeanwhile{false};
};

} // namespace

TEST_F(DialogTest, AboutBoxShowsItsCaptionAndItemsAtTheirDialogUnitPositions) {
    const int result = RunAboutBox([&](HWND dialog) {
        EXPECT_EQ(ClassOf(dialog), kDialogClass);
        EXPECT_EQ(WindowText(dialog), "About SpinEdit Control");
        EXPECT_TRUE(IsWindowVisible(dialog));
        const CDialog* dlg = CDialog::FromHandle(dialog);
        ASSERT_TRUE(dlg);
        // "MS Shell Dlg" at 8 points: the platform's base units are 6 x 13 for
        // the metric-compatible face; allow a pixel either way for the face
        // fontconfig picks.
        const SIZE units = dlg->GetBaseUnits();
        EXPECT_NEAR(units.cx, 6, 1);
        EXPECT_NEAR(units.cy, 13, 1);
        auto px = [&](int x, int y, int cx, int cy) {
            RECT rc{x, y, x + cx, y + cy};
            EXPECT_TRUE(MapDialogRect(dialog, &rc));
            return rc;
        };
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client, (RECT{0, 0, px(0, 0, 260, 55).right, px(0, 0, 260, 55).bottom}));

        const std::vector<HWND> items = Children(dialog);
        ASSERT_EQ(items.size(), 4u);
        EXPECT_EQ(ClassOf(items[0]), "STATIC");
        EXPECT_EQ(GetWindowLongA(items[0], GWL_STYLE) & SS_TYPEMASK, LONG(SS_ICON));
        const RECT icon = RectInParent(items[0]);
        EXPECT_EQ(icon.left, px(10, 10, 0, 0).left);
        EXPECT_EQ(icon.top, px(10, 10, 0, 0).top);
        EXPECT_EQ(icon.right - icon.left, 32) << "an icon static takes the icon's size";

        EXPECT_EQ(WindowText(items[1]), "SpinEdit Control, Version 1.3");
        EXPECT_EQ(RectInParent(items[1]), px(41, 9, 170, 8));
        EXPECT_EQ(RectInParent(items[2]), px(41, 26, 184, 8));
        EXPECT_NE(WindowText(items[2]).find("2006"), std::string::npos);

        EXPECT_EQ(ClassOf(items[3]), "BUTTON");
        EXPECT_EQ(WindowText(items[3]), "OK");
        EXPECT_EQ(GetDlgCtrlID(items[3]), IDOK);
        EXPECT_EQ(RectInParent(items[3]), px(221, 7, 32, 14));
        EXPECT_EQ(SendMessageA(items[3], WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
        EXPECT_EQ(SendMessageA(items[3], WM_GETFONT, 0, 0),
                  reinterpret_cast<LRESULT>(dlg->GetFont()));
        EXPECT_EQ(GetFocus(), items[3]) << "the first tab stop has the focus";

        session.MouseMove(items[3], 4, 4);
        session.Click();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(opened)) << "the dialog is gone when DoModal returns";
}

TEST_F(DialogTest, AboutBoxShowsTheModuleIconAndFallsBackWithoutIt) {
    HICON shown = nullptr;
    RunAboutBox([&](HWND dialog) {
        const HWND item = Children(dialog).at(0);
        shown = reinterpret_cast<HICON>(SendMessageA(item, STM_GETICON, 0, 0));
        ASSERT_NE(shown, nullptr);
        const SIZE size = kw::user::IconSize(shown);
        EXPECT_EQ(size.cx, 32);
        EXPECT_EQ(size.cy, 32);
        RECT rc;
        GetClientRect(item, &rc);
        EXPECT_EQ(rc.right, 32) << "the static takes the icon's size";
        CDialog::FromHandle(dialog)->EndDialog(IDOK);
    });
    // The dialog's icon went with it.
    EXPECT_EQ(kw::user::IconSize(shown).cx, 0);

    resources.icons = {};
    RunAboutBox([&](HWND dialog) {
        EXPECT_EQ(SendMessageA(Children(dialog).at(0), STM_GETICON, 0, 0), 0)
            << "without the module's icon the item keeps its stand-in";
        CDialog::FromHandle(dialog)->EndDialog(IDOK);
    });
}

TEST_F(DialogTest, AboutBoxClosesWithEnterAndEscape) {
    EXPECT_EQ(RunAboutBox([&](HWND) { session.Key(VK_RETURN); }), IDOK);
    EXPECT_EQ(RunAboutBox([&](HWND) { session.Key(VK_ESCAPE); }), IDCANCEL);
    // With the focus on the dialog itself Enter still finds the default button.
    EXPECT_EQ(RunAboutBox([&](HWND dialog) {
                  SetFocus(dialog);
                  session.Key(VK_RETURN);
              }),
              IDOK);
    // A press of OK released outside does not close it; the loop then ends as
    // a user closing the window would.
    EXPECT_EQ(RunAboutBox([&](HWND dialog) {
                  const HWND ok = GetDlgItem(dialog, IDOK);
                  session.MouseMove(ok, 4, 4);
                  session.MouseDown();
                  session.MouseMove(ok, -20, 4);
                  session.MouseUp();
                  EXPECT_FALSE(kw::user::IsModalLoopEnded(dialog));
              }),
              IDCANCEL);
    EXPECT_EQ(session.Modal().modalLoops.size(), 4u);
}

TEST_F(DialogTest, ItemsOfUnknownClassesFailTheDialogUnlessAllowed) {
    static constexpr DialogItemTemplate items[] = {
        {"NoSuchClass", "", 5, WS_CHILD | WS_VISIBLE, 0, 0, 0, 10, 10},
        {"BUTTON", "Go", 6, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 20, 10, 10},
    };
    DialogTemplate strict{1, WS_POPUP | WS_CAPTION, 0,    0, 0, 100, 50, "t",
                          8, "MS Shell Dlg",        items};
    CDialog failing(&strict, owner);
    EXPECT_EQ(failing.DoModal(), -1);
    EXPECT_TRUE(session.Modal().modalLoops.empty());
    EXPECT_TRUE(IsWindowEnabled(owner));

    DialogTemplate lenient = strict;
    lenient.style |= DS_NOFAILCREATE;
    CDialog dialog(&lenient, owner);
    session.Modal().onModalLoop = [&](HWND hwnd) {
        EXPECT_EQ(Children(hwnd).size(), 1u);
        // Enter on a focused push button clicks that button, not IDOK.
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, 6));
        session.Key(VK_RETURN);
        EXPECT_FALSE(kw::user::IsModalLoopEnded(hwnd));
        dialog.EndDialog(42);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(CDialog(999, owner, &resources).DoModal(), -1) << "no template 999";
}
