// The gl table: a script fills a LineView's display list, one call at a time
// or a whole array at once, and is told plainly when it calls OpenGL with no
// viewer's list open.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

struct GlMistake {
    const char* what;
    const char* script;
    const char* message; // a part of the message on standard error
};

TEST_F(ContainerTest, AScriptFillsAViewerThroughTheGlTable) {
    const RunResult run = Script(R"(
local lv = insert("Kestrowidge.LineViewCtrl.1", {w = 200, h = 150})
lv:Set2DMode(1)
lv:BeginList()
gl.Color3ub(0, 0, 255)
gl.Vertices(gl.LINES, {-0.3, 0.1, 0, 0.3, 0.1, 0})
gl.Color3ub(255, 0, 0)
gl.Begin(gl.LINES)
gl.Vertex3d(-0.3, -0.1, 0)
gl.Vertex3d(0.3, -0.1, 0)
gl.End()
gl.Color3ub(0, 255, 0)
gl.Vertices(gl.LINE_STRIP, {-0.2, 0.3, 0.2, 0.3}, 2)
lv:EndList()
local function row(y)
    for dy = -1, 1 do
        local c = pixel(lv, 100, y + dy)
        if c ~= pixel(lv, 5, 5) then return string.format("0x%06X", c) end
    end
    return "none"
end
print(table.concat({"bulk", row(75 - 21), "single", row(75 + 21), "flat", row(75 - 62)}, " "))
)");
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("bulk 0x0000FF single 0xFF0000 flat 0x00FF00"), std::string::npos)
        << run.Transcript();
}

TEST_F(ContainerTest, GlMistakesNameTheCallAndTheCause) {
    const GlMistake cases[] = {
        {"no list open", "gl.Begin(gl.LINES)",
         "gl.Begin: no OpenGL context is current (call it between BeginList and EndList of a "
         "LineView)"},
        {"a partial vertex",
         "local lv = insert('Kestrowidge.LineViewCtrl.1'); lv:BeginList(); "
         "gl.Vertices(gl.LINES, {1, 2, 3, 4})",
         "gl.Vertices: 4 numbers are not whole vertices of 3"},
        {"not a number",
         "local lv = insert('Kestrowidge.LineViewCtrl.1'); lv:BeginList(); gl.Vertex3d(1, 'x', 3)",
         "gl.Vertex3d: argument 2 must be a number, got string"},
    };
    for (const GlMistake& c : cases) {
        const RunResult run = Script(c.script);
        EXPECT_EQ(run.status, 1) << c.what << "\n" << run.Transcript();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << "\n" << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << c.what << "\n" << run.err;
    }
}

} // namespace
} // namespace kw::container::test
