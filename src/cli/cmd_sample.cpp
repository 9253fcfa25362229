// folianto-cli sample N OUT: writes a generated catalogue of N titles.

#include "cli/Command.h"
#include "cli/DatabaseIo.h"
#include "core/SampleCatalogue.h"

#include <iostream>
#include <string>

namespace folianto::cli {
namespace {

bool ParseNumber(const std::string& text, unsigned long long max, unsigned long long& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 19)
        return false;
    value = std::stoull(text);
    return value <= max;
}

int Sample(Context& context, const Args& args)
{
    unsigned long long count = 0;
    unsigned long long seed = 1;
    if (!ParseNumber(args.positional[0], MaxBuch, count) ||
        (args.has("seed") && !ParseNumber(args.value("seed"), ~0ull, seed))) {
        std::cerr << "Aufruf: folianto-cli sample N AUS [--seed S]  (N = 0.." << MaxBuch << ")\n";
        return ExitUsage;
    }
    FillSampleCatalogue(context.app.store, static_cast<int32_t>(count), seed);
    context.app.store.MarkChanged();
    return SaveOrReport(context.app, args.positional[1]) ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"sample", "sample N AUS [--seed S]  Beispielkatalog mit N Titeln erzeugen", {}, 2, 2, Sample});

} // namespace
} // namespace folianto::cli
