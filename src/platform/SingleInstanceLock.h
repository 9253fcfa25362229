#pragma once
// Keeps a second copy of the program from running for the same user. The
// lock is an flock on a small file, held open for the lifetime of this
// object; the system releases it when the process ends, however it ends.

#include <string>

namespace folianto {

class SingleInstanceLock {
public:
    // The file is "<name>-<uid>.lock" in `directory`; by default in
    // $XDG_RUNTIME_DIR, else /tmp.
    explicit SingleInstanceLock(const std::string& name = "Folianto", const std::string& directory = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this object holds the lock (now or already); false when
    // another holder has it or the lock file cannot be used.
    bool tryAcquire();

    const std::string& path() const { return path_; }

private:
    std::string path_; // local file-name bytes
    int fd_ = -1;
};

} // namespace folianto
