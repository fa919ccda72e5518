#include "spinedit/UnitTable.h"

#include <bit>
#include <string>

namespace {

constexpr int kHostUnitFirstBit = 7;

bool IsSingleBit(WORD unit) {
    return std::has_single_bit(unit);
}

} // namespace

WORD UnitFromBitIndex(int bitIndex) {
    if (bitIndex < 0 || bitIndex > 15)
        return 0;
    return static_cast<WORD>(1u << bitIndex);
}

int LowestUnitBit(WORD unit) {
    return unit == 0 ? -1 : std::countr_zero(unit);
}

char UnitLetter(int bitIndex) {
    if (bitIndex < 0 || bitIndex > 14)
        return 0;
    return static_cast<char>('a' + bitIndex);
}

int HostUnitNumber(WORD unit) {
    if (!IsSingleBit(unit))
        return 0;
    const int bit = std::countr_zero(unit);
    if (bit < kHostUnitFirstBit || bit >= kHostUnitFirstBit + kHostUnitCount)
        return 0;
    return bit - kHostUnitFirstBit + 1;
}

std::optional<std::string_view> BuiltInUnitText(WORD unit, bool inchSystem) {
    switch (unit) {
    case kUnitMM:
        return inchSystem ? std::nullopt : std::optional<std::string_view>(" [mm] ");
    case kUnitMMAbs:
        return inchSystem ? std::nullopt : std::optional<std::string_view>(" [MM] ");
    case kUnitInch:
        return inchSystem ? std::optional<std::string_view>(" [inch] ") : std::nullopt;
    case kUnitInchAbs:
        return inchSystem ? std::optional<std::string_view>(" [INCH] ") : std::nullopt;
    case kUnitPercent:
        return " [%] ";
    case kUnitDegree:
        return " [\xB0] ";
    case kUnitRadian:
        return " [rad] ";
    default:
        return std::nullopt;
    }
}

bool IsUnitAllowed(WORD unit, const UnitMasks& masks, bool inchSystem) {
    if ((masks.units & unit) == 0)
        return false;
    if (inchSystem && (masks.unitsMaskMM & unit) != 0)
        return false;
    if (!inchSystem && (masks.unitsMaskINCH & unit) != 0)
        return false;
    const WORD otherSystemLengths =
        inchSystem ? (kUnitMM | kUnitMMAbs) : (kUnitInch | kUnitInchAbs);
    return (unit & otherSystemLengths) == 0;
}

std::optional<std::string> FindHostUnitName(std::string_view unitText, int number) {
    if (number < 1 || number > kHostUnitCount)
        return std::nullopt;
    const std::string key = std::to_string(number) + ':';
    const std::size_t at = unitText.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::size_t nameStart = at + key.size();
    const std::size_t end = unitText.find(';', nameStart);
    if (end == std::string_view::npos)
        return std::nullopt;
    return std::string(unitText.substr(nameStart, end - nameStart));
}

std::optional<int> FindUnitDecimals(std::string_view unitText, int bitIndex) {
    const char letter = UnitLetter(bitIndex);
    if (letter == 0)
        return std::nullopt;
    const char key[] = {letter, '$'};
    const std::size_t at = unitText.find(std::string_view(key, 2));
    if (at == std::string_view::npos || at + 2 >= unitText.size())
        return std::nullopt;
    const char digit = unitText[at + 2];
    if (digit < '0' || digit > '0' + kMaxUnitDecimals)
        return std::nullopt;
    return digit - '0';
}

std::string BracketUnitName(std::string_view name) {
    std::string text = " [";
    text += name;
    text += "] ";
    return text;
}
