// The published interfaces of ColorStatic, Switch and Polarity in the
// dispatch tables a call goes through and in the library data the module
// is built from.
#include "buttons/ColorStaticCtrl.h"
#include "buttons/PolCtrl.h"
#include "buttons/SwitchCtrl.h"
#include "module/ClassTable.h"
#include "tests/buttons/LabelSwitchMembers.h"

namespace {

using namespace label_switch;

// The dispatch table a call goes through: every member, in order.
void ExpectTable(const DispTable& table, const std::vector<Member>& members) {
    ASSERT_EQ(table.entries.size(), members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        const DispEntry& row = table.entries[i];
        EXPECT_STREQ(row.name, members[i].name);
        EXPECT_STREQ(row.TypeLibName(), members[i].libName);
        ExpectRow(row, members[i], "table");
        EXPECT_EQ(table.FindByName(members[i].name), &row);
    }
}

void ExpectModuleLibrary(const IID& iid, const std::vector<Member>& members) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(&kw::module::TypeLibrary(), nullptr, lib.Out()), S_OK);
    ExpectLibrary(lib.Get(), iid, members);
}

} // namespace

TEST(LabelSwitchContract, ColorStatic) {
    ExpectTable(ColorStaticDispatchTable(), kColorStatic);
    ExpectTable(ColorStaticEventTable(), kNoEvents);
    ExpectModuleLibrary(kw::ids::IID_DColorStatic, kColorStatic);
    ExpectModuleLibrary(kw::ids::IID_DColorStaticEvents, kNoEvents);
}

TEST(LabelSwitchContract, Switch) {
    ExpectTable(SwitchDispatchTable(), kSwitch);
    ExpectTable(SwitchEventTable(), kClickEvent);
    ExpectModuleLibrary(kw::ids::IID_DSwitch, kSwitch);
    ExpectModuleLibrary(kw::ids::IID_DSwitchEvents, kClickEvent);
}

TEST(LabelSwitchContract, Polarity) {
    ExpectTable(PolarityDispatchTable(), kPolarity);
    ExpectTable(PolarityEventTable(), kClickEvent);
    ExpectModuleLibrary(kw::ids::IID_DPolarity, kPolarity);
    ExpectModuleLibrary(kw::ids::IID_DPolarityEvents, kClickEvent);
}
