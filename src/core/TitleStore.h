#pragma once
// The in-memory title store: slots 1..MaxBuch, the count and the current title.

#include "core/Buch.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace folianto {

class UserInteraction;

constexpr int32_t MaxBuch = 10000;

// Told of every change to the titles before or as it happens, so that the
// change can be recorded and taken back.
class TitleStoreObserver {
public:
    virtual ~TitleStoreObserver() = default;
    // The title in `slot` is about to change in place.
    virtual void Touching(int32_t slot) = 0;
    // A title was appended in `slot`.
    virtual void Appended(int32_t slot) = 0;
    // The title in `slot` was removed, later ones moved down; the observer
    // may keep the title.
    virtual void Removed(int32_t slot, std::unique_ptr<TBuch> title) = 0;
    // Every title went.
    virtual void Cleared() = 0;
};

class TitleStore {
public:
    TitleStore();

    // Slot i (1..MaxBuch) holds a title or nothing; index 0 is unused.
    std::vector<std::unique_ptr<TBuch>> Buch;
    int32_t AnzBuch = 0;
    int32_t ActBuch = 0;
    uint8_t FehlerNr = 0;    // last error, see GetErrorText

    // True while the titles in memory equal the database file.
    bool Gesichert() const { return gesichert_; }
    // The titles now differ from the file.
    void MarkChanged() { SetSaved(false); }
    // The titles now equal the file (loaded, saved, or a new empty one).
    void MarkSaved() { SetSaved(true); }
    // Called whenever Gesichert flips.
    void SetSavedHook(std::function<void()> hook) { savedHook_ = std::move(hook); }

    // Appends an empty title at AnzBuch+1; false with FehlerNr 13 (full) or 5.
    // Its BuchNr is its index, or one above the highest number given out since
    // the store was last emptied when deletes made the index a used number.
    bool NewBuch();
    static void InitBuch(TBuch& b);
    bool UpdateBuchLengths(int32_t index);
    // Lowest index 1..AnzBuch holding a title with that BuchNr; -1 when none.
    int32_t FindBuchByNr(int32_t nr) const;

    // Destroys every title; AnzBuch = 0.
    void Clear();
    // Removes slot ActBuch, moving later titles down; ActBuch stays.
    // The caller has checked that the slot holds a title.
    void DeleteActBuch();

    // Tells the observer that the title in `slot` is about to change in
    // place; every in-place change of a title calls this first.
    void Touch(int32_t slot);
    void SetObserver(TitleStoreObserver* observer) { observer_ = observer; }

    // Puts `title` into `slot` (1..AnzBuch+1), moving later titles up, and
    // takes the title out of `slot`, moving later ones down. Neither tells
    // the observer: they serve taking changes back and replaying them.
    // False when the slot is out of range or the store is full.
    bool InsertAt(int32_t slot, std::unique_ptr<TBuch> title);
    std::unique_ptr<TBuch> TakeAt(int32_t slot);
    // The highest BuchNr given out since the store was last emptied.
    int32_t BuchNrCounter() const { return highestBuchNr_; }
    void SetBuchNrCounter(int32_t n) { highestBuchNr_ = n; }

    // The title in slot i, or nullptr for an empty or out-of-range slot.
    TBuch* at(int32_t i);
    const TBuch* at(int32_t i) const;
    TBuch* current() { return at(ActBuch); }

private:
    void SetSaved(bool saved)
    {
        if (gesichert_ == saved)
            return;
        gesichert_ = saved;
        if (savedHook_)
            savedHook_();
    }

    bool gesichert_ = true;
    std::function<void()> savedHook_;
    int32_t highestBuchNr_ = 0;
    TitleStoreObserver* observer_ = nullptr;
};

// The confirmation before the current title is deleted.
bool DeleteAllowed(const TitleStore& store, UserInteraction& ui);

} // namespace folianto
