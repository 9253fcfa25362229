#pragma once
// The options dialog's data taken from and given back to the application,
// and the refresh the main window runs after OK.

#include "config/OptionsDialogModel.h"
#include "workspace/ColumnModel.h"

#include <array>

namespace folianto {

struct Workspace;

// The settings, column descriptors, preset lists and title count the dialog edits.
OptionsData OptionsDataOf(const Workspace& ws);

// What the main window compares to decide what to refresh after OK.
struct OptionsSnapshot {
    std::array<TCellRec, DescriptorCount> Cells;
    int32_t MaxColWidth = 0;
    bool UseMaxColWidth = false;
    bool AutoOptColWidth = false;
    bool ShowOnlyFirstLine = false;
    bool CaseSensitiveSort = false;
    static OptionsSnapshot Of(const Workspace& ws);
};

// The refresh steps after OK; the column layout is always normalised before
// the next fill.
struct OptionsRefresh {
    bool SortButtons = false;   // a column was shown or hidden
    bool Headers = false;       // the grid headers are rebuilt
    bool ColumnWidths = false;  // every grid column from 1 on gets MaxColWidth
    bool Refill = false;        // SetAusgabeData
    bool operator==(const OptionsRefresh& o) const
    {
        return SortButtons == o.SortButtons && Headers == o.Headers && ColumnWidths == o.ColumnWidths &&
               Refill == o.Refill;
    }
};
OptionsRefresh RefreshAfterOptions(const OptionsSnapshot& before, const OptionsSnapshot& after);

// Takes the dialog's result into the application and runs the refresh it
// needs; returns the refresh that ran.
OptionsRefresh ApplyOptions(Workspace& ws, const OptionsData& result);

} // namespace folianto
