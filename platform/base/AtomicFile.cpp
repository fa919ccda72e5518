#include "platform/base/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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

} // namespace

bool ReplaceFileAtomically(const std::string& dir, const std::string& fileName,
                           const std::string& tempPrefix, std::string_view text) {
    std::string temporary = dir + "/" + tempPrefix + "XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    if (::close(fd) != 0)
        written = false;
    std::string target = dir + "/" + fileName;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is durable once the folder is synced. The new file is
    // already visible and complete, so a folder that cannot be synced (some
    // file systems refuse it) does not make the change a failure.
    int dirFd;
    do {
        dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (dirFd < 0 && errno == EINTR);
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
