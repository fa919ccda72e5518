#pragma once
// Dialog templates as the resource compiler leaves them: positions and
// sizes in dialog units, styles with the platform's values, texts in
// Windows-1252.
#include "platform/base/WinTypes.h"

#include <span>

struct DialogItemTemplate {
    const char* windowClass; // "BUTTON", "EDIT", "STATIC", "msctls_updown32", ...
    const char* text;        // empty for none
    int id;                  // -1 for none
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    // The items a combo box or list box is filled with when the dialog is
    // built, in order (the template's initial data).
    std::span<const char* const> initialData{};
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* caption;
    short fontSize; // points; 0 when the template names no font
    const char* fontFace;
    std::span<const DialogItemTemplate> items;
};
