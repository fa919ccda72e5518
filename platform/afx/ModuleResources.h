#pragma once
// What a module tells the framework about itself: where it is (an address
// inside it, from which its file is found) and its string table. The module
// instance handed to the registration helpers is a pointer to this.
// The tables come from the resource script, compiled at build time.
#include "platform/afx/CString.h"
#include "platform/afx/DialogTemplate.h"
#include "platform/user/Icon.h"

#include <optional>
#include <span>

struct StringTableEntry {
    UINT id;
    const char* text; // Windows-1252
};

// An icon resource: the bytes of an icon file.
struct IconResource {
    UINT id;
    std::span<const unsigned char> bytes;
};

struct CModuleResources {
    const void* anchor; // any address inside the module
    std::span<const StringTableEntry> strings;
    std::span<const DialogTemplate> dialogs{};
    std::span<const IconResource> icons{};

    std::optional<CString> LoadString(UINT id) const;
    const DialogTemplate* FindDialog(UINT id) const;
    // A new icon (the caller destroys it) of the preferred size, or null.
    HICON LoadIcon(UINT id, int preferredSize = 32) const;
    // The module file's absolute path; empty if it cannot be found.
    std::string ModulePath() const;
};

using HMODULEINSTANCE = const CModuleResources*;
