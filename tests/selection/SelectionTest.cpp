#include "selection/SelectionTestUtil.h"
#include "core/ErrorText.h"
#include "selection/SearchLists.h"

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::ShownTitles;
using folianto::test::TestApp;

namespace {
using Titles = std::vector<std::string>;

SearchList MakeList(std::initializer_list<std::pair<const char*, bool>> entries)
{
    SearchList list;
    for (const auto& [text, active] : entries)
        list.AddEntry(Cp1252(text), active);
    return list;
}

struct MatchCase {
    const char* value;
    const char* entry;
    bool match;
};

TEST(MatchInSearchList, ElementBoundaries)
{
    const MatchCase cases[] = {
        {"Geschichte;Politik", "Politik", true},
        {"Politik", "Politik", true},
        {"Politikwissenschaft", "Politik", false},
        {"Geo-Politik;X", "Politik", false},
        {"Politik ;X", "Politik", true},           // blanks are removed
        {"Karl Marx; Engels", "Karl Marx", true},
        {"karlmarx;engels", "Karl Marx", true},   // a..z upper-cased
        {"Politikwissenschaft;Politik", "Politik", false}, // only the first occurrence counts
        {"A;B;C", "B;C", true},                   // an entry may span elements
        {"", "Politik", false},
        {"   ", "Politik", false},
        {"Ärger", "ärger", false},                // umlauts keep their case
    };
    for (const MatchCase& c : cases) {
        const SearchList list = MakeList({{"Anderes", true}, {c.entry, true}});
        EXPECT_EQ(MatchInSearchList(Cp1252(c.value), list), c.match) << c.value << " / " << c.entry;
    }
    EXPECT_FALSE(MatchInSearchList("Politik", MakeList({{"Politik", false}})));
}

TEST(MatchInSearchList, GroupsNeedOneActiveEntryEach)
{
    SearchList list = MakeList({{"Politik", true}, {"Geschichte", true}, {"Europa", true}, {"Asien", true}});
    list.entries[0].Group = list.entries[1].Group = 1;
    list.entries[2].Group = 2;
    struct {
        const char* value;
        bool match;
    } cases[] = {
        {"Europa;Politik", true},
        {"Geschichte;Europa", true},
        {"Europa", false},
        {"Politik;Geschichte", false},
        {"Asien", false}, // group 0 alone is not enough once groups exist
        {"Asien;Europa;Politik", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchInSearchList(c.value, list), c.match) << c.value;
    list.entries[2].Active = false; // group 2 has no active entry left
    EXPECT_FALSE(MatchInSearchList("Europa;Politik", list));
}

class SelectionCatalogue : public ::testing::Test {
protected:
    SelectionCatalogue()
    {
        struct Row {
            const char *titel, *kategorie, *sprache, *autor, *schlagworte;
            int32_t typ;
        };
        const Row rows[] = {
            {"Barbara", "Roman", "englisch", "Mayer, Hans", "Geschichte;Politik", 0},
            {"Kinderbar", "Sachbuch", "deutsch", "Müller, Eva", "Politikwissenschaft", 4 | LinkFlag},
            {"Chronik", "", "französisch", "Mayer, Hans;Müller, Eva", "Europa;Politik", 8},
            {"Dramen", "Lyrik", "englisch", "Schulz", "", 2},
        };
        for (const Row& r : rows) {
            TBuch& b = AddTitle(t.app, r.titel);
            b.Kategorie.Text = Cp1252(r.kategorie);
            b.Sprache.Text = Cp1252(r.sprache);
            b.Autor.Text = Cp1252(r.autor);
            b.Schlagworte.Text = Cp1252(r.schlagworte);
            b.TypNum = r.typ;
        }
        Fill_AllLists(t.app); // categories Roman, Sachbuch, Lyrik; authors Mayer, Müller, Schulz
    }
    static void OnlyActive(SearchList& list, std::initializer_list<const char*> texts)
    {
        for (SearchEntry& e : list.entries) {
            e.Active = false;
            for (const char* text : texts)
                e.Active = e.Active || e.Text == Cp1252(text);
        }
    }
    Titles Shown()
    {
        SetAusgabeData(t.app);
        return ShownTitles(t.app);
    }
    TestApp t;
};

TEST_F(SelectionCatalogue, TextSearchIsSubstringAndCaseInsensitiveForAscii)
{
    AddTitle(t.app, "Dvořák und Čapek");
    EXPECT_EQ(Shown(), (Titles{"Barbara", "Chronik", "Dramen", "Dvořák und Čapek", "Kinderbar"})); // no criteria
    // Each row searches the titles, and the authors as well where asked.
    const struct {
        const char* text;
        bool autor;
        Titles shown;
    } cases[] = {
        {"bar", false, {"Barbara", "Kinderbar"}},
        {"BAR ", false, {}}, // not trimmed
        {"müller", true, {"Chronik", "Kinderbar"}},
        {"MÜLLER", true, {}}, // umlauts are not case-folded
        // Characters kept as references are found as characters, not as digits.
        {"dvořák", true, {"Dvořák und Čapek"}},
        {"345", true, {}}, {"#", true, {}}, {"Dvo&", true, {}},
    };
    auto& sel = t.app.selection;
    for (const auto& c : cases) {
        sel.SuchenIn[0] = sel.SuchenIn[6] = true;
        sel.SuchenIn[1] = c.autor;
        sel.SuchText = Cp1252(c.text);
        EXPECT_EQ(Shown(), c.shown) << c.text;
    }
}

TEST_F(SelectionCatalogue, FiltersAreCombinedWithOr)
{
    auto& sel = t.app.selection;
    OnlyActive(t.app.lists.KategorieSearchList, {"Roman"});
    OnlyActive(t.app.lists.SpracheSearchList, {"deutsch"});
    sel.FilternVon = {true, true, true};
    EXPECT_EQ(Shown(), (Titles{"Barbara", "Chronik", "Kinderbar"})); // Chronik has no category
    t.app.lists.KategorieSearchList.NoValueActive = false;
    EXPECT_EQ(Shown(), (Titles{"Barbara", "Kinderbar"}));
    // Every entry ticked: the category filter hides only titles without a
    // category, and only while their entry "(ohne Angabe)" is not ticked.
    OnlyActive(t.app.lists.KategorieSearchList, {"Roman", "Sachbuch", "Lyrik"});
    sel.FilternVon = {true, true};
    EXPECT_EQ(Shown(), (Titles{"Barbara", "Dramen", "Kinderbar"}));
    EXPECT_FALSE(t.app.store.at(3)->Showing);
    t.app.lists.KategorieSearchList.NoValueActive = true;
    t.app.store.at(4)->Kategorie.Text = " ; \xDF"; // nothing an entry could name
    OnlyActive(t.app.lists.KategorieSearchList, {"Roman"});
    EXPECT_EQ(Shown(), (Titles{"Barbara", "Chronik", "Dramen"}));
}

TEST_F(SelectionCatalogue, GroupsAreCombinedWithAnd)
{
    auto& sel = t.app.selection;
    OnlyActive(t.app.lists.SchlagworteSearchList, {"Politik"});
    EXPECT_EQ(Shown(), (Titles{"Barbara", "Chronik"}));
    OnlyActive(t.app.lists.AutorSearchList, {"Müller, Eva"});
    EXPECT_EQ(Shown(), Titles{"Chronik"});
    sel.SuchenIn[0] = sel.SuchenIn[6] = true;
    sel.SuchText = "bar";
    EXPECT_EQ(Shown(), Titles{});
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, GetErrorText(11));
    EXPECT_EQ(t.app.grid.RowCount(), 2);
}

TEST_F(SelectionCatalogue, AuthorSelectionAloneGivesNoMessage)
{
    OnlyActive(t.app.lists.AutorSearchList, {});
    EXPECT_EQ(Shown(), Titles{});
    EXPECT_TRUE(t.ui.messages.empty());
    // The empty row makes no title current.
    t.app.grid.Row = 1;
    GetCurrentBuch(t.app);
    EXPECT_EQ(t.app.store.ActBuch, -1);
}

TEST_F(SelectionCatalogue, CurrentTitleIsReselected)
{
    t.app.store.ActBuch = 3; // Chronik: row 2 by title
    SetAusgabeData(t.app);
    EXPECT_EQ(t.app.grid.Row, 2);
    t.app.settings.BuchSort = SortEingabe; // newest first
    t.app.store.ActBuch = 1;
    SetAusgabeData(t.app);
    EXPECT_EQ(t.app.grid.Row, 4);
    // Not shown any more: the cursor goes to row 2, or 1 with one row.
    auto& sel = t.app.selection;
    sel.SuchenIn[0] = sel.SuchenIn[6] = true;
    sel.SuchText = "bar";
    t.app.store.ActBuch = 4;
    SetAusgabeData(t.app);
    EXPECT_EQ(t.app.grid.Row, 2);
    sel.SuchText = "Chronik";
    SetAusgabeData(t.app);
    EXPECT_EQ(t.app.grid.Row, 1);
    for (int row : {0, t.app.grid.RowCount()}) // the header, and past the last row
        SelectGridRow(t.app, row);
    EXPECT_EQ(t.app.grid.Row, 1);
}

// Choosing works on the store alone: the grid and the messages stay untouched.
TEST_F(SelectionCatalogue, ChoosingGivesSlotsInGridOrder)
{
    auto& sel = t.app.selection;
    ChosenTitles chosen = ChooseTitles(t.app.store, t.app.settings, t.app.lists, sel);
    EXPECT_EQ(chosen.Slots, (std::vector<int32_t>{1, 3, 4, 2})); // by title
    EXPECT_FALSE(chosen.Criteria);
    t.app.settings.BuchSort = SortEingabe;
    sel.SuchenIn[0] = sel.SuchenIn[6] = true;
    sel.SuchText = "bar";
    chosen = ChooseTitles(t.app.store, t.app.settings, t.app.lists, sel);
    EXPECT_EQ(chosen.Slots, (std::vector<int32_t>{2, 1})); // newest first
    EXPECT_TRUE(chosen.Criteria);
    EXPECT_FALSE(t.app.store.at(3)->Showing);
    EXPECT_EQ(t.app.grid.RowCount(), 2);
    EXPECT_TRUE(t.ui.messages.empty());
}

} // namespace
