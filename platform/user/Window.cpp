// Window classes, creation and destruction, the tree, visibility, enabling,
// position and size.
//
// [SECTION] Classes
// [SECTION] Creation
// [SECTION] Destruction
// [SECTION] The window tree
// [SECTION] Visibility and enabling
// [SECTION] Position and size
#include "platform/user/Window.h"

#include "platform/user/Input.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowManager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

using namespace kw::user::detail;

namespace {

std::string ClassKey(const char* name) {
    std::string key(name);
    for (char& c : key)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

std::shared_ptr<WindowClass> FindClass(LPCSTR name) {
    WindowManager& m = Manager();
    if (!name)
        return nullptr;
    if (IS_INTRESOURCE(name)) {
        const auto atom = ATOM(reinterpret_cast<std::uintptr_t>(name));
        for (auto& [key, cls] : m.classes)
            if (cls->atom == atom)
                return cls;
        return nullptr;
    }
    auto it = m.classes.find(ClassKey(name));
    return it == m.classes.end() ? nullptr : it->second;
}

std::vector<HWND>* SiblingList(Window& w) {
    if (w.parent) {
        Window* parent = FindWindow(w.parent);
        return parent ? &parent->children : nullptr;
    }
    return &Manager().topLevels;
}

void Unlink(Window& w) {
    if (std::vector<HWND>* siblings = SiblingList(w))
        std::erase(*siblings, w.hwnd);
}

LPARAM PackPoint(LONG x, LONG y) {
    return MAKELPARAM(WORD(x), WORD(y));
}

// Client origin relative to the parent's client area (screen for top-level
// windows), as WM_MOVE reports it.
POINT ClientOriginInParent(const Window& w) {
    const RECT client = ClientRectInWindow(w);
    return POINT{w.rect.left + client.left, w.rect.top + client.top};
}

void NotifyParents(HWND hwnd, UINT event) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return;
    const WPARAM wParam = MAKEWPARAM(WORD(event), WORD(w->id));
    HWND current = hwnd;
    while (w && w->parent && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        const HWND parent = w->parent;
        Send(parent, WM_PARENTNOTIFY, wParam, reinterpret_cast<LPARAM>(hwnd));
        current = parent;
        w = FindWindow(current);
    }
}

void TellPresenter(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (w && !w->parent)
        if (kw::user::Presenter* presenter = Manager().GetPresenter())
            presenter->TopLevelChanged(hwnd);
}

// Shows or hides without WM_SHOWWINDOW.
void SetVisible(HWND hwnd, bool show) {
    Window* w = FindWindow(hwnd);
    if (!w || bool(w->style & WS_VISIBLE) == show)
        return;
    if (show) {
        w->style |= WS_VISIBLE;
        InvalidateWindow(hwnd, nullptr, true, true);
    } else {
        w->style &= ~WS_VISIBLE;
        w->update = RECT{};
        w->erase = false;
        InvalidateParentArea(hwnd);
        WindowManager& m = Manager();
        if (m.focus && (m.focus == hwnd || IsChild(hwnd, m.focus)))
            SetFocus(w->parent);
    }
    TellPresenter(hwnd);
}

} // namespace

// [SECTION] Classes

namespace {
ATOM NextAtom() {
    static thread_local ATOM next = 0xC000;
    return next++;
}
} // namespace

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc ||
        wc->cbWndExtra < 0 || wc->cbClsExtra < 0)
        return 0;
    WindowManager& m = Manager();
    std::string key = ClassKey(wc->lpszClassName);
    if (key.empty() || m.classes.count(key))
        return 0;
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->info = *wc;
    cls->info.lpszClassName = cls->name.c_str();
    cls->info.lpszMenuName = nullptr;
    cls->atom = NextAtom();
    m.classes.emplace(std::move(key), cls);
    return cls->atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    std::shared_ptr<WindowClass> cls = FindClass(className);
    if (!cls || cls->windows > 0)
        return FALSE;
    Manager().classes.erase(ClassKey(cls->name.c_str()));
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* wc) {
    std::shared_ptr<WindowClass> cls = FindClass(className);
    if (!cls || !wc)
        return FALSE;
    *wc = cls->info;
    return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
    Window* w = FindWindow(hwnd);
    if (!w || !buffer || size <= 0)
        return 0;
    const int n = std::min<int>(size - 1, int(w->cls->name.size()));
    std::memcpy(buffer, w->cls->name.data(), std::size_t(n));
    buffer[n] = '\0';
    return n;
}

// [SECTION] Creation

namespace {
void FreeWindow(HWND hwnd);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param) {
    WindowManager& m = Manager();
    std::shared_ptr<WindowClass> cls = FindClass(className);
    if (!cls)
        return nullptr;
    const bool child = style & WS_CHILD;
    Window* parentWindow = FindWindow(parent);
    if (parent && (!parentWindow || parentWindow->destroying))
        return nullptr;
    if (child && !parentWindow)
        return nullptr;
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : 640;
        height = child ? 0 : 480;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);

    auto window = std::make_unique<Window>();
    Window& w = *window;
    w.hwnd = m.NewHandle();
    const HWND hwnd = w.hwnd;
    w.cls = cls;
    w.proc = cls->info.lpfnWndProc;
    w.style = style & ~WS_VISIBLE;
    w.exStyle = exStyle;
    w.rect = RECT{x, y, x + width, y + height};
    w.instance = instance;
    w.extra.resize(std::size_t(cls->info.cbWndExtra));
    if (child) {
        w.parent = parent;
        w.id = LONG_PTR(reinterpret_cast<std::uintptr_t>(menu));
        parentWindow->children.push_back(hwnd);
    } else {
        w.owner = parent ? TopLevelOf(parent) : nullptr;
        w.surface = std::make_unique<SurfaceBuffer>(width, height, 0xFFFFFF);
        m.topLevels.push_back(hwnd);
    }
    ++cls->windows;
    m.windows.emplace(reinterpret_cast<std::uintptr_t>(hwnd), std::move(window));

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        FreeWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    Window* created = FindWindow(hwnd);
    if (!created)
        return nullptr;
    const RECT client = ClientRectInWindow(*created);
    Send(hwnd, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(WORD(client.right - client.left), WORD(client.bottom - client.top)));
    if (!(created = FindWindow(hwnd)))
        return nullptr;
    const POINT origin = ClientOriginInParent(*created);
    Send(hwnd, WM_MOVE, 0, PackPoint(origin.x, origin.y));
    if (child)
        NotifyParents(hwnd, WM_CREATE);
    if (!IsWindow(hwnd))
        return nullptr;
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    TellPresenter(hwnd);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

// [SECTION] Destruction

namespace {

void MarkDestroying(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return;
    w->destroying = true;
    for (HWND child : w->children)
        MarkDestroying(child);
}

void SendDestroyMessages(HWND hwnd) {
    WindowManager& m = Manager();
    if (!FindWindow(hwnd))
        return;
    if (m.capture == hwnd)
        ReleaseCapture();
    Send(hwnd, WM_DESTROY, 0, 0);
    Window* w = FindWindow(hwnd);
    if (!w)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        SendDestroyMessages(child);
}

void FreeWindow(HWND hwnd) {
    WindowManager& m = Manager();
    Window* w = FindWindow(hwnd);
    if (!w)
        return;
    w->destroying = true;
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        FreeWindow(child);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    if (!(w = FindWindow(hwnd)))
        return;

    KillWindowTimers(hwnd);
    ForgetWindowInInput(hwnd);
    std::erase_if(m.posted, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
    if (m.focus == hwnd)
        m.focus = nullptr;
    if (m.capture == hwnd)
        m.capture = nullptr;
    if (m.active == hwnd)
        m.active = nullptr;
    for (ModalState& loop : m.modalLoops)
        if (loop.hwnd == hwnd && !loop.ended) {
            loop.ended = true;
            loop.result = IDCANCEL;
        }
    const bool topLevel = !w->parent;
    Unlink(*w);
    --w->cls->windows;
    if (topLevel) {
        ReleaseOpenDcs(hwnd);
        for (HWND other : m.topLevels)
            if (Window* o = FindWindow(other); o && o->owner == hwnd)
                o->owner = nullptr;
    }
    m.windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
    if (topLevel)
        if (kw::user::Presenter* presenter = m.GetPresenter())
            presenter->TopLevelDestroyed(hwnd);
}

} // namespace

BOOL DestroyWindow(HWND hwnd) {
    WindowManager& m = Manager();
    Window* w = FindWindow(hwnd);
    if (!w || w->destroying)
        return FALSE;
    if (w->parent)
        NotifyParents(hwnd, WM_DESTROY);
    if (!(w = FindWindow(hwnd)) || w->destroying)
        return TRUE;
    // The windows it owns go first.
    for (bool found = true; found;) {
        found = false;
        for (HWND other : m.topLevels) {
            Window* o = FindWindow(other);
            if (o && o->owner == hwnd && !o->destroying) {
                DestroyWindow(other);
                found = true;
                break;
            }
        }
    }
    if (!(w = FindWindow(hwnd)) || w->destroying)
        return TRUE;
    MarkDestroying(hwnd);
    // Hidden first, as the platform does: the parent repaints where it was and
    // the focus leaves it.
    if (w->style & WS_VISIBLE) {
        w->style &= ~WS_VISIBLE;
        InvalidateParentArea(hwnd);
        if (w->parent)
            TellPresenter(hwnd);
    }
    if (m.focus && (m.focus == hwnd || IsChild(hwnd, m.focus))) {
        Window* parent = FindWindow(w->parent);
        SetFocus(parent && !parent->destroying ? w->parent : nullptr);
    }
    SendDestroyMessages(hwnd);
    FreeWindow(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return FindWindow(hwnd) != nullptr;
}

// [SECTION] The window tree

HWND GetParent(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return nullptr;
    if (w->parent)
        return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND childHandle, HWND newParent) {
    Window* w = FindWindow(childHandle);
    Window* parent = FindWindow(newParent);
    if (!w || !w->parent || !parent || parent->destroying || newParent == childHandle ||
        IsChild(childHandle, newParent))
        return nullptr;
    const HWND oldParent = w->parent;
    const bool visible = w->style & WS_VISIBLE;
    if (visible)
        InvalidateParentArea(childHandle);
    Unlink(*w);
    w->parent = newParent;
    parent->children.push_back(childHandle);
    ReleaseOpenDcs(TopLevelOf(oldParent));
    if (visible)
        InvalidateWindow(childHandle, nullptr, true, true);
    return oldParent;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!FindWindow(parent))
        return FALSE;
    while (w && w->parent) {
        if (w->parent == parent)
            return TRUE;
        w = FindWindow(w->parent);
    }
    return FALSE;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && w->parent ? int(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
    Window* p = FindWindow(parent);
    if (!p)
        return nullptr;
    for (HWND child : p->children)
        if (Window* c = FindWindow(child); c && int(c->id) == id)
            return child;
    return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->parent;
    case GA_ROOT:
        return TopLevelOf(hwnd);
    case GA_ROOTOWNER: {
        HWND root = TopLevelOf(hwnd);
        for (Window* r = FindWindow(root); r && r->owner; r = FindWindow(root))
            root = r->owner;
        return root;
    }
    default:
        return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.back();
    if (cmd == GW_OWNER)
        return w->owner;
    std::vector<HWND>* siblings = SiblingList(*w);
    if (!siblings || siblings->empty())
        return nullptr;
    auto it = std::find(siblings->begin(), siblings->end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST:
        return siblings->back();
    case GW_HWNDLAST:
        return siblings->front();
    case GW_HWNDNEXT: // Next lower in the z-order.
        return it == siblings->begin() || it == siblings->end() ? nullptr : *(it - 1);
    case GW_HWNDPREV:
        return it == siblings->end() || it + 1 == siblings->end() ? nullptr : *(it + 1);
    default:
        return nullptr;
    }
}

// [SECTION] Visibility and enabling

BOOL ShowWindow(HWND hwnd, int cmd) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return FALSE;
    const bool wasVisible = w->style & WS_VISIBLE;
    const bool show = cmd != SW_HIDE;
    if (show == wasVisible || (show && w->destroying))
        return wasVisible;
    Send(hwnd, WM_SHOWWINDOW, show, 0);
    SetVisible(hwnd, show);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    while (w) {
        if (!(w->style & WS_VISIBLE))
            return FALSE;
        if (!w->parent)
            return TRUE;
        w = FindWindow(w->parent);
    }
    return FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    WindowManager& m = Manager();
    Window* w = FindWindow(hwnd);
    if (!w)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        Send(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        Send(hwnd, WM_CANCELMODE, 0, 0);
        if (!(w = FindWindow(hwnd)))
            return FALSE;
        w->style |= WS_DISABLED;
        if (m.focus == hwnd)
            SetFocus(nullptr);
        Send(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && !(w->style & WS_DISABLED);
}

// [SECTION] Position and size

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Window* w = FindWindow(hwnd);
    if (!w)
        return FALSE;
    const RECT old = w->rect;
    RECT next = old;
    if (!(flags & SWP_NOMOVE))
        OffsetRect(&next, x - old.left, y - old.top);
    if (!(flags & SWP_NOSIZE)) {
        next.right = next.left + std::max(width, 0);
        next.bottom = next.top + std::max(height, 0);
    }
    const bool moved = next.left != old.left || next.top != old.top;
    const bool sized = next.right - next.left != old.right - old.left ||
                       next.bottom - next.top != old.bottom - old.top;
    const bool redraw = !(flags & SWP_NOREDRAW) && (w->style & WS_VISIBLE);
    const bool topLevel = !w->parent;

    if (!(flags & SWP_NOZORDER)) {
        std::vector<HWND>* siblings = SiblingList(*w);
        if (siblings &&
            (insertAfter == HWND_TOP || insertAfter == HWND_BOTTOM ||
             std::find(siblings->begin(), siblings->end(), insertAfter) != siblings->end())) {
            if (insertAfter != hwnd) {
                std::erase(*siblings, hwnd);
                if (insertAfter == HWND_TOP)
                    siblings->push_back(hwnd);
                else if (insertAfter == HWND_BOTTOM)
                    siblings->insert(siblings->begin(), hwnd);
                else
                    siblings->insert(std::find(siblings->begin(), siblings->end(), insertAfter),
                                     hwnd);
                if (redraw && !topLevel)
                    InvalidateWindow(hwnd, nullptr, true, true);
            }
        }
    }
    if ((moved || sized) && redraw && !topLevel)
        InvalidateParentArea(hwnd);
    w->rect = next;
    if (sized && topLevel)
        ResizeSurface(*w);
    if (redraw && ((sized) || (moved && !topLevel) || (flags & SWP_FRAMECHANGED)))
        InvalidateWindow(hwnd, nullptr, true, true);
    if (moved) {
        const POINT origin = ClientOriginInParent(*w);
        Send(hwnd, WM_MOVE, 0, PackPoint(origin.x, origin.y));
        if (!(w = FindWindow(hwnd)))
            return TRUE;
    }
    if (sized) {
        const RECT client = ClientRectInWindow(*w);
        Send(hwnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(WORD(client.right - client.left), WORD(client.bottom - client.top)));
        if (!FindWindow(hwnd))
            return TRUE;
    }
    if (flags & SWP_SHOWWINDOW)
        SetVisible(hwnd, true);
    else if (flags & SWP_HIDEWINDOW)
        SetVisible(hwnd, false);
    if (moved || sized)
        TellPresenter(hwnd);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND hwnd, RECT* rc) {
    Window* w = FindWindow(hwnd);
    if (!w || !rc)
        return FALSE;
    Window* top = FindWindow(TopLevelOf(hwnd));
    const POINT origin = WindowOriginInSurface(hwnd);
    const LONG left = top->rect.left + origin.x;
    const LONG topEdge = top->rect.top + origin.y;
    *rc = RECT{left, topEdge, left + (w->rect.right - w->rect.left),
               topEdge + (w->rect.bottom - w->rect.top)};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rc) {
    Window* w = FindWindow(hwnd);
    if (!w || !rc)
        return FALSE;
    const RECT client = ClientRectInWindow(*w);
    *rc = RECT{0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
    if (!FindWindow(hwnd) || !pt)
        return FALSE;
    const POINT origin = ClientOriginOnScreen(hwnd);
    pt->x += origin.x;
    pt->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
    if (!FindWindow(hwnd) || !pt)
        return FALSE;
    const POINT origin = ClientOriginOnScreen(hwnd);
    pt->x -= origin.x;
    pt->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    if ((from && !FindWindow(from)) || (to && !FindWindow(to)))
        return 0;
    const POINT a = from ? ClientOriginOnScreen(from) : POINT{};
    const POINT b = to ? ClientOriginOnScreen(to) : POINT{};
    const LONG dx = a.x - b.x;
    const LONG dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(WORD(dx), WORD(dy));
}
