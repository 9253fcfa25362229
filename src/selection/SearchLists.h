#pragma once
// Building the search lists from the titles, and the helpers that read and
// split list values.

#include "workspace/Lists.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct TBuch;
class TitleStore;
struct Workspace;

// True when a field holds no value a list entry could name: nothing printable
// besides semicolons.
bool HasNoValue(const std::string& field);

// Adds the elements of one semicolon-separated field value (keywords,
// authors, editors), each trimmed of blanks and non-printable characters;
// empty elements add nothing.
void AddSeparatedEntries(SearchList& list, const std::string& value);
// Splits Schlagworte (which = 1), Autor (2) or Herausgeber (3) of every title
// into `list` without emptying it first.
void FillSearchListWithColonSeparatedText(const TitleStore& store, SearchList& list, int which);
// Whether a title's Reihe also enters the journal list: only when its TypNum
// has bit 2 set (types 4 to 7; the lists built from the file), or for every
// title (the editor: what it stores is offered in both boxes).
enum class ReiheToJournals { WithTypeBit2, Always };
// Adds the whole-field values of one title (language, type, owner, category,
// location, publisher, place, journal, series) to their lists.
void AddTitleToSearchLists(SearchLists& lists, const TBuch& b, ReiheToJournals journals);
// Adds the whole-field values of every title to the whole-field lists.
void Generate_SearchList_Entries_From_Data(const TitleStore& store, SearchLists& lists);
// Rebuilds every search list from the title store.
void Fill_AllLists(Workspace& ws);

// Word breaks of a keyword: blanks followed by a non-blank.
int32_t WordBreaks(const std::string& keyword);
// True when no entry has more than `maxBreaks` word breaks (SchlwLenght).
bool KeywordConventionsOK(const SearchList& list, int32_t maxBreaks);

// Editor helpers: the texts of a list for a list control, and a list rebuilt
// from a control's items (all active).
std::vector<std::string> SearchListTexts(const SearchList& list);
void RebuildSearchList(SearchList& list, const std::vector<std::string>& items);

} // namespace folianto
