// The dispatch and event interfaces of the point picker and the view chooser
// member by member: name, DISPID, kind and type in the control's own tables,
// which callers invoke, and in the type library the module builds, which
// lists only AboutBox of either dispatch interface.
#include "module/ClassTable.h"
#include "module/Guids.h"
#include "views3d/SelectQubeCtrl.h"
#include "views3d/ViewmanagerCtrl.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

struct Member {
    const char* name;
    DISPID dispid;
    DispKind kind;
    VARTYPE type;
    std::vector<VARTYPE> params;
};

constexpr DispKind P = DispKind::Property;
constexpr DispKind M = DispKind::Method;

const std::vector<Member> kSelectQube = {
    {"defaultSel", 1, P, VT_I2, {}},
    {"GetOffsets", 2, M, VT_EMPTY, {VT_BYREF | VT_R4, VT_BYREF | VT_R4, VT_BYREF | VT_R4}},
    {"SetRegion", 3, M, VT_EMPTY, {VT_R4, VT_R4, VT_R4, VT_R4, VT_R4, VT_R4}},
    {"GetBezug", 4, M, VT_EMPTY, {VT_BYREF | VT_I2, VT_BYREF | VT_I2, VT_BYREF | VT_I2}},
    {"GetSel", 5, M, VT_I2, {}},
    {"SetSel", 6, M, VT_EMPTY, {VT_I2}},
    {"GetReg3DSel", 7, M, VT_I2, {}},
    {"BorderStyle", -504, P, VT_I2, {}},
    {"Enabled", -514, P, VT_BOOL, {}},
    {"AboutBox", -552, M, VT_EMPTY, {}},
};
const std::vector<Member> kSelectQubeEvents = {{"Click", -600, M, VT_EMPTY, {}}};

const std::vector<Member> kViewmanager = {
    {"ViewIndex", 1, P, VT_I2, {}},
    {"BorderStyle", -504, P, VT_I2, {}},
    {"Enabled", -514, P, VT_BOOL, {}},
    {"AboutBox", -552, M, VT_EMPTY, {}},
};
const std::vector<Member> kViewmanagerEvents = {
    {"SelChanged", 1, M, VT_EMPTY, {VT_I2, VT_BYREF | VT_BSTR}},
    {"Click", -600, M, VT_EMPTY, {}},
};
const std::vector<Member> kAboutBoxOnly = {{"AboutBox", -552, M, VT_EMPTY, {}}};

void ExpectRows(const std::vector<const DispEntry*>& rows, const std::vector<Member>& expected,
                const char* where) {
    ASSERT_EQ(rows.size(), expected.size()) << where;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DispEntry& e = *rows[i];
        const Member& m = expected[i];
        EXPECT_STREQ(e.TypeLibName(), m.name) << where << " row " << i;
        EXPECT_STREQ(e.name, m.name) << where << " row " << i;
        EXPECT_EQ(e.dispid, m.dispid) << where << " " << m.name;
        EXPECT_EQ(e.kind, m.kind) << where << " " << m.name;
        EXPECT_EQ(e.type, m.type) << where << " " << m.name;
        ASSERT_EQ(e.params.size(), m.params.size()) << where << " " << m.name;
        for (std::size_t p = 0; p < m.params.size(); ++p)
            EXPECT_EQ(e.params[p].vt, m.params[p]) << where << " " << m.name << " param " << p;
        // The dispatch rows are callable; event rows only describe.
        if (std::string_view(where) == "dispatch") {
            EXPECT_NE(m.kind == P ? reinterpret_cast<const void*>(e.get)
                                  : reinterpret_cast<const void*>(e.call),
                      nullptr)
                << m.name;
        }
    }
}

std::vector<const DispEntry*> RowsOf(const DispTable& table) {
    std::vector<const DispEntry*> rows;
    for (const DispEntry& e : table.entries)
        rows.push_back(&e);
    return rows;
}

std::vector<const DispEntry*> RowsOf(ITypeLib* lib, const IID& iid) {
    std::vector<const DispEntry*> rows;
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(lib->GetTypeInfoOfGuid(iid, info.Out()), S_OK);
    if (!info)
        return rows;
    TYPEATTR attr{};
    EXPECT_EQ(info->GetTypeAttr(&attr), S_OK);
    const DispEntry* e = nullptr;
    for (UINT i = 0; SUCCEEDED(info->GetMemberDesc(i, &e)); ++i)
        rows.push_back(e);
    EXPECT_EQ(rows.size(), attr.cFuncs);
    return rows;
}

ComPtr<ITypeLib> Library() {
    ComPtr<ITypeLib> lib;
    EXPECT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    return lib;
}

} // namespace

TEST(ViewsContract, TheSelectQubeDispatchTableIsThePartsTable) {
    ExpectRows(RowsOf(SelectQubeDispatchTable()), kSelectQube, "dispatch");
    ExpectRows(RowsOf(SelectQubeEventTable()), kSelectQubeEvents, "events");
}

TEST(ViewsContract, TheSelectQubeTypeLibraryListsOnlyAboutBoxAndTheClick) {
    ComPtr<ITypeLib> lib = Library();
    ExpectRows(RowsOf(lib.Get(), kw::ids::IID_DSelectQube), kAboutBoxOnly, "library");
    ExpectRows(RowsOf(lib.Get(), kw::ids::IID_DSelectQubeEvents), kSelectQubeEvents,
               "library events");
    // The class the module registers is the one built.
    const auto* cls = kw::module::FindControl(kw::ids::CLSID_SelectQube);
    ASSERT_NE(cls, nullptr);
    EXPECT_NE(cls->create, nullptr);
}

TEST(ViewsContract, TheViewmanagerDispatchTableIsThePartsTable) {
    ExpectRows(RowsOf(ViewmanagerDispatchTable()), kViewmanager, "dispatch");
    ExpectRows(RowsOf(ViewmanagerEventTable()), kViewmanagerEvents, "events");
}

TEST(ViewsContract, TheViewmanagerTypeLibraryListsOnlyAboutBoxAndBothEvents) {
    ComPtr<ITypeLib> lib = Library();
    ExpectRows(RowsOf(lib.Get(), kw::ids::IID_DViewmanager), kAboutBoxOnly, "library");
    ExpectRows(RowsOf(lib.Get(), kw::ids::IID_DViewmanagerEvents), kViewmanagerEvents,
               "library events");
    const auto* cls = kw::module::FindControl(kw::ids::CLSID_Viewmanager);
    ASSERT_NE(cls, nullptr);
    EXPECT_NE(cls->create, nullptr);
}
