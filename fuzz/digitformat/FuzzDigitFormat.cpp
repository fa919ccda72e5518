// A host's format and value for the seven-segment read-out: the first eight
// bytes are the double, the ninth the number of cells, the rest the format.
// The format reaches printf only when the validator accepts it; traps when
// an accepted format is not of the one shape printf can take safely with one
// double, when the text breaks its rules, or when the cells are wrong.
#include "machine/DigitFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An independent reading of the accepted shape: text with %% around one
// %[-+ #0]*W?(.P?)?l?[fFeEgG] whose width and precision have at most three
// digits.
bool HasAcceptedShape(std::string_view f) {
    int conversions = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '\0')
            return false;
        if (f[i] != '%')
            continue;
        if (i + 1 < f.size() && f[i + 1] == '%') {
            ++i;
            continue;
        }
        ++i;
        while (i < f.size() && std::strchr("-+ #0", f[i]) && f[i] != '\0')
            ++i;
        std::size_t digits = 0;
        while (i < f.size() && IsDigit(f[i]))
            ++i, ++digits;
        if (digits > 3)
            return false;
        if (i < f.size() && f[i] == '.') {
            ++i;
            digits = 0;
            while (i < f.size() && IsDigit(f[i]))
                ++i, ++digits;
            if (digits > 3)
                return false;
        }
        if (i < f.size() && f[i] == 'l')
            ++i;
        if (i >= f.size() || !std::strchr("fFeEgG", f[i]) || f[i] == '\0')
            return false;
        ++conversions;
    }
    return conversions == 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9)
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const int cells = int(std::int8_t(data[8]));
    const std::string_view format(reinterpret_cast<const char*>(data + 9), size - 9);

    const bool accepted = IsDigitFormatAccepted(format);
    if (accepted)
        Check(HasAcceptedShape(format));
    // Short formats of the accepted shape are never refused.
    if (HasAcceptedShape(format) && format.size() < 100) {
        bool smallFields = true;
        for (std::size_t i = 0; i + 2 < format.size(); ++i)
            if (IsDigit(format[i]) && IsDigit(format[i + 1]) && IsDigit(format[i + 2]))
                smallFields = false;
        if (smallFields)
            Check(accepted);
    }

    for (bool uninitialized : {false, true}) {
        const std::string text = DigitText(format, value, uninitialized);
        Check(!text.empty() && text.size() <= kDigitMaxText);
        if (uninitialized || !accepted)
            Check(text == kDigitDashes);
        const std::vector<DigitCell> layout = DigitLayout(text, cells, (data[8] & 1) != 0, value);
        Check(layout.size() == std::size_t(cells > 0 ? cells : 0));
        for (const DigitCell& c : layout) {
            Check(c.background == kDigitGlyphBlank || c.background == kDigitGlyphPoint);
            Check(c.glyph >= -1 && c.glyph <= kDigitGlyphMinus);
        }
    }
    return 0;
}
