// Splits arbitrary bytes as a launcher's argument text. Traps when an
// argument holds a separator it should not, when quoting the arguments and
// splitting again changes them, or when splitting is not stable.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/shell/CommandLine.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> args = kw::shell::SplitCommandLine(text);
    std::size_t bytes = 0;
    for (const std::string& arg : args)
        bytes += arg.size();
    Check(bytes <= text.size());
    // Unquoted text without quotes and backslashes splits at blanks only.
    if (text.find_first_of("\"\\") == std::string_view::npos)
        for (const std::string& arg : args)
            Check(!arg.empty() && arg.find_first_of(" \t") == std::string::npos);
    const std::string quoted = kw::shell::QuoteCommandLine(args);
    Check(kw::shell::SplitCommandLine(quoted) == args);
    return 0;
}
