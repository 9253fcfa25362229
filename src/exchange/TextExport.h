#pragma once
// Literature list and one-column text exports of the shown titles.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;

// Text of descriptor `column` (0..33) of a title in the one-column export.
struct TBuch;
std::string ColumnExportText(const TBuch& b, int column);

// An entry of the column choice: the header and whether it may be chosen
// (shown columns only; never "Anzahl Bilder" or "Link").
struct PickItem {
    std::string Text;
    bool Enabled = false;
};
std::vector<PickItem> ColumnPickItems(const Workspace& ws);

// Shows the pick-from-list dialog (single choice, unsorted) and returns the
// index of the ticked item, or nothing on cancel or without a tick.
using ColumnPicker = std::function<std::optional<int>(const std::vector<PickItem>&)>;

// Store indices of the titles in grid rows first..last, in row order; rows
// without a title are left out.
std::vector<int32_t> TitlesOfRows(const Workspace& ws, int first, int last);

// Writes one line per title (CR LF, Windows-1252): the entry of the formatter,
// or the text of `column` when given. False (after an error message) when the
// file cannot be written.
bool WriteTextExport(Workspace& ws, const std::string& path, const std::vector<int32_t>& titles,
                     std::optional<int> column);

// "Export fertig: 250 Titel nach PATH", in the status bar.
void ReportExport(Workspace& ws, std::size_t titles, const std::string& path);

// Writes the bytes to the file; false after the error message.
bool WriteExportFile(Workspace& ws, const std::string& path, const std::string& bytes);

// The questions every export of shown titles asks: the save dialog, whether an
// existing file is overwritten, and all shown titles or the marked ones.
// Nothing when the user stopped.
struct ExportTarget {
    std::string Path;
    std::vector<int32_t> Titles; // store indices in grid order
};
struct FileDialogSpec;
std::optional<ExportTarget> AskExportTarget(Workspace& ws, const FileDialogSpec& dialog);

// The commands: save dialog, overwrite and row questions, the file. True
// when the file was written.
bool ExportLiteratureList(Workspace& ws);
bool ExportColumn(Workspace& ws, const ColumnPicker& pickColumn);
// Shared part of both after the column is known (nothing = literature list).
bool ExportTextCommand(Workspace& ws, std::optional<int> column);

} // namespace folianto
