#include "exchange/ExchangeTestUtil.h"
#include "lookup/EditorLookup.h"
#include "lookup/MarcReader.h"
#include "lookup/OpenLibraryReader.h"

namespace folianto {
namespace {

// A found ISBN is a choice only when it names another book than the field's.
TEST(EditorLookup, OffersTheIsbnOnlyWhenItNamesAnotherBook)
{
    struct Case {
        const char* field;
        const char* found;
        bool offered;
    };
    const Case cases[] = {
        {"3-16-148410-X", "978-3-16-148410-0", false},
        {" 9783161484100 ", "978-3-16-148410-0", false},
        {"978-0-306-40615-7", "978-3-16-148410-0", true},
        {"vergriffen", "978-3-16-148410-0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        test::TestApp t;
        TitleEditorModel model{t.app};
        model.Values.ISBN = c.field;
        Reference found;
        found.Typ = model.Values.LiteraturTyp;
        found.Isbn = c.found;
        const std::vector<FieldOffer> offers = FillFromLookup(model, found);
        const bool offered = std::any_of(offers.begin(), offers.end(),
                                         [](const FieldOffer& o) { return o.Control == EditControl::ISBN_Edit; });
        EXPECT_EQ(offered, c.offered);
        EXPECT_EQ(model.Values.ISBN, c.field);
    }
}

// The editor's fields as one line each, the way a look-up fills them.
std::vector<std::string> Shown(const TitleEditorValues& v)
{
    return {std::to_string(v.LiteraturTyp), v.Autor.Text, v.Herausgeber.Text, v.Titel, v.AltTitel,
            v.Zeitschrift.Text, v.Jahrgang, v.Jahr, v.Ausgabe, v.EditionYear, v.Serie.Text, v.HeftNr, v.Band,
            v.Verlag.Text, v.Ort.Text, v.ISBN, v.Seiten, v.Sprache.Text, v.Schlagworte, v.Quelle,
            v.QuelleAlsLink ? "Link" : "kein Link"};
}

// Empty fields take the found value; a field holding another text is offered,
// and taking every offer leaves the found title.
TEST(EditorLookup, FillsEmptyFieldsAndOffersTheOthers)
{
    Reference book = ReadSruMarcAnswer(test::ReadFixture("lookup", "sru-one-edition.xml")).Editions.front();
    book.Editors = {"Lang, Petra"};
    const Reference article = ReadCslJsonAnswer(test::ReadFixture("lookup", "doi-csl.json")).Editions.front();
    Reference unknownType;
    unknownType.Title = "Gleich";
    unknownType.Year = "1999";
    const struct {
        const char* name;
        int32_t typ;      // of the editor
        const char* titel; // what the editor holds already
        const char* schlagworte;
        Reference found;
        std::vector<std::string> offers; // label: current -> found
        std::vector<std::string> filled;
    } cases[] = {
        {"empty editor, a book", TypUnklar, "", "", book, {},
         {"0", "Müller, Hans; Schmidt, Erika", "Lang, Petra", "Die Bibliothek als Ort", "eine Einführung", "", "", "",
          "2", "2019", "Studien zur Buchkultur", "", "12", "Beispielverlag", "Tübingen", "978-3-16-148410-0", "344",
          "deutsch", "Bibliothek; Lesesaal", "https://d-nb.info/1170000001/04", "Link"}},
        {"a book's editor, an article", 0, "Anders", "Regal", article,
         {"Literatur-Typ: Monographie -> Zeitschriftenaufsatz",
          "Titel: Anders -> Stacks and shelves: an empirical study"},
         {"0", "Nowak, Zófia; Example, Ada", "", "Anders", "", "Journal of Shelving", "12", "05/2021", "", "", "", "3",
          "", "Example Society", "", "", "45-67", "englisch", "Regal", "", "kein Link"}},
        {"a type unknown to the source", 0, " Gleich ", "", unknownType, {},
         {"0", "", "", " Gleich ", "", "", "", "", "", "1999", "", "", "", "", "", "", "", "", "", "", "kein Link"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestApp t;
        TitleEditorModel model{t.app};
        if (c.typ != TypUnklar)
            model.SetLiteraturTyp(c.typ);
        model.Values.Titel = c.titel;
        model.Values.Schlagworte = c.schlagworte;
        const std::vector<FieldOffer> offers = FillFromLookup(model, c.found);
        std::vector<std::string> offered;
        for (const FieldOffer& o : offers)
            offered.push_back(o.Label + ": " + o.Current + " -> " + o.Found);
        EXPECT_EQ(offered, c.offers);
        std::vector<std::string> filled = c.filled;
        for (std::string& f : filled)
            f = Cp1252(f.c_str());
        EXPECT_EQ(Shown(model.Values), filled);
        for (const FieldOffer& o : offers)
            TakeOffer(model, o);
        EXPECT_EQ(model.Values.LiteraturTyp, c.found.Typ == TypUnklar ? c.typ : c.found.Typ);
        EXPECT_EQ(model.Values.Titel, c.offers.empty() ? filled[3] : c.found.Title);
    }
}

// The identifier the editor looks up, and an edition's line in the choice.
TEST(EditorLookup, IdentifierAndEditionLine)
{
    const struct {
        const char* isbn;
        const char* quelle;
        const char* id; // the key, or the error
    } ids[] = {
        {"3-16-148410-X", "doi:10.1000/a", "9783161484100"},
        {"vergriffen", "https://doi.org/10.1000/A", "10.1000/a"},
        {"vergriffen", "https://example.org", "Weder ISBN (10 oder 13 Ziffern) noch DOI: vergriffen"},
        {" ", "https://example.org", "Kein Bezeichner angegeben."},
    };
    for (const auto& c : ids) {
        TitleEditorValues v;
        v.ISBN = c.isbn;
        v.Quelle = c.quelle;
        const LookupId id = EditorLookupId(v);
        EXPECT_EQ(id.valid() ? id.Key() : id.Error, c.id) << c.isbn;
    }
    const struct {
        const char *year, *edition, *publisher, *pages, *pageCount, *line;
    } editions[] = {
        {"", "", "", "", "", "o. J."},
        {"2015", "3", "Verlag Eins", "12-45", "280", "2015, 3. Auflage, Verlag Eins, 280 S."},
        {"2015", "0", "", "12-45", "", "2015, 12-45 S."},
    };
    for (const auto& c : editions) {
        Reference r;
        r.Year = c.year;
        r.Edition = c.edition;
        r.Publisher = c.publisher;
        r.Pages = c.pages;
        r.PageCount = c.pageCount;
        EXPECT_EQ(EditionSummary(r), c.line);
    }
}

} // namespace
} // namespace folianto
