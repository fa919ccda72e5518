// What an edit remembers: its state in the extra window bytes and its text.
#include "platform/gdi/GdiObjects.h"
#include "platform/user/EditControl.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>

namespace kw::user::detail {

namespace {

constexpr int kAnchorOffset = 1 * int(sizeof(LONG_PTR));
constexpr int kCaretOffset = 2 * int(sizeof(LONG_PTR));
constexpr int kFirstOffset = 3 * int(sizeof(LONG_PTR));
constexpr int kLimitOffset = 4 * int(sizeof(LONG_PTR));
constexpr int kFlagsOffset = 5 * int(sizeof(LONG_PTR));

// The platform's limit for what the user types until EM_LIMITTEXT.
constexpr LONG_PTR kDefaultLimit = 32767;

int Position(HWND hwnd, int offset, int length) {
    return int(std::clamp<LONG_PTR>(GetWindowLongPtrA(hwnd, offset), 0, length));
}

} // namespace

EditState LoadEditState(HWND hwnd) {
    // The text may have changed behind the edit's back (a subclass storing
    // it through DefWindowProc): positions never point past its end.
    const int length = int(EditText(hwnd).size());
    EditState state;
    state.font = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, kEditFontOffset));
    state.anchor = Position(hwnd, kAnchorOffset, length);
    state.caret = Position(hwnd, kCaretOffset, length);
    state.first = Position(hwnd, kFirstOffset, length);
    state.limit = GetWindowLongPtrA(hwnd, kLimitOffset);
    state.flags = GetWindowLongPtrA(hwnd, kFlagsOffset);
    return state;
}

void StoreEditState(HWND hwnd, const EditState& state) {
    SetWindowLongPtrA(hwnd, kEditFontOffset, reinterpret_cast<LONG_PTR>(state.font));
    SetWindowLongPtrA(hwnd, kAnchorOffset, state.anchor);
    SetWindowLongPtrA(hwnd, kCaretOffset, state.caret);
    SetWindowLongPtrA(hwnd, kFirstOffset, state.first);
    SetWindowLongPtrA(hwnd, kLimitOffset, state.limit);
    SetWindowLongPtrA(hwnd, kFlagsOffset, state.flags);
}

HFONT EditFont(const EditState& state) {
    return state.font ? state.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LONG_PTR EditLimit(const EditState& state) {
    return state.limit > 0 ? state.limit : kDefaultLimit;
}

std::string EditText(HWND hwnd) {
    const Window* w = FindWindow(hwnd);
    return w ? w->text : std::string();
}

void StoreEditText(HWND hwnd, const std::string& text) {
    DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace kw::user::detail
