#pragma once
// The file commands of the main window: open, merge, save and save as.

#include <string>

namespace folianto {

struct App;

// "Öffnen...": asks for a database file and loads it. True when loaded.
bool FileOpen(App& app);
// The same for a path chosen elsewhere (start-up, the desktop): from the
// suffix question on. True when loaded.
bool FileOpenPath(App& app, const std::string& path);
// Appends the titles of another database file (EditMode 4 while it runs).
bool FileMerge(App& app);
// "Speichern" under DataFileName. True when the save completed; the caller
// then disables the save entry and button.
bool FileSave(App& app);
// "Speichern unter...". True when the save completed.
bool FileSaveAs(App& app);

} // namespace folianto
