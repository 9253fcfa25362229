// Workbook export and import of the 10,000-title sample catalogue.

#include "core/SampleCatalogue.h"
#include "exchange/WorkbookExchange.h"
#include "platform/Platform.h"
#include "selection/Selection.h"
#include "application/App.h"
#include "spreadsheet/Workbook.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace folianto;


constexpr int32_t kTitles = 10000;

struct Catalogue {
    SilentUserInteraction ui;
    NullPlatform platform;
    App app{ui, platform};
    Catalogue()
    {
        FillSampleCatalogue(app.store, kTitles, 1);
        SetAusgabeData(app);
    }
};

void BM_WorkbookExportGrid(benchmark::State& state)
{
    Catalogue c;
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/export.xls";
    for (auto _ : state) {
        Workbook wb;
        if (!WriteWorkbook(c.app, wb, path, GridCells(c.app)))
            state.SkipWithError("export failed");
    }
    state.counters["rows"] = c.app.grid.RowCount();
    state.counters["titles/s"] = benchmark::Counter(kTitles, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WorkbookExportGrid)->Unit(benchmark::kMillisecond);

void BM_WorkbookExportDefinition(benchmark::State& state)
{
    Catalogue c;
    c.app.settings.VorgegExportAuswahl = true;
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/definition.xls";
    for (auto _ : state) {
        Workbook wb;
        if (!WriteWorkbook(c.app, wb, path, ExportDefinitionCells(c.app)))
            state.SkipWithError("export failed");
    }
    state.counters["titles/s"] = benchmark::Counter(kTitles, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WorkbookExportDefinition)->Unit(benchmark::kMillisecond);

void BM_WorkbookImport(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/export.xls";
    {
        Catalogue c;
        Workbook wb;
        WriteWorkbook(c.app, wb, path, GridCells(c.app));
    }
    const LocaleNumberFormatter fmt("de_DE");
    for (auto _ : state) {
        SilentUserInteraction ui;
        NullPlatform platform;
        App app(ui, platform);
        app.settings.KuerzelZwang = state.range(0) != 0;
        app.settings.ImpExp.FirstRow = 2; // below the header row
        app.settings.ImpExp.AnzRows = 2000 * 5;
        app.settings.ImpExp.AnzCols = 40;
        Workbook wb;
        wb.SetFileName(path);
        wb.ClearSheets();
        wb.Read();
        const RangeImport result = ImportWorkbookRange(app, wb, fmt);
        if (result.Created != kTitles)
            state.SkipWithError("import incomplete");
    }
    state.counters["titles/s"] = benchmark::Counter(kTitles, benchmark::Counter::kIsIterationInvariantRate);
}
// Argument: short keys enforced (1) or not (0).
BENCHMARK(BM_WorkbookImport)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
