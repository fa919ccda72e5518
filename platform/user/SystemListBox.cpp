// The system class "LISTBOX": one selected item (or none) among texts,
// chosen by a click, by the arrow keys, Home, End, Page Up and Page Down,
// or by typing an item's first letter. Items that do not fit scroll, with a
// scroll bar drawn at the right and the mouse wheel.
//
// With LBS_NOTIFY the parent hears LBN_SELCHANGE when the user changed the
// selection (LB_SETCURSEL tells nothing), LBN_DBLCLK, LBN_SETFOCUS and
// LBN_KILLFOCUS. Any notification may destroy the list box.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
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

constexpr int kModelOffset = 0;
constexpr int kFlagsOffset = sizeof(LONG_PTR);
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);

constexpr LONG_PTR kFocused = 0x1;
constexpr LONG_PTR kTracking = 0x2;

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
DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}

void Notify(HWND hwnd, WORD code) {
    if (!(Style(hwnd) & LBS_NOTIFY))
        return;
    if (const HWND parent = GetParent(hwnd))
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), code),
                     reinterpret_cast<LPARAM>(hwnd));
}

RECT Client(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return rc;
}

int Visible(HWND hwnd, const ListModel& model) {
    const RECT rc = Client(hwnd);
    return ListVisibleCount(model, rc.bottom - rc.top);
}

// The item under a client point, -1 for none.
int ItemAt(const ListModel& model, POINT pt) {
    const int index = model.top + int(pt.y) / ListItemHeight(model);
    return pt.y >= 0 && model.Valid(index) ? index : -1;
}

// A selection the user made: shown, scrolled into view and told.
void Choose(HWND hwnd, int index) {
    ListModel* model = Model(hwnd);
    if (!model || !model->Valid(index))
        return;
    ListScrollTo(*model, index, Visible(hwnd, *model));
    InvalidateRect(hwnd, nullptr, FALSE);
    if (model->selection == index)
        return;
    model->selection = index;
    Notify(hwnd, LBN_SELCHANGE);
}

void Paint(HWND hwnd, HDC hdc) {
    ListModel* model = Model(hwnd);
    if (!model)
        return;
    const HWND parent = GetParent(hwnd);
    LRESULT brush = parent ? SendMessageA(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc),
                                          reinterpret_cast<LPARAM>(hwnd))
                           : 0;
    if (!brush || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) != OBJ_BRUSH)
        brush = DefWindowProcA(hwnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc),
                               reinterpret_cast<LPARAM>(hwnd));
    if (!IsWindow(hwnd))
        return;
    PaintList(hdc, *model, Client(hwnd), reinterpret_cast<HBRUSH>(brush), model->selection,
              (Flags(hwnd) & kFocused) != 0, IsWindowEnabled(hwnd));
}

void KeyDown(HWND hwnd, WPARAM key) {
    ListModel* model = Model(hwnd);
    if (!model || model->Count() == 0)
        return;
    const int visible = Visible(hwnd, *model);
    const int last = model->Count() - 1;
    const int current = model->selection;
    int target = current;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        target = current < 0 ? 0 : current - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        target = current + 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = last;
        break;
    case VK_PRIOR:
        target = current - (visible - 1);
        break;
    case VK_NEXT:
        target = current + (visible - 1);
        break;
    default:
        return;
    }
    Choose(hwnd, std::clamp(target, 0, last));
}

LRESULT GetText(const ListModel& model, WPARAM index, LPARAM buffer) {
    if (!model.Valid(int(index)))
        return LB_ERR;
    const std::string& text = model.items[index].text;
    if (auto* out = reinterpret_cast<char*>(buffer)) {
        std::memcpy(out, text.c_str(), text.size() + 1);
    }
    return LRESULT(text.size());
}

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListModel* model = Model(hwnd);
    if (!model && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE: {
        auto* created = new ListModel;
        created->sorted = (Style(hwnd) & LBS_SORT) != 0;
        SetWindowLongPtrA(hwnd, kModelOffset, reinterpret_cast<LONG_PTR>(created));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, kModelOffset, 0);
        delete model;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { Paint(hwnd, hdc); });
    case WM_SIZE:
        ListClampTop(*model, Visible(hwnd, *model));
        return 0;
    case WM_SETFONT:
        model->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(std::uintptr_t(lParam)))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(model->font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        SetFlag(hwnd, kFocused, true);
        InvalidateRect(hwnd, nullptr, FALSE);
        Notify(hwnd, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        SetFlag(hwnd, kFocused, false);
        InvalidateRect(hwnd, nullptr, FALSE);
        Notify(hwnd, LBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_KEYDOWN:
        KeyDown(hwnd, wParam);
        return 0;
    case WM_CHAR: {
        const auto ch = char(wParam & 0xFF);
        if (static_cast<unsigned char>(ch) <= 0x20 || !model->Count())
            return 0;
        const int found = model->Find(model->selection, std::string(1, ch), false);
        if (found >= 0)
            Choose(hwnd, found);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd))
                return 0;
        }
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (ListScrollBarClick(*model, Client(hwnd), pt)) {
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        SetFlag(hwnd, kTracking, true);
        SetCapture(hwnd);
        Choose(hwnd, ItemAt(*model, pt));
        return 0;
    }
    case WM_MOUSEMOVE:
        if ((Flags(hwnd) & kTracking) && GetCapture() == hwnd) {
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const int index = ItemAt(*model, pt);
            if (index >= 0)
                Choose(hwnd, index);
        }
        return 0;
    case WM_LBUTTONUP:
        if (Flags(hwnd) & kTracking) {
            SetFlag(hwnd, kTracking, false);
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        SetFlag(hwnd, kTracking, false);
        return 0;
    case WM_LBUTTONDBLCLK: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (ItemAt(*model, pt) >= 0)
            Notify(hwnd, LBN_DBLCLK);
        return 0;
    }
    case WM_MOUSEWHEEL:
        model->top -= 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        ListClampTop(*model, Visible(hwnd, *model));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        const char* text = reinterpret_cast<const char*>(lParam);
        const int index = msg == LB_ADDSTRING
                              ? model->Add(text ? text : "")
                              : model->Insert(int(LONG_PTR(wParam)), text ? text : "");
        InvalidateRect(hwnd, nullptr, FALSE);
        return index < 0 ? LB_ERR : index;
    }
    case LB_DELETESTRING: {
        const int left = model->Delete(int(wParam));
        InvalidateRect(hwnd, nullptr, FALSE);
        return left < 0 ? LB_ERR : left;
    }
    case LB_RESETCONTENT:
        model->Reset();
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case LB_GETCOUNT:
        return model->Count();
    case LB_GETCURSEL:
        return model->selection;
    case LB_SETCURSEL: {
        const int index = int(LONG_PTR(wParam));
        model->selection = model->Valid(index) ? index : -1;
        ListScrollTo(*model, model->selection, Visible(hwnd, *model));
        InvalidateRect(hwnd, nullptr, FALSE);
        return model->Valid(index) || index == -1 ? model->selection : LB_ERR;
    }
    case LB_GETSEL:
        return model->Valid(int(wParam)) ? (int(wParam) == model->selection ? 1 : 0) : LB_ERR;
    case LB_GETTEXT:
        return GetText(*model, wParam, lParam);
    case LB_GETTEXTLEN:
        return model->Valid(int(wParam)) ? LRESULT(model->items[wParam].text.size()) : LB_ERR;
    case LB_GETITEMDATA:
        return model->Valid(int(wParam)) ? LRESULT(model->items[wParam].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!model->Valid(int(wParam)))
            return LB_ERR;
        model->items[wParam].data = ULONG_PTR(lParam);
        return TRUE;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
        const char* text = reinterpret_cast<const char*>(lParam);
        const int found =
            model->Find(int(LONG_PTR(wParam)), text ? text : "", msg == LB_FINDSTRINGEXACT);
        if (msg == LB_SELECTSTRING && found >= 0)
            SendMessageA(hwnd, LB_SETCURSEL, WPARAM(found), 0);
        return found < 0 ? LB_ERR : found;
    }
    case LB_GETTOPINDEX:
        return model->top;
    case LB_SETTOPINDEX:
        if (!model->Valid(int(wParam)))
            return LB_ERR;
        model->top = int(wParam);
        ListClampTop(*model, Visible(hwnd, *model));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case LB_GETITEMHEIGHT:
        return ListItemHeight(*model);
    case LB_SETITEMHEIGHT:
        model->itemHeight = int(LOWORD(std::uintptr_t(lParam)));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case LB_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        if (!rc || !model->Valid(int(wParam)))
            return LB_ERR;
        const int height = ListItemHeight(*model);
        const RECT client = Client(hwnd);
        const int y = (int(wParam) - model->top) * height;
        *rc = RECT{0, y, client.right, y + height};
        if (ListScrollBarOf(*model, client).shown)
            rc->right -= GetSystemMetrics(SM_CXVSCROLL);
        return 0;
    }
    case LB_ITEMFROMPOINT: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT client = Client(hwnd);
        const int index = model->top + int(pt.y) / ListItemHeight(*model);
        const bool outside = !PtInRect(&client, pt) || !model->Valid(index);
        return MAKELRESULT(WORD(std::clamp(index, 0, std::max(0, model->Count() - 1))),
                           outside ? 1 : 0);
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace kw::user::detail {

void RegisterListBoxClasses() {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS | CS_PARENTDC | CS_GLOBALCLASS;
    wc.lpfnWndProc = &ListBoxProc;
    wc.cbWndExtra = kExtraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "LISTBOX";
    RegisterClassA(&wc);
}

} // namespace kw::user::detail
