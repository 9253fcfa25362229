#include "application/BuchData.h"
#include "application/SemaphoreFile.h"
#include "application/NetworkLock.h"
#include "support/DbBytes.h"
#include "support/Fakes.h"

#include <stdexcept>

using namespace folianto;

namespace {

const std::string kOwn = "00-11-22-33-44-55";
const std::string kForeign = "AA-BB-CC-DD-EE-FF";

class NetworkLockTest : public ::testing::Test {
protected:
    std::string dirPath() const { return dir.path().toStdString() + "/"; }
    std::string db() const { return dirPath() + "d.FOL"; }
    std::string sem() const { return dirPath() + "D.SEM"; }

    // The first line is fixed: other computers recognise the file by it.
    static std::string Content(const std::string& mac)
    {
        return "SEMAPHOREN-DATEI       ---   NICHT VERAENDERN  ---  NICHT LOESCHEN\r\n" + mac + "\r\n";
    }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        test::WriteBytes(QString::fromStdString(path), bytes);
    }
    static std::string ReadFile(const std::string& path) { return test::ReadBytes(QString::fromStdString(path)); }
    std::string Question() const
    {
        return "Es gibt Anzeichen, dass ein anderer Computer bereits auf die \r\nDaten in \"" + db() +
               "\" zugreift!\r\n\r\nWenn Sie sicher sind, dass KEIN anderer Computer auf die Daten zugreift,\r\n"
               "dr\xFC" "cken Sie \"Ok\", wenn Sie nicht sicher sind, dr\xFC" "cken Sie \"Abbrechen\"!";
    }

    QTemporaryDir dir;
    test::TestApp t;
};

} // namespace

TEST_F(NetworkLockTest, SemaphoreNameIsUpperCasedBesideThePathAndNoneForALocalFile)
{
    struct Case { const char* path; const char* sem; };
    for (const Case& k : {Case{"/x/d.FOL", "/x/D.SEM"}, Case{"/x/Mixed/Dat.fol", "/x/Mixed/DAT.SEM"},
                          Case{"/x/a.b/noext", "/x/a.b/NOEXT.SEM"}, Case{"/x/m\xFCller.FOL", "/x/M\xFCLLER.SEM"},
                          Case{"/x/d.SEM", "/x/D.SEM"}, Case{"", "FOLIANTO.SEM"}})
        EXPECT_EQ(SemaphoreFileName(t.platform, k.path), k.sem) << k.path;
    // A local file gets no semaphore file.
    WriteFile(sem(), Content(kForeign));
    EXPECT_TRUE(Networking_OK(t.app, db()));
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_EQ(ReadFile(sem()), Content(kForeign));
    EXPECT_EQ(t.app.traceLog.WriteMasterAlways, 1);
    QFile::remove(QString::fromStdString(sem()));
    EXPECT_TRUE(Networking_OK(t.app, db()));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(sem())));
}

TEST_F(NetworkLockTest, NetworkFileWithoutSemaphoreWritesOurs)
{
    t.platform.networkDrive = true;
    for (const std::string& mac : {kOwn, std::string()}) {
        t.platform.mac = mac;
        QFile::remove(QString::fromStdString(sem()));
        EXPECT_TRUE(Networking_OK(t.app, db())) << "also when the database file does not exist yet";
        EXPECT_EQ(ReadFile(sem()), Content(mac));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("D.SEM")});
    }
    EXPECT_EQ(t.app.traceLog.WriteMasterAlways, 2);
    // One that cannot be read ends the check with an exception.
    QFile::remove(QString::fromStdString(sem()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("D.SEM")));
    EXPECT_THROW(Networking_OK(t.app, db()), std::runtime_error);
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(NetworkLockTest, ExistingSemaphoreAsksWhoeverWroteIt)
{
    t.platform.networkDrive = true;
    for (const std::string& writer : {kForeign, kOwn}) {
        WriteFile(sem(), Content(writer));
        t.platform.fileTimes[sem()] = 45000.25;
        t.ui.messages.clear();
        t.ui.answers = {Answer::Cancel};
        EXPECT_FALSE(Networking_OK(t.app, db()));
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].buttons, t.ui.messages[0].text),
                  std::tuple(MsgKind::Confirmation, Buttons::OkCancel, Question()));
        EXPECT_EQ(ReadFile(sem()), Content(writer)) << "refusal leaves the file alone";
        EXPECT_EQ(t.app.netLock.NetSemTime, -1.0);

        t.ui.answers = {Answer::Ok};
        EXPECT_TRUE(Networking_OK(t.app, db()));
        EXPECT_EQ(t.app.netLock.NetSemTime, 45000.25);
        EXPECT_EQ(ReadFile(sem()), Content(kOwn));
        t.app.netLock.NetSemTime = -1.0;
    }
    // A load refused so.
    t.ui.answers = {Answer::Cancel};
    std::string err;
    EXPECT_FALSE(Load_Buch_Data(t.app, db(), err));
    EXPECT_EQ(std::tuple(t.app.store.FehlerNr, err), std::tuple(21, std::string("d.FOL")));
}

TEST_F(NetworkLockTest, AcceptedTimeIsNotAskedAgainButANewerOneIs)
{
    t.platform.networkDrive = true;
    WriteFile(sem(), Content(kForeign));
    t.platform.fileTimes[sem()] = 100.5;
    EXPECT_TRUE(Networking_OK(t.app, db()));
    EXPECT_EQ(t.ui.messages.size(), 1u);

    WriteFile(sem(), Content(kForeign));
    EXPECT_TRUE(Networking_OK(t.app, db()));
    EXPECT_EQ(t.ui.messages.size(), 1u) << "same time as NetSemTime";
    EXPECT_EQ(ReadFile(sem()), Content(kOwn));

    t.platform.fileTimes.erase(sem()); // the real time of the rewritten file
    t.ui.answers = {Answer::Cancel};
    EXPECT_FALSE(Networking_OK(t.app, db()));
    EXPECT_EQ(t.ui.messages.size(), 2u);
}

TEST_F(NetworkLockTest, ClosingRemovesOnlyOwnOrAnonymousSemaphoresAndIgnoresErrors)
{
    struct Case { std::string written; std::string own; bool erased; };
    for (const Case& k : {Case{kOwn, kOwn, true}, Case{kForeign, kOwn, false}, Case{"", kOwn, true},
                          Case{"", "", true}, Case{kForeign, "", false}, Case{kOwn + " ", kOwn, false}}) {
        WriteFile(sem(), Content(k.written));
        t.platform.mac = k.own;
        EraseSemaphoreFile(t.app, db());
        EXPECT_EQ(QFile::exists(QString::fromStdString(sem())), !k.erased) << k.written << "/" << k.own;
    }
    QFile::remove(QString::fromStdString(sem()));
    EraseSemaphoreFile(t.app, db()); // nothing there: nothing happens
    EraseFile(dirPath() + "missing.SEM");
    CreateSemaphoreFile(t.app, dirPath() + "no/such/dir/d.FOL");
    EXPECT_TRUE(t.ui.messages.empty());
}
