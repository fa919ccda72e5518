// Inserting and removing controls, connecting the script to their events, and time.
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"

namespace kw::container {

namespace {

int Insert(lua_State* L) {
    const std::string classText = ArgString(L, 1, "insert", "class");
    CheckOptTable(L, 2, "insert", "opts");
    const InsertOptions options = ReadInsertOptions(L, 2, "insert");
    CControlSite& site = CContainer::From(L).Insert(classText, options, nullptr, "insert");
    PushProxy(L, site);
    return 1;
}

const DispEntry& ArgEvent(lua_State* L, CControlSite& site, const char* function) {
    const std::string name = ArgString(L, 2, function, "event");
    const DispEntry* entry = site.FindEventByName(name);
    if (!entry)
        Fail(std::string(function) + ": " + site.Name() + " has no event \"" + name + "\"");
    return *entry;
}

int Remove(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "remove");
    CContainer& container = CContainer::From(L);
    container.Remove(site);
    container.Settle();
    return 0;
}

int On(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "on");
    const DispEntry& event = ArgEvent(L, site, "on");
    if (lua_type(L, 3) != LUA_TFUNCTION)
        Fail("on: argument 3 (handler) must be a function, got " + std::string(TypeName(L, 3)));
    lua_settop(L, 3);
    const int ref = luaL_ref(L, LUA_REGISTRYINDEX);
    auto [it, added] = site.Handlers().try_emplace(event.dispid, ref);
    if (!added) {
        luaL_unref(L, LUA_REGISTRYINDEX, it->second);
        it->second = ref;
    }
    return 0;
}

int Off(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "off");
    const DispEntry& event = ArgEvent(L, site, "off");
    if (auto it = site.Handlers().find(event.dispid); it != site.Handlers().end()) {
        luaL_unref(L, LUA_REGISTRYINDEX, it->second);
        site.Handlers().erase(it);
    }
    return 0;
}

int Advance(lua_State* L) {
    const lua_Integer ms = ArgInteger(L, 1, "advance", "ms");
    if (ms < 0 || ms > 0x7FFFFFFF)
        Fail("advance: the time must be between 0 and 2147483647 ms, got " + std::to_string(ms));
    CContainer& container = CContainer::From(L);
    container.Session().Advance(DWORD(ms));
    container.Settle();
    return 0;
}

int Now(lua_State* L) {
    lua_pushinteger(L, lua_Integer(CContainer::From(L).Session().Clock().Now()));
    return 1;
}

} // namespace

InsertOptions ReadInsertOptions(lua_State* L, int index, const char* function) {
    InsertOptions options;
    options.name = OptStringField(L, index, "name", function);
    options.x = int(OptField(L, index, "x", 10, function));
    options.y = int(OptField(L, index, "y", 10, function));
    const lua_Integer w = OptField(L, index, "w", -1, function);
    const lua_Integer h = OptField(L, index, "h", -1, function);
    if (w != -1) {
        if (w < 0 || w > 10000)
            Fail(std::string(function) + ": option w must be between 0 and 10000");
        options.w = int(w);
    }
    if (h != -1) {
        if (h < 0 || h > 10000)
            Fail(std::string(function) + ": option h must be between 0 and 10000");
        options.h = int(h);
    }
    if (options.x < -10000 || options.x > 10000 || options.y < -10000 || options.y > 10000)
        Fail(std::string(function) + ": options x and y must be between -10000 and 10000");
    return options;
}

void RegisterFormFunctions(lua_State* L) {
    lua_register(L, "insert", &LuaEntry<Insert>);
    lua_register(L, "remove", &LuaEntry<Remove>);
    lua_register(L, "on", &LuaEntry<On>);
    lua_register(L, "off", &LuaEntry<Off>);
    lua_register(L, "advance", &LuaEntry<Advance>);
    lua_register(L, "now", &LuaEntry<Now>);
}

} // namespace kw::container
