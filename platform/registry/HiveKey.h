#pragma once
// The in-memory model of a hive: a tree of keys, each with named values.
#include "platform/base/WinTypes.h"
#include "platform/registry/KeyName.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kw::registry {

// One value: its name as first set, its type code and its bytes.
struct HiveValue {
    std::string name;
    DWORD type{0};
    std::string data;

    bool operator==(const HiveValue&) const = default;
};

// A key. Subkeys are kept in case-insensitive name order, values in the
// order they were first set; names keep the letter case they were created
// with and are looked up without regard to it. A key does not know its own
// name: its parent holds it.
class HiveKey {
public:
    using SubKeyMap = std::map<std::string, std::unique_ptr<HiveKey>, NameLess>;

    HiveKey() = default;
    HiveKey(const HiveKey&) = delete;
    HiveKey& operator=(const HiveKey&) = delete;
    HiveKey(HiveKey&&) = default;
    HiveKey& operator=(HiveKey&&) = default;

    HiveKey* FindSubKey(std::string_view name);
    const HiveKey* FindSubKey(std::string_view name) const;
    // Returns the subkey, creating it when missing; *created says which.
    HiveKey& CreateSubKey(std::string_view name, bool* created);
    // Removes a subkey with everything below it; false when there is none.
    bool DeleteSubKey(std::string_view name);
    const SubKeyMap& SubKeys() const { return m_subKeys; }

    const HiveValue* FindValue(std::string_view name) const;
    // Sets a value, keeping its place and the letter case of its name when it
    // exists. Returns false when the value already had this type and data.
    bool SetValue(std::string_view name, DWORD type, std::string_view data);
    bool DeleteValue(std::string_view name);
    const std::vector<HiveValue>& Values() const { return m_values; }

    // Deletes every value and subkey; false when there was nothing.
    bool Clear();

    // Same names (letter case included), values in the same order, same
    // subkeys: the two keys are written out byte for byte alike.
    friend bool operator==(const HiveKey& a, const HiveKey& b);

private:
    void RebuildValueIndex();

    std::vector<HiveValue> m_values;
    std::map<std::string, std::size_t, NameLess> m_valueIndex;
    SubKeyMap m_subKeys;
};

// Follows `path` down from `root`; null when a key on the way is missing.
HiveKey* FindKey(HiveKey& root, const std::vector<std::string>& path);
const HiveKey* FindKey(const HiveKey& root, const std::vector<std::string>& path);

} // namespace kw::registry
