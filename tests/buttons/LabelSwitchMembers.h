#pragma once
// The published members of ColorStatic, Switch and Polarity, as hosts rely
// on them: run-time name, type library name, DISPID, kind, type and
// parameter types; and the check of a type library against them.
#include "module/Guids.h"
#include "platform/com/TypeInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace label_switch {

struct Member {
    const char* name;    // at run time
    const char* libName; // in the type library
    DISPID dispid;
    DispKind kind;
    VARTYPE type; // property type or method result
    std::vector<VARTYPE> params;
    bool inLibrary = true;
};

inline constexpr DispKind P = DispKind::Property;
inline constexpr DispKind M = DispKind::Method;

inline const std::vector<Member> kColorStatic = {
    {"TextBlinkColor1", "m_crTextBlinkColor1", 1, P, VT_I4, {}},
    {"TextBlinkColor2", "m_crTextBlinkColor2", 2, P, VT_I4, {}},
    {"BkBlinkColor1", "m_crBkBlinkColor1", 3, P, VT_I4, {}},
    {"BkBlinkColor2", "m_crBkBlinkColor2", 4, P, VT_I4, {}},
    {"SetBlinkTextColors", "SetBlinkTextColors", 5, M, VT_EMPTY, {VT_I4, VT_I4}},
    {"SetBlinkBkColors", "SetBlinkBkColors", 6, M, VT_EMPTY, {VT_I4, VT_I4}},
    {"StartTextBlink", "StartTextBlink", 7, M, VT_EMPTY, {VT_BOOL, VT_I2}},
    {"StartBkBlink", "StartBkBlink", 8, M, VT_EMPTY, {VT_BOOL, VT_I2}},
    {"SetTransparentBk", "SetTransparentBk", 9, M, VT_EMPTY, {VT_BOOL}},
    {"Flags", "m_nFlags", 10, P, VT_I2, {}},
    {"Caption", "Text", -518, P, VT_BSTR, {}},
    {"BackColor", "BackColor", -501, P, VT_I4, {}},
    {"ForeColor", "ForeColor", -513, P, VT_I4, {}},
    {"Font", "Font", -512, P, VT_DISPATCH, {}},
    {"Enabled", "Enabled", -514, P, VT_BOOL, {}},
    {"AboutBox", "AboutBox", -552, M, VT_EMPTY, {}},
};

inline const std::vector<Member> kSwitch = {
    {"Mode", "m_nMode", 1, P, VT_I2, {}},
    {"GetCheck", "GetCheck", 2, M, VT_I2, {}},
    {"SetCheck", "SetCheck", 3, M, VT_EMPTY, {VT_I2}},
    {"Enabled", "Enabled", -514, P, VT_BOOL, {}},
    {"AboutBox", "AboutBox", -552, M, VT_EMPTY, {}},
};

inline const std::vector<Member> kPolarity = {
    {"Mode", "m_nMode", 1, P, VT_I2, {}},
    {"GetCheck", "GetCheck", 2, M, VT_I2, {}},
    {"SetCheck", "SetCheck", 3, M, VT_EMPTY, {VT_I2}},
    {"ControlPointer", "ControlPointer", 4, P, VT_I4, {}, false},
    {"Enabled", "Enabled", -514, P, VT_BOOL, {}},
    {"AboutBox", "AboutBox", -552, M, VT_EMPTY, {}},
};

inline const std::vector<Member> kNoEvents = {};
inline const std::vector<Member> kClickEvent = {{"Click", "Click", -600, M, VT_EMPTY, {}}};

inline void ExpectRow(const DispEntry& row, const Member& m, const std::string& where) {
    SCOPED_TRACE(where + " " + m.name);
    EXPECT_EQ(row.dispid, m.dispid);
    EXPECT_EQ(row.kind, m.kind);
    EXPECT_EQ(row.type, m.type);
    ASSERT_EQ(row.params.size(), m.params.size());
    for (std::size_t i = 0; i < m.params.size(); ++i)
        EXPECT_EQ(row.params[i].vt, m.params[i]) << "parameter " << i;
}

// The interface `iid` of a type library: the members it lists, under the
// library's names.
inline void ExpectLibrary(ITypeLib* lib, const IID& iid, const std::vector<Member>& members) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(iid, info.Out()), S_OK);
    TYPEATTR attr{};
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    std::vector<Member> listed;
    for (const Member& m : members)
        if (m.inLibrary)
            listed.push_back(m);
    ASSERT_EQ(attr.cFuncs, listed.size());
    for (UINT i = 0; i < listed.size(); ++i) {
        const DispEntry* row = nullptr;
        ASSERT_EQ(info->GetMemberDesc(i, &row), S_OK);
        CComBSTR name;
        ASSERT_EQ(info->GetDocumentation(row->dispid, &name, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(name.View(), listed[i].libName);
        ExpectRow(*row, listed[i], "library");
        MEMBERID id = 0;
        const char* libName = listed[i].libName;
        EXPECT_EQ(info->GetIDsOfNames(&libName, 1, &id), S_OK) << libName;
        EXPECT_EQ(id, listed[i].dispid);
    }
    for (const Member& m : members) {
        if (m.inLibrary)
            continue;
        MEMBERID id = 0;
        const char* name = m.name;
        EXPECT_NE(info->GetIDsOfNames(&name, 1, &id), S_OK) << m.name << " is not in the library";
    }
}

} // namespace label_switch
