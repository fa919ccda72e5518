// The LineView's interfaces as hosts rely on them: every member's name,
// DISPID, kind and type, and its one event, in the control's dispatch
// tables, through the live object and in the type library the module
// builds from them.
#include "module/ClassTable.h"
#include "platform/com/TypeInfo.h"
#include "tests/views3d/LineViewTestSupport.h"

#include <vector>

using namespace kw::test;

namespace {

struct Member {
    const char* name;
    DISPID dispid;
    DispKind kind;
    VARTYPE type;
    std::vector<VARTYPE> params;
};

// BOOL arguments are 32-bit integers in the type library, and so is the
// font base.
const Member kMembers[] = {
    {"BeginList", 1, DispKind::Method, VT_EMPTY, {}},
    {"EndList", 2, DispKind::Method, VT_EMPTY, {}},
    {"GetPointSize", 3, DispKind::Method, VT_R4, {}},
    {"EnableLight", 4, DispKind::Method, VT_EMPTY, {VT_I4}},
    {"CreateFont", 5, DispKind::Method, VT_EMPTY, {VT_I4}},
    {"GetFontList", 6, DispKind::Method, VT_I4, {}},
    {"EnableHiddenLine", 7, DispKind::Method, VT_EMPTY, {VT_I4}},
    {"Set2DMode", 8, DispKind::Method, VT_EMPTY, {VT_I4}},
    {"SetInitialFit", 9, DispKind::Method, VT_EMPTY, {VT_R4, VT_R4, VT_R4, VT_R4, VT_R4, VT_R4}},
    {"Fit", 10, DispKind::Method, VT_EMPTY, {}},
    {"BorderStyle", -504, DispKind::Property, VT_I2, {}},
    {"Enabled", -514, DispKind::Property, VT_BOOL, {}},
    {"AboutBox", -552, DispKind::Method, VT_EMPTY, {}},
};

void ExpectRow(const DispEntry& row, const Member& m, const char* where) {
    SCOPED_TRACE(std::string(where) + ": " + m.name);
    EXPECT_STREQ(row.TypeLibName(), m.name);
    EXPECT_EQ(row.dispid, m.dispid);
    EXPECT_EQ(row.kind, m.kind);
    EXPECT_EQ(row.type, m.type);
    ASSERT_EQ(row.params.size(), m.params.size());
    for (std::size_t i = 0; i < m.params.size(); ++i)
        EXPECT_EQ(row.params[i].vt, m.params[i]) << "parameter " << i;
}

class LineViewContractTest : public LineViewTest {};

} // namespace

TEST_F(LineViewContractTest, TheDispatchTableHoldsEveryMemberInOrder) {
    const DispTable& table = LineViewDispatchTable();
    ASSERT_EQ(table.entries.size(), std::size(kMembers));
    for (std::size_t i = 0; i < std::size(kMembers); ++i)
        ExpectRow(table.entries[i], kMembers[i], "table");
    const DispTable& events = LineViewEventTable();
    ASSERT_EQ(events.entries.size(), 1u);
    EXPECT_STREQ(events.entries[0].name, "ZoomChanged");
    EXPECT_EQ(events.entries[0].dispid, 1);
    EXPECT_TRUE(events.entries[0].params.empty());
}

TEST_F(LineViewContractTest, TheLiveObjectAnswersEveryNameWithItsDispid) {
    m_view = Create();
    for (const Member& m : kMembers) {
        const char* name = m.name;
        DISPID id = 0;
        ASSERT_EQ(m_view->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << name;
        EXPECT_EQ(id, m.dispid) << name;
    }
}

TEST_F(LineViewContractTest, TheTypeLibraryDescribesTheSameMembersAndEvent) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    ComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DLineView, dispatch.Out()), S_OK);
    TYPEATTR attr{};
    ASSERT_EQ(dispatch->GetTypeAttr(&attr), S_OK);
    ASSERT_EQ(attr.cFuncs, std::size(kMembers));
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        const DispEntry* row = nullptr;
        ASSERT_EQ(dispatch->GetMemberDesc(i, &row), S_OK);
        ExpectRow(*row, kMembers[i], "type library");
    }
    ComPtr<ITypeInfo> events;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DLineViewEvents, events.Out()), S_OK);
    ASSERT_EQ(events->GetTypeAttr(&attr), S_OK);
    ASSERT_EQ(attr.cFuncs, 1u);
    const DispEntry* row = nullptr;
    ASSERT_EQ(events->GetMemberDesc(0, &row), S_OK);
    EXPECT_STREQ(row->TypeLibName(), "ZoomChanged");
    EXPECT_EQ(row->dispid, 1);
    CComBSTR name;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::CLSID_LineView, dispatch.Out()), S_OK);
    ASSERT_EQ(dispatch->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), "LineView");
}
