// folianto-cli import-txt TXT OUT [--into DB]: imports a delimited text file
// with the import settings and saves the titles to OUT.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/ImportDialogModel.h"
#include "exchange/TextImport.h"

namespace folianto::cli {
namespace {

int ImportTxt(Context& context, const Args& args)
{
    if (!PrepareApp(context, args.value("into")))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[0]));
    if (!ImportFromText(context.app, [](ImportDialogModel& m) { return m.Ok(); }))
        return ExitFailed;
    return SaveOrReport(context.app, args.positional[1]) ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"import-txt", "import-txt TXT AUS [--into DB]  Titel aus Textdatei importieren und speichern", {}, 2, 2,
     ImportTxt});

} // namespace
} // namespace folianto::cli
