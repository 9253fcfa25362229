#pragma once
// Advisory lock of a database file on a network drive: a .SEM file beside it.

#include <string>

namespace folianto {

struct App;

class NetworkLock {
public:
    double NetSemTime = -1.0; // last-write time of the foreign .SEM file the user accepted
};

// True when the load may go on.
bool Networking_OK(App& app, const std::string& dbPath);
void EraseSemaphoreFile(App& app, const std::string& dbPath);

} // namespace folianto
