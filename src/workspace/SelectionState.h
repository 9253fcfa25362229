#pragma once
// What the grid shows: search, filter, sort order and the shown titles.

#include "core/TitleStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace folianto {

// Sort orders (BuchSort).
enum BuchSortOrder : uint8_t {
    SortTitel = 0, SortAutor = 1, SortKategorie = 2, SortSprache = 3, SortBesitzer = 4,
    SortTyp = 5, SortEingabe = 6, SortKuerzel = 7,
};
constexpr int SortOrderCount = 8;

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

} // namespace folianto
