// The container driving the point picker and the view chooser, whose type
// library lists only AboutBox: the other members are reached late-bound, by
// name, and a method's by-reference answers come back after its result.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

TEST_F(ContainerTest, ThePointPickersMembersAreReachedWithoutTheTypeLibrary) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.SelectQubeCtrl.1", {x = 10, y = 10})
expect(size(c), 80, "the initial width")
local listed = {}
for _, m in ipairs(members(c)) do listed[#listed + 1] = m.name end
print("listed", table.concat(listed, " "))
c.defaultSel = 0x80 + 4
expect(c.GetSel, 4, "GetSel read like a property")
expect(c.GetReg3DSel, 5, "the 3D number of the square's top middle")
local _, x, y, z = c:GetBezug(-1, -1, -1)
print("codes", x, y, z)
c.defaultSel = 0
c:SetRegion(0, 100, 50, 0, 20, 0)
c:SetSel(26)
local _, ox, oy, oz = c:GetOffsets(0, 0, 0)
print("offsets", ox, oy, oz)
local clicks = 0
on(c, "Click", function() clicks = clicks + 1 end)
mouse(c, "lclick", 54, 72) -- the front right bottom corner
print("picked", c.GetSel, clicks)
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("listed\tAboutBox Click\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("codes\t1\t2\t0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("offsets\t50.0\t25.0\t10.0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("picked\t3\t1"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, TheViewChoosersTextsArriveAsUtf8) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.ViewmanagerCtrl.1", {x = 10, y = 10})
on(c, "SelChanged", function(a) print("sel", a.textId, a.text) end)
on(c, "Click", function() print("click", c.ViewIndex) end)
mouse(c, "move", 30, 48)   -- the left face
mouse(c, "lclick", 30, 48)
mouse(c, "move", 40, 40)   -- the face level's centre
mouse(c, "move", 49, 40)   -- its right arrow
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("sel\t202\tTeilfl\xC3\xA4"
                           "che anzeigen\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("click\t9\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sel\t0\t\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sel\t203\tDrehung um 90\xC2\xB0\n"), std::string::npos) << run.out;
}

} // namespace
} // namespace kw::container::test
