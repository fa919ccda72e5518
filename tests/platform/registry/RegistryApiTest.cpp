// The Reg* functions within one process: values, names, enumeration,
// deletion, handles and argument checks.
#include "platform/registry/Registry.h"
#include "tests/platform/registry/RegistryTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kw::registry::test {
namespace {

using Bytes = std::vector<BYTE>;

Bytes Raw(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST_F(RegistryTest, EveryValueTypeSurvivesTheFile) {
    struct Case {
        const char* name;
        DWORD type;
        Bytes data;
        Bytes expected; // as read back
    };
    Bytes big(5000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<BYTE>(i * 31);
    const Case cases[] = {
        {"", REG_SZ, Sz("default"), Sz("default")},
        {"empty", REG_SZ, Sz(""), Sz("")},
        {"quotes", REG_SZ, Sz("\"a\" \\\"b\\\" \\"), Sz("\"a\" \\\"b\\\" \\")},
        {"brackets", REG_SZ, Sz("]\n[HKEY_CURRENT_USER\\Evil]\n"),
         Sz("]\n[HKEY_CURRENT_USER\\Evil]\n")},
        {"high", REG_SZ,
         Sz("25\xB0 Stra\xDF"
            "e \x80\xFF"),
         Sz("25\xB0 Stra\xDF"
            "e \x80\xFF")},
        {"crlf", REG_SZ, Sz("a\r\nb\x01"), Sz("a\r\nb\x01")},
        {"unterminated", REG_SZ, Raw("abc"), Sz("abc")},
        {"nothing", REG_SZ, Bytes{}, Sz("")},
        {"expand", REG_EXPAND_SZ, Sz("%HOME%\\x"), Sz("%HOME%\\x")},
        {"dword", REG_DWORD, Bytes{0x78, 0x56, 0x34, 0x12}, Bytes{0x78, 0x56, 0x34, 0x12}},
        {"short dword", REG_DWORD, Bytes{1}, Bytes{1}},
        {"binary", REG_BINARY, big, big},
        {"empty binary", REG_BINARY, Bytes{}, Bytes{}},
        {"none", REG_NONE, Bytes{0, 1}, Bytes{0, 1}},
        {"multi", 7, Raw(std::string_view("a\0b\0\0", 5)), Raw(std::string_view("a\0b\0\0", 5))},
    };
    for (const Case& c : cases)
        ASSERT_EQ(Set("Types\\Here", c.name, c.type, c.data), ERROR_SUCCESS) << c.name;

    // A copy of the file in another folder is parsed afresh.
    std::string copy = m_base + "/copy";
    std::filesystem::create_directory(copy);
    std::filesystem::copy_file(HivePath(), copy + "/HKEY_CURRENT_USER.reg");
    UseFolder(copy);
    for (const Case& c : cases) {
        DWORD type = 0xdeadbeef;
        Bytes data;
        ASSERT_EQ(Get("TYPES\\here", c.name, &type, &data), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(data, c.expected) << c.name;
    }
}

TEST_F(RegistryTest, NamesMatchWithoutRegardToCase) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Caf\xE9", KEY_ALL_ACCESS, &key, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    Bytes one = Sz("one");
    ASSERT_EQ(RegSetValueExA(key, "Mixed", REG_SZ, one.data(), 4), ERROR_SUCCESS);
    RegCloseKey(key);

    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\CAF\xC9", KEY_ALL_ACCESS, &key, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    Bytes two = Sz("two");
    ASSERT_EQ(RegSetValueExA(key, "MIXED", REG_SZ, two.data(), 4), ERROR_SUCCESS);
    std::string value;
    EXPECT_EQ(RegGetStringValue(key, "", "mixed", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, "two");
    // The names keep the case they were created with.
    std::string name;
    EXPECT_EQ(RegEnumValueA(key, 0, &name), ERROR_SUCCESS);
    EXPECT_EQ(name, "Mixed");
    EXPECT_EQ(RegEnumValueA(key, 1, &name), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
    EXPECT_EQ(RegEnumKeyExA(HKEY_CURRENT_USER, 0, &name), ERROR_SUCCESS);
    EXPECT_EQ(name, "Software");
}

TEST_F(RegistryTest, EnumerationOrder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "E", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    for (const char* sub : {"beta", "Alpha", "gamma", "ALPHA2", "Delta"}) {
        HKEY child = nullptr;
        ASSERT_EQ(RegCreateKeyExA(key, sub, KEY_ALL_ACCESS, &child), ERROR_SUCCESS);
        RegCloseKey(child);
    }
    Bytes data = Sz("x");
    for (const char* value : {"z", "a", "m", "Z"})
        ASSERT_EQ(RegSetValueExA(key, value, REG_SZ, data.data(), 2), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValueA(key, "a"), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "A", REG_SZ, data.data(), 2), ERROR_SUCCESS);

    std::vector<std::string> keys, values;
    std::string name;
    for (DWORD i = 0; RegEnumKeyExA(key, i, &name) == ERROR_SUCCESS; ++i)
        keys.push_back(name);
    DWORD type = 0;
    std::string bytes;
    for (DWORD i = 0; RegEnumValueA(key, i, &name, &type, &bytes) == ERROR_SUCCESS; ++i) {
        values.push_back(name);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(bytes, std::string("x\0", 2));
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "Delta", "gamma"}));
    EXPECT_EQ(values, (std::vector<std::string>{"z", "m", "A"}));
    EXPECT_EQ(RegEnumKeyExA(key, 5, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueA(key, 3, &name), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, QueryReportsSizesAndMoreData) {
    ASSERT_EQ(Set("Q", "text", REG_SZ, Sz("hello")), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Q", KEY_READ, &key), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "text", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 6u);

    BYTE buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 0xCC);
    size = 5;
    type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "text", &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(buffer[0], 0xCC) << "a buffer too small is left alone";

    size = 6;
    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), std::string("hello\0", 6));
    EXPECT_EQ(buffer[6], 0xCC);

    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    size = 8;
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, buffer, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingKeysAndTrees) {
    ASSERT_EQ(Set("T\\a\\b\\c", "v", REG_SZ, Sz("1")), ERROR_SUCCESS);
    ASSERT_EQ(Set("T\\a", "v", REG_SZ, Sz("2")), ERROR_SUCCESS);
    ASSERT_EQ(Set("T\\other", "v", REG_SZ, Sz("3")), ERROR_SUCCESS);
    ASSERT_EQ(Set("T", "v", REG_SZ, Sz("4")), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "T\\a"), ERROR_ACCESS_DENIED) << "has subkeys";
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "T\\a\\b\\c"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "T\\a\\b\\c"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "t\\A"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "T\\a"), ERROR_FILE_NOT_FOUND);

    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "T\\a\\b", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "T", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    std::string name;
    EXPECT_EQ(RegEnumKeyExA(key, 0, &name), ERROR_SUCCESS);
    EXPECT_EQ(name, "other");

    // An empty subkey empties the key itself and keeps it.
    EXPECT_EQ(RegDeleteTreeA(key, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegEnumKeyExA(key, 0, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueA(key, 0, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegDeleteKeyA(key, ""), ERROR_SUCCESS) << "deletes the handle's own key";
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "T", KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED) << "a predefined root";
    EXPECT_EQ(RegDeleteValueA(HKEY_CURRENT_USER, "nothing"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, BadHandlesAndArgumentsAreRefused) {
    HKEY key = reinterpret_cast<HKEY>(0x1);
    EXPECT_EQ(RegOpenKeyExA(nullptr, "x", KEY_READ, &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(key, nullptr) << "the result is cleared on failure";

    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "H", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    // The closed handle and a pointer that never was one are both refused
    // without being followed.
    RegKeyObject* forged = reinterpret_cast<RegKeyObject*>(&key);
    std::string name;
    DWORD size = 0;
    Bytes data = Sz("x");
    for (HKEY bad : {key, forged, static_cast<HKEY>(nullptr)}) {
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegSetValueExA(bad, "v", REG_SZ, data.data(), 2), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegQueryValueExA(bad, "v", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegEnumKeyExA(bad, 0, &name), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegEnumValueA(bad, 0, &name), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteTreeA(bad, ""), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteKeyA(bad, "x"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteValueA(bad, "v"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegSetStringValue(bad, "", "v", "x"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegGetStringValue(bad, "", "v", &name), ERROR_INVALID_HANDLE);
        kw::registry::Batch batch(bad);
        EXPECT_EQ(batch.Commit(), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);

    std::string deep;
    for (int i = 0; i < 513; ++i)
        deep += i ? "\\k" : "k";
    for (std::string_view path :
         {std::string_view("\\lead"), std::string_view("trail\\"), std::string_view("dou\\\\ble"),
          std::string_view("ctl\nname"), std::string_view(deep)}) {
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, &key),
                  ERROR_INVALID_PARAMETER)
            << path.substr(0, 20);
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path, KEY_READ, &key), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, path), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, std::string(255, 'k'), KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, std::string(256, 'k'), KEY_ALL_ACCESS, &key),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "ok", KEY_ALL_ACCESS, nullptr),
              ERROR_INVALID_PARAMETER);

    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, std::string(16383, 'n'), REG_SZ, data.data(), 2),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, std::string(16384, 'n'), REG_SZ, data.data(), 2),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "line\nbreak", REG_SZ, data.data(), 2),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "v", REG_BINARY, nullptr, 3),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumKeyExA(HKEY_CURRENT_USER, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "", "v", nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, HandleOfADeletedKey) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Gone\\Soon", KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "Gone"), ERROR_SUCCESS);

    Bytes data = Sz("x");
    DWORD size = 0;
    std::string name;
    HKEY child = nullptr;
    EXPECT_EQ(RegSetValueExA(key, "v", REG_SZ, data.data(), 2), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumKeyExA(key, 0, &name), ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumValueA(key, 0, &name), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCreateKeyExA(key, "child", KEY_ALL_ACCESS, &child), ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyExA(key, "", KEY_READ, &child), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteTreeA(key, ""), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetStringValue(key, "child", "v", "x"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegGetStringValue(key, "", "v", &name), ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Gone", KEY_READ, &child), ERROR_FILE_NOT_FOUND)
        << "nothing was re-created on the way";

    // The handle names a path: once the key exists again it answers again.
    ASSERT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "GONE\\SOON", "v", "back"), ERROR_SUCCESS);
    EXPECT_EQ(RegGetStringValue(key, "", "v", &name), ERROR_SUCCESS);
    EXPECT_EQ(name, "back");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, HandlesAnswerOnlyTheirRights) {
    ASSERT_EQ(Set("R", "v", REG_SZ, Sz("x")), ERROR_SUCCESS);
    HKEY reader = nullptr, writer = nullptr, child = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "R", KEY_READ, &reader), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "R", KEY_WRITE, &writer), ERROR_SUCCESS);
    Bytes data = Sz("y");
    DWORD size = 0;
    std::string name;
    EXPECT_EQ(RegSetValueExA(reader, "v", REG_SZ, data.data(), 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(reader, "v"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExA(reader, "c", KEY_ALL_ACCESS, &child), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeA(reader, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueExA(writer, "v", nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegEnumKeyExA(writer, 0, &name), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegEnumValueA(writer, 0, &name), ERROR_ACCESS_DENIED);

    // Through the writer, seen at once by the reader of the same key.
    EXPECT_EQ(RegSetValueExA(writer, "v", REG_SZ, data.data(), 2), ERROR_SUCCESS);
    EXPECT_EQ(RegGetStringValue(reader, "", "v", &name), ERROR_SUCCESS);
    EXPECT_EQ(name, "y");
    RegCloseKey(reader);
    RegCloseKey(writer);
}

TEST_F(RegistryTest, StringConvenience) {
    EXPECT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "Software\\Varnholt", "Unit", "inch"),
              ERROR_SUCCESS);
    std::string value;
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "software\\VARNHOLT", "unit", &value),
              ERROR_SUCCESS);
    EXPECT_EQ(value, "inch");
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "Software\\Nobody", "Unit", &value),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "Software\\Varnholt", "Other", &value),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(Set("Software\\Varnholt", "Number", REG_DWORD, Bytes{1, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "Software\\Varnholt", "Number", &value),
              ERROR_UNSUPPORTED_TYPE);
    ASSERT_EQ(Set("Software\\Varnholt", "Zeros", REG_SZ, Raw(std::string_view("ab\0cd\0", 6))),
              ERROR_SUCCESS);
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "Software\\Varnholt", "Zeros", &value),
              ERROR_SUCCESS);
    EXPECT_EQ(value, "ab");
}

} // namespace
} // namespace kw::registry::test
