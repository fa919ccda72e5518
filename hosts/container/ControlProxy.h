#pragma once
// A script's handle on a control: a Lua userdata whose fields and methods go
// through the control's IDispatch by name (GetIDsOfNames, then Invoke), so
// every script exercises the real component path.
//   c.Prop          reads a property       c.Prop = v   writes it
//   c:Method(...)   calls a method; by-reference parameters are passed as
//                   values (or nil) and their final values follow the result
#include "hosts/container/ControlSite.h"
#include "hosts/container/LuaSupport.h"

namespace kw::container {

void RegisterControlProxy(lua_State* L);
// Pushes the control's proxy, the same userdata for every call.
void PushProxy(lua_State* L, CControlSite& site);
// The control of a proxy argument; ScriptError for anything else or for a
// control that is closed.
CControlSite& ArgControl(lua_State* L, int index, const char* function);
// The control's IDispatch for a proxy at `index`, null for other values.
IDispatch* ProxyDispatch(lua_State* L, int index);

// Invokes `dispid` with the Lua values from `firstArg` to the top as
// arguments and pushes the result and the by-reference values; returns how
// many values it pushed.
int InvokeFromLua(lua_State* L, CControlSite& site, DISPID dispid, const std::string& member,
                  WORD flags, int firstArg);

} // namespace kw::container
