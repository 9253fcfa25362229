#include "platform/PosixPlatform.h"

#include "core/Codec.h"

#include <QByteArray>
#include <QFile>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace folianto {
namespace {

namespace fs = std::filesystem;

// statfs magic numbers of network file systems.
constexpr std::array<std::uint32_t, 11> kNetworkMagics = {
    0x00006969, // NFS
    0x0000517B, // SMB
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2/3
    0x5346414F, // AFS (OpenAFS)
    0x6B414653, // kAFS
    0x01021997, // 9P
    0x00C36400, // Ceph
    0x73757245, // Coda
    0x0000564C, // NCP
    0x0BD00BD0, // Lustre
};
constexpr std::uint32_t kFuseMagic = 0x65735546;

// FUSE file systems that reach another computer, by mount type without the
// "fuse." prefix. Other FUSE types (ntfs-3g, encfs, AppImage, ...) are local.
constexpr std::array<const char*, 22> kNetworkFuseTypes = {
    "sshfs",     "sftpfs",   "curlftpfs",  "rclone",  "s3fs",      "gcsfuse",       "goofys", "blobfuse",
    "blobfuse2", "davfs",    "smbnetfs",   "afpfs",   "afpfs-ng",  "mountpoint-s3", "ceph",   "ceph-fuse",
    "glusterfs", "lizardfs", "mfs",        "juicefs", "seaweedfs", "gvfsd-fuse",
};

std::string Native(const std::string& cp1252Path)
{
    return QFile::encodeName(PathFromCp1252(cp1252Path)).toStdString();
}

std::string FromLocal(const char* bytes)
{
    return PathToCp1252(QFile::decodeName(QByteArray(bytes)));
}

// Mount points in mountinfo escape blank, tab, newline and backslash as \ooo.
std::string UnescapeMountPath(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string oct = s.substr(i + 1, 3);
            if (std::all_of(oct.begin(), oct.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(oct, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

bool PathIsUnder(const std::string& path, const std::string& mountPoint)
{
    if (mountPoint == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

// Every interface address the system reports, released on scope exit.
class InterfaceList {
public:
    InterfaceList()
    {
        if (::getifaddrs(&list_) != 0)
            list_ = nullptr;
    }
    ~InterfaceList()
    {
        if (list_)
            ::freeifaddrs(list_);
    }
    InterfaceList(const InterfaceList&) = delete;
    InterfaceList& operator=(const InterfaceList&) = delete;
    const ifaddrs* first() const { return list_; }

private:
    ifaddrs* list_ = nullptr;
};

} // namespace

bool IsNetworkFileSystem(std::uint32_t magic, const std::string& fstype)
{
    if (std::find(kNetworkMagics.begin(), kNetworkMagics.end(), magic) != kNetworkMagics.end())
        return true;
    if (magic != kFuseMagic)
        return false;
    const std::string prefix = "fuse.";
    const std::string sub = fstype.compare(0, prefix.size(), prefix) == 0 ? fstype.substr(prefix.size()) : fstype;
    return std::any_of(kNetworkFuseTypes.begin(), kNetworkFuseTypes.end(),
                       [&](const char* t) { return sub == t; });
}

std::string MountFsType(const std::string& mountinfo, const std::string& path)
{
    std::istringstream lines(mountinfo);
    std::string line;
    std::string bestType;
    std::size_t bestLength = 0;
    bool found = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string w; fields >> w;)
            f.push_back(w);
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const auto sep = std::find(f.begin() + std::min<std::size_t>(f.size(), 6), f.end(), "-");
        if (f.size() < 5 || sep == f.end() || sep + 1 == f.end())
            continue;
        const std::string mountPoint = UnescapeMountPath(f[4]);
        // The longest mount point holding the path wins; among equal ones the
        // later line, which is mounted on top.
        if (PathIsUnder(path, mountPoint) && (!found || mountPoint.size() >= bestLength)) {
            found = true;
            bestLength = mountPoint.size();
            bestType = *(sep + 1);
        }
    }
    return bestType;
}

std::string FormatMacAddress(const std::vector<std::uint8_t>& hardwareAddress)
{
    if (hardwareAddress.size() < 6)
        return {};
    char buf[18];
    std::snprintf(buf, sizeof buf, "%02X-%02X-%02X-%02X-%02X-%02X", hardwareAddress[0], hardwareAddress[1],
                  hardwareAddress[2], hardwareAddress[3], hardwareAddress[4], hardwareAddress[5]);
    return buf;
}

std::string SelectMacAddress(const std::vector<std::vector<std::uint8_t>>& adapters)
{
    for (const auto& a : adapters) {
        const std::string mac = FormatMacAddress(a);
        if (!mac.empty() && mac != "00-00-00-00-00-00")
            return mac;
    }
    return {};
}

std::string FourPartVersion(const std::string& version)
{
    std::istringstream in(version);
    std::string out;
    std::string part;
    for (int i = 0; i < 4; ++i) {
        long n = 0;
        if (std::getline(in, part, '.'))
            n = std::strtol(part.c_str(), nullptr, 10);
        out += (i ? "." : "") + std::to_string(n);
    }
    return out;
}

bool PosixPlatform::IsNetworkDrive(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(Native(path)), ec).lexically_normal();
    if (ec)
        return false;
    struct statfs sf {};
    while (::statfs(p.c_str(), &sf) != 0) {
        const fs::path parent = p.parent_path();
        if (parent.empty() || parent == p)
            return false;
        p = parent;
    }
    const auto magic = static_cast<std::uint32_t>(sf.f_type);
    if (magic != kFuseMagic)
        return IsNetworkFileSystem(magic, {});
    const fs::path real = fs::canonical(p, ec);
    std::ifstream in("/proc/self/mountinfo");
    std::ostringstream text;
    text << in.rdbuf();
    return IsNetworkFileSystem(magic, MountFsType(text.str(), (ec ? p : real).string()));
}

std::string PosixPlatform::MacAddress()
{
    InterfaceList list;
    std::vector<std::vector<std::uint8_t>> adapters;
    for (const ifaddrs* i = list.first(); i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_PACKET)
            continue;
        const auto* ll = reinterpret_cast<const sockaddr_ll*>(i->ifa_addr);
        const std::size_t len = std::min<std::size_t>(ll->sll_halen, sizeof ll->sll_addr);
        adapters.emplace_back(ll->sll_addr, ll->sll_addr + len);
    }
    return SelectMacAddress(adapters);
}

std::optional<double> PosixPlatform::FileLastWriteTime(const std::string& path)
{
    struct stat st {};
    if (::stat(Native(path).c_str(), &st) != 0)
        return std::nullopt;
    // Local wall-clock time of the modification, from integers only, so the
    // same file always gives the same value.
    const std::time_t t = st.st_mtim.tv_sec;
    std::tm local {};
    ::localtime_r(&t, &local);
    const long long localSeconds = static_cast<long long>(t) + local.tm_gmtoff;
    return 25569.0 + static_cast<double>(localSeconds) / 86400.0 +
           static_cast<double>(st.st_mtim.tv_nsec) / 86400e9;
}

std::string PosixPlatform::ProgramPath()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    buf[n] = '\0';
    return FromLocal(buf);
}

std::string PosixPlatform::UserName()
{
    std::vector<char> buf(16384);
    passwd pw {};
    passwd* result = nullptr;
    if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &result) == 0 && result)
        return FromLocal(result->pw_name);
    const char* user = std::getenv("USER");
    return user ? FromLocal(user) : std::string();
}

std::string PosixPlatform::ComputerName()
{
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0)
        return {};
    return FromLocal(buf);
}

std::string PosixPlatform::IpAddress()
{
    InterfaceList list;
    for (const ifaddrs* i = list.first(); i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_LOOPBACK))
            continue;
        char buf[INET_ADDRSTRLEN];
        const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, buf, sizeof buf))
            return buf;
    }
    return {};
}

std::string PosixPlatform::ProgramVersion()
{
    return FourPartVersion(FOLIANTO_VERSION);
}

std::string PosixPlatform::TempDir()
{
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* t = std::getenv(name);
        if (t && *t) {
            std::string dir = FromLocal(t);
            while (dir.size() > 1 && dir.back() == '/')
                dir.pop_back();
            return dir;
        }
    }
    return "/tmp";
}

} // namespace folianto
