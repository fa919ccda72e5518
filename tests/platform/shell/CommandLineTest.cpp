// Splitting command lines by the platform's rules: the documented examples,
// the characters a shell would act on, and thousands of generated argument
// lists that must survive quoting and splitting unchanged.
#include "platform/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <random>

using kw::shell::QuoteCommandLine;
using kw::shell::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLine, TheDocumentedExamples) {
    struct Case {
        const char* line;
        Args args;
    };
    const Case cases[] = {
        {R"("a b c" d e)", {"a b c", "d", "e"}},
        {R"("ab\"c" "\\" d)", {"ab\"c", "\\", "d"}},
        {R"(a\\\b d"e f"g h)", {R"(a\\\b)", "de fg", "h"}},
        {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
        {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
        {R"(a"b"" c d)", {R"(ab" c d)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, BlanksEmptyArgumentsAndTabs) {
    EXPECT_EQ(SplitCommandLine(""), Args{});
    EXPECT_EQ(SplitCommandLine("   \t "), Args{});
    EXPECT_EQ(SplitCommandLine(" x "), Args{"x"}) << "a trailing blank adds no argument";
    EXPECT_EQ(SplitCommandLine(R"("")"), Args{""});
    EXPECT_EQ(SplitCommandLine(R"(a "" b)"), (Args{"a", "", "b"}));
    EXPECT_EQ(SplitCommandLine("a\tb"), (Args{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("a\nb"), Args{"a\nb"}) << "only blanks and tabs separate";
    EXPECT_EQ(SplitCommandLine(R"("open)"), Args{"open"}) << "an unclosed quote ends the line";
    EXPECT_EQ(SplitCommandLine(R"(trail\)"), Args{"trail\\"});
}

TEST(CommandLine, WhatAShellWouldActOnArrivesAsCharacters) {
    EXPECT_EQ(SplitCommandLine("; | & && || $(rm -rf /) `id` * ? ~ > out < in 2>&1 $HOME {a,b}"),
              (Args{";", "|", "&", "&&", "||", "$(rm", "-rf", "/)", "`id`", "*", "?", "~", ">",
                    "out", "<", "in", "2>&1", "$HOME", "{a,b}"}));
    EXPECT_EQ(SplitCommandLine("x;reboot"), Args{"x;reboot"});
    EXPECT_EQ(SplitCommandLine("'single quotes' group nothing"),
              (Args{"'single", "quotes'", "group", "nothing"}));
}

// Arguments drawn from the characters that matter to the rules.
Args GeneratedArgs(std::mt19937& random) {
    static const std::string alphabet = "ab \t\"\\;|&$()`*<>'\xE4\xB0x";
    std::uniform_int_distribution<int> count(0, 5), length(0, 8), pick(0, int(alphabet.size()) - 1);
    Args args(std::size_t(count(random)));
    for (std::string& arg : args) {
        const int n = length(random);
        for (int i = 0; i < n; ++i)
            arg += alphabet[std::size_t(pick(random))];
    }
    return args;
}

TEST(CommandLine, QuotedArgumentsSplitBackUnchanged) {
    std::mt19937 random(17);
    for (int i = 0; i < 5000; ++i) {
        const Args args = GeneratedArgs(random);
        const std::string line = QuoteCommandLine(args);
        ASSERT_EQ(SplitCommandLine(line), args) << "case " << i << ": " << line;
    }
}
