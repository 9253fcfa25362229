// BibTeX and RIS export and import of a 10,000-title catalogue, beside the
// load of the same catalogue from its database file (the yardstick: each
// exchange should take at most three loads).

#include "core/SampleCatalogue.h"
#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/ReferenceExchange.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"
#include "exchange/TextExport.h"
#include "application/App.h"
#include "application/BuchData.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace folianto;

struct Catalogue {
    QTemporaryDir dir;
    SilentUserInteraction user;
    NullPlatform platform;
    App app{user, platform};
    std::string path;
    std::vector<int32_t> titles;

    Catalogue()
    {
        FillSampleCatalogue(app.store, 10000, 2024);
        path = dir.filePath(QStringLiteral("katalog.FOL")).toStdString();
        std::string err;
        Save_Buch_Data(app, path, err);
        for (int32_t i = 1; i <= app.store.AnzBuch; ++i)
            titles.push_back(i);
    }
    std::string File(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
};

Catalogue& Shared()
{
    static Catalogue catalogue;
    return catalogue;
}

void LoadCatalogue(benchmark::State& state)
{
    Catalogue& c = Shared();
    SilentUserInteraction user;
    NullPlatform platform;
    App app(user, platform);
    for (auto _ : state) {
        std::string err;
        if (!Load_Buch_Data(app, c.path, err) || app.store.AnzBuch != 10000)
            state.SkipWithError("load failed");
    }
}

void Export(benchmark::State& state, const ReferenceWriter& write, const char* name)
{
    Catalogue& c = Shared();
    const std::string path = c.File(name);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = write(ReferencesOfTitles(c.app, c.titles));
        bytes = text.size();
        if (!WriteExportFile(c.app, path, text))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// Import into an empty store, with the refresh that follows it.
void Import(benchmark::State& state, const ReferenceWriter& write, const ReferenceParser& parse, const char* name)
{
    Catalogue& c = Shared();
    const std::string path = c.File(name);
    WriteExportFile(c.app, path, write(ReferencesOfTitles(c.app, c.titles)));
    SilentUserInteraction user;
    NullPlatform platform;
    App app(user, platform);
    app.settings.ShowAllMsg = false;
    for (auto _ : state) {
        app.store.Clear();
        const ReferenceImportResult r = ImportReferenceFile(app, path, parse);
        if (r.Imported != 10000 || r.Dropped != 0)
            state.SkipWithError("import incomplete");
    }
}

// The reader alone, without the store and the refresh.
void Parse(benchmark::State& state, const ReferenceWriter& write, const ReferenceParser& parse)
{
    Catalogue& c = Shared();
    const std::string text = write(ReferencesOfTitles(c.app, c.titles));
    for (auto _ : state)
        benchmark::DoNotOptimize(parse(text));
}

// Adding parsed references to an empty store, with the refresh.
void AddParsed(benchmark::State& state)
{
    Catalogue& c = Shared();
    const ParsedReferences parsed = ParseRis(WriteRis(ReferencesOfTitles(c.app, c.titles)));
    SilentUserInteraction user;
    NullPlatform platform;
    App app(user, platform);
    app.settings.ShowAllMsg = false;
    for (auto _ : state) {
        app.store.Clear();
        ImportReferences(app, "x", parsed);
    }
}

void ParseBibTexOnly(benchmark::State& state) { Parse(state, WriteBibTex, ParseBibTex); }
void ParseRisOnly(benchmark::State& state) { Parse(state, WriteRis, ParseRis); }

void ExportBibTex(benchmark::State& state) { Export(state, WriteBibTex, "k.bib"); }
void ImportBibTex(benchmark::State& state) { Import(state, WriteBibTex, ParseBibTex, "i.bib"); }
void ExportRis(benchmark::State& state) { Export(state, WriteRis, "k.ris"); }
void ImportRis(benchmark::State& state) { Import(state, WriteRis, ParseRis, "i.ris"); }

} // namespace

BENCHMARK(LoadCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportBibTex)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportBibTex)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportRis)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportRis)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseBibTexOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseRisOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(AddParsed)->Unit(benchmark::kMillisecond);
