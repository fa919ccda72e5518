#include "platform/com/ComLoader.h"

#include "platform/registry/Registry.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>

// [SECTION] Module files
// [SECTION] Class lookup
// [SECTION] Loaded modules
// [SECTION] Class objects of the process
// [SECTION] Creation

// [SECTION] Module files

CModuleFile::CModuleFile(CModuleFile&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)) {}

CModuleFile& CModuleFile::operator=(CModuleFile&& other) noexcept {
    if (this != &other) {
        if (m_handle)
            dlclose(m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

CModuleFile::~CModuleFile() {
    if (m_handle)
        dlclose(m_handle);
}

HRESULT CModuleFile::Open(const std::string& path, std::string* error) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        if (error)
            *error = "no module file at '" + path + "'";
        return HRESULT_MOD_NOT_FOUND;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* text = dlerror();
            *error = text ? text : "not a loadable module";
        }
        return HRESULT_BAD_EXE_FORMAT;
    }
    if (m_handle)
        dlclose(m_handle);
    m_handle = handle;
    return S_OK;
}

void* CModuleFile::Symbol(const char* name) const {
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

std::string GetModuleFileNameOf(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname)
        return {};
    char resolved[PATH_MAX];
    if (!realpath(info.dli_fname, resolved))
        return info.dli_fname;
    return resolved;
}

// [SECTION] Class lookup

HRESULT CLSIDFromProgID(std::string_view progId, CLSID* pclsid) {
    if (!pclsid)
        return E_INVALIDARG;
    *pclsid = CLSID_NULL;
    if (progId.empty() || progId.find('\\') != std::string_view::npos)
        return CO_E_CLASSSTRING;
    std::string text;
    if (RegGetStringValue(HKEY_CLASSES_ROOT, std::string(progId) + "\\CLSID", "", &text) !=
        ERROR_SUCCESS)
        return CO_E_CLASSSTRING;
    auto clsid = GuidFromString(text);
    if (!clsid)
        return CO_E_CLASSSTRING;
    *pclsid = *clsid;
    return S_OK;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* progId) {
    if (!progId)
        return E_INVALIDARG;
    if (RegGetStringValue(HKEY_CLASSES_ROOT, "CLSID\\" + StringFromGuid(clsid) + "\\ProgID", "",
                          progId) != ERROR_SUCCESS)
        return REGDB_E_CLASSNOTREG;
    return S_OK;
}

HRESULT CLSIDFromString(std::string_view text, CLSID* pclsid) {
    if (!pclsid)
        return E_INVALIDARG;
    if (auto guid = GuidFromString(text)) {
        *pclsid = *guid;
        return S_OK;
    }
    return CLSIDFromProgID(text, pclsid);
}

// [SECTION] Loaded modules

namespace {

// Module files stay loaded once a class was taken from them, until
// CoFreeUnusedLibraries finds them idle, as on the platform.
struct LoadedModules {
    std::mutex lock;
    std::map<std::string, CModuleFile> byPath;
};

LoadedModules& Modules() {
    static LoadedModules modules;
    return modules;
}

HRESULT GetClassObjectFromFile(const std::string& path, REFCLSID clsid, REFIID riid, void** ppv) {
    LoadedModules& modules = Modules();
    std::unique_lock guard(modules.lock);
    auto it = modules.byPath.find(path);
    if (it == modules.byPath.end()) {
        CModuleFile file;
        HRESULT hr = file.Open(path);
        if (FAILED(hr))
            return hr;
        it = modules.byPath.emplace(path, std::move(file)).first;
    }
    auto get = reinterpret_cast<DllGetClassObjectFn>(it->second.Symbol("DllGetClassObject"));
    if (!get) {
        modules.byPath.erase(it);
        return CO_E_ERRORINDLL;
    }
    guard.unlock(); // the module may load further classes itself
    return get(clsid, riid, ppv);
}

} // namespace

void CoFreeUnusedLibraries() {
    LoadedModules& modules = Modules();
    std::lock_guard guard(modules.lock);
    for (auto it = modules.byPath.begin(); it != modules.byPath.end();) {
        auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(it->second.Symbol("DllCanUnloadNow"));
        if (canUnload && canUnload() == S_OK)
            it = modules.byPath.erase(it);
        else
            ++it;
    }
}

std::size_t CoLoadedLibraryCount() {
    LoadedModules& modules = Modules();
    std::lock_guard guard(modules.lock);
    return modules.byPath.size();
}

// [SECTION] Class objects of the process

namespace {

struct RegisteredClass {
    CLSID clsid;
    ComPtr<IUnknown> object;
};

struct RegisteredClasses {
    std::mutex lock;
    std::map<DWORD, RegisteredClass> byCookie;
    DWORD nextCookie{1};
};

RegisteredClasses& ProcessClasses() {
    static RegisteredClasses classes;
    return classes;
}

ComPtr<IUnknown> FindProcessClass(REFCLSID clsid) {
    RegisteredClasses& classes = ProcessClasses();
    std::lock_guard guard(classes.lock);
    for (const auto& [cookie, entry] : classes.byCookie)
        if (entry.clsid == clsid)
            return entry.object;
    return {};
}

} // namespace

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* object, DWORD, DWORD, DWORD* cookie) {
    if (!object || !cookie)
        return E_INVALIDARG;
    *cookie = 0;
    RegisteredClasses& classes = ProcessClasses();
    std::lock_guard guard(classes.lock);
    for (const auto& [existing, entry] : classes.byCookie)
        if (entry.clsid == clsid)
            return CO_E_OBJISREG;
    *cookie = classes.nextCookie++;
    classes.byCookie.emplace(*cookie, RegisteredClass{clsid, ComPtr<IUnknown>(object)});
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
    ComPtr<IUnknown> released; // let go outside the lock
    RegisteredClasses& classes = ProcessClasses();
    std::lock_guard guard(classes.lock);
    auto it = classes.byCookie.find(cookie);
    if (it == classes.byCookie.end())
        return CO_E_OBJNOTREG;
    released = std::move(it->second.object);
    classes.byCookie.erase(it);
    return S_OK;
}

// [SECTION] Creation

HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void*, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!(clsctx & CLSCTX_INPROC_SERVER))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (ComPtr<IUnknown> object = FindProcessClass(clsid))
        return object->QueryInterface(riid, ppv);
    std::string path;
    LONG rc = RegGetStringValue(HKEY_CLASSES_ROOT,
                                "CLSID\\" + StringFromGuid(clsid) + "\\InprocServer32", "", &path);
    if (rc == ERROR_REGISTRY_CORRUPT)
        return REGDB_E_READREGDB;
    if (rc != ERROR_SUCCESS)
        return CLASS_E_CLASSNOTAVAILABLE;
    return GetClassObjectFromFile(path, clsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* pUnkOuter, DWORD clsctx, REFIID riid,
                         void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(clsid, clsctx, nullptr, IID_IClassFactory, factory.OutVoid());
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(pUnkOuter, riid, ppv);
}

HRESULT CoCreateInstanceFromName(std::string_view name, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CLSID clsid;
    if (FAILED(CLSIDFromString(name, &clsid)))
        return CLASS_E_CLASSNOTAVAILABLE;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, riid, ppv);
}
