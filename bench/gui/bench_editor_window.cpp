// The title editor window over the 10,000-title sample: opening it on a
// title and OK until the refreshed grid is painted, each next to one
// SetAusgabeData of the same catalogue in the same run. The sample is made
// on first use, before the first measured loop; main is the one of
// bench_open_window.cpp.

#include "application/App.h"
#include "application/BuchData.h"
#include "core/Codec.h"
#include "core/SampleCatalogue.h"
#include "editor/TitleEditorModel.h"
#include "selection/Selection.h"
#include "support/Fakes.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/TitleGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace folianto;
using folianto::test::TestApp;

namespace {

// The main window with the sample open and the editor made, as after start-up.
struct EditorWindow {
    QTemporaryDir dir;
    TestApp t;
    std::unique_ptr<TFoliantoMainWindow> window;
    int32_t target = 0;

    EditorWindow()
    {
        {
            TestApp source;
            FillSampleCatalogue(source.app.store, 10000, 7);
            const std::string path = PathToCp1252(dir.filePath(QStringLiteral("sample.FOL")));
            std::string errParam;
            Save_Buch_Data(source.app, path, errParam);
            t.app.DataFileName = path;
        }
        t.app.settings.OpenFileAtStart = true;
        window = std::make_unique<TFoliantoMainWindow>(t.app);
        window->TitleEditor();
        window->InitBuchStringGrid();
        window->TitleEditor().Model().FillComboBoxes();
        window->show();
        QApplication::processEvents();
        // A title in the middle of the store with a literature type set.
        for (target = t.app.store.AnzBuch / 2; t.app.store.at(target)->TypNum == 8; ++target) {
        }
    }

    TitleEditorModel& Model() { return window->TitleEditor().Model(); }
    TBuchEditDlg& Dialog() { return window->TitleEditor(); }

    // The edit command's steps before the dialog shows.
    void PrepareEdit()
    {
        t.app.store.ActBuch = target;
        Model().InitForm(EditModeEdit, 1);
        Model().FillComboBoxes();
        Model().LoadFromStore();
    }
};

EditorWindow& Shared()
{
    // Never destroyed: its widgets must not outlive the application object.
    static EditorWindow* window = new EditorWindow;
    return *window;
}

void BM_EditorWindow_SetAusgabeData(benchmark::State& state)
{
    EditorWindow& w = Shared();
    for (auto _ : state) {
        SetAusgabeData(w.t.app);
        benchmark::DoNotOptimize(w.t.app.grid.RowCount());
    }
    state.counters["rows"] = w.t.app.grid.RowCount() - 1;
}
BENCHMARK(BM_EditorWindow_SetAusgabeData)->Unit(benchmark::kMillisecond)->UseRealTime();

// InitForm + FillComboBoxes + LoadFromStore + the dialog shown and painted.
void BM_EditorWindow_Open(benchmark::State& state)
{
    EditorWindow& w = Shared();
    TBuchEditDlg& dialog = w.Dialog();
    for (auto _ : state) {
        w.PrepareEdit();
        dialog.LoadFromModel();
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        dialog.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["authors"] = static_cast<double>(w.Model().Values.Autor.Items.size());
}
BENCHMARK(BM_EditorWindow_Open)->Unit(benchmark::kMillisecond)->UseRealTime();

// OK on a changed title until the refreshed grid is painted: the dialog's OK
// handler, then what the edit command does afterwards.
void BM_EditorWindow_OkUntilGridPainted(benchmark::State& state)
{
    EditorWindow& w = Shared();
    TBuchEditDlg& dialog = w.Dialog();
    auto* titel = static_cast<QLineEdit*>(dialog.Control(EditControl::TitelEdit));
    auto* ok = static_cast<QAbstractButton*>(dialog.Control(EditControl::OkButton));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.PrepareEdit();
        dialog.LoadFromModel();
        dialog.show();
        QApplication::processEvents();
        titel->setText(QStringLiteral("Geänderter Titel %1").arg(++round));
        const int topRow = w.window->Grid()->TopRow();
        state.ResumeTiming();

        ok->click();
        w.t.app.store.ActBuch = w.target;
        SetAusgabeData(w.t.app);
        w.window->Grid()->verticalScrollBar()->setValue(topRow - 1);
        w.window->repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.t.app.grid.RowCount());
    }
}
BENCHMARK(BM_EditorWindow_OkUntilGridPainted)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
