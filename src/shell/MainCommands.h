#pragma once
// Title and database commands of the main window that work on the store.

namespace folianto {

struct Workspace;

// Deletes the current title after the confirmation; false when nothing was
// deleted (empty slot reported, or refused).
bool DeleteCurrentTitle(Workspace& ws);

// Takes the last change to the titles back, or does the last one taken back
// again, and shows the titles as they are then. False when there is none.
bool UndoTitleChange(Workspace& ws);
bool RedoTitleChange(Workspace& ws);

// Double click or Enter in the grid: follows the document link of the current
// title when asked to in the link column. True when the title editor is to
// open the current title instead.
bool OpenCurrentTitle(Workspace& ws);

// Resets the search switches and makes every list entry active again.
void ResetFilterAndSearch(Workspace& ws);

} // namespace folianto
