#pragma once
// What the BibTeX and RIS exchange share: reading a file into references,
// adding them to the store with one report, and exporting shown titles.

#include "exchange/Reference.h"

#include <functional>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;
struct FileDialogSpec;

// Something in an imported file the user must hear about: an entry that was
// not taken (`Dropped`) or a note on one that was.
struct ImportProblem {
    int Line = 0;
    int LastLine = 0;  // above Line for a range of lines
    std::string Text;  // Windows-1252
    bool Dropped = false;
};

struct ParsedReferences {
    std::vector<Reference> References;
    std::vector<ImportProblem> Problems;
};

// Collects the lines with text outside entries into ranges, one note each.
class JunkLines {
public:
    explicit JunkLines(std::vector<ImportProblem>& out) : out_(out) {}
    ~JunkLines() { flush(); }
    JunkLines(const JunkLines&) = delete;
    JunkLines& operator=(const JunkLines&) = delete;
    void mark(int line);
    void flush();

private:
    std::vector<ImportProblem>& out_;
    int first_ = 0;
    int last_ = 0;
};

// A format's reader: the file's bytes to references.
using ReferenceParser = std::function<ParsedReferences(const std::string& bytes)>;
// A format's writer: references to the file's bytes.
using ReferenceWriter = std::function<std::string(const std::vector<Reference>&)>;

struct ReferenceImportResult {
    bool Read = false;  // the file was read and the import ran
    int Imported = 0;
    int Dropped = 0;
};

// Text of an imported file as UTF-8: a byte order mark is dropped; bytes that
// are not UTF-8 are read as Windows-1252.
std::string ImportTextAsUtf8(const std::string& bytes);

// A note naming the LaTeX kept as written (nothing when the list is empty).
void NoteKept(std::vector<ImportProblem>& problems, int line, const std::vector<std::string>& kept);

// Appends the references as titles (short keys made unique), tells the user
// in one message what was not taken and why, and refreshes. The store stays
// unchanged when the references do not fit into it.
ReferenceImportResult ImportReferences(Workspace& ws, const std::string& path, const ParsedReferences& parsed);

// Reads the file and imports it.
ReferenceImportResult ImportReferenceFile(Workspace& ws, const std::string& path, const ReferenceParser& parse);

// The menu command: the open dialog, then the file.
ReferenceImportResult ImportReferenceCommand(Workspace& ws, const FileDialogSpec& dialog, const ReferenceParser& parse);

// The references of the titles, in the given order.
std::vector<Reference> ReferencesOfTitles(const Workspace& ws, const std::vector<int32_t>& titles);

// The menu command: the export questions, then the file. True when written.
bool ExportReferenceCommand(Workspace& ws, const FileDialogSpec& dialog, const ReferenceWriter& write);

} // namespace folianto
