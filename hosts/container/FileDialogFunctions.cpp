// The script's answers to the file dialog: each call queues the answer of
// the next dialog that opens, a path as if typed and confirmed with Open,
// or nil for Cancel.
#include "hosts/container/LuaSupport.h"
#include "hosts/container/ScriptFunctions.h"
#include "platform/afx/FileDialog.h"
#include "platform/base/Windows1252.h"

namespace kw::container {

namespace {

int FiledialogAnswer(lua_State* L) {
    if (lua_isnoneornil(L, 1)) {
        kw::afx::QueueFileDialogAnswer(std::nullopt);
        return 0;
    }
    const std::string path = ArgString(L, 1, "filedialog_answer", "path");
    if (path.empty())
        Fail("filedialog_answer: the path is empty (nil cancels the dialog)");
    // Scripts are UTF-8; the dialog's text is Windows-1252.
    kw::afx::QueueFileDialogAnswer(Utf8ToAnsi(path));
    return 0;
}

int FiledialogClear(lua_State* L) {
    lua_pushinteger(L, lua_Integer(kw::afx::ClearFileDialogAnswers()));
    return 1;
}

} // namespace

void RegisterFileDialogFunctions(lua_State* L) {
    lua_register(L, "filedialog_answer", &LuaEntry<FiledialogAnswer>);
    lua_register(L, "filedialog_clear", &LuaEntry<FiledialogClear>);
}

} // namespace kw::container
