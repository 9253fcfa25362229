#pragma once
// Delimited text import: one line of a file becomes one title.

#include <functional>
#include <string>
#include <vector>

namespace folianto {

struct App;
class ImportDialogModel;

// The fields of an import line. Leading blanks and control characters of each
// field are dropped, trailing ones stay; a delimiter at the very end gives no
// extra field, two in a row give an empty one.
std::vector<std::string> SplitImportLine(const std::string& line, char delimiter);

// Appends a title filled from `line` (fields by CellArray[i].ImportPos,
// delimiter from the settings) and makes it current. False only when no title
// could be created; unreadable fields are skipped.
bool ImportEntry(App& app, const std::string& line);

// The lines of a file's bytes: LF or CR LF ends them, a last line needs none.
std::vector<std::string> SplitLines(const std::string& bytes);

// Shows the import dialog on its model; true when it was confirmed with OK.
// The widget layer loops until model.Ok() holds or the user cancels.
using ImportDialogRunner = std::function<bool(ImportDialogModel&)>;

// The import command: dialog in text mode, file dialog, line loop, refresh.
// True when a file was imported completely.
bool ImportFromText(App& app, const ImportDialogRunner& runDialog);

// The line loop on a chosen file, with the messages and the refresh of the
// command. True when every line after the header lines became a title.
bool ImportTextFile(App& app, const std::string& path);

// Refresh after titles were added: unsaved data, layout, grid.
void AfterImport(App& app);

} // namespace folianto
