// libFuzzer target: any bytes through the BibTeX reader (byte 0 even) or the
// RIS reader (odd), then into an empty store.
//
// Checks: nothing crashes or hangs, every reference and problem names a line
// of the input, entries taken plus entries dropped never exceed the entries
// the input could hold, the store grows by exactly the titles taken.

#include "exchange/BibTexImport.h"
#include "exchange/RisImport.h"
#include "platform/Platform.h"
#include "application/App.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace folianto;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool ris = (data[0] & 1) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const ParsedReferences parsed = ris ? ParseRis(bytes) : ParseBibTex(bytes);

    const int lines = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    const auto marks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), ris ? 'T' : '@'));
    std::size_t dropped = 0;
    for (const ImportProblem& p : parsed.Problems) {
        Check(p.Line >= 1 && p.Line <= lines && (p.LastLine == 0 || p.LastLine >= p.Line));
        Check(!p.Text.empty());
        dropped += p.Dropped ? 1 : 0;
    }
    for (const Reference& r : parsed.References)
        Check(r.Line >= 1 && r.Line <= lines && r.Typ >= 0 && r.Typ <= 8);
    Check(parsed.References.size() + dropped <= marks);

    static SilentUserInteraction user;
    static NullPlatform platform;
    static App app(user, platform);
    app.store.Clear();
    app.settings.ShowAllMsg = false;
    const ReferenceImportResult result = ImportReferences(app, "fuzz", parsed);
    Check(app.store.AnzBuch == result.Imported);
    Check(result.Imported == static_cast<int>(parsed.References.size()) || !result.Read);
    for (int32_t i = 1; i <= app.store.AnzBuch; ++i) {
        const TBuch& b = *app.store.at(i);
        for (int f = 1; f <= 26; ++f)
            Check(b.TextField(f).Len == static_cast<int32_t>(b.TextField(f).Text.size()));
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication qapp(*argc, *argv);
    return 0;
}
