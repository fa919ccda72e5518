#pragma once
// Dispatch tables: one row per property or method of an interface, in the
// form a control's property table is written (name, DISPID, kind, type,
// accessor). Invoke and GetIDsOfNames run over the rows, and the type
// library is generated from the same rows, so the two cannot disagree.
// Event interfaces are tables of method rows without accessors.
#include "platform/com/Dispatch.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

enum class DispKind : BYTE { Property, Method };

struct DispParam {
    const char* name;
    VARTYPE vt; // VT_BYREF | type for a by-reference parameter
    bool optional = false;
};

struct DispEntry;

// Accessors receive the object and their row. Values arrive converted to the
// declared types; a method's arguments come in declared order, by-reference
// ones as values that the accessor may change and that are written back to
// the caller afterwards. `result` starts empty.
using DispGetFn = HRESULT (*)(void* object, const DispEntry& entry, VARIANT* result);
using DispPutFn = HRESULT (*)(void* object, const DispEntry& entry, const VARIANT& value);
using DispCallFn = HRESULT (*)(void* object, const DispEntry& entry, VARIANT* args,
                               VARIANT* result);

struct DispEntry {
    const char* name;
    DISPID dispid;
    DispKind kind;
    VARTYPE type; // property type, or method result (VT_EMPTY: none)
    std::span<const DispParam> params{};
    DispGetFn get = nullptr;
    DispPutFn put = nullptr; // null: the property cannot be written
    DispCallFn call = nullptr;
    const char* doc = nullptr;
    // The type library's name where it differs from the run-time name.
    const char* typeLibName = nullptr;
    // The type the type library declares where it differs from `type`
    // (kDispSameType: the same). Calls always go by `type`.
    VARTYPE typeLibType = kDispSameType;

    static constexpr VARTYPE kDispSameType = 0xFFFF;
    const char* TypeLibName() const { return typeLibName ? typeLibName : name; }
    VARTYPE TypeLibType() const { return typeLibType == kDispSameType ? type : typeLibType; }
};

// A row whose type library declaration names another type than the one
// the row is called with (a property kept as long but declared short).
constexpr DispEntry DispTypeLibType(DispEntry entry, VARTYPE declared) {
    entry.typeLibType = declared;
    return entry;
}

// A dispatch or event interface: its rows in dispatch order.
struct DispTable {
    std::span<const DispEntry> entries;

    const DispEntry* Find(DISPID dispid) const;
    // Matches the run-time name without regard to letter case.
    const DispEntry* FindByName(std::string_view name) const;
};

// Thrown by accessors to fail the call with an OLE status; Invoke turns it
// into DISP_E_EXCEPTION with the status and text in the exception record.
// It never leaves Invoke.
struct DispatchException {
    HRESULT scode;
    std::string description;
};
[[noreturn]] void ThrowDispatchException(HRESULT scode, std::string description = {});

// The IDispatch::GetIDsOfNames of a table: the first name is the member,
// the others its parameters. Unknown names give DISPID_UNKNOWN and
// DISP_E_UNKNOWNNAME.
HRESULT DispTableGetIDsOfNames(const DispTable& table, const char* const* names, UINT count,
                               DISPID* ids);

// The IDispatch::Invoke of a table over `object`.
HRESULT DispTableInvoke(const DispTable& table, void* object, DISPID dispid, WORD flags,
                        DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);

// Case-insensitive comparison of ASCII names, as the component model does.
bool NamesEqual(std::string_view a, std::string_view b);
