#include "selection/SelectionTestUtil.h"
#include "selection/DuplicateFinder.h"
#include "selection/FilterDialogModel.h"
#include "shell/MainCommands.h"
#include "application/StatusBar.h"

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::ShownTitles;
using folianto::test::TestApp;

namespace {
using Titles = std::vector<std::string>;

TEST(DuplicateFinder, TextsAreFoldedToPlainWords)
{
    const struct {
        const char* in;
        const char* folded;
    } cases[] = {
        {"Der  Zauberberg.", "der zauberberg"},
        {"Müller-Lüdenscheidt, Ärger & Öl", "mueller luedenscheidt aerger oel"},
        {"Straße", "strasse"},
        {"Élégie à Ñandú; Œuvre – Señor", "elegie a nandu oeuvre senor"},
        {"L'Étranger", "l etranger"},
        {"„Anführung“ ... (Teil 2)", "anfuehrung teil 2"},
        {"Šumava Ÿ ÿ Þing Æsir", "sumava y y thing aesir"},
        {" \t\r\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FoldText(Cp1252(c.in)), c.folded) << c.in;
}

TEST(DuplicateFinder, TitleWordsAndSurnamesIgnoreArticlesAndNameForms)
{
    const struct {
        const char* titel;
        const char* words;
    } titles[] = {
        {"Der Zauberberg", "zauberberg"}, {"zauberberg!", "zauberberg"},    {"The Magic Mountain", "magic mountain"},
        {"A", "a"},                      {"Die Die", "die"},                {"Das", "das"},
        {"Ein Sommer", "sommer"},        {"Dasein und Zeit", "dasein und zeit"},
    };
    for (const auto& c : titles)
        EXPECT_EQ(TitleWords(Cp1252(c.titel)), c.words) << c.titel;

    const struct {
        const char* autor;
        const char* surname;
    } persons[] = {
        {"Mann, Thomas", "mann"}, {"Thomas Mann", "mann"}, {"Mann, Th.; Mann, Heinrich", "mann"},
        {"Thomas Mann u. a.", "mann"}, {"Kafka F.", "kafka"}, {"Mann et al.", "mann"},
        {"Goethe (Hrsg.)", "goethe"}, {"von Goethe, Johann Wolfgang", "goethe"}, {"Müller", "mueller"},
        {"; Mann", ""}, {"", ""},
    };
    for (const auto& c : persons)
        EXPECT_EQ(FirstSurname(Cp1252(c.autor)), c.surname) << c.autor;
}

TEST(DuplicateFinder, YearIsTheFirstFourDigitRunElseJahrNum)
{
    const struct {
        const char* jahr;
        int32_t jahrNum;
        const char* year;
    } cases[] = {
        {"1924", -1, "1924"}, {"1999/00", -1, "1999"}, {"ca. 1850", 1990, "1850"}, {"o. J.", -1, ""},
        {"o. J.", 1931, "1931"}, {"12345", -1, ""},     {"", 0, ""},               {"3. Aufl. 2001", -1, "2001"},
    };
    for (const auto& c : cases) {
        TBuch b;
        b.Jahr.Text = c.jahr;
        b.JahrNum = c.jahrNum;
        EXPECT_EQ(YearKey(b), c.year) << c.jahr << " / " << c.jahrNum;
    }
}

TEST(DuplicateFinder, IsbnFormsOfOneNumberGiveOneKey)
{
    const struct {
        const char* isbn;
        std::vector<std::string> keys;
    } cases[] = {
        {"3-12-345678-9", {"978312345678"}}, {"978-3-12-345678-0", {"978312345678"}}, {"9783123456780", {"978312345678"}},
        {"ISBN 3 12 345678 9", {"978312345678"}}, {"3-12-345678-x (kart.)", {"978312345678"}},
        {"3-12-345678-9; 978-3-12-345678-7", {"978312345678"}}, // one title, both forms: one key
        {"3-12-345678-9 / 0-19-852663-6", {"978019852663", "978312345678"}},
        {"3-12-345678-9 0-19-852663-6", {"978019852663", "978312345678"}},
        {"979-10-90636-07-1", {"979109063607"}},
        {"", {}}, {"---", {}},
        {"12345678", {}},          // an ISSN-like number
        {"X-12-345678-9", {}},     // X only as the last character
        {"123-4-56-789012-3", {}}, // 13 digits without 978/979
        {"3-12-345678-9-1", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsbnKeys(c.isbn), c.keys) << c.isbn;
}

struct Fields {
    const char* autor;
    const char* titel;
    const char* jahr;
    const char* isbn = "";
    const char* herausgeber = "";
};

void Fill(TBuch& b, const Fields& f)
{
    b.Autor.Text = Cp1252(f.autor);
    b.Titel.Text = Cp1252(f.titel);
    b.Jahr.Text = Cp1252(f.jahr);
    b.ISBN.Text = Cp1252(f.isbn);
    b.Herausgeber.Text = Cp1252(f.herausgeber);
}

TEST(DuplicateFinder, MatchesTrueDuplicatesAndNotNearMisses)
{
    const struct {
        const char* what;
        Fields a, b;
        uint8_t reasons;
    } cases[] = {
        {"same record", {"Mann, Thomas", "Der Zauberberg", "1924"}, {"Mann, Thomas", "Der Zauberberg", "1924"},
         SameAuthorTitleYear},
        {"name form, case, article, punctuation", {"Mann, Thomas", "Der Zauberberg", "1924"},
         {"THOMAS MANN", "zauberberg.", "1924"}, SameAuthorTitleYear},
        {"umlauts typed as two letters", {"Müller, Karl", "Über Größe", "1990"}, {"Mueller, K.", "Ueber Groesse", "1990"},
         SameAuthorTitleYear},
        {"editor stands in for the author", {"", "Handbuch der Physik", "2001", "", "Weber, Max"},
         {"Weber, Max", "Handbuch der Physik", "2001"}, SameAuthorTitleYear},
        {"ISBN-10 and ISBN-13", {"Mann", "Zauberberg", "1924", "3-10-048162-5"},
         {"Anonym", "Magic Mountain", "1995", "978-3-10-048162-3"}, SameIsbn},
        {"both reasons", {"Mann", "Zauberberg", "1924", "3100481625"}, {"Mann", "Zauberberg", "1924", "3100481625"},
         SameIsbn | SameAuthorTitleYear},
        {"different year", {"Mann, Thomas", "Der Zauberberg", "1924"}, {"Mann, Thomas", "Der Zauberberg", "1925"}, 0},
        {"different author", {"Mann, Thomas", "Der Zauberberg", "1924"}, {"Hesse, Hermann", "Der Zauberberg", "1924"}, 0},
        {"different surname, same given name", {"Mann, Thomas", "Der Zauberberg", "1924"},
         {"Manner, Thomas", "Der Zauberberg", "1924"}, 0},
        {"title with one more word", {"Mann", "Der Zauberberg", "1924"}, {"Mann", "Der Zauberberg Roman", "1924"}, 0},
        {"no year on either", {"Mann", "Zauberberg", "o. J."}, {"Mann", "Zauberberg", ""}, 0},
        {"no author on either", {"", "Zauberberg", "1924"}, {"", "Zauberberg", "1924"}, 0},
        {"no title on either", {"Mann", "", "1924"}, {"Mann", "  ", "1924"}, 0},
        {"empty ISBNs", {"A", "x", "1", ""}, {"B", "y", "2", ""}, 0},
        {"ISBNs differing in one digit", {"A", "x", "1", "3-10-048162-5"}, {"B", "y", "2", "3-10-048163-5"}, 0},
    };
    for (const auto& c : cases) {
        TestApp t;
        Fill(AddTitle(t.app, ""), c.a);
        Fill(AddTitle(t.app, ""), c.b);
        std::vector<std::tuple<int32_t, int32_t, uint8_t>> pairs, expected; // first, second, reasons
        for (const DuplicatePair& p : FindDuplicates(t.app.store))
            pairs.emplace_back(p.First, p.Second, p.Reasons);
        if (c.reasons)
            expected.emplace_back(1, 2, c.reasons);
        EXPECT_EQ(pairs, expected) << c.what;
    }
}

TEST(DuplicateFinder, GroupsPairWithTheirFirstTitleInStoreOrder)
{
    TestApp t;
    Fill(AddTitle(t.app, ""), {"Kafka", "Der Process", "1925"});      // 1
    Fill(AddTitle(t.app, ""), {"Mann", "Zauberberg", "1924", "3100481625"}); // 2
    Fill(AddTitle(t.app, ""), {"Kafka, Franz", "Process", "1925"});   // 3
    Fill(AddTitle(t.app, ""), {"Anders", "Anderes", "2000", "978-3-10-048162-9"}); // 4
    Fill(AddTitle(t.app, ""), {"Kafka F.", "Der Process!", "1925"});  // 5
    const std::vector<DuplicatePair> pairs = FindDuplicates(t.app.store);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ((std::vector<int32_t>{pairs[0].First, pairs[0].Second, pairs[1].First, pairs[1].Second, pairs[2].First,
                                    pairs[2].Second}),
              (std::vector<int32_t>{1, 3, 1, 5, 2, 4}));
    EXPECT_EQ(pairs[2].Reasons, SameIsbn);
}

TEST(DuplicateFinder, PairTextNamesBothTitlesAndTheReason)
{
    TestApp t;
    TBuch& a = AddTitle(t.app, "");
    Fill(a, {"Mann", "Der Zauberberg. Roman in zwei Bänden", "1924", "3100481625"}); // 36 characters: whole
    a.Kuerzel.Text = "MAN001";
    TBuch& b = AddTitle(t.app, "");
    Fill(b, {"Mann", "Zauberberg. Ein Roman in zwei Bänden mit einem sehr langen Untertitel", "", "3100481625"});
    EXPECT_EQ(DuplicatePairText(t.app.store, {1, 2, SameIsbn}),
              Cp1252("gleiche ISBN: MAN001 „Der Zauberberg. Roman in zwei Bänden“ (1924) und Nr. 2 „Zauberberg. Ein Roman in zwei Bände…“"));
    EXPECT_EQ(DuplicateReasonText(SameIsbn | SameAuthorTitleYear), "gleiche ISBN, gleicher Autor, Titel und Jahr");
}

TEST(DuplicateFinder, NoPairsIsReported)
{
    TestApp t;
    Fill(AddTitle(t.app, ""), {"Mann", "Zauberberg", "1924"});
    EXPECT_TRUE(SearchDuplicates(t.app).empty());
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(t.ui.messages[0].text, "Es wurden keine doppelten Titel gefunden.");
}

// Six titles, two pairs; sorted by title the pair members are far apart.
class DuplicateSelection : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* titel : {"Alpha", "Zeta", "Mitte", "alpha.", "Omega", "Zeta"})
            Fill(AddTitle(t.app, titel), {"Autor", titel, "2000"});
        t.app.settings.BuchSort = SortTitel;
        SetAusgabeData(t.app);
        pairs = FindDuplicates(t.app.store);
        ASSERT_EQ(pairs.size(), 2u); // 1 + 4, 2 + 6
    }
    TestApp t;
    std::vector<DuplicatePair> pairs;
};

TEST_F(DuplicateSelection, ShowsJustThePairsEachInConsecutiveRows)
{
    t.app.selection.SuchenIn = {true, false, false, false, false, false, true};
    t.app.selection.SuchText = "Mitte";
    ShowDuplicates(t.app, pairs);
    EXPECT_EQ(ShownTitles(t.app), (Titles{"Alpha", "alpha.", "Zeta", "Zeta"}));
    EXPECT_EQ(std::tuple(t.app.grid.Row, t.app.store.ActBuch), std::tuple(1, 1));
    EXPECT_NE(ShowHint(t.app).Text[1].find("4 Titel gezeigt von 6 Titeln (doppelte Titel)"), std::string::npos);
    EXPECT_TRUE(t.app.selection.SuchenIn[0]); // kept for later, not applied
    EXPECT_TRUE(t.ui.messages.empty());

    // The reset button brings back the usual selection.
    ResetFilterAndSearch(t.app);
    EXPECT_EQ(ShownTitles(t.app).size(), 6u);
    EXPECT_EQ(ShowHint(t.app).Text[1].find("doppelte"), std::string::npos);
}

TEST_F(DuplicateSelection, GroupsFollowTheSortOrderAndSharedTitlesJoinGroups)
{
    // Pairs 1+4 and 4+3 share title 4: one group of three.
    ShowDuplicates(t.app, {pairs[1], {1, 4, SameAuthorTitleYear}, {3, 4, SameIsbn}});
    EXPECT_EQ(ShownTitles(t.app), (Titles{"Alpha", "alpha.", "Mitte", "Zeta", "Zeta"}));
    SetBuchSort(t.app, SortEingabe); // newest first: 6 leads its group, then 4 leads its group
    EXPECT_EQ(ShownTitles(t.app), (Titles{"Zeta", "Zeta", "alpha.", "Mitte", "Alpha"}));
}

TEST_F(DuplicateSelection, EditsDeletesAndNewTitlesKeepTheSelectionSound)
{
    ShowDuplicates(t.app, {pairs[0]});
    EXPECT_EQ(ShownTitles(t.app), (Titles{"Alpha", "alpha."}));

    // A title entered while the duplicates are shown appears with them.
    AddTitle(t.app, "Neu");
    SetAusgabeData(t.app);
    EXPECT_EQ(ShownTitles(t.app), (Titles{"Alpha", "alpha.", "Neu"}));

    // A picked title left in the last slot keeps the selection; once every
    // picked title is deleted, the usual selection returns.
    for (int32_t index : {7, 6, 5, 1}) {
        t.app.store.ActBuch = index;
        t.app.store.DeleteActBuch();
    }
    SetAusgabeData(t.app);
    EXPECT_EQ(ShownTitles(t.app), (Titles{"alpha."}));
    t.app.store.ActBuch = 3; // "alpha."
    t.app.store.DeleteActBuch();
    SetAusgabeData(t.app);
    EXPECT_TRUE(t.app.selection.DuplicateGroup.empty());
    EXPECT_EQ(ShownTitles(t.app), (Titles{"Mitte", "Zeta"}));
}

TEST_F(DuplicateSelection, ConfirmedFilterDialogOrNewFileEndsIt)
{
    for (bool confirmed : {false, true}) {
        ShowDuplicates(t.app, pairs);
        AfterFilterDialog(t.app, FilterDialogMode::Normal, confirmed);
        EXPECT_EQ(ShownTitles(t.app).size(), confirmed ? 6u : 4u) << confirmed;
    }
    ShowDuplicates(t.app, pairs);
    ResetSelection(t.app); // as loading another file does
    EXPECT_TRUE(t.app.selection.DuplicateGroup.empty());
}

} // namespace
