#pragma once
// Title and database commands of the main window that work on the store.

namespace folianto {

struct App;

// Deletes the current title after the confirmation; false when nothing was
// deleted (empty slot reported, or refused).
bool DeleteCurrentTitle(App& app);

// Takes the last change to the titles back, or does the last one taken back
// again, and shows the titles as they are then. False when there is none.
bool UndoTitleChange(App& app);
bool RedoTitleChange(App& app);

// Empties the store for a new database after the lock of the current file is
// released. The caller has asked about unsaved data.
void NewDatabase(App& app);

// The question about unsaved data before the program ends or a new database
// starts; Yes saves. True when the data may be dropped.
bool EndAllowed(App& app);
// Before titles in memory are replaced by another file's: true when they are
// saved, or the user saved or dropped them on the same question.
bool ReplaceAllowed(App& app);

// Double click or Enter in the grid: follows the document link of the current
// title when asked to in the link column. True when the title editor is to
// open the current title instead.
bool OpenCurrentTitle(App& app);

// Resets the search switches and makes every list entry active again.
void ResetFilterAndSearch(App& app);

} // namespace folianto
