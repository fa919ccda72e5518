#include "platform/base/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace kw {

namespace {

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A writer holds an exclusive lock on its temporary file for as long as it
// lives, so a temporary file whose lock can be taken belongs to a writer that
// died before its rename: nobody will ever finish it.
void RemoveAbandonedTemporaries(const std::string& dir, const std::string& tempPrefix) {
    DIR* folder = ::opendir(dir.c_str());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(tempPrefix) || name.size() != tempPrefix.size() + 6)
            continue;
        const std::string path = dir + "/" + std::string(name);
        const int fd = OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(folder);
}

std::string RandomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
    std::string suffix(6, 'x');
    for (char& c : suffix)
        c = kLetters[random() % (sizeof kLetters - 1)];
    return suffix;
}

// Gives the complete unnamed file `fd` a temporary name in the folder;
// false when it cannot (no /proc, or a file system that refuses the link).
bool NameUnnamedFile(int fd, const std::string& dir, const std::string& tempPrefix,
                     std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = dir + "/" + tempPrefix + RandomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The new contents in a named temporary file, locked, written and synced.
int WriteNamedTemporary(const std::string& dir, const std::string& tempPrefix,
                        std::string_view text, std::string& name) {
    name = dir + "/" + tempPrefix + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX) != 0 || !WriteAll(fd, text) || ::fsync(fd) != 0) {
        ::unlink(name.c_str());
        ::close(fd);
        return -1;
    }
    return fd;
}

// The new contents in a temporary file of the folder, locked, written and
// synced, and given a name only once complete: an unnamed file where the
// system offers one, so a writer killed while writing leaves nothing; a
// named one otherwise. Returns the open descriptor and sets `name`; -1 on
// failure.
int WriteTemporary(const std::string& dir, const std::string& tempPrefix, std::string_view text,
                   std::string& name) {
    const int fd = OpenRetrying(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        if (::flock(fd, LOCK_EX) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0 &&
            NameUnnamedFile(fd, dir, tempPrefix, name))
            return fd;
        ::close(fd);
    }
    return WriteNamedTemporary(dir, tempPrefix, text, name);
}

} // namespace

bool ReplaceFileAtomically(const std::string& dir, const std::string& fileName,
                           const std::string& tempPrefix, std::string_view text) {
    RemoveAbandonedTemporaries(dir, tempPrefix);
    std::string temporary;
    const int fd = WriteTemporary(dir, tempPrefix, text, temporary);
    if (fd < 0)
        return false;
    const std::string target = dir + "/" + fileName;
    const bool renamed = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!renamed)
        ::unlink(temporary.c_str());
    // Closing drops the lock; by then the name is the target's or gone.
    if (::close(fd) != 0 || !renamed)
        return false;
    // The rename is durable once the folder is synced. The new file is
    // already visible and complete, so a folder that cannot be synced (some
    // file systems refuse it) does not make the change a failure.
    const int dirFd = OpenRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view text) {
    auto slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty())
        return false;
    return ReplaceFileAtomically(dir, name, name + ".tmp-", text);
}

} // namespace kw
