// The container driving the lamp end to end: creation through the registry,
// properties and methods by name, virtual time, persistence, pictures and
// what the registry and the type library tell a host.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

constexpr const char* kRedDark = "0x800000";
constexpr const char* kRedLit = "0xFF0000";

TEST_F(ContainerTest, PropertiesAndMethodsInAnyLetterCaseDriveTheLamp) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.LedCtrl.1")
local w, h = size(c)
expect(w, 12, "width"); expect(h, 12, "height")
expect(c.Color, 0, "Color"); expect(c.shape, 0, "shape"); expect(c.MODE, 0, "MODE")
print("fresh", hex(pixel(c, 6, 6)))
c.COLOR = 1; c.mode = 1
print("green lit", hex(pixel(c, 6, 6)))
c:setcolor(0); c:SETMODE(2)
print("unavailable", hex(pixel(c, 6, 6)))
local r = c:SetMode(0)
expect(r, nil, "SetMode's result")
print("placed", tostring(c), progid(c), clsid(c))
local d = insert("Kestrowidge.LedCtrl.1", {name = "lamp", x = 50, y = 20, w = 20, h = 16})
print("second", tostring(d), size(d))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find(std::string("fresh\t") + kRedDark), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("green lit\t0x00FF00"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("unavailable\t0x808080"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("placed\tLed1 (Kestrowidge.LedCtrl.1)\tKestrowidge.LedCtrl.1\t{"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("second\tlamp (Kestrowidge.LedCtrl.1)\t20\t16"), std::string::npos)
        << run.out;
}

TEST_F(ContainerTest, VirtualTimeCarriesBlinkingAndAFlash) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.LedCtrl.1")
expect(now(), 0, "the clock's start")
c:SetMode(3)
local seen = {}
for i = 0, 4 do
    seen[#seen + 1] = hex(pixel(c, 6, 6))
    advance(500)
end
print("blink", table.concat(seen, " "))
expect(now(), 2500, "the clock after five steps")
c:SetMode(0)
c:SetMode(4)
expect(c.Mode, 1, "Mode during the flash")
advance(200); c:SetMode(4)   -- a second flash starts the pulse again
advance(299)
print("flash still", hex(pixel(c, 6, 6)))
advance(1)
print("flash over", hex(pixel(c, 6, 6)), c.Mode)
c.Mode = 4                   -- the property stores 4 and does not flash
advance(1000)
expect(c.Mode, 4, "Mode after writing 4")
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find(std::string("blink\t") + kRedDark + " " + kRedLit + " " + kRedDark +
                           " " + kRedLit + " " + kRedDark),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(std::string("flash still\t") + kRedLit), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(std::string("flash over\t") + kRedDark + "\t0"), std::string::npos)
        << run.out;
}

TEST_F(ContainerTest, ADisabledLampShowsGreyUntilEnabled) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.LedCtrl.1")
enable(c, false)
c:SetMode(3)
advance(1000)
expect(hex(pixel(c, 6, 6)), "0x808080", "disabled")
enable(c, true)
expect(hex(pixel(c, 6, 6)), "0x800000", "enabled, first phase")
advance(500)
expect(hex(pixel(c, 6, 6)), "0xFF0000", "enabled, second phase")
move(c, 100, 50)
local w, h = size(c)
expect(w * 100 + h, 1212, "size after a move")
)");
    EXPECT_EQ(run.status, 0) << run.Transcript();
}

TEST_F(ContainerTest, SaveLoadFormsAndResetKeepTheProperties) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.LedCtrl.1", {name = "a"})
c.Color = 3; c.Shape = 1; c.Mode = 2
save(c, "lamp.json")
local d = load("lamp.json", {name = "b", x = 40})
expect(d.Color * 100 + d.Shape * 10 + d.Mode, 312, "loaded properties")
expect(hex(pixel(d, 6, 6)), "0x808080", "loaded lamp's picture")
d.Color = 1
saveform("form.json")
reset(c)
expect(c.Color * 100 + c.Shape * 10 + c.Mode, 0, "after reset")
expect(hex(pixel(c, 6, 6)), "0x800000", "after reset, picture")
)" + R"(
local ok, err = pcall(loadform, "form.json")
expect(ok, false, "loading a form over the same names")
print("clash", err)
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("the name \"a\" is already used"), std::string::npos) << run.out;

    // A fresh container reads the form back with names, places and properties.
    const RunResult reload = Script(kPrelude + R"(
local form = loadform("form.json")
local a, b = form.a, form.b
expect(a.Color * 100 + a.Shape * 10 + a.Mode, 312, "a")
expect(b.Color, 1, "b's colour")
expect(select(1, size(b)), 12, "b's width")
snapshot(nil, "form.png")
snapshot(b, "b.png")
print("names", tostring(a), tostring(b))
)");
    ASSERT_EQ(reload.status, 0) << reload.Transcript();
    EXPECT_NE(reload.out.find("names\ta (Kestrowidge.LedCtrl.1)\tb (Kestrowidge.LedCtrl.1)"),
              std::string::npos);
    for (const char* png : {"form.png", "b.png"})
        EXPECT_EQ(ReadAll(Path(png)).substr(1, 3), "PNG") << png;
    const std::string form = ReadAll(Path("form.json"));
    EXPECT_NE(form.find("\"x\": 40"), std::string::npos) << form;
}

TEST_F(ContainerTest, SavingClearsTheModifiedFlag) {
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.LedCtrl.1")
c:SetColor(2)
expect(modified(c), false, "after a method")
c.Color = 2
expect(modified(c), true, "after a property write")
save(c, "x.json")
expect(modified(c), false, "after saving")
)");
    EXPECT_EQ(run.status, 0) << run.Transcript();
}

TEST_F(ContainerTest, TheRegistryAndTypeLibraryDescribeTheModule) {
    const RunResult list = Container("--list");
    ASSERT_EQ(list.status, 0) << list.Transcript();
    EXPECT_NE(list.out.find("14 controls, 18 pages"), std::string::npos) << list.out;
    for (const char* progId : {"Kestrowidge.LedCtrl.1", "Kestrowidge.SpinEditCtrl.1",
                               "Kestrowidge.LineViewCtrl.1", "Kestrowidge.PolCtrl.1"})
        EXPECT_NE(list.out.find(std::string("control  ") + progId), std::string::npos)
            << progId << "\n"
            << list.out;

    const RunResult run = Script(kPrelude + R"(
local controls, pages = 0, 0
for _, k in ipairs(classes()) do
    if k.kind == "control" then controls = controls + 1 else pages = pages + 1 end
    assert(k.clsid:match("^{%x+%-"), k.clsid)
end
print("classes", controls, pages)
local c = insert("Kestrowidge.LedCtrl.1")
for _, m in ipairs(members(c)) do
    print("member", m.name, m.runtime, m.dispid, m.kind, m.interface)
end
print("about", table.concat(about(c), "|"))
regset("Software\\Kestrowidge\\Test", "Unit", "mm")
regset("Software\\Kestrowidge\\Test", "Count", 7)
print("registry", regget("Software\\Kestrowidge\\Test", "Unit"),
      regget("Software\\Kestrowidge\\Test", "Count"), regget("Software\\Nothing", "x"))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("classes\t14\t18"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("member\tm_nLedColor\tColor\t1\tproperty\t_DLed"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("member\tSetMode\tSetMode\t6\tmethod\t_DLed"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("about\tAbout SpinEdit Control|SpinEdit Control, Version 1.3|"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("|OK\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("registry\tmm\t7\tnil"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, ScriptArgumentsAndInlineCode) {
    const RunResult run =
        Script("print('args', arg[0], ...); print('arg1', arg[1])", "one 'two words'");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("args\tscript.lua\tone\ttwo words"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("arg1\tone"), std::string::npos) << run.out;
    const RunResult inline_ = Container("-e " + Quote("print(kw.array('VT_I2', {1, 2}).vt)"));
    EXPECT_EQ(inline_.status, 0) << inline_.Transcript();
    EXPECT_EQ(inline_.out, "2\n");
}

TEST_F(ContainerTest, EventHandlersAnswerThroughByReferenceArguments) {
    const RunResult reg = Command(std::string(KW_REGSVR_PATH) + " -s " + KW_ASKER_PATH);
    ASSERT_EQ(reg.status, 0) << reg.Transcript();
    const RunResult run = Script(kPrelude + R"(
local c = insert("Kestrowidge.AskerCtrl.1", {name = "asker"})
expect(c:Ask(2), "0:mm", "without a handler")
on(c, "Ask", function(args)
    expect(args.unit, 2, "the by-value argument")
    expect(args.Text, "mm", "the by-reference argument before the answer")
    args.Text = "Grad"
    args.bHandled = true
end)
expect(c:Ask(2), "1:Grad", "with a handler")
off(c, "Ask")
expect(c:Ask(3), "0:mm", "after off")
on(c, "Ask", function(args) error("the handler fails") end)
local ok, message = pcall(function() return c:Ask(4) end)
expect(ok, false, "a failing handler")
expect(message:find("the handler fails") ~= nil, true, "its message")
)");
    EXPECT_EQ(run.status, 0) << run.Transcript();
    // Every fired event is logged, with its final by-reference values.
    EXPECT_NE(run.out.find("event asker.Ask(2"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("event asker.Ask(3"), std::string::npos) << run.out;
}

TEST_F(ContainerTest, MouseInputReachesTheControl) {
    const RunResult reg = Command(std::string(KW_REGSVR_PATH) + " -s " + KW_ASKER_PATH);
    ASSERT_EQ(reg.status, 0) << reg.Transcript();
    const RunResult run = Script(R"(
local c = insert("Kestrowidge.AskerCtrl.1", {name = "asker", x = 10, y = 10, w = 20, h = 20})
print("click inside")
mouse(c, "lclick", 5, 5)
print("released outside")
mouse(c, "ldown", 5, 5)
mouse(c, "lup", 40, 5)
print("dragged out")
mouse(c, "move", 5, 5)
mouse(c, "move", 40, 5, {buttons = "l"})
print("dragged in")
mouse(c, "move", 40, 5)
mouse(c, "move", 5, 5, {buttons = "l"})
print("end")
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    auto clicksBetween = [&](const char* from, const char* to) {
        std::size_t begin = run.out.find(from), end = run.out.find(to);
        int count = 0;
        for (std::size_t at = run.out.find("event asker.Click()", begin);
             at != std::string::npos && at < end; at = run.out.find("event asker.Click()", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(clicksBetween("click inside", "released outside"), 1) << run.out;
    EXPECT_EQ(clicksBetween("released outside", "dragged out"), 0) << run.out;
    EXPECT_EQ(clicksBetween("dragged out", "dragged in"), 0) << run.out;
    // Pressed outside, released inside: not a click of this control.
    EXPECT_EQ(clicksBetween("dragged in", "end"), 0) << run.out;
}

TEST_F(ContainerTest, FileDialogAnswersQueueUntilADialogTakesThem) {
    const RunResult run = Script("filedialog_answer('/tmp/a.bmp'); filedialog_answer(nil)\n"
                                 "print('queued', filedialog_clear(), filedialog_clear())\n"
                                 "filedialog_answer('')");
    EXPECT_NE(run.out.find("queued\t2\t0"), std::string::npos) << run.Transcript();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("filedialog_answer: the path is empty"), std::string::npos)
        << run.Transcript();
}

} // namespace
} // namespace kw::container::test
