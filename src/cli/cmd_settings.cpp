// folianto-cli settings [--ini PATH]: prints the settings in force, in the
// layout of the settings file (UTF-8, LF).

#include "cli/Command.h"
#include "config/IniFile.h"
#include "application/SettingsFile.h"
#include "core/Codec.h"

#include <iostream>

namespace folianto::cli {
namespace {

int RunSettings(Context& context, const Args&)
{
    IniFile ini;
    WriteSettings(context.app, ini);
    for (char c : Cp1252ToUtf8(ini.Serialize()))
        if (c != '\r')
            std::cout << c;
    return ExitOk;
}

static const bool registered = RegisterCommand({"settings", "settings [--ini PFAD]", {}, 0, 0, RunSettings});

} // namespace
} // namespace folianto::cli
