#include "lookup/LookupQueue.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "exchange/TextImport.h"
#include "workspace/Workspace.h"

namespace folianto {

bool AppendLookedUpTitle(Workspace& ws, const Reference& r)
{
    if (!ws.store.NewBuch())
        return false;
    ws.store.ActBuch = ws.store.AnzBuch;
    TBuch& b = *ws.store.current();
    StoreReference(r, b);
    b.Kuerzel.Text.clear();
    Kuerzel_erzeugen(ws.store, ws.settings);
    ws.store.UpdateBuchLengths(ws.store.AnzBuch);
    return true;
}

LookupQueue::LookupQueue(Workspace& ws, LookupSources sources, QObject* parent)
    : QObject(parent), ws_(ws), client_(std::move(sources), this)
{
    client_.setTimeoutMs(ws.settings.LookupTimeoutMs);
}

int LookupQueue::add(const std::string& text)
{
    int added = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!HasPrintable(line))
            continue;
        Entry e;
        e.Id = ParseLookupId(line);
        if (!e.Id.valid()) {
            e.state = State::Failed;
            e.Reason = e.Id.Error;
        } else {
            bool listed = false;
            for (const Entry& other : entries_)
                listed = listed || (other.Id.valid() && other.Id.Key() == e.Id.Key() && other.state != State::Cancelled &&
                                    other.state != State::Failed);
            if (listed)
                continue;
            if (e.Id.kind == LookupId::Kind::Isbn && InCatalogue(e.Id.Isbn13))
                e.state = State::InCatalogue;
        }
        entries_.push_back(e);
        const int row = static_cast<int>(entries_.size()) - 1;
        ++added;
        if (e.state == State::Waiting)
            client_.lookUp(e.Id, [this, row](const LookupOutcome& outcome) { answered(row, outcome); });
        Q_EMIT entryAdded(row);
    }
    // The first waiting identifier is being looked up.
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].state == State::Waiting) {
            entries_[i].state = State::Searching;
            Q_EMIT entryChanged(static_cast<int>(i));
            break;
        } else if (entries_[i].state == State::Searching) {
            break;
        }
    return added;
}

void LookupQueue::answered(int row, const LookupOutcome& outcome)
{
    Entry& e = entries_[static_cast<std::size_t>(row)];
    if (outcome.state == LookupOutcome::State::Found) {
        e.Title = outcome.Editions.front();
        const std::string isbn = NormalisedIsbn13(e.Title.Isbn);
        e.state = State::Found;
        if (!isbn.empty() && InCatalogue(isbn))
            e.state = State::InCatalogue;
        for (std::size_t i = 0; i < entries_.size() && e.state == State::Found; ++i)
            if (static_cast<int>(i) != row && (entries_[i].state == State::Found || entries_[i].state == State::Taken) &&
                !isbn.empty() && NormalisedIsbn13(entries_[i].Title.Isbn) == isbn)
                e.state = State::InList;
    } else if (outcome.state == LookupOutcome::State::NotFound) {
        e.state = State::NotFound;
        e.Reason = outcome.FailureText();
    } else {
        e.state = State::Failed;
        e.Reason = outcome.FailureText();
    }
    Q_EMIT entryChanged(row);
    for (std::size_t i = static_cast<std::size_t>(row) + 1; i < entries_.size(); ++i)
        if (entries_[i].state == State::Waiting) {
            entries_[i].state = State::Searching;
            Q_EMIT entryChanged(static_cast<int>(i));
            break;
        }
}

bool IsbnInStore(const TitleStore& store, const std::string& isbn13)
{
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        if (const TBuch* b = store.at(i))
            if (!b->ISBN.Text.empty() && NormalisedIsbn13(b->ISBN.Text) == isbn13)
                return true;
    return false;
}

bool LookupQueue::InCatalogue(const std::string& isbn13) const
{
    return IsbnInStore(ws_.store, isbn13);
}

std::string LookupQueue::StateText(int row) const
{
    const Entry& e = entries_[static_cast<std::size_t>(row)];
    switch (e.state) {
    case State::Waiting:
        return "wartet";
    case State::Searching:
        return "wird gesucht";
    case State::Found:
        return "gefunden: " + e.Title.Title;
    case State::NotFound:
        return "nicht gefunden";
    case State::InCatalogue:
        return "bereits im Katalog";
    case State::InList:
        return "bereits in der Liste";
    case State::Failed:
        return "Fehler: " + e.Reason;
    case State::Taken:
        return Cp1252("übernommen: ") + e.Title.Title;
    case State::Cancelled:
        return "abgebrochen";
    }
    return {};
}

int LookupQueue::countIn(State state) const
{
    int n = 0;
    for (const Entry& e : entries_)
        n += e.state == state ? 1 : 0;
    return n;
}

void LookupQueue::cancel()
{
    client_.cancel();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].state == State::Waiting || entries_[i].state == State::Searching) {
            entries_[i].state = State::Cancelled;
            Q_EMIT entryChanged(static_cast<int>(i));
        }
}

int LookupQueue::TakeOver()
{
    TraceScope trace("LookupQueue.TakeOver");
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].state == State::Found)
            rows.push_back(i);
    if (rows.empty())
        return 0;
    int added = 0;
    {
        TitleChange change(ws_.titleHistory, "Nachschlagen nach ISBN/DOI");
        for (std::size_t i : rows) {
            Entry& e = entries_[i];
            // The catalogue may have changed since the answer came.
            const std::string isbn = NormalisedIsbn13(e.Title.Isbn);
            if (!isbn.empty() && InCatalogue(isbn)) {
                e.state = State::InCatalogue;
            } else if (AppendLookedUpTitle(ws_, e.Title)) {
                e.state = State::Taken;
                ++added;
            } else {
                e.state = State::Failed;
                e.Reason = GetErrorText(ws_.store.FehlerNr, "");
            }
            Q_EMIT entryChanged(static_cast<int>(i));
        }
    }
    if (added > 0)
        AfterImport(ws_, ws_.store.AnzBuch - added);
    return added;
}

std::string LookupQueue::NotFoundText() const
{
    std::string text;
    for (const Entry& e : entries_)
        if (e.state == State::NotFound || e.state == State::Failed)
            text += e.Id.Text + "\r\n";
    return text;
}

} // namespace folianto
