#pragma once
// The operating-system layer for Linux and other POSIX systems.

#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

class PosixPlatform : public Platform {
public:
    // statfs of the path, or of its nearest existing parent directory.
    bool IsNetworkDrive(const std::string& path) override;
    std::string MacAddress() override;
    std::optional<double> FileLastWriteTime(const std::string& path) override;
    // /proc/self/exe; empty when the system does not tell.
    std::string ProgramPath() override;
    std::string UserName() override;
    std::string ComputerName() override;
    // First IPv4 address of a non-loopback interface; empty when none.
    std::string IpAddress() override;
    std::string ProgramVersion() override;
    // $TEMP, else $TMPDIR, else /tmp; without a trailing separator.
    std::string TempDir() override;
};

// Rules behind the system calls, kept pure for tests.

// True for file systems that reach another computer: by the statfs magic,
// and for FUSE mounts by the mount's type from mountinfo ("fuse.sshfs").
bool IsNetworkFileSystem(std::uint32_t magic, const std::string& fstype);

// Type of the mount holding `path` (absolute, symlinks resolved), taken from
// the text of /proc/self/mountinfo; empty when no line matches.
std::string MountFsType(const std::string& mountinfo, const std::string& path);

// "AA-BB-CC-DD-EE-FF" from the first six bytes; empty when fewer.
std::string FormatMacAddress(const std::vector<std::uint8_t>& hardwareAddress);

// The address of the first adapter, in the given order, whose first six
// bytes are not all zero; empty when there is none.
std::string SelectMacAddress(const std::vector<std::vector<std::uint8_t>>& adapters);

// "a.b.c.d" with missing parts as 0 and extra parts dropped.
std::string FourPartVersion(const std::string& version);

} // namespace folianto
