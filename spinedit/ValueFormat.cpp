#include "spinedit/ValueFormat.h"

#include "spinedit/UnitConversion.h"
#include "spinedit/UnitTable.h"

#include <locale.h>
#include <stdlib.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Beyond this magnitude every double is a whole number, and adding 0.5 could
// round to the next even one.
constexpr double kWholeNumbersFrom = 4503599627370496.0; // 2^52
constexpr double kLargestFloat = 3.4028234663852886e38;
constexpr std::string_view kUndefinedText = "---";

// The decimal point of the user's numeric locale, as the environment names
// it (LC_ALL, LC_NUMERIC, LANG, and where locales are found), looked up once
// per naming: switching the C library's locale for every value drawn would
// cost more than the drawing. The C library's numeric locale stays "C".
std::string UserDecimalPoint() {
    std::string naming;
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG", "LOCPATH"}) {
        const char* value = std::getenv(variable);
        naming += std::string(value ? value : "") + '\n';
    }
    thread_local std::string cachedNaming;
    thread_local std::string cachedPoint = ".";
    if (cachedNaming != naming) {
        cachedNaming = naming;
        cachedPoint = ".";
        if (std::setlocale(LC_NUMERIC, "")) {
            if (const char* point = std::localeconv()->decimal_point; point && *point)
                cachedPoint = point;
            std::setlocale(LC_NUMERIC, "C");
        }
    }
    return cachedPoint;
}

// A number printed in the C locale, shown with the user's decimal point.
std::string WithUserDecimalPoint(std::string text) {
    const std::string point = UserDecimalPoint();
    if (const auto dot = text.find('.'); dot != std::string::npos && point != ".")
        text.replace(dot, 1, point);
    return text;
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

} // namespace

void RoundToDecimals(double& v, std::int32_t n) {
    if (v == 0.0) {
        v = 0.0; // -0 would read "-0.00".
        return;
    }
    const double scale = std::pow(10.0, n);
    const double scaled = v * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kWholeNumbersFrom || scale == 0.0)
        return;
    const double t = std::trunc(scaled + (v < 0.0 ? -0.5 : 0.5));
    v = t == 0.0 ? 0.0 : t / scale;
}

double LimitInValueUnit(float limit, short defaultUnit, WORD valueUnit, bool unitsOff,
                        IUnitRequests* host) {
    double converted = 0.0;
    (void)ConvertUnit(limit, UnitFromBitIndex(defaultUnit), converted, valueUnit, unitsOff, host);
    return converted;
}

std::string FormatValue(const ValueFormatInput& input, WORD& valueUnit, WORD& displayUnit,
                        bool /*withSuffix*/, IUnitRequests* host) {
    const bool showUninitialized = (input.flags & kSpinEditFlagShowUninitialized) != 0;
    if (!input.defined && showUninitialized)
        return std::string(kUndefinedText);

    const bool unitsOff = (input.flags & kSpinEditFlagNoUnits) != 0;
    const WORD defaultUnit = UnitFromBitIndex(input.defaultUnit);
    if (valueUnit == 0)
        valueUnit = defaultUnit;
    if (displayUnit == 0)
        displayUnit = defaultUnit;

    double v = input.value + input.displayOffset;
    if (valueUnit != displayUnit)
        (void)ConvertUnit(v, valueUnit, v, displayUnit, unitsOff, host);
    if (!input.absolute) {
        // The zero point goes through the same conversion, so that a value
        // at its reference reads 0 in any display unit.
        double zero = input.referenceValue + input.displayOffset;
        if (valueUnit != displayUnit)
            (void)ConvertUnit(zero, valueUnit, zero, displayUnit, unitsOff, host);
        v -= zero;
    }

    switch (input.typ) {
    case kSpinEditTypFloat:
    case kSpinEditTypDouble: {
        RoundToDecimals(v, input.pointPos);
        const bool lowLimitText =
            (input.flags & kSpinEditFlagUseLimits) != 0 && showUninitialized && !input.text.empty();
        if (lowLimitText &&
            v == LimitInValueUnit(input.lowLimit, input.defaultUnit, valueUnit, unitsOff, host))
            return input.text;
        if (v > kLargestFloat)
            return std::string(kUndefinedText);
        const int decimals = input.pointPos < 0 ? 0 : input.pointPos;
        return WithUserDecimalPoint(Printf("%.*f", decimals, v));
    }
    // A short field shows its value truncated to an integer; cut to 16 bits it
    // would show another number, so both integer types saturate at 32 bits.
    case kSpinEditTypShort:
    case kSpinEditTypLong: {
        RoundToDecimals(v, 0);
        std::int32_t shown = 0;
        (void)TruncateSaturated(v, shown);
        return Printf("%ld", static_cast<long>(shown));
    }
    case kSpinEditTypText:
        return input.text;
    default:
        return {};
    }
}

double ReadEnteredNumber(std::string_view text) {
    std::string number(text);
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && *point != '\0' && std::strcmp(point, ".") != 0) {
        const std::size_t pointLength = std::strlen(point);
        for (std::size_t at = number.find(point); at != std::string::npos;
             at = number.find(point, at + 1))
            number.replace(at, pointLength, ".");
    }
    for (char& ch : number)
        if (ch == ',')
            ch = '.';
    // Read with "." whatever the numeric locale is by now.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return cLocale != nullptr ? strtod_l(number.c_str(), nullptr, cLocale)
                              : std::strtod(number.c_str(), nullptr);
}
