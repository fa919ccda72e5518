// Key symbols to virtual keys and Windows-1252 characters, without a display.
#include "platform/backends/x11/X11Keyboard.h"
#include "platform/user/VirtualKeys.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace {

using kw::x11::CharacterForKey;
using kw::x11::VirtualKeyForKey;

TEST(X11Keyboard, KeysAreNamedByTheirPhysicalKeyNotByWhatShiftTypes) {
    EXPECT_EQ(VirtualKeyForKey(XK_a, XK_A), 'A');
    EXPECT_EQ(VirtualKeyForKey(XK_1, XK_exclam), '1');
    EXPECT_EQ(VirtualKeyForKey(XK_minus, XK_underscore), VK_OEM_MINUS);
    EXPECT_EQ(VirtualKeyForKey(XK_8, XK_asterisk), '8');
    EXPECT_EQ(VirtualKeyForKey(XK_F10, XK_F10), VK_F10);
    EXPECT_EQ(VirtualKeyForKey(XK_Shift_R, XK_Shift_R), VK_RSHIFT);
    EXPECT_EQ(VirtualKeyForKey(XK_Control_L, XK_Control_L), VK_LCONTROL);
    EXPECT_EQ(VirtualKeyForKey(XK_ISO_Level3_Shift, XK_ISO_Level3_Shift), VK_RMENU);
    EXPECT_EQ(VirtualKeyForKey(XK_adiaeresis, XK_Adiaeresis), VK_OEM_7);
    EXPECT_EQ(VirtualKeyForKey(XK_Return, XK_Return), VK_RETURN);
    EXPECT_EQ(VirtualKeyForKey(XK_Page_Down, XK_Page_Down), VK_NEXT);
    EXPECT_EQ(VirtualKeyForKey(XK_VoidSymbol, XK_VoidSymbol), 0);
}

TEST(X11Keyboard, KeypadKeysFollowNumLock) {
    EXPECT_EQ(VirtualKeyForKey(XK_KP_End, XK_KP_1), VK_NUMPAD1);
    EXPECT_EQ(VirtualKeyForKey(XK_KP_End, XK_KP_End), VK_END);
    EXPECT_EQ(VirtualKeyForKey(XK_KP_Delete, XK_KP_Decimal), VK_DECIMAL);
    EXPECT_EQ(VirtualKeyForKey(XK_KP_Multiply, XK_KP_Multiply), VK_MULTIPLY);
    EXPECT_EQ(VirtualKeyForKey(XK_KP_Enter, XK_KP_Enter), VK_RETURN);
    EXPECT_EQ(CharacterForKey(XK_KP_1, false), BYTE('1'));
    EXPECT_EQ(CharacterForKey(XK_KP_Multiply, false), BYTE('*'));
    EXPECT_EQ(CharacterForKey(XK_KP_End, false), std::nullopt);
}

TEST(X11Keyboard, TextBecomesWindows1252) {
    EXPECT_EQ(CharacterForKey(XK_a, false), BYTE('a'));
    EXPECT_EQ(CharacterForKey(XK_asterisk, false), BYTE('*'));
    EXPECT_EQ(CharacterForKey(XK_degree, false), BYTE(0xB0));
    EXPECT_EQ(CharacterForKey(XK_ssharp, false), BYTE(0xDF));
    // The euro sign is 0x80 in the code page, as a legacy or a Unicode symbol.
    EXPECT_EQ(CharacterForKey(XK_EuroSign, false), BYTE(0x80));
    EXPECT_EQ(CharacterForKey(0x010020AC, false), BYTE(0x80));
    // Outside the code page: '?', as an ANSI window receives it.
    EXPECT_EQ(CharacterForKey(0x01000416, false), BYTE('?'));
    EXPECT_EQ(CharacterForKey(XK_Return, false), BYTE('\r'));
    EXPECT_EQ(CharacterForKey(XK_BackSpace, false), BYTE(8));
    EXPECT_EQ(CharacterForKey(XK_Escape, false), BYTE(27));
    EXPECT_EQ(CharacterForKey(XK_Left, false), std::nullopt);
    EXPECT_EQ(CharacterForKey(XK_Shift_L, false), std::nullopt);
    EXPECT_EQ(CharacterForKey(XK_F1, false), std::nullopt);
}

TEST(X11Keyboard, ControlTypesControlCodesOnlyForLetters) {
    EXPECT_EQ(CharacterForKey(XK_c, true), BYTE(3));
    EXPECT_EQ(CharacterForKey(XK_A, true), BYTE(1));
    EXPECT_EQ(CharacterForKey(XK_bracketleft, true), BYTE(0x1B));
    EXPECT_EQ(CharacterForKey(XK_1, true), std::nullopt);
    EXPECT_EQ(CharacterForKey(XK_Return, true), BYTE('\r'));
}

} // namespace
