#include "ui/GuiSupport.h"

#include "exchange/CslDialogModel.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/Reference.h"
#include "support/DbBytes.h"
#include "ui/QtUserInteraction.h"
#include "ui/dialogs/WaitForms.h"
#include "ui/exchange/CslBibliographyDialog.h"

#include <QElapsedTimer>
#include <QProgressBar>

#include <QClipboard>
#include <QMimeData>
#include <QTextBrowser>

namespace folianto::test {
namespace {

// A stand-in for pandoc in `dir` running `body` after reading the output
// file's name (`$out`) and the style (`$csl`) from its arguments.
QString WritePandoc(const QTemporaryDir& dir, const char* body)
{
    const QString path = dir.filePath(Q("pandoc"));
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$@\" >> \"$0.log\"\nfor a; do case \"$a\" in --output=*) out=\"${a#--output=}\";; "
                 "--csl=*) csl=\"${a#--csl=}\";; esac; done\n");
    script.write(body);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    return path;
}

// One title "T", shown and current.
TBuch& AddShownTitle(App& app)
{
    TBuch& b = AddTitle(app);
    b.Titel.Text = "T";
    ShowAllTitles(app);
    app.grid.Row = 1;
    return b;
}

TEST(CslBibliographyDialog, SearchPreviewClipboardAndExport)
{
    REQUIRE_PANDOC();
    TestApp t;
    Reference r;
    r.Typ = 0;
    r.Authors = {Cp1252("Müller, Hans")};
    r.Title = "Die Kunst Des Fragments";
    r.Year = "1998";
    r.Publisher = "Suhrkamp";
    StoreReference(r, AddShownTitle(t.app));

    CslChoice choice;
    CslDialogModel model(t.app, choice, ListCslStyles());
    CslBibliographyDialog dialog(model);
    dialog.show();

    // Every control is named by its caption, which ends in a colon.
    EXPECT_EQ(ExpectBuddiesNamedByTheirLabels(dialog, true), 6);
    for (QLabel* label : dialog.findChildren<QLabel*>())
        EXPECT_TRUE(!label->buddy() || label->text().endsWith(QLatin1Char(':'))) << label->text().toStdString();

    QTest::keyClicks(dialog.SearchEdit, Q("din 1505 author-date"));
    ASSERT_GE(dialog.StyleList->count(), 1);
    EXPECT_TRUE(dialog.StyleList->item(0)->text().startsWith(Q("DIN 1505-2")));
    dialog.StyleList->setCurrentRow(0);
    dialog.UpdatePreviewNow();
    // Small capitals in HTML, capitals in plain text.
    EXPECT_TRUE(dialog.PreviewBrowser->toPlainText().contains(Q("Müller, Hans: Die Kunst Des Fragments")))
        << dialog.PreviewBrowser->toPlainText().toStdString();

    // The citation in the text by default, with the page typed; the entry when chosen.
    EXPECT_EQ(dialog.CitationCombo->currentText(), Q("Zitat im Text"));
    QTest::keyClicks(dialog.PageEdit, Q("S. 12"));
    QTest::mouseClick(dialog.ClipboardButton, Qt::LeftButton);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::tuple(data->text(), data->html().contains(Q("1998, S. 12)")), dialog.CopiedLabel->text()),
              std::tuple(Q("(MÜLLER, 1998, S. 12)"), true, Q("In der Zwischenablage: (MÜLLER, 1998, S. 12)")));
    dialog.CitationCombo->setCurrentIndex(0);
    EXPECT_FALSE(dialog.PageEdit->isEnabled());
    QTest::mouseClick(dialog.ClipboardButton, Qt::LeftButton);
    data = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(data->text().startsWith(Q("MÜLLER, HANS: Die Kunst Des Fragments"))) << data->text().toStdString();
    EXPECT_TRUE(data->hasHtml());

    dialog.FormatCombo->setCurrentIndex(4);
    QTemporaryDir dir;
    const QString out = dir.filePath(Q("verzeichnis.txt"));
    t.ui.filePaths.push_back(PathToCp1252(out));
    QTest::mouseClick(dialog.ExportButton, Qt::LeftButton);
    EXPECT_EQ(t.ui.dialogs.back().defaultExt, "txt");
    EXPECT_NE(ReadBytes(out).find("MÜLLER, HANS"), std::string::npos);
    model.remember();
    EXPECT_EQ(std::tuple(choice.Style, choice.Format, choice.CiteInText), std::tuple("din-1505-2", "txt", false));
}

// Typing a search leaves a shown style selected and in view (the first hit,
// or the previous style where it still shows), and the preview is set in the
// style the list shows as selected.
TEST(CslBibliographyDialog, ASearchSelectsAShownStyleAndThePreviewFollows)
{
    QTemporaryDir dir;
    const QString pandoc = WritePandoc(dir, "printf '<p>%s</p>' \"$csl\" > \"$out\"\n");
    TestApp t;
    AddShownTitle(t.app);
    std::vector<CslStyle> styles;
    for (int i = 0; i < 60; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        styles.push_back({"s" + n, (i % 2 ? "Harvard " : "Vancouver ") + n, "/x/s" + n + ".csl", "", false});
    }
    CslChoice choice;
    choice.Style = "s05"; // a Harvard style near the top
    CslDialogModel model(t.app, choice, styles, PathToCp1252(pandoc));
    CslBibliographyDialog dialog(model);
    dialog.resize(720, 600);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    const auto selected = [&dialog]() -> QString {
        const QList<QListWidgetItem*> items = dialog.StyleList->selectedItems();
        return items.size() == 1 ? items.front()->text() : QString();
    };
    const auto inView = [&dialog] {
        const QRect row = dialog.StyleList->visualItemRect(dialog.StyleList->currentItem());
        return dialog.StyleList->viewport()->rect().contains(row);
    };
    const struct {
        const char* search;
        const char* selected;
        const char* csl;
    } cases[] = {
        {"harvard", "Harvard 05", "/x/s05.csl"}, // the previous style still shows
        {"5", "Harvard 05", "/x/s05.csl"},
        {"vancouver 5", "Vancouver 50", "/x/s50.csl"}, // the first hit, far down the full list
        {"", "Vancouver 50", "/x/s50.csl"},
        {"harvard 3", "Harvard 03", "/x/s03.csl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        dialog.SearchEdit->selectAll();
        if (*c.search)
            QTest::keyClicks(dialog.SearchEdit, Q(c.search));
        else
            QTest::keyClick(dialog.SearchEdit, Qt::Key_Backspace);
        EXPECT_EQ(dialog.SearchEdit->text(), Q(c.search));
        EXPECT_EQ(selected(), Q(c.selected));
        EXPECT_TRUE(inView());
        dialog.UpdatePreviewNow();
        EXPECT_EQ(dialog.PreviewBrowser->toPlainText(), Q(c.csl));
    }
    // A search that shows nothing selects nothing, and nothing is previewed.
    QTest::keyClicks(dialog.SearchEdit, Q("xyz"));
    EXPECT_EQ(dialog.StyleList->count(), 0);
    dialog.UpdatePreviewNow();
    EXPECT_EQ(dialog.PreviewBrowser->toPlainText(), Q("Kein Zitierstil gewählt."));
    // Down arrow from the search field: a user reaches the list by keyboard.
    dialog.SearchEdit->clear();
    EXPECT_EQ(selected(), Q("Harvard 03"));
    dialog.StyleList->setFocus();
    QTest::keyClick(dialog.StyleList, Qt::Key_Down);
    dialog.UpdatePreviewNow();
    EXPECT_EQ(dialog.PreviewBrowser->toPlainText(), Q("/x/s04.csl"));
}

// Rows chosen one after the other set one preview after the pause, in one
// pandoc run in the background, HTML only.
TEST(CslBibliographyDialog, OnePreviewRunAfterThePause)
{
    QTemporaryDir dir;
    const QString pandoc = WritePandoc(dir, "sleep 0.2; printf '<p>Vorschau</p>' > \"$out\"\n");
    TestApp t;
    AddShownTitle(t.app);
    CslChoice choice;
    CslDialogModel model(t.app, choice,
                         {{"apa", "APA", "/x/apa.csl", "", false}, {"din-1505-2", "DIN", "/x/din.csl", "de-DE", true}},
                         PathToCp1252(pandoc));
    CslBibliographyDialog dialog(model);
    dialog.show();
    for (int row : {0, 1, 0, 1})
        dialog.StyleList->setCurrentRow(row);
    QElapsedTimer clock;
    clock.start();
    while (dialog.PreviewBrowser->toPlainText() != Q("Vorschau") && clock.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_EQ(dialog.PreviewBrowser->toPlainText(), Q("Vorschau"));
    const QStringList runs = QString::fromStdString(ReadBytes(pandoc + Q(".log"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(runs.size(), 1);
    // The last row chosen (German styles come first).
    EXPECT_TRUE(runs[0].contains(Q("--to=html5 ")) && runs[0].contains(Q("--csl=/x/apa.csl"))) << runs[0].toStdString();
}

// A pandoc that works until it is stopped: the export waits in its progress
// window, the window takes the click on "Abbrechen", and nothing is written.
TEST(CslBibliographyDialog, ExportCancelledInItsProgressWindow)
{
    QTemporaryDir dir;
    const QString pandoc = WriteEndlessPandoc(dir);
    TestApp t;
    AddShownTitle(t.app);
    QtUserInteraction windows;
    t.ui.cancellableWindow = [&windows](const std::string& caption, const std::string& text) {
        return windows.showCancellable(caption, text);
    };
    CslChoice choice;
    CslDialogModel model(t.app, choice, {{"din-1505-2", "DIN 1505-2", "/x/din.csl", "de-DE", true}},
                         PathToCp1252(pandoc));
    CslBibliographyDialog dialog(model);
    dialog.show();

    const QString out = dir.filePath(Q("verzeichnis.odt"));
    t.ui.filePaths.push_back(PathToCp1252(out));
    QString shown;
    QTimer::singleShot(300, [&] {
        auto* form = qobject_cast<TGaugeForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        ASSERT_NE(form->CancelButton, nullptr);
        shown = form->Label->text();
        EXPECT_EQ(form->Gauge->maximum(), 0); // no end known: the gauge moves to and fro
        QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(dialog.ExportButton, Qt::LeftButton);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(shown, Q("Das Literaturverzeichnis mit 1 Titel wird im Stil „DIN 1505-2“ gesetzt ..."));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_EQ(t.ui.messages.size(), 1u); // the rows question; neither an error nor "beendet" after it
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{Q("pandoc")});
}

} // namespace
} // namespace folianto::test
