// Cursors and system metrics.
//
// [SECTION] Cursors
// [SECTION] System metrics
#include "platform/user/Input.h"

#include "platform/user/WindowManager.h"

#include <algorithm>

using namespace kw::user::detail;

// [SECTION] Cursors

namespace {

constexpr WORD kSystemCursors[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                   32644, 32645, 32646, 32648, 32649, 32650, 32651};
constexpr std::uintptr_t kCursorBase = 0x7C000000;

bool IsSystemCursorId(WORD id) {
    return std::find(std::begin(kSystemCursors), std::end(kSystemCursors), id) !=
           std::end(kSystemCursors);
}

} // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance || !name || !IS_INTRESOURCE(name))
        return nullptr;
    const auto id = WORD(reinterpret_cast<std::uintptr_t>(name));
    if (!IsSystemCursorId(id))
        return nullptr;
    return reinterpret_cast<HCURSOR>(kCursorBase + id);
}

namespace kw::user {
WORD SystemCursorId(HCURSOR cursor) {
    const auto value = reinterpret_cast<std::uintptr_t>(cursor);
    if (value <= kCursorBase || value > kCursorBase + 0xFFFF)
        return 0;
    const auto id = WORD(value - kCursorBase);
    return IsSystemCursorId(id) ? id : 0;
}
} // namespace kw::user

HCURSOR SetCursor(HCURSOR cursor) {
    WindowManager& m = Manager();
    if (cursor && !kw::user::SystemCursorId(cursor))
        return nullptr;
    const HCURSOR previous = m.cursor;
    if (cursor != previous) {
        m.cursor = cursor;
        if (kw::user::Presenter* presenter = m.GetPresenter())
            presenter->CursorChanged(cursor);
    }
    return previous;
}

HCURSOR GetCursor() {
    return Manager().cursor;
}

// [SECTION] System metrics

int GetSystemMetrics(int index) {
    WindowManager& m = Manager();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        SIZE size{1024, 768};
        if (kw::user::Presenter* presenter = m.GetPresenter())
            size = presenter->ScreenSize();
        return index == SM_CXSCREEN ? size.cx : size.cy;
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 16;
    case SM_CYCAPTION:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CMOUSEBUTTONS:
        return 3;
    case SM_MOUSEWHEELPRESENT:
        return TRUE;
    case SM_SWAPBUTTON:
    default:
        return 0;
    }
}

UINT GetDoubleClickTime() {
    return 500;
}
