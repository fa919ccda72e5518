// properties(c) headless: a script drives a control's property frame as a
// user would, and its mistakes end the run with a message naming them.
#include "ContainerTestSupport.h"

namespace {

using kw::container::test::ContainerTest;
using kw::container::test::kPrelude;

TEST_F(ContainerTest, AScriptDrivesThePropertyFrameOfTwoFieldsLikeAUser) {
    const auto run = Script(kPrelude + R"(
local a = insert("Kestrowidge.SpinEditCtrl.1", {name = "feed"})
local b = insert("Kestrowidge.SpinEditCtrl.1", {name = "speed", y = 40})
a.Flags = 0x0044
b.Flags = 0x0010
local f = properties(a, b)
expect(tostring(f), "frame feed Properties", "name")
expect(table.concat(f:tabs(), "|"), "Typ & Label|Predef. Units|Conf. Units|Layout", "tabs")
expect(f:check(301), true, "the first field's label switch")
expect(f:item(0x3021).enabled, false, "Apply while clean")
expect(f:item(999), nil, "an item the page lacks")
f:check(317, true)
expect(f:item(0x3021).enabled, true, "Apply while dirty")
f:press("Apply")
expect(a.Flags, 0x1044, "the first field")
expect(b.Flags, 0x1010, "the second field keeps its own switches")
f:select("Predef. Units")
expect(select(2, f:tab()), "Predef. Units", "the tab on show")
f:choose(240, "[ inch (abs) ]")
expect(f:text(240), "[ inch (abs) ]", "the list's choice")
f:text(294, "55")
f:press("OK")
expect(f:result(), "OK", "the result")
expect(a.DefaultUnit, 3, "default unit")
expect(b.UnitWidth, 55, "unit width")
f:close()
local g = properties(a)
g:text(270, "changed")
g:press("Cancel")
expect(g:result(), "Cancel", "the result")
expect(a.Label ~= "changed", true, "Cancel writes nothing")
print("done")
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("done"), std::string::npos) << run.Transcript();
}

TEST_F(ContainerTest, PropertyFrameMistakesNameTheFrameAndTheItem) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"properties()", "properties: give the control"},
        {"local f = properties(insert('Kestrowidge.SpinEditCtrl.1')); f:check(4711, true)",
         "frame:check: the page on show has no item 4711"},
        {"local f = properties(insert('Kestrowidge.SpinEditCtrl.1')); f:press('Apply')",
         "frame:press: \"Apply\" is disabled"},
        {"local f = properties(insert('Kestrowidge.SpinEditCtrl.1')); f:select(9)",
         "frame:select: SpinEdit1 Properties has no such tab (it has 4)"},
        {"local f = properties(insert('Kestrowidge.SpinEditCtrl.1')); f:press('OK'); f:tab()",
         "frame:tab: SpinEdit1 Properties is closed"},
        {"local f = properties(insert('Kestrowidge.SpinEditCtrl.1')); f:choose(270, 1)",
         "frame:choose: item 270 is a EDIT, not a list"},
    };
    for (const auto& c : cases) {
        const auto run = Script(c.script);
        EXPECT_EQ(run.status, 1) << c.script << "\n" << run.Transcript();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.script << "\n" << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
    }
}

} // namespace
