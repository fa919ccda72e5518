// The system class "EDIT": editing with keys and the mouse, scrolling, its
// messages, what it tells its parent and what it draws.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/user/SystemControls.h"
#include "tests/platform/user/UserTestFixture.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace kw::test;

namespace {

constexpr int kId = 5;

class SystemEditTest : public UserTest {
protected:
    void SetUp() override { parent = rec.CreateTop(0, 0, 300, 120); }

    HWND CreateEdit(DWORD style, const char* text, int width = 120, int height = 20, int y = 10) {
        return CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | style, 10, y, width, height,
                               parent, reinterpret_cast<HMENU>(std::intptr_t(kId)), nullptr,
                               nullptr);
    }

    static std::string Text(HWND edit) {
        char buffer[256]{};
        GetWindowTextA(edit, buffer, int(sizeof buffer));
        return buffer;
    }

    static std::pair<int, int> Sel(HWND edit) {
        DWORD start = 0xDEAD;
        DWORD end = 0xBEEF;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {int(start), int(end)};
    }

    // The notification codes the parent received from the edit, in order.
    std::vector<WORD> Notifications(HWND edit) const {
        std::vector<WORD> codes;
        for (const Received& r : rec.Of(WM_COMMAND))
            if (r.hwnd == parent && r.lParam == reinterpret_cast<LPARAM>(edit) &&
                LOWORD(r.wParam) == kId)
                codes.push_back(HIWORD(r.wParam));
        return codes;
    }

    // Client x of a caret position, from the edit's own answer.
    static int XOf(HWND edit, int position) {
        return GET_X_LPARAM(SendMessageA(edit, EM_POSFROMCHAR, WPARAM(position), 0));
    }

    static int FirstVisible(HWND edit) {
        return int(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    }

    void WithKey(BYTE modifier, BYTE key) {
        session.KeyDown(modifier);
        session.Key(key);
        session.KeyUp(modifier);
    }

    HWND parent{nullptr};
};

using Codes = std::vector<WORD>;

int LineHeight() {
    HDC hdc = GetDC(nullptr);
    SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm{};
    GetTextMetrics(hdc, &tm);
    ReleaseDC(nullptr, hdc);
    return tm.tmHeight;
}

// The columns where a caret shows on white: black in the first and the last
// row of the line, which glyphs of digits and capitals leave blank (their
// ink may meet the caret in between and turn white under it).
std::vector<int> CaretColumns(const SurfaceBuffer& pixels, int top, int height) {
    std::vector<int> columns;
    for (int x = 0; x < pixels.Width(); ++x)
        if (pixels.Pixel(x, top) == 0x000000 && pixels.Pixel(x, top + height - 1) == 0x000000)
            columns.push_back(x);
    return columns;
}

int CountPixels(const SurfaceBuffer& pixels, RECT area, std::uint32_t color, bool other = false) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += (pixels.Pixel(x, y) == color) != other;
    return count;
}

} // namespace

// [SECTION] Keyboard

TEST_F(SystemEditTest, ArrowsHomeAndEndMoveTheCaretAndShiftExtendsTheSelection) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "alpha beta gamma");
    SetFocus(edit);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 0)) << "new text starts with the caret at its start";

    session.Key(VK_END);
    EXPECT_EQ(Sel(edit), std::make_pair(16, 16));
    WithKey(VK_SHIFT, VK_HOME);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 16));
    // The caret is at the start now, the anchor stays at the end.
    WithKey(VK_SHIFT, VK_RIGHT);
    EXPECT_EQ(Sel(edit), std::make_pair(1, 16));
    session.Key(VK_LEFT);
    EXPECT_EQ(Sel(edit), std::make_pair(1, 1)) << "Left collapses to the selection's start";
    session.Key(VK_LEFT);
    session.Key(VK_LEFT);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 0));

    // Words: Ctrl+Right goes to the start of the next word, Ctrl+Left back.
    session.KeyDown(VK_CONTROL);
    session.Key(VK_RIGHT);
    EXPECT_EQ(Sel(edit).second, 6);
    session.Key(VK_RIGHT);
    session.Key(VK_RIGHT);
    EXPECT_EQ(Sel(edit).second, 16);
    session.Key(VK_LEFT);
    EXPECT_EQ(Sel(edit), std::make_pair(11, 11));
    session.KeyDown(VK_SHIFT);
    session.Key(VK_LEFT);
    EXPECT_EQ(Sel(edit), std::make_pair(6, 11)) << "Ctrl+Shift+Left selects a word";
    session.KeyUp(VK_SHIFT);
    session.KeyUp(VK_CONTROL);

    WithKey(VK_CONTROL, 'A');
    EXPECT_EQ(Sel(edit), std::make_pair(0, 16));
    EXPECT_EQ(Text(edit), "alpha beta gamma") << "moving changes no text";
    EXPECT_TRUE(Notifications(edit) == Codes{EN_SETFOCUS}) << "and tells the parent nothing";
}

TEST_F(SystemEditTest, TypingReplacesTheSelectionAndBackspaceAndDeleteRemoveCharacters) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "");
    SetFocus(edit);
    session.Type("hello world");
    EXPECT_EQ(Text(edit), "hello world");
    EXPECT_EQ(Sel(edit), std::make_pair(11, 11));

    SendMessageA(edit, EM_SETSEL, 0, 5);
    session.Type("J");
    EXPECT_EQ(Text(edit), "J world") << "a character replaces the selection";
    EXPECT_EQ(Sel(edit), std::make_pair(1, 1));
    session.Type("\b\b");
    EXPECT_EQ(Text(edit), " world") << "nothing before the start";
    session.Key(VK_DELETE);
    EXPECT_EQ(Text(edit), "world");
    SendMessageA(edit, EM_SETSEL, 1, 3);
    session.Key(VK_DELETE);
    EXPECT_EQ(Text(edit), "wld") << "Delete removes the selection";
    SendMessageA(edit, EM_SETSEL, 3, 1);
    session.Type("\b");
    EXPECT_EQ(Text(edit), "w") << "so does Backspace, whichever way it was made";
    session.Key(VK_END);
    session.Key(VK_DELETE);
    EXPECT_EQ(Text(edit), "w") << "nothing after the end";

    // Control characters type nothing in one line; Ctrl with a letter neither.
    session.Type("\r\t\x1b");
    session.Char(0x7F);
    session.KeyDown(VK_CONTROL);
    session.Char('b');
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(Text(edit), "w");
    // Windows-1252 letters are characters like any other.
    session.Char(0xDF);
    EXPECT_EQ(Text(edit), "w\xDF");
}

TEST_F(SystemEditTest, NumberAndReadOnlyEditsRefuseWhatTheyDoNotTakeWithABeep) {
    const HWND number = CreateEdit(ES_AUTOHSCROLL | ES_NUMBER, "");
    SetFocus(number);
    session.Type("12a3.\b");
    EXPECT_EQ(Text(number), "12") << "digits and Backspace only";
    EXPECT_EQ(session.Modal().beeps.size(), 2u) << "one beep per refused character";

    const HWND readOnly = CreateEdit(ES_AUTOHSCROLL | ES_READONLY, "fixed");
    SetFocus(readOnly);
    session.Type("x\b");
    session.Key(VK_DELETE);
    EXPECT_EQ(Text(readOnly), "fixed");
    EXPECT_EQ(session.Modal().beeps.size(), 5u);
    WithKey(VK_SHIFT, VK_END);
    EXPECT_EQ(Sel(readOnly), std::make_pair(0, 5)) << "the text can still be selected";
    SendMessageA(readOnly, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("set"));
    EXPECT_EQ(Text(readOnly), "set") << "the program may still change it";
}

// [SECTION] Mouse

TEST_F(SystemEditTest, ClickPlacesTheCaretAndDraggingSelectsWithTheMouseCaptured) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "abcdefgh");
    const HWND other = CreateEdit(ES_AUTOHSCROLL, "x", 120, 20, 50);
    SetFocus(other);
    const int y = 10;
    // A click in the right half of 'c' puts the caret after it.
    const int afterC = XOf(edit, 3);
    session.MouseMove(edit, afterC - 1, y);
    session.Click();
    EXPECT_EQ(GetFocus(), edit) << "a click takes the focus";
    EXPECT_EQ(Sel(edit), std::make_pair(3, 3));
    EXPECT_EQ(GetCapture(), nullptr);

    session.Advance(1000); // No double click.
    session.MouseMove(edit, XOf(edit, 1), y);
    session.MouseDown();
    EXPECT_EQ(GetCapture(), edit);
    session.MouseMove(edit, XOf(edit, 6), y);
    EXPECT_EQ(Sel(edit), std::make_pair(1, 6));
    session.MouseMove(edit, -30, y);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 1)) << "the drag follows the mouse outside";
    session.MouseMove(edit, XOf(edit, 5), 200);
    session.MouseUp();
    EXPECT_EQ(Sel(edit), std::make_pair(1, 5));
    EXPECT_EQ(GetCapture(), nullptr);

    // Shift with a click extends from the anchor.
    session.Advance(1000);
    session.KeyDown(VK_SHIFT);
    session.MouseMove(edit, XOf(edit, 7), y);
    session.Click();
    session.KeyUp(VK_SHIFT);
    EXPECT_EQ(Sel(edit), std::make_pair(1, 7));
}

TEST_F(SystemEditTest, DoubleClickSelectsTheWordUnderTheCursor) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "feed  rate 250");
    session.MouseMove(edit, XOf(edit, 8) + 1, 10); // in "rate"
    session.DoubleClick();
    EXPECT_EQ(Sel(edit), std::make_pair(6, 10));
    session.Advance(1000);
    session.MouseMove(edit, XOf(edit, 4) + 1, 10); // between the words
    session.DoubleClick();
    EXPECT_EQ(Sel(edit), std::make_pair(4, 6));
    session.Advance(1000);
    session.MouseMove(edit, 115, 10); // past the end: the last word
    session.DoubleClick();
    EXPECT_EQ(Sel(edit), std::make_pair(11, 14));
    EXPECT_EQ(GetCapture(), nullptr);
}

// [SECTION] Scrolling

TEST_F(SystemEditTest, NarrowEditScrollsToKeepTheCaretVisible) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "", 40, 20);
    SetFocus(edit);
    const std::string digits = "0123456789012345678901234567890123456789";
    session.Type(digits);
    ASSERT_EQ(Text(edit), digits);
    const int top = (20 - LineHeight()) / 2;
    const auto caretColumns = [&] { return CaretColumns(session.Pixels(edit), top, LineHeight()); };
    EXPECT_GT(FirstVisible(edit), 10) << "the start scrolled out";
    const std::vector<int> atEnd = caretColumns();

    session.Key(VK_HOME);
    EXPECT_EQ(FirstVisible(edit), 0);
    EXPECT_EQ(XOf(edit, 0), 1);
    EXPECT_EQ(caretColumns(), std::vector<int>{1});
    // Typing at the end scrolls no more than it takes: the caret stays
    // within the last digit's width of the right edge.
    const int digit = XOf(edit, 1) - XOf(edit, 0);
    ASSERT_EQ(atEnd.size(), 1u);
    EXPECT_LE(atEnd[0], 39);
    EXPECT_GT(atEnd[0], 39 - digit);

    // Going left past the start shows some text before the caret.
    session.Key(VK_END);
    SendMessageA(edit, EM_SETSEL, 30, 30);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    EXPECT_LT(FirstVisible(edit), 30);
    EXPECT_GT(XOf(edit, 30), 1);
    EXPECT_LT(XOf(edit, 30), 39);

    // Deleting at the end brings hidden text back instead of leaving room.
    session.Key(VK_END);
    const int before = FirstVisible(edit);
    for (int i = 0; i < 3; ++i)
        session.Type("\b");
    EXPECT_LT(FirstVisible(edit), before);
    EXPECT_EQ(caretColumns(), atEnd);
}

TEST_F(SystemEditTest, WithoutAutoScrollTypingStopsAtTheWidth) {
    const HWND edit = CreateEdit(0, "", 40, 20);
    SetFocus(edit);
    session.Type("0123456789012345678901234567890123456789");
    const std::string text = Text(edit);
    EXPECT_GT(text.size(), 2u);
    EXPECT_LT(text.size(), 10u);
    EXPECT_EQ(FirstVisible(edit), 0);
    EXPECT_EQ(session.Modal().beeps.size(), 40 - text.size());
    const Codes codes = Notifications(edit);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_MAXTEXT), std::ptrdiff_t(40 - text.size()));

    // A replacement is cut to what fits.
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("99999999999999999999"));
    EXPECT_EQ(Text(edit), std::string(text.size(), '9'));
}

// [SECTION] Messages

TEST_F(SystemEditTest, SelectionAndReplacementMessages) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "0123456789");
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELRESULT(0, 0)) << "null pointers are fine";
    SendMessageA(edit, EM_SETSEL, 2, 5);
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELRESULT(2, 5));
    EXPECT_EQ(Sel(edit), std::make_pair(2, 5));
    SendMessageA(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 10)) << "(0, -1) selects everything";
    SendMessageA(edit, EM_SETSEL, 7, 3);
    EXPECT_EQ(Sel(edit), std::make_pair(3, 7)) << "reported in order";
    SendMessageA(edit, EM_SETSEL, WPARAM(-1), 0);
    EXPECT_EQ(Sel(edit), std::make_pair(3, 3)) << "-1 removes the selection, keeps the caret";
    SendMessageA(edit, EM_SETSEL, 900, 4);
    EXPECT_EQ(Sel(edit), std::make_pair(4, 10)) << "clamped to the text";

    SendMessageA(edit, EM_SETSEL, 2, 4);
    rec.Clear();
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("ab"));
    EXPECT_EQ(Text(edit), "01ab456789");
    EXPECT_EQ(Sel(edit), std::make_pair(4, 4)) << "the caret after the new text";
    EXPECT_TRUE(Notifications(edit) == (Codes{EN_UPDATE, EN_CHANGE}));

    // The limit binds typing and replacements, not WM_SETTEXT.
    SendMessageA(edit, EM_LIMITTEXT, 12, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 12);
    SendMessageA(edit, EM_SETSEL, 10, 10);
    rec.Clear();
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("xyz"));
    EXPECT_EQ(Text(edit), "01ab456789xy");
    EXPECT_TRUE(Notifications(edit) == (Codes{EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
    SetFocus(edit);
    session.Type("q");
    EXPECT_EQ(Text(edit), "01ab456789xy");
    SetWindowTextA(edit, "a text longer than twelve");
    EXPECT_EQ(Text(edit), "a text longer than twelve");
}

TEST_F(SystemEditTest, GetTextCopiesNoMoreThanTheBufferHoldsAndTerminatesIt) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "abcdefgh");
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], 'X') << "nothing written past the size given";
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], 'a') << "a size of 0 writes nothing";
}

TEST_F(SystemEditTest, ParentHearsOfFocusAndChangesInOrder) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "");
    const HWND other = CreateEdit(ES_AUTOHSCROLL, "", 120, 20, 50);
    SetWindowTextA(edit, "12");
    EXPECT_TRUE(Notifications(edit) == (Codes{EN_UPDATE, EN_CHANGE})) << "WM_SETTEXT is a change";
    rec.Clear();

    session.MouseMove(edit, 1, 10);
    session.MouseDown();
    ASSERT_EQ(GetCapture(), edit);
    session.Type("3");
    session.Key(VK_LEFT);
    // The edit has let go of the mouse by the time its parent hears that it
    // lost the focus.
    HWND captureAtKillFocus = edit;
    rec.OnMessage(parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
        if (msg == WM_COMMAND && HIWORD(wParam) == EN_KILLFOCUS)
            captureAtKillFocus = GetCapture();
        return false;
    });
    SetFocus(other);
    session.MouseUp();
    EXPECT_EQ(captureAtKillFocus, nullptr);
    EXPECT_TRUE(Notifications(edit) == (Codes{EN_SETFOCUS, EN_UPDATE, EN_CHANGE, EN_KILLFOCUS}))
        << "got " << ::testing::PrintToString(Notifications(edit));
    EXPECT_EQ(Text(edit), "312");
}

// [SECTION] Painting

TEST_F(SystemEditTest, PaintsTextSelectionAndCaretInTheSystemColours) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "MMMM  ", 100, 24);
    session.Pump();
    const std::uint32_t window = PixelFromColor(GetSysColor(COLOR_WINDOW));
    const std::uint32_t highlight = PixelFromColor(GetSysColor(COLOR_HIGHLIGHT));
    const int height = LineHeight();
    const int top = (24 - height) / 2;
    const RECT text{XOf(edit, 0), top, XOf(edit, 4), top + height};
    EXPECT_EQ(XOf(edit, 0), 1) << "a 1-pixel margin";
    EXPECT_EQ(GET_Y_LPARAM(SendMessageA(edit, EM_POSFROMCHAR, 0, 0)), top) << "centred";
    SurfaceBuffer pixels = session.Pixels(edit);
    EXPECT_EQ(pixels.Pixel(0, 0), window);
    EXPECT_GT(CountPixels(pixels, text, window, true), 20) << "the text is drawn";

    // Without the focus, neither the selection nor the caret shows.
    SendMessageA(edit, EM_SETSEL, 0, 2);
    session.Pump();
    pixels = session.Pixels(edit);
    EXPECT_EQ(CountPixels(pixels, RECT{0, 0, 100, 24}, highlight), 0);

    SetFocus(edit);
    session.Pump();
    pixels = session.Pixels(edit);
    const int split = XOf(edit, 2);
    EXPECT_EQ(CountPixels(pixels, RECT{split, 0, 100, 24}, highlight), 0);
    const RECT band{XOf(edit, 0), top, split, top + height};
    const LONG width = band.right - band.left;
    EXPECT_EQ(CountPixels(pixels, RECT{band.left, top, band.right, top + 1}, highlight), width)
        << "the selection is highlighted over the line's height";
    EXPECT_EQ(
        CountPixels(pixels, RECT{band.left, band.bottom - 1, band.right, band.bottom}, highlight),
        width);
    EXPECT_GT(CountPixels(pixels, band, highlight, true), 20) << "its text is drawn on it";
    EXPECT_EQ(CountPixels(pixels, band, 0x000000), 0) << "in the highlight's ink, not black";

    // A steady caret: a line the height of the text where the caret is.
    SendMessageA(edit, EM_SETSEL, 5, 5);
    session.Pump();
    EXPECT_EQ(CaretColumns(session.Pixels(edit), top, height), std::vector<int>{XOf(edit, 5)});
    SetFocus(parent);
    session.Pump();
    EXPECT_TRUE(CaretColumns(session.Pixels(edit), top, height).empty());
}

TEST_F(SystemEditTest, DisabledAndReadOnlyEditsLookLikeStaticsAndTheParentMayColourThem) {
    const HWND edit = CreateEdit(ES_AUTOHSCROLL, "MMMM");
    session.Pump();
    const std::uint32_t face = PixelFromColor(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t gray = PixelFromColor(GetSysColor(COLOR_GRAYTEXT));
    const RECT all{0, 0, 120, 20};
    EnableWindow(edit, FALSE);
    session.Pump();
    SurfaceBuffer pixels = session.Pixels(edit);
    EXPECT_EQ(pixels.Pixel(0, 0), face);
    EXPECT_GT(CountPixels(pixels, all, gray), 3) << "grey text";
    EXPECT_EQ(CountPixels(pixels, all, 0x000000), 0) << "no black text";

    const HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    std::vector<UINT> asked;
    rec.OnMessage(parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
        if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC)
            return false;
        asked.push_back(msg);
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
        *result = reinterpret_cast<LRESULT>(green);
        return true;
    });
    EnableWindow(edit, TRUE);
    session.Pump();
    pixels = session.Pixels(edit);
    EXPECT_EQ(pixels.Pixel(0, 0), 0x00FF00u);
    EXPECT_GT(CountPixels(pixels, all, 0xFF0000), 3) << "the parent's text colour";
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    session.Pump();
    EXPECT_TRUE(asked == (std::vector<UINT>{WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}))
        << "a read-only edit is coloured as a static";
    DestroyWindow(edit);
    DeleteObject(green);
}
