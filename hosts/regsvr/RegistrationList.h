#pragma once
#include <string>

// Prints the classes registered in HKEY_CLASSES_ROOT (those served by
// `modulePath` only, when it is not empty) and the type libraries.
// False when the registry cannot be read.
bool PrintRegistrations(const std::string& modulePath);
