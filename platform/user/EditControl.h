#pragma once
// The parts of the system class "EDIT" that its sources share: what an edit
// remembers, its text, and where that text lies in the window. Used only by
// the library's own sources.
#include "platform/user/UserTypes.h"

#include <string>
#include <vector>

namespace kw::user::detail {

// [SECTION] State

// What an edit remembers beside its text. It lives in the window's extra
// bytes, so that a framework subclassing the window reaches the same state
// through the class's procedure. Positions are caret positions: 0 before the
// first character, the text's length after the last.
struct EditState {
    HFONT font{nullptr}; // Null: DEFAULT_GUI_FONT.
    int anchor{0};       // The end of the selection that stays put.
    int caret{0};        // The moving end, where the caret shows.
    int first{0};        // The first character shown: the horizontal scroll.
    LONG_PTR limit{0};   // Most characters the user may type; 0: the default.
    LONG_PTR flags{0};

    int SelStart() const { return anchor < caret ? anchor : caret; }
    int SelEnd() const { return anchor < caret ? caret : anchor; }
    bool HasSelection() const { return anchor != caret; }
};

constexpr LONG_PTR kEditFocused = 0x0001;
constexpr LONG_PTR kEditTracking = 0x0002; // The mouse drags the selection.

constexpr int kEditExtraBytes = 6 * int(sizeof(LONG_PTR));
// The font sits where WM_GETFONT of the other system classes keeps it.
constexpr int kEditFontOffset = 0;

// A state whose positions lie within the current text.
EditState LoadEditState(HWND hwnd);
void StoreEditState(HWND hwnd, const EditState& state);
HFONT EditFont(const EditState& state);
LONG_PTR EditLimit(const EditState& state);

// The window's own text. It is read directly, not through WM_GETTEXT, which a
// subclass may answer with something else than what is being edited.
std::string EditText(HWND hwnd);
// Stores the text without the edit's own WM_SETTEXT handling.
void StoreEditText(HWND hwnd, const std::string& text);

// [SECTION] Layout

// Where the text and each caret position lie in the client area.
struct EditLayout {
    // offsets[i]: pixels from the start of the text to caret position i.
    std::vector<int> offsets{0};
    RECT format{}; // The client area less the margins: where text shows.
    int origin{0}; // Client x of the start of the text; left of format when scrolled.
    int top{0};    // Client y of the line's top.
    int height{0}; // Height of the line.

    int X(int position) const { return origin + offsets[std::size_t(position)]; }
    int Length() const { return int(offsets.size()) - 1; }
};

EditLayout LayoutEdit(HWND hwnd, const EditState& state);
// The caret position nearest to a client x.
int CaretFromX(const EditLayout& layout, int x);
// The character under a client x (the nearest one outside the text); 0 for
// an empty text.
int CharacterFromX(const EditLayout& layout, int x);
// Scrolls (with ES_AUTOHSCROLL) so that the caret shows.
void ScrollToCaret(HWND hwnd, EditState& state);
// Whether `text` fits the width of the edit without scrolling.
bool FitsWithoutScrolling(HWND hwnd, const EditState& state, const std::string& text);

// [SECTION] Painting

void PaintEdit(HWND hwnd, HDC hdc);

// [SECTION] The class

// Registers "EDIT" in the calling thread's window manager.
void RegisterEditClass();

} // namespace kw::user::detail
