#pragma once
// Names of registry keys and values: how they compare and which are allowed.
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kw::registry {

// The platform's limits, in characters (one byte each in 8-bit text).
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
// A key path may be at most this many keys deep below its hive's root.
constexpr std::size_t kMaxKeyDepth = 512;

// Upper-case form of a Windows-1252 byte, as the platform folds names before
// comparing them: ASCII letters, the accented letters of the code page and
// š/œ/ž/ÿ. Bytes without a single upper-case partner (ß, µ) stay as they are.
unsigned char FoldNameByte(unsigned char byte);

// Compares two names without regard to letter case: <0, 0 or >0.
int CompareNames(std::string_view a, std::string_view b);
inline bool NamesEqual(std::string_view a, std::string_view b) {
    return CompareNames(a, b) == 0;
}

// Orders names case-insensitively; usable with heterogeneous lookup.
struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return CompareNames(a, b) < 0; }
};

// A key name is 1..255 bytes, without a backslash and without control
// characters (bytes below 0x20 and 0x7F), which the hive file cannot hold on
// a section line.
bool IsValidKeyName(std::string_view name);

// A value name is 0..16383 bytes without control characters (empty names the
// key's default value). Backslashes are allowed.
bool IsValidValueName(std::string_view name);

// Splits a backslash-separated key path into its names. An empty path gives
// no names. Returns false for an empty component (leading, trailing or
// doubled backslash), an invalid name or more than kMaxKeyDepth names.
[[nodiscard]] bool SplitKeyPath(std::string_view path, std::vector<std::string>* names);

} // namespace kw::registry
