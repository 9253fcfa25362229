// folianto-cli import-txt TXT OUT [--into DB]: imports a delimited text file
// with the import settings and saves the titles to OUT.

#include "cli/ExchangeIo.h"
#include "exchange/ImportDialogModel.h"
#include "exchange/TextImport.h"

namespace folianto::cli {
namespace {

int ImportTxt(Context& context, const Args& args)
{
    return RunImport(context, args, [](App& app) {
        return ImportFromText(app, [](ImportDialogModel& m) { return m.Ok(); });
    });
}

const bool registered = RegisterCommand(
    {"import-txt", "import-txt TXT AUS [--into DB]  Titel aus Textdatei importieren und speichern", {}, 2, 2,
     ImportTxt});

} // namespace
} // namespace folianto::cli
