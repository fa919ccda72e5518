#pragma once
// A fixture that points the registry at a fresh folder of its own, and small
// file helpers for the tests that look at the hive files themselves.
#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kw::registry::test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The bytes of a REG_SZ value as the registry keeps them.
inline std::vector<BYTE> Sz(std::string_view text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kw-registry-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_base = pattern;
        UseFolder(m_base + "/registry");
    }
    void TearDown() override {
        ::unsetenv("KW_REGISTRY_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_base, ignored);
    }

    void UseFolder(const std::string& dir) {
        m_dir = dir;
        ::setenv("KW_REGISTRY_DIR", dir.c_str(), 1);
    }
    std::string HivePath(const char* root = "HKEY_CURRENT_USER") const {
        return m_dir + "/" + root + ".reg";
    }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir, ignored))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Sets a value on a key path below HKEY_CURRENT_USER, creating the key.
    static LONG Set(std::string_view path, std::string_view name, DWORD type,
                    const std::vector<BYTE>& data) {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, &key);
        if (result != ERROR_SUCCESS)
            return result;
        result = RegSetValueExA(key, name, type, data.data(), static_cast<DWORD>(data.size()));
        RegCloseKey(key);
        return result;
    }

    // Reads a value's type and bytes below HKEY_CURRENT_USER.
    static LONG Get(std::string_view path, std::string_view name, DWORD* type,
                    std::vector<BYTE>* data) {
        HKEY key = nullptr;
        LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path, KEY_READ, &key);
        if (result != ERROR_SUCCESS)
            return result;
        DWORD size = 0;
        result = RegQueryValueExA(key, name, type, nullptr, &size);
        if (result == ERROR_SUCCESS) {
            data->assign(size, 0xCC);
            result = RegQueryValueExA(key, name, type, data->data(), &size);
        }
        RegCloseKey(key);
        return result;
    }

    std::string m_base;
    std::string m_dir;
};

} // namespace kw::registry::test
