#include "workspace/GridFill.h"

#include "selection/SelectionTestUtil.h"
#include "workspace/Workspace.h"

namespace folianto {
namespace {

using test::AddTitle;
using test::TestApp;
using test::ShownTitles;
using Titles = std::vector<std::string>;

// The grid shows the slots in the order given, and the cursor finds the
// current title's row.
TEST(FillGrid, RowsFollowTheSlotsAndTheCursorTheCurrentTitle)
{
    struct Case {
        std::vector<int32_t> slots;
        int32_t current;
        Titles shown;
        int row;
    } cases[] = {
        {{3, 1, 2}, 1, {"C", "A", "B"}, 2},
        {{3, 1, 2}, 3, {"C", "A", "B"}, 1},
        {{2, 3}, 1, {"B", "C"}, 2}, // not shown: row 2
        {{2}, 1, {"B"}, 1},         // not shown, one row: row 1
        {{}, 1, {}, 1},             // header and one empty row
    };
    for (const Case& c : cases) {
        TestApp t;
        for (const char* titel : {"A", "B", "C"})
            AddTitle(t.app, titel);
        t.app.store.ActBuch = c.current;
        t.app.grid.Row = 0; // wherever the cursor was, the fill places it
        FillGrid(t.app, c.slots);
        EXPECT_EQ(ShownTitles(t.app), c.shown);
        EXPECT_EQ(t.app.grid.RowCount(), std::max<int>(static_cast<int>(c.slots.size()) + 1, 2));
        EXPECT_EQ(t.app.grid.Row, c.row);
        for (std::size_t n = 0; n < c.slots.size(); ++n)
            EXPECT_EQ(t.app.selection.AusgabeBuchNr[n + 1], t.app.store.at(c.slots[n])->BuchNr);
        EXPECT_TRUE(t.ui.messages.empty());
    }
}

} // namespace
} // namespace folianto
