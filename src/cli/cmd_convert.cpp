// folianto-cli convert IN OUT: loads a database file and saves it anew.

#include "cli/Command.h"
#include "cli/DatabaseIo.h"

namespace folianto::cli {
namespace {

int Convert(Context& context, const Args& args)
{
    if (!LoadOrReport(context.app, args.positional[0]))
        return ExitFailed;
    return SaveOrReport(context.app, args.positional[1]) ? ExitOk : ExitFailed;
}

const bool registered =
    RegisterCommand({"convert", "convert EIN AUS [--answers LISTE]  Datenbank laden und neu speichern", {}, 2, 2,
                     Convert});

} // namespace
} // namespace folianto::cli
