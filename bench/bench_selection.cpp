// Grid refresh over 10,000 titles with every column shown and automatic
// widths, against loading the same catalogue; the search list rebuild; and
// the duplicate finder with the refresh of its selection.

#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/Text.h"
#include "core/SampleCatalogue.h"
#include "platform/PosixPlatform.h"
#include "selection/DuplicateFinder.h"
#include "selection/Selection.h"
#include "application/App.h"
#include "application/BuchData.h"
#include "selection/SearchLists.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace folianto;

namespace {

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "folianto_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

// The grid font, measured text by text.
class FontMeasurer : public TextMeasurer {
public:
    FontMeasurer() : metrics_(QFont()) {}
    int TextWidth(std::string_view text) const override { return metrics_.horizontalAdvance(FromCp1252(text)); }

private:
    QFontMetrics metrics_;
};

// The grid font's advances per byte, measured once.
std::shared_ptr<const TextMeasurer> FontTableMeasurer()
{
    const QFontMetrics m{QFont()};
    int advances[256];
    for (int c = 0; c < 256; ++c)
        advances[c] = m.horizontalAdvance(FromCp1252(std::string(1, static_cast<char>(c))));
    return std::make_shared<CharTableMeasurer>(advances);
}

struct BenchApp {
    SilentUserInteraction ui;
    PosixPlatform platform;
    App app{ui, platform};
};

// A saved sample catalogue of 10,000 titles, loaded, with every column shown.
struct Catalogue {
    Catalogue()
    {
        EnsureGuiApplication();
        FillSampleCatalogue(fakes.app.store, MaxBuch, 2024);
        path = dir.filePath(QStringLiteral("katalog.FOL")).toStdString();
        std::string err;
        Save_Buch_Data(fakes.app, path, err);
        Load_Buch_Data(fakes.app, path, err);
        for (auto& c : fakes.app.columns.CellArray)
            c.ShowCol = true;
        fakes.app.columns.CellArray[34].ShowCol = false;
        fakes.app.columns.ColumnsMoved = true;
    }
    QTemporaryDir dir;
    std::string path;
    BenchApp fakes;
};

Catalogue& SharedCatalogue()
{
    static Catalogue catalogue;
    return catalogue;
}

void BM_Load_Buch_Data(benchmark::State& state)
{
    const std::string& path = SharedCatalogue().path;
    BenchApp fresh;
    for (auto _ : state) {
        std::string err;
        benchmark::DoNotOptimize(Load_Buch_Data(fresh.app, path, err));
    }
    state.counters["titles"] = fresh.app.store.AnzBuch;
}
BENCHMARK(BM_Load_Buch_Data)->Unit(benchmark::kMillisecond);

void BM_Fill_AllLists(benchmark::State& state)
{
    App& app = SharedCatalogue().fakes.app;
    for (auto _ : state) {
        Fill_AllLists(app);
        benchmark::DoNotOptimize(app.lists.SchlagworteSearchList.entries.size());
    }
    state.counters["keywords"] = static_cast<double>(app.lists.SchlagworteSearchList.entries.size());
}
BENCHMARK(BM_Fill_AllLists)->Unit(benchmark::kMillisecond);

void RunRefresh(benchmark::State& state, std::shared_ptr<const TextMeasurer> measurer)
{
    App& app = SharedCatalogue().fakes.app;
    app.grid.SetMeasurer(std::move(measurer));
    for (auto _ : state) {
        for (auto& c : app.columns.CellArray)
            c.Width = -1;
        SetAusgabeData(app);
        benchmark::DoNotOptimize(app.grid.RowCount());
    }
    state.counters["rows"] = app.grid.RowCount() - 1;
}

void BM_SetAusgabeData_FontTable(benchmark::State& state)
{
    EnsureGuiApplication();
    RunRefresh(state, FontTableMeasurer());
}
BENCHMARK(BM_SetAusgabeData_FontTable)->Unit(benchmark::kMillisecond);

// Text by text through the font metrics: far too slow for the grid.
void BM_SetAusgabeData_FontMetrics(benchmark::State& state)
{
    EnsureGuiApplication();
    RunRefresh(state, std::make_shared<FontMeasurer>());
}
BENCHMARK(BM_SetAusgabeData_FontMetrics)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SetAusgabeData_SortByAuthorUmlautsAsLetters(benchmark::State& state)
{
    App& app = SharedCatalogue().fakes.app;
    app.settings.BuchSort = SortAutor;
    app.settings.CaseSensitiveSort = false;
    app.settings.SortByAE = true;
    RunRefresh(state, FontTableMeasurer());
    app.settings = Settings{};
}
BENCHMARK(BM_SetAusgabeData_SortByAuthorUmlautsAsLetters)->Unit(benchmark::kMillisecond);

void BM_SetAusgabeData_SearchAndKeywordSelection(benchmark::State& state)
{
    App& app = SharedCatalogue().fakes.app;
    SearchList& kw = app.lists.SchlagworteSearchList;
    for (std::size_t i = 0; i < kw.entries.size(); ++i)
        kw.entries[i].Active = i % 2 == 0;
    auto& sel = app.selection;
    sel.SuchenIn.fill(true);
    sel.SuchText = "e";
    RunRefresh(state, FontTableMeasurer());
    sel.SuchenIn.fill(false);
    for (auto& e : kw.entries)
        e.Active = true;
}
BENCHMARK(BM_SetAusgabeData_SearchAndKeywordSelection)->Unit(benchmark::kMillisecond);

// The duplicate finder over the 10,000 sample titles, to set against the
// refresh above.
void BM_FindDuplicates(benchmark::State& state)
{
    const TitleStore& store = SharedCatalogue().fakes.app.store;
    std::size_t pairs = 0;
    for (auto _ : state) {
        pairs = FindDuplicates(store).size();
        benchmark::DoNotOptimize(pairs);
    }
    state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_FindDuplicates)->Unit(benchmark::kMillisecond);

// 9,000 sample titles and 1,000 of them entered a second time, changed as a
// second entry of the same book tends to be.
struct DuplicateCatalogue {
    DuplicateCatalogue()
    {
        EnsureGuiApplication();
        App& app = fakes.app;
        FillSampleCatalogue(app.store, MaxBuch - 1000, 99);
        for (int32_t n = 0; n < 1000; ++n) {
            const TBuch original = *app.store.at(1 + n * 9);
            app.store.NewBuch();
            TBuch& copy = *app.store.at(app.store.AnzBuch);
            const int32_t nr = copy.BuchNr;
            copy = original;
            copy.BuchNr = nr;
            switch (n % 3) {
            case 0: // other letter case, no ISBN
                copy.Titel.Text = UpperAscii(copy.Titel.Text);
                copy.ISBN.Text.clear();
                break;
            case 1: // the ISBN-10 form (check digit left out of the comparison anyway)
                copy.ISBN.Text = copy.ISBN.Text.size() > 4 ? copy.ISBN.Text.substr(4) : copy.ISBN.Text;
                copy.Autor.Text = "Anonym";
                break;
            default: // "Given Surname" and the title's punctuation changed
                copy.Autor.Text = "Vorname " + copy.Autor.Text.substr(0, copy.Autor.Text.find(','));
                copy.Titel.Text += ".";
                break;
            }
        }
        for (auto& c : app.columns.CellArray)
            c.ShowCol = true;
        app.columns.CellArray[34].ShowCol = false;
        app.columns.ColumnsMoved = true;
        app.grid.SetMeasurer(FontTableMeasurer());
        SetAusgabeData(app);
    }
    BenchApp fakes;
};

DuplicateCatalogue& SharedDuplicateCatalogue()
{
    static DuplicateCatalogue catalogue;
    return catalogue;
}

void BM_FindDuplicates_TenPercentEnteredTwice(benchmark::State& state)
{
    const TitleStore& store = SharedDuplicateCatalogue().fakes.app.store;
    std::size_t pairs = 0;
    for (auto _ : state) {
        pairs = FindDuplicates(store).size();
        benchmark::DoNotOptimize(pairs);
    }
    state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_FindDuplicates_TenPercentEnteredTwice)->Unit(benchmark::kMillisecond);

// The grid refresh while the found pairs are shown side by side.
void BM_SetAusgabeData_DuplicateSelection(benchmark::State& state)
{
    App& app = SharedDuplicateCatalogue().fakes.app;
    ShowDuplicates(app, FindDuplicates(app.store));
    for (auto _ : state) {
        for (auto& c : app.columns.CellArray)
            c.Width = -1;
        SetAusgabeData(app);
        benchmark::DoNotOptimize(app.grid.RowCount());
    }
    state.counters["rows"] = app.grid.RowCount() - 1;
    EndDuplicateSelection(app);
}
BENCHMARK(BM_SetAusgabeData_DuplicateSelection)->Unit(benchmark::kMillisecond);

} // namespace
