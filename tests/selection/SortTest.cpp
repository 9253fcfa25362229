#include "selection/SelectionTestUtil.h"

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::ShownTitles;
using folianto::test::TestApp;

namespace {
struct SortCase {
    const char* name;
    std::vector<const char*> store; // titles in store order
    int sortLength;
    bool caseSensitive;
    bool byAE;
    std::vector<std::string> shown;
    int sort = SortTitel;
    std::vector<int32_t> types = {}; // TypNum in store order; none: all 0
};

class TitleSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(TitleSort, ShowsTheDocumentedOrder)
{
    const SortCase& c = GetParam();
    TestApp t;
    for (std::size_t i = 0; i < c.store.size(); ++i)
        AddTitle(t.app, c.store[i]).TypNum = i < c.types.size() ? c.types[i] : 0;
    t.app.settings.BuchSort = static_cast<uint8_t>(c.sort);
    t.app.settings.SortLength = static_cast<uint8_t>(c.sortLength);
    t.app.settings.CaseSensitiveSort = c.caseSensitive;
    t.app.settings.SortByAE = c.byAE;
    SetAusgabeData(t.app);
    EXPECT_EQ(ShownTitles(t.app), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, TitleSort,
    ::testing::Values(
        SortCase{"UpperCasedKeys", {"le Carré", "Langenscheidt"}, 25, true, false, {"Langenscheidt", "le Carré"}},
        // Without upper-casing, keys differing in case stop being refined there.
        SortCase{"CaseKeepsStoreOrder", {"le Carré", "Langenscheidt"}, 25, false, false, {"le Carré", "Langenscheidt"}},
        SortCase{"CaseSplitsGroups", {"ac", "Ab", "ab"}, 25, false, false, {"ac", "Ab", "ab"}},
        SortCase{"CaseInsensitiveFirstChar", {"b", "A", "a"}, 25, false, false, {"A", "a", "b"}},
        SortCase{"LengthOneKeepsTies", {"Bb", "Ba"}, 1, true, false, {"Bb", "Ba"}},
        SortCase{"LengthZeroDoesNotSort", {"B", "C", "A"}, 0, true, false, {"B", "C", "A"}},
        SortCase{"ShorterKeyFirst", {"Muf", "Muell", "Mu"}, 25, true, false, {"Mu", "Muell", "Muf"}},
        SortCase{"UmlautByCode", {"Müller", "Muf", "Muell"}, 25, true, false, {"Muell", "Muf", "Müller"}},
        SortCase{"UmlautAsTwoLetters", {"Müller", "Muf", "Muell"}, 25, true, true, {"Muell", "Müller", "Muf"}},
        SortCase{"UmlautAsTwoLettersOtherOrder", {"Muf", "Muell", "Müller"}, 25, true, true, {"Muell", "Müller", "Muf"}},
        // The gap-4 pass moves the last tie in front of the others.
        SortCase{"TiesAsTheShellSortLeavesThem", {"Bx", "Aa", "Ab", "Ac", "Ad"}, 1, true, false,
                 {"Ad", "Aa", "Ab", "Ac", "Bx"}},
        SortCase{"OtherScriptsByBaseLetterOrAfterTheLetters",
                 {"文献", "Dürrenmatt", "Мастер", "Čapek", "Brecht", "Łódź", "Zweig"}, 25, true, false,
                 {"Brecht", "Čapek", "Dürrenmatt", "Łódź", "Zweig", "Мастер", "文献"}},
        SortCase{"DigitsBeforeLetters", {"b", "2", "a", "10"}, 25, true, false, {"10", "2", "a", "b"}},
        SortCase{"InputOrderNewestFirst", {"A", "C", "B"}, 25, true, false, {"B", "C", "A"}, SortEingabe},
        // By type name: graue Literatur, unklar, Zeitschriftenaufsatz (the link flag aside).
        SortCase{"TypeOrderUsesTheTypeName", {"x", "y", "z"}, 25, true, false, {"z", "x", "y"}, SortTyp,
                 {8, 4 | LinkFlag, 7}}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.name; });

TEST(TitleSortOrders, SetBuchSortRefreshesOnlyOnChange)
{
    TestApp t;
    AddTitle(t.app, "B");
    AddTitle(t.app, "A");
    EXPECT_TRUE(SetBuchSort(t.app, SortEingabe));
    EXPECT_EQ(ShownTitles(t.app), (std::vector<std::string>{"A", "B"}));
    t.app.grid.ResetToHeader();
    EXPECT_FALSE(SetBuchSort(t.app, SortEingabe));
    EXPECT_EQ(t.app.grid.RowCount(), 2);
    EXPECT_TRUE(SetBuchSort(t.app, SortTitel));
    EXPECT_EQ(ShownTitles(t.app), (std::vector<std::string>{"A", "B"}));
}
} // namespace
