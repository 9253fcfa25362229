#pragma once
// Search lists built from the titles (keywords, authors, publishers, ...):
// distinct values in insertion order, each with an Active flag; and the
// keyword sets the user saved over the keyword list.

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace folianto {

struct SearchEntry {
    std::string Text;
    bool Active = true;
    int32_t Group = 0; // keyword narrowing groups; 0 = none
};

class SearchList {
public:
    SearchList() = default;
    // A copy is a plain list; assigning to a list keeps that list's state flag
    // and marks it out of date.
    SearchList(const SearchList& other)
        : entries(other.entries), NoValueActive(other.NoValueActive), index_(other.index_)
    {
    }
    SearchList& operator=(const SearchList& other);

    // Appends {text, active, 0} unless the text is blank or already present.
    // Returns true when an entry was added.
    bool AddEntry(const std::string& text, bool active = true);
    void Clear();
    // Entries only: NoValueActive has a tick of its own.
    bool SearchListInactive() const;
    bool SearchListAllActive() const;

    std::vector<SearchEntry> entries;
    // Titles without a value in the list's field pass a filter on this list
    // ("(ohne Angabe)" in the filter dialog). It is no entry, so it never
    // reaches a title, a keyword set or the settings file.
    bool NoValueActive = true;

private:
    friend class SearchLists;
    std::unordered_set<std::string> index_; // duplicate test
    bool* upToDateOnAdd_ = nullptr;          // cleared whenever an entry is added
};

class SearchLists {
public:
    SearchLists();
    SearchLists(const SearchLists&) = delete;
    SearchLists& operator=(const SearchLists&) = delete;

    SearchList SpracheSearchList, TypSearchList, BesitzerSearchList, KategorieSearchList,
        StandortSearchList, VerlagSearchList, ZeitschriftSearchList, ReiheSearchList,
        SchlagworteSearchList, AutorSearchList, HerausgeberSearchList, OrtSearchList;
    SearchList VerleihstatusSearchList; // fixed: the four lending states

    // List state flags: cleared by every rebuild, set by the consumers that
    // rebuilt their controls from the lists. A new keyword entry clears
    // AllKeywordsListUpToDate.
    bool AllKeywordsListUpToDate = false;
    bool FilterKeywordListUpToDate = false;

    // The twelve lists rebuilt from the data (not the lending states).
    std::array<SearchList*, 12> DataLists();
    void SetAllListsActive();
};

// Saved keyword sets and the group counter of a narrowing keyword selection.
class KeywordSets {
public:
    // Each row: element 0 the set's name, elements 1.. its keywords.
    std::vector<std::vector<std::string>> Rows;
    // The group number the next marking hands out; 0 = no narrowing.
    int32_t GroupCounter = 0;
};

} // namespace folianto
