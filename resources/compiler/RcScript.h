#pragma once
// The resources a script declares, and the parser that reads them.
//
// The subset: a STRINGTABLE block of `id "text"` lines; `id DIALOG x, y, cx, cy`
// (or DIALOGEX) with STYLE, EXSTYLE, CAPTION and FONT lines and a BEGIN ... END
// block of LTEXT, RTEXT, CTEXT, EDITTEXT, PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX,
// AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON, GROUPBOX, ICON and CONTROL
// statements; `id DLGINIT BEGIN item, "text" ... END`, the texts a combo box
// or list box of dialog `id` starts with, in order; `id BITMAP "file"`;
// `id ICON "file"` (an icon file). Identifiers are numbers. Style
// expressions combine the platform's style names and numbers with | and NOT.
// Texts are UTF-8 in the script and become Windows-1252.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::rc {

struct DialogItem {
    std::string windowClass;
    std::string text;
    long long id = -1;
    unsigned long style = 0;
    unsigned long exStyle = 0;
    long long x = 0, y = 0, cx = 0, cy = 0;
    std::vector<std::string> initialData; // a combo box's or list box's entries
};

struct Dialog {
    long long id = 0;
    unsigned long style = 0;
    unsigned long exStyle = 0;
    long long x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    long long fontSize = 0;
    std::string fontFace;
    std::vector<DialogItem> items;
};

struct Bitmap {
    long long id = 0;
    std::string file;
};

struct Icon {
    long long id = 0;
    std::string file;
};

struct Script {
    std::vector<std::pair<long long, std::string>> strings;
    std::vector<Dialog> dialogs;
    std::vector<Bitmap> bitmaps;
    std::vector<Icon> icons;
};

// Nothing, with `error` naming the line and the problem, for a script that
// is not in the subset, uses an unknown style name, repeats an identifier or
// holds text that Windows-1252 cannot represent, or gives initial data to an
// item that is not a combo box or list box of an existing dialog.
std::optional<Script> ParseScript(std::string_view text, std::string* error);

} // namespace kw::rc
