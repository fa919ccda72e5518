#include "hosts/container/Container.h"

#include "hosts/container/EventSink.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/base/Windows1252.h"
#include "platform/com/ComLoader.h"
#include "platform/registry/Registry.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/User.h"

#include <cstdio>

namespace kw::container {

namespace {

constexpr const char* kFormClass = "KwContainerForm";
constexpr int kFormWidth = 800;
constexpr int kFormHeight = 560;
const char kRegistryKey = 0; // its address keys the container in the Lua registry

LRESULT FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A ProgID, or a class identifier string with a class key.
bool IsRegisteredClassName(const std::string& name) {
    CLSID clsid{};
    if (SUCCEEDED(CLSIDFromProgID(name.c_str(), &clsid)))
        return true;
    if (FAILED(CLSIDFromString(name.c_str(), &clsid)))
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\" + StringFromGuid(clsid), KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Where the registry was looked for and how to fill it, when it holds no
// class at all; empty otherwise.
std::string EmptyRegistryHint() {
    HKEY classes = nullptr;
    bool any = false;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", KEY_READ, &classes) == ERROR_SUCCESS) {
        std::string first;
        any = RegEnumKeyExA(classes, 0, &first) == ERROR_SUCCESS;
        RegCloseKey(classes);
    }
    if (any)
        return {};
    return "; the registry in \"" + kw::registry::RootDirectory() +
           "\" holds no classes: run scripts/run (it registers the module into "
           "build-release/registry), then pass --registry DIR or set KW_REGISTRY_DIR, or register "
           "a module with --register MODULE";
}

std::string Hex(UINT value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", value);
    return buf;
}

struct HResultName {
    HRESULT hr;
    const char* name;
};
constexpr HResultName kHResultNames[] = {
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_NOINTERFACE, "E_NOINTERFACE"},
    {E_POINTER, "E_POINTER"},
    {E_FAIL, "E_FAIL"},
    {E_UNEXPECTED, "E_UNEXPECTED"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_INVALIDARG, "E_INVALIDARG"},
    {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
    {CO_E_CLASSSTRING, "CO_E_CLASSSTRING"},
    {CO_E_ERRORINDLL, "CO_E_ERRORINDLL"},
    {HRESULT_MOD_NOT_FOUND, "ERROR_MOD_NOT_FOUND"},
    {HRESULT_BAD_EXE_FORMAT, "ERROR_BAD_EXE_FORMAT"},
    {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
    {DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND"},
    {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
    {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
    {DISP_E_NONAMEDARGS, "DISP_E_NONAMEDARGS"},
    {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"},
    {DISP_E_EXCEPTION, "DISP_E_EXCEPTION"},
    {DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
    {DISP_E_BADINDEX, "DISP_E_BADINDEX"},
    {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
    {DISP_E_PARAMNOTOPTIONAL, "DISP_E_PARAMNOTOPTIONAL"},
    {CONNECT_E_CANNOTCONNECT, "CONNECT_E_CANNOTCONNECT"},
    {OLE_E_NOT_INPLACEACTIVE, "OLE_E_NOT_INPLACEACTIVE"},
};

} // namespace

std::string HResultText(HRESULT hr) {
    for (const auto& row : kHResultNames)
        if (row.hr == hr)
            return std::string(row.name) + " (" + FormatHResult(hr) + ")";
    return FormatHResult(hr);
}

CContainer::CContainer(lua_State* L) : m_lua(L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kRegistryKey));
    lua_pushlightuserdata(L, this);
    lua_rawset(L, LUA_REGISTRYINDEX);

    WNDCLASSA wc{};
    wc.lpfnWndProc = &FormProc;
    wc.lpszClassName = kFormClass;
    RegisterClassA(&wc);
    m_form = CreateWindowExA(0, kFormClass, "kwcontainer", WS_POPUP | WS_VISIBLE, 0, 0, kFormWidth,
                             kFormHeight, nullptr, nullptr, nullptr, nullptr);

    // Message boxes and beeps become lines of the log; modal loops stay with
    // the session's recording handler.
    kw::user::ModalUiHandler handler;
    handler.messageBox = [this](HWND, const std::string& text, const std::string& caption,
                                UINT type) {
        std::printf("messagebox \"%s\" \"%s\" %s\n", AnsiToUtf8(caption).c_str(),
                    AnsiToUtf8(text).c_str(), Hex(type).c_str());
        return m_messageBoxAnswer ? m_messageBoxAnswer : kw::user::DefaultMessageBoxAnswer(type);
    };
    handler.messageBeep = [](UINT type) { std::printf("beep %s\n", Hex(type).c_str()); };
    m_previousModal = kw::user::SetModalUiHandler(std::move(handler));
    m_session.Pump();
}

CContainer::~CContainer() {
    for (auto& site : m_sites)
        site->Close();
    m_sites.clear();
    kw::user::SetModalUiHandler(std::move(m_previousModal));
    if (m_form)
        DestroyWindow(m_form);
}

CContainer& CContainer::From(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kRegistryKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* container = static_cast<CContainer*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return *container;
}

CControlSite* CContainer::FindSite(int id) const {
    for (const auto& site : m_sites)
        if (site->Id() == id)
            return site.get();
    return nullptr;
}

std::string CContainer::UniqueName(const std::string& progId) const {
    // "Kestrowidge.LedCtrl.1" gives Led1, Led2, ...
    std::string stem = progId;
    if (auto dot = stem.find('.'); dot != std::string::npos)
        stem = stem.substr(dot + 1);
    if (auto dot = stem.find('.'); dot != std::string::npos)
        stem = stem.substr(0, dot);
    if (stem.size() > 4 && stem.ends_with("Ctrl"))
        stem.resize(stem.size() - 4);
    if (stem.empty() || stem.front() == '{')
        stem = "Control";
    for (int n = 1;; ++n) {
        std::string name = stem + std::to_string(n);
        bool used = false;
        for (const auto& site : m_sites)
            used = used || site->Name() == name;
        if (!used)
            return name;
    }
}

CControlSite& CContainer::Insert(const std::string& classText, const InsertOptions& options,
                                 const nlohmann::json* properties, const char* function) {
    const std::string what = std::string(function) + ": \"" + classText + "\"";
    for (const auto& site : m_sites)
        if (!options.name.empty() && site->Name() == options.name)
            Fail(std::string(function) + ": the name \"" + options.name +
                 "\" is already used in the form");
    auto site = std::make_unique<CControlSite>(m_nextId, options.name);
    HRESULT hr = site->Create(classText);
    if (FAILED(hr) && !IsRegisteredClassName(classText))
        Fail(std::string(function) + ": no class is registered under \"" + classText + "\"" +
             EmptyRegistryHint());
    if (FAILED(hr))
        Fail(what + " is registered but cannot be created: " + HResultText(hr));
    if (options.name.empty())
        site->SetName(UniqueName(site->ProgId()));
    if (properties) {
        auto* bag = new CJsonPropertyBag(*properties);
        hr = site->Persist()->Load(bag, nullptr);
        bag->Release();
    } else {
        hr = site->Persist()->InitNew();
    }
    if (FAILED(hr))
        Fail(what + " cannot be " + (properties ? "loaded: " : "initialised: ") + HResultText(hr));

    RECT rect{};
    if (options.rect) {
        rect = *options.rect;
    } else {
        const SIZE initial = site->ExtentPixels();
        rect = RECT{options.x, options.y, options.x + options.w.value_or(initial.cx),
                    options.y + options.h.value_or(initial.cy)};
    }
    if (FAILED(hr = site->Activate(m_form, rect)))
        Fail(what + " cannot be placed in the form: " + HResultText(hr));

    if (ITypeInfo* events = site->EventInfo()) {
        TYPEATTR attr{};
        events->GetTypeAttr(&attr);
        auto* sink = new CEventSink(*this, m_nextId, attr.guid);
        hr = site->ConnectEvents(sink);
        sink->Release();
        if (FAILED(hr))
            Fail(what + ": its events cannot be connected: " + HResultText(hr));
    }
    ++m_nextId;
    m_sites.push_back(std::move(site));
    Settle();
    return *m_sites.back();
}

void CContainer::Remove(CControlSite& site) {
    if (!site.IsOpen())
        return;
    if (IOleObject* ole = site.Ole())
        ole->Close(OLECLOSE_NOSAVE);
    site.Close();
    // A handler that is running keeps its function on the Lua stack.
    for (auto& [dispid, ref] : site.Handlers())
        luaL_unref(m_lua, LUA_REGISTRYINDEX, ref);
    site.Handlers().clear();
}

void CContainer::CloseAll() {
    for (auto& site : m_sites) {
        site->Close();
        for (auto& [dispid, ref] : site->Handlers())
            luaL_unref(m_lua, LUA_REGISTRYINDEX, ref);
        site->Handlers().clear();
        luaL_unref(m_lua, LUA_REGISTRYINDEX, site->ProxyRef());
        site->ProxyRef() = LUA_NOREF;
    }
    m_session.Pump();
    m_sites.clear();
}

void CContainer::Settle() {
    m_session.Pump();
    ThrowPendingError();
}

void CContainer::ThrowPendingError() {
    if (!m_pendingError)
        return;
    std::string message = std::move(*m_pendingError);
    m_pendingError.reset();
    throw ScriptError(message);
}

void CContainer::SetPendingError(std::string message) {
    if (!m_pendingError)
        m_pendingError = std::move(message);
}

} // namespace kw::container
