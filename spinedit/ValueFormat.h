#pragma once
// Rounding, the text a numeric entry field shows for its value, and reading
// an entered number back.
//
// Float and Double values are formatted in the user's numeric locale, so the
// decimal separator is the user's. On Linux the user's locale is the one the
// environment names, as setlocale(LC_NUMERIC, "") reads it: LC_ALL, else
// LC_NUMERIC, else LANG; an unknown or unset name leaves the "C" locale's
// ".". The C library's numeric locale is switched to it for the formatting
// and back to "C" afterwards (process-wide, as the user-interface thread is
// the only one that formats).
#include "platform/base/WinTypes.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

class IUnitRequests;

// The bits of the field's Flags that formatting reads.
inline constexpr WORD kSpinEditFlagNoUnits = 0x0002;
inline constexpr WORD kSpinEditFlagUseLimits = 0x0020;
inline constexpr WORD kSpinEditFlagShowUninitialized = 0x0100;

// Typ: what kind of number the field holds.
inline constexpr short kSpinEditTypShort = 0;
inline constexpr short kSpinEditTypFloat = 1;
inline constexpr short kSpinEditTypDouble = 2;
inline constexpr short kSpinEditTypLong = 3;
inline constexpr short kSpinEditTypText = 4;

// Rounds v to n decimals, halves away from zero; 0 and results that round to
// 0 come back as +0. Values that already have no more than n decimals at
// double precision (and infinities and NaN) stay as they are; negative n
// rounds to tens, hundreds...
void RoundToDecimals(double& v, std::int32_t n);

// Truncates toward zero into T; a value outside T's range (NaN counts as
// outside, giving 0) saturates and the answer is false.
template <class T> [[nodiscard]] bool TruncateSaturated(double v, T& out) {
    using Limits = std::numeric_limits<T>;
    if (std::isnan(v)) {
        out = 0;
        return false;
    }
    v = std::trunc(v);
    if (v < static_cast<double>(Limits::min())) {
        out = Limits::min();
        return false;
    }
    if (v > static_cast<double>(Limits::max())) {
        out = Limits::max();
        return false;
    }
    out = static_cast<T>(v);
    return true;
}

// What FormatValue reads of the field.
struct ValueFormatInput {
    double value{0.0};
    bool defined{false};
    double displayOffset{0.0};
    double referenceValue{0.0};
    bool absolute{true};
    short defaultUnit{0}; // bit index
    short typ{kSpinEditTypFloat};
    short pointPos{0};
    WORD flags{4};
    float lowLimit{0.0f};
    std::string text; // the stock Text
};

// The text shown for the value. A value unit or display unit of 0 is first
// settled on the default unit (stored back, as the field keeps it); the value
// is then converted to the display unit through the host and the built-in
// rules (passed through where no rule applies). The suffix flag is taken for
// the painting code's sake; the text is the same either way.
[[nodiscard]] std::string FormatValue(const ValueFormatInput& input, WORD& valueUnit,
                                      WORD& displayUnit, bool withSuffix, IUnitRequests* host);

// A limit given in the default unit, in `valueUnit`; 0 when no conversion
// provides one.
[[nodiscard]] double LimitInValueUnit(float limit, short defaultUnit, WORD valueUnit, bool unitsOff,
                                      IUnitRequests* host);

// Reads the text an operator committed: the C library's current decimal point
// and every ',' become '.', then strtod reads what it can (0 for nothing) with
// the "C" locale's conventions, whichever numeric locale is in force.
[[nodiscard]] double ReadEnteredNumber(std::string_view text);
