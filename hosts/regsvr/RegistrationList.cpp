#include "hosts/regsvr/RegistrationList.h"

#include "platform/registry/Registry.h"

#include <cstdio>
#include <vector>

namespace {

std::string Value(HKEY key, const std::string& sub, const char* name = "") {
    std::string value;
    RegGetStringValue(key, sub, name, &value);
    return value;
}

std::vector<std::string> Subkeys(HKEY key) {
    std::vector<std::string> names;
    std::string name;
    for (DWORD i = 0; RegEnumKeyExA(key, i, &name) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    return names;
}

} // namespace

bool PrintRegistrations(const std::string& modulePath) {
    HKEY classes = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", KEY_READ, &classes);
    if (rc == ERROR_REGISTRY_CORRUPT) {
        std::fprintf(stderr, "kwregsvr: the registry hive HKEY_CLASSES_ROOT is damaged\n");
        return false;
    }
    int count = 0;
    if (rc == ERROR_SUCCESS) {
        for (const std::string& clsid : Subkeys(classes)) {
            std::string server = Value(classes, clsid + "\\InprocServer32");
            if (!modulePath.empty() && server != modulePath)
                continue;
            std::string progId = Value(classes, clsid + "\\ProgID");
            std::printf("%s  %-40s %s\n", clsid.c_str(),
                        progId.empty() ? "(no ProgID)" : progId.c_str(),
                        Value(classes, clsid).c_str());
            ++count;
        }
        RegCloseKey(classes);
    }
    std::printf("%d classes\n", count);

    HKEY libraries = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "TypeLib", KEY_READ, &libraries) == ERROR_SUCCESS) {
        for (const std::string& libid : Subkeys(libraries)) {
            HKEY lib = nullptr;
            if (RegOpenKeyExA(libraries, libid, KEY_READ, &lib) != ERROR_SUCCESS)
                continue;
            for (const std::string& version : Subkeys(lib))
                std::printf("type library %s %s  %s\n", libid.c_str(), version.c_str(),
                            Value(lib, version).c_str());
            RegCloseKey(lib);
        }
        RegCloseKey(libraries);
    }
    return true;
}
