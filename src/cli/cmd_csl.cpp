// folianto-cli export-csljson DB OUT / import-csljson JSON OUT [--into DB]:
// CSL-JSON exchange. export-csl DB OUT --style NAME: the shown titles as a
// bibliography in a citation style, the format taken from OUT's extension.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/CslBibliography.h"
#include "exchange/CslJson.h"
#include "exchange/TextExport.h"

#include <iostream>

namespace folianto::cli {
namespace {

int RunImportCslJson(Context& context, const Args& args)
{
    if (!PrepareApp(context, args.value("into")))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[0]));
    const ReferenceImportResult result = ImportFromCslJson(context.app);
    if (!result.Read || !SaveOrReport(context.app, args.positional[1]))
        return ExitFailed;
    return result.Dropped > 0 ? ExitFailed : ExitOk;
}

int RunExportCslJson(Context& context, const Args& args)
{
    if (!LoadAndShow(context, args.positional[0]))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[1]));
    return ExportToCslJson(context.app) ? ExitOk : ExitFailed;
}

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
    RegisterCommand({"import-csljson",
                     "import-csljson JSON AUS [--into DB]  Titel aus CSL-JSON-Datei importieren und speichern",
                     {}, 2, 2, RunImportCslJson}) &&
    RegisterCommand({"export-csljson", "export-csljson DB AUS  angezeigte Titel in CSL-JSON-Datei schreiben", {}, 2,
                     2, RunExportCslJson}) &&
    RegisterCommand({"export-csl",
                     "export-csl DB AUS --style NAME  angezeigte Titel als Literaturverzeichnis im Zitierstil "
                     "(NAME oder Pfad einer .csl-Datei; Format nach Endung: .html .odt .docx .rtf .txt)",
                     {}, 2, 2, RunExportCsl});

} // namespace
} // namespace folianto::cli
