#include "platform/afx/ModuleResources.h"

#include "platform/com/ComLoader.h"

std::optional<CString> CModuleResources::LoadString(UINT id) const {
    for (const StringTableEntry& e : strings)
        if (e.id == id)
            return CString(e.text);
    return std::nullopt;
}

std::string CModuleResources::ModulePath() const {
    return GetModuleFileNameOf(anchor);
}
