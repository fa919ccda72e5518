#include "module/VersionRecord.h"

namespace kw::module {

namespace {

const std::pair<const char*, const char*> kStrings[] = {
    {"FileDescription", "Kestrowidge ActivX-Steuerelement-Modul"},
    {"FileVersion", "1.2"},
    {"InternalName", "Kestrowidge"},
    {"OriginalFilename", "Kestrowidge.OCX"},
    {"ProductName", "Kestrowidge"},
    {"ProductVersion", "V1.2"},
};

const VersionRecord kVersion{{1, 2, 0, 2}, {1, 2, 0, 1}, 0x0C07, kStrings};

} // namespace

const VersionRecord& ModuleVersion() {
    return kVersion;
}

} // namespace kw::module
