// folianto-cli export-csl DB OUT --style NAME: the shown titles as a
// bibliography in a citation style, the format taken from OUT's extension.
// folianto-cli cite DB KEY --style NAME [--page TEXT] [--entry]: one title's
// citation in the running text, or its full entry.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "core/Text.h"
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

// The title with the key; letters a-z match their capitals, as the key test does.
const TBuch* TitleWithKey(const TitleStore& store, const std::string& key)
{
    const TBuch* caseless = nullptr;
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        const TBuch* b = store.at(i);
        if (!b)
            continue;
        if (b->Kuerzel.Text == key)
            return b;
        if (!caseless && UpperAscii(b->Kuerzel.Text) == UpperAscii(key))
            caseless = b;
    }
    return caseless;
}

int RunCite(Context& context, const Args& args)
{
    if (!args.has("style") || args.value("style").empty()) {
        context.ui.message(MsgKind::Error, "Bitte den Zitierstil mit --style NAME angeben.", Buttons::Ok);
        return ExitUsage;
    }
    const CslStyleLookup style = FindCslStyle(Utf8ToCp1252(args.value("style")));
    if (!style.Style) {
        context.ui.message(MsgKind::Error, style.Error, Buttons::Ok);
        return ExitFailed;
    }
    if (!LoadOrReport(context.app, args.positional[0]))
        return ExitFailed;
    const std::string key = Utf8ToCp1252(args.positional[1]);
    const TBuch* title = TitleWithKey(context.app.store, key);
    if (!title) {
        context.ui.message(MsgKind::Error, Cp1252("Es gibt keinen Titel mit dem Kürzel „") + key + Cp1252("“."),
                           Buttons::Ok);
        return ExitFailed;
    }
    const CitationRequest request{!args.has("entry"), Utf8ToCp1252(args.value("page"))};
    const CitationText cited = FormatCitation(ReferenceOfTitle(*title), *style.Style, PandocProgram(), request);
    if (!cited.Error.empty()) {
        context.ui.message(MsgKind::Error, cited.Error, Buttons::Ok);
        return ExitFailed;
    }
    std::cout << cited.Text << '\n';
    return std::cout.good() ? ExitOk : ExitFailed;
}

const bool registeredCite =
    RegisterCommand({"cite",
                     "cite DB KÜRZEL --style NAME [--page TEXT] [--entry]  Zitat des Titels im Text (mit Seite) "
                     "oder mit --entry sein Eintrag im Literaturverzeichnis, im Zitierstil NAME",
                     {"entry"}, 2, 2, RunCite});

const bool registered =
    RegisterCommand({"export-csl",
                     "export-csl DB AUS --style NAME  angezeigte Titel als Literaturverzeichnis im Zitierstil "
                     "(NAME oder Pfad einer .csl-Datei; Format nach Endung: .html .odt .docx .rtf .txt)",
                     {}, 2, 2, RunExportCsl});

} // namespace
} // namespace folianto::cli
