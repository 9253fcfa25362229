#pragma once
// Shared steps of the import and export commands.

#include "cli/Command.h"

#include <string>

namespace folianto::cli {

// Loads DB, or keeps the empty store for an empty path. False, after the
// reason was printed, when the file could not be loaded.
bool PrepareApp(Context& context, const std::string& dbPath);

// Loads DB and fills the grid as a refresh does.
bool LoadAndShow(Context& context, const std::string& dbPath);

} // namespace folianto::cli
