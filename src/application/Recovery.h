#pragma once
// Offering the changes a recovery file holds: at the start, and when its
// catalogue is opened.

#include <string>

namespace folianto {

struct App;

// Called when `database` was just loaded (empty: a new catalogue). When its
// recovery file holds changes, asks whether to take them over: Yes applies
// them (unsaved), No puts the file aside until the next save. A file that no
// longer fits the database is put aside with a note. From then on the
// changes are recorded for the database. True when changes were taken over.
bool OfferRecovery(App& app, const std::string& database);

// At the start, before any file is opened: offers every recovery file that
// holds changes, newest first. Yes opens its database (through the network
// lock) with the changes, or, when the database is gone, shows the recovered
// titles as a catalogue never saved; the files not asked about yet wait for
// the next start. No puts the file aside; "Später" leaves it for the next
// start. True when a catalogue was recovered; the store then holds it, its
// current title current.
bool OfferWaitingRecoveries(App& app);

// Tells the user once when the recovery file cannot be written.
void WarnOfRecoveryFailure(App& app);

} // namespace folianto
