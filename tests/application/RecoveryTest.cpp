#include "application/BuchData.h"
#include "application/Recovery.h"
#include "core/Codec.h"
#include "core/SampleCatalogue.h"
#include "history/HistoryTestUtil.h"
#include "selection/Selection.h"
#include "shell/MainCommands.h"
#include "support/Fakes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace folianto;
using folianto::test::StoreImage;
using folianto::test::TestApp;

namespace {

struct Files : test::RecoveryPlace {

    Files()
    {
        TestApp t;
        FillSampleCatalogue(t.app.store, 30, 3);
        std::string err;
        EXPECT_TRUE(Save_Buch_Data(t.app, database, err));
    }
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
        EXPECT_EQ(q.kind, MsgKind::Confirmation);
        EXPECT_EQ(q.buttons, Buttons::YesNo);
        const std::string start = Cp1252("Folianto: Sicherheitssystem\r\n\r\nDie Änderungen an den Buchdaten von ") +
                                  f.database + ", zuletzt am ";
        EXPECT_EQ(q.text.substr(0, start.size()), start);
        EXPECT_NE(q.text.find(Cp1252(" Uhr, wurden nicht gesichert.\r\nSollen sie wiederhergestellt werden?")),
                  std::string::npos);
        if (answer == Answer::Yes) {
            EXPECT_TRUE(StoreImage(t.app.store) == changed);
            EXPECT_FALSE(t.app.store.Gesichert);
            EXPECT_FALSE(t.app.titleHistory.CanUndo());
        } else {
            EXPECT_EQ(t.app.store.AnzBuch, 30);
            EXPECT_TRUE(t.app.store.Gesichert);
            EXPECT_EQ(f.inFolder().filter(QStringLiteral(".aside-")).size(), 1);
        }
        // Opened again: asked again only while the changes are not put aside.
        TestApp again;
        again.ui.answers = {Answer::No};
        f.open(again);
        EXPECT_EQ(again.ui.messages.size(), answer == Answer::Yes ? 1u : 0u);
    }
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
    EXPECT_TRUE(t.app.store.Gesichert);
    EXPECT_EQ(f.inFolder().size(), 1);
    t.app.recovery.Leave(t.app.store.Gesichert);
    EXPECT_TRUE(f.inFolder().isEmpty());
}
