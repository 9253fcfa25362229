// Cost of one trace line (entry/exit lines of every routine): the ring must
// take a line in constant time, without moving the other 254 slots.

#include "core/UserInteraction.h"
#include "diag/TraceLog.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TraceScopeLines(benchmark::State& state)
{
    folianto::SilentUserInteraction ui;
    folianto::TraceLog log;
    log.Start("", ui);
    log.WriteMasterAlways = 2;
    folianto::InstallTraceSink(&log);
    for (auto _ : state) {
        folianto::TraceScope trace("Buch.NewBuch");
    }
    folianto::InstallTraceSink(nullptr);
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TraceScopeLines);

} // namespace
