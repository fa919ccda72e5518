#pragma once
// The classes registered in HKEY_CLASSES_ROOT, as a container offers them
// for insertion: controls (marked with the "Control" key) and other classes
// such as property pages.
#include <optional>
#include <string>
#include <vector>

namespace kw::container {

struct RegisteredClass {
    std::string progId; // empty when the class has none
    std::string clsid;  // registry form, with braces
    std::string name;   // the class's user type name
    bool isControl = false;
};

// Controls first, then the others, each sorted by ProgID. Nothing (and
// `error` set) when the hive cannot be read.
std::optional<std::vector<RegisteredClass>> ListRegisteredClasses(std::string* error);

} // namespace kw::container
