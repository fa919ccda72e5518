#include "platform/backends/x11/X11Keyboard.h"

#include "platform/base/Windows1252.h"
#include "platform/user/VirtualKeys.h"

// The typographic symbols (dashes, quotes) are in the publishing set, which
// keysym.h leaves out.
#define XK_PUBLISHING
#include <X11/keysym.h>

namespace kw::x11 {

namespace {

struct KeyRow {
    KeySymbol sym;
    BYTE vk;
};

// Keys outside the letter, digit and function-key ranges. The punctuation
// rows follow the US layout's key names; the German rows name the keys of
// the German layout by the codes the platform gives them there.
constexpr KeyRow kKeys[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Clear, VK_CLEAR},
    {XK_Return, VK_RETURN},
    {XK_Pause, VK_PAUSE},
    {XK_Scroll_Lock, VK_SCROLL},
    {XK_Escape, VK_ESCAPE},
    {XK_Delete, VK_DELETE},
    {XK_space, VK_SPACE},
    {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_Begin, VK_CLEAR},
    {XK_Select, VK_SELECT},
    {XK_Print, VK_SNAPSHOT},
    {XK_Execute, VK_EXECUTE},
    {XK_Insert, VK_INSERT},
    {XK_Menu, VK_APPS},
    {XK_Help, VK_HELP},
    {XK_Break, VK_CANCEL},
    {XK_Num_Lock, VK_NUMLOCK},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_Shift_L, VK_LSHIFT},
    {XK_Shift_R, VK_RSHIFT},
    {XK_Control_L, VK_LCONTROL},
    {XK_Control_R, VK_RCONTROL},
    {XK_Alt_L, VK_LMENU},
    {XK_Alt_R, VK_RMENU},
    {XK_Meta_L, VK_LMENU},
    {XK_Meta_R, VK_RMENU},
    {XK_ISO_Level3_Shift, VK_RMENU}, // AltGr
    {XK_Super_L, VK_LWIN},
    {XK_Super_R, VK_RWIN},
    // Keypad, with NumLock on and off.
    {XK_KP_Space, VK_SPACE},
    {XK_KP_Tab, VK_TAB},
    {XK_KP_Enter, VK_RETURN},
    {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},
    {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},
    {XK_KP_End, VK_END},
    {XK_KP_Begin, VK_CLEAR},
    {XK_KP_Insert, VK_INSERT},
    {XK_KP_Delete, VK_DELETE},
    {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Add, VK_ADD},
    {XK_KP_Separator, VK_SEPARATOR},
    {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},
    // US punctuation.
    {XK_semicolon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},
    {XK_plus, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},
    {XK_grave, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},
    {XK_bracketright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},
    {XK_less, VK_OEM_102},
    // German layout.
    {XK_udiaeresis, VK_OEM_1},
    {XK_odiaeresis, VK_OEM_3},
    {XK_adiaeresis, VK_OEM_7},
    {XK_ssharp, VK_OEM_4},
    {XK_dead_circumflex, VK_OEM_5},
    {XK_asciicircum, VK_OEM_5},
    {XK_dead_acute, VK_OEM_6},
    {XK_numbersign, VK_OEM_2},
    {XK_dead_grave, VK_OEM_6},
};

bool IsKeypad(KeySymbol sym) {
    return sym >= XK_KP_Space && sym <= XK_KP_Equal;
}

BYTE LookUpKey(KeySymbol sym) {
    if (sym >= XK_a && sym <= XK_z)
        return BYTE('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z)
        return BYTE('A' + (sym - XK_A));
    if (sym >= XK_0 && sym <= XK_9)
        return BYTE('0' + (sym - XK_0));
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return BYTE(VK_NUMPAD0 + (sym - XK_KP_0));
    if (sym >= XK_F1 && sym <= XK_F24)
        return BYTE(VK_F1 + (sym - XK_F1));
    for (const KeyRow& row : kKeys)
        if (row.sym == sym)
            return row.vk;
    return 0;
}

// Legacy key symbols of characters that Windows-1252 has beyond Latin-1.
struct CharRow {
    KeySymbol sym;
    char32_t cp;
};
constexpr CharRow kLegacyChars[] = {
    {XK_EuroSign, U'\u20AC'},
    {XK_Scaron, U'\u0160'},
    {XK_scaron, U'\u0161'},
    {XK_Zcaron, U'\u017D'},
    {XK_zcaron, U'\u017E'},
    {XK_OE, U'\u0152'},
    {XK_oe, U'\u0153'},
    {XK_Ydiaeresis, U'\u0178'},
    {XK_emdash, U'\u2014'},
    {XK_endash, U'\u2013'},
    {XK_ellipsis, U'\u2026'},
    {XK_leftsinglequotemark, U'\u2018'},
    {XK_rightsinglequotemark, U'\u2019'},
    {XK_leftdoublequotemark, U'\u201C'},
    {XK_rightdoublequotemark, U'\u201D'},
    {XK_trademark, U'\u2122'},
    {XK_dagger, U'\u2020'},
    {XK_doubledagger, U'\u2021'},
};

// The code point a key symbol stands for, 0 for none.
char32_t CodePointOf(KeySymbol sym) {
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF))
        return char32_t(sym); // Latin-1 symbols are their code points.
    if (sym >= 0x01000100 && sym <= 0x0110FFFF)
        return char32_t(sym - 0x01000000); // Unicode symbols.
    switch (sym) {
    case XK_KP_Space:
        return U' ';
    case XK_KP_Multiply:
        return U'*';
    case XK_KP_Add:
        return U'+';
    case XK_KP_Separator:
        return U',';
    case XK_KP_Subtract:
        return U'-';
    case XK_KP_Decimal:
        return U'.';
    case XK_KP_Divide:
        return U'/';
    case XK_KP_Equal:
        return U'=';
    default:
        break;
    }
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return char32_t(U'0' + (sym - XK_KP_0));
    for (const CharRow& row : kLegacyChars)
        if (row.sym == sym)
            return row.cp;
    return 0;
}

} // namespace

BYTE VirtualKeyForKey(KeySymbol base, KeySymbol typed) {
    return LookUpKey(IsKeypad(typed) || IsKeypad(base) ? typed : base);
}

std::optional<BYTE> CharacterForKey(KeySymbol typed, bool control) {
    switch (typed) {
    case XK_BackSpace:
        return BYTE(0x08);
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_KP_Tab:
        return BYTE(0x09);
    case XK_Return:
    case XK_KP_Enter:
        return BYTE(0x0D);
    case XK_Escape:
        return BYTE(0x1B);
    default:
        break;
    }
    const char32_t cp = CodePointOf(typed);
    if (!cp)
        return std::nullopt;
    if (control) {
        // Ctrl with a letter types its control code; with other keys the
        // platform types nothing, except Ctrl+[ \ ] which give ESC, FS, GS.
        if ((cp >= U'a' && cp <= U'z') || (cp >= U'A' && cp <= U'Z'))
            return BYTE(cp & 0x1F);
        if (cp == U'[' || cp == U'\\' || cp == U']')
            return BYTE(cp & 0x1F);
        return std::nullopt;
    }
    return BYTE(AnsiFromCodePoint(cp));
}

} // namespace kw::x11
