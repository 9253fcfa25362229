#include "ui/GuiSupport.h"
#include "support/Golden.h"

#include "core/ErrorText.h"
#include "core/Text.h"
#include "selection/Selection.h"
#include "workspace/ColumnModel.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/selection/FilterDialog.h"

#include <QLayout>
#include <QTabBar>

namespace folianto::test {
namespace {

using Dialog = TFiltern_Suchen_Sortieren_Dlg;

void ClickTab(QTabWidget* tabs, int index)
{
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Ticks or unticks a row of a check list from the keyboard.
void ToggleRow(QListView* view, int row)
{
    view->setFocus();
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Space);
}

QString RowText(QListView* view, int row)
{
    return view->model()->index(row, 0).data().toString();
}

// Only the box of switch k ticked.
void OnlyBox(Dialog& d, int k)
{
    for (std::size_t i = 0; i < d.SearchBoxes.size(); ++i)
        if (d.SearchBoxes[i]->isChecked() != (SearchBoxes[i].k == k))
            QTest::mouseClick(d.SearchBoxes[i], Qt::LeftButton, {}, QPoint(8, d.SearchBoxes[i]->height() / 2));
}

std::vector<std::string> Column(const App& app, int desc)
{
    return ColumnCells(app, app.columns.CellArray[static_cast<std::size_t>(desc)].Pos);
}

// The titles of the grid rows.
std::vector<const TBuch*> ShownBooks(const App& app)
{
    std::vector<const TBuch*> books;
    for (int r = 1; r < app.grid.RowCount(); ++r)
        if (const TBuch* b = app.store.at(app.store.FindBuchByNr(app.selection.AusgabeBuchNr[static_cast<std::size_t>(r)])))
            books.push_back(b);
    return books;
}

const char* const Filtern = "&Filtern, suchen und sortieren";

void Trigger(WindowFixture& f, const char* entry) { FindAction(f.window.get(), {Q("&Bearbeiten"), Q(entry)})->trigger(); }

// Runs `steps` in the dialog the entry of the "&Bearbeiten" menu opens.
void InDialog(WindowFixture& f, const char* entry, std::function<void(Dialog&)> steps)
{
    WhenModal<Dialog>(std::move(steps));
    Trigger(f, entry);
}

} // namespace

// Return takes the dialog's default button, Escape still takes over the search boxes.
TEST(FilterDialog, SearchFindsTheWordInTheTickedField)
{
    const struct {
        const char* opener; // tool button, else menu entry
        bool button;
        int box;
        const char* word;
        Qt::Key key;
        const TBuchRec TBuch::* field;
    } cases[] = {
        {"Volltext-Suche", true, 6, "gesellschaft", Qt::Key_Return, &TBuch::Titel},
        {Filtern, false, 10, "Romantik", Qt::Key_Escape, &TBuch::Schlagworte},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        WindowFixture f;
        f.Open("suche.FOL", 200);
        WhenModal<Dialog>([&](Dialog& d) {
            OnlyBox(d, c.box);
            QTest::keyClicks(d.SearchEdit, Q(c.word));
            QTest::keyClick(c.key == Qt::Key_Escape ? static_cast<QWidget*>(&d) : d.SearchEdit, c.key);
        });
        if (c.button)
            FindButton(f.window.get(), Q(c.opener))->click();
        else
            Trigger(f, c.opener);
        const auto& sel = f.t.app.selection;
        EXPECT_TRUE(sel.SuchenIn[0] && sel.SuchenIn[static_cast<std::size_t>(c.box)]);
        EXPECT_EQ(sel.SuchText, c.word);
        // Which titles match is the selection's own table; here: some, each with the word.
        const auto shown = ShownBooks(f.t.app);
        EXPECT_TRUE(!shown.empty() && shown.size() < 200u) << shown.size();
        for (const TBuch* b : shown)
            EXPECT_NE(UpperAscii((b->*c.field).Text).find(UpperAscii(c.word)), std::string::npos) << (b->*c.field).Text;
    }
}

TEST(FilterDialog, ReplaceChangesHiddenTitlesTooAndMarksTheDataUnsaved)
{
    WindowFixture f;
    f.Open("ersetzen.FOL", 60);
    App& app = f.t.app;
    for (int32_t i = 1; i <= 10; ++i)
        app.store.at(i)->Autor.Text = "Mayer, Hans; Koch, Eva";
    // Only one category shown: most of the Mayer titles are hidden.
    const std::string shownCategory = app.store.at(1)->Kategorie.Text;
    for (auto& e : app.lists.KategorieSearchList.entries)
        e.Active = e.Text == shownCategory;
    app.selection.FilternVon[0] = app.selection.FilternVon[1] = true;
    SetAusgabeData(app);
    ASSERT_LT(app.grid.RowCount() - 1, 60);

    InDialog(f, "&Ersetzen", [&](Dialog& d) {
        EXPECT_EQ(d.BenutzenButton->text(), Q("&Ersetzen"));
        EXPECT_TRUE(d.ReplaceEdit->isVisible() && d.CaseBox->isVisible());
        OnlyBox(d, 1);
        QTest::keyClicks(d.SearchEdit, Q("Mayer"));
        QTest::keyClicks(d.ReplaceEdit, Q("Meyer"));
        QTest::mouseClick(d.BenutzenButton, Qt::LeftButton);
    });

    for (int32_t i = 1; i <= app.store.AnzBuch; ++i) {
        const std::string& autor = app.store.at(i)->Autor.Text;
        EXPECT_TRUE(autor.find("Mayer") == std::string::npos && (i > 10 || autor == "Meyer, Hans; Koch, Eva")) << autor;
    }
    EXPECT_FALSE(app.store.Gesichert());
    EXPECT_FALSE(app.selection.SuchenIn[0]);
    EXPECT_TRUE(f.window->SaveAction()->isEnabled());
}

TEST(FilterDialog, CaptionsMnemonicsAndAccessibleNames)
{
    TestApp t;
    Dialog d(t.app, FilterDialogMode::Replace);
    d.show();
    EXPECT_EQ(d.windowTitle(), Q("Folianto: Filtern, suchen und sortieren von (Buch-)Titeln"));
    EXPECT_EQ(d.layout()->sizeConstraint(), QLayout::SetFixedSize);
    // Every caption and hint, what a screen reader calls each control, and the check lists' pop-up.
    std::string texts = WidgetTexts(d) + "-- spoken\n" + SpokenNames(d) + "-- pop-up\n";
    for (QAction* a : d.CheckListPopup->actions())
        if (!a->isSeparator())
            texts += a->text().toStdString() + "\n";
    ExpectGolden("filter-dialog-texts.txt", texts);

    // Every label leads to its control, which carries the label's words.
    EXPECT_EQ(ExpectBuddiesNamedByTheirLabels(d), 2);

    // Alt + mnemonic reaches the field.
    d.activateWindow();
    QApplication::setActiveWindow(&d);
    QTest::keyClick(&d, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(d.SearchEdit->hasFocus());
    d.close();
}

// Two keywords ticked and the dialog closed on the keyword page: opening
// again there, it asks at once; narrowing, chosen by keyboard, locks them,
// and the grid shows the titles with one of them and the keyword ticked now.
TEST(FilterDialog, NarrowingThroughTheQuestionByKeyboard)
{
    WindowFixture f;
    f.Open("eingrenzen.FOL", 200);
    App& app = f.t.app;
    InDialog(f, Filtern, [&](Dialog& d) {
        ClickTab(d.Pages, PageKeywords); // every keyword ticked: no question
        d.RunPopupCommand(d.SelectNoneAction, ListKeywords);
        ToggleRow(d.CheckLists[ListKeywords], 0);
        ToggleRow(d.CheckLists[ListKeywords], 1);
        QTest::mouseClick(d.BenutzenButton, Qt::LeftButton);
    });
    EXPECT_EQ(app.selection.FSDialogLastPage, PageKeywords);
    QStringList rows;
    bool locked = false;
    WhenModal<TForm_RadioSelect>([&](TForm_RadioSelect& question) {
        // The focus arrives with the window's activation, which may come later.
        const bool radioFocused =
            QTest::qWaitFor([] { return qobject_cast<QRadioButton*>(QApplication::focusWidget()) != nullptr; });
        EXPECT_TRUE(radioFocused);
        if (radioFocused) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            question.reject();
        }
        WhenModal<Dialog>([&](Dialog& d) {
            EXPECT_TRUE(d.Model().Narrowing());
            QListView* list = d.CheckLists[ListKeywords];
            for (int r = 0; r < 3; ++r)
                rows << RowText(list, r);
            locked = !(list->model()->flags(list->model()->index(0, 0)) & Qt::ItemIsEnabled);
            ToggleRow(list, 2);
            QTest::mouseClick(d.BenutzenButton, Qt::LeftButton);
        });
    });
    Trigger(f, Filtern);
    EXPECT_TRUE(locked);
    ASSERT_EQ(rows.size(), 3);

    const auto has = [](const std::string& keywords, const QString& kw) {
        SearchList l;
        l.AddEntry(ToCp1252(kw));
        return MatchInSearchList(keywords, l);
    };
    const auto shown = ShownBooks(app);
    EXPECT_TRUE(!shown.empty() && shown.size() < 200u) << shown.size();
    for (const TBuch* b : shown) {
        const std::string& kw = b->Schlagworte.Text;
        EXPECT_TRUE(has(kw, rows[2]) && (has(kw, rows[0]) || has(kw, rows[1]))) << kw;
    }
}

// The authors page jumps to a typed letter; F1 shows the dialog's help; a
// keyword set named with a semicolon is refused (by the model, which says so).
TEST(FilterDialog, AuthorJumpHelpAndAKeywordSetNameWithSemicolon)
{
    WindowFixture f;
    f.Open("autor.FOL", 100);
    QString jumped, help;
    InDialog(f, Filtern, [&](Dialog& d) {
        ClickTab(d.Pages, PageAuthors);
        QListView* list = d.CheckLists[ListAuthors];
        QTest::keyClick(list, Qt::Key_W);
        jumped = list->currentIndex().data().toString();
        help = HelpPageAfterF1(d);
        ClickTab(d.Pages, PageKeywords);
        WhenModal<TEditorForm>([](TEditorForm& input) {
            input.TextEdit->setText(Q("Lesen; Schreiben"));
            QTest::mouseClick(input.OKButton, Qt::LeftButton);
        });
        d.RunPopupCommand(d.SaveSetAction, ListKeywords);
        d.reject();
    });
    EXPECT_TRUE(jumped.startsWith(QLatin1Char('W'))) << jumped.toStdString();
    EXPECT_TRUE(help.endsWith(Q("filter.html"))) << help.toStdString();
    EXPECT_TRUE(f.t.app.keywordSets.Rows.empty());
    EXPECT_EQ(f.t.ui.messages.size(), 1u);
}

// A huge search text is kept whole and reported once, also when the window
// is activated again; the activation refreshes the grid while changes are
// unshown.
TEST(FilterDialog, HugeSearchTextIsReportedOnceAndActivationRefreshesWhatIsUnshown)
{
    WindowFixture f;
    f.Open("aktiv.FOL", 30);
    const QString huge(100000, QLatin1Char('x'));
    InDialog(f, "&Volltextsuche", [&](Dialog& d) {
        OnlyBox(d, 6);
        d.SearchEdit->setText(huge);
        QTest::mouseClick(d.BenutzenButton, Qt::LeftButton);
    });
    EXPECT_EQ(f.t.app.selection.SuchText.size(), 100000u);
    const auto reports = [&f] {
        return std::count_if(f.t.ui.messages.begin(), f.t.ui.messages.end(),
                             [](const RecordedMessage& m) { return m.text == GetErrorText(11); });
    };
    EXPECT_EQ(reports(), 1);
    f.window->activateWindow(); // nothing left for the activation refresh
    QApplication::processEvents();
    EXPECT_EQ(reports(), 1);

    App& app = f.t.app;
    app.selection.SuchenIn = {};
    app.selection.SuchenIn[0] = app.selection.SuchenIn[6] = true;
    app.selection.SuchText = "Einf";
    app.selection.FSS_Changed = true;
    f.window->activateWindow();
    QApplication::setActiveWindow(f.window.get());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(f.window.get(), &activation);
    EXPECT_FALSE(app.selection.FSS_Changed);
    for (const std::string& t : Column(app, ColTitel))
        EXPECT_NE(UpperAscii(t).find("EINF"), std::string::npos) << t;
}

TEST(FilterDialog, SearchModeShowsTwoPagesAndKeepsTheOthersOutOfReach)
{
    TestApp t;
    Dialog d(t.app, FilterDialogMode::Search);
    d.show();
    std::vector<int> visible;
    for (int i = 0; i < d.Pages->count(); ++i)
        if (d.Pages->isTabVisible(i))
            visible.push_back(i);
    EXPECT_EQ(visible, (std::vector<int>{PageSearch, PageDefaults}));
    EXPECT_FALSE(d.ReplaceEdit->isVisible());
    EXPECT_EQ(d.BenutzenButton->text(), Q("&Benutzen"));
    EXPECT_EQ(d.focusWidget(), d.SearchEdit);
    QApplication::setActiveWindow(&d);
    for (Qt::Key key : {Qt::Key_F, Qt::Key_W, Qt::Key_A}) {
        QTest::keyClick(&d, key, Qt::AltModifier);
        EXPECT_TRUE(d.Pages->currentIndex() == PageSearch || d.Pages->currentIndex() == PageDefaults)
            << d.Pages->currentIndex();
    }
    // Alt+V is shared with "unter &Verlag": the second press reaches the tab.
    for (int press = 0; press < 2 && d.Pages->currentIndex() != PageDefaults; ++press)
        QTest::keyClick(&d, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(d.Pages->currentIndex(), PageDefaults);
    d.reject();
}

// Ctrl+F, Alt+F, untick the first title's category with the keyboard,
// Return: the grid shows every title but those of that category, refreshed once.
TEST(FilterDialog, KeyboardAloneFiltersTheGrid)
{
    WindowFixture f;
    f.Open("tasten.FOL", 120);
    const std::string hidden = f.t.app.store.at(1)->Kategorie.Text;
    ASSERT_FALSE(hidden.empty());
    WhenModal<Dialog>([&](Dialog& d) {
        QApplication::setActiveWindow(&d);
        QTest::keyClick(&d, Qt::Key_F, Qt::AltModifier);
        ASSERT_EQ(d.Pages->currentIndex(), PageFilter);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_EQ(focused, d.CheckLists[ListKategorie]);
        EXPECT_EQ(d.VisibleCheckList(), ListKategorie);
        QTest::keyClick(focused, Qt::Key_Home);
        const QModelIndex row = d.CheckLists[ListKategorie]->model()->match(
            d.CheckLists[ListKategorie]->model()->index(0, 0), Qt::DisplayRole, FromCp1252(hidden), 1, Qt::MatchExactly).value(0);
        ASSERT_TRUE(row.isValid());
        for (int r = 0; r < row.row(); ++r)
            QTest::keyClick(focused, Qt::Key_Down);
        QTest::keyClick(focused, Qt::Key_Space);
        EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
        QTest::keyClick(focused, Qt::Key_Return);
    });
    f.window->activateWindow();
    QApplication::setActiveWindow(f.window.get());
    QTest::keyClick(f.window.get(), Qt::Key_F, Qt::ControlModifier);
    const auto shown = Column(f.t.app, ColKategorie);
    ASSERT_LT(shown.size(), 120u);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), hidden), 0);
    EXPECT_EQ(f.window->StatusPanel(1)->text(),
              QStringLiteral(" %1 Titel gezeigt von 120 Titeln (Filter aktiv)").arg(shown.size()));
    EXPECT_FALSE(f.t.app.selection.FSS_Changed);
}

// The reset button ends the search and the keyword choice but keeps the
// field filters; then the pick list, the defaults page and the buttons.
TEST(FilterDialog, ResetButtonPickListDefaultsPageAndButtons)
{
    WindowFixture f;
    f.Open("knoepfe.FOL", 80);
    App& app = f.t.app;
    InDialog(f, Filtern, [&](Dialog& d) {
        ClickTab(d.Pages, PageKeywords);
        d.RunPopupCommand(d.SelectNoneAction, ListKeywords);
        ToggleRow(d.CheckLists[ListKeywords], 0);
        ClickTab(d.Pages, PageFilter);
        ToggleRow(d.CheckLists[ListKategorie], 0); // one category hidden
        ClickTab(d.Pages, PageSearch);
        OnlyBox(d, 6);
        QTest::keyClicks(d.SearchEdit, Q("e"));
        QTest::mouseClick(d.BenutzenButton, Qt::LeftButton);
    });
    const int narrowed = app.grid.RowCount() - 1;
    ASSERT_TRUE(app.selection.SuchenIn[0]);

    FindButton(f.window.get(), Q("Filtern-und-Suchen-Einstellungen zurücksetzen"))->click();
    EXPECT_FALSE(app.selection.SuchenIn[0] || app.selection.SuchenIn[6]);
    EXPECT_TRUE(app.lists.SchlagworteSearchList.SearchListAllActive());
    EXPECT_TRUE(app.selection.FilternVon[0] && app.selection.FilternVon[1]);
    // The category filter stays on, but with every entry active again it
    // passes every title that has a category.
    EXPECT_GT(app.grid.RowCount() - 1, narrowed);
    EXPECT_EQ(app.grid.RowCount() - 1, 80);

    app.settings.FSDialogSearchIn = 511;
    app.settings.FSDialogOpenDef = 0;
    InDialog(f, Filtern, [&](Dialog& d) {
        // Take-over: the chosen publisher lands in the search edit, a blank before the second.
        d.ListNames->setCurrentRow(static_cast<int>(std::find(std::begin(PickListNames), std::end(PickListNames),
                                                              std::string("Verlag")) -
                                                    std::begin(PickListNames)));
        ASSERT_GT(d.ListEntries->model()->rowCount(), 1);
        const QString first = RowText(d.ListEntries, 0), second = RowText(d.ListEntries, 1);
        d.ListEntries->setCurrentIndex(d.ListEntries->model()->index(0, 0));
        QTest::mouseClick(d.TakeOverButton, Qt::LeftButton);
        d.ListEntries->setCurrentIndex(d.ListEntries->model()->index(1, 0));
        QTest::mouseClick(d.TakeOverButton, Qt::LeftButton);
        EXPECT_EQ(d.SearchEdit->text(), first + QLatin1Char(' ') + second);

        // Defaults page: "Schlagworte" ticked, "Titel" unticked; the radio item chooses the opening page.
        ClickTab(d.Pages, PageDefaults);
        const auto item = [&d](const char* caption) {
            return d.DefaultsList->findItems(Q(caption), Qt::MatchExactly).value(0);
        };
        item("Schlagworte")->setCheckState(Qt::Checked);
        item("Titel")->setCheckState(Qt::Unchecked);
        EXPECT_EQ(app.settings.FSDialogSearchIn, 511 - (1 << 5) + (1 << 9));
        EXPECT_TRUE(app.selection.SuchenIn[10] && !app.selection.SuchenIn[6]);
        d.findChild<QRadioButton*>(QStringLiteral("OpenDef2"))->click();
        EXPECT_EQ(app.settings.FSDialogOpenDef, 2);

        // "&Filtern-Listen neu füllen" shows and applies every category ticked.
        ClickTab(d.Pages, PageFilter);
        d.RunPopupCommand(d.SelectNoneAction, ListKategorie);
        d.RefillFiltersAction->trigger();
        EXPECT_EQ(d.CheckLists[ListKategorie]->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
        EXPECT_FALSE(app.selection.FilternVon[1]);

        // "&Standardeinstellungen" empties the edit and unticks every search box.
        d.RunPopupCommand(d.SelectNoneAction, ListSprache);
        QTest::mouseClick(d.StandardButton, Qt::LeftButton);
        EXPECT_TRUE(d.SearchEdit->text().isEmpty());
        for (QCheckBox* box : d.SearchBoxes)
            EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
        QAbstractItemModel* languages = d.CheckLists[ListSprache]->model();
        EXPECT_EQ(languages->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
        QTest::mouseClick(d.BenutzenButton, Qt::LeftButton);
    });
    EXPECT_FALSE(app.selection.SuchenIn[0] || app.selection.FilternVon[0]);
    EXPECT_EQ(app.grid.RowCount() - 1, 80);
}

// The size does not depend on the opening page. The check-list popup opens
// from the keyboard (the menu key opens it through the window system, which
// the offscreen platform does not imitate).
TEST(FilterDialog, SizeOfEveryOpeningPageAndThePopupFromTheKeyboard)
{
    TestApp t;
    QSize first;
    for (int page : {PageSearch, PageFilter, PageKeywords, PageDefaults}) {
        t.app.selection.FSDialogLastPage = page;
        Dialog d(t.app, FilterDialogMode::Normal);
        d.show();
        QApplication::processEvents();
        EXPECT_EQ(d.Pages->currentIndex(), page);
        if (first.isEmpty())
            first = d.size();
        EXPECT_EQ(d.size(), first) << page;
        d.reject();
    }

    Dialog d(t.app, FilterDialogMode::Normal);
    d.show();
    QApplication::setActiveWindow(&d);
    // A check list's popup, and the filter group's from its sub-page tabs.
    const struct {
        int page;
        QWidget* from;
        QMenu* popup;
    } cases[] = {{PageKeywords, d.CheckLists[ListKeywords], d.CheckListPopup},
                 {PageFilter, d.FilterPages->tabBar(), d.FilterPopup}};
    for (const auto& c : cases) {
        d.Pages->setCurrentIndex(c.page);
        c.from->setFocus();
        bool shown = false;
        QTimer::singleShot(50, &d, [&] {
            shown = QApplication::activePopupWidget() == c.popup;
            c.popup->close();
        });
        QTest::keyClick(c.from, Qt::Key_F10, Qt::ShiftModifier);
        QTest::qWait(100);
        EXPECT_TRUE(shown) << c.page;
    }
    d.reject();
}

} // namespace folianto::test
