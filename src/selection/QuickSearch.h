#pragma once
// Type-ahead search in the title grid.

namespace folianto {

struct App;

struct KeyMods {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// A key pressed in the grid. Only A-Z, 0-9 and the space bar without
// modifiers count: the key is added to the type-ahead text and the cursor
// goes to the first row whose cell in the quick-search column starts with
// it. Returns true when the key counted.
bool TypeAheadKey(App& app, char key, KeyMods mods = {});
// Escape in the grid.
void ResetTypeAhead(App& app);
// The popup choice "Titeln", "Autoren", "Kategorien" (0, 1, 2).
void SetQuickSearchColumn(App& app, int choice);

} // namespace folianto
