#pragma once
// Import of a .bib file into the store.

#include "exchange/ReferenceExchange.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;

// The literature type of an entry type (lower case); `hasEditor` tells a book
// with an editor (an edited volume) from a monograph, `subtype` is the
// entry's "entrysubtype" field.
int32_t TypOfBibTexEntry(const std::string& type, bool hasEditor, const std::string& subtype);

// The names of an author or editor value (LaTeX), split at the word "and"
// outside braces; names written "First von Last" become "von Last, First".
std::vector<std::string> SplitBibNames(const std::string& value);

// The file's entries as references: @string macros expanded, crossrefs
// resolved, LaTeX decoded to Windows-1252; fields without a place of their
// own are kept in the remark as "name: value" lines.
ParsedReferences ParseBibTex(const std::string& bytes);

ReferenceImportResult ImportBibTexFile(Workspace& ws, const std::string& path);
// "aus BibTeX-Datei (*.BIB)": the open dialog, then the file.
ReferenceImportResult ImportFromBibTex(Workspace& ws);

} // namespace folianto
