// The system class "EDIT": one line of text with a caret and a selection.
//
// [SECTION] Helpers
// [SECTION] Changing the text
// [SECTION] Moving the caret
// [SECTION] Keyboard
// [SECTION] Mouse
// [SECTION] Focus
// [SECTION] The class's own messages
// [SECTION] The window procedure
//
// The selection runs from an anchor to the caret; with Shift, the arrow
// keys, Home, End and clicks move the caret and keep the anchor. Ctrl with
// the arrows moves by words, which are separated by spaces and tabs.
// Characters replace the selection; Backspace and Delete remove it, or one
// character when there is none. Enter, Tab, Escape and the other control
// characters type nothing.
//
// The parent hears of focus changes (EN_SETFOCUS, EN_KILLFOCUS, after the
// edit has handled them) and of every change of the text, whether typed, by
// EM_REPLACESEL or by WM_SETTEXT: EN_UPDATE before the edit repaints, then
// EN_CHANGE. A character refused (ES_NUMBER, ES_READONLY, the limit, or the
// width of an edit without ES_AUTOHSCROLL) beeps; the limit and the width
// also send EN_MAXTEXT.
//
// Any notification may destroy the edit: nothing touches it afterwards
// without checking that it still exists.
#include "platform/user/EditControl.h"
#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <string>
#include <utility>

using namespace kw::user::detail;

namespace {

// [SECTION] Helpers

// What EM_LIMITTEXT with 0 allows.
constexpr LONG_PTR kLargestLimit = 0x7FFFFFFE;

DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}

void Notify(HWND hwnd, WORD code) {
    if (const HWND parent = GetParent(hwnd))
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), code),
                     reinterpret_cast<LPARAM>(hwnd));
}

// A refused character beeps; one refused for want of room (`full`) also
// tells the parent, which may want to widen the edit or raise the limit.
void Refuse(HWND hwnd, bool full) {
    MessageBeep(MB_OK);
    if (full && IsWindow(hwnd))
        Notify(hwnd, EN_MAXTEXT);
}

bool IsKeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

// Shows a changed state: stores it, scrolls the caret into view when asked
// and repaints.
void Commit(HWND hwnd, EditState& state, bool scroll) {
    if (scroll)
        ScrollToCaret(hwnd, state);
    StoreEditState(hwnd, state);
    InvalidateRect(hwnd, nullptr, FALSE);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

int NextWordStart(const std::string& text, int position) {
    const int length = int(text.size());
    while (position < length && !IsSpace(text[std::size_t(position)]))
        ++position;
    while (position < length && IsSpace(text[std::size_t(position)]))
        ++position;
    return position;
}

int PreviousWordStart(const std::string& text, int position) {
    while (position > 0 && IsSpace(text[std::size_t(position - 1)]))
        --position;
    while (position > 0 && !IsSpace(text[std::size_t(position - 1)]))
        --position;
    return position;
}

// The run of word characters (or of spaces) around character `index`.
std::pair<int, int> WordAround(const std::string& text, int index) {
    if (text.empty())
        return {0, 0};
    const bool space = IsSpace(text[std::size_t(index)]);
    int start = index;
    int end = index + 1;
    while (start > 0 && IsSpace(text[std::size_t(start - 1)]) == space)
        --start;
    while (end < int(text.size()) && IsSpace(text[std::size_t(end)]) == space)
        ++end;
    return {start, end};
}

// [SECTION] Changing the text

void TextChanged(HWND hwnd) {
    Notify(hwnd, EN_UPDATE);
    if (IsWindow(hwnd))
        Notify(hwnd, EN_CHANGE);
}

std::string WithSelectionReplaced(const std::string& text, const EditState& state,
                                  const std::string& insert) {
    std::string result = text;
    result.replace(std::size_t(state.SelStart()), std::size_t(state.SelEnd() - state.SelStart()),
                   insert);
    return result;
}

// Puts `insert` in place of the selection, the caret after it, and tells
// the parent.
void ReplaceSelection(HWND hwnd, EditState state, const std::string& insert) {
    StoreEditText(hwnd, WithSelectionReplaced(EditText(hwnd), state, insert));
    state.anchor = state.caret = state.SelStart() + int(insert.size());
    Commit(hwnd, state, true);
    TextChanged(hwnd);
}

// How much of `insert` may replace the selection: no more than the limit
// allows and, without ES_AUTOHSCROLL, no more than the width shows.
std::size_t Acceptable(HWND hwnd, const EditState& state, const std::string& insert) {
    const std::string text = EditText(hwnd);
    const auto kept = LONG_PTR(text.size()) - (state.SelEnd() - state.SelStart());
    std::size_t count =
        std::size_t(std::clamp<LONG_PTR>(EditLimit(state) - kept, 0, LONG_PTR(insert.size())));
    if (Style(hwnd) & ES_AUTOHSCROLL)
        return count;
    // Widths grow with every character: the longest part that fits.
    std::size_t low = 0;
    while (low < count) {
        const std::size_t middle = (low + count + 1) / 2;
        if (FitsWithoutScrolling(hwnd, state,
                                 WithSelectionReplaced(text, state, insert.substr(0, middle))))
            low = middle;
        else
            count = middle - 1;
    }
    return low;
}

void TypeCharacter(HWND hwnd, char ch) {
    const DWORD style = Style(hwnd);
    if (style & ES_READONLY) {
        Refuse(hwnd, false);
        return;
    }
    if ((style & ES_NUMBER) && !(ch >= '0' && ch <= '9')) {
        Refuse(hwnd, false);
        return;
    }
    const EditState state = LoadEditState(hwnd);
    const std::string insert(1, ch);
    if (Acceptable(hwnd, state, insert) < insert.size()) {
        Refuse(hwnd, true);
        return;
    }
    ReplaceSelection(hwnd, state, insert);
}

// Backspace (backwards) and Delete.
void DeleteCharacter(HWND hwnd, bool forward) {
    if (Style(hwnd) & ES_READONLY) {
        Refuse(hwnd, false);
        return;
    }
    EditState state = LoadEditState(hwnd);
    if (!state.HasSelection()) {
        const int length = int(EditText(hwnd).size());
        if (forward ? state.caret == length : state.caret == 0)
            return;
        state.anchor = state.caret + (forward ? 1 : -1);
    }
    ReplaceSelection(hwnd, state, std::string());
}

void ReplaceSelectionBy(HWND hwnd, LPCSTR text) {
    const EditState state = LoadEditState(hwnd);
    const std::string insert = text ? text : "";
    const std::size_t accepted = Acceptable(hwnd, state, insert);
    ReplaceSelection(hwnd, state, insert.substr(0, accepted));
    if (accepted < insert.size() && IsWindow(hwnd))
        Notify(hwnd, EN_MAXTEXT);
}

// [SECTION] Moving the caret

void MoveCaret(HWND hwnd, int to, bool extend) {
    EditState state = LoadEditState(hwnd);
    state.caret = std::clamp(to, 0, int(EditText(hwnd).size()));
    if (!extend)
        state.anchor = state.caret;
    Commit(hwnd, state, true);
}

void SelectAll(HWND hwnd) {
    EditState state = LoadEditState(hwnd);
    state.anchor = 0;
    state.caret = int(EditText(hwnd).size());
    Commit(hwnd, state, true);
}

// [SECTION] Keyboard

// Where an arrow key takes the caret. Without Shift, a selection collapses
// to its side in the key's direction.
int ArrowTarget(HWND hwnd, bool forward, bool words, bool extend) {
    const EditState state = LoadEditState(hwnd);
    const std::string text = EditText(hwnd);
    if (words)
        return forward ? NextWordStart(text, state.caret) : PreviousWordStart(text, state.caret);
    if (state.HasSelection() && !extend)
        return forward ? state.SelEnd() : state.SelStart();
    return state.caret + (forward ? 1 : -1);
}

void KeyDown(HWND hwnd, WPARAM key) {
    const bool shift = IsKeyDown(VK_SHIFT);
    const bool ctrl = IsKeyDown(VK_CONTROL);
    switch (key) {
    // One line: up and down go the way of left and right.
    case VK_LEFT:
    case VK_UP:
        MoveCaret(hwnd, ArrowTarget(hwnd, false, ctrl, shift), shift);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        MoveCaret(hwnd, ArrowTarget(hwnd, true, ctrl, shift), shift);
        break;
    case VK_HOME:
        MoveCaret(hwnd, 0, shift);
        break;
    case VK_END:
        MoveCaret(hwnd, int(EditText(hwnd).size()), shift);
        break;
    case VK_DELETE:
        DeleteCharacter(hwnd, true);
        break;
    case 'A':
        if (ctrl)
            SelectAll(hwnd);
        break;
    default:
        break;
    }
}

void Character(HWND hwnd, WPARAM code) {
    const auto ch = static_cast<unsigned char>(code & 0xFF);
    if (ch == '\b') {
        DeleteCharacter(hwnd, false);
        return;
    }
    if (ch == 0x01) { // Ctrl+A
        SelectAll(hwnd);
        return;
    }
    if (ch < 0x20 || ch == 0x7F)
        return;
    // Ctrl with a letter makes a control character; a backend that reports
    // the letter itself must not have it typed (Ctrl+Alt is AltGr and types).
    if (IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU))
        return;
    TypeCharacter(hwnd, char(ch));
}

// [SECTION] Mouse

POINT ClientPoint(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void ButtonDown(HWND hwnd, WPARAM keys, LPARAM lParam) {
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return;
    }
    EditState state = LoadEditState(hwnd);
    state.caret = CaretFromX(LayoutEdit(hwnd, state), ClientPoint(lParam).x);
    if (!(keys & MK_SHIFT))
        state.anchor = state.caret;
    state.flags |= kEditTracking;
    Commit(hwnd, state, true);
    SetCapture(hwnd);
}

// Dragging moves the caret; past either side the text scrolls toward it.
void Drag(HWND hwnd, LPARAM lParam) {
    EditState state = LoadEditState(hwnd);
    if (!(state.flags & kEditTracking) || GetCapture() != hwnd)
        return;
    const int caret = CaretFromX(LayoutEdit(hwnd, state), ClientPoint(lParam).x);
    if (caret == state.caret)
        return;
    state.caret = caret;
    Commit(hwnd, state, true);
}

void EndDrag(HWND hwnd) {
    EditState state = LoadEditState(hwnd);
    if (!(state.flags & kEditTracking))
        return;
    state.flags &= ~kEditTracking;
    StoreEditState(hwnd, state);
    if (GetCapture() == hwnd)
        ReleaseCapture();
}

void SelectWordAt(HWND hwnd, LPARAM lParam) {
    EditState state = LoadEditState(hwnd);
    const int index = CharacterFromX(LayoutEdit(hwnd, state), ClientPoint(lParam).x);
    const auto [start, end] = WordAround(EditText(hwnd), index);
    state.anchor = start;
    state.caret = end;
    Commit(hwnd, state, true);
}

// [SECTION] Focus

void GotFocus(HWND hwnd) {
    EditState state = LoadEditState(hwnd);
    state.flags |= kEditFocused;
    Commit(hwnd, state, false);
    Notify(hwnd, EN_SETFOCUS);
}

// The edit lets go of the focus (and of a drag) before the parent hears of it.
void LostFocus(HWND hwnd) {
    EditState state = LoadEditState(hwnd);
    const bool tracking = state.flags & kEditTracking;
    state.flags &= ~(kEditFocused | kEditTracking);
    Commit(hwnd, state, false);
    if (tracking && GetCapture() == hwnd)
        ReleaseCapture();
    if (IsWindow(hwnd))
        Notify(hwnd, EN_KILLFOCUS);
}

// [SECTION] The class's own messages

LRESULT GetSelection(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const EditState state = LoadEditState(hwnd);
    const int start = state.SelStart();
    const int end = state.SelEnd();
    if (auto* out = reinterpret_cast<DWORD*>(wParam))
        *out = DWORD(start);
    if (auto* out = reinterpret_cast<DWORD*>(lParam))
        *out = DWORD(end);
    if (start > 0xFFFF || end > 0xFFFF)
        return -1;
    return MAKELRESULT(WORD(start), WORD(end));
}

// The parameters are ints, as the platform reads them: (0, -1) selects
// everything, a start of -1 removes the selection and keeps the caret.
void SetSelection(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    EditState state = LoadEditState(hwnd);
    const int length = int(EditText(hwnd).size());
    const auto start = static_cast<int>(static_cast<LONG>(wParam));
    const auto end = static_cast<int>(static_cast<LONG>(lParam));
    if (start < 0) {
        state.anchor = state.caret;
    } else {
        state.anchor = std::min(start, length);
        state.caret = end < 0 ? length : std::min(end, length);
    }
    Commit(hwnd, state, false);
}

void SetLimit(HWND hwnd, WPARAM wParam) {
    EditState state = LoadEditState(hwnd);
    state.limit =
        wParam == 0 ? kLargestLimit : LONG_PTR(std::min<WPARAM>(wParam, WPARAM(kLargestLimit)));
    StoreEditState(hwnd, state);
}

LRESULT PositionOfCharacter(HWND hwnd, WPARAM index) {
    const EditState state = LoadEditState(hwnd);
    const EditLayout layout = LayoutEdit(hwnd, state);
    if (index >= WPARAM(layout.Length()))
        return -1;
    return MAKELRESULT(WORD(SHORT(layout.X(int(index)))), WORD(SHORT(layout.top)));
}

// Measured rather than remembered: a text that fits after a resize or a new
// font shows from its start whatever the scroll was.
LRESULT FirstVisible(HWND hwnd) {
    const EditLayout layout = LayoutEdit(hwnd, LoadEditState(hwnd));
    return CaretFromX(layout, int(layout.format.left));
}

LRESULT CharacterAtPoint(HWND hwnd, LPARAM lParam) {
    const EditState state = LoadEditState(hwnd);
    const int caret = CaretFromX(LayoutEdit(hwnd, state), ClientPoint(lParam).x);
    return MAKELRESULT(WORD(caret), 0);
}

void SetFont(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    EditState state = LoadEditState(hwnd);
    state.font = reinterpret_cast<HFONT>(wParam);
    ScrollToCaret(hwnd, state);
    StoreEditState(hwnd, state);
    if (LOWORD(std::uintptr_t(lParam)))
        InvalidateRect(hwnd, nullptr, TRUE);
}

// New text starts with the caret at its beginning, nothing selected.
LRESULT SetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    DefWindowProcA(hwnd, WM_SETTEXT, wParam, lParam);
    EditState state = LoadEditState(hwnd);
    state.anchor = state.caret = state.first = 0;
    Commit(hwnd, state, false);
    TextChanged(hwnd);
    return TRUE;
}

void Paint(HWND hwnd, WPARAM wParam) {
    if (wParam) {
        PaintEdit(hwnd, reinterpret_cast<HDC>(wParam));
        return;
    }
    PAINTSTRUCT ps;
    const HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc)
        PaintEdit(hwnd, hdc);
    EndPaint(hwnd, &ps);
}

// [SECTION] The window procedure

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills the background with the parent's brush.
    case WM_PAINT:
    case WM_PRINTCLIENT:
        Paint(hwnd, wParam);
        return 0;
    case WM_KEYDOWN:
        KeyDown(hwnd, wParam);
        return 0;
    case WM_CHAR:
        Character(hwnd, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        ButtonDown(hwnd, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        SelectWordAt(hwnd, lParam);
        return 0;
    case WM_MOUSEMOVE:
        Drag(hwnd, lParam);
        return 0;
    case WM_LBUTTONUP:
        EndDrag(hwnd);
        return 0;
    case WM_CAPTURECHANGED: {
        EditState state = LoadEditState(hwnd);
        state.flags &= ~kEditTracking;
        StoreEditState(hwnd, state);
        return 0;
    }
    case WM_SETFOCUS:
        GotFocus(hwnd);
        return 0;
    case WM_KILLFOCUS:
        LostFocus(hwnd);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETTEXT:
        return SetText(hwnd, wParam, lParam);
    case WM_SETFONT:
        SetFont(hwnd, wParam, lParam);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrA(hwnd, kEditFontOffset);
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case EM_GETSEL:
        return GetSelection(hwnd, wParam, lParam);
    case EM_SETSEL:
        SetSelection(hwnd, wParam, lParam);
        return 0;
    case EM_SCROLLCARET: {
        EditState state = LoadEditState(hwnd);
        Commit(hwnd, state, true);
        return TRUE;
    }
    case EM_REPLACESEL:
        ReplaceSelectionBy(hwnd, reinterpret_cast<LPCSTR>(lParam));
        return 0;
    case EM_LIMITTEXT:
        SetLimit(hwnd, wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return EditLimit(LoadEditState(hwnd));
    case EM_GETFIRSTVISIBLELINE:
        return FirstVisible(hwnd);
    case EM_SETREADONLY: {
        const DWORD style = Style(hwnd);
        SetWindowLongPtrA(hwnd, GWL_STYLE,
                          LONG_PTR(wParam ? style | ES_READONLY : style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_POSFROMCHAR:
        return PositionOfCharacter(hwnd, wParam);
    case EM_CHARFROMPOS:
        return CharacterAtPoint(hwnd, lParam);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace kw::user::detail {

void RegisterEditClass() {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &EditProc;
    wc.cbWndExtra = kEditExtraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = "EDIT";
    RegisterClassA(&wc);
}

} // namespace kw::user::detail
