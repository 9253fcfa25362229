#pragma once
// Filling the title grid from an ordered list of titles.

#include <cstdint>
#include <vector>

namespace folianto {

struct Workspace;

// Rows 1.. show the titles in the store slots `slots`, in that order, with
// the columns fitted; every row's BuchNr goes to AusgabeBuchNr. The cursor
// goes to the current title's row, else row 2 (row 1 when that is the last).
// No title leaves the header and one empty row. Views are not notified.
void FillGrid(Workspace& ws, const std::vector<int32_t>& slots);

} // namespace folianto
