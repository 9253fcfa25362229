#include "selection/QuickSearch.h"
#include "selection/Replace.h"
#include "selection/SelectionTestUtil.h"

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::ShownTitles;
using folianto::test::TestApp;

namespace {
class QuickSearch : public ::testing::Test {
protected:
    QuickSearch()
    {
        for (auto [titel, autor] : {std::pair{"Anna", "Zweig"}, std::pair{"mueller", "Mann"},
                                    std::pair{"Müller", "Mayer"}, std::pair{"Muesli 2", "Adam"}})
            AddTitle(t.app, titel).Autor.Text = Cp1252(autor);
        SetAusgabeData(t.app); // Anna, mueller, Muesli 2, Müller
    }
    TestApp t;
};

TEST(TypeAhead, CapitalsUmlautsAndSharpS)
{
    TestApp t;
    for (const char* titel : {"Anna", "Handbuch", "handlich", "Über Leben", "Ökonomie", "Straße", "Strasse", "Zeit 2"})
        AddTitle(t.app, titel);
    SetAusgabeData(t.app); // Anna, Handbuch, handlich, Strasse, Straße, Zeit 2, Ökonomie, Über Leben
    const struct {
        const char* typed; // UTF-8
        const char* text;  // the type-ahead text, UTF-8
        int row;           // where the cursor stands afterwards
    } cases[] = {
        {"Handb", "HANDB", 2},
        {"handl", "HANDL", 3},
        {"über", "ÜBER", 8},
        {"Ö", "Ö", 7},
        {"ök", "ÖK", 7},
        {"Straß", "STRAß", 5},
        {"strass", "STRASS", 4},
        {"Zeit 2", "ZEIT 2", 6},
        {"Zeit!", "ZEIT!", 6},   // no title goes on like this: the cursor stays
        {"mues", "MUES", 1},     // nothing found at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ResetTypeAhead(t.app);
        t.app.grid.Row = 1;
        GetCurrentBuch(t.app);
        for (char key : Cp1252(c.typed))
            EXPECT_TRUE(TypeAheadKey(t.app, key));
        EXPECT_EQ(Cp1252ToUtf8(t.app.selection.TypeAheadText), c.text);
        EXPECT_EQ(t.app.grid.Row, c.row);
        EXPECT_EQ(t.app.store.ActBuch, t.app.store.FindBuchByNr(t.app.selection.AusgabeBuchNr[static_cast<std::size_t>(c.row)]));
    }

    // Ctrl or Alt alone make a command, both together type (AltGr); control characters never count.
    ResetTypeAhead(t.app);
    EXPECT_TRUE(TypeAheadKey(t.app, 'A', KeyMods{true, false, false}));
    EXPECT_FALSE(TypeAheadKey(t.app, 'A', KeyMods{false, true, false}));
    EXPECT_FALSE(TypeAheadKey(t.app, 'A', KeyMods{false, false, true}));
    EXPECT_TRUE(TypeAheadKey(t.app, '@', KeyMods{false, true, true}));
    EXPECT_FALSE(TypeAheadKey(t.app, '\t'));
    EXPECT_FALSE(TypeAheadKey(t.app, '\x7f'));
    EXPECT_EQ(t.app.selection.TypeAheadText, "A@");
}

TEST_F(QuickSearch, HiddenColumnFallsBackToTitles)
{
    SetQuickSearchColumn(t.app, QuickAutor);
    TypeAheadKey(t.app, 'A');
    EXPECT_EQ(t.app.grid.Row, 3); // Adam
    EXPECT_TRUE(t.ui.messages.empty());

    t.app.columns.CellArray[ColAutor].ShowCol = false;
    t.app.columns.ColumnsMoved = true;
    SetAusgabeData(t.app);
    SetQuickSearchColumn(t.app, QuickAutor);
    EXPECT_TRUE(TypeAheadKey(t.app, 'A'));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, Cp1252("Die Schnellsuche in der gewünschten Spalte ist nicht möglich!\r\n"
                                            "Die Spalte wird auf die \"Titel\"-Spalte umgestellt!"));
    EXPECT_EQ(t.app.selection.QuickSearchColumn, QuickTitel);
    EXPECT_EQ(t.app.grid.Row, 1); // Anna

    // Without a title column keys do nothing.
    t.app.columns.CellArray[ColTitel].ShowCol = false;
    t.app.columns.ColumnsMoved = true;
    SetAusgabeData(t.app);
    EXPECT_FALSE(TypeAheadKey(t.app, 'A'));
}

TEST(Replace, ReplaceAllCases)
{
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        bool caseSensitive;
        const char* result;
    } cases[] = {
        {"Maerchen AE Aera", "ae", "ä", false, "Märchen ä ära"},
        {"Maerchen AE", "ae", "ä", true, "Märchen AE"},
        {"ÄRGER ärger", "ärger", "Zorn", false, "Zorn Zorn"},
        {"xaxbx", "x", "", false, "ab"},
        {"Mayer", "Mayer", "Mayer-Meyer", false, "Mayer-Meyer"}, // must end
        {"aa", "a", "aa", false, "aaaa"},
        {"abc", "", "x", false, "abc"},
        // A reference is replaced whole or not at all.
        {"Łódź 2 ł", "2", "3", false, "Łódź 3 ł"},
        {"Łódź Łódź", "Łódź", "Lodz", false, "Lodz Lodz"},
        {"Dvořák", "ř", "r", true, "Dvorák"},
        {"Łx", "1;x", "y", true, "Łx"}, // the end of "&#321;" and what follows
        // Upper case of the Windows-1252 letters at the ends of their ranges; ÷ and × are none.
        {"ÞING ŠŒŽŸ", "þing šœžÿ", "x", false, "x"},
        {"× ÷", "÷", "/", false, "× /"},
    };
    for (const auto& c : cases) {
        std::string text = Cp1252(c.text);
        const bool changed = ReplaceAll(text, Cp1252(c.search), Cp1252(c.replacement), c.caseSensitive);
        EXPECT_EQ(Cp1252ToUtf8(text), c.result) << c.text;
        EXPECT_EQ(changed, std::string(c.text) != c.result) << c.text;
    }
}

TEST(Replace, WorksOnEveryTitleInTheChosenFieldOnly)
{
    for (int k = 1; k <= SearchFieldCount; ++k) {
        SCOPED_TRACE(k);
        TestApp t;
        for (const char* text : {"Mayer", "Schulz;mayer"}) {
            TBuch& b = AddTitle(t.app, "");
            for (int f = 1; f <= SearchFieldCount; ++f)
                SearchField(b, f).Text = text;
        }
        auto& sel = t.app.selection;
        sel.FilternVon[0] = sel.FilternVon[5] = true;
        sel.TypSet = 0; // everything hidden
        sel.SuchenIn[0] = sel.SuchenIn[static_cast<std::size_t>(k)] = true;
        sel.SuchText = "Mayer";
        sel.Replace.ReplaceText = "Meyer";
        EXPECT_TRUE(ReplaceInAllTitles(t.app));
        for (int f = 1; f <= SearchFieldCount; ++f) {
            EXPECT_EQ(SearchField(*t.app.store.at(1), f).Text, f == k ? "Meyer" : "Mayer") << f;
            EXPECT_EQ(SearchField(*t.app.store.at(2), f).Text, f == k ? "Schulz;Meyer" : "Schulz;mayer") << f;
        }
        EXPECT_FALSE(sel.SuchenIn[0]);
        EXPECT_FALSE(t.app.store.Gesichert());
        EXPECT_EQ(t.ui.reports.back(), "2 Titel ge\xe4ndert");

        // Nothing to replace: no refresh, the search stays on.
        t.app.store.MarkSaved();
        sel.SuchenIn[0] = true;
        EXPECT_FALSE(ReplaceInAllTitles(t.app));
        EXPECT_TRUE(sel.SuchenIn[0]);
        EXPECT_TRUE(t.app.store.Gesichert());
        sel.SuchenIn[0] = false; // no search: nothing to replace
        EXPECT_FALSE(ReplaceInAllTitles(t.app));
    }
}
} // namespace
