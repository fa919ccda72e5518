// The `design` table: every action of the designer for a script, so that
// each of them runs headless as it does with the mouse.
#include "hosts/container/ControlProxy.h"
#include "hosts/container/DesignWindow.h"
#include "hosts/container/Designer.h"
#include "hosts/container/ScriptFunctions.h"
#include "hosts/container/VariantLua.h"

#include "platform/user/VirtualKeys.h"

#include <memory>

namespace kw::container {

namespace {

std::unique_ptr<CDesigner>& Owned() {
    static std::unique_ptr<CDesigner> designer;
    return designer;
}

// The designer of the run, started on first use.
CDesigner& Designer(lua_State* L) {
    auto& owned = Owned();
    if (!owned)
        owned = std::make_unique<CDesigner>(CContainer::From(L));
    return *owned;
}

int ArgCoordinate(lua_State* L, int index, const char* function, const char* what) {
    const lua_Integer v = ArgInteger(L, index, function, what);
    if (v < -10000 || v > 10000)
        Fail(std::string(function) + ": " + what + " must be between -10000 and 10000");
    return int(v);
}

void SetField(lua_State* L, const char* key, const std::string& value) {
    lua_pushlstring(L, value.data(), value.size());
    lua_setfield(L, -2, key);
}

int Start(lua_State* L) {
    Designer(L);
    return 0;
}

int Tools(lua_State* L) {
    const auto& tools = Designer(L).Tools();
    lua_createtable(L, int(tools.size()), 0);
    for (std::size_t i = 0; i < tools.size(); ++i) {
        lua_createtable(L, 0, 3);
        SetField(L, "progid", tools[i].progId);
        SetField(L, "name", tools[i].name);
        lua_pushinteger(L, tools[i].bitmapId);
        lua_setfield(L, -2, "bitmap");
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

int Tool(lua_State* L) {
    CDesigner& d = Designer(L);
    if (lua_gettop(L) >= 1)
        d.ChooseTool(lua_isnil(L, 1) ? std::string() : ArgString(L, 1, "design.tool", "class"));
    lua_pushstring(L, d.Tool().c_str());
    return 1;
}

// design.click(x, y [, {ctrl = true}])
int Click(lua_State* L) {
    const POINT p{ArgCoordinate(L, 1, "design.click", "x"),
                  ArgCoordinate(L, 2, "design.click", "y")};
    CheckOptTable(L, 3, "design.click", "opts");
    const bool ctrl = OptBoolField(L, 3, "ctrl", "design.click");
    CDesigner& d = Designer(L);
    d.MouseDown(p, ctrl);
    d.MouseUp(p);
    CContainer::From(L).Settle();
    return 0;
}

int DoubleClick(lua_State* L) {
    const POINT p{ArgCoordinate(L, 1, "design.dblclick", "x"),
                  ArgCoordinate(L, 2, "design.dblclick", "y")};
    Designer(L).DoubleClick(p);
    CContainer::From(L).Settle();
    return 0;
}

// design.drag(x0, y0, x1, y1): press, move in steps, release.
int DragTo(lua_State* L) {
    const char* f = "design.drag";
    const POINT from{ArgCoordinate(L, 1, f, "x0"), ArgCoordinate(L, 2, f, "y0")};
    const POINT to{ArgCoordinate(L, 3, f, "x1"), ArgCoordinate(L, 4, f, "y1")};
    CDesigner& d = Designer(L);
    d.MouseDown(from, false);
    for (int step = 1; step <= 4; ++step)
        d.MouseMove(
            POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    d.MouseUp(to);
    CContainer::From(L).Settle();
    return 0;
}

// design.key(name [, {shift = true}])
int Key(lua_State* L) {
    const std::string name = ArgString(L, 1, "design.key", "key");
    CheckOptTable(L, 2, "design.key", "opts");
    const bool shift = OptBoolField(L, 2, "shift", "design.key");
    static const std::pair<const char*, UINT> kKeys[] = {
        {"Left", VK_LEFT}, {"Right", VK_RIGHT},   {"Up", VK_UP},
        {"Down", VK_DOWN}, {"Delete", VK_DELETE}, {"Enter", VK_RETURN},
    };
    for (const auto& [keyName, vk] : kKeys)
        if (name == keyName) {
            Designer(L).Key(vk, shift);
            CContainer::From(L).Settle();
            return 0;
        }
    Fail("design.key: unknown key \"" + name + "\" (Left, Right, Up, Down, Delete or Enter)");
}

int Insert(lua_State* L) {
    const std::string progId = ArgString(L, 1, "design.insert", "class");
    CheckOptTable(L, 2, "design.insert", "opts");
    const InsertOptions o = ReadInsertOptions(L, 2, "design.insert");
    const RECT rc{o.x, o.y, o.x + o.w.value_or(0), o.y + o.h.value_or(0)};
    PushProxy(L, Designer(L).Insert(progId, rc));
    return 1;
}

// design.select(c, ...) selects exactly these; no argument clears.
int Select(lua_State* L) {
    std::vector<int> ids;
    for (int i = 1; i <= lua_gettop(L); ++i)
        ids.push_back(ArgControl(L, i, "design.select").Id());
    Designer(L).Select(ids);
    return 0;
}

int Selection(lua_State* L) {
    const std::vector<int> ids = Designer(L).Selection();
    lua_createtable(L, int(ids.size()), 0);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        PushProxy(L, *CContainer::From(L).FindSite(ids[i]));
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

int Move(lua_State* L) {
    Designer(L).MoveSelection(ArgCoordinate(L, 1, "design.move", "dx"),
                              ArgCoordinate(L, 2, "design.move", "dy"));
    CContainer::From(L).Settle();
    return 0;
}

// design.resize(c, w, h): the top-left corner stays.
int Resize(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "design.resize");
    const RECT& rc = site.Rect();
    Designer(L).SetRect(site.Id(),
                        RECT{rc.left, rc.top, rc.left + ArgCoordinate(L, 2, "design.resize", "w"),
                             rc.top + ArgCoordinate(L, 3, "design.resize", "h")});
    CContainer::From(L).Settle();
    return 0;
}

int Rect(lua_State* L) {
    const RECT& rc = ArgControl(L, 1, "design.rect").Rect();
    lua_pushinteger(L, rc.left);
    lua_pushinteger(L, rc.top);
    lua_pushinteger(L, rc.right - rc.left);
    lua_pushinteger(L, rc.bottom - rc.top);
    return 4;
}

int Delete(lua_State* L) {
    Designer(L).DeleteSelection();
    return 0;
}

int Run(lua_State* L) {
    CDesigner& d = Designer(L);
    if (lua_gettop(L) >= 1)
        d.SetRunning(lua_toboolean(L, 1));
    lua_pushboolean(L, d.Running());
    return 1;
}

int Properties(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "design.properties");
    const auto rows = Designer(L).Properties(site.Id());
    lua_createtable(L, int(rows.size()), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        lua_createtable(L, 0, 4);
        SetField(L, "name", rows[i].name);
        SetField(L, "type", rows[i].type);
        SetField(L, "value", rows[i].value);
        lua_pushboolean(L, rows[i].readOnly);
        lua_setfield(L, -2, "readonly");
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

// design.setproperty(c, name, text) -> true, or false and the message shown.
int SetProperty(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "design.setproperty");
    const std::string name = ArgString(L, 2, "design.setproperty", "name");
    const std::string text = ArgString(L, 3, "design.setproperty", "text");
    std::string error;
    const bool ok = Designer(L).SetProperty(site.Id(), name, text, &error);
    lua_pushboolean(L, ok);
    if (ok)
        return 1;
    lua_pushstring(L, error.c_str());
    return 2;
}

int Methods(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "design.methods");
    const auto rows = Designer(L).Methods(site.Id());
    lua_createtable(L, int(rows.size()), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        lua_createtable(L, 0, 3);
        SetField(L, "name", rows[i].name);
        SetField(L, "result", rows[i].result);
        lua_createtable(L, int(rows[i].params.size()), 0);
        for (std::size_t j = 0; j < rows[i].params.size(); ++j) {
            lua_pushstring(L, rows[i].params[j].c_str());
            lua_rawseti(L, -2, lua_Integer(j + 1));
        }
        lua_setfield(L, -2, "params");
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

// design.invoke(c, method, args...) -> the result, then every by-reference
// value, as the invoke dialog shows them.
int Invoke(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "design.invoke");
    const std::string name = ArgString(L, 2, "design.invoke", "method");
    const auto methods = Designer(L).Methods(site.Id());
    for (const DesignMethod& m : methods)
        if (m.name == name) {
            const char* names[] = {name.c_str()};
            DISPID dispid = DISPID_UNKNOWN;
            if (FAILED(site.Dispatch()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT,
                                                      &dispid)))
                break;
            const int pushed = InvokeFromLua(L, site, dispid, name, DISPATCH_METHOD, 3);
            CContainer::From(L).Settle();
            return pushed;
        }
    Fail("design.invoke: " + site.Name() + " has no method \"" + name + "\"");
}

int OpenProperties(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "design.openproperties");
    lua_pushboolean(L, Designer(L).OpenProperties(site.Id()));
    return 1;
}

int Log(lua_State* L) {
    const auto& log = Designer(L).EventLog();
    lua_createtable(L, int(log.size()), 0);
    for (std::size_t i = 0; i < log.size(); ++i) {
        lua_pushstring(L, log[i].c_str());
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

int ClearLog(lua_State* L) {
    Designer(L).ClearEventLog();
    return 0;
}

int New(lua_State* L) {
    lua_pushboolean(L, Designer(L).New());
    return 1;
}

int Open(lua_State* L) {
    lua_pushboolean(L, Designer(L).Open(ArgString(L, 1, "design.open", "path")));
    return 1;
}

int Save(lua_State* L) {
    lua_pushboolean(L, Designer(L).Save());
    return 1;
}

int SaveAs(lua_State* L) {
    lua_pushboolean(L, Designer(L).SaveAs(ArgString(L, 1, "design.saveas", "path")));
    return 1;
}

int Close(lua_State* L) {
    lua_pushboolean(L, Designer(L).QueryClose());
    return 1;
}

int Title(lua_State* L) {
    lua_pushstring(L, Designer(L).Title().c_str());
    return 1;
}

int Modified(lua_State* L) {
    lua_pushboolean(L, Designer(L).Modified());
    return 1;
}

// design.snapshot(path): the design window's picture.
int Snapshot(lua_State* L) {
    const std::string path = ArgString(L, 1, "design.snapshot", "path");
    if (!SnapshotDesignWindow(CContainer::From(L), Designer(L), path))
        Fail("design.snapshot: cannot write the picture to \"" + path + "\"");
    return 0;
}

int Path(lua_State* L) {
    lua_pushstring(L, Designer(L).Path().c_str());
    return 1;
}

} // namespace

void RegisterDesignFunctions(lua_State* L) {
    static const luaL_Reg kFunctions[] = {
        {"start", &LuaEntry<Start>},
        {"tools", &LuaEntry<Tools>},
        {"tool", &LuaEntry<Tool>},
        {"click", &LuaEntry<Click>},
        {"dblclick", &LuaEntry<DoubleClick>},
        {"drag", &LuaEntry<DragTo>},
        {"key", &LuaEntry<Key>},
        {"insert", &LuaEntry<Insert>},
        {"select", &LuaEntry<Select>},
        {"selection", &LuaEntry<Selection>},
        {"move", &LuaEntry<Move>},
        {"resize", &LuaEntry<Resize>},
        {"rect", &LuaEntry<Rect>},
        {"delete", &LuaEntry<Delete>},
        {"run", &LuaEntry<Run>},
        {"properties", &LuaEntry<Properties>},
        {"setproperty", &LuaEntry<SetProperty>},
        {"methods", &LuaEntry<Methods>},
        {"invoke", &LuaEntry<Invoke>},
        {"openproperties", &LuaEntry<OpenProperties>},
        {"log", &LuaEntry<Log>},
        {"clearlog", &LuaEntry<ClearLog>},
        {"new", &LuaEntry<New>},
        {"open", &LuaEntry<Open>},
        {"save", &LuaEntry<Save>},
        {"saveas", &LuaEntry<SaveAs>},
        {"close", &LuaEntry<Close>},
        {"title", &LuaEntry<Title>},
        {"modified", &LuaEntry<Modified>},
        {"path", &LuaEntry<Path>},
        {"snapshot", &LuaEntry<Snapshot>},
        {nullptr, nullptr},
    };
    luaL_newlib(L, kFunctions);
    lua_setglobal(L, "design");
}

void CloseDesigner() {
    DestroyDesignWindows();
    Owned().reset();
}

CDesigner& StartDesigner(lua_State* L) {
    return Designer(L);
}

} // namespace kw::container
