#pragma once
// Offering the changes a recovery file holds when its catalogue is opened.

#include <string>

namespace folianto {

struct App;

// Called when `database` was just loaded (empty: a new catalogue). When its
// recovery file holds changes, asks whether to take them over: Yes applies
// them (unsaved), No puts the file aside until the next save. A file that no
// longer fits the database is put aside with a note. From then on the
// changes are recorded for the database. True when changes were taken over.
bool OfferRecovery(App& app, const std::string& database);

// Tells the user once when the recovery file cannot be written.
void WarnOfRecoveryFailure(App& app);

} // namespace folianto
