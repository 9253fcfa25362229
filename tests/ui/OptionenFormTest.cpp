#include "ui/GuiSupport.h"

#include "config/OptionsDialogModel.h"
#include "application/SettingsFile.h"
#include "selection/Selection.h"
#include "selection/SelectionTestUtil.h"
#include "shell/OptionsApply.h"
#include "ui/config/OptionenForm.h"
#include "ui/help/HelpWindow.h"
#include "ui/shell/Startup.h"
#include "ui/shell/TitleGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace folianto::test {
namespace {

// Opens the dialog through the menu entry, runs `inside` on it while it is
// shown, then presses OK (or Abbrechen).
void WithOptions(TFoliantoMainWindow& window, const std::function<void(TOptionenForm&)>& inside, bool ok = true)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TOptionenForm*>(QApplication::activeModalWidget());
        if (!form)
            return;
        seen = true;
        form->activateWindow(); // shortcuts and mnemonics need the active window
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        inside(*form);
        if (form->isVisible())
            QTest::mouseClick(ok ? form->OKButton : form->AbbrechenButton, Qt::LeftButton);
    });
    FindAction(&window, {Q("&Optionen"), Q("allgemeine &Optionen")})->trigger();
    EXPECT_TRUE(seen);
}

QListWidgetItem* ItemNamed(QListWidget* list, const char* text)
{
    const auto found = list->findItems(Q(text), Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

QStringList GridHeaders(const TFoliantoMainWindow& window)
{
    QStringList headers;
    const QAbstractItemModel* model = window.Grid()->model();
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return headers;
}

// A window whose store holds two titles that the case rule orders differently.
struct CaseWindow : WindowFixture {
    CaseWindow()
    {
        AddTitle(t.app, "le Carré");
        AddTitle(t.app, "Langenscheidt");
        SetAusgabeData(t.app);
        window->RefreshFromLogic();
    }
    std::vector<std::string> Titles() const { return ColumnCells(t.app, t.app.columns.CellArray[ColTitel].Pos); }
};

} // namespace

TEST(OptionenForm, OpensOnTheFirstPageWithItsCaptions)
{
    WindowFixture f;
    QStringList tabs;
    QString caption, hint, info;
    bool fixed = false, closeButton = true, shortcutHidden = false;
    WithOptions(*f.window, [&](TOptionenForm& form) {
        form.Pages->setCurrentIndex(3);
        caption = form.windowTitle();
        for (int i = 0; i < form.Pages->count(); ++i)
            tabs << form.Pages->tabText(i);
        fixed = form.minimumSize() == form.maximumSize();
        closeButton = form.windowFlags().testFlag(Qt::WindowCloseButtonHint);
        hint = form.OpenFileAtStartCheck->toolTip();
        info = form.InfoLabel->text();
        shortcutHidden = !form.ShowOnlyFirstLineCheck->isVisible();
    }, false);
    EXPECT_EQ(caption, Q("Folianto: Optionen"));
    EXPECT_EQ(tabs, (QStringList{Q("allgemeine Optionen"), Q("Anzeige-Optionen"), Q("Spalten-Anzeige"),
                                 Q("Header festlegen"), Q("Bilder"), Q("Export-Auswahl")}));
    EXPECT_TRUE(fixed);
    EXPECT_FALSE(closeButton);
    EXPECT_EQ(hint, Q("Markiert=zuletzt geöffnete Buch-Datei bei Programmstart wieder öffnen"));
    EXPECT_EQ(info, Q("=> beim aktuellen Datenstand von 0 Titeln werden die Listen je nach Listeninhalt mit ca. 0 "
                      "Einträgen gefüllt"));
    EXPECT_TRUE(shortcutHidden);

    // Reopened after a page change, the dialog starts on its first page again.
    int page = -1;
    WithOptions(*f.window, [&](TOptionenForm& form) { page = form.Pages->currentIndex(); }, false);
    EXPECT_EQ(page, 0);
}

TEST(OptionenForm, UncheckedColumnDisappearsFromTheGrid)
{
    WindowFixture f;
    f.Open("columns.FOL", 20);
    ASSERT_TRUE(GridHeaders(*f.window).contains(Q("Autor")));
    const int columns = f.window->Grid()->model()->columnCount();
    WithOptions(*f.window, [](TOptionenForm& form) {
        ItemNamed(form.ColumnList, "Autor")->setCheckState(Qt::Unchecked);
    });
    EXPECT_FALSE(GridHeaders(*f.window).contains(Q("Autor")));
    EXPECT_EQ(f.window->Grid()->model()->columnCount(), columns - 1);

    WithOptions(*f.window, [](TOptionenForm& form) {
        ItemNamed(form.ColumnList, "Autor")->setCheckState(Qt::Checked);
    });
    EXPECT_TRUE(GridHeaders(*f.window).contains(Q("Autor")));
}

TEST(OptionenForm, RenamedHeaderShowsInTheGridHeader)
{
    WindowFixture f;
    f.Open("headers.FOL", 20);
    const auto titles = ColumnCells(f.t.app, 1);
    QString edit;
    WithOptions(*f.window, [&](TOptionenForm& form) {
        form.Pages->setCurrentIndex(OptionsDialogModel::HeadersPage);
        QListWidgetItem* autor = ItemNamed(form.InfoList, "Autor");
        QTest::mouseClick(form.InfoList->viewport(), Qt::LeftButton, {}, form.InfoList->visualItemRect(autor).center());
        EXPECT_EQ(form.HeaderList->currentRow(), form.InfoList->row(autor));
        edit = form.HeaderEdit->text();
        QTest::keyClick(form.InfoList, Qt::Key_Down);
        EXPECT_EQ(form.HeaderList->currentRow(), form.InfoList->row(autor) + 1);
        QTest::keyClick(form.InfoList, Qt::Key_Up);
        form.HeaderEdit->selectAll();
        QTest::keyClicks(form.HeaderEdit, Q("Verfasser"));
        EXPECT_EQ(form.HeaderList->currentItem()->text(), Q("Verfasser"));
    });
    EXPECT_EQ(edit, Q("Autor"));
    EXPECT_TRUE(GridHeaders(*f.window).contains(Q("Verfasser")));
    EXPECT_FALSE(GridHeaders(*f.window).contains(Q("Autor")));
    EXPECT_EQ(ColumnCells(f.t.app, 1), titles);
}

TEST(OptionenForm, CaseRuleChangesTheGridOrder)
{
    CaseWindow f;
    ASSERT_EQ(f.Titles(), (std::vector<std::string>{"Langenscheidt", Cp1252("le Carré")}));
    WithOptions(*f.window, [](TOptionenForm& form) {
        EXPECT_TRUE(form.CaseSensitiveSortCheck->isChecked());
        form.CaseSensitiveSortCheck->click();
    });
    EXPECT_EQ(f.Titles(), (std::vector<std::string>{Cp1252("le Carré"), "Langenscheidt"}));
    // Abbrechen changes nothing.
    WithOptions(*f.window, [](TOptionenForm& form) { form.CaseSensitiveSortCheck->click(); }, false);
    EXPECT_FALSE(f.t.app.settings.CaseSensitiveSort);
}

TEST(OptionenForm, TypedNumbersAreTakenSanely)
{
    WindowFixture f;
    WithOptions(*f.window, [](TOptionenForm& form) {
        form.Pages->setCurrentIndex(OptionsDialogModel::DisplayPage);
        form.SortLengthEdit->selectAll();
        QTest::keyClicks(form.SortLengthEdit, Q("99"));
        form.MaxColWidthEdit->selectAll();
        QTest::keyClicks(form.MaxColWidthEdit, Q("x0-"));
        EXPECT_EQ(form.MaxColWidthEdit->text(), Q("0")); // only digits get in
    });
    EXPECT_EQ(f.t.app.settings.SortLength, 99);
    EXPECT_EQ(f.t.app.settings.MaxColWidth, OptionsDialogModel::MinColWidthLimit);
    EXPECT_TRUE(f.t.ui.messages.empty());

    QString shown;
    WithOptions(*f.window, [&](TOptionenForm& form) {
        shown = form.SortLengthEdit->text();
        form.SortLengthEdit->clear(); // an emptied field keeps the value
        form.MaxColWidthEdit->clear();
    });
    EXPECT_EQ(shown, Q("99"));
    EXPECT_EQ(f.t.app.settings.SortLength, 99);
    EXPECT_EQ(f.t.app.settings.MaxColWidth, OptionsDialogModel::MinColWidthLimit);
}

TEST(OptionenForm, ExportLinesMoveWithTheButtonsAndCtrlArrows)
{
    WindowFixture f;
    WithOptions(*f.window, [](TOptionenForm& form) {
        form.Pages->setCurrentIndex(OptionsDialogModel::ExportPage);
        QListWidgetItem* titel = ItemNamed(form.ExportList, "Titel");
        titel->setCheckState(Qt::Checked);
        ItemNamed(form.ExportList, "Autor")->setCheckState(Qt::Checked);
        form.ExportList->setCurrentItem(titel);
        form.ExportList->setFocus();
        const int start = form.ExportList->currentRow();
        QTest::mouseClick(form.UpButton, Qt::LeftButton);
        EXPECT_EQ(form.ExportList->currentRow(), start - 1);
        for (int i = 0; i < 40; ++i) // stops at the first line
            QTest::keyClick(form.ExportList, Qt::Key_Up, Qt::ControlModifier);
        EXPECT_EQ(form.ExportList->currentRow(), 0);
        EXPECT_EQ(form.ExportList->item(0)->text(), Q("Titel"));
        EXPECT_EQ(form.ExportList->item(0)->checkState(), Qt::Checked);
        QTest::mouseClick(form.DownButton, Qt::LeftButton);
        EXPECT_EQ(form.ExportList->item(1)->text(), Q("Titel"));
    });
    const auto& slots = f.t.app.settings.ExportPos;
    EXPECT_EQ(slots[3], 2);          // Titel
    EXPECT_GT(slots[1], slots[3]);   // Autor below it
    EXPECT_EQ(slots[4], 1 * -1);     // "(Original-)Titel" moved to the top, not exported
}

TEST(OptionenForm, ControlsCarryTheirLabelsForKeyboardAndScreenReaders)
{
    WindowFixture f;
    WithOptions(*f.window, [](TOptionenForm& form) {
        const std::pair<QWidget*, const char*> labelled[] = {
            {form.TypCombo, "Typ:"},
            {form.SpracheCombo, "Sprache:"},
            {form.BesitzerCombo, "Eigentümer:"},
            {form.HistryLgthPrzSpin, "... den jeweils letzten"},
            {form.SortLengthEdit, "Sortierlänge:"},
            {form.HeaderEdit, "Header ="},
        };
        for (const auto& [control, caption] : labelled) {
            EXPECT_EQ(control->accessibleName(), Q(caption));
            bool buddied = false;
            for (QLabel* label : form.findChildren<QLabel*>())
                buddied = buddied || label->buddy() == control;
            EXPECT_TRUE(buddied) << caption;
        }
        EXPECT_EQ(form.UpButton->accessibleName(), Q("Zeile aufwärts bewegen (CTRL+Aufwärts)"));
        EXPECT_EQ(form.ExportList->accessibleName(), Q("Export-Auswahl"));

        // Alt+T reaches the thumbnail choice on the pictures page.
        form.Pages->setCurrentIndex(OptionsDialogModel::PicturesPage);
        form.PicNaturalRadio->setChecked(true);
        form.PicNaturalRadio->setFocus();
        QTest::keyClick(form.PicNaturalRadio, Qt::Key_T, Qt::AltModifier);
        for (int i = 0; i < 50 && !form.PicThumbnailRadio->isChecked(); ++i)
            QTest::qWait(10); // a mnemonic clicks with a short animation
        EXPECT_TRUE(form.PicThumbnailRadio->isChecked());
        form.PicAutoRadio->setChecked(true);
    });
    EXPECT_EQ(f.t.app.settings.PicSizeOption, 0);
    EXPECT_EQ(f.t.app.settings.PicAutoShowOption, 1);
}

TEST(OptionenForm, F1OpensTheOptionsHelpPage)
{
    WindowFixture f;
    QString page;
    WithOptions(*f.window, [&](TOptionenForm& form) {
        QTest::keyClick(&form, Qt::Key_F1);
        if (auto* help = form.findChild<HelpWindow*>()) {
            page = help->Browser->source().toString();
            EXPECT_TRUE(help->isVisible());
            help->close();
        }
    }, false);
    EXPECT_EQ(page, HelpWindow::PageOf(TOptionenForm::HelpContext));
    EXPECT_NE(page, HelpWindow::PageOf(1));
}

TEST(OptionenForm, OptionsComeBackFromTheIniAfterARestart)
{
    QTemporaryDir dir;
    auto run = [&dir](TestApp& t, const std::function<void(TFoliantoMainWindow&)>& inside) {
        t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* main = qobject_cast<TFoliantoMainWindow*>(w); main && main->isVisible()) {
                    inside(*main);
                    main->close();
                }
        });
        return RunFolianto(t.app, PathToCp1252(dir.path()));
    };
    {
        TestApp t;
        EXPECT_EQ(run(t, [](TFoliantoMainWindow& w) {
                      WithOptions(w, [](TOptionenForm& form) {
                          form.SpracheCombo->setCurrentText(Q("französisch"));
                          form.SortRadio1->setChecked(true);
                          form.AutoFillRadio->setChecked(true);
                          form.HistryLgthPrzSpin->setValue(35);
                          ItemNamed(form.ColumnList, "Verlag")->setCheckState(Qt::Unchecked);
                          ItemNamed(form.ExportList, "Autor")->setCheckState(Qt::Checked);
                      });
                  }),
                  0);
    }
    TestApp t;
    QString language;
    bool byAE = false, autoFill = false, verlag = true, autor = false;
    int percent = 0;
    run(t, [&](TFoliantoMainWindow& w) {
        WithOptions(w, [&](TOptionenForm& form) {
            language = form.SpracheCombo->currentText();
            byAE = form.SortRadio1->isChecked();
            autoFill = form.AutoFillRadio->isChecked() && !form.ListsRadio->isChecked();
            percent = form.HistryLgthPrzSpin->value();
            verlag = ItemNamed(form.ColumnList, "Verlag")->checkState() == Qt::Checked;
            autor = ItemNamed(form.ExportList, "Autor")->checkState() == Qt::Checked;
        }, false);
    });
    EXPECT_EQ(language, Q("französisch"));
    EXPECT_TRUE(byAE);
    EXPECT_TRUE(autoFill);
    EXPECT_EQ(percent, 35);
    EXPECT_FALSE(verlag);
    EXPECT_TRUE(autor);
    EXPECT_FALSE(t.app.columns.CellArray[10].ShowCol);
}

} // namespace folianto::test
