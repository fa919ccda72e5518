// An 800 x 600 LineView painting a display list of 100,000 and 1,000,000
// line segments, frames per second through the control (paint, swap and the
// copy into the window), still and while a middle-button drag turns it,
// against the same list drawn by a bare EGL context with no control around
// it, in the same run; and compiling the segments through the container's
// gl.Vertices against the same compile from C++.
#include "hosts/container/ScriptFunctions.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "views3d/LineViewCtrl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <lua.hpp>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Segments in a band around the origin, inside the viewer's home window,
// as a toolpath of short moves would fill it.
std::vector<GLdouble> Segments(long count) {
    std::vector<GLdouble> v;
    v.reserve(std::size_t(count) * 6);
    for (long i = 0; i < count; ++i) {
        const double a = i * 0.001, r = 0.05 + 0.25 * double(i) / double(count);
        v.insert(v.end(), {r * std::cos(a), r * std::sin(a), 0.0, r * std::cos(a + 0.001),
                           r * std::sin(a + 0.001), 0.01});
    }
    return v;
}

void DrawArrays(const std::vector<GLdouble>& v) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_DOUBLE, 0, v.data());
    glDrawArrays(GL_LINES, 0, GLsizei(v.size() / 3));
    glDisableClientState(GL_VERTEX_ARRAY);
}

// A viewer in a headless host; its list compiled from C++.
struct Viewer {
    kw::headless::HeadlessSession session;
    HWND host{nullptr};
    ComPtr<IDispatch> object;
    CLineViewCtrl* view{nullptr};

    Viewer() {
        host = CreateGreyHost("bench", kWidth + 20, kHeight + 20);
        ComPtr<IClassFactory> factory;
        AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_LineView, IID_IClassFactory,
                             factory.OutVoid());
        factory->CreateInstance(nullptr, IID_IDispatch, object.OutVoid());
        ComPtr<IPersistPropertyBag> persist;
        object.As(IID_IPersistPropertyBag, &persist);
        persist->InitNew();
        ComPtr<IOleObject> ole;
        object.As(IID_IOleObject, &ole);
        const RECT pos{10, 10, 10 + kWidth, 10 + kHeight};
        ole->DoVerb(OLEIVERB_INPLACEACTIVATE, host, &pos);
        session.Pump();
        view = static_cast<CLineViewCtrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(object.Get()))));
    }
    ~Viewer() {
        ComPtr<IOleObject> ole;
        if (SUCCEEDED(object.As(IID_IOleObject, &ole)))
            ole->Close(0);
    }
    void Paint() {
        InvalidateRect(view->GetSafeHwnd(), nullptr, FALSE);
        UpdateWindow(view->GetSafeHwnd());
    }
};

// A context with no control around it: an 800 x 600 framebuffer with the
// viewer's depth buffer, the same projection and the same list.
struct BareContext {
    EGLDisplay display{EGL_NO_DISPLAY};
    EGLContext context{EGL_NO_CONTEXT};
    GLuint framebuffer{0}, renderbuffers[2]{}, list{0};

    BareContext() {
        display =
            eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        eglInitialize(display, nullptr, nullptr);
        eglBindAPI(EGL_OPENGL_API);
        context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenRenderbuffers(2, renderbuffers);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kWidth, kHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  renderbuffers[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  renderbuffers[1]);
        glViewport(0, 0, kWidth, kHeight);
    }
    ~BareContext() {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
    }
    void Draw() {
        glClearColor(0.8f, 0.8f, 0.8f, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-0.485, 0.485, -0.364, 0.364, 1, 10000);
        glTranslated(0, 0, -100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(290, 1, 0, 0);
        glRotatef(300, 0, 0, 1);
        glCallList(list);
        glFinish();
    }
};

void ControlPaint(benchmark::State& state) {
    const auto segments = Segments(state.range(0));
    Viewer viewer;
    viewer.view->BeginList();
    glColor3ub(0, 0, 255);
    DrawArrays(segments);
    viewer.view->EndList();
    viewer.Paint();
    for (auto _ : state)
        viewer.Paint();
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ControlPaint)
    ->Name("control/paint")
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Turning: the middle button held and the mouse going round a circle, one
// repaint for every move, as a user's drag repaints the view. The drag's
// first move (the turn's anchor, and reading a large list once for its
// preview) is timed apart.
void ControlTurn(benchmark::State& state) {
    const auto segments = Segments(state.range(0));
    Viewer viewer;
    viewer.view->BeginList();
    glColor3ub(0, 0, 255);
    DrawArrays(segments);
    viewer.view->EndList();
    viewer.Paint();
    const HWND hwnd = viewer.view->GetSafeHwnd();
    auto& session = viewer.session;
    const float startX = viewer.view->ViewAngles()[0], startZ = viewer.view->ViewAngles()[2];
    session.MouseMove(hwnd, kWidth / 2, kHeight / 2);
    session.MouseDown(kw::user::MouseButton::Middle);
    const auto start = std::chrono::steady_clock::now();
    session.MouseMove(hwnd, kWidth / 2 + 1, kHeight / 2);
    UpdateWindow(hwnd);
    const std::chrono::duration<double, std::milli> first =
        std::chrono::steady_clock::now() - start;
    int step = 0;
    for (auto _ : state) {
        const double a = ++step * 0.05;
        session.MouseMove(hwnd, kWidth / 2 + int(150 * std::cos(a)),
                          kHeight / 2 + int(150 * std::sin(a)));
        UpdateWindow(hwnd);
    }
    session.MouseUp(kw::user::MouseButton::Middle);
    if (viewer.view->ViewAngles()[0] == startX && viewer.view->ViewAngles()[2] == startZ)
        state.SkipWithError("the drag did not turn the view");
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["first_move_ms"] = first.count();
}
BENCHMARK(ControlTurn)
    ->Name("control/turn")
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BarePaint(benchmark::State& state) {
    const auto segments = Segments(state.range(0));
    BareContext bare;
    bare.list = glGenLists(1);
    glNewList(bare.list, GL_COMPILE);
    glColor3ub(0, 0, 255);
    DrawArrays(segments);
    glEndList();
    bare.Draw();
    for (auto _ : state)
        bare.Draw();
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BarePaint)
    ->Name("bare/draw")
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Compiling 1,000,000 segments into the viewer's list: from C++, and
// through the container's gl.Vertices with the coordinates in a Lua table.
constexpr long kCompileSegments = 1000000;

void CompileFromCpp(benchmark::State& state) {
    const auto segments = Segments(kCompileSegments);
    Viewer viewer;
    for (auto _ : state) {
        viewer.view->BeginList();
        DrawArrays(segments);
        viewer.view->EndList();
    }
    state.counters["ns/vertex"] =
        benchmark::Counter(double(state.iterations()) * 2 * kCompileSegments,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(CompileFromCpp)->Name("compile/c++")->Unit(benchmark::kMillisecond)->UseRealTime();

void CompileFromLua(benchmark::State& state) {
    const auto segments = Segments(kCompileSegments);
    Viewer viewer;
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    kw::container::RegisterGlFunctions(L);
    lua_getglobal(L, "gl");
    lua_getfield(L, -1, "Vertices");
    lua_setglobal(L, "vertices");
    lua_pop(L, 1);
    lua_createtable(L, int(segments.size()), 0);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        lua_pushnumber(L, segments[i]);
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    lua_setglobal(L, "coords");
    for (auto _ : state) {
        viewer.view->BeginList();
        lua_getglobal(L, "vertices");
        lua_pushinteger(L, GL_LINES);
        lua_getglobal(L, "coords");
        if (lua_pcall(L, 2, 0, 0) != LUA_OK) {
            state.SkipWithError(lua_tostring(L, -1));
            viewer.view->EndList();
            break;
        }
        viewer.view->EndList();
    }
    lua_close(L);
    state.counters["ns/vertex"] =
        benchmark::Counter(double(state.iterations()) * 2 * kCompileSegments,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(CompileFromLua)
    ->Name("compile/gl.Vertices")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

class Recorder : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> milliseconds;
};

double Find(const std::map<std::string, double>& ms, const std::string& name) {
    for (const auto& [key, value] : ms)
        if (key == name || key.rfind(name + "/", 0) == 0)
            return value;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    const auto& ms = recorder.milliseconds;
    std::printf("\n");
    for (const char* n : {"100000", "1000000"}) {
        const double control = Find(ms, std::string("control/paint/") + n + "/real_time");
        const double bare = Find(ms, std::string("bare/draw/") + n + "/real_time");
        const double turn = Find(ms, std::string("control/turn/") + n + "/real_time");
        if (control > 0 && bare > 0)
            std::printf(
                "%8s segments: control %7.2f fps, bare context %7.2f fps, overhead %+.1f %%\n", n,
                1000 / control, 1000 / bare, 100 * (control / bare - 1));
        if (turn > 0)
            std::printf("%8s segments: turning %7.2f fps\n", n, 1000 / turn);
    }
    const double cpp = Find(ms, "compile/c++"), lua = Find(ms, "compile/gl.Vertices");
    if (cpp > 0 && lua > 0)
        std::printf(
            "compile of %ld segments: C++ %.1f ns/vertex, gl.Vertices %.1f ns/vertex, ratio %.2f\n",
            kCompileSegments, cpp * 1e6 / (2.0 * kCompileSegments),
            lua * 1e6 / (2.0 * kCompileSegments), lua / cpp);
    return 0;
}
