#pragma once
#include <cstdint>
#include <string>

namespace folianto {

struct FileError;

// German message for error number `nr` with the text parameter `p`.
std::string GetErrorText(uint8_t nr, const std::string& p = {});

// Why a file could not be written, as one German sentence; empty when the
// error names no reason.
std::string FileErrorText(const FileError& error);
// `message`, then the reason on a line of its own when there is one.
std::string WithReason(const std::string& message, const FileError& error);

} // namespace folianto
