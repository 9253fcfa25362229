#pragma once
// Search lists built from the titles (keywords, authors, publishers, ...):
// distinct values in insertion order, each with an Active flag.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace folianto {

struct App;

struct SearchEntry {
    std::string Text;
    bool Active = true;
    int32_t Group = 0; // keyword narrowing groups; 0 = none
};

class SearchList {
public:
    // Appends {text, active, 0} unless the text is blank or already present.
    // Returns true when an entry was added.
    bool AddEntry(const std::string& text, bool active = true);
    void Clear();
    bool SearchListInactive() const;
    bool SearchListAllActive() const;

    std::vector<SearchEntry> entries;

private:
    std::unordered_set<std::string> index_; // duplicate test
};

class SearchLists {
public:
    SearchLists();

    SearchList SpracheSearchList, TypSearchList, BesitzerSearchList, KategorieSearchList,
        StandortSearchList, VerlagSearchList, ZeitschriftSearchList, ReiheSearchList,
        SchlagworteSearchList, AutorSearchList, HerausgeberSearchList;
    SearchList VerleihstatusSearchList; // fixed: the four lending states

    // List state flags: cleared by every rebuild, set by the consumers that
    // rebuilt their controls from the lists.
    bool AllKeywordsListUpToDate = false;
    bool FilterKeywordListUpToDate = false;
};

// Rebuilds every search list from the title store.
void Fill_AllLists(App& app);

} // namespace folianto
