// The measurement system, as the installation's settings give it.
#include "platform/registry/Registry.h"
#include "spinedit/MeasurementSystem.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kSettings = "Software\\Varnholt\\Dravenset\\Settings";

class MeasurementSystem : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kw-units-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ::setenv("KW_REGISTRY_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("KW_REGISTRY_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    static void Set(DWORD type, const std::vector<BYTE>& data) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettings, KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(
            RegSetValueExA(key, "DefaultUnit", type, data.data(), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::string m_dir;
};

TEST_F(MeasurementSystem, MetricWithoutTheKeyOrTheValue) {
    EXPECT_FALSE(ReadInchSystem());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettings, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(ReadInchSystem());
}

TEST_F(MeasurementSystem, NonZeroNumberMeansInch) {
    Set(REG_DWORD, {1, 0, 0, 0});
    EXPECT_TRUE(ReadInchSystem());
    Set(REG_DWORD, {0, 0, 0, 0});
    EXPECT_FALSE(ReadInchSystem());
    Set(REG_DWORD, {0, 0, 0, 0x80});
    EXPECT_TRUE(ReadInchSystem());
}

TEST_F(MeasurementSystem, TypeIsNotCheckedAndLongerValuesFail) {
    Set(REG_BINARY, {2});
    EXPECT_TRUE(ReadInchSystem());
    Set(REG_BINARY, {0, 0});
    EXPECT_FALSE(ReadInchSystem());
    Set(REG_SZ, {'1', 0});
    EXPECT_TRUE(ReadInchSystem());
    // Five bytes do not fit the four-byte buffer.
    Set(REG_BINARY, {1, 0, 0, 0, 0});
    EXPECT_FALSE(ReadInchSystem());
}

TEST_F(MeasurementSystem, DamagedHiveMeansMetric) {
    std::filesystem::create_directories(m_dir);
    std::FILE* file = std::fopen((m_dir + "/HKEY_CURRENT_USER.reg").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("this is not a registry file\n[", file);
    std::fclose(file);
    EXPECT_FALSE(ReadInchSystem());
}

} // namespace
