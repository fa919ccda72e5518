// Reading a toolpath viewer's camera, for tests and demos: the viewer
// answers a private read-only interface beside its dispatch interface, so
// that nothing a host programs against grows for the container's sake.
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"
#include "views3d/LineViewCameraProbe.h"

namespace kw::container {

namespace {

void SetNumber(lua_State* L, const char* field, double value) {
    lua_pushnumber(L, value);
    lua_setfield(L, -2, field);
}

int Camera(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "camera");
    ComPtr<ILineViewCamera> probe;
    if (FAILED(site.Dispatch()->QueryInterface(IID_ILineViewCamera, probe.OutVoid())) || !probe)
        Fail("camera: " + site.Name() + " is not a viewer with a camera (a LineView)");
    double window[4] = {};
    float angles[3] = {};
    if (FAILED(probe->GetViewWindow(window)) || FAILED(probe->GetViewAngles(angles)))
        Fail("camera: " + site.Name() + " did not give its camera");
    lua_createtable(L, 0, 7);
    SetNumber(L, "left", window[0]);
    SetNumber(L, "bottom", window[1]);
    SetNumber(L, "right", window[2]);
    SetNumber(L, "top", window[3]);
    SetNumber(L, "x", angles[0]);
    SetNumber(L, "y", angles[1]);
    SetNumber(L, "z", angles[2]);
    return 1;
}

} // namespace

void RegisterCameraFunctions(lua_State* L) {
    lua_register(L, "camera", &LuaEntry<Camera>);
}

} // namespace kw::container
