#include "platform/afx/ModuleResources.h"

#include "platform/com/ComLoader.h"

std::optional<CString> CModuleResources::LoadString(UINT id) const {
    for (const StringTableEntry& e : strings)
        if (e.id == id)
            return CString(e.text);
    return std::nullopt;
}

const DialogTemplate* CModuleResources::FindDialog(UINT id) const {
    for (const DialogTemplate& d : dialogs)
        if (d.id == id)
            return &d;
    return nullptr;
}

HICON CModuleResources::LoadIcon(UINT id, int preferredSize) const {
    for (const IconResource& i : icons)
        if (i.id == id)
            return kw::user::CreateIconFromIconFile(i.bytes, preferredSize);
    return nullptr;
}

std::string CModuleResources::ModulePath() const {
    return GetModuleFileNameOf(anchor);
}
