// What the form and its controls look like: PNG snapshots and pixels.
#include "hosts/container/ControlProxy.h"
#include "hosts/container/ScriptFunctions.h"

#include <filesystem>

namespace kw::container {

namespace {

int Snapshot(lua_State* L) {
    CContainer& container = CContainer::From(L);
    HWND hwnd = container.Form();
    std::string what = "the form";
    if (!lua_isnil(L, 1)) {
        CControlSite& site = ArgControl(L, 1, "snapshot");
        hwnd = site.Hwnd();
        what = site.Name();
    }
    const std::string path = ArgString(L, 2, "snapshot", "path");
    container.Settle();
    // The folder is made when missing, as an output folder named on a
    // command line usually is.
    std::error_code ec;
    if (const auto parent = std::filesystem::path(path).parent_path(); !parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (!container.Session().Snapshot(hwnd, path))
        Fail("snapshot: cannot write the picture of " + what + " to \"" + path + "\"");
    return 0;
}

int Pixel(lua_State* L) {
    CControlSite& site = ArgControl(L, 1, "pixel");
    const lua_Integer x = ArgInteger(L, 2, "pixel", "x");
    const lua_Integer y = ArgInteger(L, 3, "pixel", "y");
    CContainer& container = CContainer::From(L);
    container.Settle();
    const SurfaceBuffer pixels = container.Session().Pixels(site.Hwnd());
    if (x < 0 || y < 0 || x >= pixels.Width() || y >= pixels.Height())
        Fail("pixel: (" + std::to_string(x) + ", " + std::to_string(y) + ") lies outside " +
             site.Name() + ", whose client area is " + std::to_string(pixels.Width()) + " x " +
             std::to_string(pixels.Height()));
    lua_pushinteger(L, pixels.Pixel(int(x), int(y)) & 0xFFFFFF);
    return 1;
}

} // namespace

void RegisterPictureFunctions(lua_State* L) {
    lua_register(L, "snapshot", &LuaEntry<Snapshot>);
    lua_register(L, "pixel", &LuaEntry<Pixel>);
}

} // namespace kw::container
