// The interfaces of the two picture buttons, member by member: name, DISPID,
// kind and type as hosts and stored forms know them, in the control's
// dispatch table and in the type library the module builds from it.
#include "buttons/BmpButton1Ctrl.h"
#include "buttons/BmpButton2Ctrl.h"
#include "module/ClassTable.h"
#include "module/Guids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Member {
    const char* name; // the run-time name
    DISPID dispid;
    DispKind kind;
    VARTYPE type;
    const char* typeLibName; // what the type library shows
};

constexpr DispKind P = DispKind::Property;
constexpr DispKind M = DispKind::Method;

const std::vector<Member> kBmpButton1 = {
    {"StaticText", 1, P, VT_BSTR, "StaticText"},
    {"HooverText", 2, P, VT_BSTR, "HooverText"},
    {"PushText", 3, P, VT_BSTR, "PushText"},
    {"HooverColor", 4, P, VT_I4, "HooverColor"},
    {"PushColor", 5, P, VT_I4, "PushColor"},
    {"StaticPic", 6, P, VT_DISPATCH, "StaticPic"},
    {"HooverPic", 7, P, VT_DISPATCH, "HooverPic"},
    {"StaticFont", 8, P, VT_DISPATCH, "StaticFont"},
    {"HooverFont", 9, P, VT_DISPATCH, "HooverFont"},
    {"Align", 10, P, VT_I2, "Align"},
    {"Spacing", 11, P, VT_I2, "Spacing"},
    {"EnableHoover", 12, P, VT_BOOL, "EnableHoover"},
    {"ShowFocus", 13, P, VT_I2, "ShowFocus"},
    {"EnableAutorepeat", 14, P, VT_BOOL, "EnableAutoRepeat"},
    {"StaticColor", 15, P, VT_I4, "StaticColor"},
    {"ControlPointer", 16, P, VT_I4, "ControlPointer"},
    {"Flags", 17, P, VT_I2, "Flags"},
    {"BorderStyle", -504, P, VT_I2, "BorderStyle"},
    {"Enabled", -514, P, VT_BOOL, "Enabled"},
    {"BackColor", -501, P, VT_I4, "BackColor"},
    {"ForeColor", -513, P, VT_I4, "ForeColor"},
    {"AboutBox", -552, M, VT_EMPTY, "AboutBox"},
};

const std::vector<Member> kBmpButton2 = {
    {"COMMAND", 1, P, VT_BSTR, "COMMAND"},
    {"IconIndex", 2, P, VT_I2, "IconIndex"},
    {"SymSize", 3, P, VT_I2, "SymSize"},
    {"WORKPATH", 4, P, VT_BSTR, "WORKPATH"},
    {"ARG", 5, P, VT_BSTR, "ARG"},
    {"Enabled", -514, P, VT_BOOL, "Enabled"},
    {"BorderStyle", -504, P, VT_I2, "BorderStyle"},
    {"AboutBox", -552, M, VT_EMPTY, "AboutBox"},
};

const std::vector<Member> kClickEvents = {{"Click", -600, M, VT_EMPTY, "Click"}};

void ExpectTable(const DispTable& table, const std::vector<Member>& members) {
    ASSERT_EQ(table.entries.size(), members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        const DispEntry& e = table.entries[i];
        const Member& m = members[i];
        SCOPED_TRACE(m.name);
        EXPECT_STREQ(e.name, m.name);
        EXPECT_EQ(e.dispid, m.dispid);
        EXPECT_EQ(e.kind, m.kind);
        EXPECT_EQ(e.type, m.type);
        EXPECT_STREQ(e.TypeLibName(), m.typeLibName);
        EXPECT_TRUE(e.params.empty());
        if (m.kind == P) {
            EXPECT_NE(e.get, nullptr);
            EXPECT_NE(e.put, nullptr) << "every property can be written (ControlPointer refuses)";
        }
    }
}

void ExpectTypeLibrary(const IID& iid, const std::vector<Member>& members) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(iid, info.Out()), S_OK);
    TYPEATTR attr{};
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    ASSERT_EQ(attr.cFuncs, members.size());
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        const DispEntry* e = nullptr;
        ASSERT_EQ(info->GetMemberDesc(i, &e), S_OK);
        const Member& m = members[i];
        SCOPED_TRACE(m.name);
        EXPECT_STREQ(e->TypeLibName(), m.typeLibName);
        EXPECT_EQ(e->dispid, m.dispid);
        EXPECT_EQ(e->kind, m.kind);
        EXPECT_EQ(e->type, m.type);
        MEMBERID id = DISPID_UNKNOWN;
        const char* name = m.typeLibName;
        EXPECT_EQ(info->GetIDsOfNames(&name, 1, &id), S_OK);
        EXPECT_EQ(id, m.dispid);
    }
}

const kw::module::ControlClass& Class(const CLSID& clsid) {
    const kw::module::ControlClass* c = kw::module::FindControl(clsid);
    EXPECT_NE(c, nullptr);
    return *c;
}

} // namespace

TEST(ButtonContract, BmpButton1DispatchAndEvents) {
    const auto& c = Class(kw::ids::CLSID_BmpButton1);
    ASSERT_NE(c.create, nullptr);
    ASSERT_EQ(c.dispatch, &BmpButton1DispatchTable());
    ExpectTable(*c.dispatch, kBmpButton1);
    ExpectTable(*c.events, kClickEvents);
    ExpectTypeLibrary(kw::ids::IID_DBmpButton1, kBmpButton1);
    ExpectTypeLibrary(kw::ids::IID_DBmpButton1Events, kClickEvents);
}

TEST(ButtonContract, BmpButton2DispatchAndEvents) {
    const auto& c = Class(kw::ids::CLSID_BmpButton2);
    ASSERT_NE(c.create, nullptr);
    ASSERT_EQ(c.dispatch, &BmpButton2DispatchTable());
    ExpectTable(*c.dispatch, kBmpButton2);
    ExpectTable(*c.events, kClickEvents);
    ExpectTypeLibrary(kw::ids::IID_DBmpButton2, kBmpButton2);
    ExpectTypeLibrary(kw::ids::IID_DBmpButton2Events, kClickEvents);
}

TEST(ButtonContract, TheRunTimeNameOfAutoRepeatIsFoundInEitherSpelling) {
    // Names are matched without regard to case, so both spellings reach it.
    const DispEntry* byRunTime = BmpButton1DispatchTable().FindByName("EnableAutorepeat");
    const DispEntry* byTypeLib = BmpButton1DispatchTable().FindByName("EnableAutoRepeat");
    ASSERT_NE(byRunTime, nullptr);
    EXPECT_EQ(byRunTime, byTypeLib);
}
