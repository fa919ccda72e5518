// The script functions that differ on a real display: advance runs the
// message loop for real milliseconds and now reads the real clock; the
// `gui` table tells a script that a display is there and names its window.
#include "hosts/container/DesignWindow.h"
#include "hosts/container/GuiSession.h"
#include "hosts/container/ScriptFunctions.h"

#include "platform/user/Timer.h"

namespace kw::container {

namespace {

GuiSession& Session(lua_State* L) {
    return *static_cast<GuiSession*>(lua_touserdata(L, lua_upvalueindex(1)));
}

// advance(ms) -> false once the window was closed.
int Advance(lua_State* L) {
    const lua_Integer ms = ArgInteger(L, 1, "advance", "ms");
    if (ms < 0 || ms > 0x7FFFFFFF)
        Fail("advance: the time must be between 0 and 2147483647 ms, got " + std::to_string(ms));
    const bool open = Session(L).RunFor(DWORD(ms));
    CContainer::From(L).Settle();
    lua_pushboolean(L, open);
    return 1;
}

int Now(lua_State* L) {
    lua_pushinteger(L, lua_Integer(GetTickCount64()));
    return 1;
}

int Window(lua_State* L) {
    lua_pushinteger(L, lua_Integer(Session(L).FormWindow()));
    return 1;
}

// gui.design() -> the toolbox's window: the form in design mode.
int Design(lua_State* L) {
    const HWND toolbox = ShowDesignWindow(L, Session(L));
    Session(L).RunFor(1); // the new windows reach the display
    CContainer::From(L).Settle();
    lua_pushinteger(L, lua_Integer(Session(L).WindowOf(toolbox)));
    return 1;
}

void SetClosure(lua_State* L, GuiSession& session, lua_CFunction f, const char* name) {
    lua_pushlightuserdata(L, &session);
    lua_pushcclosure(L, f, 1);
    lua_setfield(L, -2, name);
}

} // namespace

void GuiSession::RegisterScriptFunctions(lua_State* L) {
    lua_pushglobaltable(L);
    SetClosure(L, *this, &LuaEntry<Advance>, "advance");
    SetClosure(L, *this, &LuaEntry<Now>, "now");
    lua_pop(L, 1);
    lua_newtable(L);
    SetClosure(L, *this, &LuaEntry<Window>, "window");
    SetClosure(L, *this, &LuaEntry<Design>, "design");
    lua_setglobal(L, "gui");
}

} // namespace kw::container
