#include "selection/SearchLists.h"

#include "core/Codec.h"
#include "core/Text.h"

namespace folianto {

bool SearchList::AddEntry(const std::string& text, bool active)
{
    bool blank = true;
    for (unsigned char c : text)
        if (IsPrintable(c)) {
            blank = false;
            break;
        }
    if (blank || !index_.insert(text).second)
        return false;
    entries.push_back({text, active, 0});
    return true;
}

void SearchList::Clear()
{
    entries.clear();
    index_.clear();
}

bool SearchList::SearchListInactive() const
{
    for (const auto& e : entries)
        if (e.Active)
            return false;
    return true;
}

bool SearchList::SearchListAllActive() const
{
    for (const auto& e : entries)
        if (!e.Active)
            return false;
    return true;
}

SearchLists::SearchLists()
{
    for (const char* name : {"vorhanden", "verliehen an ...", "ausgeliehen aus ...", "zukünftig besorgen"})
        VerleihstatusSearchList.AddEntry(Cp1252(name));
}

void Fill_AllLists(App&) {}

} // namespace folianto
