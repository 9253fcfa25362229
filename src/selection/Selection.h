#pragma once
// Which titles the grid shows, in which order.

#include "core/TitleStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace folianto {

struct App;
class SearchList;
struct TBuch;
struct TBuchRec;

// Sort orders (BuchSort).
enum BuchSortOrder : uint8_t {
    SortTitel = 0, SortAutor = 1, SortKategorie = 2, SortSprache = 3, SortBesitzer = 4,
    SortTyp = 5, SortEingabe = 6, SortKuerzel = 7,
};

// Type-ahead columns of the grid's quick search.
enum QuickSearchColumn : int { QuickTitel = 0, QuickAutor = 1, QuickKategorie = 2 };

// Replace settings, taken from the search dialog in replace mode.
struct ReplaceSettings {
    bool CaseSensitive = false;
    std::string SearchText;
    std::string ReplaceText;
};

constexpr int SearchFieldCount = 10; // SuchenIn[1..10]
constexpr int FilterCount = 8;       // FilternVon[1..8]

struct SelectionState {
    std::array<bool, 11> SuchenIn{};   // [0] search on, [1..10] fields
    std::string SuchText;
    std::array<bool, 9> FilternVon{};  // [0] filter on, [1..8] fields
    uint32_t TypSet = 255;             // bit t: literature type t wanted (filter 5)
    uint32_t VerleihSet = 15;          // bit s: lending state s wanted (filter 8)
    // BuchNr shown in grid row r (index r = 1..MaxBuch); 0 = empty row.
    std::vector<int32_t> AusgabeBuchNr = std::vector<int32_t>(MaxBuch + 1, 0);

    // Set by GetCurrentBuch: short key of the current title and the grid column.
    std::string AktKuerzel;
    int AktCol = 0;

    // Grid type-ahead: upper-case text typed so far and its column.
    std::string TypeAheadText;
    int QuickSearchColumn = QuickTitel;

    ReplaceSettings Replace;
    // The filter dialog changed the selection; the main window refreshes on activation.
    bool FSS_Changed = false;
    // Page of the filter dialog when it last closed in normal mode; -1 before
    // the first closing of a run (FSDialogOpenDef decides then).
    int FSDialogLastPage = -1;

    // Titles picked from the duplicate list: BuchNr -> group. While not
    // empty, the grid shows these titles, each group in consecutive rows, and
    // the titles entered since (BuchNr >= DuplicatesNewFrom) instead of
    // applying search and filter.
    std::unordered_map<int32_t, int32_t> DuplicateGroup;
    int32_t DuplicatesNewFrom = 0;
};

// Title field searched by SuchenIn[k], k = 1..10: Autor, Inhalt, Bemerkung,
// Verlag, ISBN, Titel, OrigTitel, AltTitel, Reihe, Schlagworte.
TBuchRec& SearchField(TBuch& b, int k);
const TBuchRec& SearchField(const TBuch& b, int k);

// Empties the shown-titles map and switches every filter and search off.
void ResetSelection(App& app);
// The single refresh: select, sort, fill the grid, reselect the current title.
void SetAusgabeData(App& app);
// Makes the title under the grid cursor current.
void GetCurrentBuch(App& app);
// Puts the grid cursor on `row` (1..RowCount-1) and makes its title current.
void SelectGridRow(App& app, int row);
// After a database was loaded: the refresh, with the first row current.
void ShowLoadedTitles(App& app);
// Stores the sort order; refreshes only when it changed (returns true then).
bool SetBuchSort(App& app, uint8_t value);

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
