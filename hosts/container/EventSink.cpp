#include "hosts/container/EventSink.h"

#include "hosts/container/Container.h"
#include "hosts/container/VariantLua.h"

#include <cstdio>

namespace kw::container {

namespace {

// The framework's stock events, which a control may fire without listing
// them in its event interface.
const char* StockEventName(DISPID dispid) {
    switch (dispid) {
    case -600:
        return "Click";
    case -601:
        return "DblClick";
    case -602:
        return "KeyDown";
    case -603:
        return "KeyPress";
    case -604:
        return "KeyUp";
    case -605:
        return "MouseDown";
    case -606:
        return "MouseMove";
    case -607:
        return "MouseUp";
    default:
        return nullptr;
    }
}

// The name a handler's argument table uses for parameter `i`.
std::string ParamName(const DispEntry* entry, UINT i) {
    if (entry && i < entry->params.size())
        return entry->params[i].name;
    return "arg" + std::to_string(i + 1);
}

// Calls the handler at `ref` with a table of the event's arguments, then
// writes what the handler left in by-reference fields back to the control.
void CallHandler(CContainer& container, const CControlSite& site, const std::string& event, int ref,
                 const DispEntry* entry, DISPPARAMS* params) {
    lua_State* L = container.Lua();
    const int top = lua_gettop(L);
    const UINT count = params ? params->cArgs : 0;
    lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
    lua_createtable(L, 0, int(count));
    for (UINT i = 0; i < count; ++i) {
        const std::string name = ParamName(entry, i);
        lua_pushlstring(L, name.data(), name.size());
        PushVariant(L, params->rgvarg[count - 1 - i]);
        lua_rawset(L, -3);
    }
    lua_pushvalue(L, -1); // kept to read the answers
    lua_insert(L, top + 1);
    if (lua_pcall(L, 1, 0, 0) != LUA_OK) {
        container.SetPendingError("handler of " + site.Name() + "." + event + ": " +
                                  ErrorText(L, -1));
        lua_settop(L, top);
        return;
    }
    for (UINT i = 0; i < count; ++i) {
        VARIANT& arg = params->rgvarg[count - 1 - i];
        if (!(arg.vt & VT_BYREF))
            continue;
        const std::string name = ParamName(entry, i);
        lua_pushlstring(L, name.data(), name.size());
        lua_rawget(L, top + 1);
        const std::string context = site.Name() + "." + event + " argument " + name;
        CComVariant answer = ToVariant(L, -1, context);
        lua_pop(L, 1);
        if (HRESULT hr = StoreByRef(arg, answer); FAILED(hr))
            Fail(context + " cannot take the value " + FormatVariant(answer) + ": " +
                 HResultText(hr));
    }
    lua_settop(L, top);
}

} // namespace

HRESULT CEventSink::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_iid) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CEventSink::Release() {
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT CEventSink::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT CEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT CEventSink::GetIDsOfNames(REFIID, const char* const*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT CEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                           EXCEPINFO*, UINT*) {
    CControlSite* site = m_container.FindSite(m_siteId);
    if (!site)
        return S_OK;
    const DispEntry* entry = site->FindEvent(dispid);
    const char* stock = StockEventName(dispid);
    const std::string event = entry   ? std::string(entry->name)
                              : stock ? std::string(stock)
                                      : "Event" + std::to_string(dispid);
    const UINT count = params ? params->cArgs : 0;
    std::string line = "event " + site->Name() + "." + event + "(";
    for (UINT i = 0; i < count; ++i) {
        if (i)
            line += ", ";
        line += FormatVariant(params->rgvarg[count - 1 - i]);
    }
    line += ")";
    m_container.ObserveEvent(line);
    line += "\n";
    std::fputs(line.c_str(), stdout);

    auto handler = site->Handlers().find(dispid);
    if (handler == site->Handlers().end())
        return S_OK;
    // No exception leaves a dispatch call: a failure becomes the script's
    // error once the control has returned.
    const int top = lua_gettop(m_container.Lua());
    try {
        CallHandler(m_container, *site, event, handler->second, entry, params);
    } catch (const std::exception& e) {
        lua_settop(m_container.Lua(), top);
        m_container.SetPendingError(e.what());
    }
    return S_OK;
}

} // namespace kw::container
