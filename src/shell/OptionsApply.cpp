#include "shell/OptionsApply.h"

#include "core/Trace.h"
#include "selection/Selection.h"
#include "workspace/Workspace.h"
#include "selection/SearchLists.h"

#include <algorithm>

namespace folianto {
namespace {

static_assert(OptionTitleColumns == ColumnCount && OptionDescriptorCount == DescriptorCount,
              "the dialog edits every column descriptor");

// Entries already in the list keep their flags (a filter may use them); new
// items are added active.
void MergeItems(SearchList& list, const std::vector<std::string>& items)
{
    for (const std::string& item : items)
        list.AddEntry(item, true);
}

} // namespace

OptionsData OptionsDataOf(const Workspace& ws)
{
    OptionsData data;
    data.settings = ws.settings;
    for (int d = 0; d < DescriptorCount; ++d) {
        const TCellRec& c = ws.columns.CellArray[static_cast<std::size_t>(d)];
        data.columns[static_cast<std::size_t>(d)] = {c.Info, c.Header, c.ShowCol, c.Pos, c.Width, c.WidthOk};
    }
    data.TypItems = SearchListTexts(ws.lists.TypSearchList);
    data.SpracheItems = SearchListTexts(ws.lists.SpracheSearchList);
    data.BesitzerItems = SearchListTexts(ws.lists.BesitzerSearchList);
    data.TitleCount = ws.store.AnzBuch;
    return data;
}

OptionsSnapshot OptionsSnapshot::Of(const Workspace& ws)
{
    const Settings& s = ws.settings;
    return {ws.columns.CellArray, s.MaxColWidth, s.UseMaxColWidth, s.AutoOptColWidth, s.ShowOnlyFirstLine,
            s.CaseSensitiveSort};
}

OptionsRefresh RefreshAfterOptions(const OptionsSnapshot& before, const OptionsSnapshot& after)
{
    OptionsRefresh r;
    bool shownChanged = false, headerChanged = false;
    for (std::size_t d = 0; d < before.Cells.size(); ++d) {
        shownChanged = shownChanged || before.Cells[d].ShowCol != after.Cells[d].ShowCol;
        headerChanged = headerChanged || before.Cells[d].Header != after.Cells[d].Header;
    }
    if (shownChanged) {
        r.SortButtons = r.Headers = r.Refill = true;
        return r;
    }
    r.Headers = headerChanged;
    if (before.MaxColWidth == after.MaxColWidth && before.UseMaxColWidth == after.UseMaxColWidth &&
        before.AutoOptColWidth == after.AutoOptColWidth) {
        r.Refill = before.ShowOnlyFirstLine != after.ShowOnlyFirstLine ||
                   before.CaseSensitiveSort != after.CaseSensitiveSort;
        return r;
    }
    r.ColumnWidths = after.UseMaxColWidth && !after.AutoOptColWidth;
    r.Refill = true;
    return r;
}

OptionsRefresh ApplyOptions(Workspace& ws, const OptionsData& result)
{
    TraceScope trace("OptionsApply.Optionen1Click");
    const OptionsSnapshot before = OptionsSnapshot::Of(ws);

    ws.settings = result.settings;
    for (int d = 0; d < DescriptorCount; ++d) {
        const OptionColumn& o = result.columns[static_cast<std::size_t>(d)];
        TCellRec& c = ws.columns.CellArray[static_cast<std::size_t>(d)];
        c.Header = o.Header;
        c.ShowCol = o.ShowCol;
        c.Pos = o.Pos;
        c.Width = o.Width;
        c.WidthOk = o.WidthOk;
    }
    MergeItems(ws.lists.TypSearchList, result.TypItems);
    MergeItems(ws.lists.SpracheSearchList, result.SpracheItems);
    MergeItems(ws.lists.BesitzerSearchList, result.BesitzerItems);

    const OptionsRefresh refresh = RefreshAfterOptions(before, OptionsSnapshot::Of(ws));
    ws.columns.ColumnsMoved = true;
    if (refresh.Headers)
        ws.columns.InitHeaders(ws.grid, false);
    if (refresh.ColumnWidths) {
        for (std::size_t col = 1; col < ws.grid.ColWidths.size(); ++col)
            ws.grid.ColWidths[col] = ws.settings.MaxColWidth;
        ws.grid.NotifyReset();
    }
    if (refresh.Refill)
        SetAusgabeData(ws);
    return refresh;
}

} // namespace folianto
