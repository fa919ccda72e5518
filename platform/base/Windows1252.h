#pragma once
// Conversion between the controls' 8-bit Windows-1252 text and the UTF-8 used
// at the component boundary and by the font renderer.
#include <string>
#include <string_view>

// Unicode code point of a Windows-1252 byte. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the
// same value, as the platform's conversion does.
char32_t CodePointFromAnsi(unsigned char byte);

// Windows-1252 byte for a code point, or '?' where the code page has none.
char AnsiFromCodePoint(char32_t cp);

std::string AnsiToUtf8(std::string_view ansi);

// Malformed UTF-8 sequences become one '?' each, like unmappable characters.
std::string Utf8ToAnsi(std::string_view utf8);

// Decodes UTF-8 into code points; malformed sequences give U+FFFD.
std::u32string Utf8ToCodePoints(std::string_view utf8);
