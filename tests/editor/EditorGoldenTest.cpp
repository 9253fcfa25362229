// Every title of a generated catalogue as the title editor shows it (each
// field, the type panel, the lending state), against an approved file; taken
// over unchanged, a title stays as it was.

#include "core/SampleCatalogue.h"
#include "editor/TitleEditorModel.h"
#include "selection/SearchLists.h"
#include "support/Fakes.h"
#include "support/Golden.h"

namespace folianto::test {
namespace {

void Line(std::string& out, const char* name, const std::string& value)
{
    if (!value.empty())
        out += std::string(name) + ": " + value + "\n";
}

std::string Ticked(const MultiSelectBox& box)
{
    std::string out = box.Text;
    for (std::size_t i = 0; i < box.Items.size(); ++i)
        if (box.Ticked[i])
            out += " | " + box.Items[i];
    return out;
}

std::string Shown(const TitleEditorModel& m)
{
    const TitleEditorValues& v = m.Values;
    const TypePanel& p = m.Panel;
    std::string out = "type " + std::to_string(v.LiteraturTyp) + (p.Books ? " books" : "") +
                      (p.Journals ? " journals" : "") + (p.AudioVisual ? " audio-visual" : "") +
                      (p.Pages ? " pages" : "") + " | " + p.SerieLabel + " | " + p.VerlagLabel + "\n";
    Line(out, "Kuerzel", v.Kuerzel);
    Line(out, "Autor", Ticked(v.Autor));
    Line(out, "Herausgeber", Ticked(v.Herausgeber));
    for (const auto& [name, text] : {std::pair{"Titel", &v.Titel}, {"AltTitel", &v.AltTitel},
                                     {"OrigTitel", &v.OrigTitel}, {"Ausgabe", &v.Ausgabe},
                                     {"EditionYear", &v.EditionYear}, {"FirstEdition", &v.FirstEdition},
                                     {"Band", &v.Band}, {"ISBN", &v.ISBN}, {"Jahrgang", &v.Jahrgang},
                                     {"Jahr", &v.Jahr}, {"HeftNr", &v.HeftNr}, {"Quelle", &v.Quelle},
                                     {"Medium", &v.Medium}, {"Laenge", &v.Laenge}, {"Seiten", &v.Seiten},
                                     {"Schlagworte", &v.Schlagworte}, {"Inhalt", &v.Inhalt},
                                     {"Bemerkung", &v.Bemerkung}, {"VerliehenAn", &v.VerliehenAn},
                                     {"Preis", &v.Preis}})
        Line(out, name, *text);
    for (const auto& [name, box] : {std::pair{"Serie", &v.Serie}, {"Verlag", &v.Verlag}, {"Ort", &v.Ort},
                                    {"Zeitschrift", &v.Zeitschrift}, {"Sprache", &v.Sprache}, {"Typ", &v.Typ},
                                    {"Owner", &v.Owner}, {"Standort", &v.Standort},
                                    {"Kategorie", &v.Kategorie}, {"Waehrung", &v.Waehrung}})
        Line(out, name, box->Text);
    out += "Verleihstatus: " + std::to_string(v.Verleihstatus) + " " + v.VerleihstatusLabel +
           (v.VerliehenAnVisible ? " (name shown)" : "") + (v.QuelleAlsLink ? "\nQuelle als Link" : "") + "\n";
    if (v.Kaufdatum)
        out += "Kaufdatum: " + std::to_string(static_cast<int64_t>(*v.Kaufdatum * 86400)) + " s\n";
    return out;
}

TEST(EditorGolden, EveryTitleOfASampleAsTheEditorShowsIt)
{
    TestApp t;
    FillSampleCatalogue(t.app.store, 45, 2026);
    // Every fourth title at the edges: edition and year 0, bought before or on the first day.
    for (int32_t i = 4; i <= t.app.store.AnzBuch; i += 4) {
        TBuch& b = *t.app.store.at(i);
        b.Auflage = b.JahrNum = 0;
        b.Kaufdatum = i % 8 == 0 ? 1.0 : 0.5;
    }
    Fill_AllLists(t.app);
    TitleEditorModel m(t.app);
    std::string out;
    for (int32_t i = 1; i <= t.app.store.AnzBuch; ++i) {
        t.app.store.ActBuch = i;
        t.app.store.MarkSaved();
        m.InitForm(EditModeEdit, -1);
        ASSERT_TRUE(m.LoadFromStore());
        out += "== " + std::to_string(i) + "\n" + Shown(m);
        m.WriteToStore();
        EXPECT_TRUE(t.app.store.Gesichert()) << "title " << i << " changed without an edit";
    }
    EXPECT_FALSE(t.app.titleHistory.CanUndo());
    ExpectGolden("sample-editor.txt", Cp1252ToUtf8(out));
}

} // namespace
} // namespace folianto::test
