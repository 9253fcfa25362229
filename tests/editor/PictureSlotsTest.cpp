#include "editor/PictureGeometry.h"
#include "editor/PictureSlots.h"

#include "application/BuchData.h"
#include "support/Fakes.h"

#include <QBuffer>

using namespace folianto;
using folianto::test::FakeUserInteraction;
using folianto::test::TestApp;

namespace {

// Distinct bytes per picture, including every byte value.
std::vector<uint8_t> PictureData(int seed, std::size_t size = 700)
{
    std::vector<uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>(i * 7 + static_cast<std::size_t>(seed) * 31);
    return data;
}

TPicRec Embedded(int seed, int32_t format = PicJpg)
{
    TPicRec pic;
    pic.Kind = format + PicEmbedded;
    pic.Data = PictureData(seed);
    pic.Size = static_cast<int32_t>(pic.Data.size());
    pic.BildTitel.Text = "Bild " + std::to_string(seed);
    return pic;
}

TPicRec Linked(const std::string& path, int32_t size = 1234)
{
    TPicRec pic;
    pic.Kind = PicJpg + PicLinked;
    pic.Size = size;
    pic.BildTitel.Text = path;
    return pic;
}

TBuch TitleWith(std::vector<TPicRec> pics)
{
    TBuch b;
    b.Kuerzel.Text = "K1";
    b.Pics = std::move(pics);
    b.AnzPics = static_cast<int32_t>(b.Pics.size());
    return b;
}

struct Page {
    FakeUserInteraction ui;
    PictureSlots slots{ui};
    QTemporaryDir dir;

    std::string file(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }
    std::string lastMessage() const { return ui.messages.empty() ? std::string() : ui.messages.back().text; }
};

// Saves the title into a database in memory and reads it back.
TBuch RoundTrip(const TBuch& title)
{
    TestApp writer;
    writer.app.DataVerMain = ProgramVerMain;
    writer.app.DataVerMinor = ProgramVerMinor;
    writer.app.store.NewBuch();
    *writer.app.store.at(1) = title;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    WriteBuchData(writer.app, buffer, "mem.FOL");
    buffer.seek(0);
    TestApp reader;
    EXPECT_TRUE(ReadBuchData(reader.app, buffer, "mem.FOL"));
    EXPECT_EQ(reader.app.store.AnzBuch, 1);
    return *reader.app.store.at(1);
}

} // namespace

TEST(PictureKinds, FormatAndStorage)
{
    const struct {
        int32_t kind;
        int32_t format;
        bool linked;
    } cases[] = {
        {PicJpg + PicEmbedded, PicJpg, false}, {PicJpeg, PicJpeg, false}, // no storage bits: embedded
        {PicWmf + PicLinked, PicWmf, true},    {PicBmp + PicEmbedded + PicLinked, PicBmp, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PicFormat(c.kind), c.format) << c.kind;
        EXPECT_EQ(IsLinkedKind(c.kind), c.linked) << c.kind;
    }
    const struct {
        const char* path;
        int32_t format;
    } names[] = {{"a/b.jpg", PicJpg}, {"x.Jpeg", PicJpeg}, {"y.BMP", PicBmp}, {"z.emf", PicEmf},
                 {"w.wmf", PicWmf},   {"v.png", 0},         {"noext", 0},     {"dir.jpg/file", 0}};
    for (const auto& n : names)
        EXPECT_EQ(PicFormatOfPath(n.path), n.format) << n.path;
}

TEST(PictureGeometry, ThumbnailFit)
{
    const struct {
        PicSize picture, box, shown;
        bool stretched;
    } cases[] = {
        {{100, 50}, {104, 54}, {100, 50}, false},  // fits with 4 pixels to spare
        {{101, 50}, {104, 54}, {99, 49}, true},    // one too wide: width box - 5
        {{3000, 2000}, {300, 300}, {295, 197}, true},
        {{2000, 3000}, {300, 300}, {197, 295}, true},
        {{400, 400}, {300, 200}, {195, 195}, true}, // overflows more in height
        {{0, 0}, {300, 200}, {0, 0}, false},
        {{5000, 10}, {4, 4}, {1, 1}, true},         // a box too small still gives a pixel
    };
    for (const auto& c : cases) {
        const ThumbnailShape s = ThumbnailFit(c.picture, c.box);
        EXPECT_EQ(s.Size, c.shown) << c.picture.Width << "x" << c.picture.Height;
        EXPECT_EQ(s.Stretched, c.stretched) << c.picture.Width << "x" << c.picture.Height;
    }
}

// A JPEG is decoded at the smallest scale that keeps four fifths of the wanted
// size in both directions, its sides rounded up.
TEST(PictureGeometry, JpegScale)
{
    const struct {
        PicSize picture, wanted;
        int denominator;
    } cases[] = {
        {{1600, 640}, {100, 100}, 8}, {{640, 1600}, {100, 100}, 8}, {{1600, 632}, {100, 100}, 4},
        {{632, 1600}, {100, 100}, 4}, {{633, 633}, {100, 100}, 8},  {{100, 100}, {100, 100}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JpegScaleDenominator(c.picture, c.wanted), c.denominator)
            << c.picture.Width << "x" << c.picture.Height;
}

TEST(PictureGeometry, Viewer)
{
    const struct {
        PicSize picture, screen, window;
        std::optional<int> x, y;
    } placements[] = {
        {{800, 600}, {1280, 1024}, {812, 631}, 234, 196},
        {{1270, 600}, {1280, 1024}, {1250, 964}, 15, 30},   // not 10 pixels narrower: screen - 30/60
        {{2000, 3000}, {1280, 1024}, {1250, 964}, 15, 30},
        {{1260, 960}, {1280, 1024}, {1272, 991}, std::nullopt, 16}, // too wide to centre
        {{1258, 960}, {1280, 1024}, {1270, 991}, std::nullopt, 16}, // just so
        {{800, 964}, {1280, 1024}, {1250, 964}, 15, 30},            // not 60 pixels lower
    };
    for (const auto& c : placements) {
        const ViewerPlacement p = ViewerInitialPlacement(c.picture, c.screen);
        EXPECT_EQ(p.Size, c.window) << c.picture.Width;
        EXPECT_EQ(p.X, c.x) << c.picture.Width;
        EXPECT_EQ(p.Y, c.y) << c.picture.Width;
    }
    const struct {
        PicSize last, now;
        double aspect;
        PicSize result;
    } resizes[] = {
        {{400, 300}, {500, 310}, 4.0 / 3, {500, 375}}, // width moved more: height follows
        {{400, 300}, {410, 400}, 4.0 / 3, {533, 400}}, // height moved more: width follows
        {{400, 300}, {420, 320}, 4.0 / 3, {427, 320}}, // a tie: width follows
        {{400, 300}, {500, 310}, 0.0, {500, 310}},     // no aspect: as dragged
    };
    for (const auto& r : resizes)
        EXPECT_EQ(ViewerAspectSize(r.last, r.now, r.aspect), r.result) << r.now.Width << "x" << r.now.Height;
}

// The page stops at an embedded entry without data; the entries it could not
// show come back behind the pictures on the tabs. An unknown format is refused.
TEST(PictureSlots, HiddenEntriesSurviveARewriteAndUnknownFormatsAreRefused)
{
    Page page;
    TPicRec empty = Embedded(1);
    empty.Data.clear();
    TBuch b = TitleWith({empty, Embedded(2), Embedded(3)});
    ASSERT_TRUE(page.slots.Show(b));
    EXPECT_EQ(page.slots.FirstFreeSlot(), 0);
    ASSERT_TRUE(page.slots.AddFile(page.file("neu.jpg", PictureData(9)), false));
    page.slots.WriteTo(b, false);
    ASSERT_EQ(b.AnzPics, 3);
    EXPECT_EQ(std::tuple(b.Pics[0].Data, b.Pics[1].Data, b.Pics[2].Data),
              std::tuple(PictureData(9), PictureData(2), PictureData(3)));

    page.slots.Reset();
    TPicRec strange = Embedded(3);
    strange.Kind = 32 + PicEmbedded;
    EXPECT_FALSE(page.slots.Show(TitleWith({Embedded(1), strange})));
}

TEST(PictureSlots, AddAfterDeletingTheSecondOfThreeUsesTabTwo)
{
    Page page;
    TBuch b = TitleWith({Embedded(1), Embedded(2), Embedded(3)});
    ASSERT_TRUE(page.slots.Show(b));
    page.slots.SelectTab(1);
    page.slots.DeleteCurrent();
    EXPECT_EQ(page.slots.Current, 0);
    ASSERT_TRUE(page.slots.AddFile(page.file("Umschlag vorn.bmp", PictureData(7)), false));
    EXPECT_EQ(page.slots.Current, 1);
    EXPECT_EQ(std::tuple(page.slots.Slots[1].Kind, page.slots.Slots[1].Title, page.slots.PicFileSizes[1]),
              std::tuple(PicBmp + PicEmbedded, "Umschlag vorn", 700));

    page.slots.WriteTo(b, false);
    ASSERT_EQ(b.AnzPics, 3);
    EXPECT_EQ(std::tuple(b.Pics[1].Data, b.Pics[1].Size, b.Pics[2].Data),
              std::tuple(PictureData(7), 700, PictureData(3)));
}

TEST(PictureSlots, AddRefusals)
{
    const struct {
        const char* name;
        std::size_t bytes;
        bool asLink;
        const char* message; // empty: accepted
    } cases[] = {
        {"scan.png", 100, false, "Nicht unterstütztes Graphik-Format!"},
        {"scan.png", 100, true, "Nicht unterstütztes Graphik-Format!"},
        {"leer.jpg", 0, false, "Fehler beim Lesen aus"},
        {"leer.jpg", 0, true, ""},
        {"gross.jpg", MaxEmbeddedPictureBytes + 1, false, "Das Bild ist zu groß für die Daten-Datei"},
        {"gross.jpg", MaxEmbeddedPictureBytes + 1, true, ""},
        {"grenze.jpg", MaxEmbeddedPictureBytes, false, ""},
    };
    for (const auto& c : cases) {
        Page page;
        const bool added = page.slots.AddFile(page.file(c.name, std::vector<uint8_t>(c.bytes, 1)), c.asLink);
        const std::string expected = Cp1252(c.message);
        EXPECT_EQ(added, expected.empty()) << c.name;
        EXPECT_EQ(page.slots.PicsChanged, added) << c.name;
        if (!expected.empty()) {
            EXPECT_EQ(page.lastMessage().rfind(expected, 0), 0u) << c.name << ": " << page.lastMessage();
        }
    }
}

TEST(PictureSlots, EleventhPictureRefusedBeforeTheDialog)
{
    Page page;
    EXPECT_FALSE(page.slots.AddPicture(false)); // the dialog cancelled
    EXPECT_TRUE(page.ui.dialogs[0].mustExist && page.ui.dialogs[0].pathMustExist);
    for (int i = 0; i < MaxPictures; ++i) {
        page.ui.filePaths.push_back(page.file("b" + std::to_string(i) + ".jpg", PictureData(i)));
        ASSERT_TRUE(page.slots.AddPicture(i % 2 == 1));
    }
    EXPECT_EQ(page.ui.dialogs.size(), 11u);
    EXPECT_FALSE(page.slots.AddPicture(false));
    EXPECT_EQ(page.ui.dialogs.size(), 11u);
    EXPECT_EQ(page.lastMessage(), Cp1252("Es können höchstens 10 Bilder zu einem Titel gespeichert werden!"));
    EXPECT_FALSE(page.slots.AddFile(page.file("b.jpg", PictureData(1)), false));
    // The first deleted, the page moves right.
    page.slots.SelectTab(0);
    page.slots.DeleteCurrent();
    EXPECT_EQ(page.slots.Current, 1);
}

// A title edit reaches the last of the pictures too, a tab past the last
// nothing; the bytes stay as they were.
TEST(PictureSlots, TitleEditAloneIsStoredAndKeepsTheBytes)
{
    for (int count : {2, MaxPictures}) {
        SCOPED_TRACE(count);
        Page page;
        std::vector<TPicRec> pics;
        for (int i = 1; i <= count; ++i)
            pics.push_back(Embedded(i));
        TBuch b = TitleWith(pics);
        ASSERT_TRUE(page.slots.Show(b));
        EXPECT_EQ(page.slots.FirstFreeSlot(), count < MaxPictures ? count : -1);
        EXPECT_TRUE(page.slots.TitleEnabled());
        for (int outside : {-1, MaxPictures})
            page.slots.TitleEdited(outside, "anders");
        page.slots.SelectTab(MaxPictures);
        EXPECT_EQ(page.slots.Current, 0);
        EXPECT_FALSE(page.slots.PicTitlesChanged);
        page.slots.TitleEdited(count - 1, "Rückseite");
        EXPECT_TRUE(page.slots.PicTitlesChanged);
        EXPECT_FALSE(page.slots.PicsChanged);
        page.slots.WriteTo(b, false);
        ASSERT_EQ(b.AnzPics, count);
        EXPECT_EQ(std::tuple(b.Pics.back().BildTitel.Text, b.Pics.back().Data, b.Pics[0].BildTitel.Text),
                  std::tuple("Rückseite", PictureData(count), "Bild 1"));
        // Written whole, as for a new record: every picture again.
        page.slots.WriteTo(b, true);
        ASSERT_EQ(b.AnzPics, count);
        EXPECT_EQ(b.Pics.back().Data, PictureData(count));
    }
}

// The size label of each tab, and the storage radio, which snaps back: the
// storage is chosen only when a picture is added.
TEST(PictureSlots, SizeLabelAndStorageRadio)
{
    Page page;
    const std::string present = page.file("da.jpg", std::vector<uint8_t>(3000, 1)), empty = page.file("leer.jpg", {});
    ASSERT_TRUE(page.slots.Show(TitleWith({Embedded(1), Linked(present), Linked("/nirgends/weg.jpg"), Linked(empty)})));
    const struct {
        int tab;
        const char* text;
        bool missing;
    } cases[] = {{0, "Größe: 1 kB", false}, {1, "Größe: 3 kB", false}, {2, "Datei fehlt", true},
                 {3, "Größe: 0 kB", false}, {4, "Größe:", false}};
    for (const auto& c : cases) {
        page.slots.SelectTab(c.tab);
        const PictureSizeLabel label = page.slots.SizeLabel();
        EXPECT_EQ(label.Text, Cp1252(c.text)) << c.tab;
        EXPECT_EQ(label.FileMissing, c.missing) << c.tab;
    }
    page.slots.SelectTab(2);
    EXPECT_EQ(page.slots.SizeLabel().Hint,
              Cp1252("Fehler in der Bild-Anzeige!\r\n\r\nKonnte die Datei \"/nirgends/weg.jpg\" nicht finden!\r\n\r\n"
                     "Bitte, stellen Sie die Datei wieder her oder \r\n"
                     "löschen Sie die Verknüpfung auf der Bild-Registerseite."));
    EXPECT_EQ(page.slots.PicFileSizes[2], -1);
    const struct {
        int tab;
        int clicked;
        int shown;
        bool refused;
    } clicks[] = {{0, 1, 0, true}, {0, 0, 0, false}, {2, 0, 1, true}, {2, 1, 1, false}};
    for (const auto& c : clicks) {
        page.ui.messages.clear();
        page.slots.SelectTab(c.tab);
        page.slots.StorageClicked(c.clicked);
        EXPECT_EQ(page.slots.StorageIndex, c.shown) << c.tab << c.clicked;
        EXPECT_EQ(page.lastMessage(),
                  c.refused ? Cp1252("Diese Einstellung kann nur beim Hinzufügen eines Bildes festgelegt werden!")
                            : std::string())
            << c.tab << c.clicked;
    }
    // The bytes shown: the stored ones, the linked file's, none.
    const auto& slot = page.slots.Slots;
    EXPECT_EQ(std::tuple(PictureBytes(slot[0]), PictureBytes(slot[1])->size(), PictureBytes(slot[2]), PictureBytes(slot[4])),
              std::tuple(slot[0].Data, 3000u, std::nullopt, std::nullopt));
    // A link stores its file's size, 0 when the file is missing.
    TBuch stored;
    page.slots.PicsChanged = true;
    page.slots.WriteTo(stored, false);
    ASSERT_EQ(stored.Pics.size(), 4u);
    EXPECT_EQ(std::tuple(stored.Pics[1].Size, stored.Pics[2].Size, stored.Pics[3].Size), std::tuple(3000, 0, 0));
}

TEST(PictureSlots, SaveCopy)
{
    Page page;
    TPicRec jpeg = Embedded(4, PicJpeg);
    jpeg.BildTitel.Text = "Titelbild";
    ASSERT_TRUE(page.slots.Show(TitleWith({jpeg, Linked("/bilder/scans/titel 1.jpg")})));

    // The bitmap filter picked for a ".JPEG" picture: the bytes keep their type and extension.
    const std::string chosen = page.dir.filePath(QStringLiteral("kopie.bmp")).toStdString();
    page.ui.filePaths.push_back(chosen);
    page.ui.chosenFilters.push_back(PictureSaveFilterIndex(PicBmp));
    page.slots.SaveCopy();
    ASSERT_EQ(page.ui.dialogs.size(), 1u);
    EXPECT_EQ(page.ui.dialogs[0].filterIndex, PictureSaveFilterIndex(PicJpeg));
    EXPECT_EQ(page.ui.dialogs[0].initialPath, "Titelbild.JPEG");
    EXPECT_TRUE(page.ui.dialogs[0].overwritePrompt);
    QFile written(page.dir.filePath(QStringLiteral("kopie.JPEG")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), PictureData(4));
    EXPECT_EQ(page.lastMessage(), Cp1252("Der Graphik-Typ kann leider nicht geändert werden!\r\n"
                                         "Die Datei wurde mit der Endung \".JPEG\" gespeichert."));

    // The same filter: no report.
    page.ui.messages.clear();
    page.ui.filePaths.push_back(page.dir.filePath(QStringLiteral("zwei")).toStdString());
    page.slots.SaveCopy();
    EXPECT_TRUE(page.ui.messages.empty());
    EXPECT_TRUE(QFile::exists(page.dir.filePath(QStringLiteral("zwei.JPEG"))));

    // A link only tells where its file is.
    page.slots.SelectTab(1);
    page.slots.SaveCopy();
    EXPECT_EQ(page.ui.dialogs.size(), 2u);
    EXPECT_EQ(page.lastMessage(), "Das Bild ist bereits im Pfad\r\n\"/bilder/scans/\"\r\nals \"titel 1.jpg\" "
                                  "gespeichert.\r\n\r\nBitte, kopieren Sie das Bild dort.");
}

// Embedded pictures leave the editor and the data file byte for byte, whatever was edited.
TEST(PictureSlots, EmbeddedBytesSurviveEditSaveLoad)
{
    const std::vector<uint8_t> big = PictureData(5, MaxEmbeddedPictureBytes);
    const struct {
        const char* edit;
        std::function<void(Page&)> apply;
        std::vector<int> expectedSeeds; // which pictures remain, in order
    } cases[] = {
        {"nothing", [](Page&) {}, {1, 2, 3}},
        {"title only", [](Page& p) { p.slots.TitleEdited(0, "neu"); }, {1, 2, 3}},
        {"delete another",
         [](Page& p) {
             p.slots.SelectTab(1);
             p.slots.DeleteCurrent();
         },
         {1, 3}},
        {"add one",
         [&](Page& p) { ASSERT_TRUE(p.slots.AddFile(p.file("gross.wmf", big), false)); },
         {1, 2, 3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        Page page;
        TBuch b = TitleWith({Embedded(1), Embedded(2, PicBmp), Linked("/nirgends/l.jpg"), Embedded(3, PicEmf)});
        ASSERT_TRUE(page.slots.Show(b));
        c.apply(page);
        page.slots.WriteTo(b, false);
        const TBuch loaded = RoundTrip(b);
        std::vector<int> seeds;
        for (const TPicRec& pic : loaded.Pics) {
            if (IsLinkedKind(pic.Kind)) {
                EXPECT_EQ(pic.BildTitel.Text, "/nirgends/l.jpg");
                EXPECT_TRUE(pic.Data.empty());
                continue;
            }
            EXPECT_EQ(pic.Size, static_cast<int32_t>(pic.Data.size()));
            for (int seed : {1, 2, 3})
                if (pic.Data == PictureData(seed))
                    seeds.push_back(seed);
            if (pic.Data == big)
                seeds.push_back(5);
        }
        EXPECT_EQ(seeds, c.expectedSeeds);
    }
}
