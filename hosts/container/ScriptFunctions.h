#pragma once
// The global functions of a container script, by responsibility. Each
// Register function adds its functions to the global table.
#include "hosts/container/Container.h"

namespace kw::container {

// insert, remove, on, off, advance, now
void RegisterFormFunctions(lua_State* L);
// save, load, saveform, loadform, reset, modified
void RegisterPersistFunctions(lua_State* L);
// snapshot, pixel
void RegisterPictureFunctions(lua_State* L);
// properties, allowproperties
void RegisterPropertyFunctions(lua_State* L);
// mouse, key, focus, enable, move
void RegisterInputFunctions(lua_State* L);
// regset, regget, msgbox_answer, about, classes, members, progid, clsid, size
void RegisterHostFunctions(lua_State* L);

// filedialog_answer, filedialog_clear
void RegisterFileDialogFunctions(lua_State* L);
// design: the panel designer (hosts/container/Designer.h)
void RegisterDesignFunctions(lua_State* L);

// gl: OpenGL calls for filling a LineView's display list
void RegisterGlFunctions(lua_State* L);
// camera: a LineView's view window and view angles
void RegisterCameraFunctions(lua_State* L);

// The options of insert and load: name, x, y, w, h.
InsertOptions ReadInsertOptions(lua_State* L, int index, const char* function);

} // namespace kw::container
