#include "workspace/GridModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace folianto {
namespace {

// The grid as the plain table it stands for.
struct Table {
    std::vector<std::vector<std::string>> rows; // rows[row][col]
    std::vector<int32_t> widths;                 // new columns are 240 wide
    int cols = 0;

    void Resize(int rowCount, int colCount)
    {
        rows.resize(static_cast<std::size_t>(rowCount));
        for (auto& r : rows)
            r.resize(static_cast<std::size_t>(colCount));
        widths.resize(static_cast<std::size_t>(colCount), 240);
        cols = colCount;
    }
};

void ExpectSame(const GridModel& grid, const Table& table, int step)
{
    ASSERT_EQ(grid.RowCount(), static_cast<int>(table.rows.size())) << "step " << step;
    ASSERT_EQ(grid.ColCount(), table.cols) << "step " << step;
    ASSERT_EQ(grid.ColWidths, table.widths) << "step " << step;
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c)
            ASSERT_EQ(grid.Cell(c, r), table.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                << "step " << step << " cell " << c << "," << r;
}

// Cells share one text per row: every edit must leave its neighbours as they were.
TEST(GridModel, EditsMatchAPlainTable)
{
    std::mt19937 random(11);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<std::string> texts = {"", "a", "Titel", std::string(40, 'x'), "\xC4rger\r\nzwei", "  "};

    GridModel grid;
    Table table;
    grid.SetColCount(4);
    grid.SetRowCount(3);
    table.Resize(3, 4);
    for (int step = 0; step < 3000; ++step) {
        const int rows = grid.RowCount();
        const int cols = grid.ColCount();
        switch (pick(11)) {
        case 0: { // rows that go and come back are empty
            const int n = std::max(pick(8), 2);
            grid.SetRowCount(n);
            table.Resize(n, cols);
            break;
        }
        case 1: { // columns beyond the new count drop off, new ones are empty
            const int n = pick(7);
            grid.SetColCount(n);
            table.Resize(rows, n);
            break;
        }
        case 2:
            if (cols > 1) {
                const int from = pick(cols);
                const int to = pick(cols);
                grid.ColWidths[static_cast<std::size_t>(from)] = table.widths[static_cast<std::size_t>(from)] = step;
                grid.MoveColumn(from, to);
                for (auto& r : table.rows) {
                    const std::string moved = r[static_cast<std::size_t>(from)];
                    r.erase(r.begin() + from);
                    r.insert(r.begin() + to, moved);
                }
                table.widths.erase(table.widths.begin() + from);
                table.widths.insert(table.widths.begin() + to, step);
            }
            break;
        case 3: {
            const int r = pick(rows + 1);
            grid.ClearRow(r);
            if (r < rows)
                table.rows[static_cast<std::size_t>(r)].assign(static_cast<std::size_t>(cols), "");
            break;
        }
        case 4: { // a short list empties the columns after it
            std::vector<std::string> cells(static_cast<std::size_t>(pick(cols + 2)));
            for (auto& cell : cells)
                cell = texts[static_cast<std::size_t>(pick(static_cast<int>(texts.size())))];
            const int r = pick(rows + 1);
            grid.SetRow(r, cells);
            if (r < rows)
                for (int c = 0; c < cols; ++c)
                    table.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                        static_cast<std::size_t>(c) < cells.size() ? cells[static_cast<std::size_t>(c)] : "";
            break;
        }
        default: {
            // One past the edge on each side: ignored.
            const int c = pick(cols + 2) - 1;
            const int r = pick(rows + 2) - 1;
            const std::string& text = texts[static_cast<std::size_t>(pick(static_cast<int>(texts.size())))];
            grid.SetCell(c, r, text);
            if (c >= 0 && c < cols && r >= 0 && r < rows)
                table.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = text;
            break;
        }
        }
        ExpectSame(grid, table, step);
        if (HasFatalFailure())
            return;
    }
}

// Outside the grid a cell is empty and cannot be selected; neither can the
// fixed header row and first column.
TEST(GridModel, CellsOutsideTheGridAreEmpty)
{
    GridModel grid;
    grid.SetColCount(2);
    grid.SetCell(1, 1, "x");
    for (const auto& [c, r] : std::vector<std::pair<int, int>>{{-1, 1}, {2, 1}, {1, -1}, {1, 2}})
        EXPECT_TRUE(grid.Cell(c, r).empty()) << c << "," << r;
    EXPECT_EQ(grid.Cell(1, 1), "x");
    grid.SetColCount(3);
    grid.SetRowCount(3);
    for (const auto& [c, r] : std::vector<std::pair<int, int>>{{0, 1}, {3, 1}, {1, 0}, {1, 3}})
        EXPECT_FALSE(grid.SelectCell(c, r)) << c << "," << r;
    EXPECT_EQ(std::pair(grid.Col, grid.Row), std::pair(1, 1));
    EXPECT_TRUE(grid.SelectCell(2, 2));
    EXPECT_EQ(std::pair(grid.Col, grid.Row), std::pair(2, 2));
    grid.SetColCount(2); // the current column and row drop off: the last ones are current
    grid.SetRowCount(2);
    EXPECT_EQ(std::pair(grid.Col, grid.Row), std::pair(1, 1));
    grid.SetColCount(3);
    grid.SetRowCount(3);
    EXPECT_TRUE(grid.SelectCell(1, 1));
    EXPECT_EQ(std::pair(grid.Col, grid.Row), std::pair(1, 1));
}

// Columns are fitted to what the user sees: a reference is one character.
TEST(CharTableMeasurer, ReferencesCountAsOneWideCharacter)
{
    int advances[256];
    std::fill(std::begin(advances), std::end(advances), 5);
    advances[static_cast<unsigned char>('W')] = 12;
    const CharTableMeasurer m(advances);
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"Milosz", 30},
        {"Mi&#322;osz", 30 - 5 + 12}, // ł
        {"&#25991;&#29486;", 24},     // 文献
        {"A & B", 25},                 // a plain '&'
        {"&#38;#322;", 12 + 5 * 5},    // an escaped '&' before digits
        {"&#;&#x41;", 45},             // no references
    };
    for (const auto& c : cases)
        EXPECT_EQ(m.TextWidth(c.text), c.width) << c.text;
}

} // namespace
} // namespace folianto
