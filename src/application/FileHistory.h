#pragma once
// The recently opened database files of the File menu.

#include <string>
#include <vector>

namespace folianto {

constexpr int MaxHistory = 5;

class FileHistory {
public:
    // New paths go to the front; a known path keeps its place; a path without
    // printable characters is ignored. Returns true when the list changed.
    bool Add2History(const std::string& path);

    std::vector<std::string> Paths;  // front = most recent
};

} // namespace folianto
