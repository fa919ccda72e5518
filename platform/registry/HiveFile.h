#pragma once
// The files behind a hive: the hive file itself, the lock file that
// serialises processes, and the atomic replacement of the hive file.
//
// In the root folder, for the hive HKEY_CURRENT_USER:
//   HKEY_CURRENT_USER.reg              the hive (REGEDIT4 text)
//   HKEY_CURRENT_USER.reg.lock         flock()ed by every reader (shared) and
//                                      writer (exclusive); holds a change
//                                      counter that each writer bumps
//   HKEY_CURRENT_USER.reg.tmp-XXXXXX   a new version being written; renamed
//                                      over the hive once complete and synced
//
// A writer killed half-way leaves at most a temporary file behind, which the
// next writer removes (only a lock holder writes temporaries, so under the
// exclusive lock every one of them is stale).
#include "platform/base/WinTypes.h"

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace kw::registry {

// Identifies one version of a file: replacing it changes the inode, editing
// it in place changes size or times.
struct FileStamp {
    bool exists{false};
    dev_t device{0};
    ino_t inode{0};
    off_t size{0};
    std::int64_t modifiedNs{0};
    std::int64_t changedNs{0};

    bool operator==(const FileStamp&) const = default;
};

// The stamp of `path`; exists is false when there is no such file.
FileStamp StampOf(const std::string& path);

// An flock() on a lock file, released when this object ends.
class HiveLock {
public:
    HiveLock() = default;
    ~HiveLock() { Release(); }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

    // Takes the exclusive lock, creating the lock file when missing.
    // ERROR_CANTOPEN when the file cannot be created or opened for writing.
    [[nodiscard]] LONG AcquireExclusive(const std::string& path);
    // Takes the shared lock when it can: a missing lock file is created if
    // the folder allows it. Fails silently (Held() stays false) in a folder
    // that is read-only to us, where a reader goes on without the lock.
    void AcquireShared(const std::string& path);
    void Release();
    bool Held() const { return m_fd >= 0; }

    // The change counter kept in the lock file (0 while never bumped).
    std::uint64_t Counter() const;
    // Increments the counter; needs the exclusive lock.
    [[nodiscard]] bool BumpCounter(std::uint64_t* value);

private:
    int m_fd{-1};
};

// Creates `dir` and any missing parent with mode 0700. ERROR_CANTOPEN when
// that fails or a part of the path is not a folder.
[[nodiscard]] LONG CreateFolder(const std::string& dir);

// Reads the whole of `path` into `text` and its stamp (taken before reading)
// into `stamp`. A missing file reads as empty with stamp.exists false.
// ERROR_CANTREAD when the file cannot be read or is not a regular file.
[[nodiscard]] LONG ReadWholeFile(const std::string& path, std::string* text, FileStamp* stamp);

// Replaces dir/fileName with `text`: writes dir/<tempPrefix>XXXXXX, syncs it,
// renames it over the old file and syncs the folder. Readers see either the
// old or the new file, never a part; so does a reader after a crash at any
// moment. ERROR_CANTWRITE when the new file cannot be written (the old one
// then stays as it was).
[[nodiscard]] LONG ReplaceFile(const std::string& dir, const std::string& fileName,
                               const std::string& tempPrefix, std::string_view text);

// Deletes files named <tempPrefix>XXXXXX in `dir`.
void RemoveTemporaries(const std::string& dir, std::string_view tempPrefix);

} // namespace kw::registry
