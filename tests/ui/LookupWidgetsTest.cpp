// The look-up through its widgets: the editor's "Nachschlagen" with the
// choice of an edition and of differing fields, and the queue window.

#include "ui/GuiSupport.h"

#include "exchange/ExchangeTestUtil.h"
#include "lookup/LookupQueue.h"
#include "lookup/LookupTestServer.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/lookup/EditorLookupDialogs.h"
#include "ui/lookup/LookupWindow.h"

#include <QClipboard>

namespace folianto::test {
namespace {

using C = EditControl;

LookupTestServer::Answer Fixture(const char* name)
{
    LookupTestServer::Answer a;
    a.body = QByteArray::fromStdString(ReadFixture("lookup", name));
    return a;
}

void PointSourcesAt(App& app, const LookupTestServer& server)
{
    app.settings.Nachschlagen = std::vector<std::pair<std::string, std::string>>{
        {"eins", "marcxml|" + server.url("/sru?q={isbn}")}};
}

TEST(LookupWidgets, EditorFillsEmptyFieldsAndAsksForTheOthers)
{
    LookupTestServer server;
    server.on("/sru", Fixture("sru-several-editions.xml"));
    WindowFixture f;
    f.Open("nachschlagen.FOL", 3);
    PointSourcesAt(f.t.app, server);
    const TBuch before = *f.t.app.store.at(1);
    InEditor(f, "&Bearbeiten", [&](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(1);
        auto* isbn = static_cast<QLineEdit*>(d.Control(C::ISBN_Edit));
        isbn->setText(QStringLiteral("3-16-148410-X"));
        static_cast<QLineEdit*>(d.Control(C::EditSeiten))->clear();
        WhenModal<EditionChoiceDialog>([&](EditionChoiceDialog& e) {
            auto* list = e.findChild<QListWidget*>(QStringLiteral("EditionList"));
            ASSERT_EQ(list->count(), 2);
            list->setCurrentRow(1);
            WhenModal<FieldChoiceDialog>([&](FieldChoiceDialog& c) {
                auto* title = c.findChild<QCheckBox*>(QStringLiteral("Uebernehmen_TitelEdit"));
                ASSERT_NE(title, nullptr);
                EXPECT_EQ(title->accessibleName(), Q("Titel übernehmen"));
                title->setChecked(true);
                c.accept();
            }, "feldwahl.png");
            e.accept();
        });
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("ButtonNachschlagen")), Qt::LeftButton);
        // The second edition, and its title only as ticked in the comparison.
        EXPECT_EQ(std::tuple(static_cast<QLineEdit*>(d.Control(C::TitelEdit))->text(),
                             static_cast<QLineEdit*>(d.Control(C::EditSeiten))->text()),
                  std::tuple(Q("Kataloge und Register"), Q("240")));
        d.reject();
    });
    // Cancelled: the title stays as it was.
    EXPECT_EQ(std::tuple(f.t.app.store.at(1)->Titel.Text, f.t.app.store.at(1)->ISBN.Text),
              std::tuple(before.Titel.Text, before.ISBN.Text));
}

TEST(LookupWidgets, QueueWindowTakesOverWhatWasFound)
{
    LookupTestServer server;
    server.on("q=9783161484100", Fixture("sru-one-edition.xml"));
    server.on("q=9780306406157", Fixture("sru-260.xml"));
    LookupTestServer::Answer broken;
    broken.status = 503;
    server.on("q=9783899770001", broken);
    server.on("/sru", Fixture("sru-zero-records.xml"));
    WindowFixture f;
    f.Open("schlange.FOL", 3);
    PointSourcesAt(f.t.app, server);
    LookupWindow window(f.t.app, f.window.get());
    window.Queue().client().setMinIntervalMs(0);
    window.show();
    auto* input = window.findChild<QLineEdit*>(QStringLiteral("LookupInput"));
    input->setFocus();
    // A scanner types the digits and Enter; many pasted at once join line by line.
    QTest::keyClicks(input, QStringLiteral("9783161484100"));
    QTest::keyClick(input, Qt::Key_Return);
    QApplication::clipboard()->setText(QStringLiteral("0-306-40615-2\n978-3-89977-000-1\n9780000000002\n978-3-16-148410-1\n"));
    QTest::keySequence(input, QKeySequence::Paste);
    EXPECT_TRUE(input->text().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return !window.Queue().busy(); }));
    auto* list = window.findChild<QListWidget*>(QStringLiteral("LookupList"));
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(0)->text(), Q("9783161484100  –  gefunden: Die Bibliothek als Ort"));
    EXPECT_EQ(list->item(2)->text(), Q("978-3-89977-000-1  –  Fehler: eins: HTTP 503"));
    EXPECT_EQ(list->item(3)->text(), Q("9780000000002  –  nicht gefunden"));
    EXPECT_TRUE(list->item(4)->text().startsWith(Q("978-3-16-148410-1  –  Fehler: Falsche Prüfziffer")));
    if (qEnvironmentVariableIsSet("FOLIANTO_SHOTS"))
        window.grab().save(qEnvironmentVariable("FOLIANTO_SHOTS") + QStringLiteral("/warteschlange.png"));

    auto* takeOver = window.findChild<QPushButton*>(QStringLiteral("UebernehmenButton"));
    EXPECT_EQ(takeOver->accessibleName(), Q("Übernehmen"));
    QTest::mouseClick(takeOver, Qt::LeftButton);
    EXPECT_EQ(f.t.app.store.AnzBuch, 5);
    EXPECT_FALSE(takeOver->isEnabled());
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("NichtGefundeneButton")), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("978-3-89977-000-1\r\n9780000000002\r\n978-3-16-148410-1\r\n"));
}

} // namespace
} // namespace folianto::test
