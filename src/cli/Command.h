#pragma once
// Subcommands of folianto-cli register themselves; main dispatches by name.

#include "cli/CliInteraction.h"
#include "platform/PosixPlatform.h"
#include "application/App.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace folianto::cli {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// Parsed command line: positional arguments and "--name value" options
// (flags without a value map to "").
struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::string value(const std::string& name, const std::string& fallback = {}) const
    {
        auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

// Everything a command works with: the scripted user, the platform and a
// fresh application object.
struct Context {
    CliInteraction ui;
    PosixPlatform platform;
    App app{ui, platform};
};

struct Command {
    std::string name;
    std::string usage;              // one line, shown by help
    std::vector<std::string> flags; // options without a value
    int minArgs = 0;
    int maxArgs = 0;
    std::function<int(Context&, const Args&)> run;
};

bool RegisterCommand(Command command);
const std::map<std::string, Command>& Commands();

} // namespace folianto::cli
