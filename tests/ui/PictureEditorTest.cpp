#include "ui/GuiSupport.h"

#include "application/BuchData.h"
#include "support/DbBytes.h"
#include "selection/Selection.h"
#include "shell/GridRules.h"
#include "editor/TitleEditorModel.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/editor/PictureWidgets.h"

namespace folianto::test {
namespace {

using C = EditControl;

template <class T> T* Child(TBuchEditDlg& d, const char* name) { return d.findChild<T*>(Q(name)); }

// Two pictures through the real buttons, one embedded and one linked, survive
// OK, save and reload (the page's own test clicks its tabs and the viewer).
TEST(PictureEditor, EmbeddedAndLinkedPicturesSurviveSaveAndReload)
{
    WindowFixture f;
    f.Open("bilder.FOL", 3);
    const std::string embedded = FOLIANTO_TEST_DATA "/pictures/baseline.jpg";
    const std::string linked = FOLIANTO_TEST_DATA "/pictures/drawing.wmf";
    f.window->Grid()->SetCurrentCell(1, 2);
    const int32_t title = f.t.app.store.ActBuch;
    f.t.ui.filePaths = {embedded, linked};
    InEditor(f, "&Bearbeiten", [&](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(PageBilder - 1);
        QTest::mouseClick(Child<QPushButton>(d, "ButtonBildHinzufuegen"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(d, "ButtonBildLinkHinzufuegen"), Qt::LeftButton);
        QTest::mouseClick(static_cast<QPushButton*>(d.Control(C::OkButton)), Qt::LeftButton);
    });

    const std::string path = PathToCp1252(f.dir.filePath(QStringLiteral("mit_bildern.FOL")));
    f.t.ui.filePaths = {path};
    FindAction(f.window.get(), {Q("&Datei"), Q("Speichern &unter...")})->trigger();

    TestApp reopened;
    std::string errParam;
    ASSERT_TRUE(Load_Buch_Data(reopened.app, path, errParam));
    const TBuch& b = *reopened.app.store.at(title);
    std::vector<TPicRec> added;
    for (const TPicRec& pic : b.Pics)
        if (pic.BildTitel.Text == "baseline" || pic.BildTitel.Text == linked)
            added.push_back(pic);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(std::tuple(added[0].Kind, std::string(added[0].Data.begin(), added[0].Data.end()), added[1].Kind,
                         added[1].Data.empty(), added[1].Size),
              std::tuple(PicJpg + PicEmbedded, ReadBytes(Q(embedded.c_str())), PicWmf + PicLinked, true,
                         static_cast<int32_t>(ReadBytes(Q(linked.c_str())).size())));

    // Opened again, the editor shows both.
    f.t.ui.filePaths = {path};
    FindAction(f.window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
    f.window->Grid()->SetCurrentCell(1, 2);
    InEditor(f, "&Bearbeiten", [&](TBuchEditDlg& d) {
        const int shown = static_cast<int>(b.Pics.size());
        for (int i = 0; i < MaxPictures; ++i)
            EXPECT_EQ(d.PictureTabs()->isTabVisible(i), i < shown) << i;
        EXPECT_FALSE(Child<PictureThumbnail>(d, "Image1")->pixmap().isNull());
    });
}

// Page 2's document link through the real controls: the tick makes Quelle
// read-only, the button fills it from the file dialog (a cancel keeps it),
// a double click starts the document, and OK stores link bit and path. When
// a start asks and what the hint says are the link rules' own tests.
TEST(DocumentLink, TickButtonAndDoubleClickOnQuelle)
{
    WindowFixture f;
    f.Open("links.FOL", 3);
    f.window->Grid()->SetCurrentCell(1, 2);
    const int32_t title = f.t.app.store.ActBuch;
    // Long enough that the field cannot show it: the hint carries it whole.
    const QString name = QStringLiteral("Dokument_mit_einem_sehr_langen_Namen_%1.pdf").arg(QString(60, QLatin1Char('x')));
    WriteBytes(f.dir.filePath(name), "");
    const std::string docPath = PathToCp1252(f.dir.filePath(name));
    f.t.ui.filePaths = {docPath, std::nullopt};
    f.t.ui.dialogs.clear();

    InEditor(f, "&Bearbeiten", [&](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(PageBibliothek - 1);
        Child<QRadioButton>(d, "RadioLiteraturTyp6")->click(); // the audio-visual group shows
        auto* quelle = static_cast<QLineEdit*>(d.Control(C::EditQuelle));
        auto* link = static_cast<QCheckBox*>(d.Control(C::CheckBoxQuelleAlsLinkBenutzen));
        auto* button = Child<QPushButton>(d, "ButtonVerlinken");
        ASSERT_TRUE(quelle->isVisible());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(std::tuple(button->text(), button->accessibleName(),
                             link->accessibleName().isEmpty() ? link->text() : link->accessibleName()),
                  std::tuple(Q("auf Datei verlinken"), Q("auf Datei verlinken"), Q("als Link benutzen")));

        // From the keyboard: Tab reaches the button after the tick box.
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        link->setFocus(Qt::TabFocusReason);
        QTest::keyClick(link, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), button);

        for (const bool ticked : {false, true, false}) { // each click flips it; ticked at the end
            EXPECT_EQ(quelle->isReadOnly(), ticked);
            QTest::mouseClick(link, Qt::LeftButton);
        }

        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(PathToCp1252(quelle->text()), docPath);
        EXPECT_EQ(ToCp1252(quelle->toolTip()).rfind(docPath + "\r\n\r\nDoppelklick", 0), 0u);
        QTest::mouseClick(button, Qt::LeftButton); // cancelled
        EXPECT_EQ(PathToCp1252(quelle->text()), docPath);
        ASSERT_EQ(f.t.ui.dialogs.size(), 2u);
        EXPECT_EQ(f.t.ui.dialogs[1].initialPath, docPath);

        QTest::mouseDClick(quelle, Qt::LeftButton);
        EXPECT_EQ(f.t.ui.startedDocuments, std::vector<std::string>{docPath});
        EXPECT_TRUE(f.t.ui.messages.empty());

        // Without the tick a double click only edits.
        QTest::mouseClick(link, Qt::LeftButton);
        f.t.app.DocStarted = false;
        QTest::mouseDClick(quelle, Qt::LeftButton);
        EXPECT_EQ(f.t.ui.startedDocuments.size(), 1u);
        EXPECT_EQ(ToCp1252(quelle->toolTip()), docPath);
        QTest::mouseClick(link, Qt::LeftButton);

        QTest::mouseClick(static_cast<QPushButton*>(d.Control(C::OkButton)), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(std::tuple(f.t.app.store.at(title)->Quelle.Text, f.t.app.store.at(title)->TypNum & LinkFlag),
              std::tuple(docPath, LinkFlag));

    // Opened again, the stored link makes Quelle read-only at once.
    f.window->Grid()->SetCurrentCell(1, 2);
    InEditor(f, "&Bearbeiten", [](TBuchEditDlg& d) {
        EXPECT_TRUE(static_cast<QCheckBox*>(d.Control(C::CheckBoxQuelleAlsLinkBenutzen))->isChecked() &&
                    static_cast<QLineEdit*>(d.Control(C::EditQuelle))->isReadOnly());
    });
    // Another title whose Quelle fits shows no hint naming the first one's document.
    f.window->Grid()->SetCurrentCell(1, 1);
    InEditor(f, "&Bearbeiten", [](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(PageBibliothek - 1);
        Child<QRadioButton>(d, "RadioLiteraturTyp6")->click();
        auto* quelle = static_cast<QLineEdit*>(d.Control(C::EditQuelle));
        ASSERT_TRUE(quelle->isVisible());
        EXPECT_EQ(quelle->toolTip(), QString());
    });
}

// The grid's "Link" column: a double click on a linked title asks; Yes starts
// the document instead of the editor, No opens the editor.
TEST(DocumentLink, GridLinkColumnDoubleClickStartsTheDocument)
{
    WindowFixture f;
    f.Open("gridlink.FOL", 3);
    App& app = f.t.app;
    const int linkCol = GridColumnOf(app.columns, app.grid, ColLink);
    ASSERT_GT(linkCol, 0);
    f.window->Grid()->SetCurrentCell(linkCol, 2);
    TBuch& b = *app.store.at(app.store.ActBuch);
    b.TypNum |= LinkFlag;
    b.Quelle.Text = "https://example.org/aufsatz.pdf";
    SetAusgabeData(app);
    f.window->RefreshFromLogic();
    f.window->Grid()->SetCurrentCell(linkCol, 2);
    TitleGrid* grid = f.window->Grid();
    const QPoint cell = grid->visualRect(grid->model()->index(1, linkCol)).center();

    bool editorShown = false;
    const auto watchEditor = [&editorShown] {
        QTimer::singleShot(0, [&editorShown] {
            if (auto* dialog = qobject_cast<TBuchEditDlg*>(QApplication::activeModalWidget())) {
                editorShown = true;
                dialog->reject();
            }
        });
    };
    f.t.ui.answers = {Answer::Yes};
    watchEditor();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    ASSERT_EQ(f.t.ui.messages.size(), 1u);
    EXPECT_EQ(f.t.ui.messages[0].text.rfind("Dieser Titel hat einen Link auf ein Dokument.", 0), 0u);
    EXPECT_EQ(f.t.ui.startedDocuments, std::vector<std::string>{"https://example.org/aufsatz.pdf"});
    QApplication::processEvents();
    EXPECT_FALSE(editorShown);

    f.t.ui.answers = {Answer::No};
    watchEditor();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(f.t.ui.startedDocuments.size(), 1u);
}

} // namespace
} // namespace folianto::test
