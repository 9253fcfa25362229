#pragma once
// The file-system calls that replace a user's file by its new content, one
// virtual call per step so that tests can make any one of them fail, or end
// the process there.

#include "core/FileError.h"

#include <QString>

#include <cstddef>

namespace folianto {

class FileSteps {
public:
    using Handle = int;
    static constexpr Handle NoHandle = -1;

    virtual ~FileSteps() = default;

    // A new empty file in the folder of `target`, under a fresh name
    // (`created`), with the permissions `target` has. NoHandle on failure.
    virtual Handle CreateBeside(const QString& target, QString& created);
    virtual bool Write(Handle file, const char* data, std::size_t size);
    // Puts the file's content on the disk.
    virtual bool Sync(Handle file);
    virtual bool Close(Handle file);
    // Gives the file `from` the name `to` in one step, replacing a file there.
    virtual bool Rename(const QString& from, const QString& to);
    // A second name `name` (not in use) for the file `existing`; a complete
    // copy where the file system has no hard links.
    virtual bool Link(const QString& existing, const QString& name);
    virtual bool Remove(const QString& path);
    // Puts the names in `folder` on the disk.
    virtual bool SyncFolder(const QString& folder);

    // Why the last call that failed failed.
    const FileError& error() const { return error_; }

protected:
    // Copies `existing` to a new file beside `name` and renames that to `name`.
    bool Copy(const QString& existing, const QString& name);
    // Records the failure; always false.
    bool Failed(int systemCode);

private:
    FileError error_;
};

} // namespace folianto
