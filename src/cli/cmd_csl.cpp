// folianto-cli export-csl DB OUT --style NAME: the shown titles as a
// bibliography in a citation style, the format taken from OUT's extension.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/CslBibliography.h"
#include "exchange/ReferenceExchange.h"
#include "exchange/TextExport.h"

#include <iostream>

namespace folianto::cli {
namespace {

int RunExportCsl(Context& context, const Args& args)
{
    const std::string out = Utf8ToCp1252(args.positional[1]);
    if (!args.has("style") || args.value("style").empty()) {
        context.ui.message(MsgKind::Error, "Bitte den Zitierstil mit --style NAME angeben.", Buttons::Ok);
        return ExitUsage;
    }
    // Cheap checks before the database is loaded.
    if (!BibFormatOfPath(out)) {
        context.ui.message(MsgKind::Error, UnknownBibFormatText(out), Buttons::Ok);
        return ExitFailed;
    }
    const CslStyleLookup style = FindCslStyle(Utf8ToCp1252(args.value("style")));
    if (!style.Style) {
        context.ui.message(MsgKind::Error, style.Error, Buttons::Ok);
        return ExitFailed;
    }
    if (!LoadAndShow(context, args.positional[0]))
        return ExitFailed;
    App& app = context.app;
    const std::vector<int32_t> titles = TitlesOfRows(app, 1, app.grid.RowCount() - 1);
    if (!WriteBibliography(context.ui, ReferencesOfTitles(app, titles), *style.Style, out))
        return ExitFailed;
    std::cout << titles.size() << " Titel im Stil " << Cp1252ToUtf8(style.Style->Title) << " nach "
              << args.positional[1] << " geschrieben\n";
    return ExitOk;
}

const bool registered =
    RegisterCommand({"export-csl",
                     "export-csl DB AUS --style NAME  angezeigte Titel als Literaturverzeichnis im Zitierstil "
                     "(NAME oder Pfad einer .csl-Datei; Format nach Endung: .html .odt .docx .rtf .txt)",
                     {}, 2, 2, RunExportCsl});

} // namespace
} // namespace folianto::cli
