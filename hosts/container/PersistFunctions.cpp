// Saving and loading controls and forms in the container's JSON storage,
// the framework's reset, and the modified flag.
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"
#include "platform/afx/ControlStorage.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/base/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kw::container {

namespace {

constexpr std::streamsize kMaxFileSize = 16 * 1024 * 1024;

std::string ReadTextFile(const std::string& path, const char* function) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail(std::string(function) + ": cannot read \"" + path + "\": " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof())
        Fail(std::string(function) + ": cannot read \"" + path + "\"");
    std::string result = text.str();
    if (std::streamsize(result.size()) > kMaxFileSize)
        Fail(std::string(function) + ": \"" + path + "\" is larger than 16 MB");
    return result;
}

// Writes a whole file or nothing (see AtomicFile.h).
void WriteTextFileAtomic(const std::string& path, const std::string& text, const char* function) {
    if (!kw::WriteFileAtomically(path, text))
        Fail(std::string(function) + ": cannot write \"" + path + "\": " + std::strerror(errno));
}

// The control's properties, saved with the modified flag cleared.
nlohmann::json SaveProperties(CControlSite& site, const char* function) {
    auto* bag = new CJsonPropertyBag();
    HRESULT hr = site.Persist()->Save(bag, TRUE, TRUE);
    nlohmann::json values = bag->Values();
    bag->Release();
    if (FAILED(hr))
        Fail(std::string(function) + ": " + site.Name() +
             " cannot save its properties: " + HResultText(hr));
    return values;
}

int Save(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "save");
    const std::string path = ArgString(L, 2, "save", "path");
    StoredControl stored;
    stored.classId = site.ProgId();
    stored.properties = SaveProperties(site, "save");
    WriteTextFileAtomic(path, FormatStoredControl(stored), "save");
    CContainer::From(L).Settle();
    return 0;
}

int Load(lua_State* L) {
    const std::string path = ArgString(L, 1, "load", "path");
    CheckOptTable(L, 2, "load", "opts");
    const InsertOptions options = ReadInsertOptions(L, 2, "load");
    std::string error;
    const auto stored = ParseStoredControl(ReadTextFile(path, "load"), &error);
    if (!stored)
        Fail("load: \"" + path + "\" is not a stored control: " + error);
    CControlSite& site =
        CContainer::From(L).Insert(stored->classId, options, &stored->properties, "load");
    PushProxy(L, site);
    return 1;
}

int SaveForm(lua_State* L) {
    const std::string path = ArgString(L, 1, "saveform", "path");
    StoredForm form;
    for (const auto& site : CContainer::From(L).Sites()) {
        if (!site->IsOpen())
            continue;
        StoredControl stored;
        stored.name = site->Name();
        stored.classId = site->ProgId();
        const RECT& rc = site->Rect();
        stored.x = rc.left;
        stored.y = rc.top;
        stored.w = rc.right - rc.left;
        stored.h = rc.bottom - rc.top;
        stored.properties = SaveProperties(*site, "saveform");
        form.controls.push_back(std::move(stored));
    }
    WriteTextFileAtomic(path, FormatStoredForm(form), "saveform");
    CContainer::From(L).Settle();
    return 0;
}

int LoadForm(lua_State* L) {
    const std::string path = ArgString(L, 1, "loadform", "path");
    std::string error;
    const auto form = ParseStoredForm(ReadTextFile(path, "loadform"), &error);
    if (!form)
        Fail("loadform: \"" + path + "\" is not a stored form: " + error);
    CContainer& container = CContainer::From(L);
    // Every name is checked before the first control is inserted.
    for (std::size_t i = 0; i < form->controls.size(); ++i) {
        const std::string& name = form->controls[i].name;
        for (std::size_t j = 0; j < i; ++j)
            if (form->controls[j].name == name)
                Fail("loadform: \"" + path + "\" names two controls \"" + name + "\"");
        for (const auto& site : container.Sites())
            if (site->Name() == name)
                Fail("loadform: the name \"" + name + "\" is already used in the form");
    }
    lua_newtable(L);
    for (const StoredControl& stored : form->controls) {
        InsertOptions options{};
        options.name = stored.name;
        const RECT place{stored.x, stored.y, stored.x + stored.w, stored.y + stored.h};
        options.rect.emplace(place);
        CControlSite& site =
            container.Insert(stored.classId, options, &stored.properties, "loadform");
        lua_pushlstring(L, stored.name.data(), stored.name.size());
        PushProxy(L, site);
        lua_rawset(L, -3);
    }
    return 1;
}

int Reset(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "reset");
    if (HRESULT hr = site.Persist()->InitNew(); FAILED(hr))
        Fail("reset: " + site.Name() + " cannot be reset: " + HResultText(hr));
    CContainer::From(L).Settle();
    return 0;
}

int Modified(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "modified");
    lua_pushboolean(L, site.Persist()->IsDirty() == S_OK);
    return 1;
}

} // namespace

void RegisterPersistFunctions(lua_State* L) {
    lua_register(L, "save", &LuaEntry<Save>);
    lua_register(L, "load", &LuaEntry<Load>);
    lua_register(L, "saveform", &LuaEntry<SaveForm>);
    lua_register(L, "loadform", &LuaEntry<LoadForm>);
    lua_register(L, "reset", &LuaEntry<Reset>);
    lua_register(L, "modified", &LuaEntry<Modified>);
}

} // namespace kw::container
