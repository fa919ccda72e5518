// kwcontainer: the test container. It loads the module through the
// registry, places controls in a form (headless, or a window with --gui) and
// lets a Lua 5.4 script drive them through late-bound dispatch.
//
//   kwcontainer [OPTIONS] SCRIPT.lua [ARGS...]   runs a script
//   kwcontainer [OPTIONS] -e CODE [ARGS...]      runs a line of code
//   kwcontainer [OPTIONS] --list                 lists the registered classes
//   kwcontainer --gui [OPTIONS] [SCRIPT.lua]     the form in a window of the
//                                                X display: the script runs,
//                                                then the window until closed
//
//   --registry DIR      the registry root for this run (as KW_REGISTRY_DIR)
//   --register MODULE   registers a module file before anything else
//   --embed WINDOWID    with --gui: the form lives inside that X window
//
// Exit status: 0 success, 1 a script error, 2 bad arguments, 3 the module
// could not be registered, the registry read or the display opened, 4 the
// connection to the display was lost.
#include "hosts/container/ClassList.h"
#include "hosts/container/ControlProxy.h"
#include "hosts/container/DesignWindow.h"
#include "hosts/container/GuiSession.h"
#include "hosts/container/ScriptFunctions.h"
#include "hosts/container/VariantLua.h"
#include "platform/com/ComLoader.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kw::container;

enum ExitCode { kOk = 0, kScriptError = 1, kBadArguments = 2, kSetupFailed = 3, kDisplayLost = 4 };

struct CommandLine {
    std::string registry;
    std::string registerModule;
    bool list = false;
    bool gui = false;
    bool help = false;
    bool design = false;     // --design: the form to open is `script` if it ends in .json
    unsigned long embed = 0; // an X window id
    std::string code;        // -e
    std::string script;      // a file
    std::vector<std::string> args;
};

constexpr const char* kUsage =
    "usage: kwcontainer [--registry DIR] [--register MODULE] SCRIPT.lua [ARGS...]\n"
    "       kwcontainer [--registry DIR] [--register MODULE] -e CODE [ARGS...]\n"
    "       kwcontainer [--registry DIR] [--register MODULE] --list\n"
    "       kwcontainer --gui [--embed WINDOWID] [OPTIONS] [SCRIPT.lua | -e CODE]\n"
    "       kwcontainer --gui --design [OPTIONS] [FORM.json | SCRIPT.lua | -e CODE]\n"
    "       kwcontainer --help\n";

constexpr const char* kHelp =
    "\n"
    "The test container: loads the controls through the registry, places them in a\n"
    "form (headless, or a window of the X display with --gui) and runs a Lua 5.4\n"
    "script that drives them through late-bound dispatch.\n"
    "\n"
    "options:\n"
    "  --registry DIR      the registry root for this run (as KW_REGISTRY_DIR;\n"
    "                      scripts/run fills build-release/registry)\n"
    "  --register MODULE   registers a module file (Kestrowidge.so) first\n"
    "  --list              lists the registered controls and property pages\n"
    "  --gui               shows the form in a window; runs until it is closed\n"
    "  --embed WINDOWID    with --gui: the form lives inside that X window\n"
    "  --design            with --gui: lay the form out with the mouse (docs/container.md)\n"
    "  -e CODE             runs CODE instead of a script file\n"
    "  -h, --help          this text\n"
    "\n"
    "script functions (docs/container.md has them all):\n"
    "  insert(class, {name=, x=, y=, w=, h=})  a control; its fields and methods\n"
    "                                          are the control's own\n"
    "  on(c, event, fn), off(c, event)         event handlers\n"
    "  advance(ms), now()                      time passes (virtual without --gui)\n"
    "  mouse(c, action, x, y), key(c, action, key), focus(c), enable(c, on), move(c, x, y, w, h)\n"
    "  snapshot(c or nil, file.png), pixel(c, x, y)\n"
    "  save(c, file), load(file, opts), saveform(file), loadform(file), reset(c), modified(c)\n"
    "  classes(), members(c), progid(c), clsid(c), size(c), about(c)\n"
    "  regset(key, name, value), regget(key, name), msgbox_answer(id), kw.array(type, {...})\n"
    "  filedialog_answer(path or nil), filedialog_clear()   answers of the next file dialogs\n"
    "  design.insert/select/move/resize/delete/properties/setproperty/invoke/log/saveas/...\n"
    "\n"
    "example:\n"
    "  local lamp = insert(\"Kestrowidge.LedCtrl.1\", {x = 10, y = 10})\n"
    "  lamp.Color = 1                 -- green\n"
    "  lamp:SetMode(3)                -- blinking\n"
    "  advance(500)\n"
    "  snapshot(nil, \"form.png\")\n"
    "\n"
    "exit status: 0 success, 1 a script error, 2 bad arguments, 3 the module could\n"
    "not be registered, the registry read or the display opened, 4 the connection\n"
    "to the display was lost.\n";

// What is wrong with the command line, empty when nothing is.
std::string ParseCommandLine(int argc, char** argv, CommandLine* cl) {
    int i = 1;
    bool haveCode = false;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string missing;
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                missing = arg + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        if (arg == "-h" || arg == "--help") {
            cl->help = true;
            return {};
        } else if (arg == "--registry") {
            if (!value(&cl->registry))
                return missing;
        } else if (arg == "--register") {
            if (!value(&cl->registerModule))
                return missing;
        } else if (arg == "--list") {
            cl->list = true;
        } else if (arg == "--gui") {
            cl->gui = true;
        } else if (arg == "--design") {
            cl->design = true;
        } else if (arg == "--embed") {
            std::string id;
            if (!value(&id))
                return missing;
            char* end = nullptr;
            errno = 0;
            cl->embed = std::strtoul(id.c_str(), &end, 0);
            if (id.empty() || id[0] == '-' || cl->embed == 0 || *end || errno == ERANGE)
                return "--embed: '" + id + "' is not a window id";
        } else if (arg == "-e") {
            if (!value(&cl->code))
                return missing;
            haveCode = true;
            ++i;
            break;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            cl->script = arg;
            ++i;
            break;
        }
    }
    for (; i < argc; ++i)
        cl->args.emplace_back(argv[i]);
    if (cl->list && (cl->gui || haveCode || !cl->script.empty() || !cl->args.empty()))
        return "--list takes no script, code or --gui";
    if (cl->embed && !cl->gui)
        return "--embed needs --gui";
    if (cl->design && !cl->gui)
        return "--design needs --gui";
    if (!cl->list && !cl->gui && !haveCode && cl->script.empty())
        return "nothing to run: give a script, -e CODE, --list or --gui";
    return {};
}

int RegisterModule(const std::string& path) {
    char resolved[PATH_MAX];
    const std::string absolute = realpath(path.c_str(), resolved) ? resolved : path;
    CModuleFile module;
    std::string error;
    HRESULT hr = module.Open(absolute, &error);
    if (FAILED(hr)) {
        std::fprintf(stderr, "kwcontainer: the module \"%s\" cannot be loaded (%s): %s\n",
                     absolute.c_str(), HResultText(hr).c_str(), error.c_str());
        return kSetupFailed;
    }
    auto entry = reinterpret_cast<DllRegisterServerFn>(module.Symbol("DllRegisterServer"));
    if (!entry) {
        std::fprintf(stderr, "kwcontainer: the module \"%s\" has no DllRegisterServer\n",
                     absolute.c_str());
        return kSetupFailed;
    }
    if (FAILED(hr = entry())) {
        std::fprintf(stderr, "kwcontainer: registering \"%s\" failed: %s\n", absolute.c_str(),
                     HResultText(hr).c_str());
        return kSetupFailed;
    }
    // The module stays loaded for the life of the process (see RunScript).
    static CModuleFile* kept = new CModuleFile(std::move(module));
    (void)kept;
    return kOk;
}

int List() {
    std::string error;
    const auto classes = ListRegisteredClasses(&error);
    if (!classes) {
        std::fprintf(stderr, "kwcontainer: %s\n", error.c_str());
        return kSetupFailed;
    }
    int controls = 0, pages = 0;
    for (const RegisteredClass& entry : *classes) {
        std::printf("%-8s %-40s %s  %s\n", entry.isControl ? "control" : "page",
                    entry.progId.empty() ? "(no ProgID)" : entry.progId.c_str(),
                    entry.clsid.c_str(), entry.name.c_str());
        ++(entry.isControl ? controls : pages);
    }
    std::printf("%d controls, %d pages\n", controls, pages);
    return kOk;
}

int Traceback(lua_State* L) {
    const char* message = lua_tostring(L, 1);
    if (!message)
        message = lua_pushfstring(L, "(error object is a %s value)", luaL_typename(L, 1));
    luaL_traceback(L, L, message, 1);
    return 1;
}

void OpenScriptInterface(lua_State* L, const CommandLine& cl) {
    luaL_openlibs(L);
    RegisterControlProxy(L);
    RegisterFormFunctions(L);
    RegisterPersistFunctions(L);
    RegisterPictureFunctions(L);
    RegisterPropertyFunctions(L);
    RegisterInputFunctions(L);
    // Lua's own load stays reachable as kw.lua_load; `load` is the
    // container's (a stored control).
    lua_newtable(L);
    lua_getglobal(L, "load");
    lua_setfield(L, -2, "lua_load");
    RegisterArrayFunctions(L);
    lua_setglobal(L, "kw");
    RegisterHostFunctions(L);
    RegisterFileDialogFunctions(L);
    RegisterGlFunctions(L);
    RegisterCameraFunctions(L);
    RegisterDesignFunctions(L);

    lua_createtable(L, int(cl.args.size()), 1);
    lua_pushstring(L, cl.script.empty() ? "-e" : cl.script.c_str());
    lua_rawseti(L, -2, 0);
    for (std::size_t i = 0; i < cl.args.size(); ++i) {
        lua_pushstring(L, cl.args[i].c_str());
        lua_rawseti(L, -2, lua_Integer(i + 1));
    }
    lua_setglobal(L, "arg");
}

// With --gui: the form moved onto the display; null (after a message) when
// the display cannot be opened.
std::unique_ptr<GuiSession> OpenGui(CContainer& container, const CommandLine& cl) {
    const std::string title = cl.script.empty() ? "kwcontainer" : "kwcontainer - " + cl.script;
    auto gui =
        std::make_unique<GuiSession>(container, GuiOptions{"", cl.embed, title, kDisplayLost});
    if (gui->IsOpen() && gui->EmbedRefused()) {
        std::fprintf(stderr, "kwcontainer: --embed: there is no X window 0x%lx on the display \"%s\"\n",
                     cl.embed, gui->DisplayName().c_str());
        return nullptr;
    }
    if (gui->IsOpen())
        return gui;
    if (gui->DisplayName().empty())
        std::fprintf(stderr, "kwcontainer: --gui needs a display: DISPLAY is not set\n");
    else
        std::fprintf(stderr, "kwcontainer: cannot open the X display \"%s\"\n",
                     gui->DisplayName().c_str());
    return nullptr;
}

int RunScript(const CommandLine& cl) {
    lua_State* L = luaL_newstate();
    if (!L) {
        std::fprintf(stderr, "kwcontainer: out of memory\n");
        return kScriptError;
    }
    int status = LUA_OK;
    {
        CContainer container(L);
        std::unique_ptr<GuiSession> gui;
        if (cl.gui && !(gui = OpenGui(container, cl))) {
            lua_close(L);
            return kSetupFailed;
        }
        OpenScriptInterface(L, cl);
        if (gui)
            gui->RegisterScriptFunctions(L);
        lua_pushcfunction(L, &Traceback);
        const bool formFile = cl.design && cl.script.size() > 5 &&
                              cl.script.compare(cl.script.size() - 5, 5, ".json") == 0;
        if (cl.gui && ((cl.script.empty() && cl.code.empty()) || formFile))
            lua_pushcfunction(L, [](lua_State*) { return 0; }); // the empty form alone
        else
            status = cl.script.empty() ? luaL_loadbufferx(L, cl.code.data(), cl.code.size(),
                                                          "=(command line)", "t")
                                       : luaL_loadfilex(L, cl.script.c_str(), "t");
        if (status == LUA_OK) {
            for (const std::string& a : cl.args)
                lua_pushstring(L, a.c_str());
            status = lua_pcall(L, int(cl.args.size()), 0, -2 - int(cl.args.size()));
        }
        if (status == LUA_OK && gui && (cl.design || CDesigner::Current())) {
            CDesigner& designer = StartDesigner(L);
            if (formFile)
                designer.Open(cl.script);
            AttachDesignWindow(designer, *gui);
        }
        // With a window, the script has set it up: it runs until closed.
        if (std::string error; status == LUA_OK && gui && !gui->RunUntilClosed(&error)) {
            lua_pushstring(L, error.c_str());
            status = LUA_ERRRUN;
        }
        if (status != LUA_OK)
            std::fprintf(stderr, "kwcontainer: %s\n", ErrorText(L, -1).c_str());
        CloseDesigner();
        container.CloseAll();
        lua_close(L);
    }
    CoFreeUnusedLibraries();
    return status == LUA_OK ? kOk : kScriptError;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    CommandLine cl;
    if (const std::string error = ParseCommandLine(argc, argv, &cl); !error.empty()) {
        std::fprintf(stderr, "kwcontainer: %s\n%s", error.c_str(), kUsage);
        return kBadArguments;
    }
    if (cl.help) {
        std::printf("%s%s", kUsage, kHelp);
        return kOk;
    }
    if (!cl.registry.empty())
        setenv("KW_REGISTRY_DIR", cl.registry.c_str(), 1);
    if (!cl.registerModule.empty())
        if (int rc = RegisterModule(cl.registerModule); rc != kOk)
            return rc;
    if (cl.list)
        return List();
    return RunScript(cl);
}
