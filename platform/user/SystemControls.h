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
// Images of SS_BITMAP (IMAGE_BITMAP, an HBITMAP) and SS_ICON (IMAGE_ICON)
// statics in wParam and lParam; an SS_BITMAP static takes the bitmap's size
// unless SS_CENTERIMAGE. The image stays the caller's.
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;
constexpr WPARAM IMAGE_BITMAP = 0;
constexpr WPARAM IMAGE_ICON = 1;

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

// [SECTION] List boxes
// "LISTBOX": a list of texts with one selected item (or none), chosen with
// the mouse and the keys; it scrolls when the items do not fit. Tells its
// parent with WM_COMMAND(MAKEWPARAM(id, LBN_...), hwnd) under LBS_NOTIFY.

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOREDRAW = 0x0004;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x0400;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;
constexpr DWORD LBS_NOSEL = 0x4000;

constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
// lParam: a client point; answers MAKELONG(nearest item, 1 when outside).
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr WORD LBN_ERRSPACE = WORD(-2);
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// [SECTION] Combo boxes
// "COMBOBOX" with CBS_DROPDOWNLIST: a field showing the selected item and a
// list that drops down below it (a popup window of its own). The field is
// as high as one item; the height the window was created with is the height
// of the field and the dropped list together. CBS_SIMPLE and CBS_DROPDOWN
// behave as CBS_DROPDOWNLIST here: none of the pages types into a combo.

constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_OEMCONVERT = 0x0080;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;

constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

constexpr WORD CBN_ERRSPACE = WORD(-1);
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// The class of a combo box's dropped list.
inline constexpr const char* kComboListClass = "ComboLBox";

// [SECTION] Common controls: notifications

// The header of WM_NOTIFY's lParam; wParam is the sender's id.
struct NMHDR {
    HWND hwndFrom{nullptr};
    UINT_PTR idFrom{0};
    UINT code{0};
};

constexpr UINT NM_FIRST = 0U - 0U;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT UDN_FIRST = 0U - 721U;
constexpr UINT TCN_FIRST = 0U - 550U;

// The scroll codes up-down controls send (LOWORD of WM_VSCROLL's wParam).
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_ENDSCROLL = 8;

// [SECTION] Up-down controls
// "msctls_updown32": two arrow buttons that step a position within a range,
// shown in a buddy window's text with UDS_SETBUDDYINT. A step is offered to
// the parent first (WM_NOTIFY with UDN_DELTAPOS; a non-zero answer refuses
// it), then reported with WM_VSCROLL (WM_HSCROLL with UDS_HORZ):
// MAKEWPARAM(SB_THUMBPOSITION, position), the up-down's handle in lParam;
// releasing the button sends SB_ENDSCROLL. A held button repeats.

inline constexpr const char* UPDOWN_CLASS = "msctls_updown32";

constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
constexpr DWORD UDS_HOTTRACK = 0x0100;

// lParam MAKELONG(upper, lower): the up arrow steps toward `upper`, which
// may be the smaller one. Until set, the range is 100 (lower) to 0 (upper).
constexpr UINT UDM_SETRANGE = WM_USER + 101;
// MAKELONG(upper, lower).
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
// MAKELONG(position, error): the buddy's number with UDS_SETBUDDYINT,
// error non-zero when its text is no number in the range.
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
// wParam, lParam: int* lower and upper (either may be null).
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

// UDN_DELTAPOS: the position before the step and the step.
struct NMUPDOWN {
    NMHDR hdr;
    int iPos{0};
    int iDelta{0};
};

constexpr short UD_MAXVAL = 0x7FFF;
constexpr short UD_MINVAL = -UD_MAXVAL;

// [SECTION] Tab controls
// "SysTabControl32": a row of tabs above a display area. A click on a tab
// (or Left and Right with the focus) asks the parent with WM_NOTIFY
// TCN_SELCHANGING (a non-zero answer keeps the tab), selects it and tells
// TCN_SELCHANGE. TCM_SETCURSEL selects without telling. Tab texts show as
// they are ('&' is no prefix). The control paints its tabs and the frame of
// its display area; inside the frame the parent's background shows.

inline constexpr const char* WC_TABCONTROL = "SysTabControl32";

constexpr DWORD TCS_TABS = 0x0000;
constexpr DWORD TCS_BUTTONS = 0x0100;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_FOCUSNEVER = 0x8000;

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;
constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
// lParam: TCHITTESTINFO*; answers the tab's index, -1 for none.
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
// wParam TRUE: a display rectangle to the window rectangle; FALSE: back.
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;

struct TCITEMA {
    UINT mask{0};
    DWORD dwState{0};
    DWORD dwStateMask{0};
    LPSTR pszText{nullptr};
    int cchTextMax{0};
    int iImage{-1};
    LPARAM lParam{0};
};

constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEM = 0x0006;

struct TCHITTESTINFO {
    POINT pt{};
    UINT flags{0};
};

constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

namespace kw::user {
// Registers "BUTTON", "STATIC" and "EDIT" in the calling thread's window
// manager; the manager does it itself when a thread first uses it.
void RegisterSystemClasses();
// The same for "LISTBOX", "COMBOBOX", "msctls_updown32" and
// "SysTabControl32" (RegisterSystemClasses calls it).
void RegisterListAndCommonControls();
} // namespace kw::user
