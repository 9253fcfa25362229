#include "core/NetworkLock.h"

#include "shell/App.h"

namespace folianto {

bool Networking_OK(App&, const std::string&) { return true; }
void EraseSemaphoreFile(App&, const std::string&) {}

} // namespace folianto
