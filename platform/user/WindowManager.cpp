#include "platform/user/WindowManager.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace kw::user::detail {

WindowManager::WindowManager() = default;

// At thread exit no procedure is called any more; the windows just go.
WindowManager::~WindowManager() = default;

Window* WindowManager::Find(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    auto it = windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == windows.end() ? nullptr : it->second.get();
}

WindowManager& Manager() {
    thread_local WindowManager manager;
    // The system classes exist on every thread from its first call on.
    thread_local bool systemClasses = false;
    if (!systemClasses) {
        systemClasses = true;
        RegisterSystemClasses();
    }
    return manager;
}

Window* FindWindow(HWND hwnd) {
    return Manager().Find(hwnd);
}

HWND TopLevelOf(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    while (w && w->parent) {
        hwnd = w->parent;
        w = FindWindow(hwnd);
    }
    return w ? hwnd : nullptr;
}

int FrameWidth(const Window& w) {
    if (!w.parent)
        return 0;
    int frame = 0;
    if ((w.style & WS_BORDER) || (w.exStyle & WS_EX_STATICEDGE))
        frame += 1;
    if (w.exStyle & WS_EX_CLIENTEDGE)
        frame += 2;
    return frame;
}

RECT ClientRectInWindow(const Window& w) {
    const int frame = FrameWidth(w);
    const LONG width = w.rect.right - w.rect.left;
    const LONG height = w.rect.bottom - w.rect.top;
    RECT rc{frame, frame, std::max<LONG>(frame, width - frame),
            std::max<LONG>(frame, height - frame)};
    return rc;
}

POINT WindowOriginInSurface(HWND hwnd) {
    POINT origin{};
    Window* w = FindWindow(hwnd);
    while (w && w->parent) {
        Window* parent = FindWindow(w->parent);
        if (!parent)
            break;
        const RECT client = ClientRectInWindow(*parent);
        origin.x += w->rect.left + client.left;
        origin.y += w->rect.top + client.top;
        w = parent;
    }
    return origin;
}

POINT ClientOriginInSurface(HWND hwnd) {
    POINT origin = WindowOriginInSurface(hwnd);
    if (Window* w = FindWindow(hwnd)) {
        const RECT client = ClientRectInWindow(*w);
        origin.x += client.left;
        origin.y += client.top;
    }
    return origin;
}

POINT ClientOriginOnScreen(HWND hwnd) {
    POINT origin = ClientOriginInSurface(hwnd);
    if (Window* top = FindWindow(TopLevelOf(hwnd))) {
        origin.x += top->rect.left;
        origin.y += top->rect.top;
    }
    return origin;
}

RECT VisibleRectInSurface(HWND hwnd, bool client) {
    Window* w = FindWindow(hwnd);
    if (!w || !IsWindowVisible(hwnd))
        return RECT{};
    RECT area = client ? ClientRectInWindow(*w)
                       : RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    const POINT origin = WindowOriginInSurface(hwnd);
    OffsetRect(&area, origin.x, origin.y);
    for (HWND parent = w->parent; parent;) {
        Window* p = FindWindow(parent);
        if (!p)
            return RECT{};
        RECT parentClient = ClientRectInWindow(*p);
        const POINT parentOrigin = WindowOriginInSurface(parent);
        OffsetRect(&parentClient, parentOrigin.x, parentOrigin.y);
        if (!IntersectRect(&area, &area, &parentClient))
            return RECT{};
        parent = p->parent;
    }
    return area;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindow(hwnd);
    if (!w || !w->proc)
        return 0;
    return w->proc(hwnd, msg, wParam, lParam);
}

} // namespace kw::user::detail

namespace kw::user {

using namespace detail;

Backend InstallBackend(const Backend& backend) {
    WindowManager& m = Manager();
    Backend previous = m.m_backend;
    m.m_backend = backend;
    return previous;
}

void ResetThreadState() {
    WindowManager& m = Manager();
    // Destroy top-level windows from the top; each destroys its own tree.
    for (int guard = 0; !m.topLevels.empty() && guard < 100000; ++guard)
        DestroyWindow(m.topLevels.back());
    m.posted.clear();
    m.input.clear();
    m.quitPending = false;
    m.quitCode = 0;
    m.preTranslate = nullptr;
    m.timers.clear();
    ResetInputState();
    for (const OpenDc& dc : m.openDcs)
        DeleteDC(dc.hdc);
    m.openDcs.clear();
    m.modalHandler = ModalUiHandler{};
    m.modalLog = ModalUiLog{};
    m.modalLoops.clear();
}

bool TopLevelSurface(HWND hwnd, PixelSurface* surface) {
    Window* w = FindWindow(hwnd);
    if (!w || w->parent || !w->surface || !surface)
        return false;
    *surface = w->surface->View();
    return true;
}

} // namespace kw::user
