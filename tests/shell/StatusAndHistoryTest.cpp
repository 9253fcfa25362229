#include "core/DatabaseFile.h"
#include "core/Text.h"
#include "selection/Selection.h"
#include "selection/SelectionTestUtil.h"
#include "shell/FileHistoryCommands.h"
#include "shell/StatusBar.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    EXPECT_EQ(p.Text[0], "Folianto V.1.4.0.0");
    EXPECT_EQ(p.Text[1], "");
    EXPECT_EQ(p.Text[2], "/daten/buch.FOL");
    EXPECT_EQ(p.Width[1], 50);
    EXPECT_EQ(p.Width[2], 15 * 7 + 12);

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
    EXPECT_EQ(p.Text[1], " 11 Titel gezeigt von 12 Titeln");
    EXPECT_EQ(p.Text[3], "MU");
    // Nothing shown: the empty row does not count.
    sel.SuchText = "C";
    SetAusgabeData(t.app);
    EXPECT_EQ(ShowHint(t.app).Text[1], " 0 Titel gezeigt von 12 Titeln");
}

class HistoryClick : public ::testing::Test {
protected:
    HistoryClick()
    {
        path = dir.path().toStdString() + "/buch.fol";
        std::ofstream(path) << "x";
        load = [this](App& app, const std::string& p, std::string&) {
            loaded.push_back(p);
            if (!loadOk)
                return false;
            AddTitle(app, "Geladen");
            return true;
        };
    }
    QTemporaryDir dir;
    std::string path;
    std::vector<std::string> loaded;
    bool loadOk = true;
    BuchLoader load;
    TestApp t;
};

TEST_F(HistoryClick, CaptionsNumberThePaths)
{
    t.app.history.Paths = {"/a/eins.FOL", "/b/zwei.FOL"};
    EXPECT_EQ(Adjust_FileMenu(t.app), (std::vector<std::string>{"&1 /a/eins.FOL", "&2 /b/zwei.FOL"}));
}

TEST_F(HistoryClick, LoadsTheFileOfTheCaption)
{
    EXPECT_TRUE(DoAutoItemClick(t.app, "&1 " + path, load));
    EXPECT_EQ(loaded, std::vector<std::string>{path});
    EXPECT_EQ(t.app.grid.Cell(t.app.columns.PosOfInfo("Titel"), 1), "Geladen");
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(HistoryClick, LoadsThroughTheDatabaseLoader)
{
    const std::string db = dir.path().toStdString() + "/k.FOL";
    {
        TestApp other;
        AddTitle(other.app, "Gespeichert");
        std::string err;
        ASSERT_TRUE(Save_Buch_Data(other.app, db, err));
    }
    EXPECT_TRUE(DoAutoItemClick(t.app, "&4 " + db));
    EXPECT_EQ(t.app.grid.Cell(t.app.columns.PosOfInfo("Titel"), 1), "Gespeichert");
    EXPECT_EQ(t.app.history.Paths, std::vector<std::string>{db});
}

TEST_F(HistoryClick, Messages)
{
    loadOk = false;
    EXPECT_FALSE(DoAutoItemClick(t.app, "&2 " + path, load));
    const std::string missing = dir.path().toStdString() + "/weg.fol";
    EXPECT_FALSE(DoAutoItemClick(t.app, "&3 " + missing, load));
    EXPECT_FALSE(DoAutoItemClick(t.app, "&0 " + path, load));
    EXPECT_FALSE(DoAutoItemClick(t.app, "&x " + path, load));
    EXPECT_EQ(loaded.size(), 1u);
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(t.ui.messages[0].text, "Konnte " + path + " nicht laden!");
    EXPECT_EQ(t.ui.messages[1].text, "Datei " + UpperAscii(missing) + " existiert nicht!");
}
} // namespace
