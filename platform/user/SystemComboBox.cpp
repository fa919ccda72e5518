// The system class "COMBOBOX" as a drop-down list (CBS_DROPDOWNLIST): a
// field that shows the selected item, and a list that drops down below it
// in a popup window of the class "ComboLBox".
//
// [SECTION] State
// [SECTION] Dropping the list
// [SECTION] Painting
// [SECTION] Mouse and keyboard
// [SECTION] The window procedures
//
// A click on the field drops the list (as do F4 and Alt+Down); the combo
// box holds the mouse while it is down. The item under the mouse is lit; a
// release on an item chooses it and closes the list, a click outside the
// list closes it unchanged. With the keyboard the arrows, Home, End, Page Up
// and Page Down, or an item's first letter, choose at once while the list is
// closed, and light an item while it is down, which Enter chooses and Escape
// drops.
//
// The parent hears CBN_DROPDOWN before the list shows; on closing
// CBN_SELENDOK (or CBN_SELENDCANCEL), CBN_CLOSEUP and, when the choice
// changed the selection, CBN_SELCHANGE; CBN_SELCHANGE for every change made
// while the list is closed; CBN_SETFOCUS and CBN_KILLFOCUS. CB_SETCURSEL
// tells nothing. Any notification may destroy the combo box.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"
#include "platform/user/Input.h"
#include "platform/user/ListControl.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cstring>

using namespace kw::user::detail;

namespace {

// [SECTION] State

constexpr int kModelOffset = 0;
constexpr int kFlagsOffset = 1 * sizeof(LONG_PTR);
constexpr int kListOffset = 2 * sizeof(LONG_PTR);
constexpr int kDropHeightOffset = 3 * sizeof(LONG_PTR);
constexpr int kHotOffset = 4 * sizeof(LONG_PTR);
constexpr int kExtraBytes = 5 * sizeof(LONG_PTR);

constexpr LONG_PTR kFocused = 0x1;
constexpr LONG_PTR kDropped = 0x2;

// The space around an item's text in the field.
constexpr int kFieldPadding = 8;

ListModel* Model(HWND hwnd) {
    return reinterpret_cast<ListModel*>(GetWindowLongPtrA(hwnd, kModelOffset));
}
LONG_PTR Flags(HWND hwnd) {
    return GetWindowLongPtrA(hwnd, kFlagsOffset);
}
void SetFlag(HWND hwnd, LONG_PTR flag, bool on) {
    const LONG_PTR flags = Flags(hwnd);
    SetWindowLongPtrA(hwnd, kFlagsOffset, on ? flags | flag : flags & ~flag);
}
bool IsDropped(HWND hwnd) {
    return (Flags(hwnd) & kDropped) != 0;
}
HWND DroppedList(HWND hwnd) {
    return reinterpret_cast<HWND>(GetWindowLongPtrA(hwnd, kListOffset));
}
int Hot(HWND hwnd) {
    return int(GetWindowLongPtrA(hwnd, kHotOffset));
}
void SetHot(HWND hwnd, int index) {
    SetWindowLongPtrA(hwnd, kHotOffset, index);
}

void Notify(HWND hwnd, WORD code) {
    if (const HWND parent = GetParent(hwnd))
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), code),
                     reinterpret_cast<LPARAM>(hwnd));
}

int FieldHeight(const ListModel& model) {
    return ListItemHeight(model) + kFieldPadding;
}

// The window text follows the selection, so WM_GETTEXT reads the choice.
void Select(HWND hwnd, int index) {
    ListModel* model = Model(hwnd);
    model->selection = model->Valid(index) ? index : -1;
    const std::string text =
        model->Valid(index) ? model->items[std::size_t(index)].text : std::string();
    DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(hwnd, nullptr, FALSE);
}

// A change the user made while the list is closed.
void Choose(HWND hwnd, int index) {
    ListModel* model = Model(hwnd);
    if (!model->Valid(index) || index == model->selection)
        return;
    Select(hwnd, index);
    Notify(hwnd, CBN_SELCHANGE);
}

// [SECTION] Dropping the list

RECT ListClient(HWND list) {
    RECT rc;
    GetClientRect(list, &rc);
    InflateRect(&rc, -1, -1); // The list's black frame.
    return rc;
}

int ListVisible(HWND hwnd) {
    const HWND list = DroppedList(hwnd);
    const RECT rc = ListClient(list);
    return ListVisibleCount(*Model(hwnd), rc.bottom - rc.top);
}

void RedrawList(HWND hwnd) {
    if (const HWND list = DroppedList(hwnd))
        InvalidateRect(list, nullptr, FALSE);
}

void DropDown(HWND hwnd) {
    if (IsDropped(hwnd))
        return;
    Notify(hwnd, CBN_DROPDOWN);
    if (!IsWindow(hwnd) || IsDropped(hwnd))
        return;
    ListModel* model = Model(hwnd);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int itemHeight = ListItemHeight(*model);
    const int room = int(GetWindowLongPtrA(hwnd, kDropHeightOffset)) - (rc.bottom - rc.top);
    const int shown = std::clamp(room / itemHeight, 1, std::max(1, model->Count()));
    const HWND list =
        CreateWindowExA(0, kComboListClass, "", WS_POPUP, rc.left, rc.bottom, rc.right - rc.left,
                        shown * itemHeight + 2, GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, hwnd);
    if (!list)
        return;
    SetWindowLongPtrA(hwnd, kListOffset, reinterpret_cast<LONG_PTR>(list));
    SetFlag(hwnd, kDropped, true);
    SetHot(hwnd, model->selection);
    model->top = 0;
    ListScrollTo(*model, model->selection, shown);
    ShowWindow(list, SW_SHOWNA);
    SetCapture(hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CloseUp(HWND hwnd, bool accept) {
    if (!IsDropped(hwnd))
        return;
    // Cleared first: giving up the capture below comes back here.
    SetFlag(hwnd, kDropped, false);
    const HWND list = DroppedList(hwnd);
    SetWindowLongPtrA(hwnd, kListOffset, 0);
    if (list)
        DestroyWindow(list);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    InvalidateRect(hwnd, nullptr, FALSE);
    const int hot = Hot(hwnd);
    const bool changed = accept && Model(hwnd)->Valid(hot) && hot != Model(hwnd)->selection;
    Notify(hwnd, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(hwnd))
        return;
    Notify(hwnd, CBN_CLOSEUP);
    if (!IsWindow(hwnd) || !changed)
        return;
    Select(hwnd, hot);
    Notify(hwnd, CBN_SELCHANGE);
}

void Light(HWND hwnd, int index) {
    ListModel* model = Model(hwnd);
    if (!model->Valid(index))
        return;
    SetHot(hwnd, index);
    ListScrollTo(*model, index, ListVisible(hwnd));
    RedrawList(hwnd);
}

// [SECTION] Painting

HBRUSH FieldBrush(HWND hwnd, HDC hdc) {
    const HWND parent = GetParent(hwnd);
    LRESULT brush = parent ? SendMessageA(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc),
                                          reinterpret_cast<LPARAM>(hwnd))
                           : 0;
    if (!brush || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) != OBJ_BRUSH)
        brush = DefWindowProcA(hwnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc),
                               reinterpret_cast<LPARAM>(hwnd));
    return reinterpret_cast<HBRUSH>(brush);
}

void PaintField(HWND hwnd, HDC hdc) {
    ListModel* model = Model(hwnd);
    const int saved = SaveDC(hdc);
    const HBRUSH background = FieldBrush(hwnd, hdc);
    if (!IsWindow(hwnd)) {
        RestoreDC(hdc, saved);
        return;
    }
    const bool enabled = IsWindowEnabled(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    RECT button = rc;
    button.left = std::max(rc.left, rc.right - GetSystemMetrics(SM_CXVSCROLL));
    RECT field = rc;
    field.right = button.left;
    FillRect(hdc, &field, enabled ? background : GetSysColorBrush(COLOR_BTNFACE));
    UINT look = DFCS_SCROLLDOWN;
    if (IsDropped(hwnd))
        look |= DFCS_PUSHED;
    if (!enabled)
        look |= DFCS_INACTIVE;
    DrawFrameControl(hdc, &button, DFC_SCROLL, look);

    SelectObject(hdc,
                 model->font ? model->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetBkMode(hdc, TRANSPARENT);
    RECT item = field;
    InflateRect(&item, -1, -1);
    const bool lit = (Flags(hwnd) & kFocused) && !IsDropped(hwnd) && enabled;
    if (lit)
        FillRect(hdc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, !enabled ? GetSysColor(COLOR_GRAYTEXT)
                      : lit    ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : GetTextColor(hdc));
    if (model->Valid(model->selection)) {
        const std::string& text = model->items[std::size_t(model->selection)].text;
        RECT textRc = item;
        textRc.left += 2;
        DrawText(hdc, text.c_str(), int(text.size()), &textRc,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (lit)
        DrawFocusRect(hdc, &item);
    RestoreDC(hdc, saved);
}

void PaintDroppedList(HWND list, HDC hdc) {
    const auto combo = reinterpret_cast<HWND>(GetWindowLongPtrA(list, 0));
    ListModel* model = IsWindow(combo) ? Model(combo) : nullptr;
    if (!model)
        return;
    RECT rc;
    GetClientRect(list, &rc);
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    PaintList(hdc, *model, ListClient(list), GetSysColorBrush(COLOR_WINDOW), Hot(combo), false,
              true);
}

// [SECTION] Mouse and keyboard

// Where a point of the combo box's client area lies in the dropped list.
bool InList(HWND hwnd, LPARAM lParam, POINT* inList) {
    const HWND list = DroppedList(hwnd);
    if (!list)
        return false;
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &pt);
    ScreenToClient(list, &pt);
    *inList = pt;
    RECT rc;
    GetClientRect(list, &rc);
    return PtInRect(&rc, pt);
}

int ItemInList(HWND hwnd, POINT pt) {
    ListModel* model = Model(hwnd);
    const RECT rc = ListClient(DroppedList(hwnd));
    const ListScrollBar sb = ListScrollBarOf(*model, rc);
    if (sb.shown && pt.x >= sb.bar.left)
        return -1;
    const int index = model->top + int(pt.y - rc.top) / ListItemHeight(*model);
    return pt.y >= rc.top && pt.y < rc.bottom && model->Valid(index) ? index : -1;
}

void ButtonDown(HWND hwnd, LPARAM lParam) {
    if (!IsDropped(hwnd)) {
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd) || GetFocus() != hwnd)
                return;
        }
        DropDown(hwnd);
        return;
    }
    POINT pt;
    if (!InList(hwnd, lParam, &pt)) {
        CloseUp(hwnd, false);
        return;
    }
    if (ListScrollBarClick(*Model(hwnd), ListClient(DroppedList(hwnd)), pt)) {
        RedrawList(hwnd);
        return;
    }
    Light(hwnd, ItemInList(hwnd, pt));
}

void MouseMove(HWND hwnd, LPARAM lParam) {
    POINT pt;
    if (IsDropped(hwnd) && InList(hwnd, lParam, &pt))
        Light(hwnd, ItemInList(hwnd, pt));
}

void ButtonUp(HWND hwnd, LPARAM lParam) {
    POINT pt;
    if (IsDropped(hwnd) && InList(hwnd, lParam, &pt) && ItemInList(hwnd, pt) >= 0) {
        SetHot(hwnd, ItemInList(hwnd, pt));
        CloseUp(hwnd, true);
    }
}

// The index a navigation key leads to from `current`; `page` items a page.
int Navigate(const ListModel& model, int current, WPARAM key, int page) {
    const int last = model.Count() - 1;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        return std::max(0, current - 1);
    case VK_DOWN:
    case VK_RIGHT:
        return std::min(last, current + 1);
    case VK_HOME:
        return 0;
    case VK_END:
        return last;
    case VK_PRIOR:
        return std::max(0, current - (page - 1));
    case VK_NEXT:
        return std::min(last, std::max(0, current) + (page - 1));
    default:
        return -2;
    }
}

void KeyDown(HWND hwnd, WPARAM key) {
    ListModel* model = Model(hwnd);
    if (key == VK_F4) {
        if (IsDropped(hwnd))
            CloseUp(hwnd, true);
        else
            DropDown(hwnd);
        return;
    }
    if (IsDropped(hwnd)) {
        if (key == VK_RETURN || key == VK_TAB) {
            CloseUp(hwnd, true);
            return;
        }
        if (key == VK_ESCAPE) {
            CloseUp(hwnd, false);
            return;
        }
        const int target = Navigate(*model, Hot(hwnd), key, ListVisible(hwnd));
        if (target >= 0)
            Light(hwnd, target);
        return;
    }
    if (model->Count() == 0)
        return;
    const int page =
        std::max(1, (int(GetWindowLongPtrA(hwnd, kDropHeightOffset)) - FieldHeight(*model)) /
                        ListItemHeight(*model));
    const int target = Navigate(*model, model->selection, key, page);
    if (target >= 0)
        Choose(hwnd, target);
}

void Character(HWND hwnd, WPARAM code) {
    ListModel* model = Model(hwnd);
    const auto ch = char(code & 0xFF);
    if (static_cast<unsigned char>(ch) <= 0x20 || model->Count() == 0)
        return;
    const int from = IsDropped(hwnd) ? Hot(hwnd) : model->selection;
    const int found = model->Find(from, std::string(1, ch), false);
    if (found < 0)
        return;
    if (IsDropped(hwnd))
        Light(hwnd, found);
    else
        Choose(hwnd, found);
}

void FitField(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int height = FieldHeight(*Model(hwnd));
    if (rc.bottom - rc.top != height)
        SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// [SECTION] The window procedures

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListModel* model = Model(hwnd);
    if (!model && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE: {
        auto* created = new ListModel;
        created->sorted = (GetWindowLongA(hwnd, GWL_STYLE) & CBS_SORT) != 0;
        SetWindowLongPtrA(hwnd, kModelOffset, reinterpret_cast<LONG_PTR>(created));
        SetWindowLongPtrA(hwnd, kHotOffset, -1);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_CREATE: {
        // The height asked for is the field and the dropped list together.
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, kDropHeightOffset, cs ? cs->cy : 0);
        FitField(hwnd);
        return 0;
    }
    case WM_NCDESTROY: {
        if (const HWND list = DroppedList(hwnd))
            DestroyWindow(list);
        SetWindowLongPtrA(hwnd, kModelOffset, 0);
        delete model;
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { PaintField(hwnd, hdc); });
    case WM_SETFONT:
        model->font = reinterpret_cast<HFONT>(wParam);
        FitField(hwnd);
        if (LOWORD(std::uintptr_t(lParam)))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(model->font);
    case WM_GETDLGCODE:
        // While the list is down, Enter and Escape are the list's.
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (IsDropped(hwnd) ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
        SetFlag(hwnd, kFocused, true);
        InvalidateRect(hwnd, nullptr, FALSE);
        Notify(hwnd, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        SetFlag(hwnd, kFocused, false);
        CloseUp(hwnd, false);
        if (!IsWindow(hwnd))
            return 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        Notify(hwnd, CBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        if (!wParam)
            CloseUp(hwnd, false);
        if (IsWindow(hwnd))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        CloseUp(hwnd, false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(hwnd, lParam);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(hwnd, lParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(hwnd, lParam);
        return 0;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        if (IsDropped(hwnd)) {
            model->top -= 3 * notches;
            ListClampTop(*model, ListVisible(hwnd));
            RedrawList(hwnd);
        } else if (notches && model->Count()) {
            Choose(hwnd, std::clamp(model->selection - notches, 0, model->Count() - 1));
        }
        return 0;
    }
    case WM_KEYDOWN:
        KeyDown(hwnd, wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP) {
            if (IsDropped(hwnd))
                CloseUp(hwnd, true);
            else
                DropDown(hwnd);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        Character(hwnd, wParam);
        return 0;
    case WM_SETTEXT:
        // The field shows the selection; a text selects the item it names.
        if (const char* text = reinterpret_cast<const char*>(lParam)) {
            const int found = model->Find(-1, text, true);
            if (found >= 0)
                Select(hwnd, found);
            return found >= 0 ? TRUE : CB_ERR;
        }
        return CB_ERR;
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        const char* text = reinterpret_cast<const char*>(lParam);
        const int index = msg == CB_ADDSTRING
                              ? model->Add(text ? text : "")
                              : model->Insert(int(LONG_PTR(wParam)), text ? text : "");
        RedrawList(hwnd);
        return index < 0 ? CB_ERR : index;
    }
    case CB_DELETESTRING: {
        const int before = model->selection;
        const int left = model->Delete(int(wParam));
        if (left >= 0 && before != model->selection)
            Select(hwnd, model->selection);
        RedrawList(hwnd);
        return left < 0 ? CB_ERR : left;
    }
    case CB_RESETCONTENT:
        CloseUp(hwnd, false);
        model->Reset();
        Select(hwnd, -1);
        return CB_OKAY;
    case CB_GETCOUNT:
        return model->Count();
    case CB_GETCURSEL:
        return model->selection;
    case CB_SETCURSEL: {
        const int index = int(LONG_PTR(wParam));
        Select(hwnd, index);
        if (IsDropped(hwnd))
            Light(hwnd, model->selection);
        return model->Valid(index) ? index : CB_ERR;
    }
    case CB_GETLBTEXT: {
        if (!model->Valid(int(wParam)))
            return CB_ERR;
        const std::string& text = model->items[wParam].text;
        if (auto* out = reinterpret_cast<char*>(lParam))
            std::memcpy(out, text.c_str(), text.size() + 1);
        return LRESULT(text.size());
    }
    case CB_GETLBTEXTLEN:
        return model->Valid(int(wParam)) ? LRESULT(model->items[wParam].text.size()) : CB_ERR;
    case CB_GETITEMDATA:
        return model->Valid(int(wParam)) ? LRESULT(model->items[wParam].data) : CB_ERR;
    case CB_SETITEMDATA:
        if (!model->Valid(int(wParam)))
            return CB_ERR;
        model->items[wParam].data = ULONG_PTR(lParam);
        return TRUE;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
        const char* text = reinterpret_cast<const char*>(lParam);
        const int found =
            model->Find(int(LONG_PTR(wParam)), text ? text : "", msg == CB_FINDSTRINGEXACT);
        if (msg == CB_SELECTSTRING && found >= 0)
            Select(hwnd, found);
        return found < 0 ? CB_ERR : found;
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown(hwnd);
        else
            CloseUp(hwnd, false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return IsDropped(hwnd) ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        if (!rc)
            return CB_ERR;
        GetWindowRect(hwnd, rc);
        rc->bottom = rc->top + LONG(GetWindowLongPtrA(hwnd, kDropHeightOffset));
        return TRUE;
    }
    case CB_GETITEMHEIGHT:
        return ListItemHeight(*model);
    case CB_SETITEMHEIGHT:
        model->itemHeight = int(lParam);
        FitField(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(cs ? cs->lpCreateParams : nullptr));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { PaintDroppedList(hwnd, hdc); });
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace kw::user::detail {

void RegisterComboBoxClass() {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &ComboProc;
    wc.cbWndExtra = kExtraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "COMBOBOX";
    RegisterClassA(&wc);

    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
    wc.lpfnWndProc = &ComboListProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = kComboListClass;
    RegisterClassA(&wc);
}

} // namespace kw::user::detail
