#pragma once
// One hive as this process sees it: the parsed file, kept while the file is
// unchanged, and the locking around every read and change.
//
// A read takes the shared lock and reloads the file when it has changed
// since it was parsed: another inode, size or time, or another value of the
// change counter in the lock file (which catches a replacement that happens
// to reuse inode, size and time). A change takes the exclusive lock, reloads,
// applies, and when something really changed rewrites the file before the
// lock is released. During a batch the exclusive lock is held throughout and
// the rewrite waits for the end of the outermost batch.
//
// Every operation holds the store's mutex, so threads of this process take
// turns; a batch keeps the mutex from its beginning to its end, so it belongs
// to the thread that began it.
#include "platform/base/WinTypes.h"
#include "platform/registry/HiveFile.h"
#include "platform/registry/HiveKey.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace kw::registry {

class HiveStore {
public:
    // `rootName` is the hive's root key name, such as "HKEY_CURRENT_USER".
    explicit HiveStore(std::string rootName);
    HiveStore(const HiveStore&) = delete;
    HiveStore& operator=(const HiveStore&) = delete;

    // The two hives of this process; they live until the process ends.
    static HiveStore& ClassesRoot();
    static HiveStore& CurrentUser();

    const std::string& RootName() const { return m_rootName; }

    // Runs `read` on the current hive. Errors of loading the hive (damaged
    // file, unreadable file) come back without calling it.
    [[nodiscard]] LONG Read(const std::function<LONG(const HiveKey&)>& read);
    // Runs `change` on the current hive; it sets *changed when it modified
    // the hive, which is then written back. ERROR_CANTWRITE when that fails;
    // the hive is then reloaded from its file by the next call.
    [[nodiscard]] LONG Write(const std::function<LONG(HiveKey&, bool* changed)>& change);

    // See kw::registry::Batch. EndBatch answers the outcome of the outermost
    // batch's final write (ERROR_SUCCESS for an inner one).
    void BeginBatch();
    [[nodiscard]] LONG EndBatch();

private:
    LONG Load(const std::string& dir, const HiveLock& lock);
    LONG Save(const std::string& dir, HiveLock& lock);
    LONG Apply(const std::function<LONG(HiveKey&, bool* changed)>& change, bool* changed);

    std::recursive_mutex m_mutex;
    std::string m_rootName;
    std::string m_fileName;
    std::string m_lockName;
    std::string m_tempPrefix;

    // The parsed hive and the version of the file it came from. m_cached is
    // false when the next call must reload regardless of the stamp.
    HiveKey m_root;
    LONG m_loadResult{0};
    bool m_cached{false};
    std::string m_cachedDir;
    FileStamp m_stamp;
    std::uint64_t m_counter{0};

    // The batch in progress, if m_batchDepth > 0.
    int m_batchDepth{0};
    HiveLock m_batchLock;
    std::string m_batchDir;
    LONG m_batchResult{0};
    bool m_batchDirty{false};
};

} // namespace kw::registry
