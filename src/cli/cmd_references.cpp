// folianto-cli import-bib / import-ris / import-csljson FILE OUT [--into DB]:
// imports a BibTeX, RIS or CSL-JSON file and saves the titles to OUT.
// export-bib / export-ris / export-csljson DB OUT: the shown titles in grid
// order.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/CslJson.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"

namespace folianto::cli {
namespace {

// Saves what was taken even when entries were left out (the message named
// them); the exit code then tells the script.
int RunReferenceImport(Context& context, const Args& args, ReferenceImportResult (*import)(Workspace&))
{
    if (!PrepareApp(context, args.value("into")))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[0]));
    const ReferenceImportResult result = import(context.app);
    if (!result.Read || !SaveOrReport(context.app, args.positional[1]))
        return ExitFailed;
    return result.Dropped > 0 ? ExitFailed : ExitOk;
}

int RunReferenceExport(Context& context, const Args& args, bool (*exportTo)(Workspace&))
{
    if (!LoadAndShow(context, args.positional[0]))
        return ExitFailed;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[1]));
    return exportTo(context.app) ? ExitOk : ExitFailed;
}

const bool registered =
    RegisterCommand({"import-bib", "import-bib BIB AUS [--into DB]  Titel aus BibTeX-Datei importieren und speichern",
                     {}, 2, 2, [](Context& c, const Args& a) { return RunReferenceImport(c, a, ImportFromBibTex); }}) &&
    RegisterCommand({"import-ris", "import-ris RIS AUS [--into DB]  Titel aus RIS-Datei importieren und speichern",
                     {}, 2, 2, [](Context& c, const Args& a) { return RunReferenceImport(c, a, ImportFromRis); }}) &&
    RegisterCommand({"export-bib", "export-bib DB AUS  angezeigte Titel in BibTeX-Datei schreiben", {}, 2, 2,
                     [](Context& c, const Args& a) { return RunReferenceExport(c, a, ExportToBibTex); }}) &&
    RegisterCommand({"export-ris", "export-ris DB AUS  angezeigte Titel in RIS-Datei schreiben", {}, 2, 2,
                     [](Context& c, const Args& a) { return RunReferenceExport(c, a, ExportToRis); }}) &&
    RegisterCommand({"import-csljson",
                     "import-csljson JSON AUS [--into DB]  Titel aus CSL-JSON-Datei importieren und speichern", {}, 2,
                     2, [](Context& c, const Args& a) { return RunReferenceImport(c, a, ImportFromCslJson); }}) &&
    RegisterCommand({"export-csljson", "export-csljson DB AUS  angezeigte Titel in CSL-JSON-Datei schreiben", {}, 2,
                     2, [](Context& c, const Args& a) { return RunReferenceExport(c, a, ExportToCslJson); }});

} // namespace
} // namespace folianto::cli
