#include "exchange/WorkbookExchange.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "exchange/EntryFormatter.h"
#include "exchange/ImportDialogModel.h"
#include "exchange/TextExport.h"
#include "workspace/Workspace.h"
#include "spreadsheet/Workbook.h"
#include "selection/Selection.h"
#include "selection/SearchLists.h"

#include <QFileInfo>

#include <algorithm>

namespace folianto {
namespace {

const char* const kWorkbookFilter = "Excel-Dateien (*.XLS)|*.XLS |Alle Dateien (*.*) |*.*";

bool IsVoid(const std::string& s)
{
    for (unsigned char c : s)
        if (c > 0x20)
            return false;
    return true;
}

std::optional<std::string> AskExportPath(Workspace& ws)
{
    FileDialogSpec dialog;
    dialog.filter = kWorkbookFilter;
    dialog.defaultExt = "XLS";
    dialog.initialPath = "*.XLS";
    dialog.pathMustExist = true;
    dialog.overwritePrompt = true;
    return ws.ChooseFile(FileQuestion::Save, dialog);
}

} // namespace

CellTable GridCells(const Workspace& ws)
{
    const GridModel& grid = ws.grid;
    CellTable cells(static_cast<std::size_t>(grid.RowCount()));
    for (int r = 0; r < grid.RowCount(); ++r) {
        auto& row = cells[static_cast<std::size_t>(r)];
        row.reserve(static_cast<std::size_t>(grid.ColCount()));
        for (int c = 0; c < grid.ColCount(); ++c)
            row.emplace_back(grid.Cell(c, r));
    }
    return cells;
}

std::vector<std::string> SplitEntry(const std::string& entry)
{
    std::vector<std::string> cells;
    std::size_t pos = 0;
    for (std::size_t semi; (semi = FindListSeparator(entry, pos)) != std::string::npos; pos = semi + 1)
        cells.push_back(entry.substr(pos, semi - pos));
    cells.push_back(entry.substr(pos));
    return cells;
}

CellTable ExportDefinitionCells(const Workspace& ws)
{
    CellTable cells;
    for (int32_t index : TitlesOfRows(ws, 1, ws.grid.RowCount() - 1))
        cells.push_back(SplitEntry(FormatEntry(ws, index).Text));
    return cells;
}

bool WriteWorkbook(Workspace& ws, Workbook& workbook, const std::string& path, const CellTable& cells)
{
    TraceScope trace("WorkbookExchange.WriteWorkbook", path);
    BusyCursor busy(ws.ui);
    try {
        workbook.SetFileName(path);
        workbook.ClearSheets();
        Sheet& sheet = workbook.GetSheet(0);
        sheet.Name = ExportSheetName;
        const std::unique_ptr<ProgressWindow> progress = ws.ui.showProgress("Folianto", path);
        progress->setRange(100);
        const std::size_t rows = std::min<std::size_t>(cells.size(), 65536);
        for (std::size_t r = 0; r < rows; ++r) {
            const auto& row = cells[r];
            const std::size_t cols = std::min<std::size_t>(row.size(), 256);
            for (std::size_t c = 0; c < cols; ++c)
                sheet.WriteText(static_cast<uint16_t>(c), static_cast<uint16_t>(r), row[c]);
            progress->setPosition(static_cast<int>((r + 1) * 100 / rows));
            progress->processEvents();
        }
        workbook.Write();
    } catch (const WorkbookError& e) {
        ws.ui.message(MsgKind::Error, e.what(), Buttons::Ok);
        return false;
    }
    return true;
}

bool ExportGridToWorkbook(Workspace& ws, Workbook& workbook)
{
    TraceScope trace("WorkbookExchange.ExportGridToWorkbook");
    const auto path = AskExportPath(ws);
    if (!path || !WriteWorkbook(ws, workbook, *path, GridCells(ws)))
        return false;
    ReportExport(ws, TitlesOfRows(ws, 1, ws.grid.RowCount() - 1).size(), *path);
    return true;
}

bool ExportDefinitionToWorkbook(Workspace& ws, Workbook& workbook)
{
    TraceScope trace("WorkbookExchange.ExportDefinitionToWorkbook");
    const auto path = AskExportPath(ws);
    if (!path)
        return false;
    const CellTable cells = ExportDefinitionCells(ws);
    if (!WriteWorkbook(ws, workbook, *path, cells))
        return false;
    ReportExport(ws, cells.size(), *path);
    return true;
}

RangeImport ImportWorkbookRange(Workspace& ws, Workbook& workbook, const NumberFormatter& fmt)
{
    TraceScope trace("WorkbookExchange.ImportWorkbookRange");
    const ImpExpSettings& s = ws.settings.ImpExp;
    RangeImport result;
    if (workbook.SheetCount() == 0)
        return result;
    const Sheet& sheet = workbook.GetSheet(0);
    if (sheet.FirstUsedRow() > sheet.LastUsedRow() || s.AnzRows <= 0 || s.AnzCols <= 0)
        return result;
    const char delimiter = s.Trennzeichen;
    const int64_t rowFrom = std::max<int64_t>(sheet.FirstUsedRow(), int64_t{s.FirstRow} - 1);
    const int64_t rowTo = std::min<int64_t>(sheet.LastUsedRow(), int64_t{s.FirstRow} - 1 + s.AnzRows - 1);
    // Columns count from the range's first column, so a field keeps its
    // position when the sheet's used area starts further right.
    const int64_t colFrom = std::max<int64_t>(0, int64_t{s.FirstCol} - 1);
    const int64_t colTo = std::min<int64_t>(sheet.LastUsedCol(), int64_t{s.FirstCol} - 1 + s.AnzCols - 1);

    std::string line, check;
    for (int64_t r = rowFrom; r <= rowTo; ++r) {
        line.clear();
        check.clear();
        for (int64_t c = colFrom; c <= colTo; ++c) {
            std::string text = sheet.ReadCellText(static_cast<uint16_t>(c), static_cast<uint16_t>(r), fmt);
            if (text.empty())
                text = " ";
            if (c != colFrom)
                line += delimiter;
            line += text;
            check += text;
        }
        if (!IsVoid(check)) {
            if (!ImportEntry(ws, line)) {
                result.Complete = false;
                break;
            }
            ++result.Created;
        }
        ws.ui.repaint();
    }
    return result;
}

bool ImportWorkbookFile(Workspace& ws, Workbook& workbook, const std::string& path, const NumberFormatter& fmt)
{
    TraceScope trace("WorkbookExchange.ImportWorkbookFile", path);
    const std::string upper = UpperAscii(path);
    if (!QFileInfo::exists(PathFromCp1252(path))) {
        ws.ui.message(MsgKind::Error, "Fehler:\r\n\r\nKonnte " + upper + " nicht finden!", Buttons::Ok);
        return false;
    }
    bool ok = false;
    const int32_t before = ws.store.AnzBuch;
    TitleChange change(ws.titleHistory, "Import aus " + ExtractFileName(path));
    {
        BusyCursor busy(ws.ui);
        try {
            workbook.SetFileName(path);
            workbook.ClearSheets();
            workbook.Read();
            const RangeImport result = ImportWorkbookRange(ws, workbook, fmt);
            ok = result.Complete;
            Fill_AllLists(ws);
            ws.Inform(MsgKind::Information, "Es wurden " + std::to_string(result.Created) +
                                                 Cp1252(" Datensätze aus ") + upper + " importiert.");
        } catch (const WorkbookError& e) {
            ws.ui.message(MsgKind::Error, e.what(), Buttons::Ok);
        }
    }
    ws.columns.ColumnsMoved = true;
    ws.store.MarkChanged();
    ShowImported(ws, before);
    return ok;
}

bool ImportFromWorkbook(Workspace& ws, Workbook& workbook, const ImportDialogRunner& runDialog,
                        const NumberFormatter& fmt)
{
    TraceScope trace("WorkbookExchange.ImportFromWorkbook");
    ImportDialogModel model(ws, ImportDialogModel::WorkbookMode);
    if (!runDialog(model))
        return false;
    FileDialogSpec dialog;
    dialog.filter = "Excel-Dateien (*.xls)|*.xls|Alle Dateien (*)|*";
    dialog.defaultExt = "XLS";
    const std::optional<std::string> path = ws.ChooseFile(FileQuestion::Open, dialog);
    if (!path)
        return false;
    return ImportWorkbookFile(ws, workbook, *path, fmt);
}

} // namespace folianto
