// The filter dialog over the 10,000-title sample with every list full (one
// keyword of its own per title, so the keyword list holds about 10,000
// entries), against Fill_AllLists and SetAusgabeData in the same run.

#include "core/SampleCatalogue.h"
#include "selection/FilterDialogModel.h"
#include "selection/Selection.h"
#include "support/Fakes.h"
#include "ui/selection/FilterDialog.h"
#include "ui/shell/MainWindow.h"
#include "selection/SearchLists.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QListView>

#include <benchmark/benchmark.h>

#include <memory>

using namespace folianto;
using folianto::test::TestApp;

namespace {

struct Catalogue {
    TestApp t;
    std::unique_ptr<TFoliantoMainWindow> window;

    Catalogue()
    {
        FillSampleCatalogue(t.app.store, MaxBuch, 7);
        for (int32_t i = 1; i <= t.app.store.AnzBuch; ++i)
            t.app.store.at(i)->Schlagworte.Text += ";Stichwort " + std::to_string(i);
        Fill_AllLists(t.app);
        window = std::make_unique<TFoliantoMainWindow>(t.app);
        window->show();
        SetAusgabeData(t.app);
        QApplication::processEvents();
    }
};

Catalogue& Shared()
{
    static Catalogue catalogue;
    return catalogue;
}

std::unique_ptr<TFiltern_Suchen_Sortieren_Dlg> OpenDialog(Catalogue& c)
{
    auto dialog = std::make_unique<TFiltern_Suchen_Sortieren_Dlg>(c.t.app, FilterDialogMode::Normal, c.window.get());
    dialog->show();
    QApplication::processEvents();
    return dialog;
}

void BM_Fill_AllLists(benchmark::State& state)
{
    App& app = Shared().t.app;
    for (auto _ : state)
        Fill_AllLists(app);
    state.counters["keywords"] = static_cast<double>(app.lists.SchlagworteSearchList.entries.size());
    state.counters["authors"] = static_cast<double>(app.lists.AutorSearchList.entries.size());
}
BENCHMARK(BM_Fill_AllLists)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetAusgabeData(benchmark::State& state)
{
    App& app = Shared().t.app;
    for (auto _ : state) {
        SetAusgabeData(app);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SetAusgabeData)->Unit(benchmark::kMillisecond)->UseRealTime();

// Created, shown and activated: every check list filled.
void BM_OpenDialog(benchmark::State& state)
{
    Catalogue& c = Shared();
    for (auto _ : state) {
        auto dialog = OpenDialog(c);
        state.PauseTiming();
        dialog->reject();
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

// One tick in the keyword list, as the view's delegate sets it.
void BM_TickOneKeyword(benchmark::State& state)
{
    Catalogue& c = Shared();
    auto dialog = OpenDialog(c);
    QAbstractItemModel* model = dialog->CheckLists[ListKeywords]->model();
    const QModelIndex row = model->index(model->rowCount() / 2, 0);
    bool on = false;
    for (auto _ : state) {
        model->setData(row, on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
        QApplication::processEvents();
        on = !on;
    }
    dialog->Model().SelectAll(ListKeywords);
    dialog->reject();
}
BENCHMARK(BM_TickOneKeyword)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SelectAllKeywords(benchmark::State& state)
{
    Catalogue& c = Shared();
    auto dialog = OpenDialog(c);
    for (auto _ : state) {
        state.PauseTiming();
        dialog->RunPopupCommand(dialog->SelectNoneAction, ListKeywords);
        QApplication::processEvents();
        state.ResumeTiming();
        dialog->RunPopupCommand(dialog->SelectAllAction, ListKeywords);
        QApplication::processEvents();
    }
    dialog->reject();
}
BENCHMARK(BM_SelectAllKeywords)->Unit(benchmark::kMillisecond)->UseRealTime();

// "&Benutzen" and what the main window runs after the dialog.
void BM_CloseAndRefresh(benchmark::State& state)
{
    Catalogue& c = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = OpenDialog(c);
        state.ResumeTiming();
        dialog->accept();
        dialog.reset();
        AfterFilterDialog(c.t.app, FilterDialogMode::Normal, true);
        c.window->Update_SortSpeedbuttons();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CloseAndRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
