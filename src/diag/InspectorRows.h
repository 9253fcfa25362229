#pragma once
// The rows the title inspector window shows: every field of a title. Texts
// are Windows-1252. The column model's rows: shell/ColumnInspector.h.

#include <string>
#include <vector>

namespace folianto {

struct TBuch;

using InspectorRow = std::vector<std::string>;

// "Eigenschaft", "Wert", "Bedeutung" of each field of the title.
std::vector<InspectorRow> TitleInspectorRows(const TBuch& b);

std::vector<std::string> TitleInspectorHeaders();

} // namespace folianto
