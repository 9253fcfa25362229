// folianto-cli import-xls XLS OUT [--into DB]: imports the cell range of the
// settings from a workbook and saves the titles to OUT.

#include "cli/ExchangeIo.h"
#include "exchange/ImportDialogModel.h"
#include "exchange/WorkbookExchange.h"
#include "spreadsheet/Workbook.h"

namespace folianto::cli {
namespace {

int ImportXls(Context& context, const Args& args)
{
    return RunImport(context, args, [](App& app) {
        Workbook workbook;
        const SystemNumberFormatter numbers;
        return ImportFromWorkbook(app, workbook, [](ImportDialogModel& m) { return m.Ok(); }, numbers);
    });
}

const bool registered = RegisterCommand(
    {"import-xls", "import-xls XLS AUS [--into DB]  Titel aus dem Zellbereich einer Excel-Datei importieren", {}, 2,
     2, ImportXls});

} // namespace
} // namespace folianto::cli
