#pragma once
// Shared steps of the import and export commands.

#include "cli/Command.h"

#include <functional>
#include <string>

namespace folianto::cli {

// Loads DB, or keeps the empty store for an empty path. False, after the
// reason was printed, when the file could not be loaded.
bool PrepareApp(Context& context, const std::string& dbPath);

// Loads DB and fills the grid as a refresh does.
bool LoadAndShow(Context& context, const std::string& dbPath);

// The import commands: start from --into DB (or an empty store), let `import`
// read the file of the first argument, save to the second.
int RunImport(Context& context, const Args& args, const std::function<bool(App&)>& import);

} // namespace folianto::cli
