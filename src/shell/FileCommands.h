#pragma once
// The file commands of the main window: open, merge, save and save as.

namespace folianto {

struct App;

// "Öffnen...": asks for a database file and loads it. True when loaded.
bool FileOpen(App& app);
// Appends the titles of another database file (EditMode 4 while it runs).
bool FileMerge(App& app);
// "Speichern" under DataFileName. True when the save completed; the caller
// then disables the save entry and button.
bool FileSave(App& app);
// "Speichern unter...". True when the save completed.
bool FileSaveAs(App& app);

} // namespace folianto
