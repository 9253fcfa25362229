// Load and save of a 10,000-title catalogue against a plain read and write
// of the same number of bytes.

#include "core/DatabaseFile.h"
#include "core/SampleCatalogue.h"
#include "application/App.h"
#include "application/BuchData.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace folianto;

struct Catalogue {
    QTemporaryDir dir;
    SilentUserInteraction user;
    NullPlatform platform;
    App app{user, platform};
    std::string path;
    QByteArray bytes;

    Catalogue()
    {
        FillSampleCatalogue(app.store, 10000, 2024);
        path = dir.filePath(QStringLiteral("katalog.FOL")).toStdString();
        std::string err;
        Save_Buch_Data(app, path, err);
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::ReadOnly);
        bytes = f.readAll();
    }
};

Catalogue& Shared()
{
    static Catalogue catalogue;
    return catalogue;
}

void Load(benchmark::State& state)
{
    Catalogue& c = Shared();
    for (auto _ : state) {
        std::string err;
        if (!Load_Buch_Data(c.app, c.path, err) || c.app.store.AnzBuch != 10000)
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * c.bytes.size());
}

void Save(benchmark::State& state)
{
    Catalogue& c = Shared();
    const std::string target = c.dir.filePath(QStringLiteral("kopie.FOL")).toStdString();
    for (auto _ : state) {
        std::string err;
        if (!Save_Buch_Data(c.app, target, err))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * c.bytes.size());
}

void PlainRead(benchmark::State& state)
{
    Catalogue& c = Shared();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        QFile f(QString::fromStdString(c.path));
        f.open(QIODevice::ReadOnly);
        qint64 total = 0;
        for (qint64 n; (n = f.read(buffer.data(), static_cast<qint64>(buffer.size()))) > 0;)
            total += n;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * c.bytes.size());
}

// The whole file into fresh memory at once.
void PlainReadAll(benchmark::State& state)
{
    Catalogue& c = Shared();
    for (auto _ : state) {
        QFile f(QString::fromStdString(c.path));
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll());
    }
    state.SetBytesProcessed(state.iterations() * c.bytes.size());
}

// A plain write; with `synced` also made durable the way a save is.
void PlainWrite(benchmark::State& state, bool synced)
{
    Catalogue& c = Shared();
    const QString target = c.dir.filePath(QStringLiteral("roh.bin"));
    for (auto _ : state) {
        if (synced) {
            QSaveFile f(target);
            f.open(QIODevice::WriteOnly);
            f.write(c.bytes);
            f.commit();
        } else {
            QFile f(target);
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(c.bytes);
        }
    }
    state.SetBytesProcessed(state.iterations() * c.bytes.size());
}

BENCHMARK(Load)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainReadAll)->Unit(benchmark::kMillisecond);
BENCHMARK(Save)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainWrite, plain, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainWrite, synced, true)->Unit(benchmark::kMillisecond);

} // namespace
