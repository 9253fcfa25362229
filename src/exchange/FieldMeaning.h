#pragma once
// What the overloaded fields of a title mean in bibliographic terms, per
// literature type: the one table every exchange format, the citation styles
// and the look-up of titles map through (ReferenceOfTitle, StoreReference).
// The fields not listed here mean the same for every type: `Titel` the
// title, `AltTitel` the subtitle, `Herausgeber` the editors (of the edited
// volume, for a chapter), `Verlag` the publisher (the university, for a
// thesis), `Ort` the place, `Jahr` the date of this edition or issue,
// `JahrNum` the year of a book's first edition.

#include <cstdint>
#include <string>

namespace folianto {

enum class Meaning : uint8_t {
    Series,               // Reihe: the series
    Container,            // Reihe: the journal, newspaper or edited volume the piece appears in
    Genre,                // Reihe: the kind of thesis
    SeriesNumberOrVolume, // Band: the number in the series; without a series the volume
    Volume,               // Band, Auflage: the volume (a journal's "Jahrgang")
    VolumeFallback,       // Band: the volume where Auflage holds none
    Edition,              // Auflage: the edition
    Issue,                // HeftNr: the issue of a journal or newspaper
    Number,               // HeftNr: the number of a report or book
    PageRange,            // Seiten: the pages within the container
    PageCount,            // Seiten: the extent of a book
    Isbn,                 // ISBN
    IsbnOrIssn,           // ISBN: an ISBN, or the ISSN of the journal
};

struct TypeMeaning {
    Meaning Reihe, Band, Auflage, HeftNr, Seiten, ISBN;
};

// The row of a literature type 0..8 (anything else reads as 8, "unklar").
const TypeMeaning& MeaningOfType(int32_t typ);

// "1234-567X", "1234567x": the form of an ISSN (the check digit unchecked).
bool LooksLikeIssn(const std::string& text);

} // namespace folianto
