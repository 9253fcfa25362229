#pragma once
// The in-memory title store: slots 1..MaxBuch, the count and the current title.

#include "core/Buch.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace folianto {

class UserInteraction;

constexpr int32_t MaxBuch = 10000;

class TitleStore {
public:
    TitleStore();

    // Slot i (1..MaxBuch) holds a title or nothing; index 0 is unused.
    std::vector<std::unique_ptr<TBuch>> Buch;
    int32_t AnzBuch = 0;
    int32_t ActBuch = 0;
    bool Gesichert = true;   // memory equals the database file
    uint8_t FehlerNr = 0;    // last error, see GetErrorText

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

    // The title in slot i, or nullptr for an empty or out-of-range slot.
    TBuch* at(int32_t i);
    const TBuch* at(int32_t i) const;
    TBuch* current() { return at(ActBuch); }

private:
    int32_t highestBuchNr_ = 0;
};

// The confirmation before the current title is deleted.
bool DeleteAllowed(const TitleStore& store, UserInteraction& ui);

} // namespace folianto
