#pragma once
// The rows the inspector windows show: every field of a title, or the column
// model. Texts are Windows-1252.

#include <string>
#include <vector>

namespace folianto {

class ColumnModel;
struct TBuch;

using InspectorRow = std::vector<std::string>;

// "Eigenschaft", "Wert", "Bedeutung" of each field of the title.
std::vector<InspectorRow> TitleInspectorRows(const TBuch& b);
// "lfd. Nr.", "Info", "Header", "Pos", "Show", "Width", "WidthOk", "ImportPos"
// of descriptors 0..33.
std::vector<InspectorRow> ColumnInspectorRows(const ColumnModel& columns);

std::vector<std::string> TitleInspectorHeaders();
std::vector<std::string> ColumnInspectorHeaders();

} // namespace folianto
