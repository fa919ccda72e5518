#pragma once
#include "resources/compiler/RcScript.h"

#include <map>

namespace kw::rc {

// C++ source defining the tables declared in resources/ResourceTables.h.
// `bitmapBytes` and `iconBytes` hold the contents of every bitmap and icon
// file the script names.
std::string EmitTables(const Script& script, const std::map<long long, std::string>& bitmapBytes,
                       std::string_view scriptName,
                       const std::map<long long, std::string>& iconBytes = {});

// Whether `bytes` are an icon file whose every image lies inside it; if not,
// `error` says what is wrong.
bool CheckIconFile(std::string_view bytes, std::string* error);

} // namespace kw::rc
