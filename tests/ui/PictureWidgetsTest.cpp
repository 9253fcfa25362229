#include "ui/GuiSupport.h"
#include "config/Settings.h"
#include "ui/editor/PicturePage.h"
#include "ui/editor/PictureWidgets.h"

namespace folianto::test {
namespace {

std::string FixturePath(const char* name) { return FOLIANTO_TEST_DATA "/pictures/" + std::string(name); }

PictureSlot FixtureSlot(const char* name, int32_t format)
{
    QFile f(QString::fromStdString(FixturePath(name)));
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    PictureSlot slot;
    slot.Kind = format + PicEmbedded;
    slot.Data.assign(bytes.begin(), bytes.end());
    return slot;
}

bool Near(QRgb pixel, QRgb expected)
{
    return std::abs(qRed(pixel) - qRed(expected)) < 60 && std::abs(qGreen(pixel) - qGreen(expected)) < 60 &&
           std::abs(qBlue(pixel) - qBlue(expected)) < 60;
}

// Every format reaches the screen with its layout: red left, blue right, green square top left.
TEST(PictureWidgets, EveryFormatShows)
{
    const struct {
        const char* file;
        int32_t format;
    } cases[] = {{"baseline.jpg", PicJpg}, {"progressive.jpg", PicJpeg}, {"rgb24.bmp", PicBmp},
                 {"palette8.bmp", PicBmp}, {"drawing.emf", PicEmf},     {"drawing.wmf", PicWmf}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const PictureImage p = LoadPictureImage(FixtureSlot(c.file, c.format));
        ASSERT_FALSE(p.Image.isNull());
        EXPECT_NEAR(p.Natural.width(), 64, 1);
        EXPECT_NEAR(p.Natural.height(), 48, 1);
        const QImage& img = p.Image;
        const auto at = [&](double fx, double fy) {
            return img.pixel(static_cast<int>(fx * img.width()), static_cast<int>(fy * img.height()));
        };
        EXPECT_TRUE(Near(at(0.1, 0.8), qRgb(255, 0, 0)));
        EXPECT_TRUE(Near(at(0.9, 0.1), qRgb(0, 0, 255)));
        EXPECT_TRUE(Near(at(0.19, 0.25), qRgb(0, 255, 0)));
    }
}

TEST(PictureWidgets, ThumbnailFitsItsBoxAndDamageShowsNothing)
{
    PictureThumbnail thumb;
    thumb.ShowPicture(LoadPictureImage(FixtureSlot("baseline.jpg", PicJpg), QSize(30, 30)), QSize(30, 30), true);
    EXPECT_EQ(std::tuple(thumb.size(), thumb.NaturalSize()), std::tuple(QSize(25, 19), QSize(64, 48)));
    thumb.ShowPicture(LoadPictureImage(FixtureSlot("baseline.jpg", PicJpg)), QSize(30, 30), false);
    EXPECT_EQ(thumb.size(), QSize(64, 48));

    PictureSlot damaged = FixtureSlot("drawing.emf", PicEmf);
    damaged.Data.resize(damaged.Data.size() / 2);
    const PictureImage nothing = LoadPictureImage(damaged, QSize(30, 30));
    EXPECT_TRUE(nothing.Image.isNull());
    thumb.ShowPicture(nothing, QSize(30, 30), true);
    EXPECT_TRUE(thumb.pixmap().isNull());
}

TEST(PictureViewer, SizeAspectAndContextMenu)
{
    const QImage image = LoadPictureImage(FixtureSlot("rgb24.bmp", PicBmp)).Image;
    TForm_Image viewer(image);
    EXPECT_TRUE(viewer.windowFlags() & Qt::Tool);
    EXPECT_TRUE(TForm_Image::IsOpen());
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    // 64+12 by 48+31 with the frame, then the width follows the height at 4:3.
    EXPECT_EQ(viewer.frameGeometry().height(), 48 + 31);
    EXPECT_EQ(viewer.width() * 3, viewer.height() * 4);

    // Dragged wider: the height follows at 4:3.
    viewer.resize(200, 80);
    EXPECT_EQ(viewer.size(), QSize(200, 150));
    QAction* keep = viewer.findChild<QAction*>(Q("KeepAspect"));
    QAction* free = viewer.findChild<QAction*>(Q("FreeScale"));
    ASSERT_TRUE(keep && free);
    free->trigger();
    EXPECT_FALSE(keep->isChecked());
    viewer.resize(300, 90);
    EXPECT_EQ(viewer.size(), QSize(300, 90));
    keep->trigger(); // the rule applies at once
    EXPECT_EQ(viewer.size().width() * 3, viewer.size().height() * 4);

    QTest::keyClick(&viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible());
}

struct PageFixture {
    FakeUserInteraction ui;
    Settings settings;
    PictureSlots pictures{ui};
    PicturePage page{pictures, settings, ui};

    template <class T> T* Find(const char* name) const { return page.findChild<T*>(Q(name)); }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
};

// Closes the viewer once it shows; `seen` tells whether it came.
void CloseViewer(bool& seen)
{
    QTimer::singleShot(0, [&seen] {
        if (auto* viewer = qobject_cast<TForm_Image*>(QApplication::activeModalWidget()))
            seen = true, viewer->reject();
    });
}

TEST(PicturePage, ButtonsTabsStorageAndTheViewer)
{
    PageFixture f;
    f.page.resize(800, 420);
    f.page.show();
    auto* tabs = f.Find<QTabWidget>("PageControlBilder");
    ASSERT_TRUE(tabs);
    for (int i = 0; i < MaxPictures; ++i)
        EXPECT_FALSE(tabs->isTabVisible(i));
    EXPECT_EQ(tabs->tabText(9), Q("Bild 1&0"));

    f.ui.filePaths = {FixturePath("baseline.jpg"), FixturePath("drawing.wmf")};
    f.Click("ButtonBildHinzufuegen");
    f.Click("ButtonBildLinkHinzufuegen");
    EXPECT_EQ(std::tuple(tabs->isTabVisible(0), tabs->isTabVisible(1), tabs->isTabVisible(2), tabs->currentIndex()),
              std::tuple(true, true, false, 1));
    // The linked picture's title is its path, fixed.
    EXPECT_EQ(std::tuple(f.Find<QLineEdit>("EditBildTitel1")->text(), f.Find<QLineEdit>("EditBildTitel2")->text(),
                         f.Find<QLineEdit>("EditBildTitel2")->isEnabled()),
              std::tuple(Q("baseline"), QString::fromStdString(FixturePath("drawing.wmf")), false));
    EXPECT_FALSE(f.Find<PictureThumbnail>("Image2")->pixmap().isNull());
    EXPECT_TRUE(f.Find<QRadioButton>("RadioBildSpeichern1")->isChecked());

    // The storage is fixed: a click on the other item snaps back with the error box.
    QTest::mouseClick(f.Find<QRadioButton>("RadioBildSpeichern0"), Qt::LeftButton);
    EXPECT_TRUE(f.Find<QRadioButton>("RadioBildSpeichern1")->isChecked());
    ASSERT_FALSE(f.ui.messages.empty());
    EXPECT_EQ(f.ui.messages.back().text,
              Cp1252("Diese Einstellung kann nur beim Hinzufügen eines Bildes festgelegt werden!"));

    // A double click on a picture shows the viewer; with the option on,
    // choosing a tab does.
    bool seen = false, automatic = false;
    CloseViewer(seen);
    QTest::mouseDClick(f.Find<PictureThumbnail>("Image2"), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(TForm_Image::IsOpen());
    f.settings.PicAutoShowOption = 1;
    CloseViewer(automatic);
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(automatic);
    f.settings.PicAutoShowOption = 0;

    EXPECT_EQ(std::tuple(f.Find<QRadioButton>("RadioBildSpeichern0")->isChecked(), f.Find<QLabel>("LabelGroesse")->text()),
              std::tuple(true, Q("Größe: 0 kB")));
    QTest::keyClicks(f.Find<QLineEdit>("EditBildTitel1"), Q("X"));
    EXPECT_EQ(std::tuple(f.pictures.PicTitlesChanged, f.pictures.Slots[0].Title), std::tuple(true, "baselineX"));

    f.Click("ButtonBildLoeschen");
    EXPECT_EQ(std::tuple(tabs->isTabVisible(0), tabs->currentIndex(), f.pictures.Slots[0].HasPicture()),
              std::tuple(false, 1, false));
}

} // namespace
} // namespace folianto::test
