#pragma once
// Rules of the title grid that the widget applies: hints, the picture-count
// colour, column dragging and taking the user's layout back into CellArray.

#include <string>

namespace folianto {

struct App;
class ColumnModel;
class GridModel;
struct Settings;
struct TBuch;

// Hint text of a cell: texts of 51 characters or more are broken into lines
// that end after the first blank reached once a line holds 50 characters.
std::string WrapCellHint(const std::string& text);

// Cell hints show only with two or more titles shown, a current data row and a
// short key in column 0 of that row.
bool CellHintAllowed(const GridModel& grid);

// How the picture count of a title is drawn.
enum class PicCountStyle { NoText, Grey, RedBoldItalic, Red };
PicCountStyle PictureCountStyle(const TBuch* title);

// Grid column showing descriptor `index`, or -1.
int GridColumnOf(const ColumnModel& columns, const GridModel& grid, int index);

// The title shown in grid row `row`, or nullptr.
const TBuch* TitleInRow(const App& app, int row);

// A dragged column asks for normalisation unless it is the short-key column.
bool DragSetsColumnsMoved(const ColumnModel& columns, const GridModel& grid, int gridCol);

// Moves grid column `from` to `to` with its cells and width, as a drag does.
void MoveGridColumn(GridModel& grid, int from, int to);

// After a mouse release: positions and widths of the shown columns back into
// CellArray (descriptors found by header), then the maximum width applied to
// the grid's widths.
void TakeLayoutFromGrid(ColumnModel& columns, GridModel& grid, const Settings& settings);

} // namespace folianto
