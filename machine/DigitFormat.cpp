#include "machine/DigitFormat.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits at `i` as a number; false when the run is longer
// than any accepted width or precision can be.
bool ReadCount(std::string_view f, std::size_t& i, std::size_t& count) {
    count = 0;
    std::size_t digits = 0;
    while (i < f.size() && IsDigit(f[i])) {
        if (++digits > 3)
            return false;
        count = count * 10 + std::size_t(f[i] - '0');
        ++i;
    }
    return true;
}

int GlyphOf(char c, bool zeroPadding, double value) {
    if (IsDigit(c))
        return c - '0';
    if (c == '-')
        return kDigitGlyphMinus;
    return zeroPadding && value >= 0.0 ? 0 : kDigitGlyphBlank;
}

} // namespace

bool IsDigitFormatAccepted(std::string_view f) {
    int conversions = 0;
    std::size_t text = 0;    // characters of plain text in the result
    std::size_t longest = 0; // of the conversion, beyond the value's integral digits
    std::size_t i = 0;
    while (i < f.size()) {
        const char c = f[i];
        if (c == '\0')
            return false; // printf would see a different format
        if (c != '%') {
            ++text;
            ++i;
            continue;
        }
        if (i + 1 < f.size() && f[i + 1] == '%') {
            ++text;
            i += 2;
            continue;
        }
        ++i;
        while (i < f.size() && std::string_view("-+ #0").find(f[i]) != std::string_view::npos)
            ++i;
        std::size_t width = 0;
        std::size_t precision = 6;
        if (!ReadCount(f, i, width))
            return false;
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (!ReadCount(f, i, precision))
                return false;
        }
        if (i < f.size() && f[i] == 'l')
            ++i;
        if (i >= f.size() || std::string_view("fFeEgG").find(f[i]) == std::string_view::npos)
            return false;
        ++i;
        if (++conversions > 1)
            return false;
        // Sign, leading digit, point and exponent around the precision.
        longest = std::max(width, precision + 10);
    }
    return conversions == 1 && text + longest < kDigitBufferSize;
}

std::string DigitText(std::string_view format, double value, bool uninitialized) {
    if (uninitialized || !IsDigitFormatAccepted(format))
        return std::string(kDigitDashes);
    const std::string terminated(format);
    char buffer[kDigitBufferSize];
    // The format was checked above: one conversion of a double.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int length = std::snprintf(buffer, sizeof buffer, terminated.c_str(), value);
#pragma GCC diagnostic pop
    // A huge value in %f writes more than the buffer holds: snprintf cuts
    // it, and the length it reports sends it to the dashes.
    if (length <= 0 || std::size_t(length) > kDigitMaxText)
        return std::string(kDigitDashes);
    return std::string(buffer, std::size_t(length));
}

std::vector<DigitCell> DigitLayout(std::string_view text, int cells, bool zeroPadding,
                                   double value) {
    std::vector<DigitCell> layout(std::size_t(std::max(cells, 0)));
    auto pointAt = [&](std::size_t i) { return i < text.size() && text[i] == '.'; };
    for (std::size_t k = 0; k < layout.size(); ++k)
        layout[k].background = pointAt(k + 1) ? kDigitGlyphPoint : kDigitGlyphBlank;
    std::size_t k = 0;
    for (std::size_t i = 0; i < text.size() && k < layout.size(); ++i) {
        if (text[i] != '.')
            layout[k].glyph = GlyphOf(text[i], zeroPadding, value);
        // A digit and the point after it share one cell.
        if (!pointAt(i + 1))
            ++k;
    }
    return layout;
}
