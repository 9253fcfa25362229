#pragma once
// CSL-JSON, the exchange format of citation processors and reference
// managers: an array of items with a type, names as family/given parts and
// dates as date parts. Files are UTF-8.

#include "exchange/ReferenceExchange.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;

// The CSL type of a literature type 0..8; `medium` tells sound from film.
std::string CslType(int32_t typ, const std::string& medium = {});
// The literature type of a CSL type: "book" with editors and no authors is an
// edited volume; unknown types are 8.
int32_t TypOfCslType(const std::string& type, bool hasAuthors, bool hasEditors);

// A language as CSL wants it ("deutsch" -> "de"); a text that is no known
// language name passes unchanged. And back: a code to the German name.
std::string CslLanguage(const std::string& sprache);
std::string SpracheOfCslLanguage(const std::string& language);

// The file: every field CSL carries, the literature type kept beside the CSL
// type so that an edited volume comes back as one.
std::string WriteCslJson(const std::vector<Reference>& references);

// The input of a citation processor: ids r1, r2, ... (zero-padded to one
// width) numbered in the order of the short keys, the
// subtitle joined to the title, page counts without "S.", a language on every
// item (German where none is named, so that titles keep their capitals) and
// no private fields (remark, abstract, keywords, local document paths).
std::string WriteCslJsonForCiteproc(const std::vector<Reference>& references);

// An array of items (or a single item). Fields without a place of their own
// go to the remark as "field: value" lines; entries that are no object or
// hold nothing but an id and a type are left out with a note.
ParsedReferences ParseCslJson(const std::string& bytes);

// "in CSL-JSON-Datei": the export questions, then the file. True when written.
bool ExportToCslJson(Workspace& ws);
// "aus CSL-JSON-Datei (*.JSON)": the open dialog, then the file.
ReferenceImportResult ImportFromCslJson(Workspace& ws);

} // namespace folianto
