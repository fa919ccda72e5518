#pragma once
// The REGEDIT4 text form of a hive: the reader and the writer of hive files.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Example]
//   @="default value"
//   "Text"="say \"hi\" in C:\\Temp"
//   "Count"=dword:0000000a
//   "Blob"=hex:01,02,ff
//   "Path"=hex(2):25,54,45,4d,50,25,00
//
// The writer is deterministic: the root's own section only when it has
// values, then every key depth first with subkeys in case-insensitive name
// order, each section followed by a blank line, values in the order they were
// first set. Strings are quoted with backslash and double quote escaped, as
// long as they are one zero-terminated run of printable bytes; any other
// REG_SZ data (control characters, line breaks, inner zeros, no terminating
// zero) is written as hex(1) so that it survives byte for byte. REG_DWORD data
// of four bytes is written as dword:, REG_BINARY as hex:, every other type as
// hex(type). Long hex lists are continued on the next line after a comma with
// a trailing backslash, keeping lines within 80 columns.
//
// The reader accepts what the writer produces, and what a careful hand edit
// keeps: blank lines, comment lines starting with ';', spaces around '=' and
// at the ends of lines, CR LF line ends, repeated sections (merged), a value
// set twice (the last one counts) and hex digits in either case.
//
// Anything else makes the file damaged, and then nothing of it is used:
//   - the first line is not exactly "REGEDIT4" (an empty file included);
//   - a line that is neither blank, a comment, a section nor a value;
//   - a section that does not close with ']', names another root than the
//     hive's own, has an empty key name, a key name longer than 255 bytes or
//     with control characters, or lies more than 512 keys deep;
//   - a value line before the first section, a value name that is not
//     quoted or '@', longer than 16383 bytes or with control characters;
//   - an unterminated string or an escape other than \\ and \";
//   - data other than a string, dword: with exactly eight hex digits, or
//     hex:/hex(type): with a list of two-digit hex bytes; text after the data;
//     a line continuation with no line after it;
//   - the deletion forms of import files ([-key] and "name"=-): a hive file
//     holds the hive, not changes to it.
#include "platform/registry/HiveKey.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kw::registry {

// Where and why a hive file is damaged (line numbers count from 1).
struct ParseError {
    std::size_t line{0};
    std::string reason;
};

// Parses `text` as the file of the hive whose root is `rootName` (such as
// "HKEY_CURRENT_USER") into `hive`, which is cleared first. On failure
// returns false, fills `error` when given, and leaves `hive` unspecified.
[[nodiscard]] bool ParseRegEdit4(std::string_view text, std::string_view rootName, HiveKey* hive,
                                 ParseError* error = nullptr);

// The file text of `hive`.
std::string WriteRegEdit4(const HiveKey& hive, std::string_view rootName);

} // namespace kw::registry
