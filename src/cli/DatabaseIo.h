#pragma once
// Loading and saving for the commands, with the messages the GUI would show
// printed as error lines.

#include <string>

namespace folianto {
struct App;
}

namespace folianto::cli {

// Both take a path as given on the command line (local 8-bit text).
bool LoadOrReport(App& app, const std::string& path);
bool SaveOrReport(App& app, const std::string& path);

} // namespace folianto::cli
