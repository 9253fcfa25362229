#include "application/BuchData.h"
#include "application/FileCommands.h"
#include "application/Recovery.h"
#include "core/SampleCatalogue.h"
#include "core/Text.h"
#include "history/HistoryTestUtil.h"
#include "selection/Selection.h"
#include "shell/MainCommands.h"
#include "support/Fakes.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>

using namespace folianto;
using folianto::test::StoreImage;
using folianto::test::TestApp;

namespace {

struct Files : test::RecoveryPlace {

    Files()
    {
        for (const std::string& path : {database, second}) {
            TestApp t;
            FillSampleCatalogue(t.app.store, 30, 3);
            std::string err;
            EXPECT_TRUE(Save_Buch_Data(t.app, path, err));
        }
    }
    std::string second = PathToCp1252(dir.path() + QStringLiteral("/Zweiter.FOL"));
    QStringList inFolder() const { return QDir(PathFromCp1252(folder)).entryList(QDir::Files); }
    // Loads the database into `t` with the recovery files in the folder.
    void open(TestApp& t) const
    {
        t.app.recovery.SetFolder(folder);
        std::string err;
        EXPECT_TRUE(Load_Buch_Data(t.app, database, err));
        SetAusgabeData(t.app);
    }
};

// Opens the database, deletes title 2 and "crashes": the App goes without
// ending. The state the changes left.
std::string ChangeAndCrash(const Files& f)
{
    TestApp t;
    f.open(t);
    EXPECT_TRUE(t.ui.messages.empty());
    t.app.store.ActBuch = 2;
    EXPECT_TRUE(DeleteCurrentTitle(t.app));
    return StoreImage(t.app.store);
}

// Another program wrote the database since.
void TouchDatabase(const Files& f)
{
    QFile db(PathFromCp1252(f.database));
    ASSERT_TRUE(db.open(QIODevice::ReadWrite));
    ASSERT_TRUE(db.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
}

std::string AddAndCrash(const Files& f, const std::string& database)
{
    TestApp t;
    test::EditAsBeforeACrash(t, f.folder, database);
    // Also the first title: without its database a recovery knows no more of it.
    TitleChange change(t.app.titleHistory, "Titel bearbeiten");
    t.app.store.Touch(1);
    t.app.store.at(1)->Titel.Text = "Erster";
    return StoreImage(t.app.store);
}

} // namespace

TEST(Recovery, OpeningAfterACrashOffersTheChanges)
{
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Ja" : "Nein");
        Files f;
        const std::string changed = ChangeAndCrash(f);
        TestApp t;
        t.ui.answers = {answer};
        f.open(t);
        ASSERT_EQ(t.ui.messages.size(), 1u);
        const folianto::test::RecordedMessage& q = t.ui.messages[0];
        EXPECT_EQ(std::tuple(q.kind, q.buttons), std::tuple(MsgKind::Confirmation, Buttons::YesNo));
        const std::string start = Cp1252("Folianto: Sicherheitssystem\r\n\r\nDie Änderungen an den Buchdaten von ") +
                                  f.database + ", zuletzt am ";
        EXPECT_EQ(q.text.substr(0, start.size()), start);
        EXPECT_NE(q.text.find(Cp1252(" Uhr, wurden nicht gesichert.\r\nSollen sie wiederhergestellt werden?")),
                  std::string::npos);
        if (answer == Answer::Yes) {
            EXPECT_TRUE(StoreImage(t.app.store) == changed);
            EXPECT_FALSE(t.app.store.Gesichert());
            EXPECT_FALSE(t.app.titleHistory.CanUndo());
        } else {
            EXPECT_EQ(std::tuple(t.app.store.AnzBuch, t.app.store.Gesichert()), std::tuple(30, true));
            EXPECT_EQ(f.inFolder().filter(QStringLiteral(".aside-")).size(), 1);
        }
        // Opened again: asked again only while the changes are not put aside.
        TestApp again;
        again.ui.answers = {Answer::No};
        f.open(again);
        EXPECT_EQ(again.ui.messages.size(), answer == Answer::Yes ? 1u : 0u);
    }
}

// Changes to a database written since by other means are not offered, on
// opening it nor at the start: they are put aside, and the warning names
// where they wait.
TEST(Recovery, ChangesToADatabaseChangedSinceArePutAside)
{
    for (const bool atStart : {false, true}) {
        SCOPED_TRACE(atStart ? "Start" : "Öffnen");
        Files f;
        ChangeAndCrash(f);
        TouchDatabase(f);
        TestApp t;
        if (atStart) {
            t.app.recovery.SetFolder(f.folder);
            EXPECT_FALSE(OfferWaitingRecoveries(t.app));
        } else {
            f.open(t);
        }
        EXPECT_EQ(t.app.store.AnzBuch, atStart ? 0 : 30);
        ASSERT_EQ(t.ui.messages.size(), 1u);
        const folianto::test::RecordedMessage& m = t.ui.messages[0];
        EXPECT_EQ(std::tuple(m.kind, m.buttons), std::tuple(MsgKind::Warning, Buttons::Ok));
        EXPECT_NE(m.text.find(Cp1252("Die Datei wurde seitdem verändert")), std::string::npos) << m.text;
        const QStringList aside = f.inFolder().filter(QStringLiteral(".aside-"));
        ASSERT_EQ(aside.size(), 1);
        const std::string end = Cp1252("bis zum nächsten Speichern in\r\n") + f.folder + "/" + PathToCp1252(aside[0]);
        EXPECT_EQ(m.text.substr(m.text.size() - std::min(m.text.size(), end.size())), end);
    }
}

// "Neu" offers the changes of an unnamed collection and shows what it took over.
TEST(Recovery, NewCollectionAfterACrashShowsTheChanges)
{
    Files f;
    {
        TestApp crashed;
        crashed.app.recovery.SetFolder(f.folder);
        NewDatabase(crashed.app);
        TitleChange change(crashed.app.titleHistory, "Neuer Titel");
        crashed.app.store.NewBuch();
    }
    TestApp t;
    t.app.recovery.SetFolder(f.folder);
    t.ui.answers = {Answer::Yes};
    NewDatabase(t.app);
    ASSERT_EQ(std::tuple(t.ui.messages.size(), t.app.store.AnzBuch), std::tuple(1u, 1));
    EXPECT_EQ(t.app.store.FindBuchByNr(t.app.selection.AusgabeBuchNr[1]), 1);
}

// A save takes the recovery file and those put aside; an end without
// unsaved changes takes it too.
TEST(Recovery, SaveRemovesTheRecoveryFiles)
{
    Files f;
    ChangeAndCrash(f);
    TestApp t;
    t.ui.answers = {Answer::No};
    f.open(t);
    t.app.store.ActBuch = 1;
    EXPECT_TRUE(DeleteCurrentTitle(t.app));
    EXPECT_EQ(f.inFolder().size(), 2); // put aside, and the new one
    std::string err;
    EXPECT_TRUE(Save_Buch_Data(t.app, f.database, err));
    EXPECT_TRUE(f.inFolder().isEmpty());

    t.app.store.ActBuch = 1;
    EXPECT_TRUE(DeleteCurrentTitle(t.app));
    EXPECT_TRUE(UndoTitleChange(t.app)); // back to the saved state
    EXPECT_TRUE(t.app.store.Gesichert());
    EXPECT_EQ(f.inFolder().size(), 1);
    t.app.recovery.Leave(t.app.store.Gesichert());
    EXPECT_TRUE(f.inFolder().isEmpty());
}

// The start offers every waiting recovery before anything is opened, newest
// first; Ja opens its database with the changes (or, the database gone,
// the titles the changes hold as a catalogue never saved), Nein puts them
// aside, "Später" leaves them for the next start.
TEST(Recovery, StartOffersWaitingChangesNewestFirst)
{
    struct Case {
        const char* name;
        bool two;      // a second database has waiting changes, older ones
        bool movedAway; // the newest's database is no longer where it was
        std::vector<Answer> answers;
        int recovered; // which database's changes are shown: 0 none, 1 newest, 2 older
        std::size_t askedNextStart;
    };
    const Case cases[] = {
        {"Ja", false, false, {Answer::Yes}, 1, 0},
        {"Nein", false, false, {Answer::No}, 0, 0},
        {"Später", false, false, {Answer::Later}, 0, 1},
        {"zwei: Später, Ja", true, false, {Answer::Later, Answer::Yes}, 2, 1},
        {"zwei: Ja", true, false, {Answer::Yes}, 1, 1},
        {"verschoben: Ja", false, true, {Answer::Yes}, 1, 0},
        {"keine", false, false, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files f;
        std::string older;
        if (c.two) {
            older = AddAndCrash(f, f.second);
            QThread::msleep(20); // a later change
        }
        std::string newest;
        if (c.name != std::string("keine"))
            newest = AddAndCrash(f, f.database);
        if (c.movedAway) {
            ASSERT_TRUE(QFile::rename(PathFromCp1252(f.database), PathFromCp1252(f.database + ".weg")));
        }

        TestApp t;
        t.app.recovery.SetFolder(f.folder);
        t.ui.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(OfferWaitingRecoveries(t.app), c.recovered != 0);
        ASSERT_EQ(t.ui.messages.size(), c.answers.size());
        for (std::size_t k = 0; k < c.answers.size(); ++k) {
            const std::string& database = k == 0 ? f.database : f.second;
            const std::string expected = Cp1252("Folianto wurde zuletzt nicht ordnungsgemäß beendet. Ungesicherte "
                                                "Änderungen an „") +
                                         ExtractFileName(database) + Cp1252("“ (") + PathToCp1252(f.dir.path()) +
                                         ") vom ";
            EXPECT_EQ(t.ui.messages[k].text.substr(0, expected.size()), expected);
            EXPECT_EQ(t.ui.messages[k].buttons, Buttons::YesNoLater);
            EXPECT_EQ(t.ui.messages[k].text.find("gibt es dort nicht mehr") != std::string::npos,
                      c.movedAway && k == 0);
        }
        if (c.recovered == 0) {
            EXPECT_EQ(t.app.store.AnzBuch, 0);
        } else if (c.movedAway) {
            // Only the added title is known whole, with its later edit.
            ASSERT_EQ(t.app.store.AnzBuch, 1);
            EXPECT_EQ(std::tuple(t.app.store.at(1)->Titel.Text, t.app.store.at(1)->Autor.Text, t.app.store.ActBuch,
                                 t.app.DataFileName),
                      std::tuple("Nachtrag", "Nachgetragen", 1, ""));
        } else {
            EXPECT_TRUE(StoreImage(t.app.store) == (c.recovered == 1 ? newest : older));
            EXPECT_EQ(t.app.DataFileName, c.recovered == 1 ? f.database : f.second);
        }
        // LoadRecovered: the start keeps the recovered current title instead of the first row.
        EXPECT_EQ(std::pair(t.app.store.Gesichert(), t.app.LoadRecovered), std::pair(c.recovered == 0, c.recovered != 0));
        EXPECT_FALSE(t.app.titleHistory.CanUndo());

        TestApp next;
        next.app.recovery.SetFolder(f.folder);
        next.ui.answers = {Answer::Later, Answer::Later};
        // A recovered catalogue's changes are still unsaved: asked again.
        const std::size_t stillUnsaved = c.recovered != 0 ? 1 : 0;
        OfferWaitingRecoveries(next.app);
        EXPECT_EQ(next.ui.messages.size(), c.askedNextStart + stillUnsaved);
    }
}

// A database that no longer loads, though its size and time still match:
// the start says why, opens nothing and the changes wait.
TEST(Recovery, StartWithADatabaseThatNoLongerLoads)
{
    Files f;
    AddAndCrash(f, f.database);
    QFile db(PathFromCp1252(f.database));
    ASSERT_TRUE(db.open(QIODevice::ReadWrite));
    const QDateTime written = db.fileTime(QFileDevice::FileModificationTime);
    ASSERT_TRUE(db.write("X") == 1 && db.flush());
    ASSERT_TRUE(db.setFileTime(written, QFileDevice::FileModificationTime));
    db.close();
    TestApp t;
    t.app.recovery.SetFolder(f.folder);
    t.ui.answers = {Answer::Yes};
    EXPECT_FALSE(OfferWaitingRecoveries(t.app));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[1].text.substr(0, 18), "Fehler beim Laden:");
    EXPECT_EQ(std::pair(t.app.store.AnzBuch, f.inFolder().size()), std::pair(0, qsizetype{1}));
}

// Changes that waited ("Später") while their database was opened and
// changed anew wait on, beside the new ones.
TEST(Recovery, ChangesLeftForLaterAreNotOverwrittenByNewOnes)
{
    Files f;
    const std::string first = AddAndCrash(f, f.database);
    TestApp t;
    t.app.recovery.SetFolder(f.folder);
    t.ui.answers = {Answer::Later};
    EXPECT_FALSE(OfferWaitingRecoveries(t.app));
    t.app.recovery.Follow(f.database);
    {
        TitleChange change(t.app.titleHistory, "Neuer Titel");
        EXPECT_TRUE(t.app.store.NewBuch());
    }
    QFile junk(PathFromCp1252(f.folder) + QStringLiteral("/fremd.journal")); // not a recovery file: not offered
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("kein Protokoll") > 0);
    junk.close();
    TestApp next;
    next.app.recovery.SetFolder(f.folder);
    EXPECT_EQ(next.app.recovery.Waiting().size(), 2u);
    next.ui.answers = {Answer::Later, Answer::Yes}; // the older ones
    EXPECT_TRUE(OfferWaitingRecoveries(next.app));
    EXPECT_TRUE(StoreImage(next.app.store) == first);
    // Taken over, they carry on in the database's own recovery file.
    EXPECT_EQ(std::pair(QFileInfo(PathFromCp1252(next.app.recovery.FileFor(f.database))).size() > 0,
                        next.app.recovery.Failing()), std::pair(true, false));
    TestApp third; // and the newer ones wait on beside them
    third.app.recovery.SetFolder(f.folder);
    const std::vector<RecoveryInfo> waiting = third.app.recovery.Waiting();
    ASSERT_EQ(waiting.size(), 2u);
    const std::string own = third.app.recovery.FileFor(f.database);
    EXPECT_TRUE(waiting[0].file == own || waiting[1].file == own);
}

// A set-aside that fails names the name it tried (here one too long for
// the file system), and nothing else is said about the changes.
TEST(Recovery, FailedSetAsideNamesThePathTried)
{
    Files f;
    AddAndCrash(f, f.database);
    TouchDatabase(f);
    TestApp t;
    t.app.recovery.SetFolder(f.folder);
    const QString longName = PathFromCp1252(f.folder) + QLatin1Char('/') + QString(240, QLatin1Char('k')) +
                             QStringLiteral(".journal");
    ASSERT_TRUE(QFile::rename(PathFromCp1252(t.app.recovery.FileFor(f.database)), longName));
    OfferWaitingRecoveries(t.app);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    const std::string tried = PathToCp1252(longName.chopped(8)) + ".aside-";
    EXPECT_NE(t.ui.messages[0].text.find(Cp1252("ließ sich nicht umbenennen in\r\n") + tried), std::string::npos)
        << t.ui.messages[0].text;
    EXPECT_TRUE(QFile::exists(longName));
}
