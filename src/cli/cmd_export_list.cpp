// folianto-cli export-list DB OUT [--predefined]: the literature list of the
// shown titles in grid order.

#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/TextExport.h"

namespace folianto::cli {
namespace {

int ExportList(Context& context, const Args& args)
{
    if (!LoadAndShow(context, args.positional[0]))
        return ExitFailed;
    context.app.settings.VorgegExportAuswahl = args.has("predefined");
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[1]));
    return ExportLiteratureList(context.app) ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"export-list", "export-list DB AUS [--predefined]  Literaturliste der angezeigten Titel schreiben",
     {"predefined"}, 2, 2, ExportList});

} // namespace
} // namespace folianto::cli
