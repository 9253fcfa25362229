#include "ui/GuiSupport.h"

#include "core/Text.h"
#include "ui/help/HelpWindow.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QTextBrowser>
#include <QWheelEvent>

namespace folianto::test {
namespace {

struct LoadedWindow : WindowFixture {
    explicit LoadedWindow(int titles = 25)
    {
        Open("grid.FOL", titles);
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
    EXPECT_EQ(std::tuple(w.t.app.grid.Col, w.t.app.grid.Row, w.t.app.store.ActBuch),
              std::tuple(2, 3, w.t.app.store.FindBuchByNr(w.t.app.selection.AusgabeBuchNr[3])));

    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, w.CellCentre(0, 5));
    EXPECT_EQ(std::tuple(w.t.app.grid.Col, w.t.app.grid.Row), std::tuple(2, 5));
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
    EXPECT_EQ(std::tuple(w.t.app.selection.TypeAheadText, w.window->StatusPanel(3)->text()), std::tuple("DI", Q("DI")));
    EXPECT_EQ(UpperAscii(std::string(w.t.app.grid.Cell(titelCol, w.t.app.grid.Row).substr(0, 2))), "DI");
    EXPECT_EQ(w.grid->currentIndex().row() + 1, w.t.app.grid.Row);
    EXPECT_EQ(w.t.app.store.ActBuch, w.t.app.store.FindBuchByNr(w.t.app.selection.AusgabeBuchNr[static_cast<std::size_t>(w.t.app.grid.Row)]));
    QTest::keyClick(w.grid, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(w.t.app.selection.TypeAheadText, w.window->StatusPanel(3)->text()), std::tuple("", QString()));

    // Capitals with Shift, umlauts and sharp s join the text; Ctrl does not.
    const auto type = [&](Qt::Key key, const char* text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods, Q(text));
        QApplication::sendEvent(w.grid, &press);
    };
    type(Qt::Key_H, "H", Qt::ShiftModifier);
    type(Qt::Key_Udiaeresis, "ü");
    type(Qt::Key_ssharp, "ß");
    type(Qt::Key_Minus, "-");
    type(Qt::Key_X, "\x18", Qt::ControlModifier);
    EXPECT_EQ(w.window->StatusPanel(3)->text(), Q("HÜß-"));
}

TEST(TitleGrid, DraggingMovesTheColumnAndTheReleaseTakesTheLayoutBack)
{
    LoadedWindow w;
    const std::string kuerzel(w.t.app.grid.Cell(0, 1));
    QHeaderView* header = w.grid->horizontalHeader();

    w.t.app.columns.ColumnsMoved = false;
    header->moveSection(0, 1); // the short-key column
    EXPECT_FALSE(w.t.app.columns.ColumnsMoved);
    EXPECT_EQ(w.t.app.grid.Cell(1, 1), kuerzel);
    EXPECT_EQ(header->visualIndex(0), 0); // the cells moved, not the view's sections

    header->moveSection(3, 2);
    EXPECT_TRUE(w.t.app.columns.ColumnsMoved);
    QTest::mouseRelease(w.grid->viewport(), Qt::LeftButton, {}, w.CellCentre(1, 1));
    const auto& cells = w.t.app.columns.CellArray;
    EXPECT_EQ(std::tuple(cells[ColKuerzel].Pos, cells[ColTitel].Pos, cells[ColKategorie].Pos, cells[ColAutor].Pos,
                         cells[ColAutor].Width),
              std::tuple(1, 0, 2, 3, header->sectionSize(3)));
}

TEST(Help, ContextsOpenTheirPages)
{
    HelpWindow help;
    help.ShowContext(303);
    EXPECT_EQ(help.Browser->source().toString(), Q("qrc:/help/schnelleinstieg.html"));
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

} // namespace
} // namespace folianto::test
