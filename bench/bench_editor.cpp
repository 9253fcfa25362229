// The title editor's logic over 10,000 titles: opening a title (reset, choice
// lists, fill) and OK with the grid refresh after it, each next to one grid
// refresh of the same catalogue in the same run.

#include "core/SampleCatalogue.h"
#include "editor/TitleEditorModel.h"
#include "platform/PosixPlatform.h"
#include "selection/SearchLists.h"
#include "selection/Selection.h"
#include "application/App.h"

#include <benchmark/benchmark.h>

using namespace folianto;

namespace {

// Per-byte advances like the grid font's table: measuring costs what it costs in the program.
std::shared_ptr<const TextMeasurer> TableMeasurer()
{
    int advances[256];
    for (int c = 0; c < 256; ++c)
        advances[c] = 5 + c % 4;
    return std::make_shared<CharTableMeasurer>(advances);
}

struct EditorCatalogue {
    EditorCatalogue()
    {
        FillSampleCatalogue(app.store, MaxBuch, 2024);
        for (auto& c : app.columns.CellArray)
            c.ShowCol = true;
        app.columns.CellArray[34].ShowCol = false;
        app.grid.SetMeasurer(TableMeasurer());
        Fill_AllLists(app);
        SetAusgabeData(app);
        // A title in the middle of the store with a literature type set.
        for (target = MaxBuch / 2; app.store.at(target)->TypNum == 8; ++target) {
        }
    }
    SilentUserInteraction ui;
    PosixPlatform platform;
    App app{ui, platform};
    TitleEditorModel editor{app};
    int32_t target = 0;
};

EditorCatalogue& Shared()
{
    static EditorCatalogue catalogue;
    return catalogue;
}

void BM_Editor_SetAusgabeData(benchmark::State& state)
{
    App& app = Shared().app;
    for (auto _ : state) {
        SetAusgabeData(app);
        benchmark::DoNotOptimize(app.grid.RowCount());
    }
    state.counters["rows"] = app.grid.RowCount() - 1;
}
BENCHMARK(BM_Editor_SetAusgabeData)->Unit(benchmark::kMillisecond);

// The edit command up to showing the dialog: InitForm (which fills the
// choice lists) and LoadFromStore.
void BM_Editor_Open(benchmark::State& state)
{
    EditorCatalogue& c = Shared();
    for (auto _ : state) {
        c.app.store.ActBuch = c.target;
        c.editor.InitForm(EditModeEdit, 1);
        benchmark::DoNotOptimize(c.editor.LoadFromStore());
    }
    state.counters["authors"] = static_cast<double>(c.editor.Values.Autor.Items.size());
}
BENCHMARK(BM_Editor_Open)->Unit(benchmark::kMillisecond);

// OK with a changed title, author and keywords (the slowest path: both
// lists are re-split from all titles), then the refresh.
void BM_Editor_OkAndRefresh(benchmark::State& state)
{
    EditorCatalogue& c = Shared();
    c.app.store.ActBuch = c.target;
    c.editor.InitForm(EditModeEdit, 1);
    c.editor.LoadFromStore();
    const std::string autor = c.editor.Values.Autor.Text;
    const std::string keywords = c.editor.Values.Schlagworte;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        c.app.store.ActBuch = c.target;
        c.editor.Values.Titel = flip ? "Neuer Titel" : "Alter Titel";
        c.editor.Values.Autor.Text = flip ? autor + "; Neu, Autor" : autor;
        c.editor.Values.Schlagworte = flip ? keywords + "; Neuwort" : keywords;
        benchmark::DoNotOptimize(c.editor.OkClicked());
        SetAusgabeData(c.app);
    }
}
BENCHMARK(BM_Editor_OkAndRefresh)->Unit(benchmark::kMillisecond);

} // namespace
