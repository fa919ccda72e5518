// CEdit: the helpers over the edit's messages, classes derived from it that
// see keys first and reach the edit with Default(), and the life of an edit
// that appears over a field, takes a value and goes away when left.
#include "platform/afx/Edit.h"
#include "platform/backends/headless/HeadlessSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kFieldId = 1;
constexpr UINT kCommitted = 0x7001; // A WM_NOTIFY code of the field's own.

// A window that keeps what reaches it.
class CLogWnd : public CWnd {
public:
    std::vector<std::string> log;

protected:
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN)
            log.push_back("parent pre " + std::to_string(msg->wParam));
        return FALSE;
    }
};

// An edit that takes the up and down keys for itself.
class CStepEdit : public CEdit {
public:
    std::vector<std::string> log;

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN)
            log.push_back("pre " + std::to_string(msg->wParam));
        return FALSE;
    }

protected:
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override {
        log.push_back("key " + std::to_string(key));
        if (key == VK_UP || key == VK_DOWN)
            return;
        CEdit::OnKeyDown(key, repeat, flags);
    }
    UINT OnGetDlgCode() override { return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }
};

// An edit over a field: when it loses the focus it hands its text to its
// parent, before the parent hears that the focus went.
class CFieldEdit : public CEdit {
public:
    CString committed;

protected:
    void OnKillFocus(CWnd* newWnd) override {
        GetWindowText(committed);
        NMHDR header{m_hWnd, kFieldId, kCommitted};
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_NOTIFY, kFieldId, reinterpret_cast<LPARAM>(&header));
        CEdit::OnKillFocus(newWnd);
    }
};

// The field's owner: it hides the edit once the edit lost the focus.
class CFieldOwner : public CWnd {
public:
    CFieldEdit* field{nullptr};
    std::vector<std::string> log;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (field && reinterpret_cast<HWND>(lParam) == field->m_hWnd) {
            log.push_back("command " + std::to_string(HIWORD(wParam)));
            if (HIWORD(wParam) == EN_KILLFOCUS)
                field->ShowWindow(SW_HIDE);
            return TRUE;
        }
        return FALSE;
    }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!field || header->code != kCommitted)
            return FALSE;
        log.push_back("committed " + field->committed.Str());
        *result = 0;
        return TRUE;
    }
};

class EditTest : public ::testing::Test {
protected:
    template <class W> void CreateTop(W& wnd) {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "top", WS_OVERLAPPED | WS_VISIBLE,
                                 CRect(0, 0, 200, 100), static_cast<HWND>(nullptr), 0));
    }

    kw::headless::HeadlessSession session;
};

std::string TextOf(const CEdit& edit) {
    CString text;
    edit.GetWindowText(text);
    return text.Str();
}

} // namespace

TEST_F(EditTest, HelpersReachTheEditsMessages) {
    CLogWnd parent;
    CreateTop(parent);
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 110, 30), &parent,
                            kFieldId));
    edit.SetWindowText("12.50");
    edit.SetSel(0, -1);
    int start = -7;
    int end = -7;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);
    edit.SetSel(DWORD(MAKELONG(3, 1)));
    EXPECT_EQ(edit.GetSel(), DWORD(MAKELONG(1, 3)));
    edit.ReplaceSel("x");
    EXPECT_EQ(TextOf(edit), "1x50");
    edit.SetSel(-1, 0);
    EXPECT_EQ(edit.GetSel(), DWORD(MAKELONG(2, 2))) << "the selection went, the caret stayed";
    EXPECT_EQ(edit.CharFromPos(edit.PosFromChar(2)), 2);
    EXPECT_EQ(edit.PosFromChar(4), CPoint(-1, -1)) << "past the last character";
}

TEST_F(EditTest, DerivedEditSeesKeysFirstAndDefaultReachesTheEdit) {
    CLogWnd parent;
    CreateTop(parent);
    CStepEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 110, 30), &parent,
                            kFieldId));
    edit.SetWindowText("abc");
    edit.SetFocus();
    parent.log.clear();

    session.Key(VK_RIGHT);
    EXPECT_EQ((std::vector<std::string>{"pre 39", "key 39"}), edit.log);
    EXPECT_EQ(std::vector<std::string>{"parent pre 39"}, parent.log) << "then the parent's turn";
    EXPECT_EQ(edit.GetSel(), DWORD(MAKELONG(1, 1))) << "the edit moved its caret";

    // Up would move left in one line; the derived class keeps it.
    edit.log.clear();
    session.Key(VK_UP);
    EXPECT_EQ((std::vector<std::string>{"pre 38", "key 38"}), edit.log);
    EXPECT_EQ(edit.GetSel(), DWORD(MAKELONG(1, 1)));

    session.Type("Z");
    EXPECT_EQ(TextOf(edit), "aZbc") << "characters still reach the edit";
    EXPECT_EQ(edit.SendMessage(WM_GETDLGCODE),
              DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

TEST_F(EditTest, EditOverAFieldTakesATypedValueAndCommitsItWhenLeft) {
    CFieldOwner owner;
    CreateTop(owner);
    CFieldEdit field;
    owner.field = &field;
    ASSERT_TRUE(field.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 10, 10), &owner, kFieldId));
    EXPECT_FALSE(field.IsWindowVisible());

    // The first key typed on the field opens the editor with the field's
    // text selected, so that the key replaces it.
    field.SetWindowText("12.5");
    field.ModifyStyle(0, WS_VISIBLE);
    field.MoveWindow(20, 20, 60, 20);
    field.SetFocus();
    field.SendMessage(EM_SETSEL, 0, -1);
    field.SendMessage(EM_SCROLLCARET);
    field.SendMessage(WM_CHAR, '7', 1);
    EXPECT_EQ(TextOf(field), "7");
    session.Type("5");
    EXPECT_EQ(TextOf(field), "75");
    EXPECT_TRUE(field.IsWindowVisible());
    const SurfaceBuffer pixels = session.Pixels(field.m_hWnd);
    int ink = 0;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            ink += pixels.Pixel(x, y) != PixelFromColor(GetSysColor(COLOR_WINDOW));
    EXPECT_GT(ink, 10) << "the edit shows over the field";

    owner.log.clear();
    owner.SetFocus();
    EXPECT_EQ((std::vector<std::string>{"committed 75", "command 512"}), owner.log)
        << "the value first, then EN_KILLFOCUS";
    EXPECT_FALSE(field.IsWindowVisible());
    EXPECT_EQ(::GetFocus(), owner.m_hWnd);
}
