#include "platform/registry/HiveFile.h"

#include "platform/base/AtomicFile.h"

#include "platform/registry/Registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kw::registry {

namespace {

constexpr std::size_t kTemporarySuffixLength = 6; // mkstemp's XXXXXX

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp StampFromStat(const struct stat& info) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = Nanoseconds(info.st_mtim);
    stamp.changedNs = Nanoseconds(info.st_ctim);
    return stamp;
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool LockRetrying(int fd, int operation) {
    int result;
    do {
        result = ::flock(fd, operation);
    } while (result < 0 && errno == EINTR);
    return result == 0;
}

} // namespace

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return FileStamp{};
    return StampFromStat(info);
}

LONG HiveLock::AcquireExclusive(const std::string& path) {
    Release();
    int fd = OpenRetrying(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return ERROR_CANTOPEN;
    if (!LockRetrying(fd, LOCK_EX)) {
        ::close(fd);
        return ERROR_CANTOPEN;
    }
    m_fd = fd;
    return ERROR_SUCCESS;
}

void HiveLock::AcquireShared(const std::string& path) {
    Release();
    int fd = OpenRetrying(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        fd = OpenRetrying(path.c_str(), O_RDONLY);
    if (fd < 0)
        return;
    if (!LockRetrying(fd, LOCK_SH)) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

void HiveLock::Release() {
    if (m_fd >= 0) {
        // Closing the only descriptor of this open file releases the lock.
        ::close(m_fd);
        m_fd = -1;
    }
}

std::uint64_t HiveLock::Counter() const {
    std::uint64_t value = 0;
    if (m_fd < 0 || ::pread(m_fd, &value, sizeof value, 0) != static_cast<ssize_t>(sizeof value))
        return 0;
    return value;
}

bool HiveLock::BumpCounter(std::uint64_t* value) {
    if (m_fd < 0)
        return false;
    *value = Counter() + 1;
    return ::pwrite(m_fd, value, sizeof *value, 0) == static_cast<ssize_t>(sizeof *value);
}

LONG CreateFolder(const std::string& dir) {
    if (dir.empty())
        return ERROR_CANTOPEN;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) == 0 || errno == EEXIST)
            continue;
        // Some systems answer EACCES or EROFS for a folder that exists.
        struct stat info {};
        if (::stat(part.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return ERROR_CANTOPEN;
    }
    struct stat info {};
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return ERROR_CANTOPEN;
    return ERROR_SUCCESS;
}

LONG ReadWholeFile(const std::string& path, std::string* text, FileStamp* stamp) {
    text->clear();
    *stamp = FileStamp{};
    // O_NONBLOCK: a FIFO put in the hive's place must not hang the reader.
    int fd = OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? ERROR_SUCCESS : ERROR_CANTREAD;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ERROR_CANTREAD;
    }
    *stamp = StampFromStat(info);
    char buffer[65536];
    while (true) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            text->clear();
            return ERROR_CANTREAD;
        }
        if (got == 0)
            break;
        text->append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ERROR_SUCCESS;
}

LONG ReplaceFile(const std::string& dir, const std::string& fileName, const std::string& tempPrefix,
                 std::string_view text) {
    return kw::ReplaceFileAtomically(dir, fileName, tempPrefix, text) ? ERROR_SUCCESS
                                                                      : ERROR_CANTWRITE;
}

void RemoveTemporaries(const std::string& dir, std::string_view tempPrefix) {
    DIR* folder = ::opendir(dir.c_str());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        std::string_view name = entry->d_name;
        if (name.size() == tempPrefix.size() + kTemporarySuffixLength &&
            name.starts_with(tempPrefix))
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

} // namespace kw::registry
