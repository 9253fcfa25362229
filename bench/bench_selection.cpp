// Grid refresh over 10,000 titles with every column shown and automatic widths.

#include "core/Codec.h"
#include "selection/Selection.h"
#include "shell/App.h"
#include "platform/PosixPlatform.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <random>

using namespace folianto;

namespace {

struct BenchApp {
    SilentUserInteraction ui;
    PosixPlatform platform;
    App app{ui, platform};
};

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
    int TextWidth(const std::string& text) const override { return metrics_.horizontalAdvance(FromCp1252(text)); }

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

std::string Word(std::mt19937& rng, int minLen, int maxLen)
{
    static const char* syllables[] = {"ka", "ber", "lin", "schu", "ma", "ne", "ge", "sch", "ich", "te",
                                      "\xFC" "ber", "st", "ra", "\xE4" "n", "do", "ri", "wel", "t\xF6"};
    std::string w;
    const int len = minLen + static_cast<int>(rng() % static_cast<unsigned>(maxLen - minLen + 1));
    while (static_cast<int>(w.size()) < len)
        w += syllables[rng() % (sizeof syllables / sizeof *syllables)];
    w[0] = static_cast<char>(w[0] >= 'a' && w[0] <= 'z' ? w[0] - 32 : w[0]);
    return w;
}

std::string Words(std::mt19937& rng, int n, int minLen, int maxLen)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += (i ? " " : "") + Word(rng, minLen, maxLen);
    return s;
}

void FillCatalogue(App& app)
{
    std::mt19937 rng(42);
    for (int i = 0; i < MaxBuch; ++i) {
        app.store.NewBuch();
        TBuch& b = *app.store.at(app.store.AnzBuch);
        b.Kuerzel.Text = Word(rng, 3, 6) + std::to_string(i);
        b.Autor.Text = Word(rng, 4, 9) + ", " + Word(rng, 3, 7) + (rng() % 3 == 0 ? ";" + Word(rng, 4, 9) : "");
        b.Titel.Text = Words(rng, 1 + static_cast<int>(rng() % 6), 3, 10);
        b.Kategorie.Text = Word(rng, 4, 8);
        b.Sprache.Text = rng() % 4 ? "deutsch" : "englisch";
        b.Verlag.Text = Word(rng, 4, 10) + " Verlag";
        b.Reihe.Text = Words(rng, 2, 3, 8);
        b.Jahr.Text = std::to_string(1900 + rng() % 125);
        b.Inhalt.Text = Words(rng, 30, 3, 10) + "\r\n" + Words(rng, 20, 3, 10);
        b.Bemerkung.Text = Words(rng, 8, 3, 10);
        b.Schlagworte.Text = Word(rng, 5, 9) + ";" + Word(rng, 5, 9) + ";" + Word(rng, 5, 9);
        b.ISBN.Text = "3-" + std::to_string(100000 + rng() % 800000) + "-1";
        b.Besitzer.Text = Word(rng, 3, 6);
        b.Waehrung.Text = "EUR";
        b.Preis = static_cast<float>(rng() % 10000) / 100.0f;
        b.JahrNum = static_cast<int32_t>(1900 + rng() % 125);
        b.TypNum = static_cast<int32_t>(rng() % 9);
        b.Kaufdatum = 36000.0 + rng() % 9000;
        b.Auflage = static_cast<int32_t>(rng() % 5);
    }
}

struct Catalogue {
    Catalogue()
    {
        EnsureGuiApplication();
        FillCatalogue(fakes.app);
        for (auto& c : fakes.app.columns.CellArray)
            c.ShowCol = true;
        fakes.app.columns.CellArray[34].ShowCol = false;
        fakes.app.columns.ColumnsMoved = true;
    }
    BenchApp fakes;
};

App& SharedCatalogue()
{
    static Catalogue catalogue;
    return catalogue.fakes.app;
}

void RunRefresh(benchmark::State& state, std::shared_ptr<const TextMeasurer> measurer)
{
    App& app = SharedCatalogue();
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

void BM_SetAusgabeData_FontMetrics(benchmark::State& state)
{
    EnsureGuiApplication();
    RunRefresh(state, std::make_shared<FontMeasurer>());
}
BENCHMARK(BM_SetAusgabeData_FontMetrics)->Unit(benchmark::kMillisecond);

void BM_SetAusgabeData_SortByAuthorCaseInsensitive(benchmark::State& state)
{
    App& app = SharedCatalogue();
    app.settings.BuchSort = SortAutor;
    app.settings.CaseSensitiveSort = false;
    app.settings.SortByAE = true;
    RunRefresh(state, FontTableMeasurer());
    app.settings = Settings{};
}
BENCHMARK(BM_SetAusgabeData_SortByAuthorCaseInsensitive)->Unit(benchmark::kMillisecond);

void BM_SetAusgabeData_KeywordSelection(benchmark::State& state)
{
    App& app = SharedCatalogue();
    SearchList& kw = app.lists.SchlagworteSearchList;
    kw.Clear();
    for (int i = 1; i <= app.store.AnzBuch; ++i) {
        const std::string& s = app.store.at(i)->Schlagworte.Text;
        kw.AddEntry(s.substr(0, s.find(';')), i % 2 == 0);
    }
    RunRefresh(state, FontTableMeasurer());
    kw.Clear();
}
BENCHMARK(BM_SetAusgabeData_KeywordSelection)->Unit(benchmark::kMillisecond);

} // namespace

namespace {
void BM_Fill_AllLists(benchmark::State& state)
{
    App& app = SharedCatalogue();
    for (auto _ : state) {
        Fill_AllLists(app);
        benchmark::DoNotOptimize(app.lists.SchlagworteSearchList.entries.size());
    }
    state.counters["keywords"] = static_cast<double>(app.lists.SchlagworteSearchList.entries.size());
}
BENCHMARK(BM_Fill_AllLists)->Unit(benchmark::kMillisecond);
} // namespace
