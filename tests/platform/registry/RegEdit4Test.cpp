// The hive file text: what the writer produces, what the reader takes back,
// and what it refuses.
#include "platform/registry/RegEdit4.h"

#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kw::registry {
namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

std::string Sz(std::string_view text) {
    return std::string(text) + '\0';
}

HiveKey& Key(HiveKey& root, std::initializer_list<std::string_view> path) {
    HiveKey* key = &root;
    bool created = false;
    for (std::string_view name : path)
        key = &key->CreateSubKey(name, &created);
    return *key;
}

TEST(RegEdit4, WritesSortedSectionsAndEveryValueForm) {
    HiveKey hive;
    hive.SetValue("", REG_SZ, Sz("root default"));
    HiveKey& software = Key(hive, {"Software"});
    software.SetValue("Text", REG_SZ, Sz("say \"hi\" in C:\\Temp"));
    software.SetValue("", REG_SZ, Sz("default"));
    software.SetValue("Count", REG_DWORD, Bytes({0x0a, 0, 0, 0}));
    software.SetValue("Blob", REG_BINARY, Bytes({1, 2, 0xff}));
    software.SetValue("Expand", REG_EXPAND_SZ, Sz("%A%"));
    software.SetValue("Lines", REG_SZ, Sz("a\nb"));
    software.SetValue("Short", REG_DWORD, Bytes({1, 2}));
    software.SetValue("None", REG_NONE, "");
    software.SetValue("Odd", 0x1234abcd, Bytes({7}));
    // Created out of order; written in case-insensitive order.
    Key(hive, {"Software", "beta"});
    Key(hive, {"Software", "Alpha", "Inner"});
    Key(hive, {"Software", "GAMMA"});

    EXPECT_EQ(WriteRegEdit4(hive, kRoot), "REGEDIT4\n"
                                          "\n"
                                          "[HKEY_CURRENT_USER]\n"
                                          "@=\"root default\"\n"
                                          "\n"
                                          "[HKEY_CURRENT_USER\\Software]\n"
                                          "\"Text\"=\"say \\\"hi\\\" in C:\\\\Temp\"\n"
                                          "@=\"default\"\n"
                                          "\"Count\"=dword:0000000a\n"
                                          "\"Blob\"=hex:01,02,ff\n"
                                          "\"Expand\"=hex(2):25,41,25,00\n"
                                          "\"Lines\"=hex(1):61,0a,62,00\n"
                                          "\"Short\"=hex(4):01,02\n"
                                          "\"None\"=hex(0):\n"
                                          "\"Odd\"=hex(1234abcd):07\n"
                                          "\n"
                                          "[HKEY_CURRENT_USER\\Software\\Alpha]\n"
                                          "\n"
                                          "[HKEY_CURRENT_USER\\Software\\Alpha\\Inner]\n"
                                          "\n"
                                          "[HKEY_CURRENT_USER\\Software\\beta]\n"
                                          "\n"
                                          "[HKEY_CURRENT_USER\\Software\\GAMMA]\n"
                                          "\n");
    EXPECT_EQ(WriteRegEdit4(HiveKey{}, kRoot), "REGEDIT4\n\n");
}

TEST(RegEdit4, ReadsBackExactlyWhatItWrote) {
    HiveKey hive;
    HiveKey& key = Key(hive, {"Awkward", "Names ] [ with \"quotes\"", "\xE9t\xE9"});
    const std::string strings[] = {
        Sz(""),
        Sz("\"quoted\" and \\back\\slashed\\"),
        Sz("]["),
        Sz("line\nbreak\r\nand\ttab"),
        Sz("\x80\xB0\xDF\xFF high bytes"),
        Sz("ends with backslash\\"),
        std::string("inner\0zero", 10) + '\0',
        "no terminating zero",
        "",
        std::string("\0\0", 2),
    };
    int n = 0;
    for (const std::string& data : strings)
        key.SetValue("s" + std::to_string(n++), REG_SZ, data);
    key.SetValue("@", REG_SZ, Sz("a value named @"));
    key.SetValue("back\\slash \"name\"", REG_DWORD, Bytes({0xff, 0xfe, 0xfd, 0xfc}));
    std::string big;
    for (int i = 0; i < 1000; ++i)
        big.push_back(static_cast<char>(i * 7));
    key.SetValue("", REG_BINARY, big);
    key.SetValue("empty binary", REG_BINARY, "");
    key.SetValue(std::string(300, 'v'), 0xffffffff, big.substr(0, 90));

    std::string text = WriteRegEdit4(hive, kRoot);
    HiveKey back;
    ParseError error;
    ASSERT_TRUE(ParseRegEdit4(text, kRoot, &back, &error)) << error.line << ": " << error.reason;
    EXPECT_TRUE(back == hive);
    EXPECT_EQ(WriteRegEdit4(back, kRoot), text);

    // Hex lists are wrapped; only a line holding a long name runs past 80.
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(std::string(300, 'v')) == std::string::npos) {
            EXPECT_LE(line.size(), 80u) << line;
        }
    }
}

TEST(RegEdit4, AcceptsCarefulHandEdits) {
    std::string text = "REGEDIT4\r\n"
                       "; a comment\r\n"
                       "\r\n"
                       "  [hkey_current_user\\A]  \r\n"
                       "\"x\" = \"1\"\r\n"
                       "\"n\"=dword:0000ABCD\n"
                       "\"b\"=hex:0A, 0b,\\\n"
                       "    0C\n"
                       "[HKEY_CURRENT_USER\\a\\Sub]]\n"
                       "[HKEY_CURRENT_USER\\A]\n"
                       "\"X\"=\"2\"\n"
                       "\"\"=hex(3):\n"
                       "\"d\"=hex(00000004):01,00,00,00";
    HiveKey hive;
    ParseError error;
    ASSERT_TRUE(ParseRegEdit4(text, kRoot, &hive, &error)) << error.line << ": " << error.reason;

    HiveKey expected;
    HiveKey& a = Key(expected, {"A"});
    a.SetValue("x", REG_SZ, Sz("2"));
    a.SetValue("n", REG_DWORD, Bytes({0xcd, 0xab, 0, 0}));
    a.SetValue("b", REG_BINARY, Bytes({0x0a, 0x0b, 0x0c}));
    a.SetValue("", REG_BINARY, "");
    a.SetValue("d", REG_DWORD, Bytes({1, 0, 0, 0}));
    Key(expected, {"A", "Sub]"});
    EXPECT_TRUE(hive == expected) << WriteRegEdit4(hive, kRoot);
}

TEST(RegEdit4, RefusesDamagedText) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t line;
    };
    const std::string ok = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n";
    const Case cases[] = {
        {"empty file", "", 1},
        {"another format", "Windows Registry Editor Version 5.00\n", 1},
        {"header with trailing text", "REGEDIT4 \n", 1},
        {"binary junk",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0",
                     8),
         1},
        {"stray line", ok + "hello\n", 4},
        {"value before any section", "REGEDIT4\n\"a\"=\"b\"\n", 2},
        {"unclosed section", "REGEDIT4\n[HKEY_CURRENT_USER\\K\n", 2},
        {"foreign root", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n", 2},
        {"root prefix", "REGEDIT4\n[HKEY_CURRENT_USERS\\K]\n", 2},
        {"empty key name", "REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n", 2},
        {"trailing backslash", "REGEDIT4\n[HKEY_CURRENT_USER\\a\\]\n", 2},
        {"overlong key name", "REGEDIT4\n[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\n", 2},
        {"key deletion", "REGEDIT4\n[-HKEY_CURRENT_USER\\K]\n", 2},
        {"unterminated name", ok + "\"a=\"b\"\n", 4},
        {"unterminated string", ok + "\"a\"=\"b\n\"\n", 4},
        {"unknown escape", ok + "\"a\"=\"\\n\"\n", 4},
        {"missing equals", ok + "\"a\" \"b\"\n", 4},
        {"text after string", ok + "\"a\"=\"b\" c\n", 4},
        {"short dword", ok + "\"a\"=dword:0000001\n", 4},
        {"dword junk", ok + "\"a\"=dword:0000001g\n", 4},
        {"long dword", ok + "\"a\"=dword:000000010\n", 4},
        {"bad hex digit", ok + "\"a\"=hex:0g\n", 4},
        {"one-digit hex", ok + "\"a\"=hex:1,02\n", 4},
        {"hex without commas", ok + "\"a\"=hex:01 02\n", 4},
        {"trailing comma", ok + "\"a\"=hex:01,\n", 4},
        {"continuation at the end", ok + "\"a\"=hex:01,\\\n", 4},
        {"continuation into nothing", ok + "\"a\"=hex:01,\\\n\n", 5},
        {"bad type", ok + "\"a\"=hex(x):01\n", 4},
        {"overlong type", ok + "\"a\"=hex(123456789):01\n", 4},
        {"unknown data", ok + "\"a\"=qword:01\n", 4},
        {"value deletion", ok + "\"a\"=-\n", 4},
        {"control character in a name", ok + "\"a\tb\"=\"c\"\n", 4},
        {"overlong value name", ok + "\"" + std::string(16384, 'n') + "\"=\"c\"\n", 4},
    };
    for (const Case& c : cases) {
        HiveKey hive;
        ParseError error;
        EXPECT_FALSE(ParseRegEdit4(c.text, kRoot, &hive, &error)) << c.what;
        EXPECT_EQ(error.line, c.line) << c.what << ": " << error.reason;
        EXPECT_FALSE(error.reason.empty()) << c.what;
    }

    // Depth: 512 keys below the root are fine, 513 are not.
    std::string deep = "REGEDIT4\n[HKEY_CURRENT_USER";
    for (int i = 0; i < 512; ++i)
        deep += "\\k";
    HiveKey hive;
    EXPECT_TRUE(ParseRegEdit4(deep + "]\n", kRoot, &hive));
    EXPECT_FALSE(ParseRegEdit4(deep + "\\k]\n", kRoot, &hive));
}

TEST(KeyNames, FoldTheCodePageLettersOnly) {
    EXPECT_TRUE(NamesEqual("Software\xE9", "SOFTWARE\xC9"));         // é, É
    EXPECT_TRUE(NamesEqual("\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F")); // šœžÿ
    EXPECT_FALSE(NamesEqual("\xDF", "SS"));                          // ß
    EXPECT_FALSE(NamesEqual("\xF7", "\xD7"));                        // ÷ is no letter
    EXPECT_FALSE(NamesEqual("a", "a "));
    EXPECT_LT(CompareNames("alpha", "BETA"), 0);
    EXPECT_GT(CompareNames("b", "A"), 0);
}

} // namespace
} // namespace kw::registry
