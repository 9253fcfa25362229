#include "platform/SingleInstanceLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folianto {

SingleInstanceLock::SingleInstanceLock(const std::string& name, const std::string& directory)
{
    std::string dir = directory;
    if (dir.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        dir = runtime && *runtime ? runtime : "/tmp";
    }
    if (dir.back() != '/')
        dir += '/';
    const std::string base = dir + name + "-" + std::to_string(::geteuid());
    path_ = base + ".lock";
    channelPath_ = base + ".socket";
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool SingleInstanceLock::tryAcquire()
{
    if (fd_ >= 0)
        return true;
    // No symlinks, and only a file of our own: /tmp is shared with others.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || !S_ISREG(st.st_mode) ||
        ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool IsOwnFile(const std::string& nativePath)
{
    struct stat st {};
    return ::lstat(nativePath.c_str(), &st) == 0 && st.st_uid == ::geteuid();
}

} // namespace folianto
