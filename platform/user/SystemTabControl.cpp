// The common control "SysTabControl32": one row of tabs above a raised
// display area, where the parent shows the page of the selected tab.
//
// A click on a tab, or Left and Right while the control has the focus,
// selects another tab: the parent is asked first with WM_NOTIFY
// TCN_SELCHANGING (a non-zero answer keeps the current tab), then told
// TCN_SELCHANGE. A click also sends NM_CLICK when the button comes up.
// Keys first go to the parent as TCN_KEYDOWN. Any notification may destroy
// the control.
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
#include <string>
#include <vector>

namespace {

struct Tab {
    std::string text;
    LPARAM param{0};
};

struct TabState {
    std::vector<Tab> tabs;
    int selection{-1};
    HFONT font{nullptr};
    bool focused{false};
};

// The keyboard notification: the key and its flags.
struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey{0};
    UINT flags{0};
};

constexpr int kStateOffset = 0;
constexpr int kExtraBytes = sizeof(LONG_PTR);

// Around a tab's text, and how far the selected tab stands out.
constexpr int kTextPadding = 6;
constexpr int kRaise = 2;

TabState* State(HWND hwnd) {
    return reinterpret_cast<TabState*>(GetWindowLongPtrA(hwnd, kStateOffset));
}
DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}

HFONT FontOf(const TabState& state) {
    return state.font ? state.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int RowHeight(const TabState& state) {
    kw::user::detail::ListModel measure;
    measure.font = state.font;
    return kw::user::detail::ListItemHeight(measure) + 2 * kTextPadding - 2;
}

// The rectangles of the tabs, unselected: side by side from the left,
// `kRaise` pixels below the top.
std::vector<RECT> TabRects(HWND hwnd, const TabState& state) {
    std::vector<RECT> rects;
    HDC hdc = GetDC(hwnd);
    HGDIOBJ old = hdc ? SelectObject(hdc, FontOf(state)) : nullptr;
    const int height = RowHeight(state);
    LONG x = kRaise;
    for (const Tab& tab : state.tabs) {
        SIZE extent{};
        if (hdc && !tab.text.empty()) {
            RECT measured{0, 0, 0, 0};
            DrawText(hdc, tab.text.c_str(), int(tab.text.size()), &measured,
                     DT_SINGLELINE | DT_CALCRECT);
            extent.cx = measured.right - measured.left;
        }
        const LONG width = std::max<LONG>(extent.cx + 2 * kTextPadding, 2 * kTextPadding);
        rects.push_back(RECT{x, kRaise, x + width, height});
        x += width;
    }
    if (hdc) {
        SelectObject(hdc, old);
        ReleaseDC(hwnd, hdc);
    }
    return rects;
}

int HitTest(HWND hwnd, const TabState& state, POINT pt) {
    const std::vector<RECT> rects = TabRects(hwnd, state);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        RECT rc = rects[i];
        if (int(i) == state.selection)
            InflateRect(&rc, kRaise, 0), rc.top -= kRaise;
        if (PtInRect(&rc, pt))
            return int(i);
    }
    return -1;
}

LRESULT Notify(HWND hwnd, UINT code) {
    const HWND parent = GetParent(hwnd);
    if (!parent)
        return 0;
    NMHDR nm;
    nm.hwndFrom = hwnd;
    nm.idFrom = UINT_PTR(GetDlgCtrlID(hwnd));
    nm.code = code;
    return SendMessageA(parent, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// A selection the user asks for.
void Choose(HWND hwnd, int index) {
    TabState* state = State(hwnd);
    if (!state || index < 0 || index >= int(state->tabs.size()) || index == state->selection)
        return;
    if (Notify(hwnd, TCN_SELCHANGING) || !IsWindow(hwnd))
        return;
    state = State(hwnd);
    if (!state || index >= int(state->tabs.size()))
        return;
    state->selection = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, TCN_SELCHANGE);
}

void Paint(HWND hwnd, HDC hdc) {
    TabState* state = State(hwnd);
    if (!state)
        return;
    const int saved = SaveDC(hdc);
    RECT client;
    GetClientRect(hwnd, &client);
    // Only the row of tabs is filled: the display area shows the parent's
    // background and the pages the parent places over it, which would
    // otherwise be painted over (siblings do not clip each other here).
    RECT row = client;
    row.bottom = RowHeight(*state);
    FillRect(hdc, &row, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame = client;
    frame.top = RowHeight(*state);
    DrawEdge(hdc, &frame, EDGE_RAISED, BF_RECT | BF_SOFT);
    SelectObject(hdc, FontOf(*state));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const std::vector<RECT> rects = TabRects(hwnd, *state);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        RECT rc = rects[i];
        const bool selected = int(i) == state->selection;
        if (selected) {
            InflateRect(&rc, kRaise, 0);
            rc.top -= kRaise;
            // The selected tab opens into the display area: no line under it.
            RECT gap{rc.left + 1, rc.bottom - 1, rc.right - 1, rc.bottom + 1};
            FillRect(hdc, &gap, GetSysColorBrush(COLOR_BTNFACE));
        }
        RECT edge = rc;
        DrawEdge(hdc, &edge, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
        const std::string& text = state->tabs[i].text;
        RECT textRc = rc;
        DrawText(hdc, text.c_str(), int(text.size()), &textRc,
                 DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        if (selected && state->focused) {
            RECT focus = rc;
            InflateRect(&focus, -3, -3);
            DrawFocusRect(hdc, &focus);
        }
    }
    RestoreDC(hdc, saved);
}

LRESULT GetItem(const TabState& state, WPARAM index, LPARAM lParam) {
    auto* item = reinterpret_cast<TCITEMA*>(lParam);
    if (!item || index >= state.tabs.size())
        return FALSE;
    const Tab& tab = state.tabs[index];
    if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        const std::size_t n =
            std::min<std::size_t>(tab.text.size(), std::size_t(item->cchTextMax - 1));
        std::memcpy(item->pszText, tab.text.data(), n);
        item->pszText[n] = '\0';
    }
    if (item->mask & TCIF_PARAM)
        item->lParam = tab.param;
    return TRUE;
}

void SetItem(Tab& tab, const TCITEMA& item) {
    if ((item.mask & TCIF_TEXT) && item.pszText)
        tab.text = item.pszText;
    if (item.mask & TCIF_PARAM)
        tab.param = item.lParam;
}

LRESULT TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TabState* state = State(hwnd);
    if (!state && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrA(hwnd, kStateOffset, reinterpret_cast<LONG_PTR>(new TabState));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, kStateOffset, 0);
        delete state;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC hdc) { Paint(hwnd, hdc); });
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(std::uintptr_t(lParam)))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state->focused = msg == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        const int index = HitTest(hwnd, *state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (index < 0)
            return 0;
        if (!(Style(hwnd) & TCS_FOCUSNEVER) && GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd))
                return 0;
        }
        Choose(hwnd, index);
        return 0;
    }
    case WM_LBUTTONUP:
        if (HitTest(hwnd, *state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) >= 0)
            Notify(hwnd, NM_CLICK);
        return 0;
    case WM_KEYDOWN: {
        if (const HWND parent = GetParent(hwnd)) {
            NMTCKEYDOWN nm;
            nm.hdr.hwndFrom = hwnd;
            nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID(hwnd));
            nm.hdr.code = TCN_KEYDOWN;
            nm.wVKey = WORD(wParam);
            SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
            if (!IsWindow(hwnd) || !(state = State(hwnd)))
                return 0;
        }
        if (wParam == VK_LEFT || wParam == VK_UP)
            Choose(hwnd, state->selection - 1);
        else if (wParam == VK_RIGHT || wParam == VK_DOWN)
            Choose(hwnd, state->selection + 1);
        return 0;
    }
    case TCM_GETITEMCOUNT:
        return LRESULT(state->tabs.size());
    case TCM_INSERTITEMA: {
        const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
        if (!item)
            return -1;
        const std::size_t index = std::min<std::size_t>(wParam, state->tabs.size());
        Tab tab;
        SetItem(tab, *item);
        state->tabs.insert(state->tabs.begin() + std::ptrdiff_t(index), tab);
        if (state->selection < 0)
            state->selection = 0;
        else if (state->selection >= int(index))
            ++state->selection;
        InvalidateRect(hwnd, nullptr, TRUE);
        return LRESULT(index);
    }
    case TCM_SETITEMA: {
        const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
        if (!item || wParam >= state->tabs.size())
            return FALSE;
        SetItem(state->tabs[wParam], *item);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case TCM_GETITEMA:
        return GetItem(*state, wParam, lParam);
    case TCM_DELETEITEM:
        if (wParam >= state->tabs.size())
            return FALSE;
        state->tabs.erase(state->tabs.begin() + std::ptrdiff_t(wParam));
        if (state->selection == int(wParam))
            state->selection = -1;
        else if (state->selection > int(wParam))
            --state->selection;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_DELETEALLITEMS:
        state->tabs.clear();
        state->selection = -1;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return state->selection;
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS: {
        const int index = int(LONG_PTR(wParam));
        if (index < 0 || index >= int(state->tabs.size()))
            return -1;
        const int previous = state->selection;
        state->selection = index;
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case TCM_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        const std::vector<RECT> rects = TabRects(hwnd, *state);
        if (!rc || wParam >= rects.size())
            return FALSE;
        *rc = rects[wParam];
        return TRUE;
    }
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        const int index = HitTest(hwnd, *state, info->pt);
        info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEM;
        return index;
    }
    case TCM_ADJUSTRECT: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        if (!rc)
            return 0;
        const int top = RowHeight(*state) + kRaise;
        if (wParam) {
            rc->left -= kRaise, rc->right += kRaise, rc->bottom += kRaise, rc->top -= top;
        } else {
            rc->left += kRaise, rc->right -= kRaise, rc->bottom -= kRaise, rc->top += top;
        }
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace kw::user::detail {

void RegisterTabControlClass() {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &TabProc;
    wc.cbWndExtra = kExtraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_TABCONTROL;
    RegisterClassA(&wc);
}

} // namespace kw::user::detail
