#include "shell/GridRules.h"

#include "core/Buch.h"
#include "selection/SelectionTestUtil.h"
#include "workspace/GridModel.h"

namespace folianto {
namespace {

std::string Repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += s;
    return r;
}

TEST(GridRules, CellHintsWrapFromFiftyOneCharacters)
{
    const std::string fifty = Repeat("abcd ", 10);          // 50 characters, ends in a blank
    const std::string words = Repeat("Wort ", 24) + "Ende"; // 124 characters
    const struct { std::string text, hint; } cases[] = {
        {"", ""},
        {fifty, fifty},
        {fifty + "x", fifty + "\r\nx"},
        {std::string(80, 'x'), std::string(80, 'x')},                   // no blank: one line
        {std::string(250, 'x'), std::string(100, 'x') + "\r\n" + std::string(100, 'x') + "\r\n" + std::string(50, 'x')},
        {Repeat("abcd ", 500), Repeat(Repeat("abcd ", 10) + "\r\n", 19) + Repeat("abcd ", 10) + "\x85"}, // 20 lines at most
        {std::string(60, 'x') + " y", std::string(60, 'x') + " \r\ny"}, // ends after the first blank past 50
        {words, Repeat("Wort ", 10) + "\r\n" + Repeat("Wort ", 10) + "\r\n" + Repeat("Wort ", 4) + "Ende"},
        {Repeat("abcd ", 20), Repeat("abcd ", 10) + "\r\n" + Repeat("abcd ", 10)}, // final break removed
    };
    for (const auto& c : cases)
        EXPECT_EQ(WrapCellHint(c.text), c.hint) << c.text;
}

TEST(GridRules, HintsNeedTwoTitlesAndAShortKeyInTheCurrentRow)
{
    GridModel grid;
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetCell(0, 1, "Key1");
    EXPECT_FALSE(CellHintAllowed(grid)); // one title
    grid.SetRowCount(3);
    grid.SetCell(0, 2, "Key2");
    grid.Row = 1;
    EXPECT_TRUE(CellHintAllowed(grid));
    grid.SetCell(0, 1, "");
    EXPECT_FALSE(CellHintAllowed(grid));
    grid.Row = 0;
    EXPECT_FALSE(CellHintAllowed(grid));
}

TEST(GridRules, PictureCountStyleFollowsTheStorageKinds)
{
    const auto title = [](std::vector<int32_t> kinds) {
        TBuch b;
        for (int32_t k : kinds)
            b.Pics.emplace_back().Kind = k;
        b.AnzPics = static_cast<int32_t>(kinds.size());
        return b;
    };
    const struct { std::vector<int32_t> kinds; PicCountStyle style; } cases[] = {
        {{}, PicCountStyle::NoText},
        {{1}, PicCountStyle::RedBoldItalic},       // storage 0 counts as embedded
        {{128 + 2}, PicCountStyle::RedBoldItalic},
        {{256 + 1}, PicCountStyle::Grey},          // linked
        {{128 + 1, 256 + 1}, PicCountStyle::Red},  // both
    };
    for (const auto& c : cases) {
        const TBuch b = title(c.kinds);
        EXPECT_EQ(PictureCountStyle(&b), c.style) << c.kinds.size();
    }
    EXPECT_EQ(PictureCountStyle(nullptr), PicCountStyle::NoText);

    // The title of a grid row: none for the header row and below the last.
    test::TestApp t;
    test::AddTitle(t.app, "eins");
    SetAusgabeData(t.app);
    const TBuch* none = nullptr;
    EXPECT_EQ(std::tuple(TitleInRow(t.app, 0), TitleInRow(t.app, 1), TitleInRow(t.app, 2)),
              std::tuple(none, static_cast<const TBuch*>(t.app.store.at(1)), none));
}

} // namespace
} // namespace folianto
