#include "history/HistoryTestUtil.h"
#include "history/RecoveryJournal.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <set>

using namespace folianto;
using folianto::test::FillStartCatalogue;
using folianto::test::HistoryWalk;
using folianto::test::RandomCommands;
using folianto::test::StoreImage;

namespace {

// A store loaded "from" the place's database, its history and its journal.
struct Catalogue : test::RecoveryPlace {
    TitleStore store;
    TitleHistory history{store};
    RecoveryJournal journal{store, folder};

    Catalogue()
    {
        FillStartCatalogue(store);
        history.SetListener(&journal);
        journal.Follow(database);
    }
    QString journalFile() const { return PathFromCp1252(journal.FileFor(database)); }
    void edit(const std::string& text)
    {
        TitleChange change(history, "Titel bearbeiten");
        store.Touch(2);
        store.at(2)->Titel.Text = text;
    }
};

// A fresh store loaded from the database, with the recovery file in `folder`
// (the catalogue's own when empty) replayed.
std::string Recovered(const Catalogue& c, std::size_t expectChanges, const std::string& folder = {})
{
    TitleStore store;
    FillStartCatalogue(store);
    RecoveryJournal journal(store, folder.empty() ? c.folder : folder);
    const std::optional<RecoveryInfo> info = journal.Find(c.database);
    if (!info)
        return "no recovery file";
    EXPECT_EQ(info->changes, expectChanges);
    if (info->changes == 0) // begun, but no change whole: nothing to ask about
        return StoreImage(store);
    EXPECT_TRUE(info->matches);
    EXPECT_TRUE(journal.Recover(*info));
    return StoreImage(store);
}

} // namespace

// The recovery file cut at any length (a kill in the middle of a write)
// gives exactly the state after the last whole change.
TEST(RecoveryJournal, CutAnywhereRecoversTheLastWholeChange)
{
    Catalogue c;
    RandomCommands commands(7);
    HistoryWalk walk{{StoreImage(c.store)}};
    std::map<qint64, std::string> states; // file size -> state it records
    for (int k = 0; k < 60; ++k) {
        walk.Step(commands, c.store, c.history);
        states[QFileInfo(c.journalFile()).size()] = StoreImage(c.store);
    }
    QFile file(c.journalFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_GT(states.size(), 20u);

    std::vector<qint64> cuts = {0, 1, 8, 9, 20};
    for (const auto& [size, state] : states)
        for (qint64 d : {-1, 0, 1})
            if (size + d > 0 && size + d <= whole.size())
                cuts.push_back(size + d);
    for (const qint64 cut : cuts) {
        SCOPED_TRACE(cut);
        QFile out(c.journalFile());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(whole.left(cut));
        out.close();
        // The last recorded size at or below the cut; before the first
        // change nothing is recorded.
        auto last = states.upper_bound(cut);
        const std::size_t changes = static_cast<std::size_t>(std::distance(states.begin(), last)) -
                                    (states.begin()->first == 0 ? 1 : 0);
        const std::string expected = last == states.begin() ? walk.states.front() : std::prev(last)->second;
        EXPECT_TRUE(Recovered(c, changes) == expected);
    }
}

// A damaged byte inside a change ends the replay before that change.
TEST(RecoveryJournal, DamagedChangeEndsTheReplay)
{
    Catalogue c;
    c.edit("eins");
    const std::string first = StoreImage(c.store);
    const qint64 size = QFileInfo(c.journalFile()).size();
    c.edit("zwei");
    c.edit("drei");
    QFile file(c.journalFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(size + 20);
    file.write("\xFF", 1);
    file.close();
    EXPECT_TRUE(Recovered(c, 1) == first);

    // Gone before it is read (taken by another instance): nothing recovered.
    TitleStore store;
    FillStartCatalogue(store);
    RecoveryJournal journal(store, c.folder);
    const std::optional<RecoveryInfo> info = journal.Find(c.database);
    ASSERT_TRUE(info);
    ASSERT_TRUE(QFile::remove(c.journalFile()));
    EXPECT_FALSE(journal.Recover(*info));
    EXPECT_FALSE(journal.RecoverAlone(*info));
    EXPECT_EQ(store.AnzBuch, c.store.AnzBuch);
}

TEST(RecoveryJournal, FileNamesKeepCataloguesApart)
{
    TitleStore store;
    RecoveryJournal journal(store, "/state/recovery");
    struct Case {
        std::string database;
        std::string prefix;
    };
    const Case cases[] = {
        {"/home/a/Katalog.FOL", "/state/recovery/Katalog-"},
        {"/home/b/Katalog.FOL", "/state/recovery/Katalog-"},
        {Cp1252("/home/a/Bücher Liste.FOL"), "/state/recovery/B_cher_Liste-"},
        {"", "/state/recovery/unbenannt-"},
    };
    std::set<std::string> names;
    for (const Case& c : cases) {
        const std::string name = journal.FileFor(c.database);
        EXPECT_EQ(name.rfind(c.prefix, 0), 0u) << name;
        EXPECT_EQ(name.size(), c.prefix.size() + 16 + 8) << name; // the hash, ".journal"
        names.insert(name);
    }
    EXPECT_EQ(names.size(), std::size(cases));
}

// The changes start from the database as it was; a database written since
// by other means is no longer their start.
TEST(RecoveryJournal, DatabaseChangedSinceDoesNotMatch)
{
    Catalogue c;
    c.edit("eins");
    QFile db(PathFromCp1252(c.database));
    ASSERT_TRUE(db.open(QIODevice::Append));
    db.write("x");
    db.close();
    const std::optional<RecoveryInfo> info = c.journal.Find(c.database);
    ASSERT_TRUE(info);
    EXPECT_EQ(std::tuple(info->matches, info->changes, info->databaseExists), std::tuple(false, 1u, true));
    // Emptied it is still there; removed it is gone.
    for (const bool removed : {false, true}) {
        ASSERT_TRUE(removed ? db.remove() : db.resize(0));
        const std::optional<RecoveryInfo> now = c.journal.Find(c.database);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->databaseExists, !removed);
    }
}

// What happens to the recovery file when the catalogue is saved or left.
TEST(RecoveryJournal, SaveAndLeave)
{
    struct Case {
        const char* name;
        void (*end)(Catalogue&);
        int journals;
        int asides;
        bool following;
    };
    const Case cases[] = {
        {"saved", [](Catalogue& c) { c.journal.Saved(c.database); }, 0, 0, true},
        {"left saved", [](Catalogue& c) { c.journal.Leave(true); }, 0, 1, false},
        {"left unsaved", [](Catalogue& c) { c.journal.Leave(false); }, 0, 2, false},
        {"stopped", [](Catalogue& c) { c.journal.Stop(); }, 1, 1, false},
        {"saved, then changed", [](Catalogue& c) { c.journal.Saved(c.database); c.edit("neu"); }, 1, 0, true},
        {"saved under another name", [](Catalogue& c) { c.journal.Saved(c.database + ".neu"); }, 0, 1, true},
        {"another catalogue's put aside",
         [](Catalogue& c) { c.journal.PutAside(c.journal.FileFor(c.database + ".alt")); }, 1, 1, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Catalogue c;
        c.edit("eins");
        // An earlier run's recovery, put aside.
        c.journal.Stop();
        EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(-[0-9a-f]{16}\.aside-\d{8}-\d{6}\.journal$)"))
                        .match(QString::fromStdString(c.journal.PutAside(PathToCp1252(c.journalFile()))))
                        .hasMatch());
        c.journal.Follow(c.database);
        c.edit("zwei");
        k.end(c);
        const QDir dir(PathFromCp1252(c.folder));
        EXPECT_EQ(dir.entryList({QStringLiteral("*.aside-*")}, QDir::Files).size(), k.asides);
        EXPECT_EQ(dir.entryList(QDir::Files).size(), k.journals + k.asides);
        EXPECT_EQ(c.journal.Following(), k.following);
    }
}

// Recovering goes on in the same file: a second crash recovers both the
// first run's changes and those made after the recovery.
TEST(RecoveryJournal, RecoveryGoesOnInTheSameFile)
{
    Catalogue c;
    c.edit("eins");
    {
        // Torn tail of the first run.
        QFile file(c.journalFile());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("\x40\x00\x00\x00garbage", 11);
    }
    c.journal.Stop();

    TitleStore store;
    FillStartCatalogue(store);
    TitleHistory history(store);
    RecoveryJournal journal(store, c.folder);
    history.SetListener(&journal);
    const std::optional<RecoveryInfo> info = journal.Find(c.database);
    ASSERT_TRUE(info && info->changes == 1);
    ASSERT_TRUE(journal.Recover(*info));
    EXPECT_EQ(store.at(2)->Titel.Text, "eins");
    EXPECT_FALSE(store.Gesichert());
    {
        TitleChange change(history, "Neuer Titel");
        store.NewBuch();
        store.at(store.AnzBuch)->Titel.Text = "zwei";
    }
    EXPECT_TRUE(Recovered(c, 2) == StoreImage(store));
}

// A write that fails half-way (a full disk) loses nothing once writing works
// again: the next change starts a new file with the whole store.
TEST(RecoveryJournal, FailedWriteIsMadeGoodByTheNextChange)
{
    class HalfWrite : public AppendFile {
    public:
        bool Append(const char* data, std::size_t size) override
        {
            if (++calls != 2)
                return AppendFile::Append(data, size);
            WriteAll(data, size / 2);
            return false;
        }
        int calls = 0;
    };
    Catalogue c;
    RecoveryJournal journal(c.store, c.folder + "/half", std::make_unique<HalfWrite>());
    c.history.SetListener(&journal);
    journal.Follow(c.database);
    EXPECT_FALSE(journal.Failing());
    c.edit("eins");
    EXPECT_FALSE(journal.Failing());
    c.edit("zwei");
    EXPECT_TRUE(journal.TakeNewFailure());
    EXPECT_FALSE(journal.TakeNewFailure());
    c.edit("drei");
    EXPECT_FALSE(journal.Failing());

    EXPECT_TRUE(Recovered(c, 1, c.folder + "/half") == StoreImage(c.store)); // the whole store
    EXPECT_EQ(QDir(PathFromCp1252(c.folder + "/half")).entryList({QStringLiteral("*.aside-*")}, QDir::Files).size(), 1);

    // A file cannot be made (a file holds the folder's name): the same once it can.
    const std::string blocked = c.folder + "/blocked";
    QFile(PathFromCp1252(blocked)).open(QIODevice::WriteOnly);
    RecoveryJournal late(c.store, blocked);
    c.history.SetListener(&late);
    late.Follow(c.database);
    {
        TitleChange change(c.history, "Neuer Titel"); // lost to the file
        c.store.NewBuch();
    }
    EXPECT_TRUE(late.TakeNewFailure());
    ASSERT_TRUE(QFile::remove(PathFromCp1252(blocked)));
    c.edit("fünf");
    EXPECT_FALSE(late.Failing());
    EXPECT_TRUE(Recovered(c, 1, blocked) == StoreImage(c.store));
}

// An edit, then a title before it deleted in the same step: the edited title
// is recorded at the slot it moved to. A change no step recorded is written
// as the whole store when flushed.
TEST(RecoveryJournal, StepsAndChangesOutsideThemAreRecovered)
{
    Catalogue c;
    {
        TitleChange change(c.history, "Gemischt");
        c.store.Touch(5);
        c.store.at(5)->Titel.Text = "bearbeitet";
        c.store.ActBuch = 1;
        c.store.DeleteActBuch();
    }
    EXPECT_TRUE(Recovered(c, 1) == StoreImage(c.store));
    c.edit("eins");
    c.store.Touch(5);
    c.store.at(5)->Titel.Text = "ohne Schritt";
    c.store.NewBuch();
    c.journal.Flush();
    EXPECT_TRUE(Recovered(c, 3) == StoreImage(c.store));
    c.edit("zwei");
    EXPECT_TRUE(Recovered(c, 4) == StoreImage(c.store));
    {
        TitleChange change(c.history, "Titel bearbeiten");
        c.store.Touch(3);
        c.store.at(3)->TextField(TextFieldCount).Text = "das letzte Textfeld";
    }
    EXPECT_TRUE(Recovered(c, 5) == StoreImage(c.store));
}
