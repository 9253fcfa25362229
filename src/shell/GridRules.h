#pragma once
// Rules of the title grid that the widget applies: cell hints and the
// picture-count colour.

#include <string>
#include <string_view>

namespace folianto {

struct Workspace;
class ColumnModel;
class GridModel;
struct TBuch;

// Hint text of a cell: texts of 51 characters or more are broken into lines
// that end after the first blank reached once a line holds 50 characters, or
// after 100 characters without a blank; after 20 lines an ellipsis ends it.
std::string WrapCellHint(std::string_view text);

// Cell hints show only with two or more titles shown, a current data row and a
// short key in column 0 of that row.
bool CellHintAllowed(const GridModel& grid);

// How the picture count of a title is drawn.
enum class PicCountStyle { NoText, Grey, RedBoldItalic, Red };
PicCountStyle PictureCountStyle(const TBuch* title);

// Grid column showing descriptor `index`, or -1.
int GridColumnOf(const ColumnModel& columns, const GridModel& grid, int index);

// The title shown in grid row `row`, or nullptr.
const TBuch* TitleInRow(const Workspace& ws, int row);

} // namespace folianto
