#pragma once
// A file that only grows at its end, for a record of changes that must
// survive the end of the process at any instant: what one Append wrote is
// in the file once Append returns, even if the process is killed after.

#include "platform/FileSteps.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace folianto {

class AppendFile {
public:
    AppendFile() = default;
    virtual ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens `path` for appending, creating it readable for the user only;
    // with `keep` >= 0 the content beyond that many bytes goes first.
    bool Open(const QString& path, int64_t keep = -1);
    virtual bool Append(const char* data, std::size_t size);
    // Puts the content on the disk. May run on another thread than Append,
    // but not at the same time as Open or Close.
    bool Sync();
    void Close();
    bool IsOpen() const { return handle_ != FileSteps::NoHandle; }
    const FileError& error() const { return error_; }

protected:
    // Writes the bytes to the open file; false with the reason on failure.
    bool WriteAll(const char* data, std::size_t size);

private:
    bool Failed(int systemCode);

    std::atomic<FileSteps::Handle> handle_{FileSteps::NoHandle};
    FileError error_;
};

} // namespace folianto
