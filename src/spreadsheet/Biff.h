#pragma once
// The BIFF record layer of the workbook stream, below the compound file.

#include "spreadsheet/Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folianto::biff {

// Why a workbook stream cannot be read; Workbook turns it into a message.
struct ReadFailure {
    enum class Kind { NotWorkbook, Damaged, Encrypted, NoSheet };
    Kind kind;
    std::string detail; // Windows-1252, for Damaged
};

// Parses a BIFF8 (or BIFF5 with `biff5Hint`, the "Book" stream) workbook
// stream into its worksheets; throws ReadFailure.
std::vector<Sheet> ReadWorkbookStream(const std::vector<uint8_t>& stream, bool biff5Hint);

// Builds a BIFF8 workbook stream; throws WorkbookError for cells beyond the
// format's limits.
std::vector<uint8_t> WriteWorkbookStream(const std::vector<Sheet>& sheets);

} // namespace folianto::biff
