#pragma once
// The file commands of the main window: open, merge, save, save as and a new
// database, with the question about unsaved titles before any of them.

#include "application/BuchData.h"

#include <string>

namespace folianto {

struct App;

// "Öffnen...": asks for a database file and loads (or merges) it. True when
// loaded.
bool FileOpen(App& app, LoadMode mode = LoadMode::Replace);
// The same for a path chosen elsewhere (start-up, the desktop): from the
// suffix question on. True when loaded.
bool FileOpenPath(App& app, const std::string& path, LoadMode mode = LoadMode::Replace);
// After a load: the refresh, with the first row current, or the current
// title of the changes the load took over from a recovery file.
void ShowOpenedTitles(App& app);
// Appends the titles of another database file; the collection is then
// unnamed and counts as changed.
bool FileMerge(App& app);
// "Speichern" under DataFileName. True when the save completed.
bool FileSave(App& app);
// "Speichern unter...". True when the save completed.
bool FileSaveAs(App& app);
// Empties the store for a new database after the lock of the current file is
// released. The caller has asked about unsaved data.
void NewDatabase(App& app);
// The question about unsaved data before the program ends or a new database
// starts; Yes saves. True when the data may be dropped.
bool EndAllowed(App& app);
// Before titles in memory are replaced by another file's: true when they are
// saved, or the user saved or dropped them on the same question.
bool ReplaceAllowed(App& app);

} // namespace folianto
