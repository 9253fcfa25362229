#pragma once
// Import of a RIS file into the store.

#include "exchange/ReferenceExchange.h"

#include <cstdint>
#include <string>

namespace folianto {

struct Workspace;

// The literature type of a TY value (upper case); 8 for unknown ones.
int32_t TypOfRisType(const std::string& ty);

// The file's records as references. A record starts with TY and ends with
// ER; a record cut short by the next TY or the end of the file is taken with
// a note. Lines without a tag continue the field before them. Tags without a
// field of their own are kept in the remark as "TAG: value" lines.
ParsedReferences ParseRis(const std::string& bytes);

ReferenceImportResult ImportRisFile(Workspace& ws, const std::string& path);
// "aus RIS-Datei (*.RIS)": the open dialog, then the file.
ReferenceImportResult ImportFromRis(Workspace& ws);

} // namespace folianto
