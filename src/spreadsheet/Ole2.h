#pragma once
// The OLE2 compound file around a workbook stream (libgsf).

#include <cstdint>
#include <string>
#include <vector>

namespace folianto::ole2 {

struct WorkbookStream {
    std::vector<uint8_t> data;
    bool biff5 = false; // found as "Book" rather than "Workbook"
};

// The "Workbook" (or "Book") stream of a compound file; throws
// biff::ReadFailure when the bytes are no compound file or hold no workbook.
WorkbookStream ExtractWorkbookStream(const std::vector<uint8_t>& file);

// A compound file holding `stream` under `name`.
std::vector<uint8_t> PackWorkbookStream(const std::vector<uint8_t>& stream,
                                        const char* name = "Workbook");

} // namespace folianto::ole2
