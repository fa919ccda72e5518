#pragma once
// The system window classes "BUTTON", "STATIC" and "EDIT": their styles,
// messages, notifications and the owner-draw structure, with the platform's
// values. The classes are registered in every thread's window manager before
// its first use.
//
// Buttons draw themselves (push buttons, check boxes, radio buttons, group
// boxes) or, with BS_OWNERDRAW, ask their parent with WM_DRAWITEM. They track
// a press with the mouse captured (or the space bar held) and report a
// release inside with WM_COMMAND(MAKEWPARAM(id, BN_CLICKED), hwnd) to the
// parent. Statics draw their text on the brush their parent returns for
// WM_CTLCOLORSTATIC, with the text colour and background mode the parent set
// on the DC. Both paint into the DC in wParam of WM_PAINT when there is one,
// and draw with the font of WM_SETFONT (DEFAULT_GUI_FONT until one is set).
//
// Edits hold one line of text with a caret and a selection, edited with the
// keyboard and the mouse; SystemEdit.cpp describes what they do. They tell
// their parent of focus changes and of changed text with WM_COMMAND
// (MAKEWPARAM(id, EN_...), hwnd), the EN_ codes of WindowMessages.h.
#include "platform/user/UserTypes.h"
#include "platform/user/WindowMessages.h"

// [SECTION] Buttons

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_USERBUTTON = 0x0008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_PUSHBOX = 0x000A;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_LEFTTEXT = 0x0020;
constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr DWORD BS_LEFT = 0x0100;
constexpr DWORD BS_RIGHT = 0x0200;
constexpr DWORD BS_CENTER = 0x0300;
constexpr DWORD BS_PUSHLIKE = 0x1000;
constexpr DWORD BS_MULTILINE = 0x2000;
constexpr DWORD BS_NOTIFY = 0x4000;
constexpr DWORD BS_FLAT = 0x8000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

constexpr LRESULT BST_UNCHECKED = 0x0000;
constexpr LRESULT BST_CHECKED = 0x0001;
constexpr LRESULT BST_INDETERMINATE = 0x0002;
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

// Size of the box of a check box or radio button.
constexpr int kCheckBoxSize = 13;

// [SECTION] Statics

constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_BLACKRECT = 0x0004;
constexpr DWORD SS_GRAYRECT = 0x0005;
constexpr DWORD SS_WHITERECT = 0x0006;
constexpr DWORD SS_BLACKFRAME = 0x0007;
constexpr DWORD SS_SIMPLE = 0x000B;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
constexpr DWORD SS_OWNERDRAW = 0x000D;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_ETCHEDHORZ = 0x0010;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
constexpr DWORD SS_SUNKEN = 0x1000;

// Icons of SS_ICON statics: an HICON (platform/user/Icon.h).
constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;

constexpr WORD STN_CLICKED = 0;

// [SECTION] Edits

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
// An edit shows one line; ES_MULTILINE is accepted and changes nothing.
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;

// EM_GETSEL answers MAKELONG(start, end), -1 when either exceeds 0xFFFF, and
// stores both in the DWORDs wParam and lParam point to (when not null).
constexpr UINT EM_GETSEL = 0x00B0;
// Anchor in wParam, caret in lParam: (0, -1) selects everything, a start of
// -1 removes the selection. Does not scroll; EM_SCROLLCARET does.
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLLCARET = 0x00B7;
// lParam: the text that replaces the selection.
constexpr UINT EM_REPLACESEL = 0x00C2;
// The most characters the user may type; 0 means 0x7FFFFFFE.
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
// For one line: the index of the first character shown.
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
// MAKELONG(x, y) of a character's top-left corner in client coordinates, -1
// for an index past the last character.
constexpr UINT EM_POSFROMCHAR = 0x00D6;
// lParam: a client point; answers MAKELONG(nearest caret position, line 0).
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// [SECTION] Owner-drawn controls

constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;

constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;

// lParam of WM_DRAWITEM; wParam is the control's id.
struct DRAWITEMSTRUCT {
    UINT CtlType{0};
    UINT CtlID{0};
    UINT itemID{0};
    UINT itemAction{0};
    UINT itemState{0};
    HWND hwndItem{nullptr};
    HDC hDC{nullptr};
    RECT rcItem{};
    ULONG_PTR itemData{0};
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

// [SECTION] Dialogs

// The default push button of a dialog: DM_GETDEFID answers
// MAKELRESULT(id, DC_HASDEFID), 0 when there is none.
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

namespace kw::user {
// Registers "BUTTON", "STATIC" and "EDIT" in the calling thread's window
// manager; the manager does it itself when a thread first uses it.
void RegisterSystemClasses();
} // namespace kw::user
