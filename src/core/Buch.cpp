#include "core/Buch.h"

#include "core/Text.h"

namespace folianto {

const std::array<const char*, TextFieldCount> TextFieldNames = {
    "Kuerzel", "Autor", "Herausgeber", "Titel", "OrigTitel", "AltTitel", "Sprache",
    "Ort", "Verlag", "ISBN", "Besitzer", "Reihe", "Jahr", "HeftNr",
    "Band", "Seiten", "Typ", "Kategorie", "Inhalt", "Bemerkung", "Standort",
    "Schlagworte", "Quelle", "Medium", "Laenge", "VerliehenAn", "Waehrung",
};

namespace {
using FieldPtr = TBuchRec TBuch::*;
constexpr std::array<FieldPtr, TextFieldCount> kFields = {
    &TBuch::Kuerzel, &TBuch::Autor, &TBuch::Herausgeber, &TBuch::Titel, &TBuch::OrigTitel,
    &TBuch::AltTitel, &TBuch::Sprache, &TBuch::Ort, &TBuch::Verlag, &TBuch::ISBN,
    &TBuch::Besitzer, &TBuch::Reihe, &TBuch::Jahr, &TBuch::HeftNr, &TBuch::Band,
    &TBuch::Seiten, &TBuch::Typ, &TBuch::Kategorie, &TBuch::Inhalt, &TBuch::Bemerkung,
    &TBuch::Standort, &TBuch::Schlagworte, &TBuch::Quelle, &TBuch::Medium, &TBuch::Laenge,
    &TBuch::VerliehenAn, &TBuch::Waehrung,
};

const char* const kTypNames[TypCount] = {
    "Monographie", "Hochschulschrift", "Sammelwerk", "Sammelwerkbeitrag",
    "Zeitschriftenaufsatz", "Zeitungsartikel", "Audio-visuelles Material",
    "graue Literatur", "unklar",
};
} // namespace

TBuchRec& TBuch::TextField(int fieldNo)
{
    return this->*kFields.at(static_cast<std::size_t>(fieldNo - 1));
}

const TBuchRec& TBuch::TextField(int fieldNo) const
{
    return this->*kFields.at(static_cast<std::size_t>(fieldNo - 1));
}

std::string TypNumToName(int32_t typNum)
{
    const int32_t t = typNum & ~LinkFlag;
    if (t < 0 || t >= TypCount)
        return {};
    return kTypNames[t];
}

int32_t TypNameToNum(const std::string& name)
{
    const std::string upper = UpperAscii(name);
    for (int t = 0; t < TypCount; ++t)
        if (upper == UpperAscii(kTypNames[t]))
            return t | LinkFlag;
    return 8 | LinkFlag;
}

} // namespace folianto
