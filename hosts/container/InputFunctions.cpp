// Input to a control, in its client coordinates, as a user would give it:
// mouse, keyboard, focus, enabling and placing.
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"
#include "platform/base/Windows1252.h"
#include "platform/user/Backend.h"
#include "platform/user/User.h"

#include <array>
#include <cctype>

namespace kw::container {

namespace {

using kw::user::MouseButton;

struct KeyName {
    const char* name;
    BYTE vk;
};
constexpr std::array<KeyName, 45> kKeyNames{{
    {"VK_BACK", VK_BACK},
    {"VK_TAB", VK_TAB},
    {"VK_RETURN", VK_RETURN},
    {"VK_SHIFT", VK_SHIFT},
    {"VK_CONTROL", VK_CONTROL},
    {"VK_MENU", VK_MENU},
    {"VK_ESCAPE", VK_ESCAPE},
    {"VK_SPACE", VK_SPACE},
    {"VK_PRIOR", VK_PRIOR},
    {"VK_NEXT", VK_NEXT},
    {"VK_END", VK_END},
    {"VK_HOME", VK_HOME},
    {"VK_LEFT", VK_LEFT},
    {"VK_UP", VK_UP},
    {"VK_RIGHT", VK_RIGHT},
    {"VK_DOWN", VK_DOWN},
    {"VK_INSERT", VK_INSERT},
    {"VK_DELETE", VK_DELETE},
    {"VK_NUMPAD0", VK_NUMPAD0},
    {"VK_NUMPAD1", VK_NUMPAD1},
    {"VK_NUMPAD2", VK_NUMPAD2},
    {"VK_NUMPAD3", VK_NUMPAD3},
    {"VK_NUMPAD4", VK_NUMPAD4},
    {"VK_NUMPAD5", VK_NUMPAD5},
    {"VK_NUMPAD6", VK_NUMPAD6},
    {"VK_NUMPAD7", VK_NUMPAD7},
    {"VK_NUMPAD8", VK_NUMPAD8},
    {"VK_NUMPAD9", VK_NUMPAD9},
    {"VK_MULTIPLY", VK_MULTIPLY},
    {"VK_ADD", VK_ADD},
    {"VK_SUBTRACT", VK_SUBTRACT},
    {"VK_DECIMAL", VK_DECIMAL},
    {"VK_DIVIDE", VK_DIVIDE},
    {"VK_F1", VK_F1},
    {"VK_F2", VK_F2},
    {"VK_F3", VK_F3},
    {"VK_F4", VK_F4},
    {"VK_F5", VK_F5},
    {"VK_F6", VK_F6},
    {"VK_F7", VK_F7},
    {"VK_F8", VK_F8},
    {"VK_F9", VK_F9},
    {"VK_F10", VK_F10},
    {"VK_OEM_PLUS", VK_OEM_PLUS},
    {"VK_OEM_MINUS", VK_OEM_MINUS},
}};

// Modifier keys held around an action.
class HeldModifiers {
public:
    HeldModifiers(lua_State* L, int opts, const char* function, CContainer& container)
        : m_session(container.Session()) {
        if (OptBoolField(L, opts, "shift", function))
            Hold(VK_SHIFT);
        if (OptBoolField(L, opts, "ctrl", function))
            Hold(VK_CONTROL);
        if (OptBoolField(L, opts, "alt", function))
            Hold(VK_MENU);
    }
    ~HeldModifiers() {
        for (auto it = m_held.rbegin(); it != m_held.rend(); ++it)
            m_session.KeyUp(*it);
    }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;
    bool Shift() const {
        for (BYTE vk : m_held)
            if (vk == VK_SHIFT)
                return true;
        return false;
    }

private:
    void Hold(BYTE vk) {
        m_session.KeyDown(vk);
        m_held.push_back(vk);
    }
    kw::headless::HeadlessSession& m_session;
    std::vector<BYTE> m_held;
};

// Mouse buttons held around an action: option `buttons`, a string of the
// letters l, r and m. Buttons not already down are pressed where the pointer
// is before the action and released after it, so a move with
// {buttons = "l"} drags from the current point to the new one.
class HeldButtons {
public:
    HeldButtons(lua_State* L, int opts, CContainer& container) : m_session(container.Session()) {
        if (lua_isnoneornil(L, opts))
            return;
        lua_getfield(L, opts, "buttons");
        if (lua_isnil(L, -1)) {
            lua_pop(L, 1);
            return;
        }
        if (lua_type(L, -1) != LUA_TSTRING)
            Fail("mouse: option buttons must be a string of l, r and m");
        const std::string letters = lua_tostring(L, -1);
        lua_pop(L, 1);
        for (char c : letters) {
            if (c != 'l' && c != 'r' && c != 'm')
                Fail("mouse: option buttons may hold only the letters l, r and m");
            const MouseButton b = c == 'l'   ? MouseButton::Left
                                  : c == 'r' ? MouseButton::Right
                                             : MouseButton::Middle;
            const BYTE vk = c == 'l' ? VK_LBUTTON : c == 'r' ? VK_RBUTTON : VK_MBUTTON;
            if (GetAsyncKeyState(vk) < 0)
                continue; // already down
            m_session.MouseDown(b);
            m_held.push_back(b);
        }
    }
    ~HeldButtons() {
        for (auto it = m_held.rbegin(); it != m_held.rend(); ++it)
            m_session.MouseUp(*it);
    }
    HeldButtons(const HeldButtons&) = delete;
    HeldButtons& operator=(const HeldButtons&) = delete;

private:
    kw::headless::HeadlessSession& m_session;
    std::vector<MouseButton> m_held;
};

int Mouse(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "mouse");
    const std::string action = ArgString(L, 2, "mouse", "action");
    const lua_Integer x = ArgInteger(L, 3, "mouse", "x");
    const lua_Integer y = ArgInteger(L, 4, "mouse", "y");
    CheckOptTable(L, 5, "mouse", "opts");
    if (x < -10000 || x > 10000 || y < -10000 || y > 10000)
        Fail("mouse: the point must lie within -10000..10000");
    const lua_Integer delta = OptField(L, 5, "delta", 120, "mouse");
    if (delta < -0x7FFF || delta > 0x7FFF)
        Fail("mouse: option delta must lie within -32767..32767");

    MouseButton button = MouseButton::Left;
    std::string verb = action;
    if (action.size() > 1 && (action[0] == 'l' || action[0] == 'r' || action[0] == 'm') &&
        action != "move") {
        button = action[0] == 'l'   ? MouseButton::Left
                 : action[0] == 'r' ? MouseButton::Right
                                    : MouseButton::Middle;
        verb = action.substr(1);
    }
    if (verb != "move" && verb != "down" && verb != "up" && verb != "click" && verb != "dbl" &&
        verb != "wheel")
        Fail("mouse: unknown action \"" + action +
             "\" (move, ldown, lup, lclick, ldbl, rdown, rup, rclick, rdbl, mdown, mup, wheel)");

    CContainer& container = CContainer::From(L);
    auto& session = container.Session();
    {
        HeldModifiers modifiers(L, 5, "mouse", container);
        HeldButtons buttons(L, 5, container);
        session.MouseMove(site.Hwnd(), int(x), int(y));
        if (verb == "down")
            session.MouseDown(button);
        else if (verb == "up")
            session.MouseUp(button);
        else if (verb == "click")
            session.Click(button);
        else if (verb == "dbl")
            session.DoubleClick(button);
        else if (verb == "wheel")
            kw::user::InjectMouseWheel(int(delta));
        session.Pump();
    }
    container.Settle();
    return 0;
}

// The virtual key of a key name or character; 0 when there is none.
BYTE VirtualKey(const std::string& key) {
    std::string upper = key;
    for (auto& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& row : kKeyNames)
        if (upper == row.name)
            return row.vk;
    if (key.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(upper[0]);
        if (std::isalnum(c))
            return c;
        switch (c) {
        case ' ':
            return VK_SPACE;
        case '\r':
        case '\n':
            return VK_RETURN;
        case '\t':
            return VK_TAB;
        case '+':
            return VK_OEM_PLUS;
        case '-':
            return VK_OEM_MINUS;
        case ',':
            return VK_OEM_COMMA;
        case '.':
            return VK_OEM_PERIOD;
        default:
            break;
        }
    }
    return 0;
}

// The character a key press types, 0 for none.
BYTE TypedCharacter(BYTE vk, const std::string& key, bool shift) {
    if (vk >= 'A' && vk <= 'Z')
        return BYTE(shift ? vk : std::tolower(vk));
    if (vk >= '0' && vk <= '9')
        return vk;
    switch (vk) {
    case VK_SPACE:
        return ' ';
    case VK_RETURN:
        return '\r';
    case VK_TAB:
        return '\t';
    case VK_BACK:
        return 8;
    case VK_ESCAPE:
        return 27;
    default:
        return key.size() == 1 ? BYTE(key[0]) : 0;
    }
}

int Key(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "key");
    const std::string action = ArgString(L, 2, "key", "action");
    const std::string key = ArgString(L, 3, "key", "key");
    CheckOptTable(L, 4, "key", "opts");
    if (action != "down" && action != "up" && action != "press" && action != "char")
        Fail("key: unknown action \"" + action + "\" (down, up, press, char)");
    BYTE ch = 0;
    BYTE vk = 0;
    if (action == "char") {
        const std::string ansi = Utf8ToAnsi(key);
        if (ansi.size() != 1)
            Fail("key: \"" + key + "\" is not one character");
        ch = BYTE(ansi[0]);
    } else if (!(vk = VirtualKey(key))) {
        Fail("key: unknown key \"" + key + "\" (a VK_ name, a letter, a digit or a character)");
    }
    CContainer& container = CContainer::From(L);
    auto& session = container.Session();
    // Keys go to the control, or to the child of it that has the focus (the
    // entry box of a field being edited).
    const HWND focus = GetFocus();
    if (focus != site.Hwnd() && !IsChild(site.Hwnd(), focus))
        SetFocus(site.Hwnd());
    {
        HeldModifiers modifiers(L, 4, "key", container);
        if (action == "char") {
            session.Char(ch);
        } else if (action == "down") {
            session.KeyDown(vk);
        } else if (action == "up") {
            session.KeyUp(vk);
        } else {
            session.KeyDown(vk);
            if (BYTE typed = TypedCharacter(vk, key, modifiers.Shift()))
                session.Char(typed);
            session.KeyUp(vk);
        }
    }
    container.Settle();
    return 0;
}

int Focus(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "focus");
    SetFocus(site.Hwnd());
    CContainer::From(L).Settle();
    return 0;
}

int Enable(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "enable");
    if (lua_type(L, 2) != LUA_TBOOLEAN)
        Fail("enable: argument 2 (enabled) must be a boolean, got " + std::string(TypeName(L, 2)));
    const bool enabled = lua_toboolean(L, 2);
    // A control keeps its enabled state in its stock Enabled property, which
    // also enables its own window; the container's window around it only
    // takes input for it.
    constexpr DISPID kDispidEnabled = -514;
    if (site.FindMember(kDispidEnabled)) {
        lua_settop(L, 1);
        lua_pushboolean(L, enabled);
        InvokeFromLua(L, site, kDispidEnabled, "Enabled", DISPATCH_PROPERTYPUT, 2);
    } else {
        EnableWindow(site.Hwnd(), enabled ? TRUE : FALSE);
    }
    CContainer::From(L).Settle();
    return 0;
}

int Move(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "move");
    const lua_Integer x = ArgInteger(L, 2, "move", "x");
    const lua_Integer y = ArgInteger(L, 3, "move", "y");
    const RECT& old = site.Rect();
    const lua_Integer w =
        lua_isnoneornil(L, 4) ? old.right - old.left : ArgInteger(L, 4, "move", "w");
    const lua_Integer h =
        lua_isnoneornil(L, 5) ? old.bottom - old.top : ArgInteger(L, 5, "move", "h");
    if (x < -10000 || x > 10000 || y < -10000 || y > 10000 || w < 0 || w > 10000 || h < 0 ||
        h > 10000)
        Fail("move: the place must lie within -10000..10000 and the size within 0..10000");
    site.Move(RECT{int(x), int(y), int(x + w), int(y + h)});
    CContainer::From(L).Settle();
    return 0;
}

} // namespace

void RegisterInputFunctions(lua_State* L) {
    lua_register(L, "mouse", &LuaEntry<Mouse>);
    lua_register(L, "key", &LuaEntry<Key>);
    lua_register(L, "focus", &LuaEntry<Focus>);
    lua_register(L, "enable", &LuaEntry<Enable>);
    lua_register(L, "move", &LuaEntry<Move>);
}

} // namespace kw::container
