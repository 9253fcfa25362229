#pragma once
// Advisory lock of a database file on a network drive: a semaphore file
// beside it (x.FOL gives X.SEM) naming the computer that loaded the data.
//
// The semaphore file's name part is always upper-cased, for the check as well
// as for writing and removing, so that on a case-sensitive file system all
// three refer to the same file.

#include <string>

namespace folianto {

struct App;
class Platform;

class NetworkLock {
public:
    double NetSemTime = -1.0; // last-write time of the semaphore file the user accepted
};

// Line 1 of every semaphore file.
inline constexpr char SemaphoreHeader[] = "SEMAPHOREN-DATEI       ---   NICHT VERAENDERN  ---  NICHT LOESCHEN";

// True when the load may go on: the file is local, nobody else's semaphore
// file is there (or the user accepted it before), or the user confirms now.
// Throws when a semaphore file exists but cannot be read.
bool Networking_OK(App& app, const std::string& dbPath);

// Semaphore file of a path: its directory, then its name (the program's own
// file name when the path is empty) with ".SEM" for the extension, upper-cased.
std::string SemaphoreFileName(Platform& platform, const std::string& path);

// Writes the semaphore file of `path` with this computer's address; errors are ignored.
void CreateSemaphoreFile(App& app, const std::string& path);
// Removes the semaphore file of `dbPath` when it carries this computer's
// address or none; errors are ignored.
void EraseSemaphoreFile(App& app, const std::string& dbPath);
// Deletes the file when it exists; errors are ignored.
void EraseFile(const std::string& path);
// This computer's adapter address, "AA-BB-CC-DD-EE-FF"; empty when unknown.
std::string GetMACAdress(Platform& platform);

} // namespace folianto
