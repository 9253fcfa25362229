#include "application/BuchData.h"
#include "core/Text.h"
#include "selection/SelectionTestUtil.h"
#include "application/FileHistoryCommands.h"
#include "application/StatusBar.h"

#include <fstream>

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::TestApp;

namespace {
TEST(StatusBar, PanelTexts)
{
    TestApp t;
    t.app.DataFileName = "/daten/buch.FOL";
    SetAusgabeData(t.app);
    StatusPanels p = ShowHint(t.app);
    EXPECT_EQ(std::tuple(p.Text[0], p.Text[1], p.Text[2]), std::tuple("Folianto V.1.4.0.0", "", "/daten/buch.FOL"));
    EXPECT_EQ(p.Width[2], 15 * 7 + 12); // fits the file name

    AddTitle(t.app, "A");
    SetAusgabeData(t.app);
    EXPECT_EQ(ShowHint(t.app).Text[1], " 1 Titel gezeigt von 1 Titel");
    for (int i = 0; i < 11; ++i)
        AddTitle(t.app, "B");
    auto& sel = t.app.selection;
    sel.SuchenIn[0] = sel.SuchenIn[6] = true;
    sel.SuchText = "B";
    SetAusgabeData(t.app);
    sel.TypeAheadText = "MU";
    p = ShowHint(t.app);
    // Says why one is missing.
    EXPECT_EQ(std::tuple(p.Text[1], p.Text[3]), std::tuple(" 11 Titel gezeigt von 12 Titeln (Filter aktiv)", "MU"));
    // Nothing shown: the empty row does not count.
    sel.SuchText = "C";
    SetAusgabeData(t.app);
    EXPECT_EQ(ShowHint(t.app).Text[1], " 0 Titel gezeigt von 12 Titeln (Filter aktiv)");
    // A keyword or an author selection alone says so too.
    sel.SuchenIn[0] = false;
    for (SearchList* list : {&t.app.lists.SchlagworteSearchList, &t.app.lists.AutorSearchList}) {
        list->AddEntry("x", false);
        list->NoValueActive = false;
        SetAusgabeData(t.app);
        EXPECT_EQ(ShowHint(t.app).Text[1], " 0 Titel gezeigt von 12 Titeln (Filter aktiv)");
        *list = SearchList();
    }
}

TEST(HistoryClick, CaptionsLoadThroughTheDatabaseLoaderOrSayWhyNot)
{
    QTemporaryDir dir;
    const std::string db = dir.path().toStdString() + "/k.FOL";
    {
        TestApp other;
        AddTitle(other.app, "Gespeichert");
        std::string err;
        ASSERT_TRUE(Save_Buch_Data(other.app, db, err));
    }
    TestApp t;
    t.app.history.Paths = {"/a/eins.FOL", db};
    const std::vector<std::string> captions = Adjust_FileMenu(t.app);
    EXPECT_EQ(captions, (std::vector<std::string>{"&1 /a/eins.FOL", "&2 " + db}));
    EXPECT_TRUE(DoAutoItemClick(t.app, captions[1]));
    EXPECT_EQ(t.app.grid.Cell(t.app.columns.PosOfInfo("Titel"), 1), "Gespeichert");
    EXPECT_EQ(t.app.history.Paths, (std::vector<std::string>{"/a/eins.FOL", db})); // no second entry
    EXPECT_TRUE(t.ui.messages.empty());
    t.app.history.Paths = {"/1", "/2", "/3", "/4", "/5"}; // full: the oldest entry goes
    EXPECT_TRUE(t.app.history.Add2History("/neu"));
    EXPECT_EQ(t.app.history.Paths, (std::vector<std::string>{"/neu", "/1", "/2", "/3", "/4"}));

    // Captions of no entry, a missing file and a failed load.
    const std::string path = dir.path().toStdString() + "/buch.fol";
    std::ofstream(path) << "x";
    int loads = 0;
    const BuchLoader failing = [&loads](App&, const std::string&, std::string&) { return ++loads, false; };
    EXPECT_FALSE(DoAutoItemClick(t.app, "&2 " + path, failing));
    EXPECT_FALSE(DoAutoItemClick(t.app, "&12 " + path, failing));
    const std::string missing = dir.path().toStdString() + "/weg.fol";
    EXPECT_FALSE(DoAutoItemClick(t.app, "&3 " + missing, failing));
    EXPECT_FALSE(DoAutoItemClick(t.app, "&0 " + path, failing));
    EXPECT_FALSE(DoAutoItemClick(t.app, "&x " + path, failing));
    EXPECT_FALSE(DoAutoItemClick(t.app, "& " + path, failing));
    EXPECT_EQ(loads, 2);
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[1].text, t.ui.messages[2].text),
              std::tuple(MsgKind::Error, "Konnte " + path + " nicht laden!",
                         "Datei " + UpperAscii(missing) + " existiert nicht!"));
}
} // namespace
