#include "shell/MainCommands.h"

#include "core/ErrorText.h"
#include "support/Fakes.h"
#include "selection/SearchLists.h"
#include "selection/Selection.h"
#include "application/FileCommands.h"

namespace folianto {
namespace {

void AddTitles(test::TestApp& t, int n)
{
    for (int i = 0; i < n; ++i) {
        ASSERT_TRUE(t.app.store.NewBuch());
        TBuch* b = t.app.store.at(t.app.store.AnzBuch);
        b->Kuerzel.Text = "K" + std::to_string(i + 1);
        b->Titel.Text = "Titel " + std::to_string(i + 1);
    }
    SetAusgabeData(t.app);
}

TEST(MainCommands, EndAllowedAnswers)
{
    QTemporaryDir dir;
    const std::string question = Cp1252("Folianto: Sicherheitssystem\r\n\r\nDie Buchdaten wurden geändert, aber noch "
                                        "nicht gesichert.\r\nDie Buchdaten jetzt sichern?");
    const struct { Answer answer; bool withFile, allowed, saved; } cases[] = {
        {Answer::No, true, true, false},
        {Answer::Abort, true, false, false},
        {Answer::Yes, true, true, true},   // saved under its name
        {Answer::Yes, false, false, false} // save-as dialog cancelled
    };
    for (const auto& c : cases) {
        test::TestApp t;
        AddTitles(t, 2);
        t.app.store.MarkChanged();
        if (c.withFile)
            t.app.DataFileName = PathToCp1252(dir.filePath(QStringLiteral("end.FOL")));
        t.ui.answers = {c.answer};
        EXPECT_EQ(EndAllowed(t.app), c.allowed);
        ASSERT_FALSE(t.ui.messages.empty());
        EXPECT_EQ(t.ui.messages[0].text, question);
        EXPECT_EQ(std::tuple(t.ui.messages[0].buttons, t.app.store.Gesichert(), t.ui.dialogs.size()),
                  std::tuple(Buttons::YesNoAbort, c.saved, c.answer == Answer::Yes && !c.withFile ? 1u : 0u));
    }
}

TEST(MainCommands, DeletingAnEmptySlotOrAnsweringNoKeepsTheTitles)
{
    // Rows of the grid, the current title and the error shown; error 0: "Nein" to the question keeps the title.
    const struct { int rows; int32_t current; uint8_t error; } cases[] = {{3, 5, 12}, {10, 5, 20}, {3, 1, 0}};
    for (const auto& c : cases) {
        test::TestApp t;
        AddTitles(t, 2);
        t.app.store.ActBuch = c.current;
        t.app.grid.SetRowCount(c.rows);
        t.ui.answers = {Answer::No};
        EXPECT_FALSE(DeleteCurrentTitle(t.app));
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(t.ui.messages[0].text == GetErrorText(c.error), c.error != 0) << int(c.error);
        EXPECT_EQ(t.app.store.AnzBuch, 2);
    }
}

TEST(MainCommands, NewDatabaseEmptiesStoreListsAndSelectionButKeepsTheVersion)
{
    test::TestApp t;
    AddTitles(t, 4);
    t.app.DataFileName = "/tmp/x.FOL";
    t.app.DataVerMinor = 3;
    t.app.selection.SuchenIn[0] = true;
    t.app.selection.SuchText = "abc";
    t.app.selection.FilternVon[3] = true;
    t.app.store.at(1)->Autor.Text = "Alt, Anna";
    t.app.store.at(1)->Schlagworte.Text = "Alt";
    Fill_AllLists(t.app);
    t.app.store.MarkChanged();
    NewDatabase(t.app);
    EXPECT_EQ(std::tuple(t.app.store.AnzBuch, t.app.DataFileName, t.app.store.Gesichert(), t.app.DataVerMinor),
              std::tuple(0, "", true, 3));
    EXPECT_EQ(std::tuple(t.app.lists.AutorSearchList.entries.size(), t.app.lists.SchlagworteSearchList.entries.size()),
              std::tuple(0u, 0u));
    EXPECT_EQ(std::tuple(t.app.selection.SuchenIn[0], t.app.selection.SuchText, t.app.selection.FilternVon[3]),
              std::tuple(false, "", false));
    EXPECT_EQ(std::tuple(t.app.grid.RowCount(), t.app.grid.Cell(1, 1)), std::tuple(2, ""));
}

TEST(MainCommands, DoubleClickInTheLinkColumnOffersTheDocument)
{
    const struct { bool link, inLinkColumn; Answer answer; bool editor; std::size_t questions, started; } cases[] = {
        {true, true, Answer::Yes, false, 1, 1},
        {true, true, Answer::No, true, 1, 0},
        {false, true, Answer::Yes, true, 0, 0}, // no link bit: no question
        {true, false, Answer::Yes, true, 0, 0},
    };
    for (const auto& c : cases) {
        test::TestApp t;
        AddTitles(t, 1);
        TBuch* b = t.app.store.at(1);
        b->TypNum = c.link ? (2 | LinkFlag) : 2;
        b->Quelle.Text = "/tmp/dokument.pdf";
        SetAusgabeData(t.app);
        t.app.grid.Row = 1;
        t.app.grid.Col = c.inLinkColumn ? t.app.columns.CellArray[ColLink].Pos : 1;
        t.ui.answers = {c.answer};
        EXPECT_EQ(OpenCurrentTitle(t.app), c.editor);
        EXPECT_EQ(std::tuple(t.ui.messages.size(), t.ui.startedDocuments.size()), std::tuple(c.questions, c.started));
    }
    test::TestApp empty;
    EXPECT_FALSE(OpenCurrentTitle(empty.app));
    EXPECT_TRUE(empty.ui.messages.empty());
}

} // namespace
} // namespace folianto
