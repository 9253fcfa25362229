#pragma once
// One title as one entry of a literature list: by the fixed pattern of its
// literature type or by the user's export selection (ExportPos).

#include "config/Settings.h"

#include <array>
#include <cstdint>
#include <string>

namespace folianto {

struct Workspace;
struct TBuch;

struct ExportEntry {
    std::string Text;
    int Parts = 0; // pieces joined by "; " (the workbook export's cells)
};

// The entry of title `index` (1..AnzBuch) as the settings prescribe; empty
// with 0 parts for any other index.
ExportEntry FormatEntry(const Workspace& ws, int32_t index);

ExportEntry FormatPredefinedEntry(const TBuch& b);
ExportEntry FormatSelectionEntry(const TBuch& b, const std::array<int32_t, ExportSlotCount>& exportPos);

// The text that export slot `slot` (0..32) contributes.
std::string ExportSlotText(const TBuch& b, int slot);

// Price as export text: two decimals with a point; empty without a price.
std::string PriceText(float preis);

// Whether an export of entries may go on; tells the user when the own
// selection exports no field.
bool ExportSelectionOk(Workspace& ws);

// "Eintrag in die Zwischenablage kopieren": the entry of the title under the
// grid cursor as plain text on the clipboard.
void CopyEntryToClipboard(Workspace& ws);

} // namespace folianto
