// Opening the 10,000-title sample through the File menu of the real main
// window, against Load_Buch_Data + SetAusgabeData alone in the same run.

#include "application/BuchData.h"
#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/SampleCatalogue.h"
#include "selection/Selection.h"
#include "support/Fakes.h"
#include "ui/shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace folianto;
using folianto::test::TestApp;

namespace {

struct SampleFile {
    QTemporaryDir dir;
    std::string path;

    SampleFile()
    {
        TestApp source;
        FillSampleCatalogue(source.app.store, 10000, 7);
        path = PathToCp1252(dir.filePath(QStringLiteral("sample.FOL")));
        std::string errParam;
        Save_Buch_Data(source.app, path, errParam);
    }
};

const SampleFile& Sample()
{
    static const SampleFile sample;
    return sample;
}

void BM_LoadAndRefresh(benchmark::State& state)
{
    Sample(); // written once, outside the measurements
    for (auto _ : state) {
        TestApp t;
        std::string errParam;
        Load_Buch_Data(t.app, Sample().path, errParam);
        SetAusgabeData(t.app);
        benchmark::DoNotOptimize(t.app.grid.RowCount());
    }
}
BENCHMARK(BM_LoadAndRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();

QAction* OpenAction(QWidget& window)
{
    for (QAction* a : window.findChildren<QAction*>())
        if (a->text() == QString::fromUtf8("Ö&ffnen..."))
            return a;
    return nullptr;
}

void BM_OpenFromFileMenu(benchmark::State& state)
{
    TestApp t;
    TFoliantoMainWindow window(t.app);
    window.InitBuchStringGrid();
    window.show();
    QAction* open = OpenAction(window);
    Sample();
    if (!open) {
        state.SkipWithError("no open entry");
        return;
    }
    for (auto _ : state) {
        t.ui.filePaths.push_back(Sample().path);
        open->trigger();
        window.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(t.app.grid.RowCount());
    }
}
BENCHMARK(BM_OpenFromFileMenu)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
