#include "selection/KeywordSets.h"
#include "support/Fakes.h"

using namespace folianto;
using folianto::test::TestApp;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The keyword entries and the dialog's check list, ticked as given.
std::vector<KeywordItem> TickedList(App& app, const std::vector<std::pair<std::string, bool>>& ticks)
{
    std::vector<KeywordItem> items;
    for (const auto& [text, ticked] : ticks) {
        app.lists.SchlagworteSearchList.AddEntry(text);
        items.push_back({text, ticked, true});
    }
    ApplyTicks(app.lists.SchlagworteSearchList, items);
    return items;
}

std::vector<int32_t> Groups(const App& app)
{
    std::vector<int32_t> g;
    for (const auto& e : app.lists.SchlagworteSearchList.entries)
        g.push_back(e.Group);
    return g;
}

// Matches as the keyword selection does: a keyword in the title's set.
bool TitleMatches(const SearchList& list, const std::vector<std::string>& keywords)
{
    return MatchGroups(list, MaxGroup(list), [&keywords](const SearchEntry& e) {
        return std::find(keywords.begin(), keywords.end(), e.Text) != keywords.end();
    });
}

} // namespace

TEST(KeywordSets, NarrowingInTwoStages)
{
    TestApp t;
    auto items = TickedList(t.app, {{"Politik", true}, {"Geschichte", true}, {"Europa", false}, {"Kunst", false}});
    BeginNarrowing(t.app.lists, t.app.keywordSets, items);
    EXPECT_EQ(Groups(t.app), (std::vector<int32_t>{1, 1, 0, 0}));
    EXPECT_FALSE(items[0].Enabled);
    EXPECT_TRUE(items[2].Enabled);

    items[2].Checked = true; // stage two: Europa
    ApplyTicks(t.app.lists.SchlagworteSearchList, items);
    EXPECT_TRUE(CloseNarrowingStage(t.app, items));
    EXPECT_EQ(Groups(t.app), (std::vector<int32_t>{1, 1, 2, 0}));

    const SearchList& kw = t.app.lists.SchlagworteSearchList;
    EXPECT_TRUE(TitleMatches(kw, {"Europa", "Politik"}));
    EXPECT_FALSE(TitleMatches(kw, {"Europa"}));

    // Declining or reopening: one pool again.
    ClearGroups(t.app.lists, t.app.keywordSets);
    EXPECT_EQ(t.app.keywordSets.GroupCounter, 0);
    EXPECT_TRUE(TitleMatches(kw, {"Europa"}));
    EXPECT_FALSE(TitleMatches(kw, {"Kunst"}));
}

TEST(KeywordSets, NarrowingNeedsASelection)
{
    TestApp t;
    auto items = TickedList(t.app, {{"a", true}, {"b", true}});
    EXPECT_FALSE(CloseNarrowingStage(t.app, items)); // every keyword active
    EXPECT_EQ(t.app.keywordSets.GroupCounter, 0);
    EXPECT_EQ(Groups(t.app), (std::vector<int32_t>{0, 0}));
}

TEST(KeywordSets, SavingAndOverwriting)
{
    TestApp t;
    auto items = TickedList(t.app, {{"Politik", true}, {"Europa", false}, {"Kunst", true}});
    items[2].Enabled = false; // locked by an earlier stage: saved all the same
    EXPECT_TRUE(SaveKeywordSet(t.app, "Mein Set", items));
    EXPECT_EQ(t.app.keywordSets.Rows, (Rows{{"Mein Set", "Politik", "Kunst"}}));
    EXPECT_TRUE(t.ui.messages.empty());
    t.app.keywordSets.Rows.push_back({"Zweites", "Europa"});

    // The question's text: FilterDialogModel.SavingKeywordSets.
    items[1].Checked = true;
    t.ui.answers = {Answer::No};
    EXPECT_FALSE(SaveKeywordSet(t.app, "MEIN set", items));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(t.app.keywordSets.Rows, (Rows{{"Mein Set", "Politik", "Kunst"}, {"Zweites", "Europa"}}));
    // The entries follow the ticks in every case.
    EXPECT_TRUE(t.app.lists.SchlagworteSearchList.SearchListAllActive());

    t.ui.answers = {Answer::Yes};
    EXPECT_TRUE(SaveKeywordSet(t.app, "MEIN set", items));
    EXPECT_EQ(t.app.keywordSets.Rows,
              (Rows{{"Zweites", "Europa"}, {"MEIN set", "Politik", "Europa", "Kunst"}}));
}

TEST(KeywordSets, LoadingAddsTicks)
{
    TestApp t;
    auto items = TickedList(t.app, {{"Politik", false}, {"Europa", true}, {"Kunst", false}});
    t.app.keywordSets.Rows = {{"B", "Kunst", "Verschwunden"}, {"A", "Politik"}, {"B", "Europa"}};
    EXPECT_EQ(KeywordSetNames(t.app.keywordSets), (std::vector<std::string>{"A", "B", "B"}));
    ASSERT_TRUE(KeywordSetLoadAllowed(t.app));
    LoadKeywordSet(t.app, "B", items);
    const auto& e = t.app.lists.SchlagworteSearchList.entries;
    EXPECT_EQ(std::tuple(items[0].Checked, items[1].Checked, items[2].Checked, e[0].Active, e[1].Active, e[2].Active),
              std::tuple(false, true, true, false, true, true));

    LoadKeywordSet(t.app, "b", items); // names compare exactly: nothing found
    EXPECT_FALSE(items[0].Checked);

    items[0].Checked = true;
    ApplyTicks(t.app.lists.SchlagworteSearchList, items);
    EXPECT_FALSE(KeywordSetLoadAllowed(t.app));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].text),
              std::tuple(MsgKind::Warning,
                         Cp1252("Warnung!\r\n\r\nEs sind bereits/noch alle Schlagworte angewählt!\r\n"
                                "Daher können keine weiteren Schlagworte dazugewählt werden!")));
}
