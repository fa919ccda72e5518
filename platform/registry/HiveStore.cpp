#include "platform/registry/HiveStore.h"

#include "platform/registry/RegEdit4.h"
#include "platform/registry/Registry.h"

#include <cstdio>
#include <exception>

namespace kw::registry {

HiveStore::HiveStore(std::string rootName)
    : m_rootName(std::move(rootName)), m_fileName(m_rootName + ".reg"),
      m_lockName(m_fileName + ".lock"), m_tempPrefix(m_fileName + ".tmp-") {}

HiveStore& HiveStore::ClassesRoot() {
    // Never destroyed, so that code running at exit can still use it.
    static auto* store = new HiveStore("HKEY_CLASSES_ROOT");
    return *store;
}

HiveStore& HiveStore::CurrentUser() {
    static auto* store = new HiveStore("HKEY_CURRENT_USER");
    return *store;
}

LONG HiveStore::Load(const std::string& dir, const HiveLock& lock) {
    std::string path = dir + "/" + m_fileName;
    std::uint64_t counter = lock.Counter();
    // Without the lock a writer may replace the file between the checks, so
    // the cache is trusted only under it.
    if (lock.Held() && m_cached && m_cachedDir == dir && m_counter == counter &&
        StampOf(path) == m_stamp)
        return m_loadResult;

    m_cached = false;
    std::string text;
    FileStamp stamp;
    LONG result = ReadWholeFile(path, &text, &stamp);
    if (result == ERROR_SUCCESS && stamp.exists) {
        ParseError error;
        if (!ParseRegEdit4(text, m_rootName, &m_root, &error)) {
            result = ERROR_REGISTRY_CORRUPT;
            std::fprintf(stderr, "registry: %s is damaged at line %zu (%s); it is left as it is\n",
                         path.c_str(), error.line, error.reason.c_str());
        }
    }
    if (result != ERROR_SUCCESS || !stamp.exists)
        m_root.Clear();
    m_loadResult = result;
    m_cachedDir = dir;
    m_stamp = stamp;
    m_counter = counter;
    m_cached = lock.Held();
    return result;
}

LONG HiveStore::Save(const std::string& dir, HiveLock& lock) {
    // Until the file holds the hive, the hive in memory is not to be trusted.
    m_cached = false;
    // Only a holder of the exclusive lock writes temporary files, so every
    // one found now was left by a writer that died.
    RemoveTemporaries(dir, m_tempPrefix);
    // The counter moves first: if this writer dies after it, readers merely
    // reload a file that did not change.
    std::uint64_t counter = 0;
    if (!lock.BumpCounter(&counter))
        return ERROR_CANTWRITE;
    LONG result = ReplaceFile(dir, m_fileName, m_tempPrefix, WriteRegEdit4(m_root, m_rootName));
    if (result != ERROR_SUCCESS)
        return result;
    m_cachedDir = dir;
    m_stamp = StampOf(dir + "/" + m_fileName);
    m_counter = counter;
    m_loadResult = ERROR_SUCCESS;
    m_cached = true;
    return ERROR_SUCCESS;
}

LONG HiveStore::Apply(const std::function<LONG(HiveKey&, bool* changed)>& change, bool* changed) {
    try {
        return change(m_root, changed);
    } catch (const std::exception&) {
        // Only allocation throws here, possibly half-way through a change:
        // forget the hive so that nothing of it is written.
        m_cached = false;
        *changed = false;
        return ERROR_OUTOFMEMORY;
    }
}

LONG HiveStore::Read(const std::function<LONG(const HiveKey&)>& read) {
    std::lock_guard guard(m_mutex);
    if (m_batchDepth > 0)
        return m_batchResult != ERROR_SUCCESS ? m_batchResult : read(m_root);
    std::string dir = RootDirectory();
    if (dir.empty())
        return ERROR_CANTOPEN;
    HiveLock lock;
    lock.AcquireShared(dir + "/" + m_lockName);
    LONG result = Load(dir, lock);
    if (result != ERROR_SUCCESS)
        return result;
    return read(m_root);
}

LONG HiveStore::Write(const std::function<LONG(HiveKey&, bool* changed)>& change) {
    std::lock_guard guard(m_mutex);
    bool changed = false;
    if (m_batchDepth > 0) {
        if (m_batchResult != ERROR_SUCCESS)
            return m_batchResult;
        LONG result = Apply(change, &changed);
        if (result == ERROR_OUTOFMEMORY && !m_cached)
            m_batchResult = ERROR_OUTOFMEMORY;
        m_batchDirty = m_batchDirty || changed;
        return result;
    }
    std::string dir = RootDirectory();
    LONG result = CreateFolder(dir);
    HiveLock lock;
    if (result == ERROR_SUCCESS)
        result = lock.AcquireExclusive(dir + "/" + m_lockName);
    if (result == ERROR_SUCCESS)
        result = Load(dir, lock);
    if (result != ERROR_SUCCESS)
        return result;
    result = Apply(change, &changed);
    if (!changed)
        return result;
    LONG saved = Save(dir, lock);
    return saved != ERROR_SUCCESS ? saved : result;
}

void HiveStore::BeginBatch() {
    m_mutex.lock();
    if (m_batchDepth++ > 0)
        return;
    m_batchDirty = false;
    try {
        m_batchDir = RootDirectory();
        m_batchResult = CreateFolder(m_batchDir);
        if (m_batchResult == ERROR_SUCCESS)
            m_batchResult = m_batchLock.AcquireExclusive(m_batchDir + "/" + m_lockName);
        if (m_batchResult == ERROR_SUCCESS)
            m_batchResult = Load(m_batchDir, m_batchLock);
    } catch (const std::exception&) {
        m_batchResult = ERROR_OUTOFMEMORY;
    }
}

LONG HiveStore::EndBatch() {
    LONG result = ERROR_SUCCESS;
    if (--m_batchDepth == 0) {
        result = m_batchResult;
        if (result == ERROR_SUCCESS && m_batchDirty) {
            try {
                result = Save(m_batchDir, m_batchLock);
            } catch (const std::exception&) {
                m_cached = false;
                result = ERROR_OUTOFMEMORY;
            }
        }
        m_batchLock.Release();
        m_batchDirty = false;
        m_batchResult = ERROR_SUCCESS;
    }
    m_mutex.unlock();
    return result;
}

} // namespace kw::registry
