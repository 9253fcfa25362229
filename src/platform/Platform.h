#pragma once
// What the operating system provides, behind one interface so tests can fake it.

#include <optional>
#include <string>

namespace folianto {

class Platform {
public:
    virtual ~Platform() = default;

    // Paths are Windows-1252 bytes as everywhere in the logic.
    virtual bool IsNetworkDrive(const std::string& path) = 0;
    // Hardware address of the first adapter with a non-zero one, "AA-BB-..";
    // empty when none is available.
    virtual std::string MacAddress() = 0;
    // Last-write time as a day count since 30 Dec 1899 (local time); nothing
    // when the file does not exist.
    virtual std::optional<double> FileLastWriteTime(const std::string& path) = 0;
    // Full path of the running program file.
    virtual std::string ProgramPath() = 0;
    virtual std::string UserName() = 0;
    virtual std::string ComputerName() = 0;
    virtual std::string IpAddress() = 0;
    virtual std::string ProgramVersion() = 0; // four numbers joined by "."
    virtual std::string TempDir() = 0;
};

// A machine without network, names or file times; for benchmarks and fuzz targets.
class NullPlatform : public Platform {
public:
    bool IsNetworkDrive(const std::string&) override { return false; }
    std::string MacAddress() override { return {}; }
    std::optional<double> FileLastWriteTime(const std::string&) override { return std::nullopt; }
    std::string ProgramPath() override { return {}; }
    std::string UserName() override { return {}; }
    std::string ComputerName() override { return {}; }
    std::string IpAddress() override { return {}; }
    std::string ProgramVersion() override { return {}; }
    std::string TempDir() override { return {}; }
};

} // namespace folianto
