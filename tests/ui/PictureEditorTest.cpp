#include "ui/GuiSupport.h"

#include "application/BuchData.h"
#include "editor/BuchEditModel.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/editor/PictureWidgets.h"
#include "ui/shell/TitleGrid.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace folianto::test {
namespace {

using C = EditControl;

// Runs `steps` once the modal editor shows; the dialog does not stay open.
void WhenEditorShows(std::function<void(TBuchEditDlg&)> steps)
{
    QTimer::singleShot(0, [steps = std::move(steps)] {
        auto* dialog = qobject_cast<TBuchEditDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the title editor did not show";
            return;
        }
        steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// Closes the viewer as soon as it shows; `seen` tells whether it came.
void WhenViewerShows(bool& seen)
{
    QTimer::singleShot(0, [&seen] {
        if (auto* viewer = qobject_cast<TForm_Image*>(QApplication::activeModalWidget())) {
            seen = true;
            EXPECT_EQ(viewer->windowTitle(), Q("Folianto: Bild zum Literatur-Titel"));
            QTest::keyClick(viewer, Qt::Key_Escape);
        }
    });
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    f.open(QIODevice::ReadOnly);
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

template <class T> T* Child(TBuchEditDlg& d, const char* name) { return d.findChild<T*>(Q(name)); }

QAction* TitleMenu(WindowFixture& f, const char* entry) { return FindAction(f.window.get(), {Q("&Titel"), Q(entry)}); }

// Two pictures through the real buttons, one embedded and one linked, survive
// OK, save and reload; a double click on a picture opens the viewer.
TEST(PictureEditor, EmbeddedAndLinkedPicturesSurviveSaveAndReload)
{
    WindowFixture f;
    f.Open("bilder.FOL", 3);
    const std::string embedded = FOLIANTO_TEST_DATA "/pictures/baseline.jpg";
    const std::string linked = FOLIANTO_TEST_DATA "/pictures/drawing.wmf";
    f.window->Grid()->SetCurrentCell(1, 2);
    const int32_t title = f.t.app.store.ActBuch;
    f.t.ui.filePaths = {embedded, linked};
    bool viewerSeen = false;
    WhenEditorShows([&](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(PageBilder - 1);
        QTest::mouseClick(Child<QPushButton>(d, "ButtonBildHinzufuegen"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(d, "ButtonBildLinkHinzufuegen"), Qt::LeftButton);
        QTabWidget* tabs = d.PictureTabs();
        EXPECT_TRUE(tabs->isTabVisible(0));
        EXPECT_TRUE(tabs->isTabVisible(1));
        EXPECT_FALSE(tabs->isTabVisible(2));
        tabs->setCurrentIndex(0);
        WhenViewerShows(viewerSeen);
        QTest::mouseDClick(Child<PictureThumbnail>(d, "Image1"), Qt::LeftButton);
        QTest::mouseClick(static_cast<QPushButton*>(d.Control(C::OkButton)), Qt::LeftButton);
    });
    TitleMenu(f, "&Bearbeiten")->trigger();
    EXPECT_TRUE(viewerSeen);

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
    EXPECT_EQ(added[0].Kind, PicJpg + PicEmbedded);
    EXPECT_EQ(added[0].Data, FileBytes(embedded));
    EXPECT_EQ(added[1].Kind, PicWmf + PicLinked);
    EXPECT_TRUE(added[1].Data.empty());
    EXPECT_EQ(added[1].Size, static_cast<int32_t>(FileBytes(linked).size()));

    // Opened again, the editor shows both.
    f.t.ui.filePaths = {path};
    FindAction(f.window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
    f.window->Grid()->SetCurrentCell(1, 2);
    WhenEditorShows([&](TBuchEditDlg& d) {
        const int shown = static_cast<int>(b.Pics.size());
        for (int i = 0; i < MaxPictures; ++i)
            EXPECT_EQ(d.PictureTabs()->isTabVisible(i), i < shown) << i;
        EXPECT_FALSE(Child<PictureThumbnail>(d, "Image1")->pixmap().isNull());
    });
    TitleMenu(f, "&Bearbeiten")->trigger();
}

} // namespace
} // namespace folianto::test
