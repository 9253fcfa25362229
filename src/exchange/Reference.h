#pragma once
// A title as the reference formats (BibTeX, RIS) see it: the fields they
// carry, independent of any file syntax. Texts are Windows-1252.

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

struct TBuch;

struct Reference {
    int32_t Typ = 8; // literature type 0..8
    std::string Key;
    std::vector<std::string> Authors, Editors, Keywords;
    std::string Title, Subtitle, Year, Publisher, Address;
    // Series; the journal of types 4 and 5, the book of type 3, the kind of
    // thesis of type 1.
    std::string Reihe;
    std::string Volume, Number, Pages, Edition, Isbn, Abstract, Note, Language;
    std::string OrigTitle, Medium, Extent; // original title, carrier, playing time or size
    std::string Url; // the linked document
    int Line = 0;    // where the entry starts in the imported file
};

Reference ReferenceOfTitle(const TBuch& b);
// Fills an empty title from the reference (all but the key).
void StoreReference(const Reference& r, TBuch& b);

// The parts of a list text separated by `separator`, blanks trimmed, empty
// parts left out; and the join back.
std::vector<std::string> SplitListText(const std::string& text, char separator);
std::string JoinListText(const std::vector<std::string>& parts, const std::string& separator);

// Blank runs (and line breaks) as single blanks, none at either end.
std::string CollapseBlanks(const std::string& text);
// Line breaks of any kind as CR LF, blanks at either end removed.
std::string NormaliseLineBreaks(const std::string& text);

// The value of a number text that is an edition: leading digits only; -1 when
// the text does not start with a digit or the number does not fit.
int32_t LeadingNumber(const std::string& text);

} // namespace folianto
