#include "hosts/regsvr/Reference.h"

#include "platform/com/Bstr.h"

#include <cstdio>
#include <string_view>

namespace kw::regsvr {

namespace {

std::string_view BaseTypeName(VARTYPE vt) {
    switch (vt & VT_TYPEMASK) {
    case VT_EMPTY:
        return "void";
    case VT_I2:
        return "short";
    case VT_I4:
        return "long";
    case VT_R4:
        return "float";
    case VT_R8:
        return "double";
    case VT_BSTR:
        return "BSTR";
    case VT_DISPATCH:
        return "IDispatch*";
    case VT_ERROR:
        return "SCODE";
    case VT_BOOL:
        return "VARIANT_BOOL";
    case VT_VARIANT:
        return "VARIANT";
    case VT_UNKNOWN:
        return "IUnknown*";
    case VT_UI1:
        return "unsigned char";
    case VT_UI2:
        return "unsigned short";
    default:
        return "?";
    }
}

std::string TypeName(VARTYPE vt) {
    std::string name(BaseTypeName(vt));
    if (vt & VT_ARRAY)
        name = "SAFEARRAY(" + name + ")";
    if (vt & VT_BYREF)
        name += "*";
    return name;
}

std::string Signature(const DispEntry& entry) {
    std::string text = "(";
    for (std::size_t i = 0; i < entry.params.size(); ++i) {
        const DispParam& p = entry.params[i];
        if (i > 0)
            text += ", ";
        if (p.optional)
            text += "[optional] ";
        text += TypeName(p.vt) + " " + p.name;
    }
    return text + ")";
}

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '|')
            out += "\\|";
        else if (c == '\n')
            out += ' ';
        else
            out += c;
    }
    return out;
}

// One row a member: name, DISPID, kind, type and parameters, and the
// run-time name where the library spells it otherwise.
void WriteMembers(ITypeInfo* info, bool events, std::string& out) {
    TYPEATTR attr{};
    if (FAILED(info->GetTypeAttr(&attr)) || attr.cFuncs == 0) {
        out += events ? "No events.\n\n" : "No members.\n\n";
        return;
    }
    out += "| Name | DISPID | Kind | Type | Notes |\n|---|---|---|---|---|\n";
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        const DispEntry* entry = nullptr;
        if (FAILED(info->GetMemberDesc(i, &entry)) || !entry)
            continue;
        std::string kind, type;
        if (events) {
            kind = "event";
            type = Signature(*entry);
        } else if (entry->kind == DispKind::Property) {
            kind = entry->put ? "property" : "property (read-only)";
            type = TypeName(entry->TypeLibType());
        } else {
            kind = "method";
            type = Signature(*entry) + " → " + TypeName(entry->TypeLibType());
        }
        std::string notes;
        if (entry->typeLibName && std::string_view(entry->typeLibName) != entry->name)
            notes = "called `" + std::string(entry->name) + "` at run time";
        if (entry->TypeLibType() != entry->type)
            notes += (notes.empty() ? "" : "; ") + std::string("answers `") +
                     TypeName(entry->type) + "` at run time";
        if (entry->doc && *entry->doc)
            notes += (notes.empty() ? "" : "; ") + Escape(entry->doc);
        char dispid[16];
        std::snprintf(dispid, sizeof dispid, "%ld", static_cast<long>(entry->dispid));
        out += "| `" + std::string(entry->TypeLibName()) + "` | " + dispid + " | " + kind + " | `" +
               Escape(type) + "` | " + notes + " |\n";
    }
    out += "\n";
}

} // namespace

std::string ReferenceOf(ITypeLib* lib, std::string* error) {
    CComBSTR name, doc;
    TLIBATTR attr{};
    if (!lib || FAILED(lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr)) ||
        FAILED(lib->GetLibAttr(&attr))) {
        *error = "the type library cannot be read";
        return {};
    }
    std::string out = "# Controls of " + std::string(name.View()) + " " +
                      std::to_string(attr.wMajorVerNum) + "." +
                      std::to_string(attr.wMinorVerNum) + "\n\n";
    out += "Generated from the module's type library by `scripts/docs`; do not edit. Every "
           "member is reached by its name (any letter case) or its DISPID through late-bound "
           "dispatch; the container's scripts use the names.\n\n";
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind{};
        ComPtr<ITypeInfo> coclass;
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS ||
            FAILED(lib->GetTypeInfo(i, coclass.Out())))
            continue;
        CComBSTR className, classDoc;
        coclass->GetDocumentation(-1, &className, &classDoc, nullptr, nullptr);
        out += "## " + std::string(className.View()) + "\n\n";
        TYPEATTR classAttr{};
        coclass->GetTypeAttr(&classAttr);
        for (UINT k = 0; k < classAttr.cImplTypes; ++k) {
            int flags = 0;
            ComPtr<ITypeInfo> iface;
            if (FAILED(coclass->GetImplTypeFlags(k, &flags)) ||
                FAILED(coclass->GetImplTypeInfo(k, iface.Out())))
                continue;
            CComBSTR ifaceName, ifaceDoc;
            iface->GetDocumentation(-1, &ifaceName, &ifaceDoc, nullptr, nullptr);
            const bool events = (flags & IMPLTYPEFLAG_FSOURCE) != 0;
            out += "### " + std::string(events ? "Events" : "Properties and methods") + " (`" +
                   std::string(ifaceName.View()) + "`)\n\n";
            WriteMembers(iface.Get(), events, out);
        }
    }
    return out;
}

} // namespace kw::regsvr
