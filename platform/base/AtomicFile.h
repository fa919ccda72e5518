#pragma once
// Replacing a file so that readers and a crash at any moment see either the
// complete old or the complete new contents: the new text goes to a
// temporary file in the same folder, is synced, and is renamed over the
// target; the folder is synced afterwards.
#include <string>
#include <string_view>

namespace kw {

// The temporary file is `dir/<tempPrefix>XXXXXX`; it is removed again when
// anything fails. False when the file could not be replaced (the old one is
// then untouched).
[[nodiscard]] bool ReplaceFileAtomically(const std::string& dir, const std::string& fileName,
                                         const std::string& tempPrefix, std::string_view text);

// The same for a path: the temporary file is "<name>.tmp-XXXXXX" beside it.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view text);

} // namespace kw
