#pragma once
// Which titles the grid shows, in which order.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct App;

struct SelectionState {
    std::array<bool, 11> SuchenIn{};   // [0] search on, [1..10] fields
    std::string SuchText;
    std::array<bool, 9> FilternVon{};  // [0] filter on, [1..8] fields
    uint32_t TypSet = 255;
    uint32_t VerleihSet = 15;
    std::vector<int32_t> AusgabeBuchNr; // BuchNr shown in grid row r (index r)
};

// Empties the shown-titles map and switches every filter and search off.
void ResetSelection(App& app);
// The single refresh: select, sort, fill the grid, reselect the current title.
void SetAusgabeData(App& app);
// Makes the title under the grid cursor current.
void GetCurrentBuch(App& app);

} // namespace folianto
