#pragma once
// The semaphore file of the database file an App loads: checked before a
// load, written after it, removed when the data are closed.

#include <string>

namespace folianto {

struct App;

// True when the load may go on: the file is local, nobody else's semaphore
// file is there (or the user accepted it before), or the user confirms now.
// Throws when a semaphore file exists but cannot be read.
bool Networking_OK(App& app, const std::string& dbPath);

// Writes the semaphore file of `path` with this computer's address; errors are ignored.
void CreateSemaphoreFile(App& app, const std::string& path);
// Removes the semaphore file of `dbPath` when it carries this computer's
// address or none; errors are ignored.
void EraseSemaphoreFile(App& app, const std::string& dbPath);

} // namespace folianto
