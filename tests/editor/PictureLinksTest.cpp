#include "editor/PictureLinks.h"

#include "selection/Selection.h"
#include "shell/MainCommands.h"
#include "support/Fakes.h"

using namespace folianto;
using folianto::test::FakeUserInteraction;
using folianto::test::TestApp;

namespace {

const std::string AgainQuestion =
    "\"/doc/a.pdf\" wurde bereits erfolgreich gestartet!\r\n\r\n" +
    Cp1252("Insbesondere beim Start großer Programme (z.B. Internet-Browser)\r\n"
           "kann einige Zeit vergehen, bis das Dokument dargestellt wird.\r\n\r\n"
           "Soll der Start wiederholt werden?");

} // namespace

TEST(PictureLinks, StartDocumentAsksOnceADocumentWasStarted)
{
    const struct {
        bool startedBefore;
        Answer answer;
        bool succeeds;
        bool asked, started, startedAfter;
    } cases[] = {
        {false, Answer::Yes, true, false, true, true},
        {false, Answer::Yes, false, false, true, false}, // a failed start counts as none
        {true, Answer::Yes, true, true, true, true},
        {true, Answer::No, true, true, false, true},
        {true, Answer::Yes, false, true, true, false},
    };
    for (const auto& c : cases) {
        FakeUserInteraction ui;
        ui.answers = {c.answer};
        ui.startSucceeds = c.succeeds;
        bool docStarted = c.startedBefore;
        EXPECT_EQ(StartDocument(ui, docStarted, "/doc/a.pdf"), c.started && c.succeeds);
        ASSERT_EQ(ui.messages.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(ui.messages[0].text, AgainQuestion);
            EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
        }
        EXPECT_EQ(ui.startedDocuments.size(), c.started ? 1u : 0u);
        EXPECT_EQ(docStarted, c.startedAfter);
    }
}

// The grid's link column: a second start in a row asks, even for another title;
// moving the cursor (the grid clears the flag) starts without asking.
TEST(PictureLinks, GridDoubleClickUsesTheSameRule)
{
    TestApp t;
    for (int i = 1; i <= 2; ++i) {
        ASSERT_TRUE(t.app.store.NewBuch());
        TBuch* b = t.app.store.at(i);
        b->Kuerzel.Text = "K" + std::to_string(i);
        b->TypNum = 2 | LinkFlag;
        b->Quelle.Text = "/doc/" + std::to_string(i) + ".pdf";
    }
    SetAusgabeData(t.app);
    t.app.grid.Col = t.app.columns.CellArray[ColLink].Pos;
    t.app.grid.Row = 1;
    EXPECT_FALSE(OpenCurrentTitle(t.app));
    t.app.grid.Row = 2;
    t.ui.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(OpenCurrentTitle(t.app));
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[2].text.rfind("\"/doc/", 0), 0u);
    EXPECT_EQ(t.ui.startedDocuments.size(), 1u);
    t.app.DocStarted = false;
    t.ui.answers = {Answer::Yes};
    EXPECT_FALSE(OpenCurrentTitle(t.app));
    EXPECT_EQ(t.ui.startedDocuments.size(), 2u);
}

TEST(PictureLinks, QuelleDoubleClickHintAndChoice)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("aufsatz.pdf")).toStdString();
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const struct {
        std::string text;
        bool ticked, starts;
    } starts[] = {
        {file, true, true},        {file, false, false},
        {"https://example.org", true, true}, {"www.example.org", true, true},
        {"Www.example.org", true, true},     {"ftp://example.org", true, false},
        {dir.path().toStdString(), true, false}, // a folder is no document
        {"", true, false},
    };
    for (const auto& s : starts)
        EXPECT_EQ(QuelleStartsDocument(s.text, s.ticked), s.starts) << s.text << s.ticked;

    EXPECT_EQ(QuelleHint("kurz", true, 50, 53), std::nullopt); // fits: hint stays
    EXPECT_EQ(QuelleHint("lang", false, 51, 53), "lang");
    EXPECT_EQ(QuelleHint("lang", true, 51, 53),
              Cp1252("lang\r\n\r\nDoppelklick öffnet das verlinkte Dokument;\r\n"
                     "solange \"als Link benutzen\" markiert ist, ist dieses Feld schreibgeschützt!"));

    // The document chosen for Quelle; cancelled, Quelle stays.
    FakeUserInteraction ui;
    ui.filePaths = {std::string("/doc/neu.pdf"), std::nullopt};
    EXPECT_EQ(ChooseLinkedDocument(ui, "/doc/alt.pdf"), "/doc/neu.pdf");
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(std::tuple(ui.dialogs[0].filter, ui.dialogs[0].mustExist && ui.dialogs[0].pathMustExist, ui.dialogs[0].initialPath),
              std::tuple("Alle Dateien (*.*)|*.*", true, "/doc/alt.pdf"));
    EXPECT_EQ(ChooseLinkedDocument(ui, "/doc/alt.pdf"), std::nullopt);
}
