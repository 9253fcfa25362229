#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/CslJson.h"
#include "exchange/DateText.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/FieldMeaning.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"
#include "support/Golden.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace folianto {
namespace {

using test::U;

// A format with its writer and reader.
struct Format {
    const char* name;
    ReferenceWriter write;
    ReferenceParser parse;
    bool splitsBack; // the subtitle comes back as one (RIS has no field for it: "Title: Subtitle")
};

const Format kFormats[] = {
    {"CSL-JSON", WriteCslJson, ParseCslJson, true},
    {"BibTeX", WriteBibTex, ParseBibTex, true},
    {"RIS", WriteRis, ParseRis, false},
};

// The file's text for one title, and the title it reads back as.
TBuch ThroughFormat(const Format& f, const TBuch& title, std::string& file)
{
    file = f.write({ReferenceOfTitle(title)});
    const ParsedReferences parsed = f.parse(file);
    EXPECT_EQ(parsed.References.size(), 1u);
    TBuch back;
    if (!parsed.References.empty())
        StoreReference(parsed.References[0], back);
    return back;
}

// Every literature type: the overloaded fields leave under the name their
// meaning has in each format (the files against an approved file) and come
// back into the field they came from.
TEST(FieldMeaning, EveryTypeEveryFormatBothWays)
{
    struct Case {
        int32_t typ;
        const char* band;  // Band as typed
        int32_t auflage;   // edition, or a journal's volume
        const char* seiten;
        const char* isbn;
    };
    const char* const issn = "0044-2496";
    const char* const isbn = "978-3-16-148410-0";
    const Case cases[] = {
        {0, "7", 3, "345", isbn}, {1, "7", 2, "345", isbn}, {2, "7", 3, "345", isbn}, {3, "7", 3, "12-45", isbn},
        // A journal's "Jahrgang" is its volume; Band stands in where it is missing.
        {4, "", 39, "123-145", issn}, {4, "XII", -1, "123-145", isbn}, {5, "", 41, "3", issn},
        {6, "7", 3, "", isbn}, {7, "7", 3, "345", isbn}, {8, "7", 3, "345", isbn},
    };
    std::string files;
    for (const Case& c : cases) {
        files += "== type " + std::to_string(c.typ) + " Band " + c.band + "\n";
        for (const Format& f : kFormats) {
            SCOPED_TRACE(std::string(f.name) + " type " + std::to_string(c.typ) + " Band " + c.band);
            TBuch title;
            title.TypNum = c.typ;
            title.Kuerzel.Text = "k";
            title.Titel.Text = "Titel";
            title.AltTitel.Text = "Untertitel";
            title.Autor.Text = "Autor, Anna";
            if (c.typ == 2 || c.typ == 3) // the editors of the edited volume
                title.Herausgeber.Text = "Herausgeber, Hans";
            title.Reihe.Text = "Reihe";
            title.Band.Text = c.band;
            title.Auflage = c.auflage;
            title.HeftNr.Text = "2";
            title.Seiten.Text = c.seiten;
            title.ISBN.Text = c.isbn;
            title.Jahr.Text = "2013";
            title.JahrNum = 2013;
            title.Verlag.Text = "Verlag";
            title.Ort.Text = "Ort";
            std::string file;
            const TBuch back = ThroughFormat(f, title, file);
            files += "-- " + std::string(f.name) + "\n" + file + "\n";

            EXPECT_EQ(std::tuple(back.TypNum, back.Auflage, back.JahrNum), std::tuple(c.typ, c.auflage, 2013));
            EXPECT_EQ((std::vector<std::string>{back.Reihe.Text, back.Band.Text, back.HeftNr.Text, back.Seiten.Text,
                                                back.ISBN.Text, back.Jahr.Text, back.Verlag.Text, back.Ort.Text,
                                                back.Herausgeber.Text, back.Titel.Text, back.AltTitel.Text,
                                                back.Bemerkung.Text}),
                      (std::vector<std::string>{"Reihe", c.band, "2", c.seiten, c.isbn, "2013", "Verlag", "Ort",
                                                title.Herausgeber.Text, f.splitsBack ? "Titel" : "Titel: Untertitel",
                                                f.splitsBack ? "Untertitel" : "", ""}));
        }
    }
    test::ExpectGolden("field-meaning-types.txt", files);
}

// Catalogues typed before there was a place field: "Place: Publisher" in
// Verlag leaves as place and publisher; a foreign file's publisher with the
// place in front comes in split the same way.
TEST(FieldMeaning, PlaceWrittenIntoThePublisher)
{
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        TBuch title;
        title.TypNum = 0;
        title.Titel.Text = "T";
        title.Verlag.Text = Cp1252("Köln: Kiepenheuer & Witsch");
        std::string file;
        const TBuch back = ThroughFormat(f, title, file);
        EXPECT_EQ(file.find("Köln:"), std::string::npos) << file;
        EXPECT_EQ(U(back.Ort.Text), "Köln");
        EXPECT_EQ(back.Verlag.Text, "Kiepenheuer & Witsch");
    }
    const struct {
        const char* verlag;
        const char* place;
        const char* publisher;
    } cases[] = {
        {"Frankfurt am Main : Suhrkamp", "Frankfurt am Main", "Suhrkamp"},
        {"Berlin [u.a.]: de Gruyter", "Berlin [u.a.]", "de Gruyter"},
        {"Suhrkamp", "", "Suhrkamp"},
        {"Verlag 2000: Neue Wege", "", "Verlag 2000: Neue Wege"}, // digits: no place
        {": Suhrkamp", "", ": Suhrkamp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verlag);
        TBuch title;
        title.Verlag.Text = c.verlag;
        const Reference r = ReferenceOfTitle(title);
        EXPECT_EQ(r.Address, c.place);
        EXPECT_EQ(r.Publisher, c.publisher);
    }
}

// Dates as typed, as each format writes them, and back in the editor's form.
TEST(FieldMeaning, DatesInEveryFormat)
{
    // As typed, and back in the editor's form (the files against an approved file).
    const std::pair<const char*, const char*> cases[] = {
        {"2013", "2013"}, {"10.11.1989", "10.11.1989"}, {"10/1989", "10/1989"}, {"November 1989", "11/1989"},
        {"1998/99", "1998/99"}, {"ca. 1900", "ca. 1900"}, {"10.10.1989-05.11.1989", "10.10.1989-05.11.1989"}, {"[2013]", "2013"},
        {"o. J.", "o. J."}, {"demnächst", "demnächst"}, {"31.02.1999", "31.02.1999"}, {"10. Nov. 1989", "10.11.1989"},
        {"1989-11-10", "10.11.1989"}, {"März 2001", "03/2001"}, {"31.01.1999", "31.01.1999"},
        {"01.12.2000", "01.12.2000"}, {"1998 - 2001", "1998-2001"}, {"13/1989", "13/1989"},
    };
    std::string files;
    for (const auto& [jahr, back] : cases) {
        SCOPED_TRACE(jahr);
        TBuch title;
        title.TypNum = 5; // a newspaper article: the month is part of its date
        title.Titel.Text = "T";
        title.Jahr.Text = Cp1252(jahr);
        // For a citation style, "issued" ("o. J." is the style's term).
        const QJsonObject item =
            QJsonDocument::fromJson(QByteArray::fromStdString(WriteCslJsonForCiteproc({ReferenceOfTitle(title)})))
                .array()
                .at(0)
                .toObject();
        files += std::string("== ") + jahr + "\nissued " +
                 QJsonDocument(item.value(QLatin1String("issued")).toObject()).toJson(QJsonDocument::Compact).toStdString() +
                 "\n";
        for (const Format& f : kFormats) {
            SCOPED_TRACE(f.name);
            std::string file;
            const TBuch stored = ThroughFormat(f, title, file);
            files += "-- " + std::string(f.name) + "\n" + file + "\n";
            EXPECT_EQ(std::tuple(U(stored.Jahr.Text), stored.Bemerkung.Text), std::tuple(back, ""));
        }
    }
    test::ExpectGolden("field-meaning-dates.txt", files);
}

// Dates as typed and as the editor shows them again; what is no date stays as typed.
TEST(FieldMeaning, DateTexts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Mai 1989", "05/1989"},           {"November 10, 1989", "10.11.1989"}, {"2013?", "2013"},
        {"1998/1999", "1998/99"},          {"1999/2000", "1999-2000"},          {"1998/2000", "1998-2000"},
        {"1998 – 2001", "1998-2001"},      {"03/2001-05/2001", "03/2001-05/2001"},
        {"01.03.2001-05.03.2001", "01.03.2001-05.03.2001"},
        // No dates:
        {"12", "12"}, {"12345", "12345"}, {"[2013", "[2013"}, {"Sommer 1989", "Sommer 1989"}, {"13/1999", "13/1999"},
        {"2001-1998", "2001-1998"}, {"2001-2001", "2001-2001"}, {"05/2001-05/2001", "05/2001-05/2001"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(Cp1252ToUtf8(IssuedDateText(ParseIssuedDate(Cp1252(text)))), shown) << text;
}

// An ISSN: eight digits, the last may be X, blanks and hyphens aside; the
// number a field starts with, where it fits.
TEST(FieldMeaning, IssnAndLeadingNumbers)
{
    for (const auto& [text, issn] : {std::pair{"0044-2496", true}, {"0044 249x", true}, {"0044-249X", true}, {"0044-X496", false},
                                     {"0044-24967", false}, {"ABCD-EFGH", false}})
        EXPECT_EQ(LooksLikeIssn(text), issn) << text;
    for (const auto& [text, number] : {std::pair{"2007/8", 2007}, {"2147483647", INT32_MAX}, {"2147483648", -1}, {"1989b", 1989},
                                       {"x1", -1}})
        EXPECT_EQ(LeadingNumber(text), number) << text;
}

// Editions as people write them.
TEST(FieldMeaning, EditionTexts)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"3", 3},           {"3rd", 3},       {"Third", 3},          {"Second", 2},  {"second edition", 2},
        {"2nd ed.", 2},     {"zweite", 2},    {"Zweite Auflage", 2}, {"Zweiten", 2}, {"2. Aufl.", 2},
        {"fünfte", 5},      {"1st", 1},       {"erste", 1},          {"Twelfth", 12}, {"Neuausgabe", -1},
        {"", -1},           {"0", -1},        {"achtzigste", -1},    {"revised", -1},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(EditionNumber(Cp1252(text)), number) << text;
}


// BibTeX as people write it: the sorting idiom, macros of the @preamble,
// editions as words, the month of an article.
TEST(FieldMeaning, BibTexAsPeopleWriteIt)
{
    struct Case {
        const char* bib;
        const char* jahr;
        int32_t auflage;
        const char* bemerkung;
    };
    const Case cases[] = {
        {"@preamble{\"\\newcommand{\\noopsort}[1]{} \"}\n"
         "@book{a, title={T}, year={{\\noopsort{1973b}}1973}, edition={Second}}",
         "1973", 2, ""},
        {"@book{a, title={T}, year={\\noopsort{a}1980}, edition={3rd}}", "1980", 3, ""},
        {"@preamble{ \"\\def\\swap#1#2{#2#1} \" # \"\\newcommand{\\hide}[1]{}\"}\n"
         "@book{a, title={T\\hide{x}}, year={\\swap{--90}{1968}}, edition={zweite}}",
         "1968\x96" "90", 2, ""},
        {"@book{a, title={T}, year=1999, edition={2. Aufl.}}", "1999", 2, ""},
        {"@preamble{\"\\def\\swap#1#2{#2#1}\"}\n@book{a, title={T}, year={\\swap 9119}}", "1919", -1, ""},
        // A macro that calls itself ends.
        {"@preamble{\"\\def\\loop#1{\\loop{#1#1}}\"}\n@book{a, title={T}, year={\\loop{x}1999}}", nullptr, -1, ""},
        {"@book{a, title={T}, year=1999, edition={Silver}}", "1999", -1, "edition: Silver"},
        {"@article{a, title={T}, journal={Z}, year=1989, month=nov, day={10}}", "10.11.1989", -1, ""},
        {"@article{a, title={T}, journal={Z}, year=1989, month={November}}", "11/1989", -1, ""},
        {"@article{a, title={T}, journal={Z}, year=1989, month=nov, day={31}}", "11/1989", -1, "day: 31"},
        {"@article{a, title={T}, journal={Z}, date={{1989}-11-10}}", "10.11.1989", -1, ""},
        {"@article{a, title={T}, journal={Z}, year=1989, month={Fasching}}", "1989", -1, "month: Fasching"},
        {"@book{a, title={T}, year=1989, month=nov}", "1989", -1, "month: November"}, // a book's year
        {"@article{a, title={T}, journal={Z}, year=1989, volume={0}}", "1989", -1, ""}, // volume 0 stays in Band,
        {"@article{a, title={T}, journal={Z}, year=1989, volume={12a}}", "1989", -1, ""}, // as does 12a
        {"@incollection{a, title={T}, booktitle={B}, year=1989, month=nov}", "1989", -1, "month: November"},
        {"@booklet{a, title={T}, year=1988, month=feb}", "02/1988", -1, ""},
        // Both a series number and a volume: the type says which one is Band.
        {"@book{a, title={T}, series={S}, year=1999, number={4}, volume={2}}", "1999", -1, "Band: 2"},
        {"@phdthesis{a, title={T}, series={S}, year=1999, number={4}, volume={2}}", "1999", -1,
         "Nummer in der Reihe: 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bib);
        const ParsedReferences parsed = ParseBibTex(c.bib);
        ASSERT_EQ(parsed.References.size(), 1u);
        TBuch b;
        StoreReference(parsed.References[0], b);
        EXPECT_EQ(b.Titel.Text, "T");
        if (c.jahr) {
            EXPECT_EQ(b.Jahr.Text, c.jahr);
        }
        EXPECT_EQ(b.Auflage, c.auflage);
        EXPECT_EQ(b.Bemerkung.Text, c.bemerkung);
    }
}


// RIS dates as other producers write them.
TEST(FieldMeaning, RisDatesOfOtherProducers)
{
    const std::pair<const char*, const char*> cases[] = {
        {"PY  - 1989///", "1989"},
        {"PY  - 1989/11/10/", "10.11.1989"},
        {"PY  - 1989/11/10", "10.11.1989"},
        {"DA  - 2001///\r\nY1  - 1999/05/01/", "2001"}, // DA first
        {"PY  - 2004\r\nDA  - 2004/05//", "05/2004"},
        {"Y1  - 1999/05/01/", "01.05.1999"},
        {"DA  - 1999///Frühjahr\r\nPY  - 1999", "1999"},
        {"PY  - 1998/99", "1998/99"},
    };
    for (const auto& [tags, jahr] : cases) {
        SCOPED_TRACE(tags);
        const ParsedReferences parsed = ParseRis(std::string("TY  - JOUR\r\nTI  - T\r\n") + tags + "\r\nER  - \r\n");
        ASSERT_EQ(parsed.References.size(), 1u);
        EXPECT_EQ(parsed.References[0].Year, jahr);
    }
}

} // namespace
} // namespace folianto
