#include "resources/compiler/RcLexer.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace kw::rc {

namespace {

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::optional<std::vector<Token>> Tokenize(std::string_view s, std::string* error) {
    std::vector<Token> tokens;
    int line = 1;
    auto fail = [&](const std::string& message) {
        if (error)
            *error = "line " + std::to_string(line) + ": " + message;
        return std::nullopt;
    };
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == '\n') {
            ++line, ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (s.substr(i, 2) == "//") {
            while (i < s.size() && s[i] != '\n')
                ++i;
        } else if (s.substr(i, 2) == "/*") {
            auto end = s.find("*/", i + 2);
            if (end == std::string_view::npos)
                return fail("unterminated comment");
            for (std::size_t k = i; k < end; ++k)
                line += s[k] == '\n';
            i = end + 2;
        } else if (c == ',' || c == '|' || c == '(' || c == ')') {
            TokenKind kind = c == ','   ? TokenKind::Comma
                             : c == '|' ? TokenKind::Bar
                             : c == '(' ? TokenKind::LeftParen
                                        : TokenKind::RightParen;
            tokens.push_back({kind, std::string(1, c), 0, line});
            ++i;
        } else if (c == '"') {
            std::string text;
            ++i;
            for (;;) {
                if (i >= s.size() || s[i] == '\n')
                    return fail("unterminated string");
                if (s[i] == '"') {
                    if (i + 1 < s.size() && s[i + 1] == '"') {
                        text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += s[i++];
            }
            tokens.push_back({TokenKind::String, text, 0, line});
        } else if (IsDigit(c) ||
                   ((c == '-' || c == '+') && i + 1 < s.size() && IsDigit(s[i + 1]))) {
            std::size_t start = i;
            if (c == '-' || c == '+')
                ++i;
            while (i < s.size() && IsNameChar(s[i]))
                ++i;
            std::string text(s.substr(start, i - start));
            char* end = nullptr;
            errno = 0;
            // Decimal unless written 0x...; a leading zero is not octal.
            std::size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
            bool hex = text.size() > digits + 1 && text[digits] == '0' &&
                       (text[digits + 1] == 'x' || text[digits + 1] == 'X');
            long long value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
            if (errno != 0 || *end != '\0' || value < -2147483648LL || value > 0xFFFFFFFFLL)
                return fail("bad number '" + text + "'");
            tokens.push_back({TokenKind::Number, text, value, line});
        } else if (IsNameStart(c)) {
            std::size_t start = i;
            while (i < s.size() && IsNameChar(s[i]))
                ++i;
            tokens.push_back({TokenKind::Name, std::string(s.substr(start, i - start)), 0, line});
        } else {
            return fail(std::string("unexpected character '") + c + "'");
        }
    }
    tokens.push_back({TokenKind::End, "", 0, line});
    return tokens;
}

} // namespace kw::rc
