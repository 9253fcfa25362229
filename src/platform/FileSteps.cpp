#include "platform/FileSteps.h"

#include <QFile>
#include <QSaveFile>

namespace folianto {

std::unique_ptr<QIODevice> FileSteps::WriteThrough(QIODevice&)
{
    return nullptr;
}

bool FileSteps::Rename(const QString& from, const QString& to)
{
    return QFile::rename(from, to);
}

bool FileSteps::Remove(const QString& path)
{
    return QFile::remove(path);
}

bool FileSteps::Commit(QSaveFile& file)
{
    return file.commit();
}

} // namespace folianto
