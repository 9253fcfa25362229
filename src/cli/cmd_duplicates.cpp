// folianto-cli duplicates DB: the pairs of titles that were probably entered twice.

#include "cli/Command.h"
#include "cli/DatabaseIo.h"
#include "core/Codec.h"
#include "selection/DuplicateFinder.h"

#include <iostream>
#include <string>

namespace folianto::cli {
namespace {

// A field of a TAB-separated UTF-8 line: tabs and line breaks become blanks.
std::string Field(const std::string& cp1252)
{
    std::string out = Cp1252ToUtf8(cp1252);
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return out;
}

int Duplicates(Context& context, const Args& args)
{
    App& app = context.app;
    if (!LoadOrReport(app, args.positional[0]))
        return ExitFailed;
    const std::vector<DuplicatePair> pairs = SearchDuplicates(app);
    for (const DuplicatePair& p : pairs) {
        const TBuch& a = *app.store.at(p.First);
        const TBuch& b = *app.store.at(p.Second);
        std::cout << Field(a.Kuerzel.Text) << '\t' << Field(b.Kuerzel.Text) << '\t'
                  << Field(DuplicateReasonText(p.Reasons)) << '\t' << Field(a.Titel.Text) << '\t'
                  << Field(b.Titel.Text) << '\n';
    }
    return std::cout.good() ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"duplicates", "duplicates DB  wahrscheinlich doppelt erfasste Titel paarweise ausgeben", {}, 1, 1, Duplicates});

} // namespace
} // namespace folianto::cli
