#include "ui/GuiSupport.h"
#include "support/Golden.h"

#include "config/OptionsDialogModel.h"
#include "application/SettingsFile.h"
#include "selection/Selection.h"
#include "selection/SelectionTestUtil.h"
#include "ui/config/OptionenForm.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/help/HelpWindow.h"
#include "ui/shell/Startup.h"
#include "selection/SearchLists.h"

#include <QAccessible>
#include <QSpinBox>

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

// What a screen reader is told a control is called.
QString SpokenName(QWidget* control)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a ? a->text(QAccessible::Name) : QString();
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

} // namespace

// A fixed size without a close button; F1 shows the options' help; only
// digits get into a number field, and a typed number reaches the settings;
// reopened after a page change, the dialog starts on its first page again.
TEST(OptionenForm, FixedSizeHelpNumberFieldsAndTheFirstPageOnOpening)
{
    WindowFixture f;
    QString help;
    std::tuple<bool, bool> seen; // fixed size, close button
    WithOptions(*f.window, [&](TOptionenForm& form) {
        help = HelpPageAfterF1(form);
        seen = {form.minimumSize() == form.maximumSize(), form.windowFlags().testFlag(Qt::WindowCloseButtonHint)};
        form.Pages->setCurrentIndex(OptionsDialogModel::DisplayPage);
        form.SortLengthEdit->selectAll();
        QTest::keyClicks(form.SortLengthEdit, Q("99"));
        form.MaxColWidthEdit->selectAll();
        QTest::keyClicks(form.MaxColWidthEdit, Q("x0-"));
        EXPECT_EQ(form.MaxColWidthEdit->text(), Q("0"));
    });
    EXPECT_EQ(seen, std::tuple(true, false));
    EXPECT_EQ(help, HelpWindow::PageOf(TOptionenForm::HelpContext));
    EXPECT_NE(help, HelpWindow::PageOf(1));
    EXPECT_EQ(std::tuple(f.t.app.settings.SortLength, f.t.app.settings.MaxColWidth, f.t.ui.messages.size()),
              std::tuple(99, OptionsDialogModel::MinColWidthLimit, 0u));
    int page = -1;
    QString shown;
    WithOptions(*f.window, [&](TOptionenForm& form) {
        page = form.Pages->currentIndex();
        shown = form.SortLengthEdit->text();
    }, false);
    EXPECT_EQ(std::tuple(page, shown), std::tuple(0, Q("99")));
}

// An unchecked column leaves the grid and comes back when checked again;
// the case rule changes the grid's order at once.
TEST(OptionenForm, ColumnsAndCaseRuleReachTheGrid)
{
    WindowFixture f;
    AddTitle(f.t.app, "le Carré");
    AddTitle(f.t.app, "Langenscheidt");
    SetAusgabeData(f.t.app);
    f.window->RefreshFromLogic();
    const auto titles = [&f] { return ColumnCells(f.t.app, f.t.app.columns.CellArray[ColTitel].Pos); };
    ASSERT_EQ(titles(), (std::vector<std::string>{"Langenscheidt", Cp1252("le Carré")}));
    ASSERT_TRUE(GridHeaders(*f.window).contains(Q("Autor")));
    const int columns = f.window->Grid()->model()->columnCount();
    WithOptions(*f.window, [](TOptionenForm& form) {
        ItemNamed(form.ColumnList, "Autor")->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(form.CaseSensitiveSortCheck->isChecked());
        form.CaseSensitiveSortCheck->click();
    });
    EXPECT_FALSE(GridHeaders(*f.window).contains(Q("Autor")));
    EXPECT_EQ(f.window->Grid()->model()->columnCount(), columns - 1);
    EXPECT_EQ(titles(), (std::vector<std::string>{Cp1252("le Carré"), "Langenscheidt"}));

    WithOptions(*f.window, [](TOptionenForm& form) {
        ItemNamed(form.ColumnList, "Autor")->setCheckState(Qt::Checked);
    });
    EXPECT_TRUE(GridHeaders(*f.window).contains(Q("Autor")));
}

// A renamed header shows in the grid at once, in the title editor only
// once asked for (then with the headers as they are).
TEST(OptionenForm, RenamedHeaderShowsInTheGridAndInTheEditorWhenAsked)
{
    WindowFixture f;
    f.Open("headers.FOL", 20);
    const auto titles = ColumnCells(f.t.app, 1);
    TBuchEditDlg& editor = f.window->TitleEditor();
    auto titleLabel = [&editor] {
        editor.LoadFromModel();
        return editor.Control(EditControl::TitelEdit)->accessibleName();
    };
    const QString before = titleLabel();
    QString edit;
    WithOptions(*f.window, [&](TOptionenForm& form) {
        form.Pages->setCurrentIndex(OptionsDialogModel::HeadersPage);
        QListWidgetItem* titel = ItemNamed(form.InfoList, "Titel");
        QTest::mouseClick(form.InfoList->viewport(), Qt::LeftButton, {}, form.InfoList->visualItemRect(titel).center());
        EXPECT_EQ(form.HeaderList->currentRow(), form.InfoList->row(titel));
        edit = form.HeaderEdit->text();
        QTest::keyClick(form.InfoList, Qt::Key_Down);
        EXPECT_EQ(form.HeaderList->currentRow(), form.InfoList->row(titel) + 1);
        QTest::keyClick(form.InfoList, Qt::Key_Up);
        form.HeaderEdit->selectAll();
        QTest::keyClicks(form.HeaderEdit, Q("Werk"));
        EXPECT_EQ(form.HeaderList->currentItem()->text(), Q("Werk"));
    });
    EXPECT_EQ(edit, Q("Titel"));
    EXPECT_TRUE(GridHeaders(*f.window).contains(Q("Werk")) && !GridHeaders(*f.window).contains(Q("Titel")));
    EXPECT_EQ(ColumnCells(f.t.app, 1), titles);
    EXPECT_EQ(titleLabel(), before); // only the grid header

    WithOptions(*f.window, [](TOptionenForm& form) { form.AdjustLabelsCheck->click(); });
    EXPECT_EQ(titleLabel(), Q("Werk"));
}

TEST(OptionenForm, EveryControlIsNamedByItsCaption)
{
    WindowFixture f;
    WithOptions(*f.window, [](TOptionenForm& form) {
        // Every control the keyboard reaches, the page tabs included, is named by its caption.
        ExpectGolden("options-spoken-names.txt", SpokenNames(form));
        EXPECT_TRUE(form.ShowOnlyFirstLineCheck->isHidden());

        // Each label is its control's buddy; a combo box's label stands in its relations.
        for (QComboBox* combo : {form.TypCombo, form.SpracheCombo, form.BesitzerCombo})
            EXPECT_TRUE(LabelsOf(combo).contains(SpokenName(combo->lineEdit()))) << SpokenName(combo).toStdString();
        EXPECT_EQ(ExpectBuddiesNamedByTheirLabels(form), 6);

        // The export note is shown hyphenated but read as its one text.
        auto* note = form.findChild<QLabel*>(QStringLiteral("ExportNote"));
        EXPECT_EQ(SpokenName(note), Q("Diese Auswahl gilt insbesondere für den Export in die Zwi- schenablage und in "
                                      "Textdateien! Der Ex- port nach Excel er- folgt gemäß der ange- zeigten Spalten "
                                      "und Zeilen. Bitte, die genaue Export-Menü- punkte beachten!"));
        EXPECT_TRUE(note->text().contains(Q("Zwi-\nschenablage")));
    }, false);
}

TEST(OptionenForm, UsableFromTheKeyboardAloneAndWithTheMoveButtons)
{
    WindowFixture f;
    WithOptions(*f.window, [](TOptionenForm& form) {
        auto press = [](int key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        };
        // Away from the export page Ctrl+Up belongs to the control.
        const QString firstExportLine = form.ExportList->item(0)->text();
        form.HistryLgthPrzSpin->setFocus();
        const int percent = form.HistryLgthPrzSpin->value();
        press(Qt::Key_Up, Qt::ControlModifier);
        EXPECT_GT(form.HistryLgthPrzSpin->value(), percent);
        EXPECT_EQ(form.ExportList->item(0)->text(), firstExportLine);

        // Alt+T reaches the thumbnail choice on the pictures page.
        for (int i = 0; i < OptionsDialogModel::PicturesPage; ++i)
            press(Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_EQ(form.Pages->currentIndex(), OptionsDialogModel::PicturesPage);
        form.PicNaturalRadio->setChecked(true);
        press(Qt::Key_T, Qt::AltModifier);
        for (int i = 0; i < 50 && !form.PicThumbnailRadio->isChecked(); ++i)
            QTest::qWait(10); // a mnemonic clicks with a short animation
        EXPECT_TRUE(form.PicThumbnailRadio->isChecked());

        // On the export page: Tab into the list, check "Autor" and move it up a line.
        press(Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_EQ(form.Pages->currentIndex(), OptionsDialogModel::ExportPage);
        for (int i = 0; i < 10 && QApplication::focusWidget() != form.ExportList; ++i)
            press(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), form.ExportList);
        form.ExportList->setCurrentRow(0);
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Down);
        ASSERT_EQ(form.ExportList->currentItem()->text(), Q("Autor"));
        press(Qt::Key_Space);
        press(Qt::Key_Up, Qt::ControlModifier);
        EXPECT_EQ(form.ExportList->item(2)->text(), Q("Autor"));
        // The buttons move the current line too.
        QTest::mouseClick(form.UpButton, Qt::LeftButton);
        EXPECT_EQ(form.ExportList->item(1)->text(), Q("Autor"));
        QTest::mouseClick(form.DownButton, Qt::LeftButton);
        EXPECT_EQ(form.ExportList->item(2)->text(), Q("Autor"));
        form.ExportList->setFocus();
        press(Qt::Key_Return); // the default button
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(f.t.app.settings.PicSizeOption, 0);
    EXPECT_EQ(f.t.app.settings.ExportPos[1], 3); // Autor, exported from the third place
}

TEST(OptionenForm, AbbrechenChangesNothing)
{
    WindowFixture f;
    f.Open("cancel.FOL", 20);
    auto state = [&f] {
        const std::string path = f.dir.filePath(QStringLiteral("state.INI")).toStdString();
        QFile::remove(QString::fromStdString(path));
        EXPECT_EQ(Write_IniFile(f.t.app, path), std::nullopt);
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll() + GridHeaders(*f.window).join(QLatin1Char('|')).toUtf8();
    };
    const QByteArray before = state();
    const auto languages = SearchListTexts(f.t.app.lists.SpracheSearchList);
    const auto titles = ColumnCells(f.t.app, 1);
    for (bool escape : {false, true})
        WithOptions(*f.window, [escape](TOptionenForm& form) {
            for (QCheckBox* box : form.findChildren<QCheckBox*>())
                box->click();
            for (QRadioButton* radio : {form.SortRadio1, form.AutoFillRadio, form.PicNaturalRadio, form.PicAutoRadio})
                radio->click();
            form.SpracheCombo->setCurrentText(Q("klingonisch"));
            form.HistryLgthPrzSpin->setValue(77);
            form.SortLengthEdit->setText(Q(" 3"));
            form.MaxColWidthEdit->setText(Q("40"));
            ItemNamed(form.ColumnList, "Titel")->setCheckState(Qt::Unchecked);
            form.Pages->setCurrentIndex(OptionsDialogModel::HeadersPage);
            form.InfoList->setCurrentRow(2);
            QTest::keyClicks(form.HeaderEdit, Q("xyz"));
            form.Pages->setCurrentIndex(OptionsDialogModel::ExportPage);
            form.ExportList->setCurrentRow(5);
            QTest::mouseClick(form.UpButton, Qt::LeftButton);
            if (escape)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }, false);
    EXPECT_EQ(std::tuple(state(), SearchListTexts(f.t.app.lists.SpracheSearchList), ColumnCells(f.t.app, 1)),
              std::tuple(before, languages, titles));
}

// The options come back from the INI after a restart, but not those of a
// run told not to save them.
TEST(OptionenForm, OptionsComeBackFromTheIniAfterARestartWhenSaved)
{
    QTemporaryDir dir;
    const std::function<void(TOptionenForm&)> runs[] = {
        [](TOptionenForm& form) {
            form.SpracheCombo->setCurrentText(Q("französisch"));
            form.SortRadio1->setChecked(true);
            form.AutoFillRadio->setChecked(true);
            form.HistryLgthPrzSpin->setValue(35);
            ItemNamed(form.ColumnList, "Verlag")->setCheckState(Qt::Unchecked);
            ItemNamed(form.ExportList, "Autor")->setCheckState(Qt::Checked);
        },
        [](TOptionenForm& form) {
            form.SpracheCombo->setCurrentText(Q("russisch"));
            form.SaveOptionCheck->setChecked(false);
        },
    };
    for (const auto& change : runs) {
        TestApp t;
        EXPECT_EQ(RunProgram(t, dir, [&change](TFoliantoMainWindow& w) { WithOptions(w, change); }), 0);
    }
    TestApp t;
    std::tuple<QString, bool, bool, int, bool, bool> seen;
    RunProgram(t, dir, [&](TFoliantoMainWindow& w) {
        WithOptions(w, [&](TOptionenForm& form) {
            seen = {form.SpracheCombo->currentText(), form.SortRadio1->isChecked(),
                    form.AutoFillRadio->isChecked() && !form.ListsRadio->isChecked(), form.HistryLgthPrzSpin->value(),
                    ItemNamed(form.ColumnList, "Verlag")->checkState() == Qt::Checked,
                    ItemNamed(form.ExportList, "Autor")->checkState() == Qt::Checked};
        }, false);
    });
    EXPECT_EQ(seen, std::tuple(Q("französisch"), true, true, 35, false, true));
    EXPECT_FALSE(t.app.columns.CellArray[10].ShowCol);
}

} // namespace folianto::test
