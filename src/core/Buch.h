#pragma once
// The title record and its picture entries.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

// A text field: Windows-1252 bytes plus a cached length (UpdateBuchLengths).
struct TBuchRec {
    std::string Text;
    int32_t Len = 0;
};

// Picture kind flags: the low seven bits are the picture format, the rest the
// storage kind. Data bytes are stored only for kinds 0..255.
struct TPicRec {
    int32_t Size = 0;
    int32_t Kind = 0;
    std::vector<uint8_t> Data;
    TBuchRec BildTitel;
};

constexpr int32_t LinkFlag = 0x40000000; // bit 30 of TypNum: Quelle links a document
constexpr int TextFieldCount = 27;       // fields 1..27 are texts

struct TBuch {
    TBuchRec Kuerzel, Autor, Herausgeber, Titel, OrigTitel, AltTitel, Sprache, Ort, Verlag, ISBN,
        Besitzer, Reihe, Jahr, HeftNr, Band, Seiten, Typ, Kategorie, Inhalt, Bemerkung, Standort,
        Schlagworte, Quelle, Medium, Laenge, VerliehenAn, Waehrung;
    int32_t Auflage = -1;
    int32_t Verleihstatus = 0;
    int32_t JahrNum = -1;
    float Preis = -1.0f;
    int32_t TypNum = 8;
    int32_t AnzPics = 0;
    std::vector<TPicRec> Pics;
    double Kaufdatum = 0.0;
    // In memory only.
    int32_t BuchNr = -1;
    bool Showing = true;

    // Text field by its field number 1..27 (file order).
    TBuchRec& TextField(int fieldNo);
    const TBuchRec& TextField(int fieldNo) const;
};

// Names of the 27 text fields in file order, as the record spells them.
extern const std::array<const char*, TextFieldCount> TextFieldNames;

// Literature types 0..8.
constexpr int TypCount = 9;
std::string TypNumToName(int32_t typNum);
int32_t TypNameToNum(const std::string& name);

} // namespace folianto
