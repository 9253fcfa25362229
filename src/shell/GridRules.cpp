#include "shell/GridRules.h"

#include "core/Buch.h"
#include "diag/Trace.h"
#include "shell/App.h"

#include <algorithm>

namespace folianto {

namespace {

constexpr int PicsColumn = 18;
constexpr int PicStorageEmbedded = 128;

// Lowest descriptor 0..33 whose header equals the text; -1 when none.
int DescriptorByHeader(const ColumnModel& columns, const std::string& header)
{
    for (int i = 0; i < ColumnCount; ++i)
        if (columns.CellArray[static_cast<std::size_t>(i)].Header == header)
            return i;
    return -1;
}

} // namespace

std::string WrapCellHint(const std::string& text)
{
    if (text.size() < 51)
        return text;
    std::string result;
    std::string line;
    for (char c : text) {
        line += c;
        if (c == ' ' && line.size() >= 50) {
            result += line + "\r\n";
            line.clear();
        }
    }
    result += line;
    if (result.size() >= 2 && result.compare(result.size() - 2, 2, "\r\n") == 0)
        result.resize(result.size() - 2);
    return result;
}

bool CellHintAllowed(const GridModel& grid)
{
    return grid.RowCount() - 1 >= 2 && grid.Row >= 1 && !grid.Cell(0, grid.Row).empty();
}

PicCountStyle PictureCountStyle(const TBuch* title)
{
    if (!title || title->AnzPics < 1)
        return PicCountStyle::NoText;
    bool embedded = false;
    bool linked = false;
    for (const TPicRec& pic : title->Pics) {
        int storage = pic.Kind & ~0x7F;
        if (storage == 0)
            storage = PicStorageEmbedded;
        (storage == PicStorageEmbedded ? embedded : linked) = true;
    }
    if (embedded && linked)
        return PicCountStyle::Red;
    if (embedded)
        return PicCountStyle::RedBoldItalic;
    return PicCountStyle::Grey;
}

int GridColumnOf(const ColumnModel& columns, const GridModel& grid, int index)
{
    const std::string& header = columns.CellArray[static_cast<std::size_t>(index)].Header;
    for (int c = 0; c < grid.ColCount(); ++c)
        if (grid.Cell(c, 0) == header && DescriptorByHeader(columns, header) == index)
            return c;
    return -1;
}

const TBuch* TitleInRow(const App& app, int row)
{
    const auto& map = app.selection.AusgabeBuchNr;
    if (row < 1 || row >= static_cast<int>(map.size()) || map[static_cast<std::size_t>(row)] == 0)
        return nullptr;
    return app.store.at(app.store.FindBuchByNr(map[static_cast<std::size_t>(row)]));
}

bool DragSetsColumnsMoved(const ColumnModel& columns, const GridModel& grid, int gridCol)
{
    const int index = DescriptorByHeader(columns, grid.Cell(gridCol, 0));
    return index < 0 || columns.CellArray[static_cast<std::size_t>(index)].Info != columns.CellArray[0].Info;
}

void MoveGridColumn(GridModel& grid, int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= grid.ColCount() || to >= grid.ColCount())
        return;
    TraceScope trace("FoliantoMainWindow.BuchStringGridColumnMoved");
    std::vector<std::string> cells(static_cast<std::size_t>(grid.ColCount()));
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c)
            cells[static_cast<std::size_t>(c)] = grid.Cell(c, r);
        auto first = cells.begin();
        if (from < to)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else
            std::rotate(first + to, first + from, first + from + 1);
        for (int c = std::min(from, to); c <= std::max(from, to); ++c)
            grid.SetCell(c, r, std::move(cells[static_cast<std::size_t>(c)]));
    }
    auto w = grid.ColWidths.begin();
    if (from < to)
        std::rotate(w + from, w + from + 1, w + to + 1);
    else
        std::rotate(w + to, w + from, w + from + 1);
}

void TakeLayoutFromGrid(ColumnModel& columns, GridModel& grid, const Settings& settings)
{
    TraceScope trace("FoliantoMainWindow.BuchStringGridMouseUp");
    for (TCellRec& cell : columns.CellArray)
        cell.Pos = -1;
    for (int c = 0; c < grid.ColCount(); ++c) {
        const int index = DescriptorByHeader(columns, grid.Cell(c, 0));
        if (index < 0)
            continue;
        TCellRec& cell = columns.CellArray[static_cast<std::size_t>(index)];
        cell.Pos = c;
        cell.Width = grid.ColWidths[static_cast<std::size_t>(c)];
    }
    if (settings.UseMaxColWidth)
        for (int32_t& width : grid.ColWidths)
            width = std::min(width, settings.MaxColWidth);
}

} // namespace folianto
