#include "editor/TitleEditorModel.h"
#include "editor/PictureSlots.h"

#include "support/Fakes.h"

using namespace folianto;
using folianto::test::TestApp;

namespace {

TPicRec Picture(uint8_t fill, const std::string& title)
{
    TPicRec pic;
    pic.Kind = PicJpg + PicEmbedded;
    pic.Data.assign(500, fill);
    pic.Size = 500;
    pic.BildTitel.Text = title;
    return pic;
}

struct Editor {
    TestApp t;
    TitleEditorModel m{t.app};
    App& app = t.app;

    Editor()
    {
        EXPECT_TRUE(app.store.NewBuch());
        TBuch& b = *app.store.at(1);
        b.Kuerzel.Text = "A1";
        b.Titel.Text = "Titel";
        b.Autor.Text = "Autor";
        b.TypNum = 0;
        b.Pics = {Picture(1, "vorn"), Picture(2, "hinten")};
        b.AnzPics = 2;
    }
    bool Open(EditModes mode = EditModeEdit)
    {
        app.store.ActBuch = 1;
        app.store.MarkSaved();
        m.InitForm(mode, -1);
        return mode == EditModeNew || m.LoadFromStore();
    }
};

} // namespace

// The editor's pictures travel with LoadFromStore and WriteToStore; the flags
// mark the title unsaved. A copy takes the pictures it shows; a new title
// takes the one added.
TEST(PictureEditorHooks, LoadWriteCopyAndNewTitle)
{
    Editor e;
    ASSERT_TRUE(e.Open());
    EXPECT_EQ(e.m.Pictures.Slots[1].Title, "hinten");
    e.m.WriteToStore();
    EXPECT_TRUE(e.app.store.Gesichert()); // nothing changed
    EXPECT_EQ(e.app.store.at(1)->Pics[1].Data, std::vector<uint8_t>(500, 2));

    ASSERT_TRUE(e.Open());
    e.m.Pictures.TitleEdited(1, "Rückseite");
    e.m.WriteToStore();
    EXPECT_FALSE(e.app.store.Gesichert());
    EXPECT_EQ(e.app.store.at(1)->Pics[1].BildTitel.Text, "Rückseite");

    ASSERT_TRUE(e.Open());
    e.m.Values.Kopieren = true;
    e.m.Values.Kuerzel = "A2";
    e.m.Pictures.TitleEdited(0, "Kopie vorn");
    e.m.WriteToStore();
    ASSERT_EQ(e.app.store.AnzBuch, 2);
    const TBuch& copy = *e.app.store.at(2);
    ASSERT_EQ(copy.AnzPics, 2);
    EXPECT_EQ(std::tuple(copy.Pics[0].BildTitel.Text, copy.Pics[1].Data, e.app.store.at(1)->Pics[0].BildTitel.Text),
              std::tuple("Kopie vorn", std::vector<uint8_t>(500, 2), "vorn"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scan.bmp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(300, 'b'));
    f.close();
    ASSERT_TRUE(e.Open(EditModeNew));
    // InitForm forgets the previous title's pictures.
    EXPECT_EQ(e.m.Pictures.FirstFreeSlot(), 0);
    EXPECT_FALSE(e.m.Pictures.PicsChanged);
    ASSERT_TRUE(e.m.Pictures.AddFile(path.toStdString(), false));
    e.m.Values.Kuerzel = "A3";
    e.m.WriteToStore();
    ASSERT_EQ(e.app.store.AnzBuch, 3);
    ASSERT_EQ(e.app.store.at(3)->AnzPics, 1);
    EXPECT_EQ(e.app.store.at(3)->Pics[0].Kind, PicBmp + PicEmbedded);
    EXPECT_EQ(e.app.store.at(3)->Pics[0].BildTitel.Text, "scan");

    // A picture of a format the page cannot show keeps the editor closed, silently.
    e.app.store.at(1)->Pics[1].Kind = 64 + PicEmbedded;
    EXPECT_FALSE(e.Open());
    EXPECT_TRUE(e.t.ui.messages.empty());
}
