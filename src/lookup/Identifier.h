#pragma once
// The identifiers a title is looked up by: an ISBN (10 or 13 digits, checked
// by its check digit) or a DOI.

#include <string>

namespace folianto {

struct LookupId {
    enum class Kind { None, Isbn, Doi };
    Kind kind = Kind::None;
    std::string Text;   // as given, blanks trimmed
    std::string Isbn13; // 13 digits (ISBN only)
    std::string Isbn10; // 10 characters; empty for an ISBN starting 979
    std::string Doi;    // "10.prefix/suffix" (DOI only)
    std::string Error;  // why the text is no identifier (Kind::None), Windows-1252

    bool valid() const { return kind != Kind::None; }
    // What tells two identifiers of one title apart: the ISBN-13, or the DOI
    // with a..z folded.
    std::string Key() const;
};

// Reads an ISBN ("3-16-148410-X", "ISBN 978-3-16-148410-0") or a DOI
// ("10.1000/xyz", "doi:10.1000/xyz", "https://doi.org/10.1000/xyz"). A text
// that looks like an ISBN but fails its check digit is refused with a message.
LookupId ParseLookupId(const std::string& text);

// The ISBN-13 digits of an ISBN field (first ISBN in it), or empty.
std::string NormalisedIsbn13(const std::string& isbnField);

} // namespace folianto
