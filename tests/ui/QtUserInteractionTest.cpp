#include "ui/GuiSupport.h"

#include "ui/QtUserInteraction.h"

#include "ui/shell/Startup.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListView>
#include <QMainWindow>
#include <QStatusBar>
#include <QMessageBox>
#include <QTranslator>

namespace folianto::test {
namespace {

TEST(QtUserInteraction, ButtonSetsCarryGermanCaptionsAndAnswer)
{
    const struct {
        Buttons buttons;
        QStringList captions;
        int click; // -1: the box is closed
        Answer answer;
    } cases[] = {
        {Buttons::Ok, {Q("OK")}, 0, Answer::Ok},
        {Buttons::YesNo, {Q("Ja"), Q("Nein")}, 1, Answer::No},
        {Buttons::YesNoAbort, {Q("Ja"), Q("Nein"), Q("Abbrechen")}, 2, Answer::Abort},
        {Buttons::YesNoAbort, {Q("Ja"), Q("Nein"), Q("Abbrechen")}, 0, Answer::Yes},
        {Buttons::YesNoAbort, {Q("Ja"), Q("Nein"), Q("Abbrechen")}, -1, Answer::Abort},
        {Buttons::RetryIgnore, {Q("Wiederholen"), Q("Ignorieren")}, 1, Answer::Ignore},
        {Buttons::OkCancel, {Q("OK"), Q("Abbrechen")}, 1, Answer::Cancel},
        {Buttons::YesNoLater, {Q("Ja"), Q("Nein"), Q("Später")}, 2, Answer::Later},
    };
    for (const auto& c : cases) {
        QtUserInteraction ui;
        QStringList captions;
        QString text;
        WhenModal<QMessageBox>([&](QMessageBox& box) {
            for (QAbstractButton* b : box.buttons())
                captions << b->text();
            text = box.text();
            if (c.click < 0)
                box.reject();
            else
                box.buttons()[captions.indexOf(c.captions[c.click])]->click();
        });
        EXPECT_EQ(ui.message(MsgKind::Confirmation, Cp1252("Zeile eins\r\nZeile zwei: ä"), c.buttons), c.answer);
        captions.sort();
        QStringList expected = c.captions;
        expected.sort();
        EXPECT_EQ(captions, expected);
        EXPECT_EQ(text, Q("Zeile eins\nZeile zwei: ä"));
    }
}

TEST(QtUserInteraction, FileFiltersComeInNamePatternPairs)
{
    EXPECT_EQ(DialogNameFilters("Folianto-Dateien (*.FOL)|*.FOL"), QStringList{Q("Folianto-Dateien (*.FOL)")});
    EXPECT_EQ(DialogNameFilters("Text-Dateien|*.TXT|Alle Dateien (*.*)|*.*"),
              (QStringList{Q("Text-Dateien (*.TXT)"), Q("Alle Dateien (*.*)")}));
    EXPECT_EQ(DialogNameFilters("Excel-Dateien (*.XLS)|*.XLS |Alle Dateien (*.*) |*.*"),
              (QStringList{Q("Excel-Dateien (*.XLS)"), Q("Alle Dateien (*.*)")}));
    EXPECT_TRUE(DialogNameFilters("").isEmpty());
}

TEST(QtUserInteraction, FileDialogsStartInTheDatabaseFolderOrTheLastOne)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("daten"));
    const QString last = dir.filePath(QStringLiteral("zuletzt"));
    QDir().mkpath(data);
    QDir().mkpath(last);
    const std::string db = PathToCp1252(data) + "/b\xFC" "cher.FOL";
    const struct {
        std::string initial, current;
        QString lastFolder, start;
    } cases[] = {
        {"", db, last, data},                                   // the database's folder first
        {"*.XLS", db, last, data},                              // a bare pattern starts there too
        {"", "", last, last},                                   // no database: the last folder used
        {"", PathToCp1252(dir.filePath(QStringLiteral("weg/x.FOL"))), last, last}, // its folder is gone
        {"", "", QString(), QDir::homePath()},                  // never the program's folder
        {PathToCp1252(last) + "/bild.jpg", db, QString(), last}, // a path names its own folder
        {PathToCp1252(last), db, QString(), last},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialogStartFolder(c.initial, c.current, c.lastFolder), c.start) << c.initial << " " << c.current;
}

// An import's open dialog shows the files of its kinds in any letter case;
// a report shows in the window's status bar, not in a box.
TEST(QtUserInteraction, OpenDialogFindsFilesInAnyCaseAndReportsGoToTheStatusBar)
{
    QTemporaryDir dir;
    for (const char* name : {"LISTE.CSV", "notiz.Tsv", "a.txt", "bild.png"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QMainWindow window;
    QtUserInteraction ui;
    ui.SetParentWidget(&window);
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) >= 3; }, 3000));
        for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r)
            shown << list->model()->index(r, 0, list->rootIndex()).data().toString();
        dialog->reject();
    });
    FileDialogSpec dialogSpec;
    dialogSpec.filter = "Text-Dateien (*.txt *.csv *.tsv)|*.txt *.csv *.tsv|Alle Dateien (*)|*";
    dialogSpec.initialPath = PathToCp1252(dir.path());
    EXPECT_FALSE(ui.openFile(dialogSpec));
    shown.sort();
    EXPECT_EQ(shown, (QStringList{Q("LISTE.CSV"), Q("a.txt"), Q("notiz.Tsv")}));

    ui.report("3 Titel importiert");
    EXPECT_EQ(window.statusBar()->currentMessage(), Q("3 Titel importiert"));
}

TEST(ToolkitTexts, StandardDialogsSpeakGerman)
{
    QTranslator translator;
    ASSERT_TRUE(LoadToolkitTranslations(translator)) << "qt6-translations-l10n is not installed";
    QCoreApplication::installTranslator(&translator);
    {
        QFileDialog dialog(nullptr, Q("Folianto-Datei laden"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        ASSERT_NE(lookIn, nullptr);
        EXPECT_EQ(lookIn->text(), Q("Suchen in:"));
        const auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), Q("Abbrechen"));
    }
    QCoreApplication::removeTranslator(&translator);
}

} // namespace
} // namespace folianto::test
