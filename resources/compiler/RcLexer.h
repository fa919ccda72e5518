#pragma once
// Tokens of the resource script subset: numbers (decimal or 0x hex, with an
// optional sign), names, "strings" (a doubled quote stands for one quote),
// and the punctuation , | ( ). Comments // and /* */ are skipped.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::rc {

enum class TokenKind { Number, Name, String, Comma, Bar, LeftParen, RightParen, End };

struct Token {
    TokenKind kind;
    std::string text; // names and strings
    long long number = 0;
    int line = 1;
};

// All tokens of a script followed by End, or nothing with `error` set.
std::optional<std::vector<Token>> Tokenize(std::string_view script, std::string* error);

} // namespace kw::rc
