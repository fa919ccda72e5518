// A control's property frame for scripts: properties(c) opens it. Headless
// it returns a frame object the script drives as a user would (tabs, items
// by id, typing, check boxes, lists, buttons, snapshots); with a display it
// runs the real modal frame. allowproperties() lets a user of the window
// open a control's frame with Alt+Enter or a Ctrl+double-click.
//
// [SECTION] Pages and objects
// [SECTION] The frame object
// [SECTION] Opening by the user
// [SECTION] Registration
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"
#include "platform/afx/PropertyFrame.h"
#include "platform/base/Windows1252.h"
#include "platform/com/ComLoader.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kw::container {

namespace {

// [SECTION] Pages and objects

// The pages of a control, in the order of its page list; a page class that
// cannot be created (a stock page this platform lacks) is left out with a
// note, as the frame itself does.
std::vector<ComPtr<IPropertyPage>> PagesOf(IDispatch* control) {
    std::vector<ComPtr<IPropertyPage>> pages;
    ComPtr<ISpecifyPropertyPages> specify;
    if (FAILED(control->QueryInterface(IID_ISpecifyPropertyPages, specify.OutVoid())))
        return pages;
    CAUUID ids;
    if (FAILED(specify->GetPages(&ids)))
        return pages;
    for (const GUID& id : ids.elems) {
        ComPtr<IPropertyPage> page;
        const HRESULT hr =
            CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.OutVoid());
        if (FAILED(hr)) {
            std::fprintf(stderr, "properties: page %s cannot be created (%s); it is left out\n",
                         StringFromGuid(id).c_str(), HResultText(hr).c_str());
            continue;
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<IPropertyPage*> Raw(const std::vector<ComPtr<IPropertyPage>>& pages) {
    std::vector<IPropertyPage*> raw;
    for (const auto& page : pages)
        raw.push_back(page.Get());
    return raw;
}

std::string WindowText(HWND hwnd) {
    char buffer[1024]{};
    GetWindowTextA(hwnd, buffer, int(sizeof buffer));
    return AnsiToUtf8(buffer);
}

std::string ClassOf(HWND hwnd) {
    char buffer[64]{};
    GetClassNameA(hwnd, buffer, int(sizeof buffer));
    return buffer;
}

// A button's text as read: without the '&' that marks its mnemonic.
std::string Plain(std::string text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

// [SECTION] The frame object

constexpr const char* kFrameMeta = "kestrowidge.frame";

struct ScriptFrame {
    std::unique_ptr<CSteppedPropertyFrame> frame;
    std::vector<ComPtr<IPropertyPage>> pages;
    std::vector<std::string> titles;
    std::string name; // "SpinEdit1 Properties"
};

ScriptFrame& Self(lua_State* L, const char* method) {
    auto* self = static_cast<ScriptFrame*>(luaL_testudata(L, 1, kFrameMeta));
    if (!self)
        Fail(std::string("frame:") + method + ": call it with ':' on a frame from properties()");
    return *self;
}

// The frame, still open.
HWND OpenFrame(ScriptFrame& self, const char* method) {
    if (!self.frame || self.frame->IsEnded() || !IsWindow(self.frame->GetSafeHwnd()))
        Fail(std::string("frame:") + method + ": " + self.name + " is closed");
    return self.frame->GetSafeHwnd();
}

HWND TabControl(HWND frame) {
    return GetDlgItem(frame, AFX_IDC_TAB_CONTROL);
}

// The window of the page on show.
HWND CurrentPage(HWND frame) {
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (child != TabControl(frame) && IsWindowVisible(child) && GetWindow(child, GW_CHILD) &&
            ClassOf(child) != "BUTTON")
            return child;
    return nullptr;
}

// An item of the page on show, or of the frame itself (OK, Cancel, Apply).
HWND FindItem(HWND frame, int id) {
    if (const HWND page = CurrentPage(frame))
        if (const HWND item = GetDlgItem(page, id))
            return item;
    if (id == AFX_IDC_TAB_CONTROL)
        return nullptr;
    return GetDlgItem(frame, id);
}

HWND ArgItem(lua_State* L, ScriptFrame& self, const char* method) {
    const HWND frame = OpenFrame(self, method);
    const lua_Integer id = ArgInteger(L, 2, (std::string("frame:") + method).c_str(), "id");
    const HWND item = FindItem(frame, int(id));
    if (!item)
        Fail("frame:" + std::string(method) + ": the page on show has no item " +
             std::to_string(id));
    return item;
}

void RequireEnabled(HWND item, const char* method, const std::string& what) {
    if (!IsWindowEnabled(item))
        Fail(std::string("frame:") + method + ": " + what + " is disabled");
}

void Settle(lua_State* L) {
    CContainer::From(L).Settle();
}

int Tabs(lua_State* L) {
    ScriptFrame& self = Self(L, "tabs");
    lua_createtable(L, int(self.titles.size()), 0);
    for (std::size_t i = 0; i < self.titles.size(); ++i) {
        lua_pushstring(L, self.titles[i].c_str());
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

int Tab(lua_State* L) {
    ScriptFrame& self = Self(L, "tab");
    const HWND frame = OpenFrame(self, "tab");
    const int current = int(SendMessageA(TabControl(frame), TCM_GETCURSEL, 0, 0));
    lua_pushinteger(L, current + 1);
    lua_pushstring(L, current >= 0 && current < int(self.titles.size())
                          ? self.titles[std::size_t(current)].c_str()
                          : "");
    return 2;
}

// select(n) or select("Layout"): a click on the tab.
int Select(lua_State* L) {
    ScriptFrame& self = Self(L, "select");
    const HWND frame = OpenFrame(self, "select");
    int index = -1;
    if (lua_type(L, 2) == LUA_TNUMBER) {
        index = int(ArgInteger(L, 2, "frame:select", "tab")) - 1;
    } else {
        const std::string title = ArgString(L, 2, "frame:select", "tab");
        for (std::size_t i = 0; i < self.titles.size(); ++i)
            if (self.titles[i] == title)
                index = int(i);
    }
    if (index < 0 || index >= int(self.titles.size()))
        Fail("frame:select: " + self.name + " has no such tab (it has " +
             std::to_string(self.titles.size()) + ")");
    const HWND tab = TabControl(frame);
    RECT rc{};
    SendMessageA(tab, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&rc));
    auto& session = CContainer::From(L).Session();
    session.MouseMove(tab, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    session.Click();
    Settle(L);
    return 0;
}

// item(id): what the item is and shows, nil when the page on show lacks it.
int Item(lua_State* L) {
    ScriptFrame& self = Self(L, "item");
    const HWND frame = OpenFrame(self, "item");
    const HWND item = FindItem(frame, int(ArgInteger(L, 2, "frame:item", "id")));
    if (!item) {
        lua_pushnil(L);
        return 1;
    }
    lua_createtable(L, 0, 5);
    lua_pushstring(L, ClassOf(item).c_str());
    lua_setfield(L, -2, "class");
    lua_pushstring(L, WindowText(item).c_str());
    lua_setfield(L, -2, "text");
    lua_pushboolean(L, IsWindowEnabled(item));
    lua_setfield(L, -2, "enabled");
    lua_pushboolean(L, IsWindowVisible(item));
    lua_setfield(L, -2, "visible");
    if (ClassOf(item) == "BUTTON") {
        lua_pushboolean(L, SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED);
        lua_setfield(L, -2, "checked");
    }
    return 1;
}

// text(id) reads an item's text; text(id, "new") types it over the old.
int Text(lua_State* L) {
    ScriptFrame& self = Self(L, "text");
    const HWND item = ArgItem(L, self, "text");
    if (lua_isnoneornil(L, 3)) {
        const std::string cls = ClassOf(item);
        std::string text = WindowText(item);
        if (cls == "COMBOBOX" || cls == "LISTBOX") {
            const bool combo = cls == "COMBOBOX";
            const LRESULT sel = SendMessageA(item, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
            char buffer[512]{};
            if (sel >= 0)
                SendMessageA(item, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(sel),
                             reinterpret_cast<LPARAM>(buffer));
            text = AnsiToUtf8(buffer);
        }
        lua_pushstring(L, text.c_str());
        return 1;
    }
    const std::string text = ArgString(L, 3, "frame:text", "text");
    RequireEnabled(item, "text", "item " + std::to_string(GetDlgCtrlID(item)));
    auto& session = CContainer::From(L).Session();
    SetFocus(item);
    SendMessageA(item, EM_SETSEL, 0, -1);
    session.Type(Utf8ToAnsi(text));
    Settle(L);
    return 0;
}

// check(id) tells whether a box is checked; check(id, on) clicks it when it
// is not as wanted.
int Check(lua_State* L) {
    ScriptFrame& self = Self(L, "check");
    const HWND item = ArgItem(L, self, "check");
    const bool checked = SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (!lua_isnoneornil(L, 3)) {
        luaL_checktype(L, 3, LUA_TBOOLEAN);
        if (bool(lua_toboolean(L, 3)) != checked) {
            RequireEnabled(item, "check", "item " + std::to_string(GetDlgCtrlID(item)));
            SendMessageA(item, BM_CLICK, 0, 0);
            Settle(L);
        }
    }
    lua_pushboolean(L, SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return 1;
}

// choose(id, n) or choose(id, "text"): picks an entry of a drop-down list or
// list box with the keyboard, as a user does.
int Choose(lua_State* L) {
    ScriptFrame& self = Self(L, "choose");
    const HWND item = ArgItem(L, self, "choose");
    const std::string cls = ClassOf(item);
    if (cls != "COMBOBOX" && cls != "LISTBOX")
        Fail("frame:choose: item " + std::to_string(GetDlgCtrlID(item)) + " is a " + cls +
             ", not a list");
    const bool combo = cls == "COMBOBOX";
    const int count = int(SendMessageA(item, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    int index = -1;
    if (lua_type(L, 3) == LUA_TNUMBER) {
        index = int(ArgInteger(L, 3, "frame:choose", "entry")) - 1;
    } else {
        const std::string wanted = Utf8ToAnsi(ArgString(L, 3, "frame:choose", "entry"));
        for (int i = 0; i < count && index < 0; ++i) {
            char buffer[512]{};
            SendMessageA(item, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i),
                         reinterpret_cast<LPARAM>(buffer));
            if (wanted == buffer)
                index = i;
        }
    }
    if (index < 0 || index >= count)
        Fail("frame:choose: item " + std::to_string(GetDlgCtrlID(item)) +
             " has no such entry (it has " + std::to_string(count) + ")");
    RequireEnabled(item, "choose", "item " + std::to_string(GetDlgCtrlID(item)));
    auto& session = CContainer::From(L).Session();
    SetFocus(item);
    session.Key(VK_HOME);
    for (int i = 0; i < index; ++i)
        session.Key(VK_DOWN);
    Settle(L);
    return 0;
}

// press("OK"), press("Apply"), press("...") or press(id): a click on a
// button of the frame or of the page on show.
int Press(lua_State* L) {
    ScriptFrame& self = Self(L, "press");
    const HWND frame = OpenFrame(self, "press");
    HWND button = nullptr;
    std::string what;
    if (lua_type(L, 2) == LUA_TNUMBER) {
        button = FindItem(frame, int(ArgInteger(L, 2, "frame:press", "button")));
        what = "button " + std::to_string(lua_tointeger(L, 2));
    } else {
        what = ArgString(L, 2, "frame:press", "button");
        const std::string wanted = Utf8ToAnsi(what);
        for (HWND parent : {CurrentPage(frame), frame}) {
            for (HWND child = parent ? GetWindow(parent, GW_CHILD) : nullptr; child && !button;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                char text[256]{};
                GetWindowTextA(child, text, int(sizeof text));
                if (ClassOf(child) == "BUTTON" && Plain(text) == wanted)
                    button = child;
            }
            if (button)
                break;
        }
        what = "\"" + what + "\"";
    }
    if (!button)
        Fail("frame:press: " + self.name + " shows no button " + what);
    RequireEnabled(button, "press", what);
    SendMessageA(button, BM_CLICK, 0, 0);
    Settle(L);
    return 0;
}

// "OK" or "Cancel" once the frame has ended, nil while it is open.
int Result(lua_State* L) {
    ScriptFrame& self = Self(L, "result");
    int result = 0;
    if (!self.frame) {
        lua_pushstring(L, "Cancel");
    } else if (self.frame->IsEnded(&result)) {
        lua_pushstring(L, result == IDOK ? "OK" : "Cancel");
    } else {
        lua_pushnil(L);
    }
    return 1;
}

int Snapshot(lua_State* L) {
    ScriptFrame& self = Self(L, "snapshot");
    const HWND frame = OpenFrame(self, "snapshot");
    const std::string path = ArgString(L, 2, "frame:snapshot", "path");
    Settle(L);
    std::error_code ec;
    if (const auto parent = std::filesystem::path(path).parent_path(); !parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (!CContainer::From(L).Session().Snapshot(frame, path))
        Fail("frame:snapshot: cannot write the picture of " + self.name + " to \"" + path + "\"");
    return 0;
}

void CloseFrame(ScriptFrame& self) {
    if (self.frame)
        self.frame->Close();
    self.frame.reset();
    self.pages.clear();
}

// Closes the frame; a frame still open closes as Cancel would.
int Close(lua_State* L) {
    ScriptFrame& self = Self(L, "close");
    CloseFrame(self);
    Settle(L);
    return 0;
}

int Collect(lua_State* L) {
    auto* self = static_cast<ScriptFrame*>(luaL_testudata(L, 1, kFrameMeta));
    if (self) {
        CloseFrame(*self);
        self->~ScriptFrame();
    }
    return 0;
}

int ToString(lua_State* L) {
    ScriptFrame& self = Self(L, "tostring");
    lua_pushstring(L, ("frame " + self.name).c_str());
    return 1;
}

void PushFrameMeta(lua_State* L) {
    if (luaL_newmetatable(L, kFrameMeta)) {
        const luaL_Reg methods[] = {
            {"tabs", &LuaEntry<Tabs>},     {"tab", &LuaEntry<Tab>},
            {"select", &LuaEntry<Select>}, {"item", &LuaEntry<Item>},
            {"text", &LuaEntry<Text>},     {"check", &LuaEntry<Check>},
            {"choose", &LuaEntry<Choose>}, {"press", &LuaEntry<Press>},
            {"result", &LuaEntry<Result>}, {"snapshot", &LuaEntry<Snapshot>},
            {"close", &LuaEntry<Close>},   {nullptr, nullptr},
        };
        luaL_newlib(L, methods);
        lua_setfield(L, -2, "__index");
        lua_pushcfunction(L, &Collect);
        lua_setfield(L, -2, "__gc");
        lua_pushcfunction(L, &LuaEntry<ToString>);
        lua_setfield(L, -2, "__tostring");
    }
}

bool HasDisplay(lua_State* L) {
    lua_getglobal(L, "gui");
    const bool gui = !lua_isnil(L, -1);
    lua_pop(L, 1);
    return gui;
}

// The real modal frame over the form; "OK" or "Cancel".
std::string RunModalFrame(CContainer& container, const std::string& name,
                          std::vector<IUnknown*> objects) {
    const auto pages = PagesOf(static_cast<IDispatch*>(objects.front()));
    if (pages.empty())
        Fail("properties: " + name + " has no property page that can be shown");
    const auto raw = Raw(pages);
    int result = IDCANCEL;
    const HRESULT hr = AfxRunPropertyFrame(container.Form(), name.c_str(), objects, raw, &result);
    if (FAILED(hr))
        Fail("properties: the frame of " + name + " cannot be shown: " + HResultText(hr));
    container.Settle();
    return result == IDOK ? "OK" : "Cancel";
}

// properties(c [, c2, ...]): the frame over one or more controls, with the
// pages of the first.
int Properties(lua_State* L) {
    CContainer& container = CContainer::From(L);
    const int n = lua_gettop(L);
    if (n < 1)
        Fail("properties: give the control whose properties to show");
    std::vector<IUnknown*> objects;
    std::string name;
    for (int i = 1; i <= n; ++i) {
        CControlSite& site = ArgControl(L, i, "properties");
        objects.push_back(site.Dispatch());
        if (i == 1)
            name = site.Name();
    }
    if (HasDisplay(L)) {
        const std::string result = RunModalFrame(container, name, objects);
        lua_pushstring(L, result.c_str());
        return 1;
    }
    auto pages = PagesOf(static_cast<IDispatch*>(objects.front()));
    if (pages.empty())
        Fail("properties: " + name + " has no property page that can be shown");
    const auto raw = Raw(pages);
    auto frame = CSteppedPropertyFrame::Open(container.Form(), name.c_str(), objects, raw);
    if (!frame)
        Fail("properties: the frame of " + name + " cannot be shown");
    container.Settle();
    auto* self = static_cast<ScriptFrame*>(lua_newuserdatauv(L, sizeof(ScriptFrame), 0));
    new (self) ScriptFrame{};
    self->name = name + " Properties";
    for (IPropertyPage* page : frame->Pages()) {
        PROPPAGEINFO info;
        page->GetPageInfo(&info);
        self->titles.push_back(AnsiToUtf8(info.title));
    }
    self->frame = std::move(frame);
    self->pages = std::move(pages);
    PushFrameMeta(L);
    lua_setmetatable(L, -2);
    return 1;
}

// [SECTION] Opening by the user

struct UserOpening {
    CContainer* container{nullptr};
    std::map<HWND, WNDPROC> procs;
    bool open{false};
};

UserOpening& Opening() {
    static UserOpening opening;
    return opening;
}

void OpenFromUser(HWND control) {
    UserOpening& opening = Opening();
    if (opening.open || !opening.container)
        return;
    for (const auto& site : opening.container->Sites()) {
        if (site->Hwnd() != control || !site->Dispatch())
            continue;
        opening.open = true;
        const std::string name = site->Name();
        std::printf("properties: %s open\n", name.c_str());
        std::fflush(stdout);
        std::string result;
        try {
            result = RunModalFrame(*opening.container, name, {site->Dispatch()});
        } catch (const ScriptError& e) {
            result = e.what();
        }
        std::printf("properties: %s %s\n", name.c_str(), result.c_str());
        std::fflush(stdout);
        opening.open = false;
        return;
    }
}

LRESULT OpeningProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    UserOpening& opening = Opening();
    const auto it = opening.procs.find(hwnd);
    if (it == opening.procs.end())
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC previous = it->second;
    const bool altEnter = (msg == WM_SYSKEYDOWN || msg == WM_KEYDOWN) && wParam == VK_RETURN &&
                          GetKeyState(VK_MENU) < 0;
    const bool ctrlDoubleClick = msg == WM_LBUTTONDBLCLK && GetKeyState(VK_CONTROL) < 0;
    if (altEnter || ctrlDoubleClick) {
        OpenFromUser(hwnd);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        opening.procs.erase(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

// allowproperties(): from now on the user opens the frame of any control in
// the form with Alt+Enter while it has the focus, or with a double-click
// while Ctrl is held. It takes the controls present when it is called.
int AllowProperties(lua_State* L) {
    CContainer& container = CContainer::From(L);
    UserOpening& opening = Opening();
    opening.container = &container;
    int count = 0;
    for (const auto& site : container.Sites()) {
        const HWND hwnd = site->Hwnd();
        if (!hwnd || !IsWindow(hwnd) || opening.procs.count(hwnd))
            continue;
        opening.procs[hwnd] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OpeningProc)));
        ++count;
    }
    lua_pushinteger(L, count);
    return 1;
}

} // namespace

// [SECTION] Registration

void RegisterPropertyFunctions(lua_State* L) {
    lua_register(L, "properties", &LuaEntry<Properties>);
    lua_register(L, "allowproperties", &LuaEntry<AllowProperties>);
}

} // namespace kw::container
