#include "platform/registry/HiveKey.h"

namespace kw::registry {

HiveKey* HiveKey::FindSubKey(std::string_view name) {
    auto it = m_subKeys.find(name);
    return it == m_subKeys.end() ? nullptr : it->second.get();
}

const HiveKey* HiveKey::FindSubKey(std::string_view name) const {
    auto it = m_subKeys.find(name);
    return it == m_subKeys.end() ? nullptr : it->second.get();
}

HiveKey& HiveKey::CreateSubKey(std::string_view name, bool* created) {
    auto it = m_subKeys.find(name);
    if (it != m_subKeys.end()) {
        *created = false;
        return *it->second;
    }
    auto inserted = m_subKeys.emplace(std::string(name), std::make_unique<HiveKey>());
    *created = true;
    return *inserted.first->second;
}

bool HiveKey::DeleteSubKey(std::string_view name) {
    auto it = m_subKeys.find(name);
    if (it == m_subKeys.end())
        return false;
    m_subKeys.erase(it);
    return true;
}

const HiveValue* HiveKey::FindValue(std::string_view name) const {
    auto it = m_valueIndex.find(name);
    return it == m_valueIndex.end() ? nullptr : &m_values[it->second];
}

bool HiveKey::SetValue(std::string_view name, DWORD type, std::string_view data) {
    auto it = m_valueIndex.find(name);
    if (it != m_valueIndex.end()) {
        HiveValue& value = m_values[it->second];
        if (value.type == type && value.data == data)
            return false;
        value.type = type;
        value.data.assign(data);
        return true;
    }
    m_values.push_back(HiveValue{std::string(name), type, std::string(data)});
    m_valueIndex.emplace(std::string(name), m_values.size() - 1);
    return true;
}

bool HiveKey::DeleteValue(std::string_view name) {
    auto it = m_valueIndex.find(name);
    if (it == m_valueIndex.end())
        return false;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(it->second));
    RebuildValueIndex();
    return true;
}

bool HiveKey::Clear() {
    bool had = !m_values.empty() || !m_subKeys.empty();
    m_values.clear();
    m_valueIndex.clear();
    m_subKeys.clear();
    return had;
}

void HiveKey::RebuildValueIndex() {
    m_valueIndex.clear();
    for (std::size_t i = 0; i < m_values.size(); ++i)
        m_valueIndex.emplace(m_values[i].name, i);
}

bool operator==(const HiveKey& a, const HiveKey& b) {
    if (a.m_values != b.m_values || a.m_subKeys.size() != b.m_subKeys.size())
        return false;
    for (auto ia = a.m_subKeys.begin(), ib = b.m_subKeys.begin(); ia != a.m_subKeys.end();
         ++ia, ++ib) {
        if (ia->first != ib->first || !(*ia->second == *ib->second))
            return false;
    }
    return true;
}

HiveKey* FindKey(HiveKey& root, const std::vector<std::string>& path) {
    HiveKey* key = &root;
    for (const std::string& name : path) {
        key = key->FindSubKey(name);
        if (!key)
            return nullptr;
    }
    return key;
}

const HiveKey* FindKey(const HiveKey& root, const std::vector<std::string>& path) {
    return FindKey(const_cast<HiveKey&>(root), path);
}

} // namespace kw::registry
