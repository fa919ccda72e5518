// kwcontainer --gui end to end, on a private Xvfb server: the script builds
// the form, the window shows it, real input injected through XTest reaches
// the controls, and the events and values they report come back on the
// container's output. Closing the window ends the run with status 0; losing
// the server ends it with a message and status 4.
// GoogleTest comes before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/hosts/container/ContainerTestSupport.h"
#include "tests/platform/backends/x11/XTestDriver.h"
#include "tests/platform/backends/x11/XvfbServer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <thread>

namespace {

using kw::container::test::ContainerTest;
using kw::container::test::ReadAll;
using kw::test::XTestDriver;
using kw::test::XvfbServer;
using Clock = std::chrono::steady_clock;

// kwcontainer --gui running in the background; its output read line by line.
class GuiContainer {
public:
    GuiContainer(const std::filesystem::path& dir, const std::string& display,
                 const std::string& script) {
        int out[2];
        if (pipe(out) != 0)
            return;
        fcntl(out[0], F_SETFD, FD_CLOEXEC);
        m_errPath = (dir / "gui-stderr.txt").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, m_errPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
        std::vector<std::string> env{"DISPLAY=" + display,
                                     "KW_REGISTRY_DIR=" + (dir / "registry").string()};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) && std::strncmp(*e, "KW_REGISTRY_DIR=", 16))
                env.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        const char* argv[] = {KW_CONTAINER_PATH, "--gui", script.c_str(), nullptr};
        if (posix_spawn(&m_pid, KW_CONTAINER_PATH, &actions, nullptr,
                        const_cast<char* const*>(argv), envp.data()) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_out = out[0];
    }
    ~GuiContainer() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }

    bool IsRunning() const { return m_pid > 0; }

    // The next line starting with `prefix` (earlier ones are passed over),
    // none when the output ends or five seconds pass.
    std::optional<std::string> WaitForLine(const std::string& prefix) {
        const auto end = Clock::now() + std::chrono::seconds(5);
        for (;;) {
            for (auto newline = m_buffer.find('\n'); newline != std::string::npos;
                 newline = m_buffer.find('\n')) {
                std::string line = m_buffer.substr(0, newline);
                m_buffer.erase(0, newline + 1);
                m_seen += line + "\n";
                if (line.rfind(prefix, 0) == 0)
                    return line;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            pollfd p{m_out, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0)
                return std::nullopt;
            char chunk[512];
            const ssize_t n = read(m_out, chunk, sizeof chunk);
            if (n <= 0)
                return std::nullopt;
            m_buffer.append(chunk, std::size_t(n));
        }
    }

    // The exit status, none when it still runs after five seconds.
    std::optional<int> Wait() {
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < end) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    std::string Transcript() const {
        return "--- stdout so far\n" + m_seen + m_buffer + "--- stderr\n" + ReadAll(m_errPath);
    }

private:
    pid_t m_pid{0};
    int m_out{-1};
    std::string m_buffer, m_seen, m_errPath;
};

class ContainerGuiTest : public ContainerTest {
protected:
    void SetUp() override {
        ContainerTest::SetUp();
        ASSERT_TRUE(m_server.IsRunning()) << m_server.Error();
        const auto reg = Command(std::string(KW_REGSVR_PATH) + " -s " + KW_ASKER_PATH);
        ASSERT_EQ(reg.status, 0) << reg.Transcript();
    }

    // Starts the container on `script` and waits for its "ready WINDOW ..."
    // line and for the window to be shown and focused.
    std::string Start(const std::string& script) {
        WriteFile("gui.lua", script);
        m_gui.emplace(m_dir, m_server.Name(), "gui.lua");
        m_driver.emplace(m_server.Name());
        const auto ready = m_gui->WaitForLine("ready ");
        if (!ready) {
            ADD_FAILURE() << "no ready line\n" << m_gui->Transcript();
            return {};
        }
        m_window = Window(std::stoul(ready->substr(6)));
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (!m_driver->IsMapped(m_window) && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_TRUE(m_driver->IsMapped(m_window));
        m_driver->Focus(m_window); // as a window manager gives a new window
        m_origin = m_driver->GeometryOf(m_window);
        return *ready;
    }

    // A point of the form, on the screen.
    void MoveToForm(int x, int y) { m_driver->MoveTo(m_origin.x + x, m_origin.y + y); }

    // Waits until the window shows `pixel` at a point of the form.
    bool Shows(int x, int y, std::uint32_t pixel) {
        const auto end = Clock::now() + std::chrono::seconds(3);
        while (m_driver->Pixel(m_window, x, y) != pixel && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return m_driver->Pixel(m_window, x, y) == pixel;
    }

    XvfbServer m_server;
    std::optional<GuiContainer> m_gui;
    std::optional<XTestDriver> m_driver;
    Window m_window{None};
    XTestDriver::Geometry m_origin;
};

// A lit green lamp and the asker control, whose Click event the script
// reports with a value read back through the control's method.
const std::string kLampAndAsker = R"(
local lamp = insert("Kestrowidge.LedCtrl.1", {name = "lamp", x = 20, y = 20})
lamp.Color = 1
lamp:SetMode(1)
local asker = insert("Kestrowidge.AskerCtrl.1", {name = "asker", x = 100, y = 20, w = 40, h = 40})
on(asker, "Click", function() print("clicked " .. asker:Ask(3)) end)
print(string.format("ready %d %d", gui.window(), pixel(lamp, 6, 6)))
)";

TEST_F(ContainerGuiTest, WindowShowsTheFormTakesRealInputAndClosesWithStatusZero) {
    const std::string ready = Start(kLampAndAsker);
    ASSERT_FALSE(ready.empty());
    const auto lampPixel = std::uint32_t(std::stoul(ready.substr(ready.rfind(' ') + 1)));
    EXPECT_EQ(lampPixel & 0x00FF00, 0x00FF00u) << "the lamp is lit green";
    // The server shows what the container rendered.
    EXPECT_TRUE(Shows(20 + 6, 20 + 6, lampPixel)) << std::hex << m_driver->Pixel(m_window, 26, 26);

    MoveToForm(120, 40);
    m_driver->Click(Button1);
    const auto click = m_gui->WaitForLine("clicked ");
    ASSERT_TRUE(click) << m_gui->Transcript();
    EXPECT_EQ(*click, "clicked 0:mm");
    // The container logs the event itself too.
    EXPECT_NE(m_gui->Transcript().find("event asker.Click()"), std::string::npos);

    m_driver->RequestClose(m_window);
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << "still running after the close request\n" << m_gui->Transcript();
    EXPECT_EQ(*status, 0) << m_gui->Transcript();
}

TEST_F(ContainerGuiTest, AnErrorInAnEventHandlerEndsTheRunWithStatusOne) {
    ASSERT_FALSE(Start(R"(
local asker = insert("Kestrowidge.AskerCtrl.1", {x = 10, y = 10, w = 40, h = 40})
on(asker, "Click", function() error("handler failed on purpose") end)
print(string.format("ready %d", gui.window()))
)")
                     .empty());
    MoveToForm(30, 30);
    m_driver->Click(Button1);
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << m_gui->Transcript();
    EXPECT_EQ(*status, 1);
    EXPECT_NE(m_gui->Transcript().find("handler failed on purpose"), std::string::npos)
        << m_gui->Transcript();
}

TEST_F(ContainerGuiTest, LosingTheDisplayEndsTheRunWithAMessageNotAHang) {
    ASSERT_FALSE(Start(kLampAndAsker).empty());
    m_driver.reset();
    m_server.Kill();
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << "still running without its display\n" << m_gui->Transcript();
    EXPECT_EQ(*status, 4);
    EXPECT_NE(m_gui->Transcript().find("lost the connection to the X display"), std::string::npos)
        << m_gui->Transcript();
}

TEST_F(ContainerGuiTest, EmbeddingIntoAWindowThatDoesNotExistFailsWithOneLine) {
    // timeout turns a hang into status 124 instead of a stuck suite.
    const kw::container::test::RunResult run =
        Command("env DISPLAY=" + m_server.Name() + " timeout 30 " + KW_CONTAINER_PATH +
                " --gui --embed 0xdeadbeef -e 'print(1)'");
    EXPECT_EQ(run.status, 3) << run.Transcript();
    EXPECT_EQ(run.err, "kwcontainer: --embed: there is no X window 0xdeadbeef on the display \"" +
                           m_server.Name() + "\"\n");
    EXPECT_EQ(run.out, "");
}

// The numeric entry field, driven as an operator would. It runs once the
// SpinEdit class is registered by the module; until then it is skipped.
TEST_F(ContainerGuiTest, SpinEditTakesClicksWheelTypingAndDoubleClicks) {
    const std::string ready = Start(R"(
local ok, spin = pcall(insert, "Kestrowidge.SpinEditCtrl.1",
                       {name = "spin", x = 20, y = 80, w = 200, h = 25})
if not ok then
    print("ready " .. gui.window() .. " unavailable: " .. tostring(spin))
    return
end
for _, m in ipairs(members(spin)) do
    if m.kind == "event" then
        on(spin, m.name, function() print(string.format("spin %s %g", m.name, spin.Value)) end)
    end
end
print("ready " .. gui.window() .. " spin")
)");
    ASSERT_FALSE(ready.empty());
    if (ready.find("unavailable") != std::string::npos) {
        m_driver->RequestClose(m_window);
        EXPECT_EQ(m_gui->Wait(), 0);
        GTEST_SKIP() << "the SpinEdit class is not available yet: " << ready;
    }
    // Default layout of a 200x25 field: label 20 wide at the left, the value
    // field up to the spin buttons (14 wide, left of the 40-pixel unit
    // button), the band 21 high centred vertically.
    constexpr int kLeft = 20, kTop = 80;
    const int upX = kLeft + 153, upY = kTop + 6;
    const int fieldX = kLeft + 60, fieldY = kTop + 12;

    MoveToForm(upX, upY);
    m_driver->Click(Button1);
    auto line = m_gui->WaitForLine("spin ValueChanged ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(*line, "spin ValueChanged 1");

    m_driver->Click(Button4); // one notch away from the user
    line = m_gui->WaitForLine("spin ValueChanged ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(*line, "spin ValueChanged 2");

    MoveToForm(fieldX, fieldY);
    m_driver->Click(Button1);
    m_driver->TypeText("2*3\r");
    line = m_gui->WaitForLine("spin ValueChanged ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(*line, "spin ValueChanged 6");

    // The field shows the value: dark text pixels in the value field.
    const auto end = Clock::now() + std::chrono::seconds(3);
    int dark = 0;
    while (dark < 5 && Clock::now() < end) {
        dark = 0;
        for (int y = kTop + 5; y < kTop + 20; ++y)
            for (int x = kLeft + 22; x < kLeft + 144; ++x) {
                const std::uint32_t p = m_driver->Pixel(m_window, x, y);
                dark += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 80;
            }
    }
    EXPECT_GE(dark, 5) << "no text in the value field";

    // A right double click is handled without ending the run.
    MoveToForm(fieldX, fieldY);
    m_driver->Click(Button3);
    m_driver->Click(Button3);
    m_driver->RequestClose(m_window);
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << m_gui->Transcript();
    EXPECT_EQ(*status, 0) << m_gui->Transcript();
}

TEST_F(ContainerGuiTest, AViewerShowsTheSamePictureInTheWindowAsItsRenderedSurface) {
    const std::string ready = Start(R"(
local lv = insert("Kestrowidge.LineViewCtrl.1", {name = "lv", x = 20, y = 20, w = 120, h = 90})
lv:BeginList()
gl.Color3ub(0, 0, 255)
gl.Vertices(gl.LINES, {-0.3, 0, 0, 0.3, 0, 0, 0, -0.3, 0, 0, 0.3, 0, 0, 0, -0.3, 0, 0, 0.3})
gl.Color3ub(200, 40, 0)
gl.Vertices(gl.QUADS, {-0.1, -0.1, 0, 0.1, -0.1, 0, 0.1, 0.1, 0, -0.1, 0.1, 0})
lv:EndList()
lv:EnableLight(1)
local samples = {}
for y = 2, 88, 6 do
    for x = 2, 118, 6 do
        samples[#samples + 1] = string.format("%d,%d,%d", x, y, pixel(lv, x, y))
    end
end
print("ready " .. gui.window() .. " " .. table.concat(samples, " "))
)");
    ASSERT_FALSE(ready.empty());
    std::istringstream in(ready.substr(6));
    unsigned long window = 0;
    in >> window;
    std::string sample;
    int compared = 0, other = 0, ink = 0;
    std::uint32_t face = 0;
    while (in >> sample) {
        int x = 0, y = 0;
        std::uint32_t pixel = 0;
        ASSERT_EQ(std::sscanf(sample.c_str(), "%d,%d,%u", &x, &y, &pixel), 3) << sample;
        if (compared == 0)
            face = pixel;
        ink += pixel != face;
        // The first point waits for the window to show the form.
        if (compared++ == 0) {
            EXPECT_TRUE(Shows(20 + x, 20 + y, pixel));
        }
        other += m_driver->Pixel(m_window, 20 + x, 20 + y) != pixel;
    }
    EXPECT_GT(compared, 200);
    EXPECT_GE(ink, 5) << "the samples cover the picture, not only the background";
    EXPECT_EQ(other, 0) << "points where the window differs from the rendered surface";
    m_driver->RequestClose(m_window);
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << m_gui->Transcript();
    EXPECT_EQ(*status, 0) << m_gui->Transcript();
}

// Design mode with the mouse: a lamp from the toolbox by a click, a field by
// a drag, the lamp moved; Ctrl+S saves through the name prompt, and a fresh
// headless container loads the form.
TEST_F(ContainerGuiTest, DesignModeBuildsAPanelWithTheMouseAndAnyHostLoadsIt) {
    const std::string ready = Start(R"(
local toolbox = gui.design()
local rows = {}
for i, t in ipairs(design.tools()) do rows[t.progid] = i end
print(string.format("ready %d %d %d %d", gui.window(), toolbox,
                    rows["Kestrowidge.LedCtrl.1"], rows["Kestrowidge.SpinEditCtrl.1"]))
)");
    ASSERT_FALSE(ready.empty());
    std::istringstream fields(ready.substr(6));
    unsigned long form = 0, toolbox = 0;
    int ledRow = 0, spinRow = 0;
    fields >> form >> toolbox >> ledRow >> spinRow;
    ASSERT_NE(toolbox, 0u) << ready;
    const auto end = Clock::now() + std::chrono::seconds(5);
    while (!m_driver->IsMapped(Window(toolbox)) && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto tools = m_driver->GeometryOf(Window(toolbox));
    // Tool rows are 22 pixels high, under the pointer's row.
    auto chooseTool = [&](int row) {
        m_driver->MoveTo(tools.x + 60, tools.y + row * 22 + 11);
        m_driver->Click(Button1);
    };

    chooseTool(ledRow);
    MoveToForm(40, 40);
    m_driver->Click(Button1);
    auto line = m_gui->WaitForLine("design: Led1 ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(line->rfind("design: Led1 40,40,", 0), 0u) << *line;

    chooseTool(spinRow);
    MoveToForm(100, 100);
    m_driver->Button(Button1, true);
    MoveToForm(200, 112);
    MoveToForm(300, 124);
    m_driver->Button(Button1, false);
    line = m_gui->WaitForLine("design: SpinEdit1 ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(*line, "design: SpinEdit1 100,100,200,24");

    MoveToForm(42, 42);
    m_driver->Button(Button1, true);
    MoveToForm(52, 47);
    MoveToForm(62, 52);
    m_driver->Button(Button1, false);
    line = m_gui->WaitForLine("design: Led1 ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(line->rfind("design: Led1 60,50,", 0), 0u) << *line;

    // Ctrl+S on a form without a file asks for its name in the file
    // dialog; Enter takes the name offered, in the folder shown.
    m_driver->Key(XK_Control_L, true);
    m_driver->Type(XK_s);
    m_driver->Key(XK_Control_L, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the dialog maps
    m_driver->Type(XK_Return);
    line = m_gui->WaitForLine("design: saved ");
    ASSERT_TRUE(line) << m_gui->Transcript();
    EXPECT_EQ(*line, "design: saved " + Path("form.json").string()) << "the folder shown is the working one";

    m_driver->RequestClose(m_window);
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << "a saved form closes without asking\n" << m_gui->Transcript();
    EXPECT_EQ(*status, 0) << m_gui->Transcript();

    const kw::container::test::RunResult host = Script(R"(
local f = loadform("form.json")
print("spin", design.rect(f.SpinEdit1))
print("led", design.rect(f.Led1))
)");
    ASSERT_EQ(host.status, 0) << host.Transcript();
    EXPECT_NE(host.out.find("spin\t100\t100\t200\t24"), std::string::npos) << host.out;
    EXPECT_NE(host.out.find("led\t60\t50\t"), std::string::npos) << host.out;
}

// Closing a form with unsaved changes asks; Yes on a form without a file
// asks for its name, saves, then closes.
TEST_F(ContainerGuiTest, DesignModeAsksBeforeClosingWithUnsavedChanges) {
    ASSERT_FALSE(Start(R"(
gui.design()
design.insert("Kestrowidge.LedCtrl.1", {x = 20, y = 20})
print("ready " .. gui.window())
)")
                     .empty());
    m_driver->RequestClose(m_window);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the question maps
    m_driver->Type(XK_Return); // Yes, the default button
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the file dialog maps
    m_driver->Type(XK_Return); // the name offered
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << "still running after Yes\n" << m_gui->Transcript();
    EXPECT_EQ(*status, 0) << m_gui->Transcript();
    const auto asked = m_gui->WaitForLine("messagebox ");
    ASSERT_TRUE(asked) << m_gui->Transcript();
    EXPECT_NE(asked->find("Save changes to Untitled?"), std::string::npos) << *asked;
    EXPECT_NE(ReadAll(Path("form.json")).find("Led1"), std::string::npos) << m_gui->Transcript();
}

} // namespace

// A user opens a control's property frame from the window (Alt+Enter on the
// focused control), closes it with Escape, and the run goes on.
TEST_F(ContainerGuiTest, AltEnterOpensTheFocusedControlsPropertyFrame) {
    const std::string ready = Start(R"(
local spin = insert("Kestrowidge.SpinEditCtrl.1", {name = "spin", x = 20, y = 80, w = 200, h = 25})
print("allowed " .. allowproperties())
print("ready " .. gui.window())
)");
    ASSERT_FALSE(ready.empty());
    ASSERT_NE(m_gui->Transcript().find("allowed 1"), std::string::npos) << m_gui->Transcript();
    MoveToForm(20 + 8, 80 + 12); // the label: a click focuses the field
    m_driver->Click(Button1);
    m_driver->Key(XK_Alt_L, true);
    m_driver->Type(XK_Return);
    m_driver->Key(XK_Alt_L, false);
    ASSERT_TRUE(m_gui->WaitForLine("properties: spin open")) << m_gui->Transcript();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    m_driver->Type(XK_Escape);
    const auto closed = m_gui->WaitForLine("properties: spin ");
    ASSERT_TRUE(closed) << m_gui->Transcript();
    EXPECT_EQ(*closed, "properties: spin Cancel");

    m_driver->RequestClose(m_window);
    const auto status = m_gui->Wait();
    ASSERT_TRUE(status) << m_gui->Transcript();
    EXPECT_EQ(*status, 0) << m_gui->Transcript();
}
