#pragma once
// Delimited text import: one line of a file becomes one title.

#include "workspace/ColumnModel.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folianto {

struct Workspace;
class ImportDialogModel;

// The character sets a text file is read in.
enum class TextEncoding { Windows1252, Utf8 };

struct DetectedEncoding {
    TextEncoding Encoding = TextEncoding::Windows1252;
    bool ByteOrderMark = false;
};

// UTF-8 when the bytes start with its byte-order mark, or when they are valid
// UTF-8 and hold non-ASCII characters; Windows-1252 otherwise.
DetectedEncoding DetectTextEncoding(std::string_view bytes);

// A file's bytes read in `encoding`, as Windows-1252 text; a UTF-8 byte-order
// mark is dropped.
std::string DecodeImportText(std::string_view bytes, TextEncoding encoding);

// "Tab" stands for the tabulator wherever a delimiter is written as text.
std::string DelimiterName(char delimiter);
// The delimiter a text names: "Tab" in any case, else its first character
// that is no blank or control character; 0 when there is none.
char DelimiterOfText(const std::string& text);

// Fields of a header line matched to the columns by their headers (or their
// default headers), ignoring case and surrounding blanks.
struct HeaderAssignment {
    char Delimiter = 0;
    // 1-based field per descriptor 0..33; 0 = not in the file.
    std::array<int32_t, ColumnCount> Positions{};
};
// Found when every non-empty field of `line` names a different importable
// column and at least two do. The delimiters tried: `preferred`, then Tab,
// ';', ',', '|' and '$'.
std::optional<HeaderAssignment> AssignByHeaderLine(const ColumnModel& columns, const std::string& line,
                                                   char preferred);

// The fields of an import line. Leading blanks and control characters of each
// field are dropped, trailing ones stay; a delimiter at the very end gives no
// extra field, two in a row give an empty one.
std::vector<std::string> SplitImportLine(const std::string& line, char delimiter);

// Appends a title filled from `line` (fields by CellArray[i].ImportPos,
// delimiter from the settings) and makes it current. False only when no title
// could be created; unreadable fields are skipped.
bool ImportEntry(Workspace& ws, const std::string& line);

// The lines of a file's bytes: LF or CR LF ends them, a last line needs none.
std::vector<std::string> SplitLines(const std::string& bytes);

// Shows the import dialog on its model; true when it was confirmed with OK.
// The widget layer loops until model.Ok() holds or the user cancels.
using ImportDialogRunner = std::function<bool(ImportDialogModel&)>;

// The import command: dialog in text mode, file dialog, line loop, refresh.
// True when a file was imported completely.
bool ImportFromText(Workspace& ws, const ImportDialogRunner& runDialog);

// The line loop on a chosen file, read in the encoding it is detected in,
// with the messages and the refresh of the command. True when every line
// after the header lines became a title.
bool ImportTextFile(Workspace& ws, const std::string& path);
// The same on text already read and decoded (`path` names it in messages).
bool ImportText(Workspace& ws, const std::string& path, const std::string& text);
// A file's bytes; nothing (the error shown) when it cannot be read.
std::optional<std::string> ReadImportFile(Workspace& ws, const std::string& path);

// Refresh after titles were added: unsaved data, layout, search lists, grid.
void AfterImport(Workspace& ws, int32_t before);
// The refresh after an import into a store of `before` titles: the first
// imported title current, and how many came in the status bar.
void ShowImported(Workspace& ws, int32_t before);

} // namespace folianto
