// Workbook reader on untrusted bytes. Inputs starting with the compound
// file signature go in as they are; anything else is taken as the workbook
// stream itself and packed into a compound file first, so that mutations
// reach the record layer.

#include "spreadsheet/Ole2.h"
#include "spreadsheet/Workbook.h"

#include <cstring>

using namespace folianto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::vector<uint8_t> bytes(data, data + size);
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0)
        bytes = ole2::PackWorkbookStream(bytes, (size & 1) ? "Book" : "Workbook");
    Workbook workbook;
    try {
        workbook.ReadFromBytes(bytes);
    } catch (const WorkbookError&) {
        return 0;
    }
    LocaleNumberFormatter fmt("de_DE");
    std::size_t total = 0;
    for (std::size_t s = 0; s < workbook.SheetCount(); ++s) {
        const Sheet& sheet = workbook.GetSheet(s);
        sheet.ForEachCell([&](const Sheet::Cell& c) { total += sheet.ReadCellText(c.col, c.row, fmt).size(); });
        total += sheet.ReadCellText(sheet.LastUsedCol(), sheet.FirstUsedRow(), fmt).size();
    }
    // Writing back what was read must either work or refuse cleanly.
    try {
        (void)workbook.WriteToBytes();
    } catch (const WorkbookError&) {
    }
    return total == static_cast<std::size_t>(-1);
}
