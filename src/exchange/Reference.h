#pragma once
// A title as the reference formats (BibTeX, RIS) see it: the fields they
// carry, independent of any file syntax. Texts are Windows-1252.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

struct TBuch;

// A title in bibliographic terms, as every exchange format and the citation
// styles see it. Which field of the title each member comes from (and goes
// back to) depends on the literature type: FieldMeaning.h holds that table.
struct Reference {
    int32_t Typ = 8; // literature type 0..8
    std::string Key;
    std::vector<std::string> Authors, Editors, Keywords;
    std::string Title, Subtitle, OrigTitle;
    std::string Container;            // the journal, newspaper or edited volume the piece appears in
    std::string Series, SeriesNumber; // a book's series and its number in it
    std::string Genre;                // the kind of thesis ("Dissertation")
    std::string Volume, Issue, Number; // Number: of a report or a book (not a journal's issue)
    std::string Edition;              // its number ("3")
    std::string Year;                 // the date as the editor shows it: "2013", "10.11.1989", "1998/99"
    std::string Publisher, Address;   // Address: the place of publication
    std::string Pages;                // the page range within the container
    std::string PageCount;            // the extent of a book
    std::string Isbn, Issn;
    std::string Abstract, Note, Language;
    std::string Medium, Extent; // carrier, playing time or size
    std::string Url;            // the linked document
    int Line = 0;               // where the entry starts in the imported file
};

// The title's meaning; a publisher written "Place: Publisher" with no place
// of its own is split.
Reference ReferenceOfTitle(const TBuch& b);
// Fills an empty title from the reference (all but the key): each member into
// the field that means it for the type; what the type has no field for goes to
// the remark as "Label: value". A look-up of titles fills a Reference and
// stores it here.
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

// The number of an edition as people write it: "3", "3rd", "Third", "zweite",
// "2. Aufl.", "2nd ed.", "Second edition"; -1 when the text names none.
int32_t EditionNumber(const std::string& text);

// "Köln: Kiepenheuer & Witsch" as place and publisher; nothing when the text
// is not of that form.
struct PlaceAndPublisher {
    std::string Place, Publisher;
};
std::optional<PlaceAndPublisher> SplitPlaceAndPublisher(const std::string& verlag);

} // namespace folianto
