// The container driving the numeric entry field as a host and an operator
// would: properties and methods by name, the host's answers to its
// requests, and mouse, wheel and typed input.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

TEST_F(ContainerTest, HostAnswersTheFieldsRequestsAndReadsItsValueInAnyUnit) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.SpinEditCtrl.1", {w = 200, h = 21})
c.Units = 1 + 128
c.UnitText = "a$2"
expect(c:SetVal(25.4, 1), true, "SetVal")
local ok, v = c:GetVal(0, -1)
expect(v, 25.4, "GetVal in the value unit")
-- The host names U1 and converts into it.
on(c, "RequestUnitText", function(a) a.Text = "Umdr"; a.bHandled = 1 end)
on(c, "RequestUnitConvert", function(a)
    if a.newUnit == 128 then a.newValue = a.curValue / 2; a.bHandled = 1 end
end)
c:SetUnit(128)
local ok2, unit = c:GetUnit(0)
expect(unit, 128, "the display unit")
local got, turns = c:GetVal(0, 128)
print("turns", got, turns)
c.LowLimit = 30
print("limited", c.Value, c.Flags)
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("turns\ttrue\t12.7"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("limited\t30.0\t36"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("event SpinEdit1.ValueChanged()"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, OperatorStepsDragsWheelsAndTypesIntoTheField) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.SpinEditCtrl.1", {w = 200, h = 21})
local changes = 0
on(c, "ValueChanged", function() changes = changes + 1 end)
c.Value = 0
-- Spin buttons at x 146..159: up over y 0..8, down over y 12..20.
mouse(c, "lclick", 152, 4)
expect(c.Value, 1, "after the up button")
mouse(c, "ldown", 152, 16)
advance(600)
mouse(c, "lup", 152, 16)
expect(c.Value, -2, "the down button held for 600 ms")
-- The wheel over the buttons of the focused field.
mouse(c, "wheel", 152, 4, {delta = 120})
expect(c.Value, -1, "one notch up")
-- A drag from the zone between the buttons to 150 pixels above.
mouse(c, "ldown", 152, 10)
mouse(c, "move", 152, -150)
expect(c.Value, 9, "ten steps at once")
advance(20)
mouse(c, "lup", 152, -150)
expect(c.Value, 11, "and one every 10 ms")
-- Typing an expression into the focused field.
key(c, "char", "2")
key(c, "char", "*")
key(c, "char", "3")
key(c, "press", "VK_RETURN")
expect(c.Value, 6, "2*3 entered")
-- A mistake shows the evaluator's message and keeps the value.
key(c, "char", "(")
key(c, "press", "VK_RETURN")
expect(c.Value, 6, "after a mistake")
-- Right double-click with "allow defset".
c.Flags = 4 + 0x800
mouse(c, "rdbl", 60, 10)
expect(c:IsDefVal(), true, "the default requested")
print("changes", changes)
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("changes\t9"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("messagebox \"kwcontainer\" \"Fehler bei Eingabe X:\n\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("beep 0x0"), std::string::npos) << run.out;
}

} // namespace
} // namespace kw::container::test
