#pragma once
#include "resources/compiler/RcScript.h"

#include <map>

namespace kw::rc {

// C++ source defining the tables declared in resources/ResourceTables.h.
// `bitmapBytes` holds the contents of every bitmap file the script names.
std::string EmitTables(const Script& script, const std::map<long long, std::string>& bitmapBytes,
                       std::string_view scriptName);

} // namespace kw::rc
