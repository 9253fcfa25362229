#include "cli/ExchangeIo.h"

#include "cli/DatabaseIo.h"
#include "core/Codec.h"
#include "selection/Selection.h"

namespace folianto::cli {

bool PrepareApp(Context& context, const std::string& dbPath)
{
    return dbPath.empty() || LoadOrReport(context.app, dbPath);
}

bool LoadAndShow(Context& context, const std::string& dbPath)
{
    if (!PrepareApp(context, dbPath))
        return false;
    SetAusgabeData(context.app);
    return true;
}

int RunImport(Context& context, const Args& args, const std::function<bool(App&)>& import)
{
    if (!PrepareApp(context, args.value("into")))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[0]));
    if (!import(context.app))
        return ExitFailed;
    return SaveOrReport(context.app, args.positional[1]) ? ExitOk : ExitFailed;
}

} // namespace folianto::cli
