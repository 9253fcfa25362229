// folianto-cli lookup OUT ID... [--into DB]: looks each identifier up with
// the sources of the settings file and saves the found titles (with --into,
// DB's titles and the found ones) to OUT. One line per identifier; exit 0
// when every identifier was found or already there.

#include "cli/DatabaseIo.h"
#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "core/ErrorText.h"
#include "exchange/TextImport.h"
#include "lookup/LookupClient.h"
#include "lookup/LookupQueue.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <iostream>
#include <memory>
#include <set>

namespace folianto::cli {
namespace {

void Print(const std::string& cp1252)
{
    std::cout << Cp1252ToUtf8(cp1252) << std::endl;
}

int RunLookup(Context& context, const Args& args)
{
    std::unique_ptr<QCoreApplication> application;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "folianto-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    App& app = context.app;
    if (!PrepareApp(context, args.value("into")))
        return ExitFailed;
    const LookupSources sources = ReadLookupSources(app.settings.Nachschlagen);
    for (const std::string& problem : sources.Problems)
        std::cerr << Cp1252ToUtf8("Hinweis: [Nachschlagen] " + problem) << '\n';
    LookupClient client(sources);
    client.setTimeoutMs(app.settings.LookupTimeoutMs);

    bool allThere = true;
    std::set<std::string> seen;    // keys of the identifiers asked
    std::set<std::string> isbns;   // ISBN-13 of the titles added
    const int32_t before = app.store.AnzBuch;
    {
        TitleChange change(app.titleHistory, "Nachschlagen nach ISBN/DOI");
        for (std::size_t i = 1; i < args.positional.size(); ++i) {
            const LookupId id = ParseLookupId(Utf8ToCp1252(args.positional[i]));
            if (!id.valid()) {
                Print("Fehler: " + id.Error);
                allThere = false;
                continue;
            }
            if (seen.count(id.Key()) != 0 || (id.kind == LookupId::Kind::Isbn && IsbnInStore(app.store, id.Isbn13))) {
                Print("bereits vorhanden: " + id.Text);
                continue;
            }
            seen.insert(id.Key());
            LookupOutcome outcome;
            QEventLoop loop;
            client.lookUp(id, [&](const LookupOutcome& o) {
                outcome = o;
                loop.quit();
            });
            loop.exec();
            for (const std::string& failure : outcome.Failures)
                std::cerr << Cp1252ToUtf8("Hinweis: " + id.Text + ": " + failure) << '\n';
            if (outcome.state == LookupOutcome::State::NotFound) {
                Print("nicht gefunden: " + id.Text);
                allThere = false;
                continue;
            }
            if (outcome.state == LookupOutcome::State::Failed) {
                Print("Fehler: " + id.Text + ": " + outcome.FailureText());
                allThere = false;
                continue;
            }
            const Reference& title = outcome.Editions.front();
            const std::string isbn = NormalisedIsbn13(title.Isbn);
            if (!isbn.empty() && (isbns.count(isbn) != 0 || IsbnInStore(app.store, isbn))) {
                Print("bereits vorhanden: " + id.Text);
                continue;
            }
            isbns.insert(isbn);
            if (!AppendLookedUpTitle(app, title)) {
                Print("Fehler: " + id.Text + ": " + GetErrorText(app.store.FehlerNr, ""));
                allThere = false;
                continue;
            }
            Print("gefunden: " + id.Text + ": " + app.store.current()->Kuerzel.Text + ", " + title.Title);
        }
    }
    if (app.store.AnzBuch > before)
        AfterImport(app, before);
    if (!SaveOrReport(app, args.positional[0]))
        return ExitFailed;
    return allThere ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"lookup", "lookup AUS ID... [--into DB]  Titel nach ISBN oder DOI nachschlagen und speichern", {}, 2, 100000,
     RunLookup});

} // namespace
} // namespace folianto::cli
