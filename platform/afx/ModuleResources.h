#pragma once
// What a module tells the framework about itself: where it is (an address
// inside it, from which its file is found) and its string table. The module
// instance handed to the registration helpers is a pointer to this.
// The tables come from the resource script, compiled at build time.
#include "platform/afx/CString.h"
#include "platform/afx/DialogTemplate.h"

#include <optional>
#include <span>

struct StringTableEntry {
    UINT id;
    const char* text; // Windows-1252
};

struct CModuleResources {
    const void* anchor; // any address inside the module
    std::span<const StringTableEntry> strings;
    std::span<const DialogTemplate> dialogs{};

    std::optional<CString> LoadString(UINT id) const;
    const DialogTemplate* FindDialog(UINT id) const;
    // The module file's absolute path; empty if it cannot be found.
    std::string ModulePath() const;
};

using HMODULEINSTANCE = const CModuleResources*;
