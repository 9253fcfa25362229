#include "platform/ReplacementFile.h"

#include <QFileInfo>

namespace folianto {

ReplacementFile::ReplacementFile(const QString& target, FileSteps* steps)
    : steps_(steps ? *steps : own_), target_(target)
{
}

ReplacementFile::~ReplacementFile()
{
    if (handle_ != FileSteps::NoHandle)
        steps_.Close(handle_);
    if (!created_.isEmpty() && !replaced_)
        steps_.Remove(created_);
}

bool ReplacementFile::open(OpenMode mode)
{
    if (mode != WriteOnly || isOpen())
        return false;
    handle_ = steps_.CreateBeside(target_, created_);
    return handle_ != FileSteps::NoHandle && QIODevice::open(mode);
}

qint64 ReplacementFile::writeData(const char* data, qint64 size)
{
    if (handle_ == FileSteps::NoHandle || !steps_.Write(handle_, data, static_cast<std::size_t>(size)))
        return -1;
    return size;
}

bool ReplacementFile::finish()
{
    if (handle_ == FileSteps::NoHandle)
        return false;
    const bool synced = steps_.Sync(handle_);
    const bool closed = steps_.Close(handle_);
    handle_ = FileSteps::NoHandle;
    QIODevice::close();
    finished_ = synced && closed;
    return finished_;
}

bool ReplacementFile::replace()
{
    if (!finished_ || !steps_.Rename(created_, target_))
        return false;
    replaced_ = true;
    // The new name is in place; a folder that cannot be synced (some file
    // systems refuse it) does not undo that.
    steps_.SyncFolder(QFileInfo(target_).absolutePath());
    return true;
}

bool ReplaceFileContent(const QString& target, const char* data, std::size_t size, FileError& why)
{
    ReplacementFile file(target);
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    file.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size) && file.finish() &&
                    file.replace();
    why = ok ? FileError{} : file.failure();
    return ok;
}

} // namespace folianto
