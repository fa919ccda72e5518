#pragma once
// The text and the cell layout of the seven-segment read-out, without a
// window. The host's format is used as the printf format of one double, so
// it is checked before printf ever sees it.
#include <string>
#include <string_view>
#include <vector>

// Glyphs of a strip: 0 to 9 the digits, then these.
inline constexpr int kDigitGlyphBlank = 10;
inline constexpr int kDigitGlyphMinus = 11;
inline constexpr int kDigitGlyphPoint = 12; // the blank cell with its point lit
inline constexpr int kDigitGlyphCount = 13;

// Bits of the Digit's Flags.
inline constexpr short kDigitZeroPadding = 0x0001;
inline constexpr short kDigitBig = 0x0002;
inline constexpr short kDigitSmall = 0x0004;
inline constexpr short kDigitUninitialized = 0x0008;
inline constexpr short kDigitError = 0x0010;

// What the read-out shows when its text cannot be made.
inline constexpr std::string_view kDigitDashes = "----------";
// Texts longer than this show the dashes.
inline constexpr std::size_t kDigitMaxText = 11;
// The formatting buffer; no accepted format can write more than it holds.
inline constexpr std::size_t kDigitBufferSize = 256;

// Whether `format` is plain text (with %% for a percent sign) around exactly
// one conversion of a double: %f, %e, %g or a capital of these, with flags
// (- + space # 0), a width and a precision written as digits, and an
// optional l. Everything else is refused: other conversions, a second one,
// widths or precisions given by '*', and widths or precisions whose text
// could not fit the formatting buffer.
bool IsDigitFormatAccepted(std::string_view format);

// The text the read-out shows for a value: ten minus signs while
// uninitialized; else the value in `format`, or the dashes when the format
// is refused or its text is empty or longer than 11 characters.
std::string DigitText(std::string_view format, double value, bool uninitialized);

// One cell of the read-out: the glyph copied as its background (blank, or
// blank with the point lit when a point follows), and the glyph combined
// into it, or -1 when no character lands there.
struct DigitCell {
    int background{kDigitGlyphBlank};
    int glyph{-1};
};

// The cells of `text` in `cells` cells. A decimal point shares the cell of
// the character before it; characters other than digits and '-' show as 0
// with zero padding of a value that is not negative, otherwise blank.
std::vector<DigitCell> DigitLayout(std::string_view text, int cells, bool zeroPadding,
                                   double value);
