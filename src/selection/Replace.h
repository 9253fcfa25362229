#pragma once
// Replacing a text in the chosen search fields of every title.

#include <string>

namespace folianto {

struct Workspace;

// Upper case of a Windows-1252 text by the Western European locale rules:
// a..z, accented letters and umlauts; sharp s and y-diaeresis as the system does.
std::string AnsiUpperCase(std::string s);

// Replaces every occurrence of `search` in `text` by `replacement`, searching
// on after each inserted text. Without `caseSensitive` both sides are compared
// by AnsiUpperCase. True when something was replaced.
bool ReplaceAll(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive);

// Replaces SuchText by the replacement text in the fields SuchenIn[1..10] of
// every title (shown or not) while SuchenIn[0] is set. When anything changed
// the search is switched off, the grid refreshed and the data count as
// unsaved; returns true then.
bool ReplaceInAllTitles(Workspace& ws);

} // namespace folianto
