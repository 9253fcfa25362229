#include "diag/InspectorRows.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"

#include <cstdio>

namespace folianto {

namespace {

// Names of the text fields 1..27 as the inspector labels them.
const char* const TextFieldLabels[TextFieldCount] = {
    "Kürzel", "Autor", "Herausgeber", "Titel", "OrigTitel", "AltTitel", "Sprache", "Ort", "Verlag",
    "ISBN", "Besitzer", "Reihe", "Jahr", "HeftNr", "Band", "Seiten", "Typ", "Kategorie",
    "Abstrct/Inhalt", "Bemerkung", "Standort", "Schlagworte", "Quelle", "Medium", "Länge",
    "Verleihstatus", "Währung",
};

// Two decimals right-aligned in 7 characters; longer texts are cut to 7.
std::string PriceText(float price)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%7.2f", static_cast<double>(price));
    return std::string(buf).substr(0, 7);
}

InspectorRow Row(const char* name, std::string value)
{
    return {Cp1252(name), std::move(value), std::string()};
}

} // namespace

std::vector<std::string> TitleInspectorHeaders()
{
    return {"Eigenschaft", "Wert", "Bedeutung"};
}

std::vector<InspectorRow> TitleInspectorRows(const TBuch& b)
{
    TraceScope trace("TraceForm.ShowBuch");
    std::vector<InspectorRow> rows;
    rows.push_back(Row("BuchNr (intern)", IntToStr(b.BuchNr)));
    rows.push_back(Row("Showing", TraceBool(b.Showing)));
    for (int f = 1; f <= TextFieldCount; ++f)
        rows.push_back(Row(TextFieldLabels[f - 1], b.TextField(f).Text));
    rows.push_back(Row("Auflage", IntToStr(b.Auflage)));
    rows.push_back(Row("Verleihstatus", IntToStr(b.Verleihstatus)));
    rows.push_back(Row("Jahr (num.)", IntToStr(b.JahrNum)));
    rows.push_back(Row("Preis", PriceText(b.Preis)));
    rows.push_back(Row("TypNum", IntToStr(b.TypNum)));
    rows.push_back(Row("AnzPics", IntToStr(b.AnzPics)));
    return rows;
}

} // namespace folianto
