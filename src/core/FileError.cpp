#include "core/FileError.h"

#include <cerrno>

namespace folianto {

FileError FileErrorOf(int systemCode)
{
    FileProblem problem = FileProblem::Other;
    switch (systemCode) {
    case EACCES:
    case EPERM: problem = FileProblem::NoPermission; break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: problem = FileProblem::DiskFull; break;
    case ENOENT:
    case ENOTDIR: problem = FileProblem::FolderMissing; break;
    case EROFS: problem = FileProblem::ReadOnlyDisk; break;
    case ENAMETOOLONG: problem = FileProblem::NameTooLong; break;
    case EISDIR: problem = FileProblem::IsFolder; break;
    default: break;
    }
    return {problem, systemCode};
}

} // namespace folianto
