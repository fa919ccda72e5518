#pragma once
// The icons of files, as the shell gives them:
// - an icon file (.ico): icon n is the n-th image of the large size (wider
//   than 16 pixels) and the n-th of the small size (16 or less), each brought
//   to 32 x 32 and 16 x 16;
// - a PNG or XPM picture: icon 0, at both sizes;
// - any other file, a program: icon 0 is the icon its desktop entry names
//   (the entry whose Exec or TryExec names the program, by path or, for a
//   bare name, by file name), looked up in the icon theme at 32 and 16
//   pixels, or the picture file it names;
// - "pifmgr.dll" (any folder, any case): the stock icon set, icon n of it.
#include "platform/user/Icon.h"

#include <string>

// The stock icon set: two strips of square cells, drawn by the module's
// resource generator, found through the resource bitmap loader. Magenta
// pixels are transparent.
constexpr UINT kStockIconStripLarge = 900; // 32 x 32 cells
constexpr UINT kStockIconStripSmall = 901; // 16 x 16 cells
constexpr int kStockIconLarge = 32;
constexpr int kStockIconSmall = 16;
// The name the stock set answers to.
constexpr const char* kStockIconLibrary = "pifmgr.dll";

// Up to `icons` icons from `iconIndex` on; the caller destroys them.
// Answers the number of icons given (large and small counted apart).
// With iconIndex -1 and both outputs null: the number of icons the file
// holds.
UINT ExtractIconExA(const char* file, int iconIndex, HICON* large, HICON* small, UINT icons);

namespace kw::shell {

// The icon of a theme icon name at `size` pixels, or a picture file's path:
// null when neither gives one. XDG_DATA_HOME and XDG_DATA_DIRS choose the
// folders searched.
HICON LoadThemeIcon(const std::string& name, int size);
// The value of Icon= of the desktop entry for `program`, or empty.
std::string DesktopEntryIcon(const std::string& program);

} // namespace kw::shell
