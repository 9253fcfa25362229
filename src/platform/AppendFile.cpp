#include "platform/AppendFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace folianto {

AppendFile::~AppendFile()
{
    Close();
}

bool AppendFile::Failed(int systemCode)
{
    error_ = FileErrorOf(systemCode);
    return false;
}

bool AppendFile::Open(const QString& path, int64_t keep)
{
    Close();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return Failed(errno);
    if (keep >= 0 && ::ftruncate(fd, static_cast<off_t>(keep)) != 0) {
        const int code = errno;
        ::close(fd);
        return Failed(code);
    }
    handle_ = fd;
    return true;
}

bool AppendFile::Append(const char* data, std::size_t size)
{
    return WriteAll(data, size);
}

bool AppendFile::WriteAll(const char* data, std::size_t size)
{
    const int fd = handle_;
    if (fd < 0)
        return Failed(EBADF);
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failed(errno);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AppendFile::Sync()
{
    const int fd = handle_;
    if (fd < 0)
        return false;
    return ::fdatasync(fd) == 0;
}

void AppendFile::Close()
{
    const int fd = handle_.exchange(FileSteps::NoHandle);
    if (fd >= 0)
        ::close(fd);
}

} // namespace folianto
