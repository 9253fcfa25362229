#pragma once
// Export of the shown titles to a RIS file (UTF-8, CR LF).

#include "exchange/Reference.h"

#include <string>
#include <vector>

namespace folianto {

struct Workspace;

// The TY value of a literature type 0..8.
std::string RisType(int32_t typ);

// The whole file: one record per reference, each ended by "ER  - ".
std::string WriteRis(const std::vector<Reference>& references);

// "in RIS-Datei": the export questions, then the file. True when written.
bool ExportToRis(Workspace& ws);

} // namespace folianto
