#pragma once
// The module file's version record, as its properties show it.
#include "platform/base/WinTypes.h"

#include <span>
#include <utility>

namespace kw::module {

struct VersionRecord {
    WORD fileVersion[4];
    WORD productVersion[4];
    WORD language; // German (Austria)
    // Name and value pairs of the string block.
    std::span<const std::pair<const char*, const char*>> strings;
};

const VersionRecord& ModuleVersion();

} // namespace kw::module
