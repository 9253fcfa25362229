#pragma once
// The queue of the look-up window: identifiers typed, pasted or scanned are
// worked off one after another in the background; each has a state the
// list shows. "Übernehmen" adds the found titles as one change.

#include "lookup/LookupClient.h"

#include <QObject>

#include <string>
#include <vector>

namespace folianto {

struct Workspace;
class TitleStore;

class LookupQueue : public QObject {
    Q_OBJECT
public:
    enum class State { Waiting, Searching, Found, NotFound, InCatalogue, InList, Failed, Taken, Cancelled };
    struct Entry {
        LookupId Id;
        State state = State::Waiting;
        std::string Reason; // Failed: why, Windows-1252
        Reference Title;    // Found: the first edition
    };

    LookupQueue(Workspace& ws, LookupSources sources, QObject* parent = nullptr);

    LookupClient& client() { return client_; }

    // Each non-blank line of `text` joins the queue (an identifier already
    // waiting or found in it is not added again). Returns the rows added.
    int add(const std::string& text);
    const std::vector<Entry>& entries() const { return entries_; }
    // "wird gesucht", "gefunden: Titel", ... (Windows-1252).
    std::string StateText(int row) const;
    bool busy() const { return client_.busy(); }
    int countIn(State state) const;

    // Stops the search at once; what was not yet answered is "abgebrochen".
    void cancel();
    // Adds every found title not yet taken as one change (short keys made,
    // lists rebuilt, the titles shown). Returns how many were added.
    int TakeOver();
    // The identifiers not found or failed, one per line (CR LF).
    std::string NotFoundText() const;

Q_SIGNALS:
    void entryAdded(int row);
    void entryChanged(int row);

private:
    void answered(int row, const LookupOutcome& outcome);
    // The normalised ISBN-13 of every title in the catalogue.
    bool InCatalogue(const std::string& isbn13) const;

    Workspace& ws_;
    LookupClient client_;
    std::vector<Entry> entries_;
};

// True when a title of the store holds the ISBN (normalised ISBN-13).
bool IsbnInStore(const TitleStore& store, const std::string& isbn13);

// Appends the reference as a new title with a short key made from its
// author, as a look-up adds titles; false when the store is full.
bool AppendLookedUpTitle(Workspace& ws, const Reference& r);

} // namespace folianto
