#include "ui/GuiSupport.h"

#include "ui/QtUserInteraction.h"
#include "ui/dialogs/WaitForms.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
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
            const QList<QAbstractButton*> buttons = box.buttons();
            for (const QString& caption : c.captions)
                for (QAbstractButton* b : buttons)
                    if (b->text() == caption)
                        captions << caption;
            text = box.text();
            for (QAbstractButton* b : buttons)
                if (b->text() == c.captions[c.click])
                    b->click();
        });
        EXPECT_EQ(ui.message(MsgKind::Confirmation, Cp1252("Zeile eins\r\nZeile zwei: ä"), c.buttons), c.answer);
        EXPECT_EQ(captions, c.captions);
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

TEST(QtUserInteraction, WaitAndProgressWindowsShowWhileTheyLive)
{
    QtUserInteraction ui;
    {
        auto wait = ui.showWait(Cp1252("Buchdaten werden geladen!"));
        TWaitForm* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TWaitForm*>(w); f && f->isVisible())
                shown = f;
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->windowTitle(), Q("Systemmeldung"));
        EXPECT_EQ(shown->Label->text(), Q("Buchdaten werden geladen!"));
        wait->setPosition(40);
        EXPECT_EQ(shown->Gauge->value(), 40);
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TWaitForm*>(w)) << "the wait window is gone";

    auto progress = ui.showProgress("Folianto", "Export");
    TGaugeForm* gauge = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TGaugeForm*>(w))
            gauge = f;
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->windowTitle(), Q("Folianto"));
    EXPECT_TRUE(gauge->Label->wordWrap());
}

} // namespace
} // namespace folianto::test
