#include "platform/shell/CommandLine.h"

namespace kw::shell {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (true) {
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(text[i]))) {
            if (text[i] == '\\') {
                std::size_t slashes = 0;
                while (i < n && text[i] == '\\')
                    ++slashes, ++i;
                if (i < n && text[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        arg += '"';
                        ++i;
                    }
                    // An even count leaves the quote to the code below.
                } else {
                    arg.append(slashes, '\\');
                }
                continue;
            }
            if (text[i] == '"') {
                if (quoted && i + 1 < n && text[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += text[i++];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::string QuoteCommandLine(const std::vector<std::string>& args) {
    std::string out;
    for (const std::string& arg : args) {
        if (!out.empty())
            out += ' ';
        out += '"';
        std::size_t slashes = 0;
        for (char c : arg) {
            if (c == '\\') {
                ++slashes;
                continue;
            }
            if (c == '"') {
                out.append(2 * slashes + 1, '\\');
                out += '"';
            } else {
                out.append(slashes, '\\');
                out += c;
            }
            slashes = 0;
        }
        // Backslashes before the closing quote are doubled.
        out.append(2 * slashes, '\\');
        out += '"';
    }
    return out;
}

} // namespace kw::shell
