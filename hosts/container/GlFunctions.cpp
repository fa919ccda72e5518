// The `gl` table of a container script: the OpenGL 1.1 immediate-mode calls
// and constants a host uses to compile geometry into a viewer's display
// list between BeginList and EndList, and gl.Vertices, which compiles a
// whole array of coordinates in one call.
//
//   lv:BeginList()
//   gl.Color3ub(255, 0, 0)
//   gl.Vertices(gl.LINES, {0, 0, 0, 1, 1, 0})
//   lv:EndList()
#include "hosts/container/ScriptFunctions.h"
#include "platform/gl/Wgl.h"

#include <string>
#include <vector>

namespace kw::container {

namespace {

// Every call needs the context a viewer made current: without it OpenGL
// would drop the call silently.
void NeedContext(const char* function) {
    if (!wglGetCurrentContext())
        Fail(std::string("gl.") + function +
             ": no OpenGL context is current (call it between BeginList and EndList of a "
             "LineView)");
}

double Num(lua_State* L, int index, const char* function) {
    int isNumber = 0;
    const lua_Number value = lua_tonumberx(L, index, &isNumber);
    if (!isNumber)
        Fail(std::string("gl.") + function + ": argument " + std::to_string(index) +
             " must be a number, got " + std::string(TypeName(L, index)));
    return value;
}

GLenum Enum(lua_State* L, int index, const char* function) {
    return GLenum(ArgInteger(L, index, (std::string("gl.") + function).c_str(), "enum"));
}

template <int N> struct Args { double v[N]; };
template <int N> Args<N> Numbers(lua_State* L, const char* function) {
    NeedContext(function);
    Args<N> a{};
    for (int i = 0; i < N; ++i)
        a.v[i] = Num(L, i + 1, function);
    return a;
}

// [SECTION] Primitives

int Begin(lua_State* L) {
    NeedContext("Begin");
    glBegin(Enum(L, 1, "Begin"));
    return 0;
}
int End(lua_State*) {
    NeedContext("End");
    glEnd();
    return 0;
}
int Vertex2d(lua_State* L) {
    const auto a = Numbers<2>(L, "Vertex2d");
    glVertex2d(a.v[0], a.v[1]);
    return 0;
}
int Vertex3d(lua_State* L) {
    const auto a = Numbers<3>(L, "Vertex3d");
    glVertex3d(a.v[0], a.v[1], a.v[2]);
    return 0;
}
int Normal3d(lua_State* L) {
    const auto a = Numbers<3>(L, "Normal3d");
    glNormal3d(a.v[0], a.v[1], a.v[2]);
    return 0;
}
int Color3ub(lua_State* L) {
    const auto a = Numbers<3>(L, "Color3ub");
    glColor3ub(GLubyte(int(a.v[0])), GLubyte(int(a.v[1])), GLubyte(int(a.v[2])));
    return 0;
}
int Color3d(lua_State* L) {
    const auto a = Numbers<3>(L, "Color3d");
    glColor3d(a.v[0], a.v[1], a.v[2]);
    return 0;
}

// gl.Vertices(mode, coords [, size]): coords holds size (3, or 2 for the
// z = 0 plane) numbers a vertex; the vertices are drawn as one
// glDrawArrays, which a list being compiled takes in at once.
int Vertices(lua_State* L) {
    NeedContext("Vertices");
    const GLenum mode = Enum(L, 1, "Vertices");
    if (!lua_istable(L, 2))
        Fail("gl.Vertices: argument 2 (coords) must be a table of numbers, got " +
             std::string(TypeName(L, 2)));
    const lua_Integer size = lua_isnoneornil(L, 3) ? 3 : ArgInteger(L, 3, "gl.Vertices", "size");
    if (size != 2 && size != 3)
        Fail("gl.Vertices: argument 3 (size) must be 2 or 3, got " + std::to_string(size));
    const lua_Unsigned count = lua_rawlen(L, 2);
    if (count % lua_Unsigned(size) != 0)
        Fail("gl.Vertices: " + std::to_string(count) + " numbers are not whole vertices of " +
             std::to_string(size));
    std::vector<GLdouble> coords(count);
    for (lua_Unsigned i = 0; i < count; ++i) {
        lua_rawgeti(L, 2, lua_Integer(i + 1));
        int isNumber = 0;
        coords[i] = lua_tonumberx(L, -1, &isNumber);
        lua_pop(L, 1);
        if (!isNumber)
            Fail("gl.Vertices: coords[" + std::to_string(i + 1) + "] is not a number");
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(GLint(size), GL_DOUBLE, 0, coords.data());
    glDrawArrays(mode, 0, GLsizei(count / lua_Unsigned(size)));
    glPopClientAttrib();
    return 0;
}

// [SECTION] State

int Enable(lua_State* L) {
    NeedContext("Enable");
    glEnable(Enum(L, 1, "Enable"));
    return 0;
}
int Disable(lua_State* L) {
    NeedContext("Disable");
    glDisable(Enum(L, 1, "Disable"));
    return 0;
}
int LineWidth(lua_State* L) {
    const auto a = Numbers<1>(L, "LineWidth");
    glLineWidth(GLfloat(a.v[0]));
    return 0;
}
int PointSize(lua_State* L) {
    const auto a = Numbers<1>(L, "PointSize");
    glPointSize(GLfloat(a.v[0]));
    return 0;
}
int LineStipple(lua_State* L) {
    NeedContext("LineStipple");
    glLineStipple(GLint(ArgInteger(L, 1, "gl.LineStipple", "factor")),
                  GLushort(ArgInteger(L, 2, "gl.LineStipple", "pattern")));
    return 0;
}

// [SECTION] Matrices

int MatrixMode(lua_State* L) {
    NeedContext("MatrixMode");
    glMatrixMode(Enum(L, 1, "MatrixMode"));
    return 0;
}
int LoadIdentity(lua_State*) {
    NeedContext("LoadIdentity");
    glLoadIdentity();
    return 0;
}
int PushMatrix(lua_State*) {
    NeedContext("PushMatrix");
    glPushMatrix();
    return 0;
}
int PopMatrix(lua_State*) {
    NeedContext("PopMatrix");
    glPopMatrix();
    return 0;
}
int Translated(lua_State* L) {
    const auto a = Numbers<3>(L, "Translated");
    glTranslated(a.v[0], a.v[1], a.v[2]);
    return 0;
}
int Rotated(lua_State* L) {
    const auto a = Numbers<4>(L, "Rotated");
    glRotated(a.v[0], a.v[1], a.v[2], a.v[3]);
    return 0;
}
int Scaled(lua_State* L) {
    const auto a = Numbers<3>(L, "Scaled");
    glScaled(a.v[0], a.v[1], a.v[2]);
    return 0;
}

// [SECTION] Text through font lists

int RasterPos2d(lua_State* L) {
    const auto a = Numbers<2>(L, "RasterPos2d");
    glRasterPos2d(a.v[0], a.v[1]);
    return 0;
}
int RasterPos3d(lua_State* L) {
    const auto a = Numbers<3>(L, "RasterPos3d");
    glRasterPos3d(a.v[0], a.v[1], a.v[2]);
    return 0;
}
int ListBase(lua_State* L) {
    NeedContext("ListBase");
    glListBase(GLuint(ArgInteger(L, 1, "gl.ListBase", "base")));
    return 0;
}
int CallList(lua_State* L) {
    NeedContext("CallList");
    glCallList(GLuint(ArgInteger(L, 1, "gl.CallList", "list")));
    return 0;
}
// gl.CallLists(text): one list a byte, offset by the list base.
int CallLists(lua_State* L) {
    NeedContext("CallLists");
    const std::string text = ArgString(L, 1, "gl.CallLists", "text");
    glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
    return 0;
}

struct Constant {
    const char* name;
    lua_Integer value;
};
constexpr Constant kConstants[] = {
    {"POINTS", GL_POINTS},
    {"LINES", GL_LINES},
    {"LINE_LOOP", GL_LINE_LOOP},
    {"LINE_STRIP", GL_LINE_STRIP},
    {"TRIANGLES", GL_TRIANGLES},
    {"TRIANGLE_STRIP", GL_TRIANGLE_STRIP},
    {"TRIANGLE_FAN", GL_TRIANGLE_FAN},
    {"QUADS", GL_QUADS},
    {"QUAD_STRIP", GL_QUAD_STRIP},
    {"POLYGON", GL_POLYGON},
    {"LINE_STIPPLE", GL_LINE_STIPPLE},
    {"LINE_SMOOTH", GL_LINE_SMOOTH},
    {"LIGHTING", GL_LIGHTING},
    {"DEPTH_TEST", GL_DEPTH_TEST},
    {"CULL_FACE", GL_CULL_FACE},
    {"COLOR_MATERIAL", GL_COLOR_MATERIAL},
    {"MODELVIEW", GL_MODELVIEW},
    {"PROJECTION", GL_PROJECTION},
};

struct Function {
    const char* name;
    lua_CFunction fn;
};
constexpr Function kFunctions[] = {
    {"Begin", &LuaEntry<Begin>},
    {"End", &LuaEntry<End>},
    {"Vertex2d", &LuaEntry<Vertex2d>},
    {"Vertex3d", &LuaEntry<Vertex3d>},
    {"Normal3d", &LuaEntry<Normal3d>},
    {"Color3ub", &LuaEntry<Color3ub>},
    {"Color3d", &LuaEntry<Color3d>},
    {"Vertices", &LuaEntry<Vertices>},
    {"Enable", &LuaEntry<Enable>},
    {"Disable", &LuaEntry<Disable>},
    {"LineWidth", &LuaEntry<LineWidth>},
    {"PointSize", &LuaEntry<PointSize>},
    {"LineStipple", &LuaEntry<LineStipple>},
    {"MatrixMode", &LuaEntry<MatrixMode>},
    {"LoadIdentity", &LuaEntry<LoadIdentity>},
    {"PushMatrix", &LuaEntry<PushMatrix>},
    {"PopMatrix", &LuaEntry<PopMatrix>},
    {"Translated", &LuaEntry<Translated>},
    {"Rotated", &LuaEntry<Rotated>},
    {"Scaled", &LuaEntry<Scaled>},
    {"RasterPos2d", &LuaEntry<RasterPos2d>},
    {"RasterPos3d", &LuaEntry<RasterPos3d>},
    {"ListBase", &LuaEntry<ListBase>},
    {"CallList", &LuaEntry<CallList>},
    {"CallLists", &LuaEntry<CallLists>},
};

} // namespace

void RegisterGlFunctions(lua_State* L) {
    lua_createtable(L, 0, int(std::size(kFunctions) + std::size(kConstants)));
    for (const Function& f : kFunctions) {
        lua_pushcfunction(L, f.fn);
        lua_setfield(L, -2, f.name);
    }
    for (const Constant& c : kConstants) {
        lua_pushinteger(L, c.value);
        lua_setfield(L, -2, c.name);
    }
    lua_setglobal(L, "gl");
}

} // namespace kw::container
