#pragma once
// A control's interfaces as its documentation gives them, checked row by row
// against the dispatch table the control runs with and against the type
// library the module builds from it: names (run time and library), DISPIDs,
// kinds, types and parameter types.
#include "module/ClassTable.h"
#include "platform/com/TypeInfo.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kw::test {

struct ContractRow {
    const char* name;
    DISPID dispid;
    DispKind kind;
    VARTYPE type; // property type or method result; VT_EMPTY for events
    std::vector<VARTYPE> params{};
    const char* typeLibName = nullptr; // where the library spells it otherwise
};

inline std::string DescribeRow(const DispEntry& e) {
    std::string text = std::string(e.name) + "/" + e.TypeLibName() + " dispid " +
                       std::to_string(e.dispid) +
                       (e.kind == DispKind::Property ? " property " : " method ") + "vt " +
                       std::to_string(e.type) + " (";
    for (const DispParam& p : e.params)
        text += std::to_string(p.vt) + " ";
    return text + ")";
}

inline void ExpectRowsMatch(const DispEntry& got, const ContractRow& want, const char* where) {
    const std::string context = std::string(where) + ": " + want.name + " is " + DescribeRow(got);
    EXPECT_STREQ(got.name, want.name) << context;
    EXPECT_STREQ(got.TypeLibName(), want.typeLibName ? want.typeLibName : want.name) << context;
    EXPECT_EQ(got.dispid, want.dispid) << context;
    EXPECT_EQ(got.kind, want.kind) << context;
    EXPECT_EQ(got.type, want.type) << context;
    ASSERT_EQ(got.params.size(), want.params.size()) << context;
    for (std::size_t i = 0; i < want.params.size(); ++i)
        EXPECT_EQ(got.params[i].vt, want.params[i]) << context << " parameter " << i;
}

// The rows of the interface `iid` in the module's type library.
inline std::vector<const DispEntry*> LibraryRows(REFIID iid) {
    std::vector<const DispEntry*> rows;
    for (const TypeDesc& type : kw::module::TypeLibrary().types)
        if (type.kind == TKIND_DISPATCH && type.guid == iid)
            for (const DispEntry& e : type.members.entries)
                rows.push_back(&e);
    return rows;
}

inline void ExpectContract(std::string_view coclass, std::initializer_list<ContractRow> dispatch,
                           std::initializer_list<ContractRow> events) {
    const kw::module::ControlClass* control = nullptr;
    for (const auto& c : kw::module::Controls())
        if (coclass == c.coclass)
            control = &c;
    ASSERT_NE(control, nullptr) << coclass;
    ASSERT_NE(control->dispatch, nullptr) << coclass << " is not built";
    ASSERT_NE(control->events, nullptr) << coclass << " is not built";
    const struct {
        const DispTable* table;
        REFIID iid;
        std::initializer_list<ContractRow> want;
        const char* what;
    } sides[] = {{control->dispatch, control->dispatchIid, dispatch, "dispatch"},
                 {control->events, control->eventsIid, events, "events"}};
    for (const auto& side : sides) {
        ASSERT_EQ(side.table->entries.size(), side.want.size()) << coclass << " " << side.what;
        const auto library = LibraryRows(side.iid);
        ASSERT_EQ(library.size(), side.want.size()) << coclass << " " << side.what << " library";
        std::size_t i = 0;
        for (const ContractRow& row : side.want) {
            ExpectRowsMatch(side.table->entries[i], row, side.what);
            ExpectRowsMatch(*library[i], row, "type library");
            ++i;
        }
    }
}

} // namespace kw::test
