#pragma once
// The file-system calls that replace a file by its new version, behind one
// interface so that tests can make any one of them fail.

#include <QString>

#include <memory>

class QIODevice;
class QSaveFile;

namespace folianto {

class FileSteps {
public:
    virtual ~FileSteps() = default;
    // The device the new content goes through on its way to `file`; null
    // writes to `file` directly.
    virtual std::unique_ptr<QIODevice> WriteThrough(QIODevice& file);
    virtual bool Rename(const QString& from, const QString& to);
    virtual bool Remove(const QString& path);
    // Gives the completely written file its name.
    virtual bool Commit(QSaveFile& file);
};

} // namespace folianto
