#include "platform/FileSteps.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folianto {
namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// Errors of link() that mean "no hard links here", not "no access".
bool NoHardLinks(int code)
{
    return code == EPERM || code == EXDEV || code == ENOTSUP || code == EOPNOTSUPP || code == EMLINK ||
           code == ENOSYS;
}

} // namespace

bool FileSteps::Failed(int systemCode)
{
    error_ = FileErrorOf(systemCode);
    return false;
}

FileSteps::Handle FileSteps::CreateBeside(const QString& target, QString& created)
{
    struct stat old {};
    const bool replaces = ::stat(Native(target).constData(), &old) == 0 && S_ISREG(old.st_mode);
    // A file the user may not write stays as it is, though its folder would
    // allow a new one under its name.
    if (replaces && ::access(Native(target).constData(), W_OK) != 0) {
        Failed(errno);
        return NoHandle;
    }
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = target + QLatin1Char('.');
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
        // 0666 less the umask, as for any new file of the user's.
        const int fd = ::open(Native(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            Failed(errno);
            return NoHandle;
        }
        if (replaces)
            (void)::fchmod(fd, old.st_mode & 07777); // the new content keeps the file's permissions
        created = name;
        return fd;
    }
    Failed(EEXIST);
    return NoHandle;
}

bool FileSteps::Write(Handle file, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(file, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Failed(n < 0 ? errno : ENOSPC);
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool FileSteps::Sync(Handle file)
{
    return ::fsync(file) == 0 || Failed(errno);
}

bool FileSteps::Close(Handle file)
{
    // After close() failed the descriptor is gone all the same; EINTR is no
    // reason to distrust data already synced.
    return ::close(file) == 0 || errno == EINTR || Failed(errno);
}

bool FileSteps::Rename(const QString& from, const QString& to)
{
    return ::rename(Native(from).constData(), Native(to).constData()) == 0 || Failed(errno);
}

bool FileSteps::Link(const QString& existing, const QString& name)
{
    if (::link(Native(existing).constData(), Native(name).constData()) == 0)
        return true;
    if (!NoHardLinks(errno))
        return Failed(errno);
    return Copy(existing, name);
}

bool FileSteps::Copy(const QString& existing, const QString& name)
{
    const int in = ::open(Native(existing).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Failed(errno);
    QString created;
    const Handle out = CreateBeside(name, created);
    bool ok = out != NoHandle;
    char buffer[64 * 1024];
    while (ok) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = Failed(errno);
        if (n <= 0)
            break;
        ok = Write(out, buffer, static_cast<std::size_t>(n));
    }
    ::close(in);
    if (out == NoHandle)
        return false;
    ok = ok && Sync(out);
    ok = Close(out) && ok;
    ok = ok && Rename(created, name);
    if (!ok) {
        const FileError why = error_;
        Remove(created);
        error_ = why;
    }
    return ok;
}

bool FileSteps::Remove(const QString& path)
{
    return ::unlink(Native(path).constData()) == 0 || Failed(errno);
}

bool FileSteps::SyncFolder(const QString& folder)
{
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Failed(errno);
    const bool ok = ::fsync(fd) == 0 || Failed(errno);
    ::close(fd);
    return ok;
}

} // namespace folianto
