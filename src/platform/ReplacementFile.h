#pragma once
// The new content of a user's file, written under a fresh name beside it.
// The file's own name keeps the old content until `replace`, so the name is
// never missing or half-written, whenever the process ends.

#include "platform/FileSteps.h"

#include <QIODevice>
#include <QString>

namespace folianto {

class ReplacementFile : public QIODevice {
public:
    // The steps are those of the system unless a test hands in its own.
    explicit ReplacementFile(const QString& target, FileSteps* steps = nullptr);
    ~ReplacementFile() override; // an unfinished new file goes
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the new file; WriteOnly is the only mode.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // Puts the written content on the disk and closes the new file.
    bool finish();
    // Gives the finished content the target's name, replacing the old
    // content in one step.
    bool replace();

    const QString& target() const { return target_; }
    FileSteps& steps() { return steps_; }
    // Why the last step that failed failed.
    const FileError& failure() const { return steps_.error(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    FileSteps own_;
    FileSteps& steps_;
    const QString target_;
    QString created_;
    FileSteps::Handle handle_ = FileSteps::NoHandle;
    bool finished_ = false;
    bool replaced_ = false;
};

// Replaces the file at `target` by `size` bytes from `data` the same way.
// False on failure, with the reason in `why`.
bool ReplaceFileContent(const QString& target, const char* data, std::size_t size, FileError& why);

} // namespace folianto
