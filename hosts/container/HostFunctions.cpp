// The host's side: the registry, message boxes, the About box, and what the
// type library and the registry say about classes and controls.
#include "hosts/container/ClassList.h"
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"
#include "platform/base/Windows1252.h"
#include "platform/registry/Registry.h"
#include "platform/user/User.h"

#include <cstring>

namespace kw::container {

namespace {

void SetField(lua_State* L, const char* field, const std::string& value) {
    lua_pushlstring(L, value.data(), value.size());
    lua_setfield(L, -2, field);
}

void SetField(lua_State* L, const char* field, lua_Integer value) {
    lua_pushinteger(L, value);
    lua_setfield(L, -2, field);
}

std::string RegistryError(LONG rc) {
    switch (rc) {
    case ERROR_ACCESS_DENIED:
        return "access denied";
    case ERROR_INVALID_PARAMETER:
        return "the key or value name is not valid";
    case ERROR_REGISTRY_CORRUPT:
        return "the registry hive is damaged";
    case ERROR_CANTWRITE:
        return "the registry cannot be written";
    default:
        return "error " + std::to_string(rc);
    }
}

int RegSet(lua_State* L) {
    const std::string key = ArgString(L, 1, "regset", "key");
    const std::string name = ArgString(L, 2, "regset", "name");
    LONG rc = ERROR_SUCCESS;
    if (lua_type(L, 3) == LUA_TSTRING) {
        rc = RegSetStringValue(HKEY_CURRENT_USER, key, name, ArgString(L, 3, "regset", "value"));
    } else if (lua_type(L, 3) == LUA_TNUMBER) {
        const lua_Integer number = ArgInteger(L, 3, "regset", "value");
        if (number < 0 || number > 0xFFFFFFFF)
            Fail("regset: a number value must fit in a DWORD (0..4294967295)");
        const DWORD value = DWORD(number);
        HKEY hkey = nullptr;
        rc = RegCreateKeyExA(HKEY_CURRENT_USER, key, KEY_WRITE, &hkey);
        if (rc == ERROR_SUCCESS) {
            rc = RegSetValueExA(hkey, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof value);
            RegCloseKey(hkey);
        }
    } else {
        Fail("regset: argument 3 (value) must be a string or an integer, got " +
             std::string(TypeName(L, 3)));
    }
    if (rc != ERROR_SUCCESS)
        Fail("regset: HKEY_CURRENT_USER\\" + key + " \"" + name + "\": " + RegistryError(rc));
    return 0;
}

int RegGet(lua_State* L) {
    const std::string key = ArgString(L, 1, "regget", "key");
    const std::string name = ArgString(L, 2, "regget", "name");
    HKEY hkey = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, key, KEY_READ, &hkey);
    DWORD type = REG_NONE;
    std::string data;
    if (rc == ERROR_SUCCESS) {
        DWORD size = 0;
        rc = RegQueryValueExA(hkey, name, &type, nullptr, &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            rc = RegQueryValueExA(hkey, name, &type, reinterpret_cast<BYTE*>(data.data()), &size);
            data.resize(size);
        }
        RegCloseKey(hkey);
    }
    if (rc == ERROR_FILE_NOT_FOUND) {
        lua_pushnil(L);
        return 1;
    }
    if (rc != ERROR_SUCCESS)
        Fail("regget: HKEY_CURRENT_USER\\" + key + " \"" + name + "\": " + RegistryError(rc));
    if (type == REG_DWORD && data.size() == 4) {
        DWORD value = 0;
        std::memcpy(&value, data.data(), 4);
        lua_pushinteger(L, value);
    } else {
        if ((type == REG_SZ || type == REG_EXPAND_SZ) && !data.empty() && data.back() == '\0')
            data.pop_back();
        lua_pushlstring(L, data.data(), data.size());
    }
    return 1;
}

int MsgboxAnswer(lua_State* L) {
    const lua_Integer answer = lua_isnoneornil(L, 1) ? 0 : ArgInteger(L, 1, "msgbox_answer", "id");
    if (answer < 0 || answer > IDCONTINUE)
        Fail("msgbox_answer: " + std::to_string(answer) + " is not a button id (0 for default)");
    CContainer::From(L).SetMessageBoxAnswer(int(answer));
    return 0;
}

std::string WindowText(HWND hwnd) {
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, int(sizeof buffer));
    return AnsiToUtf8(buffer);
}

int About(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "about");
    auto& log = kw::user::RecordingModalUiLog();
    std::vector<std::string> texts;
    auto previous = std::move(log.onModalLoop);
    log.onModalLoop = [&texts](HWND dialog) {
        texts.push_back(WindowText(dialog));
        // The items in template order (the bottom of the z-order first);
        // an icon's resource reference ("#1") is not a text.
        HWND item = GetWindow(dialog, GW_CHILD);
        item = item ? GetWindow(item, GW_HWNDLAST) : nullptr;
        for (; item; item = GetWindow(item, GW_HWNDPREV))
            if (std::string text = WindowText(item); !text.empty() && text[0] != '#')
                texts.push_back(std::move(text));
        // As a click on its OK button.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    };
    DISPPARAMS none{};
    EXCEPINFO exception{};
    const HRESULT hr = site.Dispatch()->Invoke(-552, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                               &none, nullptr, &exception, nullptr);
    ClearExcepInfo(&exception);
    log.onModalLoop = std::move(previous);
    if (FAILED(hr))
        Fail("about: " + site.Name() + ".AboutBox: " + HResultText(hr));
    if (texts.empty())
        Fail("about: " + site.Name() + " showed no About box");
    CContainer::From(L).Settle();
    lua_createtable(L, int(texts.size()), 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        lua_pushlstring(L, texts[i].data(), texts[i].size());
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    return 1;
}

int Classes(lua_State* L) {
    std::string error;
    const auto classes = ListRegisteredClasses(&error);
    if (!classes)
        Fail("classes: " + error);
    lua_createtable(L, int(classes->size()), 0);
    lua_Integer n = 0;
    for (const RegisteredClass& entry : *classes) {
        lua_createtable(L, 0, 4);
        SetField(L, "progid", entry.progId);
        SetField(L, "clsid", entry.clsid);
        SetField(L, "name", entry.name);
        SetField(L, "kind", std::string(entry.isControl ? "control" : "page"));
        lua_rawseti(L, -2, ++n);
    }
    return 1;
}

void AddMembers(lua_State* L, ITypeInfo* info, const std::string& interfaceName, bool events,
                lua_Integer& n) {
    if (!info)
        return;
    const DispEntry* entry = nullptr;
    for (UINT i = 0; SUCCEEDED(info->GetMemberDesc(i, &entry)); ++i) {
        lua_createtable(L, 0, 5);
        SetField(L, "name", std::string(entry->TypeLibName()));
        SetField(L, "runtime", std::string(entry->name));
        SetField(L, "dispid", lua_Integer(entry->dispid));
        SetField(L, "kind",
                 std::string(events                              ? "event"
                             : entry->kind == DispKind::Property ? "property"
                                                                 : "method"));
        SetField(L, "interface", interfaceName);
        lua_rawseti(L, -2, ++n);
    }
}

int Members(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "members");
    lua_newtable(L);
    lua_Integer n = 0;
    AddMembers(L, site.DispatchInfo(), site.DispatchName(), false, n);
    AddMembers(L, site.EventInfo(), site.EventName(), true, n);
    return 1;
}

int ProgId(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "progid");
    lua_pushstring(L, site.ProgId().c_str());
    return 1;
}

int Clsid(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "clsid");
    lua_pushstring(L, StringFromGuid(site.Clsid()).c_str());
    return 1;
}

int Size(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "size");
    RECT rc{};
    GetClientRect(site.Hwnd(), &rc);
    lua_pushinteger(L, rc.right - rc.left);
    lua_pushinteger(L, rc.bottom - rc.top);
    return 2;
}

} // namespace

void RegisterHostFunctions(lua_State* L) {
    lua_register(L, "regset", &LuaEntry<RegSet>);
    lua_register(L, "regget", &LuaEntry<RegGet>);
    lua_register(L, "msgbox_answer", &LuaEntry<MsgboxAnswer>);
    lua_register(L, "about", &LuaEntry<About>);
    lua_register(L, "classes", &LuaEntry<Classes>);
    lua_register(L, "members", &LuaEntry<Members>);
    lua_register(L, "progid", &LuaEntry<ProgId>);
    lua_register(L, "clsid", &LuaEntry<Clsid>);
    lua_register(L, "size", &LuaEntry<Size>);
}

} // namespace kw::container
