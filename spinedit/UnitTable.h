#pragma once
// The units a numeric entry field knows: one bit of a 16-bit mask each, the
// bracketed text shown beside the value, which units the measurement system
// offers, and what the unit-configuration string ("a$3h$11:Grad;") says about
// decimals and the names of the host's units.
//
// A unit's bit index is also written as a letter: 'a' for bit 0 up to 'o'
// for bit 14. Texts are Windows-1252 bytes.
#include "platform/base/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>

// Lower-case lengths are the relative variant, upper-case the absolute one.
inline constexpr WORD kUnitMM = 0x0001;
inline constexpr WORD kUnitMMAbs = 0x0002;
inline constexpr WORD kUnitInch = 0x0004;
inline constexpr WORD kUnitInchAbs = 0x0008;
inline constexpr WORD kUnitPercent = 0x0010;
inline constexpr WORD kUnitDegree = 0x0020;
inline constexpr WORD kUnitRadian = 0x0040;
// Host units U1 to U8 are bits 7 to 14; their names come from the
// configuration string or from the host.
inline constexpr WORD kUnitHost1 = 0x0080;
inline constexpr WORD kUnitHost8 = 0x4000;
// Bit 15 is never shown.
inline constexpr WORD kUnitHidden = 0x8000;
inline constexpr int kHostUnitCount = 8;
// The largest number of decimals a configuration entry may give.
inline constexpr int kMaxUnitDecimals = 8;

// The unit properties of a field that decide what it may show.
struct UnitMasks {
    WORD units{5};
    WORD unitsMaskMM{3};
    WORD unitsMaskINCH{12};
};

// The unit whose bit index is `bitIndex`; 0 for an index outside 0 to 15, so
// that a stray DefaultUnit names no unit instead of shifting out of range.
[[nodiscard]] WORD UnitFromBitIndex(int bitIndex);
// Index of the lowest set bit, -1 for 0.
[[nodiscard]] int LowestUnitBit(WORD unit);
// 'a' + bit index, for bits 0 to 14; 0 otherwise.
[[nodiscard]] char UnitLetter(int bitIndex);
// 1 to 8 for U1 to U8, 0 for anything else (including masks of several bits).
[[nodiscard]] int HostUnitNumber(WORD unit);

// The text of a built-in unit (bits 0 to 6) in the given system, for example
// " [mm] " or " [\xB0] "; nullopt when the unit has no built-in text there
// (lengths of the other system, host units, bit 15, masks of several bits).
[[nodiscard]] std::optional<std::string_view> BuiltInUnitText(WORD unit, bool inchSystem);

// Whether the field may show `unit`: it shares a bit with Units and with no
// mask of the other system. Lengths of the other system are never allowed.
[[nodiscard]] bool IsUnitAllowed(WORD unit, const UnitMasks& masks, bool inchSystem);

// The name host unit `number` (1 to 8) has in the configuration string: the
// text between "n:" and the next ';'. nullopt when there is no such entry or
// its ';' is missing.
[[nodiscard]] std::optional<std::string> FindHostUnitName(std::string_view unitText, int number);
// The decimals the configuration string gives for the unit with bit index
// `bitIndex` (entry "<letter>$<digit>"); nullopt when it has no entry or the
// digit is not 0 to 8.
[[nodiscard]] std::optional<int> FindUnitDecimals(std::string_view unitText, int bitIndex);

// " [" + name + "] ", the way every unit text is bracketed.
[[nodiscard]] std::string BracketUnitName(std::string_view name);
