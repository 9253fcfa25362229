#pragma once
// Where the program keeps its settings file, its trace log and the recovery
// files of unsaved changes. A settings file beside the program (portable use)
// keeps them all beside the program; otherwise they live in the user's
// folders, which an installed program can write: the configuration folder
// ($XDG_CONFIG_HOME/folianto) and the state folder ($XDG_STATE_HOME/folianto).

#include <string>

namespace folianto {

// Paths are Windows-1252 bytes. `programPath` is the running program file.
std::string SettingsFilePath(const std::string& programPath);
std::string TraceLogPath(const std::string& programPath);
// The folder of the recovery files of unsaved changes, beside the trace log.
std::string RecoveryFolderPath(const std::string& programPath);

// The user's folders; without the program's subfolder.
std::string UserConfigDir();
std::string UserStateDir();

} // namespace folianto
