#include "hosts/container/ControlProxy.h"

#include "hosts/container/Container.h"
#include "hosts/container/VariantLua.h"

#include <algorithm>
#include <vector>

namespace kw::container {

namespace {

constexpr const char* kProxyMeta = "kw.control";

struct ProxyData {
    int siteId;
};

CControlSite* SiteOf(lua_State* L, int index) {
    auto* data = static_cast<ProxyData*>(luaL_testudata(L, index, kProxyMeta));
    return data ? CContainer::From(L).FindSite(data->siteId) : nullptr;
}

std::string MemberName(const CControlSite& site, DISPID dispid, const std::string& asWritten) {
    const DispEntry* entry = site.FindMember(dispid);
    return entry ? entry->name : asWritten;
}

// The DISPID of a member named in any letter case.
DISPID FindDispid(CControlSite& site, const std::string& name) {
    const char* names[] = {name.c_str()};
    DISPID dispid = DISPID_UNKNOWN;
    HRESULT hr = site.Dispatch()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        Fail(site.Name() + "." + name + ": no such member (" + HResultText(hr) + ")");
    return dispid;
}

// Whether reading a member without arguments fails for want of them: the
// member is a method that takes arguments. Such a read calls nothing.
bool NeedsArguments(CControlSite& site, DISPID dispid) {
    DISPPARAMS none{};
    CComVariant result;
    EXCEPINFO exception{};
    const HRESULT hr =
        site.Dispatch()->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                &result, &exception, nullptr);
    ClearExcepInfo(&exception);
    return hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_PARAMNOTOPTIONAL;
}

int CallMethod(lua_State* L) {
    CControlSite* site = CContainer::From(L).FindSite(int(lua_tointeger(L, lua_upvalueindex(1))));
    const DISPID dispid = DISPID(lua_tointeger(L, lua_upvalueindex(2)));
    const std::string member = lua_tostring(L, lua_upvalueindex(3));
    if (!site || !site->IsOpen())
        Fail(member + ": the control is closed");
    // c:Method(...) passes the proxy itself first.
    int first = 1;
    if (SiteOf(L, 1) == site)
        first = 2;
    const int pushed = InvokeFromLua(L, *site, dispid, member, DISPATCH_METHOD, first);
    CContainer::From(L).Settle();
    return pushed;
}

int ProxyIndex(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "control");
    if (lua_type(L, 2) != LUA_TSTRING)
        Fail(site.Name() + ": a member name must be a string, got " + std::string(TypeName(L, 2)));
    const std::string name = lua_tostring(L, 2);
    const DISPID dispid = FindDispid(site, name);
    const std::string member = MemberName(site, dispid, name);
    // A member the type information does not describe is read as a
    // property, unless it cannot be read without arguments: then it is a
    // method, called late-bound.
    const DispEntry* entry = site.FindMember(dispid);
    const bool method = entry ? entry->kind == DispKind::Method : NeedsArguments(site, dispid);
    if (!method) {
        lua_settop(L, 2);
        return InvokeFromLua(L, site, dispid, member, DISPATCH_PROPERTYGET, 3);
    }
    lua_pushinteger(L, site.Id());
    lua_pushinteger(L, dispid);
    lua_pushlstring(L, member.data(), member.size());
    lua_pushcclosure(L, &LuaEntry<CallMethod>, 3);
    return 1;
}

int ProxyNewIndex(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "control");
    if (lua_type(L, 2) != LUA_TSTRING)
        Fail(site.Name() + ": a member name must be a string, got " + std::string(TypeName(L, 2)));
    const std::string name = lua_tostring(L, 2);
    const DISPID dispid = FindDispid(site, name);
    const std::string member = MemberName(site, dispid, name);
    if (const DispEntry* entry = site.FindMember(dispid); entry && entry->kind == DispKind::Method)
        Fail(site.Name() + "." + member + ": a method cannot be assigned");
    lua_settop(L, 3);
    InvokeFromLua(L, site, dispid, member, DISPATCH_PROPERTYPUT, 3);
    CContainer::From(L).Settle();
    return 0;
}

int ProxyToString(lua_State* L) {
    CControlSite* site = SiteOf(L, 1);
    if (!site)
        lua_pushstring(L, "control (closed)");
    else
        lua_pushstring(L, (site->Name() + " (" + site->ProgId() + ")").c_str());
    return 1;
}

} // namespace

void RegisterControlProxy(lua_State* L) {
    luaL_newmetatable(L, kProxyMeta);
    lua_pushcfunction(L, &LuaEntry<ProxyIndex>);
    lua_setfield(L, -2, "__index");
    lua_pushcfunction(L, &LuaEntry<ProxyNewIndex>);
    lua_setfield(L, -2, "__newindex");
    lua_pushcfunction(L, &LuaEntry<ProxyToString>);
    lua_setfield(L, -2, "__tostring");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "__metatable");
    lua_pop(L, 1);
}

void PushProxy(lua_State* L, CControlSite& site) {
    if (site.ProxyRef() >= 0) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, site.ProxyRef());
        return;
    }
    auto* data = static_cast<ProxyData*>(lua_newuserdatauv(L, sizeof(ProxyData), 0));
    data->siteId = site.Id();
    luaL_setmetatable(L, kProxyMeta);
    lua_pushvalue(L, -1);
    site.ProxyRef() = luaL_ref(L, LUA_REGISTRYINDEX);
}

CControlSite& ArgControl(lua_State* L, int index, const char* function) {
    if (!luaL_testudata(L, index, kProxyMeta))
        Fail(std::string(function) + ": argument " + std::to_string(index) +
             " must be a control, got " + std::string(TypeName(L, index)));
    CControlSite* site = SiteOf(L, index);
    if (!site || !site->IsOpen())
        Fail(std::string(function) + ": the control is closed");
    return *site;
}

IDispatch* ProxyDispatch(lua_State* L, int index) {
    CControlSite* site = SiteOf(L, index);
    return site ? site->Dispatch() : nullptr;
}

int InvokeFromLua(lua_State* L, CControlSite& site, DISPID dispid, const std::string& member,
                  WORD flags, int firstArg) {
    const DispEntry* entry = site.FindMember(dispid);
    const std::string qualified = site.Name() + "." + member;
    const int count = std::max(0, lua_gettop(L) - firstArg + 1);
    // Arguments in declared order; DISPPARAMS wants them last first.
    std::vector<CComVariant> values(count);
    std::vector<VARIANT> args(count);
    std::vector<int> byRef;
    // A method the type information does not describe gets every argument by
    // reference, as a late-bound caller passes its variables, and hands back
    // each one's final value after the result.
    const bool lateBound = !entry && flags == DISPATCH_METHOD;
    for (int i = 0; i < count; ++i) {
        const VARTYPE declared = entry && std::size_t(i) < entry->params.size()
                                     ? entry->params[std::size_t(i)].vt
                                 : lateBound ? VARTYPE(VT_BYREF | VT_VARIANT)
                                             : VARTYPE(VT_EMPTY);
        const std::string context = qualified + " argument " + std::to_string(i + 1);
        VARIANT& arg = args[std::size_t(count - 1 - i)];
        if (declared & VT_BYREF) {
            const VARTYPE base = declared & ~VT_BYREF;
            values[i] = ToTypedVariant(L, firstArg + i, base, context);
            arg.vt = declared;
            if (base == VT_VARIANT)
                arg.pvarVal = &values[i];
            else
                arg.byref = &values[i].llVal;
            byRef.push_back(i);
        } else {
            values[i] = ToVariant(L, firstArg + i, context);
            arg = values[i]; // a view; `values` keeps ownership
        }
    }
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{args.data(), put ? &putId : nullptr, UINT(count), put ? 1u : 0u};
    CComVariant result;
    EXCEPINFO exception{};
    UINT argErr = 0;
    HRESULT hr = site.Dispatch()->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                         put ? nullptr : &result, &exception, &argErr);
    if (FAILED(hr)) {
        std::string message = qualified + ": ";
        if (hr == DISP_E_EXCEPTION) {
            message += "the control raised " + HResultText(exception.scode);
            if (!BstrView(exception.bstrDescription).empty())
                message += ": " + std::string(BstrView(exception.bstrDescription));
        } else {
            message += HResultText(hr);
            if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW)
                message += put ? " for the value given"
                               : " for argument " + std::to_string(count - int(argErr));
        }
        ClearExcepInfo(&exception);
        Fail(message);
    }
    if (put)
        return 0;
    PushVariant(L, result);
    for (int i : byRef)
        PushVariant(L, values[i]);
    return 1 + int(byRef.size());
}

} // namespace kw::container
