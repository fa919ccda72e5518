#include "hosts/container/ClassList.h"

#include "platform/registry/Registry.h"

#include <algorithm>

namespace kw::container {

std::optional<std::vector<RegisteredClass>> ListRegisteredClasses(std::string* error) {
    std::vector<RegisteredClass> classes;
    HKEY root = nullptr;
    const LONG rc = RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", KEY_READ, &root);
    if (rc == ERROR_FILE_NOT_FOUND)
        return classes;
    if (rc != ERROR_SUCCESS) {
        if (error)
            *error = rc == ERROR_REGISTRY_CORRUPT
                         ? "the registry hive HKEY_CLASSES_ROOT is damaged"
                         : "the registry cannot be read (error " + std::to_string(rc) + ")";
        return std::nullopt;
    }
    std::string clsid;
    for (DWORD i = 0; RegEnumKeyExA(root, i, &clsid) == ERROR_SUCCESS; ++i) {
        RegisteredClass entry;
        entry.clsid = clsid;
        RegGetStringValue(root, clsid, "", &entry.name);
        RegGetStringValue(root, clsid + "\\ProgID", "", &entry.progId);
        HKEY control = nullptr;
        if (RegOpenKeyExA(root, clsid + "\\Control", KEY_READ, &control) == ERROR_SUCCESS) {
            entry.isControl = true;
            RegCloseKey(control);
        }
        classes.push_back(std::move(entry));
    }
    RegCloseKey(root);
    std::stable_sort(classes.begin(), classes.end(), [](const auto& a, const auto& b) {
        if (a.isControl != b.isControl)
            return a.isControl;
        return a.progId < b.progId;
    });
    return classes;
}

} // namespace kw::container
