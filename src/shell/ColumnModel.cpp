#include "shell/ColumnModel.h"

#include "core/Codec.h"

namespace folianto {
namespace {
const char* const kDefaultHeaders[ColumnCount] = {
    "Kürzel", "Titel", "Autor", "Kategorie", "Sprache", "Typ", "Typ (freie Def.)", "Reihe",
    "Auflage", "1. Auflage aus dem Jahr", "Verlag", "Inhalt", "Bemerkung", "Schlagworte",
    "Standort", "Preis", "verliehen an", "Alt. Titel", "Anzahl Bilder", "Band", "Besitzer",
    "Heft-Nr.", "Herausgeber", "ISBN", "Jahr", "Jahrgang", "Kaufdatum", "Länge", "Medium",
    "Original-Titel", "Ort", "Quelle", "Seiten", "Link",
};
} // namespace

const char* ColumnModel::DefaultHeader(int index)
{
    return index >= 0 && index < ColumnCount ? kDefaultHeaders[index] : "";
}

ColumnModel::ColumnModel()
{
    for (int i = 0; i < DescriptorCount; ++i) {
        TCellRec& c = CellArray[static_cast<std::size_t>(i)];
        c.Header = Cp1252(DefaultHeader(i)); // texts are Windows-1252 in memory
        c.Info = c.Header;
        c.Pos = i;
        c.ShowCol = i != 9;
        c.Width = -1;
        c.WidthOk = -1;
        c.ImportPos = i + 1;
    }
}

} // namespace folianto
