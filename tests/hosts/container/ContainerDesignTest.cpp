// The designer driven through the `design` table, headless: the same
// actions the mouse and the keys take in the design window.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

const std::string kDesignPrelude = kPrelude + R"(
local SPIN = "Kestrowidge.SpinEditCtrl.1"
local LED = "Kestrowidge.LedCtrl.1"
local function rect(c) return table.concat({design.rect(c)}, ",") end
)";

TEST_F(ContainerTest, DesignToolboxInsertsAtAClickedPlaceAndAtADraggedSize) {
    const RunResult run = Script(kDesignPrelude + R"(
local spin
for _, t in ipairs(design.tools()) do
    if t.progid == SPIN then spin = t end
end
expect(spin.name, "SpinEdit", "the tool's label")
expect(spin.bitmap, 11, "the tool's bitmap")
-- The control's own initial size, for comparison.
local w0, h0 = size(insert(SPIN, {x = 500, y = 500}))

expect(design.tool(SPIN), SPIN, "the chosen tool")
design.click(30, 40)
local a = design.selection()[1]
expect(rect(a), "30,40," .. w0 .. "," .. h0, "a click inserts at the initial size")
expect(design.tool(), "", "the pointer comes back after inserting")

design.tool(SPIN)
design.drag(260, 124, 100, 100)  -- dragged up and to the left
local b = design.selection()[1]
expect(rect(b), "100,100,160,24", "a drag gives place and size")
expect(design.modified(), true, "inserting changes the form")

local ok, err = pcall(design.tool, "No.Such.1")
print("refused", ok, err)
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(
        run.out.find("refused\tfalse\tdesign.tool: \"No.Such.1\" is not a registered control"),
        std::string::npos)
        << run.out;
}

TEST_F(ContainerTest, DesignMovesNudgesResizesDeletesAndMovesASelectionTogether) {
    const RunResult run = Script(kDesignPrelude + R"(
local a = design.insert(LED, {x = 20, y = 20, w = 30, h = 30})
local b = design.insert(LED, {x = 100, y = 20, w = 30, h = 30})
-- A click selects; a drag from inside moves.
design.click(25, 25)
expect(design.selection()[1], a, "clicked control selected")
design.drag(25, 25, 45, 35)
expect(rect(a), "40,30,30,30", "dragged")
design.key("Right")
design.key("Down", {shift = true})
expect(rect(a), "41,38,30,30", "nudged by one and by eight")
-- The bottom-right handle lies just outside the corner.
design.drag(73, 70, 93, 80)
expect(rect(a), "41,38,50,40", "resized by its handle")
design.drag(38, 57, 80, 57) -- the left middle handle
expect(rect(a), "83,38,8,40", "resized from the left")
-- A handle dragged past the opposite side leaves the smallest size.
design.drag(91, 80, 10, 10)
expect(rect(a), "83,38,4,4", "never smaller than 4 x 4")
design.resize(a, 30, 30)
expect(rect(a), "83,38,30,30", "resized by script")
print("tiny", pcall(design.resize, a, 2, 2))
-- Ctrl+click adds a second control; both move together.
design.click(105, 25, {ctrl = true})
expect(#design.selection(), 2, "two selected")
design.drag(90, 45, 100, 55)
expect(rect(a), "93,48,30,30", "first moved with the second")
expect(rect(b), "110,30,30,30", "second moved with the first")
design.move(-3, 0)
expect(rect(b), "107,30,30,30", "design.move moves the selection")
-- Ctrl+click again takes one out; a click on nothing clears.
design.click(110, 35, {ctrl = true})
expect(#design.selection(), 1, "one left")
design.click(400, 400)
expect(#design.selection(), 0, "nothing selected")
design.select(a, b)
design.key("Delete")
expect(#design.selection(), 0, "deleted controls are not selected")
print("closed", pcall(function() return a.Color end))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("tiny\tfalse\tdesign.resize: a control is at least 4 x 4 pixels"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("closed\tfalse"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, DesignPropertyListEditsInPlaceAndShowsTheControlsRefusal) {
    const RunResult run = Script(kDesignPrelude + R"(
local c = design.insert(SPIN, {x = 10, y = 10, w = 200, h = 24})
local function row(name)
    for _, p in ipairs(design.properties(c)) do
        if p.name == name then return p end
    end
end
expect(row("LowLimit").type, "VT_R4", "LowLimit's type")
expect(design.setproperty(c, "LowLimit", "2.5"), true, "a good value")
expect(c.LowLimit, 2.5, "written through the control")
expect(row("LowLimit").value, "2.5", "the list shows it")
local ok, message = design.setproperty(c, "LowLimit", "abc")
print("refused", ok, message)
expect(c.LowLimit, 2.5, "a refused value changes nothing")
print("readonly", design.setproperty(c, "ControlPointer", "5"))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("refused\tfalse\tSpinEdit"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(".LowLimit: \"abc\" is not a valid value for LowLimit"),
              std::string::npos)
        << run.out;
    // The refusal is shown to the user.
    EXPECT_NE(run.out.find("messagebox \"kwcontainer\" \"SpinEdit"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("readonly\tfalse"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, DesignInvokesMethodsWithByReferenceResultsAndLogsEvents) {
    const RunResult run = Script(kDesignPrelude + R"(
local c = design.insert(SPIN, {x = 10, y = 10, w = 200, h = 24})
local getval
for _, m in ipairs(design.methods(c)) do
    if m.name == "GetVal" then getval = m end
end
print("GetVal", getval.result, table.concat(getval.params, "; "))
print("set", design.invoke(c, "SetVal", 12.5, 1))
print("get", design.invoke(c, "GetVal", 0, -1))
-- A new low limit above the value moves it: the control says so.
design.clearlog()
design.setproperty(c, "LowLimit", "20")
for _, line in ipairs(design.log()) do print("log", line) end
print("unknown", pcall(design.invoke, c, "NoSuch"))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("GetVal\tVT_BOOL\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("VT_R8*"), std::string::npos) << "a by-reference parameter\n" << run.out;
    EXPECT_NE(run.out.find("set\ttrue"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("get\ttrue\t12.5"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("log\tevent SpinEdit1.ValueChanged()"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("unknown\tfalse\tdesign.invoke: SpinEdit1 has no method \"NoSuch\""),
              std::string::npos)
        << run.out;
}

TEST_F(ContainerTest, DesignSavesAFormThatLoadsBackIdenticalAndMarksTheTitle) {
    const RunResult run = Script(kDesignPrelude + R"(
print("title0", design.title())
local c = design.insert(SPIN, {x = 10, y = 10, w = 200, h = 24})
design.setproperty(c, "LowLimit", "1.5")
design.insert(LED, {x = 20, y = 60, w = 24, h = 24})
print("title1", design.title())
expect(design.saveas("panel.json"), true, "saved")
print("title2", design.title())
expect(design.modified(), false, "saved is unmodified")
expect(design.new(), true, "new")
expect(#design.selection(), 0, "empty")
expect(design.open("panel.json"), true, "opened")
print("title3", design.title())
expect(design.saveas("again.json"), true, "saved again")
local one = io.open("panel.json"):read("a")
local two = io.open("again.json"):read("a")
expect(one, two, "the form loads back identical")
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("title0\tUntitled - kwcontainer design"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("title1\tUntitled* - kwcontainer design"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("title2\tpanel.json - kwcontainer design"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("title3\tpanel.json - kwcontainer design"), std::string::npos)
        << run.out;
    // Any host loads it.
    const RunResult host = Script(kPrelude + R"(
local f = loadform("panel.json")
print("loaded", f.SpinEdit1.LowLimit, f.Led1 ~= nil)
)");
    ASSERT_EQ(host.status, 0) << host.Transcript();
    EXPECT_NE(host.out.find("loaded\t1.5\ttrue"), std::string::npos) << host.out;
}

TEST_F(ContainerTest, DesignAsksBeforeUnsavedChangesAreLost) {
    const RunResult run = Script(kDesignPrelude + R"(
expect(design.close(), true, "nothing to ask about")
design.insert(LED, {x = 20, y = 20})
msgbox_answer(2) -- Cancel
expect(design.new(), false, "cancelled")
expect(design.modified(), true, "still unsaved")
expect(design.close(), false, "the window stays")
msgbox_answer(6) -- Yes, but the form has no file yet: nothing is lost
expect(design.new(), false, "a form without a file cannot be saved by Yes")
design.saveas("kept.json")
design.insert(LED, {x = 60, y = 20})
msgbox_answer(6) -- Yes: saved, then a new form
expect(design.new(), true, "saved and new")
msgbox_answer(0)
expect(design.open("kept.json"), true, "reopened")
expect(#design.selection(), 0, "nothing selected after opening")
design.insert(LED, {x = 100, y = 20})
msgbox_answer(7) -- No: thrown away
expect(design.new(), true, "discarded")
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("messagebox \"kwcontainer\" \"Save changes to Untitled?\" 0x23"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("messagebox \"kwcontainer\" \"Save changes to kept.json?\""),
              std::string::npos)
        << run.out;
    // What Yes saved is the form with both lamps.
    const std::string kept = ReadAll(Path("kept.json"));
    EXPECT_NE(kept.find("Led2"), std::string::npos) << kept;
}

TEST_F(ContainerTest, DesignFreesTheNamesOfDeletedControlsAndKeepsAFailedOpenUnsaved) {
    WriteFile("broken.json", "{ this is not a form");
    const RunResult run = Script(kDesignPrelude + R"(
local lamp = design.insert(LED, {x = 20, y = 20})
expect(lamp.Color ~= nil, true, "inserted")
design.saveas("one.json")
design.select(lamp)
design.key("Delete")
-- The deleted lamp's name is free again: the saved form loads beside.
local f = loadform("one.json")
local x, y = design.rect(f.Led1)
expect(x .. "," .. y, "20,20", "loaded under its old name")
msgbox_answer(7)
expect(design.open("broken.json"), false, "a broken form is refused")
print("title", design.title())
expect(design.path(), "", "the broken file is not the form's file")
design.run(true)
print("running", design.title())
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(
        run.out.find("messagebox \"kwcontainer\" \"loadform: \"broken.json\" is not a stored form"),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("title\tUntitled* - kwcontainer design"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("running\tUntitled* - kwcontainer design [run]"), std::string::npos)
        << run.out;
}

} // namespace
} // namespace kw::container::test
