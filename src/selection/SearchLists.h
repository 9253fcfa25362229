#pragma once
// Search lists built from the titles (keywords, authors, publishers, ...):
// distinct values in insertion order, each with an Active flag.

#include <array>
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
        SchlagworteSearchList, AutorSearchList, HerausgeberSearchList;
    SearchList VerleihstatusSearchList; // fixed: the four lending states

    // List state flags: cleared by every rebuild, set by the consumers that
    // rebuilt their controls from the lists. A new keyword entry clears
    // AllKeywordsListUpToDate.
    bool AllKeywordsListUpToDate = false;
    bool FilterKeywordListUpToDate = false;

    // The eleven lists rebuilt from the data (not the lending states).
    std::array<SearchList*, 11> DataLists();
    void SetAllListsActive();
};

// True when a field holds no value a list entry could name: nothing printable
// besides semicolons.
bool HasNoValue(const std::string& field);

// Adds the elements of one semicolon-separated field value (keywords,
// authors, editors), each trimmed of blanks and non-printable characters;
// empty elements add nothing.
void AddSeparatedEntries(SearchList& list, const std::string& value);
// Splits Schlagworte (which = 1), Autor (2) or Herausgeber (3) of every title
// into `list` without emptying it first.
void FillSearchListWithColonSeparatedText(App& app, SearchList& list, int which);
// Adds the whole-field values of every title to the whole-field lists.
void Generate_SearchList_Entries_From_Data(App& app);
// Rebuilds every search list from the title store.
void Fill_AllLists(App& app);

// Word breaks of a keyword: blanks followed by a non-blank.
int32_t WordBreaks(const std::string& keyword);
// True when no entry has more than `maxBreaks` word breaks (SchlwLenght).
bool KeywordConventionsOK(const SearchList& list, int32_t maxBreaks);

// Editor helpers: the texts of a list for a list control, and a list rebuilt
// from a control's items (all active).
std::vector<std::string> SearchListTexts(const SearchList& list);
void RebuildSearchList(SearchList& list, const std::vector<std::string>& items);

} // namespace folianto
