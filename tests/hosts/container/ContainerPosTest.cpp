// The container driving the jog pad as a host would: a scripted jog with
// its events, and a host that removes the pad from inside the handler of
// the pad's own StartPos.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

TEST_F(ContainerTest, AScriptedJogReportsStartAndStopToTheHost) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.PosCtrl.1")
local log = {}
on(c, "StartPos", function(a) log[#log + 1] = string.format("start 0x%X", a.val) end)
on(c, "StopPos", function() log[#log + 1] = "stop" end)
on(c, "PosRel", function(a) log[#log + 1] = string.format("rel 0x%X", a.val) end)
mouse(c, "rclick", 9, 33)                 -- X-, right button
key(c, "press", "VK_LEFT", {shift = true})
key(c, "down", "VK_CONTROL")
key(c, "down", "VK_UP")
advance(300)
key(c, "up", "VK_UP")
key(c, "up", "VK_CONTROL")
print(table.concat(log, ", "))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("start 0x811, stop, rel 0x111, start 0x402, stop"), std::string::npos)
        << run.out;
}

TEST_F(ContainerTest, AHostMayRemoveThePadFromInsideItsStartPos) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.PosCtrl.1", {name = "pad"})
local other = insert("Kestrowidge.PosCtrl.1", {name = "spare", x = 200})
local stops = 0
on(c, "StopPos", function() stops = stops + 1 end)
on(c, "StartPos", function() remove(c) end)
mouse(c, "ldown", 32, 11)
mouse(other, "lup", 5, 5)
expect(stops, 1, "the removed pad's jog stopped once")
print("closed:", select(2, pcall(function() return c.Mode end)))
print("proxy:", tostring(c))
remove(other)
print("after")
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("event pad.StartPos(1026)\nevent pad.StopPos()"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("the control is closed"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("after"), std::string::npos) << run.out;
}

} // namespace
} // namespace kw::container::test
