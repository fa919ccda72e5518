// The jog pad's interfaces as hosts rely on them: every member's name,
// DISPID, kind and type, once in the control's own tables and once in the
// type library the module builds from them, and the names a caller uses at
// run time.
#include "PosTestSupport.h"

#include "module/ClassTable.h"

using namespace pos_test;

namespace {

struct Member {
    const char* name;        // at run time
    const char* typeLibName; // as the type library shows it
    DISPID dispid;
    DispKind kind;
    VARTYPE type;
    std::vector<std::pair<std::string, VARTYPE>> params;
};

const std::vector<Member> kDispatch = {
    {"Mode", "m_nMode", 1, DispKind::Property, VT_I2, {}},
    {"Enabled", "Enabled", -514, DispKind::Property, VT_BOOL, {}},
    {"AboutBox", "AboutBox", -552, DispKind::Method, VT_EMPTY, {}},
};

const std::vector<Member> kEvents = {
    {"StartPos", "StartPos", 1, DispKind::Method, VT_EMPTY, {{"val", VT_I2}}},
    {"StopPos", "StopPos", 2, DispKind::Method, VT_EMPTY, {}},
    {"PosRel", "PosRel", 3, DispKind::Method, VT_EMPTY, {{"val", VT_I2}}},
};

void ExpectRow(const DispEntry& row, const Member& m, const std::string& where) {
    SCOPED_TRACE(where + " " + m.name);
    EXPECT_STREQ(row.name, m.name);
    EXPECT_STREQ(row.TypeLibName(), m.typeLibName);
    EXPECT_EQ(row.dispid, m.dispid);
    EXPECT_EQ(row.kind, m.kind);
    EXPECT_EQ(row.type, m.type);
    ASSERT_EQ(row.params.size(), m.params.size());
    for (std::size_t i = 0; i < m.params.size(); ++i) {
        EXPECT_EQ(row.params[i].name, m.params[i].first);
        EXPECT_EQ(row.params[i].vt, m.params[i].second);
    }
}

void ExpectTable(const DispTable& table, const std::vector<Member>& members,
                 const std::string& where) {
    ASSERT_EQ(table.entries.size(), members.size()) << where;
    for (std::size_t i = 0; i < members.size(); ++i)
        ExpectRow(table.entries[i], members[i], where);
}

// The members of an interface as a type library describes it.
void ExpectTypeInfo(ITypeInfo* info, const char* name, const std::vector<Member>& members) {
    ASSERT_NE(info, nullptr);
    CComBSTR shown;
    ASSERT_EQ(info->GetDocumentation(DISPID_UNKNOWN, &shown, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(shown.View(), name);
    TYPEATTR attr{};
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
    ASSERT_EQ(attr.cFuncs, members.size());
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        const DispEntry* row = nullptr;
        ASSERT_EQ(info->GetMemberDesc(i, &row), S_OK);
        ExpectRow(*row, members[i], name);
        CComBSTR memberName;
        ASSERT_EQ(info->GetDocumentation(members[i].dispid, &memberName, nullptr, nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(memberName.View(), members[i].typeLibName);
    }
}

} // namespace

TEST(PosContract, TheControlsTablesHoldEveryMemberAndEvent) {
    ExpectTable(PosDispatchTable(), kDispatch, "_DPos");
    ExpectTable(PosEventTable(), kEvents, "_DPosEvents");
    const kw::module::ControlClass* pos = kw::module::FindControl(kw::ids::CLSID_Pos);
    ASSERT_NE(pos, nullptr);
    EXPECT_STREQ(pos->progId, "Kestrowidge.PosCtrl.1");
    EXPECT_EQ(pos->miscStatus, 0x21191u);
    EXPECT_EQ(pos->toolboxBitmapId, 226u);
    EXPECT_EQ(pos->dispatch, &PosDispatchTable());
    EXPECT_EQ(pos->events, &PosEventTable());
    ASSERT_NE(pos->create, nullptr);
}

TEST(PosContract, TheModulesTypeLibraryDescribesThePadAsItsTablesDo) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    ComPtr<ITypeInfo> dispatch, events, coclass;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DPos, dispatch.Out()), S_OK);
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DPosEvents, events.Out()), S_OK);
    ExpectTypeInfo(dispatch.Get(), "_DPos", kDispatch);
    ExpectTypeInfo(events.Get(), "_DPosEvents", kEvents);
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::CLSID_Pos, coclass.Out()), S_OK);
    CComBSTR name, doc;
    ASSERT_EQ(coclass->GetDocumentation(DISPID_UNKNOWN, &name, &doc, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), "Pos");
    EXPECT_EQ(doc.View(), "Pos Control");
    CComBSTR names[2];
    UINT count = 0;
    ASSERT_EQ(events->GetNames(1, &names[0], 2, &count), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(names[1].View(), "val");
}

TEST_F(PosTest, ACallerReachesTheMembersByTheirRunTimeNames) {
    const char* names[] = {"Mode", "ENABLED", "aboutbox"};
    const DISPID ids[] = {1, -514, -552};
    for (std::size_t i = 0; i < 3; ++i) {
        DISPID id = 0;
        ASSERT_EQ(m_disp->GetIDsOfNames(IID_NULL, &names[i], 1, 0, &id), S_OK) << names[i];
        EXPECT_EQ(id, ids[i]);
    }
    CComVariant mode;
    ASSERT_EQ(CallByName(m_disp.Get(), "Mode", DISPATCH_PROPERTYGET, {}, &mode), S_OK);
    EXPECT_EQ(mode.vt, VT_I2);
    // The control's own type information is its dispatch interface.
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(m_disp->GetTypeInfo(0, 0, info.Out()), S_OK);
    ExpectTypeInfo(info.Get(), "_DPos", kDispatch);
}
