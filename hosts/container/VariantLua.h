#pragma once
// Values between Lua and the component model. Numbers, booleans, strings
// (UTF-8), nil and tables map to VARIANTs; kw.array(vt, {...}) makes a typed
// SAFEARRAY; a returned SAFEARRAY becomes a table (nested by dimension, the
// first dimension outermost).
#include "hosts/container/LuaSupport.h"
#include "platform/com/Variant.h"

#include <string>

namespace kw::container {

// Pushes `value` (a by-reference variant as its target). Types a script
// cannot hold (objects other than controls, error codes) raise ScriptError;
// a missing optional value (VT_ERROR) is nil.
void PushVariant(lua_State* L, const VARIANT& value);

// The value at `index` as a VARIANT; `context` names the value in messages.
CComVariant ToVariant(lua_State* L, int index, const std::string& context);

// The VARIANT of type `vt` (no VT_BYREF) from the value at `index`; nil
// gives the type's zero value. DISP_E_TYPEMISMATCH and overflow become
// ScriptError.
CComVariant ToTypedVariant(lua_State* L, int index, VARTYPE vt, const std::string& context);

// Writes `value`, converted to the target's type, through a by-reference
// variant. Returns the status of the conversion.
HRESULT StoreByRef(const VARIANT& target, const VARIANT& value);

// The event log's form of a value: integers plainly, reals in their
// shortest round-trip form, strings quoted, booleans as true/false.
std::string FormatVariant(const VARIANT& value);

// The name of a variant type ("VT_I2", "VT_ARRAY|VT_R8").
std::string VarTypeName(VARTYPE vt);

// Adds kw.array to the table on top of the stack.
void RegisterArrayFunctions(lua_State* L);

} // namespace kw::container
