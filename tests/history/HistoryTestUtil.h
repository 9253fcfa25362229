#pragma once
// Random title commands, each recorded as one step, and the store as bytes
// for comparing states exactly.

#include "core/SampleCatalogue.h"
#include "history/TitleCoding.h"
#include "history/TitleHistory.h"
#include "support/Fakes.h"

#include <cstdint>
#include <random>

namespace folianto::test {

// A temporary folder holding a database (its content does not matter to the
// journal) and the path of its recovery folder.
struct RecoveryPlace {
    QTemporaryDir dir;
    std::string database = PathToCp1252(dir.path() + QStringLiteral("/Katalog.FOL"));
    std::string folder = PathToCp1252(dir.path() + QStringLiteral("/recovery"));

    RecoveryPlace()
    {
        QFile db(PathFromCp1252(database));
        EXPECT_TRUE(db.open(QIODevice::WriteOnly));
        db.write("Folianto1.4#");
    }
};

// Every title member, the order, the current title and the BuchNr counter.
inline std::string StoreImage(const TitleStore& store)
{
    std::string out;
    PutI32(out, store.AnzBuch);
    PutI32(out, store.ActBuch);
    PutI32(out, store.BuchNrCounter());
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        EncodeTitle(out, *store.at(i));
    return out;
}

// Appends an embedded picture of `size` bytes `fill`.
inline void AddPicture(TBuch& b, int32_t kind, std::size_t size, uint8_t fill, const std::string& title)
{
    TPicRec& pic = b.Pics.emplace_back();
    pic.Kind = kind;
    pic.Data.assign(size, fill);
    pic.Size = static_cast<int32_t>(size);
    pic.BildTitel.Text = title;
    b.AnzPics = static_cast<int32_t>(b.Pics.size());
}

// The catalogue the tests start from; title 3 carries a large picture.
constexpr int32_t PictureSlot = 3;
inline void FillStartCatalogue(TitleStore& store)
{
    FillSampleCatalogue(store, 40, 11);
    AddPicture(*store.at(PictureSlot), 1, 300000, 0x5A, "Umschlag");
    store.ActBuch = 1;
}

// Commands as the program's are shaped: in-place edits touch their slot
// first, new titles are appended, removals go through DeleteActBuch.
class RandomCommands {
public:
    explicit RandomCommands(uint64_t seed) : random_(seed) {}

    int32_t Below(int32_t n) { return n <= 0 ? 0 : static_cast<int32_t>(random_() % static_cast<uint64_t>(n)); }

    // One command as one step.
    void Run(TitleStore& store, TitleHistory& history)
    {
        static const char* const kLabels[] = {"Titel bearbeiten", "Titel löschen", "Neuer Titel",
                                              "Titel kopieren", "Ersetzen", "Import", "Zusammenführen",
                                              "Gemischt", "Nichts"};
        const int32_t which = Below(9);
        TitleChange change(history, kLabels[which]);
        const int32_t n = store.AnzBuch;
        switch (which) {
        case 0:
            if (n > 0)
                Edit(store, 1 + Below(n));
            break;
        case 1:
            if (n > 0)
                Delete(store, 1 + Below(n));
            break;
        case 2: Append(store); break;
        case 3:
            if (n > 0 && Append(store)) {
                TBuch& copy = *store.at(store.AnzBuch);
                const int32_t nr = copy.BuchNr;
                copy = *store.at(1 + Below(n));
                copy.BuchNr = nr;
            }
            break;
        case 4: // every title with an "e" in its title: all of it upper case
            for (int32_t i = 1; i <= n; ++i) {
                std::string& t = store.at(i)->Titel.Text;
                if (t.find('e') != std::string::npos) {
                    store.Touch(i);
                    std::transform(t.begin(), t.end(), t.begin(), [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
                }
            }
            break;
        case 5:
            for (int32_t k = Below(12); k >= 0; --k)
                Append(store);
            break;
        case 6: // a merge whose last title turned out empty
            Append(store);
            Append(store);
            Delete(store, store.AnzBuch);
            break;
        case 7: // slots move within the step
            for (int32_t k = 0; k < 5 && store.AnzBuch > 2; ++k) {
                const int32_t s = 1 + Below(store.AnzBuch);
                Below(3) == 0 ? Delete(store, s) : Below(2) == 0 ? (void)Append(store) : Edit(store, s);
                if (store.AnzBuch > 0)
                    Edit(store, 1 + Below(store.AnzBuch));
            }
            break;
        default: break;
        }
    }

private:
    std::string Word()
    {
        std::string w;
        for (int32_t k = 3 + Below(8); k > 0; --k)
            w += static_cast<char>(Below(4) == 0 ? 0xE4 + Below(3) : 'a' + Below(26));
        return w;
    }

    void Edit(TitleStore& store, int32_t slot)
    {
        store.Touch(slot);
        TBuch& b = *store.at(slot);
        b.Titel.Text = Word() + " " + Word();
        if (Below(2) == 0)
            b.Autor.Text.clear();
        b.JahrNum = 1900 + Below(120);
        b.Preis = static_cast<float>(Below(5000)) / 100.0f;
        if (Below(4) == 0 && !b.Pics.empty()) {
            b.Pics.pop_back();
            b.AnzPics = static_cast<int32_t>(b.Pics.size());
        } else if (Below(6) == 0) {
            const auto size = static_cast<std::size_t>(50 + Below(500));
            const auto fill = static_cast<uint8_t>(Below(256));
            AddPicture(b, 2, size, fill, Word());
        }
        store.UpdateBuchLengths(slot);
        store.ActBuch = slot;
    }

    void Delete(TitleStore& store, int32_t slot)
    {
        store.ActBuch = slot;
        store.DeleteActBuch();
        store.ActBuch = std::min(slot, store.AnzBuch);
    }

    bool Append(TitleStore& store)
    {
        if (!store.NewBuch())
            return false;
        TBuch& b = *store.at(store.AnzBuch);
        b.Titel.Text = Word();
        b.Autor.Text = Word();
        b.TypNum = Below(9);
        store.UpdateBuchLengths(store.AnzBuch);
        store.ActBuch = store.AnzBuch;
        return true;
    }

    std::mt19937_64 random_; // the same numbers everywhere
};

// Commands, undos and redos in a random mix; `states` follows the line of
// states the history can reach, `at` the one the store is in.
struct HistoryWalk {
    std::vector<std::string> states;
    std::size_t at = 0;

    void Step(RandomCommands& commands, TitleStore& store, TitleHistory& history)
    {
        const int32_t roll = commands.Below(10);
        if (roll < 2 && history.Undo())
            --at;
        else if (roll < 3 && history.Redo())
            ++at;
        else if (roll >= 3) {
            commands.Run(store, history);
            if (history.Position() != at) {
                states.resize(at + 1);
                states.push_back(StoreImage(store));
                ++at;
            }
        }
    }
};

} // namespace folianto::test
