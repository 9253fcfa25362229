#pragma once
// Why a file-system call failed, from the system's error number.

namespace folianto {

// Why a file-system call failed, in terms the user can act on.
enum class FileProblem { None, NoPermission, DiskFull, FolderMissing, ReadOnlyDisk, NameTooLong, IsFolder, Other };

struct FileError {
    FileProblem problem = FileProblem::None;
    int code = 0; // the system's error number
};

FileError FileErrorOf(int systemCode);

} // namespace folianto
