#include "cli/ExchangeIo.h"

#include "cli/DatabaseIo.h"
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

} // namespace folianto::cli
