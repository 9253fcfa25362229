#pragma once
// Exchange of titles with .XLS workbooks: the grid as shown, the entries of
// the export selection split into cells, and the import of a cell range.

#include "exchange/TextImport.h"

#include <string>
#include <vector>

namespace folianto {

struct Workspace;
class NumberFormatter;
class Workbook;

constexpr const char* ExportSheetName = "Folianto-Export";

// Rows of cell texts, row 0 first.
using CellTable = std::vector<std::vector<std::string>>;

// The grid as shown: header row and every title row, all columns.
CellTable GridCells(const Workspace& ws);
// One row per shown title: its entry split at every ";" (the blank after it
// starts the next cell).
CellTable ExportDefinitionCells(const Workspace& ws);
std::vector<std::string> SplitEntry(const std::string& entry);

// Writes `cells` into sheet 0 ("Folianto-Export") of a cleared workbook and
// saves it to `path`, with the progress window. False after an error message.
bool WriteWorkbook(Workspace& ws, Workbook& workbook, const std::string& path, const CellTable& cells);

// The export commands: save dialog, then WriteWorkbook. True when written.
bool ExportGridToWorkbook(Workspace& ws, Workbook& workbook);
bool ExportDefinitionToWorkbook(Workspace& ws, Workbook& workbook);

// The import over the range of the settings from a workbook already read.
// Stops at the first row that cannot become a title (Complete false).
struct RangeImport {
    int Created = 0;
    bool Complete = true;
};
RangeImport ImportWorkbookRange(Workspace& ws, Workbook& workbook, const NumberFormatter& fmt);

// Reads the workbook at `path` and imports its range, with the messages and
// the refresh of the command. False when the file could not be read or a row
// could not become a title.
bool ImportWorkbookFile(Workspace& ws, Workbook& workbook, const std::string& path, const NumberFormatter& fmt);

// The import command: dialog in workbook mode, file dialog, import. True
// when the whole range was imported.
bool ImportFromWorkbook(Workspace& ws, Workbook& workbook, const ImportDialogRunner& runDialog,
                        const NumberFormatter& fmt);

} // namespace folianto
