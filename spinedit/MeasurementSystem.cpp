#include "spinedit/MeasurementSystem.h"

#include "platform/registry/Registry.h"

#include <array>

namespace {

constexpr std::string_view kSettingsKey = "Software\\Varnholt\\Dravenset\\Settings";
constexpr std::string_view kDefaultUnitValue = "DefaultUnit";

} // namespace

bool ReadInchSystem() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    std::array<BYTE, 4> bytes{};
    DWORD size = static_cast<DWORD>(bytes.size());
    const LONG result = RegQueryValueExA(key, kDefaultUnitValue, nullptr, bytes.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    const DWORD value = static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 |
                        static_cast<DWORD>(bytes[2]) << 16 | static_cast<DWORD>(bytes[3]) << 24;
    return value != 0;
}
