// The workbook engine alone: 10,000 rows of 20 text cells written to and
// read from an in-memory .XLS file.

#include "spreadsheet/Workbook.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace folianto;

namespace {

constexpr uint16_t kRows = 10000;
constexpr uint16_t kCols = 20;

void Fill(Workbook& wb)
{
    Sheet& s = wb.GetSheet(0);
    s.Name = "Folianto-Export";
    for (uint16_t r = 0; r < kRows; ++r)
        for (uint16_t c = 0; c < kCols; ++c)
            s.WriteText(c, r, c % 4 == 0 ? std::string("M\xFCller ") + std::to_string(r)
                                         : "Feld " + std::to_string(c) + " / " + std::to_string(r % 500));
}

void BM_EngineWrite(benchmark::State& state)
{
    for (auto _ : state) {
        Workbook wb;
        Fill(wb);
        benchmark::DoNotOptimize(wb.WriteToBytes());
    }
}
BENCHMARK(BM_EngineWrite)->Unit(benchmark::kMillisecond);

void BM_EngineRead(benchmark::State& state)
{
    Workbook source;
    Fill(source);
    const std::vector<uint8_t> bytes = source.WriteToBytes();
    const LocaleNumberFormatter fmt("de_DE");
    for (auto _ : state) {
        Workbook wb;
        wb.ReadFromBytes(bytes);
        const Sheet& s = wb.GetSheet(0);
        std::size_t total = 0;
        for (uint16_t r = s.FirstUsedRow(); r <= s.LastUsedRow(); ++r)
            for (uint16_t c = s.FirstUsedCol(); c <= s.LastUsedCol(); ++c)
                total += s.ReadCellText(c, r, fmt).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_EngineRead)->Unit(benchmark::kMillisecond);

} // namespace
