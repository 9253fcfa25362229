#pragma once
#include "platform/Platform.h"

namespace folianto {

class PosixPlatform : public Platform {
public:
    bool IsNetworkDrive(const std::string& path) override;
    std::string MacAddress() override;
    std::optional<double> FileLastWriteTime(const std::string& path) override;
    std::string ProgramPath() override;
    std::string UserName() override;
    std::string ComputerName() override;
    std::string IpAddress() override;
    std::string ProgramVersion() override;
    std::string TempDir() override;
};

} // namespace folianto
