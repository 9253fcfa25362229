#include "platform/PosixPlatform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace folianto {

bool PosixPlatform::IsNetworkDrive(const std::string&) { return false; }
std::string PosixPlatform::MacAddress() { return {}; }

std::optional<double> PosixPlatform::FileLastWriteTime(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return 25569.0 + static_cast<double>(st.st_mtim.tv_sec) / 86400.0 +
           static_cast<double>(st.st_mtim.tv_nsec) / 86400e9;
}

std::string PosixPlatform::ProgramPath()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string("Folianto");
}

std::string PosixPlatform::UserName() { return {}; }
std::string PosixPlatform::ComputerName() { return {}; }
std::string PosixPlatform::IpAddress() { return {}; }
std::string PosixPlatform::ProgramVersion() { return "1.4.0.0"; }

std::string PosixPlatform::TempDir()
{
    const char* t = std::getenv("TMPDIR");
    return t && *t ? t : "/tmp";
}

} // namespace folianto
