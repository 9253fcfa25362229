// Short keys while 10,000 titles are imported: every title of one author gets
// a generated key, or its taken key a free variant.

#include "editor/ShortKeys.h"
#include "platform/PosixPlatform.h"
#include "application/App.h"

#include <benchmark/benchmark.h>

namespace {

struct BenchApp {
    folianto::SilentUserInteraction ui;
    folianto::PosixPlatform platform;
    folianto::App app{ui, platform};
};

// Appends state.range(0) titles, each made current and given its key by `key`.
template <class Keying>
void Import(benchmark::State& state, Keying key)
{
    for (auto _ : state) {
        BenchApp b;
        folianto::TitleStore& store = b.app.store;
        for (int64_t i = 0; i < state.range(0); ++i) {
            store.NewBuch();
            store.ActBuch = store.AnzBuch;
            key(b.app, *store.current());
        }
        benchmark::DoNotOptimize(store.current()->Kuerzel.Text);
    }
}

void BM_ImportGeneratedKeys(benchmark::State& state)
{
    Import(state, [](folianto::App& app, folianto::TBuch& title) {
        title.Autor.Text = "Schmidt, Anna";
        folianto::Kuerzel_erzeugen(app.store, app.settings);
    });
}
BENCHMARK(BM_ImportGeneratedKeys)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportTakenKeys(benchmark::State& state)
{
    Import(state, [](folianto::App& app, folianto::TBuch& title) {
        title.Kuerzel.Text = "Sch001";
        title.Kuerzel.Text = folianto::MakeUniqueKuerzel(app.store, app.settings, app.store.AnzBuch);
    });
}
BENCHMARK(BM_ImportTakenKeys)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
