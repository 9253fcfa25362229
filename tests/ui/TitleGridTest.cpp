#include "ui/GuiSupport.h"

#include "core/Text.h"
#include "diag/InspectorRows.h"
#include "ui/diag/TraceForm.h"
#include "ui/help/HelpWindow.h"
#include "ui/shell/TitleGrid.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace folianto::test {
namespace {

struct LoadedWindow : WindowFixture {
    explicit LoadedWindow(int titles = 25)
    {
        t.ui.filePaths.push_back(WriteSampleDatabase(dir, "grid.FOL", titles));
        FindAction(window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
        grid = window->Grid();
        window->resize(1000, 700);
        QApplication::processEvents();
    }
    QPoint CellCentre(int col, int row) const
    {
        return grid->visualRect(grid->model()->index(row - 1, col)).center();
    }
    TitleGrid* grid = nullptr;
};

TEST(TitleGrid, ClicksMakeTheCellCurrentButNeverColumnZero)
{
    LoadedWindow w;
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, w.CellCentre(2, 3));
    EXPECT_EQ(w.t.app.grid.Col, 2);
    EXPECT_EQ(w.t.app.grid.Row, 3);
    EXPECT_EQ(w.t.app.store.ActBuch, w.t.app.store.FindBuchByNr(w.t.app.selection.AusgabeBuchNr[3]));

    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, w.CellCentre(0, 5));
    EXPECT_EQ(w.t.app.grid.Col, 2);
    EXPECT_EQ(w.t.app.grid.Row, 5);
    EXPECT_FALSE(w.grid->model()->flags(w.grid->model()->index(0, 0)) & Qt::ItemIsSelectable);

    QTest::keyClick(w.grid, Qt::Key_Left);
    QTest::keyClick(w.grid, Qt::Key_Left);
    EXPECT_EQ(w.t.app.grid.Col, 1);
}

TEST(TitleGrid, WheelMovesOneRowWithinTheTitles)
{
    LoadedWindow w(4);
    const auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(50, 50), w.grid->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.grid->viewport(), &e);
    };
    w.grid->SetCurrentCell(1, 1);
    const struct {
        int delta;
        int row;
    } steps[] = {{-120, 2}, {-120, 3}, {-120, 4}, {-120, 4}, {120, 3}, {120, 2}, {120, 1}, {120, 1}};
    for (const auto& s : steps) {
        wheel(s.delta);
        EXPECT_EQ(w.t.app.grid.Row, s.row);
    }
}

TEST(TitleGrid, TypeAheadFindsTheTitleAndEscapeClearsIt)
{
    LoadedWindow w(60);
    const int titelCol = w.t.app.columns.CellArray[ColTitel].Pos;
    QTest::keyClicks(w.grid, Q("di"));
    EXPECT_EQ(w.t.app.selection.TypeAheadText, "DI");
    EXPECT_EQ(w.window->StatusPanel(3)->text(), Q("DI"));
    EXPECT_EQ(UpperAscii(w.t.app.grid.Cell(titelCol, w.t.app.grid.Row).substr(0, 2)), "DI");
    EXPECT_EQ(w.grid->currentIndex().row() + 1, w.t.app.grid.Row);
    QTest::keyClick(w.grid, Qt::Key_Escape);
    EXPECT_EQ(w.t.app.selection.TypeAheadText, "");
    EXPECT_EQ(w.window->StatusPanel(3)->text(), QString());

    FindMenuAction(w.window->PopupMenu(), {Q("Schnellsuche in  ..."), Q("Autoren")})->trigger();
    EXPECT_EQ(w.t.app.selection.QuickSearchColumn, 1);
    EXPECT_FALSE(FindMenuAction(w.window->PopupMenu(), {Q("Schnellsuche in  ..."), Q("Titeln")})->isChecked());
}

TEST(TitleGrid, DraggingMovesTheColumnAndTheReleaseTakesTheLayoutBack)
{
    LoadedWindow w;
    const std::string kuerzel = w.t.app.grid.Cell(0, 1);
    QHeaderView* header = w.grid->horizontalHeader();

    w.t.app.columns.ColumnsMoved = false;
    header->moveSection(0, 1); // the short-key column
    EXPECT_FALSE(w.t.app.columns.ColumnsMoved);
    EXPECT_EQ(w.t.app.grid.Cell(1, 1), kuerzel);
    EXPECT_EQ(header->visualIndex(0), 0); // the cells moved, not the view's sections

    header->moveSection(3, 2);
    EXPECT_TRUE(w.t.app.columns.ColumnsMoved);
    QTest::mouseRelease(w.grid->viewport(), Qt::LeftButton, {}, w.CellCentre(1, 1));
    EXPECT_EQ(w.t.app.columns.CellArray[ColKuerzel].Pos, 1);
    EXPECT_EQ(w.t.app.columns.CellArray[ColTitel].Pos, 0);
    EXPECT_EQ(w.t.app.columns.CellArray[ColKategorie].Pos, 2);
    EXPECT_EQ(w.t.app.columns.CellArray[ColAutor].Pos, 3);
    EXPECT_EQ(w.t.app.columns.CellArray[ColAutor].Width, header->sectionSize(3));
}

TEST(TitleGrid, TwoLineHeadersAreShownCentred)
{
    LoadedWindow w(3);
    w.t.app.columns.CellArray[ColTitel].Header = "Buch-\r\nTitel";
    w.t.app.columns.InitHeaders(w.t.app.grid, false);
    SetAusgabeData(w.t.app);
    QAbstractItemModel* model = w.grid->model();
    const int col = w.t.app.columns.CellArray[ColTitel].Pos;
    EXPECT_EQ(model->headerData(col, Qt::Horizontal).toString(), Q("Buch-\nTitel"));
    EXPECT_EQ(model->headerData(col, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHCenter,
              Qt::AlignHCenter);
}

TEST(Inspector, ColumnInspectorListsThirtyFourDescriptors)
{
    TestApp t;
    TTraceForm form(t.app, ColumnInspectorHeaders(), ColumnInspectorRows(t.app.columns));
    EXPECT_EQ(form.windowTitle(), Q("Debug-Fenster"));
    ASSERT_EQ(form.Table->rowCount(), 34);
    EXPECT_EQ(form.Table->columnCount(), 8);
    EXPECT_EQ(form.Table->item(33, 1)->text(), Q("Link"));
    EXPECT_EQ(form.Table->item(9, 4)->text(), Q("FALSE"));
    EXPECT_TRUE(form.GridPosLabel->text().startsWith(Q("Gitterposition           = [")));
    Q_EMIT form.Table->cellDoubleClicked(3, 0);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "Keine Inhalte definiert!");
}

TEST(Inspector, TitleInspectorNeedsACurrentTitle)
{
    WindowFixture f;
    bool dialogShown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogShown = true;
            modal->close();
        }
    });
    TTraceForm::ShowTitle(f.t.app, f.window.get());
    QApplication::processEvents();
    EXPECT_FALSE(dialogShown);
}

TEST(Help, ContextsOpenTheirPages)
{
    HelpWindow help;
    help.ShowContext(303);
    EXPECT_EQ(help.Browser->source().toString(), Q("qrc:/help/schnelleinstieg.html"));
    EXPECT_TRUE(help.Browser->toPlainText().contains(Q("Schnelleinstieg")));
    help.ShowContext(100);
    EXPECT_TRUE(help.Browser->toPlainText().contains(Q("Titelliste")));
    help.ShowContext(4711);
    EXPECT_EQ(help.Browser->source().toString(), HelpWindow::PageOf(1));
    for (int i = 0; i < help.Contents->topLevelItemCount(); ++i) {
        help.Browser->setSource(QUrl(help.Contents->topLevelItem(i)->data(0, Qt::UserRole).toString()));
        EXPECT_FALSE(help.Browser->toPlainText().isEmpty()) << i;
    }
    EXPECT_GT(help.Index->count(), 20);
}

TEST(Help, F1OpensThePageOfTheFocusedControl)
{
    WindowFixture f;
    f.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
    f.window->Grid()->setFocus();
    EXPECT_EQ(FocusHelpContext(f.window.get()), f.window->Grid()->property("HelpContext").toInt());
    FindAction(f.window.get(), {Q("Hilfe"), Q("&Schnelleinstieg")})->trigger();
    EXPECT_EQ(f.window->Help()->Browser->source().toString(), Q("qrc:/help/schnelleinstieg.html"));
}

} // namespace
} // namespace folianto::test
