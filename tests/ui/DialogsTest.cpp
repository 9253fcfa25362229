#include "ui/GuiSupport.h"

#include "exchange/ImportDialogModel.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/exchange/TxtImportDialog.h"

#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>

namespace folianto::test {
namespace {

TEST(AboutBox, ReleaseLineNamesVersionAndBuildTime)
{
    TUeberForm about(Q("1.4.0.0"));
    EXPECT_EQ(about.ReleaseLabel->text(), Q("Release:  1.4.0.0 - ") + ReleaseStamp());
    EXPECT_TRUE(ReleaseStamp().contains(QRegularExpression(Q("^\\d\\d(-\\d\\d){5}$"))));
}

// The hint follows the choice mode. With one choice, ticking a second entry
// asks whether it replaces the first; a forbidden pair is unticked again.
TEST(SelectFromList, OneChoiceAsksBeforeReplacingTheTickAndForbiddenPairsAreRefused)
{
    const struct {
        Answer answer;
        std::vector<int> checked;
    } cases[] = {{Answer::Yes, {1}}, {Answer::No, {0, 1}}};
    for (const auto& c : cases) {
        FakeUserInteraction ui;
        ui.answers = {c.answer};
        TForm_Select_From_List dialog(ui);
        dialog.SetEntries({Q("a"), Q("b"), Q("c")});
        dialog.SetSingleChoice(true);
        dialog.SetNoun(Q(" Spalte"));
        dialog.show();
        EXPECT_EQ(dialog.HintLabel->text(), Q("es kann nur EIN Spalte ausgewählt werden"));
        dialog.CheckList->item(0)->setCheckState(Qt::Checked);
        dialog.CheckList->item(1)->setCheckState(Qt::Checked);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(std::tuple(ui.messages[0].text, ui.messages[0].buttons),
                  std::tuple(Cp1252("Es ist bereits ein Eintrag markiert!\r\n\r\nSoll der bereits markierte Eintrag "
                                    "abgewählt und\r\ndieser Eintrag an seiner Stelle markiert werden?"),
                             Buttons::YesNo));
        EXPECT_EQ(dialog.CheckedIndices(), c.checked);
    }

    FakeUserInteraction ui;
    TForm_Select_From_List dialog(ui);
    dialog.SetEntries({Q("Eins"), Q("Zwei"), Q("Drei")});
    dialog.SetNoun(Q(" Spalte"));
    dialog.show();
    EXPECT_EQ(dialog.HintLabel->text(), Q("es können mehrere  Spalte ausgewählt werden"));
    dialog.SetForbiddenPairs({{0, 2}});
    dialog.CheckList->item(1)->setCheckState(Qt::Checked);
    dialog.CheckList->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(ui.messages.empty());
    dialog.CheckList->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(dialog.CheckedIndices(), (std::vector<int>{0, 1}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(std::tuple(ui.messages[0].kind, ui.messages[0].text),
              std::tuple(MsgKind::Error, Cp1252("Die Kombination von Eintrag \"Eins\" und\r\nEintrag \"Drei\" ist "
                                                "nicht erlaubt!\r\n\r\nBitte Auswahl überprüfen!")));
}

TEST(EditorForm, NumberFieldTakesFiveDigits)
{
    TEditorForm dialog;
    dialog.UseNumberField(true);
    dialog.show();
    QTest::keyClicks(dialog.NumberEdit, Q("12a34567"));
    EXPECT_EQ(dialog.Value(), Q("12345"));
}

struct TextImport {
    TestApp t;
    ImportDialogModel model{t.app, ImportDialogModel::TextMode};
    TForm_TXT_Import dialog{model};
};

// A text import shows one page and the fixed rows of positions; a workbook
// import its own page and, however often the dialog shows, its hint once.
TEST(ImportDialog, EachModeShowsItsPages)
{
    for (const auto mode : {ImportDialogModel::TextMode, ImportDialogModel::WorkbookMode}) {
        const bool workbook = mode == ImportDialogModel::WorkbookMode;
        TestApp t;
        ImportDialogModel model(t.app, mode);
        TForm_TXT_Import dialog(model);
        EXPECT_EQ(std::tuple(dialog.windowTitle(), dialog.Pages->isTabVisible(1), dialog.KopfzeilenSpin->isEnabled(),
                             dialog.Pages->currentIndex()),
                  std::tuple(Q("Folianto: Import-Filter"), workbook, !workbook, 0));
        dialog.show();
        dialog.hide();
        dialog.show();
        EXPECT_EQ(std::tuple(t.ui.messages.size(), t.app.settings.ImportHinweis), std::tuple(workbook ? 1u : 0u, workbook));
        EXPECT_TRUE(!workbook || t.ui.messages[0].kind == MsgKind::Information);
    }
    auto [t, model, dialog] = TextImport();
    EXPECT_EQ(std::tuple(dialog.PositionTable->rowCount(), dialog.PositionTable->item(18, 1)->flags(),
                         dialog.PositionTable->item(0, 0)->text(), dialog.PositionTable->item(1, 1)->text()),
              std::tuple(34, Qt::NoItemFlags, Q("Kürzel"), Q("2")));
    // A position cell takes digits and one minus.
    dialog.show();
    dialog.PositionTable->setCurrentCell(2, 1);
    dialog.PositionTable->editItem(dialog.PositionTable->item(2, 1));
    auto* editor = dialog.PositionTable->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, Q("-1x-2"));
    EXPECT_EQ(editor->text(), Q("-12"));
}

// Duplicate positions keep the dialog open; after a reset, OK takes the
// delimiter picked as "Tab", which the next dialog shows again.
TEST(ImportDialog, DuplicatePositionsKeepItOpenAndTabIsPickedFromTheList)
{
    auto [t, model, dialog] = TextImport();
    EXPECT_EQ(dialog.TrennzeichenBox->accessibleName(), Q("Trennzeichen zwischen den Infor."));
    dialog.PositionTable->item(2, 1)->setText(Q("2"));
    dialog.OKButton->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    dialog.ResetButton->click();
    EXPECT_EQ(dialog.PositionTable->item(2, 1)->text(), Q("3"));
    dialog.TrennzeichenBox->setCurrentIndex(dialog.TrennzeichenBox->findText(Q("Tab")));
    dialog.OKButton->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(t.app.settings.ImpExp.Trennzeichen, '\t');
    ImportDialogModel again(t.app, ImportDialogModel::TextMode);
    TForm_TXT_Import next(again);
    EXPECT_EQ(next.TrennzeichenBox->currentText(), Q("Tab"));
}

TEST(ImportDialog, UtfEightFileSaysHowItIsReadAndTheUserSwitches)
{
    TestApp t;
    ImportDialogModel model(t.app, ImportDialogModel::TextMode);
    model.SetTextFile("/daten/b\xFC" "cher.txt", "Autor\tTitel\r\nGoethe\tFaust. Eine Trag\xC3\xB6" "die\r\n");
    TForm_TXT_Import dialog(model);
    ASSERT_NE(dialog.ZeichensatzBox, nullptr);
    EXPECT_EQ(std::tuple(dialog.DateiLabel->text(), dialog.ZeichensatzBox->currentText(), dialog.ErkanntLabel->text(),
                         dialog.ZeichensatzBox->accessibleName(), dialog.KopfzeileCheck->isHidden(),
                         dialog.KopfzeileCheck->isChecked(), dialog.TrennzeichenBox->currentText()),
              std::tuple(Q("/daten/bücher.txt"), Q("UTF-8"), Q("erkannt: UTF-8"), Q("Zeichensatz"), false, true, Q("Tab")));
    EXPECT_TRUE(dialog.VorschauText->toPlainText().contains(Q("Faust. Eine Tragödie")));
    // Autor from the file's header, Kürzel not in the file.
    EXPECT_EQ(std::tuple(dialog.PositionTable->item(2, 1)->text(), dialog.PositionTable->item(0, 1)->text()),
              std::tuple(Q("1"), Q("0")));

    dialog.ZeichensatzBox->setCurrentIndex(1); // Windows-1252
    EXPECT_EQ(model.Encoding, TextEncoding::Windows1252);
    EXPECT_TRUE(dialog.VorschauText->toPlainText().contains(Q("TragÃ¶die")));
    dialog.KopfzeileCheck->click(); // the fixed order again
    EXPECT_EQ(std::tuple(dialog.PositionTable->item(2, 1)->text(), dialog.TrennzeichenBox->currentText()),
              std::tuple(Q("3"), Q("$")));
}

} // namespace
} // namespace folianto::test
