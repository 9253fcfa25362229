#include "platform/RawFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace folianto {

bool WriteWholeFile(const char* nativePath, const ByteRange* ranges, std::size_t count) noexcept
{
    const int fd = ::open(nativePath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    for (std::size_t i = 0; ok && i < count; ++i) {
        const char* p = static_cast<const char*>(ranges[i].data);
        std::size_t left = ranges[i].size;
        while (left > 0) {
            const ssize_t n = ::write(fd, p, left);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = false;
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (::close(fd) != 0)
        ok = false;
    return ok;
}

} // namespace folianto
