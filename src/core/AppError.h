#pragma once
// An error that ends the current command. The message is Windows-1252 text
// meant for the user; the application-wide handler shows and logs it.

#include <stdexcept>
#include <string>

namespace folianto {

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace folianto
