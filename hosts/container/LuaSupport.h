#pragma once
// The bridge between the container's C++ code and Lua's C interface.
//
// Lua reports errors with longjmp, which must never cross a C++ frame that
// owns something. Every function a script can call is therefore written as
// `int Name(lua_State*)` that reports mistakes by throwing ScriptError, and
// is registered through LuaEntry<Name>, which turns the exception into a Lua
// error only after every C++ object of the call is gone. Inside such a
// function only Lua calls that cannot raise (raw table access, pushes,
// lua_pcall) are used.
#include <lua.hpp>

#include <stdexcept>
#include <string>
#include <string_view>

namespace kw::container {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void Fail(const std::string& message) {
    throw ScriptError(message);
}

// Calls F; a thrown error becomes a Lua error carrying the script position.
template <int (*F)(lua_State*)> int LuaEntry(lua_State* L) {
    bool failed = false;
    try {
        return F(L);
    } catch (const std::exception& e) {
        luaL_where(L, 1);
        lua_pushstring(L, e.what());
        lua_concat(L, 2);
        failed = true;
    }
    // Nothing with a destructor is alive here.
    return failed ? lua_error(L) : 0;
}

// [SECTION] Arguments, checked with messages that name the function and the
// argument.

std::string_view TypeName(lua_State* L, int index);
std::string ArgString(lua_State* L, int index, const char* function, const char* what);
lua_Integer ArgInteger(lua_State* L, int index, const char* function, const char* what);
// An optional integer field of the table at `index` (which may be nil).
lua_Integer OptField(lua_State* L, int index, const char* field, lua_Integer fallback,
                     const char* function);
bool OptBoolField(lua_State* L, int index, const char* field, const char* function);
// The string form of a string or number field, empty when absent.
std::string OptStringField(lua_State* L, int index, const char* field, const char* function);
// A table argument or nil; an error for anything else.
void CheckOptTable(lua_State* L, int index, const char* function, const char* what);

// The text of the value on top of the stack for an error message.
std::string ErrorText(lua_State* L, int index);

} // namespace kw::container
