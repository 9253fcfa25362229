#include "ui/GuiSupport.h"

#include "application/BuchData.h"
#include "selection/SelectionTestUtil.h"
#include "ui/dialogs/ChoiceDialogs.h"

namespace folianto::test {
namespace {

using Titles = std::vector<std::string>;
using List = TForm_Select_From_List;

// Titel column of the rows the grid widget shows.
Titles ViewTitles(const TFoliantoMainWindow& window, const App& app)
{
    const int col = app.columns.PosOfInfo("Titel");
    const QAbstractItemModel* model = window.Grid()->model();
    Titles titles;
    for (int r = 0; r < model->rowCount(); ++r)
        if (app.selection.AusgabeBuchNr[static_cast<std::size_t>(r + 1)] != 0)
            titles.push_back(model->index(r, col).data().toString().toStdString());
    return titles;
}

struct DuplicatesWindow : WindowFixture {
    // Seven titles; sorted by title the members of each pair lie apart.
    DuplicatesWindow()
    {
        const std::string path = PathToCp1252(dir.filePath(QStringLiteral("doppelt.FOL")));
        {
            TestApp source;
            const struct {
                const char* titel;
                const char* autor;
                const char* isbn;
            } titles[] = {
                {"Der Zauberberg", "Mann, Thomas", ""},   {"Buddenbrooks", "Mann, Thomas", "3-10-048160-9"},
                {"Mitte", "Anders, A.", ""},              {"Zauberberg", "Thomas Mann", ""},
                {"Verfall einer Familie", "Mann", "978-3-10-048160-1"}, {"Omega", "Anders, B.", ""},
                {"Ärger", "Böll, Heinrich", ""},
            };
            for (const auto& t : titles) {
                TBuch& b = AddTitle(source.app, t.titel);
                b.Autor.Text = Cp1252(t.autor);
                b.ISBN.Text = t.isbn;
                b.Jahr.Text = "1924";
            }
            std::string err;
            Save_Buch_Data(source.app, path, err);
        }
        t.ui.filePaths.push_back(path);
        FindAction(window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
        FindAction(window.get(), {Q("&Anzeigen"), Q("nach &Titel")})->trigger();
    }
    void Search() { FindAction(window.get(), {Q("&Bearbeiten"), Q("&Doppelte Titel suchen")})->trigger(); }
};

// Cancelled, or with no pair ticked, the list leaves the grid alone; the
// pairs ticked show side by side. The pairs' texts are the finder's own test.
TEST(DuplicateFinder, TheGridShowsTheTickedPairsSideBySide)
{
    DuplicatesWindow f;
    const Titles before = ViewTitles(*f.window, f.t.app);
    ASSERT_EQ(before.size(), 7u);
    WhenModal<List>([](List& d) { QTest::mouseClick(d.AbortButton, Qt::LeftButton); });
    f.Search();
    EXPECT_EQ(ViewTitles(*f.window, f.t.app), before);
    EXPECT_TRUE(f.t.ui.messages.empty());

    WhenModal<List>([](List& d) {
        for (int i = 0; i < d.CheckList->count(); ++i)
            d.CheckList->item(i)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(d.WeiterButton, Qt::LeftButton);
    });
    f.Search();
    EXPECT_EQ(ViewTitles(*f.window, f.t.app), before);
    ASSERT_EQ(f.t.ui.messages.size(), 1u);
    EXPECT_EQ(f.t.ui.messages[0].text, Cp1252("Es wurde kein Paar ausgewählt."));

    WhenModal<List>([](List& d) {
        EXPECT_EQ(d.windowTitle(), Q("Doppelte Titel: 2 Paare"));
        ASSERT_EQ(d.CheckList->count(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(d.CheckList->item(i)->checkState(), Qt::Checked) << i;
        EXPECT_TRUE(HelpPageAfterF1(d).endsWith(Q("doppelte.html")));
        // Space on the current (first) row takes its tick away.
        d.CheckList->setFocus();
        QTest::keyClick(d.CheckList, Qt::Key_Space);
        QTest::mouseClick(d.WeiterButton, Qt::LeftButton);
    });
    f.Search();
    EXPECT_EQ(f.t.ui.messages.size(), 1u); // no message further
    EXPECT_EQ(ViewTitles(*f.window, f.t.app), (Titles{"Buddenbrooks", "Verfall einer Familie"}));
    EXPECT_EQ(f.window->Grid()->currentIndex().row(), 0);
    EXPECT_TRUE(f.window->StatusPanel(1)->text().endsWith(Q("(doppelte Titel)")));
}

TEST(DuplicateFinder, CatalogueWithoutDuplicatesGetsAMessageAndNoList)
{
    WindowFixture f;
    f.Open("einzeln.FOL", 3);
    f.t.ui.messages.clear();
    bool listShown = false;
    std::unique_ptr<QTimer> timer(WhenModal<List>([&](List& d) {
        listShown = true;
        d.reject();
    }));
    FindAction(f.window.get(), {Q("&Bearbeiten"), Q("&Doppelte Titel suchen")})->trigger();
    QTest::qWait(20);
    EXPECT_FALSE(listShown);
    EXPECT_EQ(f.t.ui.messages.size(), 1u); // the finder's "none found"
}

} // namespace
} // namespace folianto::test
