#pragma once
// Saved keyword sets and the narrowing of a keyword selection in stages.
// The filter dialog's keyword check list is handed in as plain items, so the
// dialog only connects its widgets to these functions.

#include "selection/SearchLists.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;

// One item of the keyword check list.
struct KeywordItem {
    std::string Text;
    bool Checked = false;
    bool Enabled = true;
};

// Every ticked and enabled item gives its keyword entry the group `group`.
void MarkGroup(SearchList& keywords, const std::vector<KeywordItem>& items, int32_t group);
// Counter 0 and every keyword entry in group 0: the ticks act as one pool.
void ClearGroups(SearchLists& lists, KeywordSets& sets);
// Narrowing switched on: the first stage becomes group 1 (when none exists
// yet) and its ticked items are locked (disabled, still ticked).
void BeginNarrowing(SearchLists& lists, KeywordSets& sets, std::vector<KeywordItem>& items);
// Closing the dialog while narrowing: the ticks of this stage form the next
// group. Nothing happens when every keyword is active; false then.
bool CloseNarrowingStage(Workspace& ws, const std::vector<KeywordItem>& items);
// Every keyword entry takes the tick of the item with its text; entries
// without an item keep their state.
void ApplyTicks(SearchList& keywords, const std::vector<KeywordItem>& items);

// Saves the ticked items (disabled ones too) as a set named `name`. A set of
// the same name in other letter case is replaced only after the user agreed;
// false when the user declined.
bool SaveKeywordSet(Workspace& ws, const std::string& name, const std::vector<KeywordItem>& items);
// False with a warning when every keyword is already ticked (a set could add nothing).
bool KeywordSetLoadAllowed(Workspace& ws);
// The set names for the pick list, sorted.
std::vector<std::string> KeywordSetNames(const KeywordSets& sets);
// Ticks the items of the first set named `name` (exact); earlier ticks stay.
void LoadKeywordSet(Workspace& ws, const std::string& name, std::vector<KeywordItem>& items);

// Largest group number of the list (0 when no narrowing is in force).
int32_t MaxGroup(const SearchList& list);

// Group rule of the keyword selection once groups exist: `matches(entry)`
// tests one active entry as the plain selection does; every active entry is
// tested. True when some entry matched and each group 1..maxGroup has a
// matching entry.
template <class Pred>
bool MatchGroups(const SearchList& list, int32_t maxGroup, Pred matches)
{
    std::vector<bool> hit(static_cast<std::size_t>(maxGroup > 0 ? maxGroup : 0), false);
    bool some = false;
    for (const SearchEntry& e : list.entries) {
        if (!e.Active || !matches(e))
            continue;
        some = true;
        if (e.Group >= 1 && e.Group <= maxGroup)
            hit[static_cast<std::size_t>(e.Group - 1)] = true;
    }
    if (!some)
        return false;
    for (bool h : hit)
        if (!h)
            return false;
    return true;
}

} // namespace folianto
