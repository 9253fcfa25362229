// folianto-cli import-xls XLS OUT [--into DB]: imports the cell range of the
// settings from a workbook and saves the titles to OUT.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/ImportDialogModel.h"
#include "exchange/WorkbookExchange.h"
#include "spreadsheet/Workbook.h"

namespace folianto::cli {
namespace {

int ImportXls(Context& context, const Args& args)
{
    if (!PrepareApp(context, args.value("into")))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[0]));
    Workbook workbook;
    const SystemNumberFormatter numbers;
    if (!ImportFromWorkbook(context.app, workbook, [](ImportDialogModel& m) { return m.Ok(); }, numbers))
        return ExitFailed;
    return SaveOrReport(context.app, args.positional[1]) ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"import-xls", "import-xls XLS AUS [--into DB]  Titel aus dem Zellbereich einer Excel-Datei importieren", {}, 2,
     2, ImportXls});

} // namespace
} // namespace folianto::cli
