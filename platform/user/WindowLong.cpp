// Window text, window long values and calling window procedures.
#include "platform/user/Window.h"

#include "platform/user/WindowManager.h"

#include <cstring>

using namespace kw::user::detail;

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!FindWindow(hwnd))
        return FALSE;
    return Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (!FindWindow(hwnd) || !buffer || size <= 0)
        return 0;
    buffer[0] = '\0';
    return int(Send(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
    if (!FindWindow(hwnd))
        return 0;
    return int(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace {

template <typename T> bool ExtraValue(Window& w, int index, T** where) {
    if (index < 0 || std::size_t(index) + sizeof(T) > w.extra.size())
        return false;
    *where = reinterpret_cast<T*>(w.extra.data() + index);
    return true;
}

template <typename T> T GetLong(HWND hwnd, int index) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return T(LONG(w->style));
    case GWL_EXSTYLE:
        return T(LONG(w->exStyle));
    case GWLP_WNDPROC:
        return T(reinterpret_cast<std::intptr_t>(w->proc));
    case GWLP_USERDATA:
        return T(w->userData);
    case GWLP_ID:
        return T(w->id);
    case GWLP_HINSTANCE:
        return T(reinterpret_cast<std::intptr_t>(w->instance));
    case GWLP_HWNDPARENT:
        return T(reinterpret_cast<std::intptr_t>(w->parent ? w->parent : w->owner));
    default: {
        T* where = nullptr;
        if (!ExtraValue(*w, index, &where))
            return 0;
        T value;
        std::memcpy(&value, where, sizeof(T));
        return value;
    }
    }
}

template <typename T> T SetLong(HWND hwnd, int index, T value) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return 0;
    // A 32-bit value cannot hold a pointer here, as on the platform's 64-bit
    // systems.
    if (sizeof(T) < sizeof(void*) && (index == GWLP_WNDPROC || index == GWLP_HINSTANCE))
        return 0;
    T previous = GetLong<T>(hwnd, index);
    switch (index) {
    case GWL_STYLE: {
        // Whether a window is a child is fixed at creation.
        const DWORD style = DWORD(LONG(value));
        w->style = (style & ~WS_CHILD) | (w->style & WS_CHILD);
        break;
    }
    case GWL_EXSTYLE:
        w->exStyle = DWORD(LONG(value));
        break;
    case GWLP_WNDPROC:
        if (!value)
            return 0;
        w->proc = reinterpret_cast<WNDPROC>(std::intptr_t(value));
        break;
    case GWLP_USERDATA:
        w->userData = LONG_PTR(value);
        break;
    case GWLP_ID:
        w->id = LONG_PTR(value);
        break;
    case GWLP_HINSTANCE:
        w->instance = reinterpret_cast<HINSTANCE>(std::intptr_t(value));
        break;
    default: {
        T* where = nullptr;
        if (!ExtraValue(*w, index, &where))
            return 0;
        std::memcpy(where, &value, sizeof(T));
        break;
    }
    }
    return previous;
}

} // namespace

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
    return GetLong<LONG_PTR>(hwnd, index);
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    return SetLong<LONG_PTR>(hwnd, index, value);
}

LONG GetWindowLongA(HWND hwnd, int index) {
    return GetLong<LONG>(hwnd, index);
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
    return SetLong<LONG>(hwnd, index, value);
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return 0;
    return proc(hwnd, msg, wParam, lParam);
}
