#include "workspace/GridFill.h"

#include "core/Text.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"

#include <algorithm>

namespace folianto {

void FillGrid(Workspace& ws, const std::vector<int32_t>& slots)
{
    GridModel& grid = ws.grid;
    ColumnModel& columns = ws.columns;
    SelectionState& sel = ws.selection;
    const TitleStore& store = ws.store;

    grid.SetColCount(columns.ShownCount());
    grid.ResetToHeader();
    std::fill(sel.AusgabeBuchNr.begin(), sel.AusgabeBuchNr.end(), 0);

    // Taken first: the views, told of the new headers below, may make the
    // title under their old cursor current.
    const int32_t current = store.ActBuch;
    int selRow = 2;
    if (!slots.empty()) {
        grid.SetRowCount(static_cast<int>(slots.size()) + 1);
        if (columns.ColumnsMoved)
            columns.Resort_BuchString_Headers_and_Pos(grid);
        columns.NormalizeColumnLayout(grid.ScreenWidth);

        struct Shown {
            int desc;
            int pos;
        };
        std::vector<Shown> shown;
        for (int d = 0; d < ColumnCount; ++d) {
            const TCellRec& c = columns.CellArray[static_cast<std::size_t>(d)];
            if (c.ShowCol && c.Pos >= 0 && c.Pos < grid.ColCount())
                shown.push_back({d, c.Pos});
        }
        const CellTextFormat format{ws.settings.ShowOnlyFirstLine, &grid.ShortDate};
        ColumnWidthFitter fitter(columns, grid, ws.settings);
        // Columns that are not shown stay empty.
        std::vector<std::string> cells(static_cast<std::size_t>(grid.ColCount()));
        for (std::size_t n = 0; n < slots.size(); ++n) {
            const int r = static_cast<int>(n) + 1;
            const TBuch& b = *store.at(slots[n]);
            if (slots[n] == current)
                selRow = r;
            for (const Shown& s : shown)
                ColumnModel::CellText(b, s.desc, format, cells[static_cast<std::size_t>(s.pos)]);
            grid.SetRow(r, cells);
            sel.AusgabeBuchNr[static_cast<std::size_t>(r)] = b.BuchNr;
            fitter.FitRow(r);
        }
        fitter.Finish();
    }

    if (grid.RowCount() > selRow)
        grid.Row = selRow;
    else if (grid.RowCount() == selRow)
        grid.Row = selRow - 1;
    else
        WriteTrace("FoliantoMainWindow.SetAusgabeData: Line undefiniert! (Line=" + IntToStr(selRow) + ")");
    grid.Selection = {grid.Col, grid.Row, grid.Col, grid.Row};
}

} // namespace folianto
