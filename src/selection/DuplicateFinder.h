#pragma once
// Titles that were probably entered twice: the same ISBN, or the same first
// author's surname, title words and year once case, accents, punctuation and
// a leading article no longer count. Titles are grouped by hashed keys, so
// the cost grows with the number of titles, not with the number of pairs
// that could be compared.

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;
struct TBuch;
class TitleStore;

// Why two titles look alike (bit set).
enum DuplicateReason : uint8_t { SameIsbn = 1, SameAuthorTitleYear = 2 };

struct DuplicatePair {
    int32_t First = 0;  // store indices, First < Second
    int32_t Second = 0;
    uint8_t Reasons = 0;
};

// Windows-1252 text as lower-case words of a..z and 0..9 separated by one
// blank: umlauts and sharp s become two letters, other accented letters
// their base letter, everything else separates words.
std::string FoldText(const std::string& text);
// The folded title without a leading article ("Der", "Die", "The", ...).
std::string TitleWords(const std::string& titel);
// The folded surname of the first person of a ';' list ("Mann, Thomas; ..."
// or "Thomas Mann u. a." both give "mann").
std::string FirstSurname(const std::string& persons);
// The first four-digit run of `Jahr`, else `JahrNum` when set; empty when neither.
std::string YearKey(const TBuch& b);
// One key per ISBN in the field: the first twelve digits of its ISBN-13
// form (an ISBN-10 gets the prefix 978), so that both forms of a number and
// a wrong check digit still meet. Text that is no ISBN gives no key.
std::vector<std::string> IsbnKeys(const std::string& isbn);
// Surname, year and title words together; empty when one of them is empty,
// so that titles missing a part never match each other.
std::string AuthorTitleYearKey(const TBuch& b);

// Every pair of titles that share a key, ordered by store index. A group of
// more than two titles gives the pairs of its first title with each other one.
std::vector<DuplicatePair> FindDuplicates(const TitleStore& store);

// "gleiche ISBN: MAN001 „Der Zauberberg“ (1924) und MAN002 „Zauberberg“ (1924)"
std::string DuplicatePairText(const TitleStore& store, const DuplicatePair& pair);
std::string DuplicateReasonText(uint8_t reasons);

// The menu command: the pairs of the whole store, or the message that there
// are none.
std::vector<DuplicatePair> SearchDuplicates(Workspace& ws);

// Shows just the titles of `pairs` in the grid, the titles of a pair (or of
// pairs sharing a title) in consecutive rows, the cursor on the first row.
// Search and filter settings are kept but not applied until the selection
// is reset or the filter dialog is confirmed.
void ShowDuplicates(Workspace& ws, const std::vector<DuplicatePair>& pairs);
// Back to the usual selection (without refreshing the grid).
void EndDuplicateSelection(Workspace& ws);

} // namespace folianto
