// The read-out's text and cells without a window: which host formats reach
// printf at all, what the text becomes, and which glyph lands in which cell.
#include "machine/DigitFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The cells as a line: each cell's glyph ('0'..'9', ' ' blank, '-' minus,
// '_' nothing combined) followed by '.' when its background lights the point.
std::string Cells(std::string_view text, int count, bool zeroPadding = false, double value = 0.0) {
    std::string line;
    for (const DigitCell& c : DigitLayout(text, count, zeroPadding, value)) {
        if (c.glyph < 0)
            line += '_';
        else if (c.glyph <= 9)
            line += char('0' + c.glyph);
        else
            line += c.glyph == kDigitGlyphMinus ? '-' : ' ';
        if (c.background == kDigitGlyphPoint)
            line += '.';
        line += '|';
    }
    return line;
}

} // namespace

TEST(DigitFormat, FloatingConversionsWithFlagsWidthAndPrecisionAreAccepted) {
    for (const char* format : {"%f",     "%F",         "%e",   "%E",     "%g",     "%G",    "%5.1f",
                               "%-8.3e", "%+f",        "% f",  "%#g",    "%08.2f", "%.f",   "%lf",
                               "%10f",   "X=%6.2f mm", "%f%%", "%%%.1f", "%255f",  "%.245f"})
        EXPECT_TRUE(IsDigitFormatAccepted(format)) << format;
}

TEST(DigitFormat, EveryOtherFormatIsRefused) {
    const struct {
        const char* format;
        const char* why;
    } cases[] = {
        {"", "no conversion"},
        {"mm", "no conversion"},
        {"100%%", "no conversion"},
        {"%s", "a string conversion"},
        {"%n", "a write through a pointer"},
        {"%5.1f%n", "a write through a pointer after the number"},
        {"%d", "an integer conversion"},
        {"%x", "an integer conversion"},
        {"%c", "a character conversion"},
        {"%p", "a pointer conversion"},
        {"%a", "a hexadecimal float"},
        {"%Lf", "a long double"},
        {"%hf", "a length the double does not have"},
        {"%f %f", "two conversions"},
        {"%f%s", "a second conversion"},
        {"%*f", "a width from the arguments"},
        {"%.*f", "a precision from the arguments"},
        {"%1$f", "a positional argument"},
        {"%'f", "a grouping flag"},
        {"%256f", "a width past the buffer"},
        {"%.246f", "a precision past the buffer"},
        {"%1000000000f", "a width past any int"},
        {"%.99999f", "a precision past any buffer"},
        {"%", "a lone percent sign"},
        {"%5.", "a cut conversion"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(IsDigitFormatAccepted(c.format)) << c.format << ": " << c.why;
    // A NUL inside: printf would see only the part before it.
    EXPECT_FALSE(IsDigitFormatAccepted(std::string_view("%f\0%s", 5)));
    // Text around the conversion counts against the buffer too.
    EXPECT_FALSE(IsDigitFormatAccepted(std::string(200, 'x') + "%60f"));
    EXPECT_TRUE(IsDigitFormatAccepted(std::string(200, 'x') + "%50f"));
}

TEST(DigitFormat, RefusedFormatsAndLongTextsShowTheDashes) {
    EXPECT_EQ(DigitText("%5.1f", 12.5, false), " 12.5");
    EXPECT_EQ(DigitText("%f", 0.0, false), "0.000000");
    EXPECT_EQ(DigitText("%.3e", -1.5, false), "-1.500e+00");
    EXPECT_EQ(DigitText("%s", 1.0, false), "----------");
    EXPECT_EQ(DigitText("%n", 1.0, false), "----------");
    EXPECT_EQ(DigitText("", 1.0, false), "----------");
    // Eleven characters still show; twelve do not.
    EXPECT_EQ(DigitText("%11.3f", 1.0, false), "      1.000");
    EXPECT_EQ(DigitText("%12.3f", 1.0, false), "----------");
    EXPECT_EQ(DigitText("%f", 1e20, false), "----------");
    // More digits than the buffer holds: cut by snprintf, then refused.
    EXPECT_EQ(DigitText("%f", 1e300, false), "----------");
    EXPECT_EQ(DigitText("%.200f", -1e300, false), "----------");
}

TEST(DigitFormat, APointSharesTheCellOfTheDigitBeforeIt) {
    // %5.1f of 12.5 in five cells: blank, 1, 2 with its point lit, 5, blank.
    EXPECT_EQ(Cells(" 12.5", 5), " |1|2.|5|_|");
    // "%f" of 0.0 is eight characters; five cells show 0 (point lit) and
    // four zeros.
    EXPECT_EQ(Cells("0.000000", 5), "0.|0|0|0|0|");
    EXPECT_EQ(Cells("-3.25", 4), "-|3.|2|5|");
    EXPECT_EQ(Cells("", 3), "_|_|_|");
    EXPECT_EQ(Cells("12", 0), "");
    EXPECT_EQ(Cells("12", -4), "");
}

TEST(DigitFormat, ZeroPaddingFillsOtherCharactersOfValuesThatAreNotNegative) {
    EXPECT_EQ(Cells(" 12.5", 5, true, 12.5), "0|1|2.|5|_|");
    EXPECT_EQ(Cells(" -2.5", 5, true, -2.5), " |-|2.|5|_|");
    EXPECT_EQ(Cells(" 0.0", 4, true, 0.0), "0|0.|0|_|");
    // Not a number is not "not negative".
    EXPECT_EQ(Cells(" nan", 4, true, std::nan("")), " | | | |");
}
