// The Reg* functions: handles, argument checks, and each operation as a read
// or a change of one hive (HiveStore does the files and the locking).
//
// [SECTION] Handles
// [SECTION] Keys
// [SECTION] Values
// [SECTION] Deletion
// [SECTION] Enumeration
// [SECTION] Convenience
// [SECTION] Root folder and batches
#include "platform/registry/Registry.h"

#include "platform/registry/HiveStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iterator>
#include <mutex>
#include <optional>
#include <unordered_set>
#include <vector>

using kw::registry::HiveKey;
using kw::registry::HiveStore;
using kw::registry::HiveValue;

struct RegKeyObject {
    HiveStore* store{nullptr};
    std::vector<std::string> path;
    REGSAM access{0};
};

namespace {

// The predefined roots are told apart by their address alone; nothing is
// ever read from these objects.
RegKeyObject g_classesRoot;
RegKeyObject g_currentUser;

} // namespace

const HKEY HKEY_CLASSES_ROOT = &g_classesRoot;
const HKEY HKEY_CURRENT_USER = &g_currentUser;

namespace {

// [SECTION] Handles

constexpr REGSAM kDelete = 0x00010000; // The platform's standard DELETE right.
constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | kDelete;

// What a call needs of a handle, copied out under the handle lock so that a
// handle closed meanwhile by another thread is never touched.
struct KeyRef {
    HiveStore* store{nullptr};
    std::vector<std::string> path;
    REGSAM access{0};
    bool predefined{false};
};

struct HandleTable {
    std::mutex mutex;
    std::unordered_set<HKEY> live;
};

HandleTable& Handles() {
    // Never destroyed, so that handles closed at exit still find it.
    static auto* table = new HandleTable;
    return *table;
}

std::optional<KeyRef> Resolve(HKEY hKey) {
    if (hKey == HKEY_CLASSES_ROOT)
        return KeyRef{&HiveStore::ClassesRoot(), {}, KEY_ALL_ACCESS, true};
    if (hKey == HKEY_CURRENT_USER)
        return KeyRef{&HiveStore::CurrentUser(), {}, KEY_ALL_ACCESS, true};
    if (!hKey)
        return std::nullopt;
    HandleTable& table = Handles();
    std::lock_guard guard(table.mutex);
    if (!table.live.contains(hKey))
        return std::nullopt;
    return KeyRef{hKey->store, hKey->path, hKey->access, false};
}

HKEY NewHandle(HiveStore* store, std::vector<std::string> path, REGSAM access) {
    auto* key = new RegKeyObject{store, std::move(path), access};
    HandleTable& table = Handles();
    std::lock_guard guard(table.mutex);
    try {
        table.live.insert(key);
    } catch (...) {
        delete key;
        throw;
    }
    return key;
}

// Runs a call's body; only allocation can throw in it.
template <typename Body> LONG Guarded(Body body) {
    try {
        return body();
    } catch (const std::exception&) {
        return ERROR_OUTOFMEMORY;
    }
}

// The full path of `subKey` below `ref`, checked.
std::optional<std::vector<std::string>> PathBelow(const KeyRef& ref, std::string_view subKey) {
    std::vector<std::string> names;
    if (!kw::registry::SplitKeyPath(subKey, &names) ||
        ref.path.size() + names.size() > kw::registry::kMaxKeyDepth)
        return std::nullopt;
    std::vector<std::string> path = ref.path;
    path.insert(path.end(), std::make_move_iterator(names.begin()),
                std::make_move_iterator(names.end()));
    return path;
}

// Keeps a value's bytes, terminating strings that lack their zero.
std::string ValueBytes(DWORD type, const BYTE* data, DWORD size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && (bytes.empty() || bytes.back() != '\0'))
        bytes.push_back('\0');
    return bytes;
}

} // namespace

LONG RegCloseKey(HKEY hKey) {
    if (hKey == HKEY_CLASSES_ROOT || hKey == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    HandleTable& table = Handles();
    {
        std::lock_guard guard(table.mutex);
        if (!hKey || table.live.erase(hKey) == 0)
            return ERROR_INVALID_HANDLE;
    }
    delete hKey;
    return ERROR_SUCCESS;
}

// [SECTION] Keys

LONG RegCreateKeyExA(HKEY hKey, std::string_view subKey, REGSAM samDesired, HKEY* phkResult,
                     DWORD* lpdwDisposition) {
    return Guarded([&]() -> LONG {
        if (phkResult)
            *phkResult = nullptr;
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        auto path = PathBelow(*ref, subKey);
        if (!phkResult || !path)
            return ERROR_INVALID_PARAMETER;
        if (path->size() > ref->path.size() && !(ref->access & KEY_CREATE_SUB_KEY))
            return ERROR_ACCESS_DENIED;
        bool created = false;
        LONG result = ref->store->Write([&](HiveKey& root, bool* changed) -> LONG {
            HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            for (std::size_t i = ref->path.size(); i < path->size(); ++i) {
                bool createdHere = false;
                key = &key->CreateSubKey((*path)[i], &createdHere);
                created = created || createdHere;
            }
            *changed = created;
            return ERROR_SUCCESS;
        });
        if (result != ERROR_SUCCESS)
            return result;
        *phkResult = NewHandle(ref->store, std::move(*path), samDesired);
        if (lpdwDisposition)
            *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

LONG RegOpenKeyExA(HKEY hKey, std::string_view subKey, REGSAM samDesired, HKEY* phkResult) {
    return Guarded([&]() -> LONG {
        if (phkResult)
            *phkResult = nullptr;
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        auto path = PathBelow(*ref, subKey);
        if (!phkResult || !path)
            return ERROR_INVALID_PARAMETER;
        LONG result = ref->store->Read([&](const HiveKey& root) -> LONG {
            const HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            for (std::size_t i = ref->path.size(); i < path->size() && key; ++i)
                key = key->FindSubKey((*path)[i]);
            return key ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
        if (result != ERROR_SUCCESS)
            return result;
        *phkResult = NewHandle(ref->store, std::move(*path), samDesired);
        return ERROR_SUCCESS;
    });
}

// [SECTION] Values

LONG RegSetValueExA(HKEY hKey, std::string_view valueName, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        if (!kw::registry::IsValidValueName(valueName) || (!lpData && cbData != 0))
            return ERROR_INVALID_PARAMETER;
        if (!(ref->access & KEY_SET_VALUE))
            return ERROR_ACCESS_DENIED;
        std::string bytes = ValueBytes(dwType, lpData, cbData);
        return ref->store->Write([&](HiveKey& root, bool* changed) -> LONG {
            HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            *changed = key->SetValue(valueName, dwType, bytes);
            return ERROR_SUCCESS;
        });
    });
}

LONG RegQueryValueExA(HKEY hKey, std::string_view valueName, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        if (!kw::registry::IsValidValueName(valueName) || (lpData && !lpcbData))
            return ERROR_INVALID_PARAMETER;
        if (!(ref->access & KEY_QUERY_VALUE))
            return ERROR_ACCESS_DENIED;
        return ref->store->Read([&](const HiveKey& root) -> LONG {
            const HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            const HiveValue* value = key->FindValue(valueName);
            if (!value)
                return ERROR_FILE_NOT_FOUND;
            if (lpType)
                *lpType = value->type;
            if (!lpcbData)
                return ERROR_SUCCESS;
            auto size = static_cast<DWORD>(value->data.size());
            DWORD room = *lpcbData;
            *lpcbData = size;
            if (!lpData)
                return ERROR_SUCCESS;
            if (room < size)
                return ERROR_MORE_DATA;
            value->data.copy(reinterpret_cast<char*>(lpData), size);
            return ERROR_SUCCESS;
        });
    });
}

LONG RegDeleteValueA(HKEY hKey, std::string_view valueName) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        if (!kw::registry::IsValidValueName(valueName))
            return ERROR_INVALID_PARAMETER;
        if (!(ref->access & KEY_SET_VALUE))
            return ERROR_ACCESS_DENIED;
        return ref->store->Write([&](HiveKey& root, bool* changed) -> LONG {
            HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            *changed = key->DeleteValue(valueName);
            return *changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    });
}

// [SECTION] Deletion

namespace {

// Deletes the key at `path` (below `ref`), with its subkeys when
// `wholeTree`, else only if it has none.
LONG DeleteKey(const KeyRef& ref, std::string_view subKey, bool wholeTree) {
    auto path = PathBelow(ref, subKey);
    if (!path)
        return ERROR_INVALID_PARAMETER;
    if (!(ref.access & kWriteRights))
        return ERROR_ACCESS_DENIED;
    if (path->empty())
        return ERROR_ACCESS_DENIED; // A predefined root itself.
    return ref.store->Write([&](HiveKey& root, bool* changed) -> LONG {
        if (!kw::registry::FindKey(root, ref.path))
            return ERROR_KEY_DELETED;
        std::string name = path->back();
        path->pop_back();
        HiveKey* parent = kw::registry::FindKey(root, *path);
        HiveKey* key = parent ? parent->FindSubKey(name) : nullptr;
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        if (!wholeTree && !key->SubKeys().empty())
            return ERROR_ACCESS_DENIED;
        *changed = parent->DeleteSubKey(name);
        return ERROR_SUCCESS;
    });
}

} // namespace

LONG RegDeleteTreeA(HKEY hKey, std::string_view subKey) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        if (!subKey.empty())
            return DeleteKey(*ref, subKey, true);
        if (!(ref->access & kWriteRights))
            return ERROR_ACCESS_DENIED;
        return ref->store->Write([&](HiveKey& root, bool* changed) -> LONG {
            HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            *changed = key->Clear();
            return ERROR_SUCCESS;
        });
    });
}

LONG RegDeleteKeyA(HKEY hKey, std::string_view subKey) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        return DeleteKey(*ref, subKey, false);
    });
}

// [SECTION] Enumeration

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, std::string* name) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        if (!name)
            return ERROR_INVALID_PARAMETER;
        if (!(ref->access & KEY_ENUMERATE_SUB_KEYS))
            return ERROR_ACCESS_DENIED;
        return ref->store->Read([&](const HiveKey& root) -> LONG {
            const HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            const auto& subKeys = key->SubKeys();
            if (dwIndex >= subKeys.size())
                return ERROR_NO_MORE_ITEMS;
            *name = std::next(subKeys.begin(), static_cast<std::ptrdiff_t>(dwIndex))->first;
            return ERROR_SUCCESS;
        });
    });
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, std::string* name, DWORD* lpType, std::string* data) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        if (!name)
            return ERROR_INVALID_PARAMETER;
        if (!(ref->access & KEY_QUERY_VALUE))
            return ERROR_ACCESS_DENIED;
        return ref->store->Read([&](const HiveKey& root) -> LONG {
            const HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            if (dwIndex >= key->Values().size())
                return ERROR_NO_MORE_ITEMS;
            const HiveValue& value = key->Values()[dwIndex];
            *name = value.name;
            if (lpType)
                *lpType = value.type;
            if (data)
                *data = value.data;
            return ERROR_SUCCESS;
        });
    });
}

// [SECTION] Convenience

LONG RegSetStringValue(HKEY hKey, std::string_view subKey, std::string_view valueName,
                       std::string_view value) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        auto path = PathBelow(*ref, subKey);
        if (!path || !kw::registry::IsValidValueName(valueName))
            return ERROR_INVALID_PARAMETER;
        REGSAM needed = subKey.empty() ? KEY_SET_VALUE : KEY_CREATE_SUB_KEY;
        if (!(ref->access & needed))
            return ERROR_ACCESS_DENIED;
        std::string bytes(value);
        bytes.push_back('\0');
        return ref->store->Write([&](HiveKey& root, bool* changed) -> LONG {
            HiveKey* key = kw::registry::FindKey(root, ref->path);
            if (!key)
                return ERROR_KEY_DELETED;
            for (std::size_t i = ref->path.size(); i < path->size(); ++i) {
                bool created = false;
                key = &key->CreateSubKey((*path)[i], &created);
                *changed = *changed || created;
            }
            if (key->SetValue(valueName, REG_SZ, bytes))
                *changed = true;
            return ERROR_SUCCESS;
        });
    });
}

LONG RegGetStringValue(HKEY hKey, std::string_view subKey, std::string_view valueName,
                       std::string* value) {
    return Guarded([&]() -> LONG {
        auto ref = Resolve(hKey);
        if (!ref)
            return ERROR_INVALID_HANDLE;
        auto path = PathBelow(*ref, subKey);
        if (!path || !value || !kw::registry::IsValidValueName(valueName))
            return ERROR_INVALID_PARAMETER;
        if (subKey.empty() && !(ref->access & KEY_QUERY_VALUE))
            return ERROR_ACCESS_DENIED;
        return ref->store->Read([&](const HiveKey& root) -> LONG {
            if (!kw::registry::FindKey(root, ref->path))
                return ERROR_KEY_DELETED;
            const HiveKey* key = kw::registry::FindKey(root, *path);
            const HiveValue* found = key ? key->FindValue(valueName) : nullptr;
            if (!found)
                return ERROR_FILE_NOT_FOUND;
            if (found->type != REG_SZ && found->type != REG_EXPAND_SZ)
                return ERROR_UNSUPPORTED_TYPE;
            *value = found->data.substr(0, found->data.find('\0'));
            return ERROR_SUCCESS;
        });
    });
}

// [SECTION] Root folder and batches

namespace kw::registry {

std::string RootDirectory() {
    if (const char* dir = std::getenv("KW_REGISTRY_DIR"); dir && *dir)
        return dir;
    // A relative XDG_CONFIG_HOME is to be ignored, as the base directory
    // convention says.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + "/kestrowidge/registry";
    std::string home;
    if (const char* value = std::getenv("HOME"); value && *value) {
        home = value;
    } else {
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
            found->pw_dir)
            home = found->pw_dir;
    }
    if (home.empty())
        return {};
    return home + "/.config/kestrowidge/registry";
}

Batch::Batch(HKEY root) : m_root(nullptr) {
    // Only the hive matters: keep its predefined root, which stays valid
    // whatever happens to `root` during the batch.
    HiveStore* store = nullptr;
    if (root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER) {
        m_root = root;
    } else {
        std::lock_guard guard(Handles().mutex);
        if (root && Handles().live.contains(root))
            m_root =
                root->store == &HiveStore::ClassesRoot() ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
    }
    if (m_root)
        store = m_root == HKEY_CLASSES_ROOT ? &HiveStore::ClassesRoot() : &HiveStore::CurrentUser();
    if (store)
        store->BeginBatch();
}

Batch::~Batch() {
    if (!m_done)
        (void)Commit();
}

LONG Batch::Commit() {
    if (m_done)
        return ERROR_SUCCESS;
    m_done = true;
    if (!m_root)
        return ERROR_INVALID_HANDLE;
    HiveStore& store =
        m_root == HKEY_CLASSES_ROOT ? HiveStore::ClassesRoot() : HiveStore::CurrentUser();
    return store.EndBatch();
}

} // namespace kw::registry
