#pragma once
// The rows the column inspector window shows: one per column descriptor.
// Texts are Windows-1252.

#include "diag/InspectorRows.h"

#include <string>
#include <vector>

namespace folianto {

class ColumnModel;

// "lfd. Nr.", "Info", "Header", "Pos", "Show", "Width", "WidthOk", "ImportPos"
// of descriptors 0..33.
std::vector<InspectorRow> ColumnInspectorRows(const ColumnModel& columns);
std::vector<std::string> ColumnInspectorHeaders();

} // namespace folianto
