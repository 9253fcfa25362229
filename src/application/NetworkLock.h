#pragma once
// Advisory lock of a database file on a network drive: a semaphore file
// beside it (x.FOL gives X.SEM) naming the computer that loaded the data.
//
// The semaphore file's name part is always upper-cased, for the check as well
// as for writing and removing, so that on a case-sensitive file system all
// three refer to the same file.
//
// Checking, writing and removing the semaphore file of an App's database
// file: application/SemaphoreFile.h.

#include <optional>
#include <string>

namespace folianto {

class Platform;

class NetworkLock {
public:
    double NetSemTime = -1.0; // last-write time of the semaphore file the user accepted
};

// Line 1 of every semaphore file.
inline constexpr char SemaphoreHeader[] = "SEMAPHOREN-DATEI       ---   NICHT VERAENDERN  ---  NICHT LOESCHEN";

// Semaphore file of a path: its directory, then its name (the program's own
// file name when the path is empty) with ".SEM" for the extension, upper-cased.
std::string SemaphoreFileName(Platform& platform, const std::string& path);

struct SemaphoreLines {
    std::string header;
    std::string mac;
};
// The first two lines of a semaphore file; nothing when it cannot be read.
std::optional<SemaphoreLines> ReadSemaphoreFile(const std::string& semPath);

// Deletes the file when it exists; errors are ignored.
void EraseFile(const std::string& path);
// This computer's adapter address, "AA-BB-CC-DD-EE-FF"; empty when unknown.
std::string GetMACAdress(Platform& platform);

} // namespace folianto
