#include "hosts/container/LuaSupport.h"

namespace kw::container {

std::string_view TypeName(lua_State* L, int index) {
    return luaL_typename(L, index);
}

namespace {

[[noreturn]] void WrongType(lua_State* L, int index, const char* function, const char* what,
                            const char* expected) {
    Fail(std::string(function) + ": argument " + std::to_string(index) + " (" + what +
         ") must be " + expected + ", got " + std::string(TypeName(L, index)));
}

} // namespace

std::string ArgString(lua_State* L, int index, const char* function, const char* what) {
    if (lua_type(L, index) != LUA_TSTRING)
        WrongType(L, index, function, what, "a string");
    size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    return std::string(text, length);
}

lua_Integer ArgInteger(lua_State* L, int index, const char* function, const char* what) {
    int isInteger = 0;
    lua_Integer value = lua_tointegerx(L, index, &isInteger);
    if (lua_type(L, index) != LUA_TNUMBER || !isInteger)
        WrongType(L, index, function, what, "an integer");
    return value;
}

void CheckOptTable(lua_State* L, int index, const char* function, const char* what) {
    if (!lua_isnoneornil(L, index) && !lua_istable(L, index))
        WrongType(L, index, function, what, "a table");
}

lua_Integer OptField(lua_State* L, int index, const char* field, lua_Integer fallback,
                     const char* function) {
    if (!lua_istable(L, index))
        return fallback;
    lua_pushstring(L, field);
    lua_rawget(L, index < 0 ? index - 1 : index);
    int isInteger = 0;
    lua_Integer value = lua_tointegerx(L, -1, &isInteger);
    const int type = lua_type(L, -1);
    lua_pop(L, 1);
    if (type == LUA_TNIL)
        return fallback;
    if (type != LUA_TNUMBER || !isInteger)
        Fail(std::string(function) + ": option " + field + " must be an integer");
    return value;
}

bool OptBoolField(lua_State* L, int index, const char* field, const char* function) {
    if (!lua_istable(L, index))
        return false;
    lua_pushstring(L, field);
    lua_rawget(L, index < 0 ? index - 1 : index);
    const int type = lua_type(L, -1);
    const bool value = lua_toboolean(L, -1);
    lua_pop(L, 1);
    if (type != LUA_TNIL && type != LUA_TBOOLEAN)
        Fail(std::string(function) + ": option " + field + " must be a boolean");
    return value;
}

std::string OptStringField(lua_State* L, int index, const char* field, const char* function) {
    if (!lua_istable(L, index))
        return {};
    lua_pushstring(L, field);
    lua_rawget(L, index < 0 ? index - 1 : index);
    std::string value;
    const int type = lua_type(L, -1);
    if (type == LUA_TSTRING || type == LUA_TNUMBER) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        value.assign(text, length);
    }
    lua_pop(L, 1);
    if (type != LUA_TNIL && type != LUA_TSTRING && type != LUA_TNUMBER)
        Fail(std::string(function) + ": option " + field + " must be a string");
    return value;
}

std::string ErrorText(lua_State* L, int index) {
    if (const char* text = lua_tostring(L, index))
        return text;
    return std::string("(error object is a ") + std::string(TypeName(L, index)) + ")";
}

} // namespace kw::container
