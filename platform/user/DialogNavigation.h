#pragma once
// The dialog manager's keyboard: the order of tab stops, groups, and
// mnemonics. A dialog's own window procedure (platform/afx/Dialog.h) calls
// these for the keys its controls do not want themselves.
#include "platform/user/UserTypes.h"

// The next (or previous) control with WS_TABSTOP that is visible and
// enabled, wrapping around; from the start (or end) when `control` is null.
// Controls of child windows with WS_EX_CONTROLPARENT count as the dialog's.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of the group `control`
// belongs to: the siblings from a WS_GROUP control up to the next one.
// Wraps within the group; `control` itself when it is alone.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

namespace kw::user {

// Focuses a control; an edit (DLGC_HASSETSEL) gets all its text selected.
void DialogSetFocus(HWND control);
// Tab: to the next tab stop; into a radio group, to its checked button.
bool DialogTab(HWND dialog, HWND focus, bool backwards);
// An arrow key: to the next control of the focused one's group; an
// automatic radio button reached so is checked (and clicked).
bool DialogArrow(HWND dialog, HWND focus, WPARAM key);
// The label, group box or button whose '&' character is `ch` (letter case
// ignored), searched after `from` and wrapping; null when there is none.
HWND FindMnemonicControl(HWND dialog, HWND from, char ch);
// What a mnemonic does: a label or group box focuses the next tab stop
// after it; a check box or radio button takes the focus and is clicked; a
// push button is clicked. False when no control has the mnemonic.
bool DialogMnemonic(HWND dialog, HWND focus, char ch);

} // namespace kw::user
