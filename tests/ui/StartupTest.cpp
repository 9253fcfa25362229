// Start-up of the program: where its settings live, files named at the start
// and files handed over from a second start.

#include "ui/GuiSupport.h"

#include "platform/SingleInstanceLock.h"
#include "support/DbBytes.h"
#include "support/ScopedEnv.h"
#include "ui/shell/InstanceChannel.h"
#include "ui/shell/Startup.h"

#include <QDialog>
#include <QSignalSpy>

namespace folianto::test {
namespace {

TEST(Startup, SettingsSurviveARestartBesideTheProgramOrInTheUserFolder)
{
    for (const bool portable : {true, false}) {
        SCOPED_TRACE(portable ? "portable" : "user folder");
        QTemporaryDir dir;
        QTemporaryDir user;
        ScopedEnv config("XDG_CONFIG_HOME", user.filePath(QStringLiteral("config")));
        ScopedEnv state("XDG_STATE_HOME", user.filePath(QStringLiteral("state")));
        const QString beside = dir.filePath(QStringLiteral("Folianto.INI"));
        const QString inUserFolder = user.filePath(QStringLiteral("config/folianto/Folianto.INI"));
        if (portable)
            QFile(beside).open(QIODevice::WriteOnly);
        const std::string database = WriteSampleDatabase(dir, "last.FOL", 15);
        {
            TestApp t;
            t.ui.filePaths.push_back(database);
            EXPECT_EQ(RunProgram(t, dir,
                                 [](TFoliantoMainWindow& w) {
                                     FindAction(&w, {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
                                     QTest::mouseClick(FindButton(&w, Q("sortieren nach Kategorie")),
                                                       Qt::LeftButton);
                                 }),
                      0);
            EXPECT_NE(ReadBytes(portable ? beside : inUserFolder).find("LastFile=\r\n"), std::string::npos);
            EXPECT_EQ(QFile::exists(portable ? inUserFolder : beside), false);
            const QString log = portable ? dir.filePath(QStringLiteral("Folianto.KEL"))
                                         : user.filePath(QStringLiteral("state/folianto/Folianto.KEL"));
            EXPECT_EQ(QFileInfo(log).size(), 65280);
        }
        TestApp t;
        std::tuple<bool, QString> shown; // the sort button down, the history entry
        RunProgram(t, dir, [&](TFoliantoMainWindow& w) {
            shown = {FindButton(&w, Q("sortieren nach Kategorie"))->isChecked(), w.FileMenu()->actions().last()->text()};
        });
        EXPECT_EQ(shown, std::tuple(true, Q("&1 ") + FromCp1252(database)));
        EXPECT_EQ(std::tuple(t.app.settings.BuchSort, t.ui.messages.size()), std::tuple(2, 0u));
    }
}

TEST(Startup, SettingsThatCannotBeWrittenAreReportedOnceWithTheirPath)
{
    QTemporaryDir dir;
    QTemporaryDir user;
    const QString blocked = user.filePath(QStringLiteral("config"));
    QFile(blocked).open(QIODevice::WriteOnly); // a file where the folder should be
    ScopedEnv config("XDG_CONFIG_HOME", blocked);
    ScopedEnv state("XDG_STATE_HOME", user.filePath(QStringLiteral("state")));
    const std::string database = WriteSampleDatabase(dir, "last.FOL", 3);
    TestApp t;
    EXPECT_EQ(RunProgram(t, dir, [](TFoliantoMainWindow& w) {
                  FindButton(&w, Q("sortieren nach Kategorie"))->click(); // a setting worth keeping
              }, database),
              0);
    const std::string ini = PathToCp1252(blocked) + "/folianto/Folianto.INI";
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].text),
              std::tuple(MsgKind::Warning, "nach " + ini + " kann nicht geschrieben werden"));
}

TEST(Startup, SecondStartIsRefusedWhenNoRunningInstanceTakesItsFile)
{
    // The lock is held, but nobody listens: with or without a file the same box.
    for (const char* startFile : {"", "/daten/buecher.FOL"}) {
        QTemporaryDir dir;
        SingleInstanceLock first(InstanceName, PathToCp1252(dir.path()));
        ASSERT_TRUE(first.tryAcquire());
        TestApp t;
        t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
        EXPECT_NE(RunFolianto(t.app, PathToCp1252(dir.path()), startFile), 0); // refused before any window
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].text),
                  std::tuple(MsgKind::Error, "Folianto darf nicht mehrfach geladen werden!"));
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Folianto.INI"))));
    }
}

TEST(Startup, FileNamedAtTheStartOpensInsteadOfTheLastFile)
{
    QTemporaryDir dir;
    // Names the code page has no bytes for: LastFile holds them as references.
    const std::string last = WriteSampleDatabase(dir, "Документы.FOL", 15);
    const std::string named = WriteSampleDatabase(dir, "目录.FOL", 7);
    WriteBytes(dir.filePath(QStringLiteral("Folianto.INI")), "[COMMON]\r\nOpenFileAtStart=1\r\nLastFile=" + last + "\r\n");
    // The named file opens; the next start opens it again from LastFile.
    for (const std::string& startFile : {named, std::string()}) {
        TestApp t;
        int shown = 0;
        EXPECT_EQ(RunProgram(t, dir, [&](TFoliantoMainWindow&) { shown = t.app.grid.RowCount() - 1; }, startFile), 0);
        EXPECT_EQ(std::tuple(shown, t.app.DataFileName, t.ui.messages.size()), std::tuple(7, named, 0u));
    }
}

// A second start with a file hands it to the running instance, which opens
// it at once, or once a modal dialog closes or a command ends.
TEST(Startup, SecondStartWithAFileHandsItToTheRunningInstance)
{
    enum Busy { Idle, Dialog, Command };
    for (const Busy busy : {Idle, Dialog, Command}) {
        SCOPED_TRACE(busy);
        QTemporaryDir dir;
        const std::string first = WriteSampleDatabase(dir, "first.FOL", 4);
        const std::string second = WriteSampleDatabase(dir, "Dvořák.FOL", 9);
        TestApp running;
        bool openedMeanwhile = false, openedAfter = false;
        RunProgram(
            running, dir,
            [&](TFoliantoMainWindow& w) {
                QDialog editor(&w); // stands for the title editor, which writes into the current title
                editor.setModal(true);
                if (busy == Dialog)
                    editor.show();
                else if (busy == Command)
                    QApplication::setOverrideCursor(Qt::WaitCursor); // a load letting events through
                TestApp later;
                later.platform.programPath = running.platform.programPath;
                EXPECT_EQ(RunFolianto(later.app, PathToCp1252(dir.path()), second), 0);
                EXPECT_TRUE(later.ui.messages.empty());
                openedMeanwhile = QTest::qWaitFor([&] { return running.app.DataFileName == second; }, 600);
                if (busy == Dialog)
                    editor.close();
                else if (busy == Command)
                    QApplication::restoreOverrideCursor();
                openedAfter = QTest::qWaitFor([&] { return running.app.DataFileName == second; }, 5000);
                EXPECT_EQ(running.app.grid.RowCount() - 1, 9);
            },
            first);
        if (busy != Idle) {
            EXPECT_FALSE(openedMeanwhile);
        }
        EXPECT_TRUE(openedAfter);
        EXPECT_EQ(running.app.store.AnzBuch, 9);
        EXPECT_TRUE(running.ui.messages.empty());
    }
}

// A program that made a change ends without saving or closing (what a kill
// leaves is the recovery journal's own test); the next start, with
// OpenFileAtStart off, offers the change before anything opens and brings
// it back, unsaved, with the recovered current title current.
TEST(Startup, ChangesOfAKilledProgramComeBackAtTheNextStart)
{
    // Settings beside the program: the recovery files live there too.
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("Folianto.INI")), "[COMMON]\r\nOpenFileAtStart=0\r\n");
    const std::string first = WriteSampleDatabase(dir, "Erster.FOL", 12);
    {
        TestApp lastRun;
        EditAsBeforeACrash(lastRun, PathToCp1252(dir.filePath(QStringLiteral("Folianto-recovery"))), first);
    }

    TestApp t;
    t.ui.answers = {Answer::Yes, Answer::No}; // the second: unsaved at the end, dropped
    int32_t titles = -1;
    std::string current, file;
    bool gesichert = true;
    RunProgram(t, dir, [&](TFoliantoMainWindow&) {
        titles = t.app.store.AnzBuch;
        current = t.app.store.current() ? t.app.store.current()->Titel.Text : std::string();
        file = t.app.DataFileName;
        gesichert = t.app.store.Gesichert();
    });
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].buttons, Buttons::YesNoLater); // the recovery's question
    EXPECT_EQ(std::tuple(file, titles, current), std::tuple(first, 12, "Nachtrag"));
    EXPECT_FALSE(gesichert);
}

TEST(InstanceChannel, ASocketLeftByACrashedRunIsReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Folianto.socket"));
    WriteBytes(path, ""); // left over
    EXPECT_FALSE(HandOverFile(path, QStringLiteral("/a.FOL"), 500)); // nobody listens there
    InstanceServer server;
    ASSERT_TRUE(server.Listen(path));
    QSignalSpy handed(&server, &InstanceServer::FileHandedOver);
    const QString name = QString::fromUtf8("/Bücher/mit\nZeilenumbruch.FOL");
    EXPECT_TRUE(HandOverFile(path, name));
    ASSERT_TRUE(handed.count() == 1 || handed.wait(2000));
    EXPECT_EQ(handed.at(0).at(0).toString(), name);
}

} // namespace
} // namespace folianto::test
