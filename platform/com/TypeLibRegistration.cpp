#include "platform/com/ComLoader.h"
#include "platform/com/ComObject.h"
#include "platform/com/TypeInfo.h"
#include "platform/registry/Registry.h"

#include <cstdio>
#include <new>
#include <optional>
#include <vector>

namespace {

// The proxy/stub class the platform names for every dispatch interface.
constexpr const char* kDispatchProxyStub = "{00020420-0000-0000-C000-000000000046}";

std::string VersionKey(WORD major, WORD minor) {
    char text[16];
    std::snprintf(text, sizeof text, "%x.%x", major, minor);
    return text;
}

std::optional<std::pair<WORD, WORD>> ParseVersionKey(const std::string& key) {
    unsigned major = 0, minor = 0;
    char tail = 0;
    if (std::sscanf(key.c_str(), "%x.%x%c", &major, &minor, &tail) != 2 || major > 0xFFFF ||
        minor > 0xFFFF)
        return std::nullopt;
    return std::pair<WORD, WORD>{static_cast<WORD>(major), static_cast<WORD>(minor)};
}

std::string LcidKey(LCID lcid) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(lcid));
    return text;
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Keeps a module file loaded while a library read from it is alive.
class CLoadedFile final : public CComObjectRoot<IUnknown, IID_IUnknown> {
public:
    explicit CLoadedFile(CModuleFile file) : m_file(std::move(file)) {}

private:
    CModuleFile m_file;
};

LONG SetString(const std::string& key, const char* name, const std::string& value) {
    return RegSetStringValue(HKEY_CLASSES_ROOT, key, name, value);
}

} // namespace

HRESULT LoadTypeLib(const char* path, ITypeLib** ppTLib) {
    if (!ppTLib)
        return E_POINTER;
    *ppTLib = nullptr;
    if (!path)
        return E_INVALIDARG;
    CModuleFile file;
    if (FAILED(file.Open(path)))
        return TYPE_E_CANTLOADLIBRARY;
    auto resource = reinterpret_cast<TypeLibResourceFn>(file.Symbol(kTypeLibResourceExport));
    const TypeLibDesc* desc = resource ? resource(1) : nullptr;
    if (!desc)
        return TYPE_E_CANTLOADLIBRARY;
    auto* holder = new (std::nothrow) CLoadedFile(std::move(file));
    if (!holder)
        return E_OUTOFMEMORY;
    HRESULT hr = CreateTypeLib(desc, holder, ppTLib);
    holder->Release();
    return hr;
}

HRESULT RegisterTypeLib(ITypeLib* ptlib, const char* fullPath, const char* helpDir) {
    if (!ptlib || !fullPath)
        return E_INVALIDARG;
    TLIBATTR attr{};
    HRESULT hr = ptlib->GetLibAttr(&attr);
    if (FAILED(hr))
        return hr;
    CComBSTR name, helpString;
    hr = ptlib->GetDocumentation(-1, &name, &helpString, nullptr, nullptr);
    if (FAILED(hr))
        return hr;

    const std::string libid = StringFromGuid(attr.guid);
    const std::string version = VersionKey(attr.wMajorVerNum, attr.wMinorVerNum);
    const std::string libKey = "TypeLib\\" + libid + "\\" + version;
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    LONG rc = SetString(libKey, "", std::string(helpString.View()));
    if (rc == ERROR_SUCCESS)
        rc = SetString(libKey + "\\" + LcidKey(attr.lcid) + "\\win64", "", fullPath);
    if (rc == ERROR_SUCCESS)
        rc = SetString(libKey + "\\FLAGS", "", "0");
    if (rc == ERROR_SUCCESS)
        rc = SetString(libKey + "\\HELPDIR", "", helpDir ? helpDir : DirectoryOf(fullPath));
    for (UINT i = 0; rc == ERROR_SUCCESS && i < ptlib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind{};
        if (FAILED(ptlib->GetTypeInfoType(i, &kind)) || kind != TKIND_DISPATCH)
            continue;
        ComPtr<ITypeInfo> info;
        TYPEATTR typeAttr{};
        CComBSTR typeName;
        if (FAILED(ptlib->GetTypeInfo(i, info.Out())) || FAILED(info->GetTypeAttr(&typeAttr)) ||
            FAILED(info->GetDocumentation(DISPID_UNKNOWN, &typeName, nullptr, nullptr, nullptr)))
            return TYPE_E_REGISTRYACCESS;
        const std::string key = "Interface\\" + StringFromGuid(typeAttr.guid);
        rc = SetString(key, "", std::string(typeName.View()));
        if (rc == ERROR_SUCCESS)
            rc = SetString(key + "\\ProxyStubClsid32", "", kDispatchProxyStub);
        if (rc == ERROR_SUCCESS)
            rc = SetString(key + "\\TypeLib", "", libid);
        if (rc == ERROR_SUCCESS)
            rc = SetString(key + "\\TypeLib", "Version", version);
    }
    if (rc == ERROR_SUCCESS)
        rc = batch.Commit();
    return rc == ERROR_SUCCESS ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID, SYSKIND) {
    const std::string lib = StringFromGuid(libid);
    const std::string version = VersionKey(major, minor);
    const std::string libRoot = "TypeLib\\" + lib;
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    HKEY versionKey = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, libRoot + "\\" + version, KEY_READ, &versionKey) !=
        ERROR_SUCCESS)
        return TYPE_E_REGISTRYACCESS;
    RegCloseKey(versionKey);

    // The interfaces this version of the library registered.
    HKEY interfaces = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "Interface", KEY_ALL_ACCESS, &interfaces) ==
        ERROR_SUCCESS) {
        std::vector<std::string> owned;
        std::string iid;
        for (DWORD i = 0; RegEnumKeyExA(interfaces, i, &iid) == ERROR_SUCCESS; ++i) {
            std::string owner, ownerVersion;
            if (RegGetStringValue(interfaces, iid + "\\TypeLib", "", &owner) == ERROR_SUCCESS &&
                RegGetStringValue(interfaces, iid + "\\TypeLib", "Version", &ownerVersion) ==
                    ERROR_SUCCESS &&
                NamesEqual(owner, lib) && ownerVersion == version)
                owned.push_back(iid);
        }
        for (const std::string& key : owned)
            RegDeleteTreeA(interfaces, key);
        RegCloseKey(interfaces);
    }
    if (RegDeleteTreeA(HKEY_CLASSES_ROOT, libRoot + "\\" + version) != ERROR_SUCCESS)
        return TYPE_E_REGISTRYACCESS;
    // The library's key goes when its last version is gone.
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, libRoot, KEY_READ, &root) == ERROR_SUCCESS) {
        std::string any;
        bool empty = RegEnumKeyExA(root, 0, &any) != ERROR_SUCCESS;
        RegCloseKey(root);
        if (empty)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, libRoot);
    }
    return batch.Commit() == ERROR_SUCCESS ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** ppTLib) {
    if (!ppTLib)
        return E_POINTER;
    *ppTLib = nullptr;
    const std::string libRoot = "TypeLib\\" + StringFromGuid(libid);
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, libRoot, KEY_READ, &root) != ERROR_SUCCESS)
        return TYPE_E_LIBNOTREGISTERED;
    std::optional<std::pair<WORD, WORD>> best;
    std::string bestKey, key;
    for (DWORD i = 0; RegEnumKeyExA(root, i, &key) == ERROR_SUCCESS; ++i) {
        auto version = ParseVersionKey(key);
        if (!version || version->first != major || version->second < minor)
            continue;
        if (!best || version->second > best->second) {
            best = version;
            bestKey = key;
        }
    }
    if (!best) {
        RegCloseKey(root);
        return TYPE_E_LIBNOTREGISTERED;
    }
    std::string path;
    LONG rc = RegGetStringValue(root, bestKey + "\\" + LcidKey(lcid) + "\\win64", "", &path);
    if (rc != ERROR_SUCCESS && lcid != 0)
        rc = RegGetStringValue(root, bestKey + "\\0\\win64", "", &path);
    RegCloseKey(root);
    if (rc != ERROR_SUCCESS)
        return TYPE_E_LIBNOTREGISTERED;
    return LoadTypeLib(path.c_str(), ppTLib);
}
