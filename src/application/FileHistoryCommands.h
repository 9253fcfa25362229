#pragma once
// The file history entries of the File menu and what choosing one does.

#include <functional>
#include <string>
#include <vector>

namespace folianto {

struct App;

// Captions of the history entries below the fixed File menu: "&1 path", ...
std::vector<std::string> Adjust_FileMenu(const App& app);

// Loads a database file: Load_Buch_Data in the program, fakes in tests.
using BuchLoader = std::function<bool(App& app, const std::string& path, std::string& errParam)>;

// A history entry was chosen: loads the file named in its caption and
// refreshes the grid, or reports why not. Returns true when it loaded.
bool DoAutoItemClick(App& app, const std::string& caption, const BuchLoader& load);
// The same with Load_Buch_Data.
bool DoAutoItemClick(App& app, const std::string& caption);

} // namespace folianto
