// folianto-cli export-xls DB OUT [--by-definition]: the grid as shown, or the
// entries of the export selection split into cells, as a workbook.

#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/WorkbookExchange.h"
#include "spreadsheet/Workbook.h"

namespace folianto::cli {
namespace {

int ExportXls(Context& context, const Args& args)
{
    if (!LoadAndShow(context, args.positional[0]))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[1]));
    Workbook workbook;
    const bool written = args.has("by-definition") ? ExportDefinitionToWorkbook(context.app, workbook)
                                                   : ExportGridToWorkbook(context.app, workbook);
    return written ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"export-xls", "export-xls DB AUS [--by-definition]  angezeigte Titel als Excel-Datei schreiben",
     {"by-definition"}, 2, 2, ExportXls});

} // namespace
} // namespace folianto::cli
