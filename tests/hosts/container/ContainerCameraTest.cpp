// A script drives every row of a viewer's mouse table with the container's
// mouse calls and reads the camera back with camera().
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

TEST_F(ContainerTest, AScriptDrivesTheViewersMouseAndReadsItsCamera) {
    const RunResult run = Script(R"(
local lv = insert("Kestrowidge.LineViewCtrl.1", {w = 200, h = 150})
local zooms = 0
on(lv, "ZoomChanged", function() zooms = zooms + 1 end)
local function show(what)
    local c = camera(lv)
    print(string.format("%s %.5f %.5f %.5f %.5f %.1f %.1f %.1f", what, c.left, c.bottom, c.right,
                        c.top, c.x, c.y, c.z))
end
show("fresh")
mouse(lv, "mdown", 100, 75)
mouse(lv, "move", 110, 75)
mouse(lv, "move", 130, 75)
mouse(lv, "mup", 130, 75)
local turned = camera(lv)
print("turned", turned.z ~= 300 or turned.x ~= 290)
mouse(lv, "mdown", 100, 75)
mouse(lv, "move", 100, 81, {ctrl = true})
mouse(lv, "mup", 100, 81)
local c = camera(lv)
print(string.format("stepped %.5f", (c.right - c.left) / 0.72794))
mouse(lv, "move", 120, 75, {buttons = "l"})
mouse(lv, "move", 110, 75, {buttons = "m", shift = true})
focus(lv)
mouse(lv, "wheel", 50, 50)
mouse(lv, "wheel", 50, 50, {delta = 0})
lv:SetInitialFit(-0.1, 0.1, 0.1, -0.1, 0.1, -0.1)
mouse(lv, "rclick", 50, 50)
c = camera(lv)
print(string.format("fitted %.3f zooms %d", c.right - c.left, zooms))
print(select(2, pcall(camera, insert("Kestrowidge.LedCtrl.1"))))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("fresh -0.36397 -0.36397 0.36397 0.36397 290.0 0.0 300.0"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("turned\ttrue"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stepped 0.70000"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("zooms 1"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("fitted 0.728"), std::string::npos) << "the right button fits";
    EXPECT_NE(run.out.find("is not a viewer with a camera"), std::string::npos) << run.out;
}

} // namespace
} // namespace kw::container::test
