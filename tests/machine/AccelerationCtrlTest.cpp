// The acceleration control as a host drives it: its interface and type
// library, the parameters and the table they compute, the table transfer
// in both directions, and persistence.
#include "module/ClassTable.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/com/TypeInfo.h"
#include "tests/machine/AccelerationTestSupport.h"

#include <string>

using acceleration_test::AccelerationTest;

namespace {

struct Row {
    const char* name;
    DISPID dispid;
    DispKind kind;
    VARTYPE type;
};
constexpr DispKind P = DispKind::Property;
constexpr DispKind M = DispKind::Method;

// The interface as callers use it...
const Row kDispatchRows[] = {
    {"Vstart", 1, P, VT_I2},
    {"A", 2, P, VT_I2},
    {"B", 3, P, VT_I2},
    {"Vmax", 4, P, VT_I4},
    {"Alpha", 5, P, VT_I4},
    {"Mode", 6, P, VT_I4},
    {"SetRampTable", 7, M, VT_BOOL},
    {"GetRampTable", 8, M, VT_VARIANT},
    {"CurRamp", 9, P, VT_I4},
    {"BorderStyle", -504, P, VT_I2},
    {"Enabled", -514, P, VT_BOOL},
    {"AboutBox", -552, M, VT_EMPTY},
};
// ...and as the type library declares it.
const Row kTypeLibRows[] = {
    {"m_Vstart", 1, P, VT_I2},     {"m_A", 2, P, VT_I2},
    {"m_B", 3, P, VT_I2},          {"m_Vmax", 4, P, VT_I2},
    {"m_Alpha", 5, P, VT_I2},      {"m_Mode", 6, P, VT_I2},
    {"SetRampTable", 7, M, VT_I4}, {"GetRampTable", 8, M, VT_VARIANT},
    {"m_curramp", 9, P, VT_I2},    {"BorderStyle", -504, P, VT_I2},
    {"Enabled", -514, P, VT_BOOL}, {"AboutBox", -552, M, VT_EMPTY},
};

void ExpectRows(std::span<const Row> expected, auto&& rowAt, std::size_t count, const char* what) {
    ASSERT_EQ(count, expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DispEntry& e = rowAt(i);
        const Row& want = expected[i];
        EXPECT_EQ(e.dispid, want.dispid) << what << " row " << i;
        EXPECT_EQ(e.kind, want.kind) << what << " " << want.name;
        if (std::string_view(what) == "dispatch") {
            EXPECT_STREQ(e.name, want.name) << what << " row " << i;
            EXPECT_EQ(e.type, want.type) << what << " " << want.name;
        } else {
            EXPECT_STREQ(e.TypeLibName(), want.name) << what << " row " << i;
            EXPECT_EQ(e.TypeLibType(), want.type) << what << " " << want.name;
        }
    }
}

} // namespace

TEST(AccelerationInterface, TheDispatchTableAndTheTypeLibraryDeclareTheMembers) {
    const DispTable& table = AccelerationDispatchTable();
    ExpectRows(
        kDispatchRows, [&](std::size_t i) -> const DispEntry& { return table.entries[i]; },
        table.entries.size(), "dispatch");
    ASSERT_EQ(table.Find(7)->params.size(), 1u);
    EXPECT_EQ(table.Find(7)->params[0].vt, VT_BYREF | VT_VARIANT);
    EXPECT_TRUE(AccelerationEventTable().entries.empty());

    // The library the module builds and registers.
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DAcceleration, info.Out()), S_OK);
    TYPEATTR attr{};
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    ExpectRows(
        kTypeLibRows,
        [&](std::size_t i) -> const DispEntry& {
            const DispEntry* e = nullptr;
            EXPECT_EQ(info->GetMemberDesc(UINT(i), &e), S_OK);
            return *e;
        },
        attr.cFuncs, "type library");
    CComBSTR name;
    ASSERT_EQ(info->GetDocumentation(DISPID_UNKNOWN, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), "_DAcceleration");
    ComPtr<ITypeInfo> events;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kw::ids::IID_DAccelerationEvents, events.Out()), S_OK);
    ASSERT_EQ(events->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.cFuncs, 0) << "the control fires no events";
    CComBSTR eventsName;
    ASSERT_EQ(events->GetDocumentation(DISPID_UNKNOWN, &eventsName, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(eventsName.View(), "_DAccelerationEvents");
}

TEST_F(AccelerationTest, AFreshControlHasItsDefaultsAndNoTable) {
    auto c = Create();
    EXPECT_EQ(Get(c, "Vstart"), 200);
    EXPECT_EQ(Get(c, "A"), 200);
    EXPECT_EQ(Get(c, "B"), 10000);
    EXPECT_EQ(Get(c, "Vmax"), 5000);
    EXPECT_EQ(Get(c, "Alpha"), 0);
    EXPECT_EQ(Get(c, "Mode"), 0);
    EXPECT_EQ(Get(c, "CurRamp"), 0);
    EXPECT_TRUE(Table(c).empty()) << "nothing is computed before a parameter is set";
    auto* object = Object(c);
    ComPtr<IDispatch> loose;
    ASSERT_EQ(COleControl::CreateObject<CAccelerationCtrl>(IID_IDispatch, loose.OutVoid()), S_OK);
    int cx = 0, cy = 0;
    Object(loose)->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 80);
    EXPECT_EQ(cy, 80);
    EXPECT_EQ(object->m_rampCount, 0);
}

TEST_F(AccelerationTest, SettingAParameterComputesTheTable) {
    auto c = Create();
    auto* object = Object(c);
    object->SetModifiedFlag(FALSE);
    Put(c, "Vstart", CComVariant::I2(200)); // the value it had
    EXPECT_TRUE(object->IsModified());
    const auto table = Table(c);
    ASSERT_EQ(table.size(), 191u);
    EXPECT_EQ(table[0], 1309);

    Put(c, "A", CComVariant::I2(5));
    EXPECT_EQ(Get(c, "A"), 10) << "raised by the computation";

    Put(c, "Vmax", CComVariant::I4(0));
    EXPECT_EQ(Get(c, "Vmax"), 10000) << "0 takes B";
}

TEST_F(AccelerationTest, BAndAlphaExcludeEachOther) {
    auto c = Create();
    auto* object = Object(c);
    Put(c, "Alpha", CComVariant::I4(10000));
    EXPECT_EQ(Get(c, "B"), 0);
    EXPECT_EQ(Table(c).size(), 1251u);

    // Zero selects nothing: no recomputation, the other one unchanged; the
    // control still redraws and counts as modified.
    object->m_rampTable[0] = 4711;
    object->SetModifiedFlag(FALSE);
    Put(c, "B", CComVariant::I2(0));
    EXPECT_EQ(Get(c, "Alpha"), 10000);
    EXPECT_EQ(Table(c)[0], 4711);
    EXPECT_TRUE(object->IsModified());

    Put(c, "B", CComVariant::I2(10000));
    EXPECT_EQ(Get(c, "Alpha"), 0);
    EXPECT_EQ(Table(c).size(), 191u);

    object->m_rampTable[0] = 4711;
    object->SetModifiedFlag(FALSE);
    Put(c, "Alpha", CComVariant::I4(0));
    EXPECT_EQ(Get(c, "B"), 10000);
    EXPECT_EQ(Table(c)[0], 4711);
    EXPECT_TRUE(object->IsModified());
}

TEST_F(AccelerationTest, AStartAboveTheFinalFrequencyReadsBackAsFullSpeed) {
    auto c = Create();
    Put(c, "Alpha", CComVariant::I4(10000));
    Put(c, "Vstart", CComVariant::I2(6000));
    const auto table = Table(c);
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table[0], 65535) << "not 78643, which would read back as 13107";
}

TEST_F(AccelerationTest, TheHostsTableGoesInAsLongsAndComesBackAsLowWords) {
    auto c = Create();
    auto* object = Object(c);
    object->SetModifiedFlag(FALSE);
    CComVariant result;
    ASSERT_EQ(SetRampTable(c, Array(VT_I4, 4096, 70000), &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_TRUE(result.boolVal);
    EXPECT_FALSE(object->IsModified()) << "a transfer is not a change of the parameters";
    EXPECT_EQ(object->m_rampTable[4095], 70000) << "stored without a range check";
    auto table = Table(c);
    ASSERT_EQ(table.size(), 4096u);
    EXPECT_EQ(table[0], 4464) << "70000's low 16 bits";

    ASSERT_EQ(SetRampTable(c, Array(VT_I4, 4097, 1), &result), S_OK);
    EXPECT_FALSE(result.boolVal);
    EXPECT_EQ(Table(c).size(), 4096u) << "too long a table changes nothing";
    EXPECT_EQ(object->m_rampTable[0], 70000);

    // The lower bound does not count; the rest of the table is full speed.
    ASSERT_EQ(SetRampTable(c, Array(VT_I4, 3, -1, 5), &result), S_OK);
    EXPECT_TRUE(result.boolVal);
    table = Table(c);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[2], 65535) << "-1's low 16 bits";
    EXPECT_EQ(object->m_rampTable[3], 65535);
    EXPECT_EQ(Get(c, "Vstart"), 200) << "the parameters stay";

    ASSERT_EQ(SetRampTable(c, Array(VT_I4, 0, 0), &result), S_OK);
    EXPECT_TRUE(Table(c).empty());
}

TEST_F(AccelerationTest, OnlyAnArrayOfLongsIsATable) {
    auto c = Create();
    auto* object = Object(c);
    CComVariant result;
    ASSERT_EQ(SetRampTable(c, Array(VT_I4, 5, 9), &result), S_OK);
    for (CComVariant wrong : {Array(VT_I2, 5, 1), CComVariant::I4(3), CComVariant()}) {
        SCODE scode = S_OK;
        EXPECT_EQ(SetRampTable(c, wrong, &result, &scode), DISP_E_EXCEPTION) << wrong.vt;
        EXPECT_EQ(scode, E_INVALIDARG) << wrong.vt;
    }
    // A variant that claims longs over an array of shorts would be read
    // past the array's end.
    CComVariant liar = Array(VT_I2, 5, 1);
    liar.vt = VT_ARRAY | VT_I4;
    SCODE scode = S_OK;
    EXPECT_EQ(SetRampTable(c, liar, &result, &scode), DISP_E_EXCEPTION);
    EXPECT_EQ(scode, E_INVALIDARG);
    liar.vt = VT_ARRAY | VT_I2;
    EXPECT_EQ(Table(c).size(), 5u) << "the table is unchanged after every refusal";

    // Called directly: a null table is nothing to do, and a table by
    // reference is not one.
    EXPECT_TRUE(object->SetRampTable(nullptr));
    CComVariant longs = Array(VT_I4, 2, 1);
    VARIANT byRef;
    byRef.vt = VT_BYREF | VT_ARRAY | VT_I4;
    byRef.pparray = &longs.parray;
    EXPECT_THROW(object->SetRampTable(&byRef), DispatchException);
    EXPECT_EQ(Table(c).size(), 5u);
}

TEST_F(AccelerationTest, OnlyTheFirstDimensionCounts) {
    auto c = Create();
    CComVariant grid;
    grid.vt = VT_ARRAY | VT_I4;
    SAFEARRAYBOUND bounds[2] = {{3, 0}, {4, 0}};
    grid.parray = SafeArrayCreate(VT_I4, 2, bounds);
    LONG at[2] = {1, 0};
    LONG value = 77;
    ASSERT_EQ(SafeArrayPutElement(grid.parray, at, &value), S_OK);
    CComVariant result;
    ASSERT_EQ(SetRampTable(c, grid, &result), S_OK);
    auto table = Table(c);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1], 77);

    // An empty further dimension leaves no elements to read.
    SAFEARRAYBOUND empty[2] = {{3, 0}, {0, 0}};
    CComVariant none;
    none.vt = VT_ARRAY | VT_I4;
    none.parray = SafeArrayCreate(VT_I4, 2, empty);
    ASSERT_EQ(SetRampTable(c, none, &result), S_OK);
    EXPECT_TRUE(result.boolVal);
    EXPECT_TRUE(Table(c).empty());
}

TEST_F(AccelerationTest, PersistenceKeepsTheFinalFrequencyInSixteenBits) {
    auto c = Create();
    Put(c, "Vstart", CComVariant::I2(300));
    Put(c, "Alpha", CComVariant::I4(1000)); // B becomes 0
    Put(c, "Vmax", CComVariant::I4(40000));
    Put(c, "Mode", CComVariant::I4(1));
    Put(c, "CurRamp", CComVariant::I4(7));
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(c.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    const auto& values = bag->Values();
    EXPECT_EQ(values["Vstart"], 300);
    EXPECT_EQ(values["A"], 200);
    EXPECT_EQ(values["B"], 0);
    EXPECT_EQ(values["Vmax"], -25536);
    EXPECT_FALSE(values.contains("Alpha"));
    EXPECT_FALSE(values.contains("Mode"));
    EXPECT_FALSE(values.contains("CurRamp"));

    auto second = Create(RECT{10, 220, 90, 300});
    ComPtr<IPersistPropertyBag> load;
    ASSERT_EQ(second.As(IID_IPersistPropertyBag, &load), S_OK);
    ASSERT_EQ(load->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(Get(second, "Vstart"), 300);
    EXPECT_EQ(Get(second, "B"), 0);
    EXPECT_EQ(Get(second, "Vmax"), -25536);
    EXPECT_EQ(Get(second, "Alpha"), 0);
    EXPECT_TRUE(Table(second).empty()) << "loading does not compute the table";

    // Names the storage lacks leave the members as they are.
    Put(second, "A", CComVariant::I2(55));
    auto sparse =
        ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag(nlohmann::json{{"Vstart", 123}}));
    ASSERT_EQ(load->Load(sparse.Get(), nullptr), S_OK);
    EXPECT_EQ(Get(second, "Vstart"), 123);
    EXPECT_EQ(Get(second, "A"), 55);
    EXPECT_EQ(Get(second, "B"), 0);
}
