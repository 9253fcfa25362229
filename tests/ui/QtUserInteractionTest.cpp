#include "ui/GuiSupport.h"

#include "ui/QtUserInteraction.h"

#include "ui/shell/Startup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTranslator>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace folianto::test {
namespace {

// Runs `inside` on the message box once it is up.
void OnBox(const std::function<void(QMessageBox&)>& inside)
{
    QTimer::singleShot(0, [inside] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        inside(*box);
    });
}

TEST(QtUserInteraction, ButtonSetsCarryGermanCaptionsAndAnswer)
{
    const struct {
        Buttons buttons;
        QStringList captions;
        int click;
        Answer answer;
    } cases[] = {
        {Buttons::Ok, {Q("OK")}, 0, Answer::Ok},
        {Buttons::YesNo, {Q("Ja"), Q("Nein")}, 1, Answer::No},
        {Buttons::YesNoAbort, {Q("Ja"), Q("Nein"), Q("Abbrechen")}, 2, Answer::Abort},
        {Buttons::YesNoAbort, {Q("Ja"), Q("Nein"), Q("Abbrechen")}, 0, Answer::Yes},
        {Buttons::RetryIgnore, {Q("Wiederholen"), Q("Ignorieren")}, 1, Answer::Ignore},
        {Buttons::OkCancel, {Q("OK"), Q("Abbrechen")}, 1, Answer::Cancel},
    };
    for (const auto& c : cases) {
        QtUserInteraction ui;
        QStringList captions;
        QString text;
        OnBox([&](QMessageBox& box) {
            for (QAbstractButton* b : box.buttons())
                captions << b->text();
            text = box.text();
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

TEST(QtUserInteraction, ClosingABoxGivesItsCancellingAnswer)
{
    QtUserInteraction ui;
    OnBox([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(ui.message(MsgKind::Warning, "?", Buttons::YesNoAbort), Answer::Abort);
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
