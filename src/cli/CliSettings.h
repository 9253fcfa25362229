#pragma once
// The global option "--ini PATH", applied by main before every command: the
// settings are read from that file. Without it the built-in defaults apply.
// The command-line tool never writes settings.

#include "cli/Command.h"

namespace folianto::cli {

// False, after an error message, when PATH does not exist or cannot be read;
// the command then ends with ExitFailed.
bool ApplyIniOption(Context& context, const Args& args);

} // namespace folianto::cli
