#pragma once
// Splitting a command line into arguments by the platform's documented
// rules for C programs:
// - blanks and tabs separate arguments;
// - double quotes group: blanks inside them belong to the argument, and a
//   quoted part may sit inside an argument (a"b c"d is one argument, ab cd);
// - inside quotes, two double quotes give one literal double quote;
// - backslashes are literal unless a double quote follows them: then each
//   pair gives one backslash, and an odd one left over makes the quote a
//   literal character instead of a delimiter.
// Nothing else is special: ; | & $( ) ` * < > and the like are characters.
#include <string>
#include <string_view>
#include <vector>

namespace kw::shell {

std::vector<std::string> SplitCommandLine(std::string_view text);

// The command line that SplitCommandLine turns back into `args`.
std::string QuoteCommandLine(const std::vector<std::string>& args);

} // namespace kw::shell
