#include "resources/compiler/RcStyles.h"

namespace kw::rc {

namespace {

struct NamedStyle {
    std::string_view name;
    unsigned long value;
};

constexpr NamedStyle kStyles[] = {
    // Windows
    {"WS_OVERLAPPED", 0x00000000},
    {"WS_POPUP", 0x80000000},
    {"WS_CHILD", 0x40000000},
    {"WS_VISIBLE", 0x10000000},
    {"WS_DISABLED", 0x08000000},
    {"WS_CLIPSIBLINGS", 0x04000000},
    {"WS_CLIPCHILDREN", 0x02000000},
    {"WS_CAPTION", 0x00C00000},
    {"WS_BORDER", 0x00800000},
    {"WS_DLGFRAME", 0x00400000},
    {"WS_VSCROLL", 0x00200000},
    {"WS_HSCROLL", 0x00100000},
    {"WS_SYSMENU", 0x00080000},
    {"WS_THICKFRAME", 0x00040000},
    {"WS_GROUP", 0x00020000},
    {"WS_TABSTOP", 0x00010000},
    {"WS_EX_DLGMODALFRAME", 0x00000001},
    {"WS_EX_TRANSPARENT", 0x00000020},
    {"WS_EX_CLIENTEDGE", 0x00000200},
    {"WS_EX_STATICEDGE", 0x00020000},
    {"WS_EX_CONTROLPARENT", 0x00010000},
    // Dialogs
    {"DS_3DLOOK", 0x0004},
    {"DS_FIXEDSYS", 0x0008},
    {"DS_SETFONT", 0x0040},
    {"DS_MODALFRAME", 0x0080},
    {"DS_CONTROL", 0x0400},
    {"DS_CENTER", 0x0800},
    {"DS_SHELLFONT", 0x0048},
    // Statics
    {"SS_LEFT", 0x0000},
    {"SS_CENTER", 0x0001},
    {"SS_RIGHT", 0x0002},
    {"SS_ICON", 0x0003},
    {"SS_BLACKFRAME", 0x0007},
    {"SS_ETCHEDHORZ", 0x0010},
    {"SS_ETCHEDFRAME", 0x0012},
    {"SS_BITMAP", 0x000E},
    {"SS_OWNERDRAW", 0x000D},
    {"SS_NOPREFIX", 0x0080},
    {"SS_NOTIFY", 0x0100},
    {"SS_CENTERIMAGE", 0x0200},
    {"SS_REALSIZEIMAGE", 0x0800},
    {"SS_SUNKEN", 0x1000},
    // Buttons
    {"BS_PUSHBUTTON", 0x0000},
    {"BS_DEFPUSHBUTTON", 0x0001},
    {"BS_CHECKBOX", 0x0002},
    {"BS_AUTOCHECKBOX", 0x0003},
    {"BS_RADIOBUTTON", 0x0004},
    {"BS_3STATE", 0x0005},
    {"BS_AUTO3STATE", 0x0006},
    {"BS_GROUPBOX", 0x0007},
    {"BS_AUTORADIOBUTTON", 0x0009},
    {"BS_OWNERDRAW", 0x000B},
    {"BS_LEFTTEXT", 0x0020},
    {"BS_BITMAP", 0x0080},
    {"BS_MULTILINE", 0x2000},
    {"BS_FLAT", 0x8000},
    // Edits
    {"ES_LEFT", 0x0000},
    {"ES_CENTER", 0x0001},
    {"ES_RIGHT", 0x0002},
    {"ES_MULTILINE", 0x0004},
    {"ES_AUTOVSCROLL", 0x0040},
    {"ES_AUTOHSCROLL", 0x0080},
    {"ES_READONLY", 0x0800},
    {"ES_WANTRETURN", 0x1000},
    {"ES_NUMBER", 0x2000},
    // Combo boxes
    {"CBS_SIMPLE", 0x0001},
    {"CBS_DROPDOWN", 0x0002},
    {"CBS_DROPDOWNLIST", 0x0003},
    {"CBS_AUTOHSCROLL", 0x0040},
    {"CBS_SORT", 0x0100},
    // Up-down controls
    {"UDS_WRAP", 0x0001},
    {"UDS_SETBUDDYINT", 0x0002},
    {"UDS_ALIGNRIGHT", 0x0004},
    {"UDS_ALIGNLEFT", 0x0008},
    {"UDS_AUTOBUDDY", 0x0010},
    {"UDS_ARROWKEYS", 0x0020},
    {"UDS_HORZ", 0x0040},
    {"UDS_NOTHOUSANDS", 0x0080},
};

} // namespace

std::optional<unsigned long> StyleValue(std::string_view name) {
    for (const NamedStyle& s : kStyles)
        if (s.name == name)
            return s.value;
    return std::nullopt;
}

} // namespace kw::rc
