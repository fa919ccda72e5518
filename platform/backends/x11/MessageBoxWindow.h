#pragma once
// A message box as a real window, built from the system BUTTON and STATIC
// classes: the caption as its title, the text, and the buttons of its type.
// It is modal to its owner's top-level window, which is disabled meanwhile.
#include "platform/gdi/GdiTypes.h"
#include "platform/user/UserTypes.h"

#include <string>
#include <vector>

namespace kw::x11 {

struct MessageBoxButton {
    int id;
    const char* label;
};

// The buttons of an MB_ type, left to right; MB_OK for unknown types.
std::vector<MessageBoxButton> MessageBoxButtons(UINT type);

// What closing the box (the close box, Escape) answers: Cancel when the box
// has that button, OK for a lone OK button, 0 when it cannot be closed so.
int MessageBoxCloseAnswer(UINT type);

// The icon of an MB_ICON type, 32 x 32 at (x, y): a red stop sign with a
// white cross, a blue disc with a question mark or an "i", a yellow triangle
// with an exclamation mark. False, drawing nothing, for a type without one.
bool DrawMessageBoxIcon(HDC dc, int x, int y, UINT type);
constexpr int kMessageBoxIconSize = 32;

// Shows the box and runs its modal loop; returns the button chosen, IDCANCEL
// when the loop ended otherwise (WM_QUIT), 0 when no window could be made.
int ShowMessageBoxWindow(HWND owner, const std::string& text, const std::string& caption,
                         UINT type);

} // namespace kw::x11
