#pragma once
// Keeps a second copy of the program from running for the same user. The
// lock is an flock on a small file, held open for the lifetime of this
// object; the system releases it when the process ends, however it ends.

#include <string>

namespace folianto {

class SingleInstanceLock {
public:
    // The file is "<name>-<uid>.lock" in `directory` (a native path); by
    // default in $XDG_RUNTIME_DIR, else /tmp.
    explicit SingleInstanceLock(const std::string& name = "Folianto", const std::string& directory = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this object holds the lock (now or already); false when
    // another holder has it or the lock file cannot be used.
    bool tryAcquire();

    const std::string& path() const { return path_; }
    // Where the running instance listens for files from later starts:
    // "<name>-<uid>.socket" beside the lock file.
    const std::string& channelPath() const { return channelPath_; }

private:
    std::string path_; // local file-name bytes
    std::string channelPath_;
    int fd_ = -1;
};

// True when `nativePath` names an entry (not followed if a symlink) owned by
// this user: a socket in a shared folder may have been put there by another.
bool IsOwnFile(const std::string& nativePath);

} // namespace folianto
