// Undo and the recovery file over 10,000 titles with pictures: recording an
// edit or a delete, undoing a replace over every title, keeping the
// recovery file current after an edit, and the memory 100 edits keep.

#include "core/Codec.h"
#include "core/SampleCatalogue.h"
#include "history/RecoveryJournal.h"
#include "history/TitleHistory.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace folianto;

namespace {

TitleStore& Catalogue()
{
    static TitleStore* store = [] {
        auto* s = new TitleStore;
        FillSampleCatalogue(*s, MaxBuch, 2024);
        return s;
    }();
    return *store;
}

// Slots spread over the catalogue, the same in every run.
int32_t SlotFor(int64_t k, const TitleStore& store)
{
    return 1 + static_cast<int32_t>((k * 7919) % store.AnzBuch);
}

void Edit(TitleStore& store, TitleHistory& history, int32_t slot)
{
    TitleChange change(history, "Titel bearbeiten");
    store.Touch(slot);
    store.at(slot)->Titel.Text += " (2. Aufl.)";
    store.UpdateBuchLengths(slot);
}

// A recovery file following a database in a temporary folder.
struct Journal {
    QTemporaryDir dir;
    std::string database = PathToCp1252(dir.path() + QStringLiteral("/Katalog.FOL"));
    RecoveryJournal journal;

    Journal(TitleStore& store, TitleHistory& history)
        : journal(store, PathToCp1252(dir.path() + QStringLiteral("/recovery")))
    {
        QFile db(PathFromCp1252(database));
        db.open(QIODevice::WriteOnly);
        history.SetListener(&journal);
        journal.Follow(database);
    }
};

void BM_RecordEdit(benchmark::State& state)
{
    TitleStore& store = Catalogue();
    TitleHistory history(store);
    int64_t k = 0;
    for (auto _ : state)
        Edit(store, history, SlotFor(++k, store));
}
BENCHMARK(BM_RecordEdit)->Unit(benchmark::kMicrosecond);

// Titles with pictures only: the copy taken before the change is largest.
void BM_RecordEditOfTitleWithPictures(benchmark::State& state)
{
    TitleStore& store = Catalogue();
    std::vector<int32_t> slots;
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        if (!store.at(i)->Pics.empty())
            slots.push_back(i);
    TitleHistory history(store);
    std::size_t k = 0;
    for (auto _ : state)
        Edit(store, history, slots[++k % slots.size()]);
}
BENCHMARK(BM_RecordEditOfTitleWithPictures)->Unit(benchmark::kMicrosecond);

void BM_RecordDelete(benchmark::State& state)
{
    TitleStore& store = Catalogue();
    TitleHistory history(store);
    int64_t k = 0;
    for (auto _ : state) {
        {
            TitleChange change(history, "Titel löschen");
            store.ActBuch = SlotFor(++k, store);
            store.DeleteActBuch();
        }
        state.PauseTiming();
        history.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecordDelete)->Unit(benchmark::kMicrosecond);

// With the recovery file written, as the program does it.
void BM_UndoReplaceOverAllTitles(benchmark::State& state)
{
    TitleStore& store = Catalogue();
    TitleHistory history(store);
    Journal journal(store, history);
    {
        TitleChange replace(history, "Ersetzen");
        for (int32_t i = 1; i <= store.AnzBuch; ++i) {
            store.Touch(i);
            store.at(i)->Verlag.Text += " Verlag";
        }
    }
    for (auto _ : state) {
        history.Undo();
        state.PauseTiming();
        history.Redo();
        state.ResumeTiming();
    }
    history.Undo();
}
BENCHMARK(BM_UndoReplaceOverAllTitles)->Unit(benchmark::kMillisecond);

// Recording an edit and appending it to the recovery file.
void BM_EditWithRecoveryFile(benchmark::State& state)
{
    TitleStore& store = Catalogue();
    TitleHistory history(store);
    Journal journal(store, history);
    int64_t k = 0;
    for (auto _ : state)
        Edit(store, history, SlotFor(++k, store));
}
BENCHMARK(BM_EditWithRecoveryFile)->Unit(benchmark::kMicrosecond);

// The bytes the history holds after 100 edits, some of titles with pictures.
void BM_MemoryOf100Edits(benchmark::State& state)
{
    TitleStore& store = Catalogue();
    for (auto _ : state) {
        TitleHistory history(store);
        for (int64_t k = 1; k <= 100; ++k)
            Edit(store, history, SlotFor(k * 13, store));
        state.counters["bytes"] = static_cast<double>(history.Bytes());
    }
}
BENCHMARK(BM_MemoryOf100Edits)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
