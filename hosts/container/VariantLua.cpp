#include "hosts/container/VariantLua.h"

#include "hosts/container/ControlProxy.h"
#include "platform/com/SafeArray.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace kw::container {

namespace {

constexpr const char* kArrayMeta = "kw.array";

struct TypeNameRow {
    VARTYPE vt;
    const char* name;
};
constexpr std::array<TypeNameRow, 13> kTypeNames{{{VT_EMPTY, "VT_EMPTY"},
                                                  {VT_NULL, "VT_NULL"},
                                                  {VT_I2, "VT_I2"},
                                                  {VT_I4, "VT_I4"},
                                                  {VT_R4, "VT_R4"},
                                                  {VT_R8, "VT_R8"},
                                                  {VT_BSTR, "VT_BSTR"},
                                                  {VT_DISPATCH, "VT_DISPATCH"},
                                                  {VT_ERROR, "VT_ERROR"},
                                                  {VT_BOOL, "VT_BOOL"},
                                                  {VT_VARIANT, "VT_VARIANT"},
                                                  {VT_UI1, "VT_UI1"},
                                                  {VT_UI2, "VT_UI2"}}};

// Element types a script may give kw.array.
bool IsArrayElementType(VARTYPE vt) {
    switch (vt) {
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_BSTR:
    case VT_VARIANT:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void ConversionFailed(HRESULT hr, const std::string& context, VARTYPE vt) {
    const char* why = hr == DISP_E_OVERFLOW ? "is out of range for" : "cannot be converted to";
    Fail(context + " " + why + " " + VarTypeName(vt));
}

void PushElements(lua_State* L, SAFEARRAY* psa, VARTYPE vt, std::vector<LONG>& indices, UINT dim) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(psa, dim + 1, &lower);
    SafeArrayGetUBound(psa, dim + 1, &upper);
    lua_createtable(L, int(upper >= lower ? upper - lower + 1 : 0), 0);
    for (LONG i = lower; i <= upper; ++i) {
        indices[dim] = i;
        if (dim + 1 < indices.size()) {
            PushElements(L, psa, vt, indices, dim + 1);
        } else {
            CComVariant element;
            HRESULT hr;
            if (vt == VT_VARIANT) {
                hr = SafeArrayGetElement(psa, indices.data(), &element);
            } else {
                element.vt = vt;
                hr = SafeArrayGetElement(psa, indices.data(), &element.llVal);
                if (FAILED(hr))
                    element.vt = VT_EMPTY;
            }
            if (FAILED(hr))
                Fail("an array element cannot be read (" + FormatHResult(hr) + ")");
            PushVariant(L, element);
        }
        lua_rawseti(L, -2, i - lower + 1);
    }
}

void PushArray(lua_State* L, SAFEARRAY* psa) {
    VARTYPE vt = VT_EMPTY;
    if (!psa || FAILED(SafeArrayGetVartype(psa, &vt)) || SafeArrayGetDim(psa) == 0) {
        lua_newtable(L);
        return;
    }
    std::vector<LONG> indices(SafeArrayGetDim(psa), 0);
    PushElements(L, psa, vt, indices, 0);
}

bool IsArrayObject(lua_State* L, int index) {
    if (!lua_getmetatable(L, index))
        return false;
    luaL_getmetatable(L, kArrayMeta);
    const bool same = lua_rawequal(L, -1, -2);
    lua_pop(L, 2);
    return same;
}

CComVariant TableToArray(lua_State* L, int index, const std::string& context) {
    index = lua_absindex(L, index);
    VARTYPE vt = VT_VARIANT;
    if (IsArrayObject(L, index)) {
        lua_pushstring(L, "vt");
        lua_rawget(L, index);
        vt = VARTYPE(lua_tointeger(L, -1));
        lua_pop(L, 1);
    }
    const lua_Unsigned count = lua_rawlen(L, index);
    SAFEARRAY* psa = SafeArrayCreateVector(vt, 0, ULONG(count));
    if (!psa)
        Fail(context + ": the array cannot be created");
    CComVariant result;
    result.vt = VARTYPE(VT_ARRAY | vt);
    result.parray = psa; // owned by `result` from here on
    for (lua_Unsigned i = 0; i < count; ++i) {
        lua_rawgeti(L, index, lua_Integer(i + 1));
        const std::string what = context + "[" + std::to_string(i + 1) + "]";
        CComVariant element =
            vt == VT_VARIANT ? ToVariant(L, -1, what) : ToTypedVariant(L, -1, vt, what);
        lua_pop(L, 1);
        const LONG at = LONG(i);
        HRESULT hr = SafeArrayPutElement(
            psa, &at, vt == VT_VARIANT ? static_cast<void*>(&element) : &element.llVal);
        if (FAILED(hr))
            Fail(what + " cannot be stored (" + FormatHResult(hr) + ")");
    }
    return result;
}

VARTYPE ArrayTypeArgument(lua_State* L) {
    if (lua_type(L, 1) == LUA_TNUMBER)
        return VARTYPE(ArgInteger(L, 1, "kw.array", "vt"));
    std::string name = ArgString(L, 1, "kw.array", "vt");
    for (auto& c : name)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (name.rfind("VT_", 0) != 0)
        name = "VT_" + name;
    for (const auto& row : kTypeNames)
        if (name == row.name)
            return row.vt;
    Fail("kw.array: unknown element type \"" + name + "\"");
}

int MakeArray(lua_State* L) {
    const VARTYPE vt = ArrayTypeArgument(L);
    if (!IsArrayElementType(vt))
        Fail("kw.array: " + VarTypeName(vt) + " is not an array element type");
    if (!lua_istable(L, 2))
        Fail("kw.array: argument 2 (values) must be a table, got " + std::string(TypeName(L, 2)));
    const lua_Unsigned count = lua_rawlen(L, 2);
    lua_createtable(L, int(count), 1);
    for (lua_Unsigned i = 1; i <= count; ++i) {
        lua_rawgeti(L, 2, lua_Integer(i));
        lua_rawseti(L, -2, lua_Integer(i));
    }
    lua_pushstring(L, "vt");
    lua_pushinteger(L, vt);
    lua_rawset(L, -3);
    luaL_getmetatable(L, kArrayMeta);
    lua_setmetatable(L, -2);
    return 1;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    out += '"';
}

template <class T> std::string Shortest(T value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

} // namespace

std::string VarTypeName(VARTYPE vt) {
    std::string prefix;
    if (vt & VT_BYREF)
        prefix += "VT_BYREF|";
    if (vt & VT_ARRAY)
        prefix += "VT_ARRAY|";
    const VARTYPE base = vt & VT_TYPEMASK;
    for (const auto& row : kTypeNames)
        if (row.vt == base)
            return prefix + row.name;
    return prefix + "VT_" + std::to_string(base);
}

void PushVariant(lua_State* L, const VARIANT& in) {
    if (in.vt & VT_BYREF) {
        CComVariant direct;
        HRESULT hr = VariantCopyInd(&direct, &in);
        if (FAILED(hr))
            Fail("a by-reference value cannot be read (" + FormatHResult(hr) + ")");
        PushVariant(L, direct);
        return;
    }
    if (in.vt & VT_ARRAY) {
        PushArray(L, in.parray);
        return;
    }
    switch (in.vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_ERROR:
        lua_pushnil(L);
        return;
    case VT_I2:
        lua_pushinteger(L, in.iVal);
        return;
    case VT_I4:
        lua_pushinteger(L, in.lVal);
        return;
    case VT_UI1:
        lua_pushinteger(L, in.bVal);
        return;
    case VT_UI2:
        lua_pushinteger(L, in.uiVal);
        return;
    case VT_R4:
        lua_pushnumber(L, in.fltVal);
        return;
    case VT_R8:
        lua_pushnumber(L, in.dblVal);
        return;
    case VT_BOOL:
        lua_pushboolean(L, in.boolVal != 0);
        return;
    case VT_BSTR: {
        const std::string_view text = BstrView(in.bstrVal);
        lua_pushlstring(L, text.data(), text.size());
        return;
    }
    case VT_VARIANT:
        lua_pushnil(L);
        return;
    default:
        Fail("a value of type " + VarTypeName(in.vt) + " cannot be given to a script");
    }
}

CComVariant ToVariant(lua_State* L, int index, const std::string& context) {
    switch (lua_type(L, index)) {
    case LUA_TNONE:
    case LUA_TNIL:
        return CComVariant();
    case LUA_TBOOLEAN:
        return CComVariant::Bool(lua_toboolean(L, index));
    case LUA_TNUMBER: {
        if (lua_isinteger(L, index)) {
            const lua_Integer value = lua_tointeger(L, index);
            if (value >= INT32_MIN && value <= INT32_MAX)
                return CComVariant::I4(LONG(value));
        }
        return CComVariant::R8(lua_tonumber(L, index));
    }
    case LUA_TSTRING: {
        size_t length = 0;
        const char* text = lua_tolstring(L, index, &length);
        return CComVariant::Str(std::string_view(text, length));
    }
    case LUA_TTABLE:
        return TableToArray(L, index, context);
    case LUA_TUSERDATA:
        if (IDispatch* dispatch = ProxyDispatch(L, index)) {
            CComVariant value;
            value.vt = VT_DISPATCH;
            value.pdispVal = dispatch;
            dispatch->AddRef();
            return value;
        }
        break;
    default:
        break;
    }
    Fail(context + ": a " + std::string(TypeName(L, index)) + " cannot be given to a control");
}

CComVariant ToTypedVariant(lua_State* L, int index, VARTYPE vt, const std::string& context) {
    CComVariant result;
    if (lua_isnoneornil(L, index) && !(vt & VT_ARRAY)) {
        if (vt == VT_VARIANT || vt == VT_EMPTY)
            return result;
        result.vt = vt; // zero value; a null BSTR is the empty string
        return result;
    }
    CComVariant value = ToVariant(L, index, context);
    if (vt == VT_VARIANT || vt == VT_EMPTY || value.vt == vt)
        return value;
    HRESULT hr = VariantChangeType(&result, &value, 0, vt);
    if (FAILED(hr))
        ConversionFailed(hr, context, vt);
    return result;
}

HRESULT StoreByRef(const VARIANT& target, const VARIANT& value) {
    const VARTYPE vt = target.vt & ~VT_BYREF;
    if (vt == VT_VARIANT) {
        VariantClear(target.pvarVal);
        return VariantCopy(target.pvarVal, &value);
    }
    CComVariant converted;
    HRESULT hr = VariantChangeType(&converted, &value, 0, vt);
    if (FAILED(hr))
        return hr;
    switch (vt) {
    case VT_I2:
        *target.piVal = converted.iVal;
        break;
    case VT_I4:
        *target.plVal = converted.lVal;
        break;
    case VT_UI1:
        *target.pbVal = converted.bVal;
        break;
    case VT_UI2:
        *target.puiVal = converted.uiVal;
        break;
    case VT_R4:
        *target.pfltVal = converted.fltVal;
        break;
    case VT_R8:
        *target.pdblVal = converted.dblVal;
        break;
    case VT_BOOL:
        *target.pboolVal = converted.boolVal;
        break;
    case VT_BSTR:
        SysFreeString(*target.pbstrVal);
        *target.pbstrVal = std::exchange(converted.bstrVal, nullptr);
        converted.vt = VT_EMPTY;
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

std::string FormatVariant(const VARIANT& in) {
    if (in.vt & VT_BYREF) {
        CComVariant direct;
        if (FAILED(VariantCopyInd(&direct, &in)))
            return "?";
        return FormatVariant(direct);
    }
    if (in.vt & VT_ARRAY)
        return "array(" + std::to_string(in.parray ? SafeArrayElementCount(in.parray) : 0) + ")";
    switch (in.vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_ERROR:
        return "nil";
    case VT_I2:
        return std::to_string(in.iVal);
    case VT_I4:
        return std::to_string(in.lVal);
    case VT_UI1:
        return std::to_string(in.bVal);
    case VT_UI2:
        return std::to_string(in.uiVal);
    case VT_R4:
        return Shortest(in.fltVal);
    case VT_R8:
        return Shortest(in.dblVal);
    case VT_BOOL:
        return in.boolVal ? "true" : "false";
    case VT_BSTR: {
        std::string out;
        AppendQuoted(out, BstrView(in.bstrVal));
        return out;
    }
    case VT_DISPATCH:
        return "object";
    default:
        return VarTypeName(in.vt);
    }
}

void RegisterArrayFunctions(lua_State* L) {
    luaL_newmetatable(L, kArrayMeta);
    lua_pop(L, 1);
    lua_pushcfunction(L, &LuaEntry<MakeArray>);
    lua_setfield(L, -2, "array");
}

} // namespace kw::container
