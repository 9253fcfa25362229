#pragma once
// Which titles the grid shows, in which order.

#include "core/TitleStore.h"
#include "workspace/SelectionState.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace folianto {

class SearchLists;
struct Settings;
struct Workspace;
class SearchList;
struct TBuch;
struct TBuchRec;

// Title field searched by SuchenIn[k], k = 1..10: Autor, Inhalt, Bemerkung,
// Verlag, ISBN, Titel, OrigTitel, AltTitel, Reihe, Schlagworte.
TBuchRec& SearchField(TBuch& b, int k);
const TBuchRec& SearchField(const TBuch& b, int k);

// Empties the shown-titles map and switches every filter and search off.
void ResetSelection(Workspace& ws);
// The titles that pass search, filter and selection (each title's Showing
// flag set accordingly), as store slots in grid order.
struct ChosenTitles {
    std::vector<int32_t> Slots;
    bool Criteria = false;    // a search, filter or keyword selection was in force
    bool OutOfMemory = false; // sorting failed; Slots is empty then
};
ChosenTitles ChooseTitles(TitleStore& store, const Settings& settings, const SearchLists& lists,
                          SelectionState& sel);
// The single refresh: choose and order the titles, fill the grid, reselect
// the current title, tell the views; says so when nothing is left to show.
void SetAusgabeData(Workspace& ws);
// Makes the title under the grid cursor current.
void GetCurrentBuch(Workspace& ws);
// Puts the grid cursor on `row` (1..RowCount-1) and makes its title current.
void SelectGridRow(Workspace& ws, int row);
// After a database was loaded: the refresh, with the first row current.
void ShowLoadedTitles(Workspace& ws);
// Stores the sort order; refreshes only when it changed (returns true then).
bool SetBuchSort(Workspace& ws, uint8_t value);

// Value and entries compared in upper case without blanks and non-printable
// characters; an active entry counts when its first occurrence in the value is
// a whole ';'-separated element run. With keyword groups every group needs a match.
bool MatchInSearchList(const std::string& value, const SearchList& list);

// MatchInSearchList with the list prepared once, for matching many titles.
class SearchListMatcher {
public:
    explicit SearchListMatcher(const SearchList& list);
    bool Match(const std::string& value) const;

private:
    std::unordered_map<std::string, std::vector<int32_t>> active_; // text -> groups of active entries
    std::size_t maxLen_ = 0;
    int32_t groups_ = 0; // largest group number; 0 = plain rule
};

// Upper case of a..z with blanks and non-printable characters removed.
std::string NormalizeMatchText(const std::string& s);

// The string sort: entries ordered by their keys' first `sortLength`
// characters, refined position by position within groups of equal prefix.
// Each key must hold at least `sortLength` bytes.
struct StringSortEntry {
    const unsigned char* key;
    int32_t index;
};
void StringShellSort(std::vector<StringSortEntry>& entries, int sortLength);

// The sort key text of a title for orders 0..5 and 7, before padding.
std::string SortKeyText(const TBuch& b, uint8_t order, bool caseSensitiveSort, bool sortByAE);

} // namespace folianto
