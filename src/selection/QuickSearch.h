#pragma once
// Type-ahead search in the title grid.

namespace folianto {

struct Workspace;

struct KeyMods {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// A character typed in the grid (Windows-1252). Every printable character
// counts, with Shift too, unless Ctrl or Alt is held alone: its capital joins
// the type-ahead text and the cursor goes to the first row whose cell in the
// quick-search column starts with the text in any case (umlauts included).
// Returns true when the character counted.
bool TypeAheadKey(Workspace& ws, char key, KeyMods mods = {});
// Escape in the grid.
void ResetTypeAhead(Workspace& ws);
// The popup choice "Titeln", "Autoren", "Kategorien" (0, 1, 2).
void SetQuickSearchColumn(Workspace& ws, int choice);

} // namespace folianto
