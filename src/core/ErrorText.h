#pragma once
#include <cstdint>
#include <string>

namespace folianto {

// German message for error number `nr` with the text parameter `p`.
std::string GetErrorText(uint8_t nr, const std::string& p = {});

} // namespace folianto
