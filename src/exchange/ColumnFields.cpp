#include "exchange/ColumnFields.h"

#include "workspace/ColumnModel.h"

#include <array>

namespace folianto {
namespace {
using FieldPtr = TBuchRec TBuch::*;
// Descriptor index to text field; nullptr where the column is no text field.
const std::array<FieldPtr, ColumnCount> kColumnFields = {
    &TBuch::Kuerzel, &TBuch::Titel, &TBuch::Autor, &TBuch::Kategorie, &TBuch::Sprache,
    nullptr /* Typ */, &TBuch::Typ, &TBuch::Reihe, nullptr /* Auflage */, &TBuch::Jahr,
    &TBuch::Verlag, &TBuch::Inhalt, &TBuch::Bemerkung, &TBuch::Schlagworte, &TBuch::Standort,
    nullptr /* Preis */, &TBuch::VerliehenAn, &TBuch::AltTitel, nullptr /* Anzahl Bilder */,
    &TBuch::Band, &TBuch::Besitzer, &TBuch::HeftNr, &TBuch::Herausgeber, &TBuch::ISBN,
    &TBuch::Jahr, nullptr /* Jahrgang */, nullptr /* Kaufdatum */, &TBuch::Laenge, &TBuch::Medium,
    &TBuch::OrigTitel, &TBuch::Ort, &TBuch::Quelle, &TBuch::Seiten, nullptr /* Link */,
};
} // namespace

TBuchRec* ColumnTextField(TBuch& b, int column)
{
    if (column < 0 || column >= ColumnCount || !kColumnFields[static_cast<std::size_t>(column)])
        return nullptr;
    return &(b.*kColumnFields[static_cast<std::size_t>(column)]);
}

const TBuchRec* ColumnTextField(const TBuch& b, int column)
{
    return ColumnTextField(const_cast<TBuch&>(b), column);
}

} // namespace folianto
