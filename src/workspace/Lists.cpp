#include "workspace/Lists.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"

namespace folianto {

bool SearchList::AddEntry(const std::string& text, bool active)
{
    if (!HasPrintable(text) || !index_.insert(text).second)
        return false;
    entries.push_back({text, active, 0});
    if (upToDateOnAdd_)
        *upToDateOnAdd_ = false;
    return true;
}

SearchList& SearchList::operator=(const SearchList& other)
{
    entries = other.entries;
    NoValueActive = other.NoValueActive;
    index_ = other.index_;
    if (upToDateOnAdd_)
        *upToDateOnAdd_ = false;
    return *this;
}

void SearchList::Clear()
{
    entries.clear();
    index_.clear();
    NoValueActive = true;
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
    SchlagworteSearchList.upToDateOnAdd_ = &AllKeywordsListUpToDate;
}

std::array<SearchList*, 12> SearchLists::DataLists()
{
    return {&SpracheSearchList, &TypSearchList,          &BesitzerSearchList, &KategorieSearchList,
            &StandortSearchList, &VerlagSearchList,      &ZeitschriftSearchList, &ReiheSearchList,
            &SchlagworteSearchList, &AutorSearchList,    &HerausgeberSearchList, &OrtSearchList};
}

void SearchLists::SetAllListsActive()
{
    TraceScope trace("Lists.SetAllListsActive");
    for (SearchList* list : DataLists()) {
        list->NoValueActive = true;
        for (auto& e : list->entries)
            e.Active = true;
    }
}

} // namespace folianto
