#include "selection/SearchLists.h"
#include "selection/SelectionTestUtil.h"

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::TestApp;

namespace {

std::vector<std::string> Texts(const SearchList& list) { return SearchListTexts(list); }

const std::string kConventionError =
    Cp1252("Die Konventionen für die Erstellung von Schlagworten werden nicht eingehalten!\r\n\r\n"
           "Bitte, informieren Sie sich in der Hilfe und ändern Sie Ihre Eingaben\r\n"
           "zur Vermeidung von Problemen dahingehend um!");

} // namespace

TEST(SearchLists, SplittingSemicolonSeparatedValues)
{
    using V = std::vector<std::string>;
    struct Case { std::string value; V entries; };
    const Case cases[] = {
        {"Politik; Geschichte ;", {"Politik", "Geschichte"}},
        {"a;;b", {"a", "b"}},
        {"   ", {}},
        {" ; ;", {}},
        {"Marx, Karl;Engels", {"Marx, Karl", "Engels"}},
        // ß, tabs and line breaks count as non-printable at the ends only.
        {"\tStra\xDF\r\n;Fu\xDF" "ball;a\tb", {"Stra", "Fu\xDF" "ball", "a\tb"}},
        {"\xC4rger ;\xDF", {"\xC4rger"}},
        {"x;x; x", {"x"}},
        // The ';' of a character reference separates nothing.
        {Cp1252("Miłosz, Czesław;Dvořák; 文献"), {Cp1252("Miłosz, Czesław"), Cp1252("Dvořák"), Cp1252("文献")}},
    };
    for (const Case& c : cases) {
        SearchList list;
        AddSeparatedEntries(list, c.value);
        EXPECT_EQ(Texts(list), c.entries) << c.value;
    }
}

TEST(SearchLists, FillAllListsFromTheTitles)
{
    TestApp t;
    TBuch& a = AddTitle(t.app, "");
    a.Sprache.Text = "deutsch";
    a.Reihe.Text = "Spiegel";
    a.TypNum = 6 | LinkFlag; // audio-visual: also a journal
    a.Schlagworte.Text = "Politik; Geschichte ;";
    a.Autor.Text = "   ";
    a.Herausgeber.Text = "Meier;Huber";
    TBuch& b = AddTitle(t.app, "");
    b.Sprache.Text = "Deutsch";
    b.Reihe.Text = "Reclam";
    b.Schlagworte.Text = "Politik";
    b.Autor.Text = "Eco, Umberto";
    AddTitle(t.app, "").Sprache.Text = "deutsch ";

    t.app.lists.AllKeywordsListUpToDate = t.app.lists.FilterKeywordListUpToDate = true;
    t.app.lists.SchlagworteSearchList.AddEntry("stale");
    t.app.lists.SchlagworteSearchList.entries[0].Active = false;
    Fill_AllLists(t.app);

    const SearchLists& l = t.app.lists;
    EXPECT_EQ(Texts(l.SpracheSearchList), (std::vector<std::string>{"deutsch", "Deutsch", "deutsch "}));
    EXPECT_EQ(Texts(l.ZeitschriftSearchList), (std::vector<std::string>{"Spiegel"}));
    EXPECT_EQ(Texts(l.ReiheSearchList), (std::vector<std::string>{"Spiegel", "Reclam"}));
    EXPECT_EQ(Texts(l.SchlagworteSearchList), (std::vector<std::string>{"Politik", "Geschichte"}));
    EXPECT_EQ(Texts(l.AutorSearchList), (std::vector<std::string>{"Eco, Umberto"}));
    EXPECT_EQ(Texts(l.HerausgeberSearchList), (std::vector<std::string>{"Meier", "Huber"}));
    // Every keyword active again, both keyword lists out of date.
    EXPECT_EQ(std::tuple(l.SchlagworteSearchList.SearchListAllActive(), l.AllKeywordsListUpToDate,
                         l.FilterKeywordListUpToDate, t.ui.messages.empty()),
              std::tuple(true, false, false, true));
    EXPECT_EQ(Texts(l.VerleihstatusSearchList), (std::vector<std::string>{"vorhanden", "verliehen an ...",
                                                                          "ausgeliehen aus ...",
                                                                          Cp1252("zukünftig besorgen")}));
}

TEST(SearchLists, KeywordConventions)
{
    struct Case { const char* keyword; int32_t breaks; };
    const Case cases[] = {{"eins", 0}, {"a  b", 1}, {" a", 1}, {"a ", 0},
                          {"eins zwei drei vier f\xFCnf sechs", 5},
                          {"eins zwei drei vier f\xFCnf sechs sieben", 6}};
    for (const Case& c : cases)
        EXPECT_EQ(WordBreaks(c.keyword), c.breaks) << c.keyword;

    TestApp t;
    AddTitle(t.app, "").Schlagworte.Text = "eins zwei drei vier f\xFCnf sechs;ok";
    Fill_AllLists(t.app);
    EXPECT_TRUE(t.ui.messages.empty());
    AddTitle(t.app, "").Schlagworte.Text = "eins zwei drei vier f\xFCnf sechs sieben";
    Fill_AllLists(t.app);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].text, t.ui.messages[0].buttons),
              std::tuple(MsgKind::Error, kConventionError, Buttons::Ok));
    // The lists are complete all the same.
    EXPECT_EQ(t.app.lists.SchlagworteSearchList.entries.size(), 3u);
    t.app.settings.SchlwLenght = 6;
    EXPECT_TRUE(KeywordConventionsOK(t.app.lists.SchlagworteSearchList, t.app.settings.SchlwLenght));
}

TEST(SearchLists, KeywordListFlagAndDuplicateIndex)
{
    TestApp t;
    SearchLists& l = t.app.lists;
    l.AllKeywordsListUpToDate = true;
    l.AutorSearchList.AddEntry("x");
    EXPECT_TRUE(l.AllKeywordsListUpToDate); // only keywords concern the editor's list
    l.SchlagworteSearchList.AddEntry("x");
    EXPECT_FALSE(l.AllKeywordsListUpToDate);
    l.AllKeywordsListUpToDate = true;
    SearchList copy = l.SchlagworteSearchList; // a copy does not touch the flag
    copy.AddEntry("y");
    EXPECT_TRUE(l.AllKeywordsListUpToDate);
    l.SchlagworteSearchList = copy;
    EXPECT_FALSE(l.AllKeywordsListUpToDate);
    EXPECT_FALSE(l.SchlagworteSearchList.AddEntry("y"));

    RebuildSearchList(l.TypSearchList, {"b", "a", "b", "  "});
    EXPECT_EQ(Texts(l.TypSearchList), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(l.TypSearchList.SearchListAllActive());
    EXPECT_TRUE(l.TypSearchList.AddEntry("c")); // the duplicate index was rebuilt too
    EXPECT_FALSE(l.TypSearchList.AddEntry("a"));
    l.AllKeywordsListUpToDate = true;
    Fill_AllLists(t.app); // no keywords at all: out of date all the same
    EXPECT_FALSE(l.AllKeywordsListUpToDate);
}
