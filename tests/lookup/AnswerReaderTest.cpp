// The readers of what the sources answer, over answers written from the
// formats' documentation (tests/data/lookup).

#include "core/Buch.h"
#include "exchange/ExchangeTestUtil.h"
#include "lookup/MarcReader.h"
#include "lookup/OpenLibraryReader.h"
#include "workspace/ColumnModel.h"
#include "exchange/RisExport.h"
#include "support/Golden.h"

#include <cstring>

namespace folianto {
namespace {

using Kind = SourceAnswer::Kind;

// Every answer through each reader: the verdict (found, not found or failed),
// the reason, the editions (as RIS) and the first one stored as a title (its
// columns and whether Quelle is a link), against an approved file.
TEST(LookupAnswers, EveryAnswerThroughEveryReader)
{
    const std::pair<const char*, SourceAnswer (*)(const std::string&)> readers[] = {
        {"SRU", ReadSruMarcAnswer}, {"Open Library", ReadOpenLibraryAnswer}, {"CSL-JSON", ReadCslJsonAnswer}};
    std::string out;
    for (const QString& file : QDir(QStringLiteral(FOLIANTO_TEST_DATA "/lookup")).entryList(QDir::Files, QDir::Name))
        for (const auto& [reader, read] : readers) {
            const SourceAnswer a = read(test::ReadFixture("lookup", file.toStdString().c_str()));
            out += "== " + file.toStdString() + " as " + reader + ": " +
                   (a.kind == Kind::Found ? "found" : a.kind == Kind::NotFound ? "not found" : "failed") +
                   (a.Reason.empty() ? "" : ", " + Cp1252ToUtf8(a.Reason)) + "\r\n" + WriteRis(a.Editions);
            if (a.Editions.empty())
                continue;
            TBuch b;
            StoreReference(a.Editions.front(), b);
            out += std::string("-- as a title") + ((b.TypNum & LinkFlag) ? ", Quelle a link" : "") + "\r\n";
            for (int col = 0; col < ColumnCount; ++col)
                if (const std::string cell = ColumnModel::CellText(b, col); !cell.empty())
                    out += std::to_string(col) + ": " + Cp1252ToUtf8(cell) + "\r\n";
        }
    test::ExpectGolden("lookup-answers.txt", out);
}

// An SRU answer of one MARC record written as "TAG_I $aValue$bValue" lines
// (I: the second indicator); a tag below 010 is a control field, a line
// starting with '<' goes in as it is.
std::string MarcAnswer(const std::vector<std::string>& fields)
{
    std::string record;
    for (const std::string& f : fields) {
        if (f[0] == '<') {
            record += f;
            continue;
        }
        if (f.compare(0, 2, "00") == 0) {
            record += "<controlfield tag=\"" + f.substr(0, 3) + "\">" + f.substr(4) + "</controlfield>";
            continue;
        }
        record += "<datafield tag=\"" + f.substr(0, 3) + "\" ind1=\" \" ind2=\"" + f.substr(4, 1) + "\">";
        for (std::size_t at = f.find('$'); at != std::string::npos;) {
            const std::size_t next = f.find('$', at + 1);
            record += "<subfield code=\"" + f.substr(at + 1, 1) + "\">" + f.substr(at + 2, next - at - 2) + "</subfield>";
            at = next;
        }
        record += "</datafield>";
    }
    return "<searchRetrieveResponse><numberOfRecords>1</numberOfRecords><records><record><recordData>"
           "<record xmlns=\"http://www.loc.gov/MARC21/slim\">" + record +
           "</record></recordData></record></records></searchRetrieveResponse>";
}

// How the fields of a MARC record become the title: roles, the imprint
// chosen, years, pages, series, keywords, links, ISBNs and theses.
TEST(LookupAnswers, MarcFieldsAsTheTitleHoldsThem)
{
    const struct {
        std::vector<std::string> fields;
        const char* title; // type|authors|editors|place|publisher|year|pages|series|language|keywords|url|isbn|genre
    } cases[] = {
        {{"<foreign><x>y</x></foreign>", "100_ $aEins, A$4aut", "700_ $aZwei, B$4edt", "700_ $aDrei, C$eVerf.",
          "700_ $aVier, D$eauthor", "700_ $aFünf, E$eAutorin", "700_ $aSechs, F$eHrsg.",
          "700_ $aSieben, G$eHerausgeber", "700_ $aAcht, H$eeditor", "700_ $aNeun, I$eed.",
          "700_ $aZehn, J$eIllustrator", "700_ $aElf, K$4ill",
          "700_ $aZwölf, L", "245_ $aTitel :$bUntertitel /", "264_4 $c© 2018", "264_3 $aFalsch$bNein$c2001",
          "264_1 $a[Wien] [u.a.] :$bVerlag,$c[2019]", "300_ $aXII, 344 Seiten", "490_ $aReihe ;$v12",
          "830_ $aAndere", "689_ $aA; B", "650_ $aC", "650_ $aC", "856_ $3Cover$uhttp://c",
          "856_ $3Inhaltsverzeichnis$u http://toc ", "020_ $cEUR 10", "020_ $a978-3-16-148410-0 (kart.)",
          "008 190312s2017    gw ||||| |||| 00||||eng  "},
         "0|Eins, A; Drei, C; Vier, D; Fünf, E; Zwölf, L|Zwei, B; Sechs, F; Sieben, G; Acht, H; Neun, I|Wien|Verlag|2019|XII, "
         "344|Reihe|englisch|A, B; C|http://toc|978-3-16-148410-0|"},
        {{"700_ $aZwei, B$eHrsg.", "245_ $aT", "264_4 $c2018", "264_2 $aOrt$bVertrieb ;,$cc2017", "300_ $a344 S. : Ill.",
          "830_ $aAndere / ;", "<foreign>", "041_ $afre", "</foreign>"},
         "2||Zwei, B|Ort|Vertrieb|2017|344|Andere|französisch||||"},
        {{"245_ $aT", "260_ $aBerlin$bV$cohne Jahr", "300_ $a12 Sp.", "008 190312s1999    gw ||||| |||| 00||||ger  "},
         "0|||Berlin|V|1999|||deutsch||||"},
        {{"245_ $aT", "260_ $cca. 12345 und 1888", "300_ $a1 Band"}, "0|||||1888|||||||"},
        {{"100_ $aRoth, C", "245_ $aT", "502_ $aDissertation, Universität Wien, 2018"},
         "1|Roth, C|||Universität Wien||||||||Dissertation"},
        {{"245_ $aT", "264_1 $bV", "502_ $bHabilitation$cUni Graz"}, "1||||Uni Graz||||||||Habilitation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const SourceAnswer a = ReadSruMarcAnswer(MarcAnswer(c.fields));
        ASSERT_EQ(a.Editions.size(), 1u) << a.Reason;
        const Reference& r = a.Editions[0];
        const std::string shown = std::to_string(r.Typ) + "|" + JoinListText(r.Authors, "; ") + "|" +
                                  JoinListText(r.Editors, "; ") + "|" + r.Address + "|" + r.Publisher + "|" + r.Year +
                                  "|" + r.PageCount + "|" + r.Series + "|" + r.Language + "|" +
                                  JoinListText(r.Keywords, "; ") + "|" + r.Url + "|" + r.Isbn + "|" + r.Genre;
        EXPECT_EQ(Cp1252ToUtf8(shown), c.title);
    }
    // A record of nothing readable is no "not found", also where the count is missing.
    std::string unreadable = MarcAnswer({"300_ $a12 S."});
    unreadable.erase(unreadable.find("<numberOfRecords>"), std::strlen("<numberOfRecords>1</numberOfRecords>"));
    EXPECT_EQ(ReadSruMarcAnswer(unreadable).Reason, "Antwort ohne lesbaren MARC-21-Datensatz");
    // An answer cut off after a whole record keeps the record.
    const std::string whole = MarcAnswer({"245_ $aT"});
    EXPECT_EQ(ReadSruMarcAnswer(whole.substr(0, whole.find("</records>"))).Editions.size(), 1u);
}

// Open Library's free-form dates, page counts and names.
TEST(LookupAnswers, OpenLibraryYearsPagesAndNames)
{
    const struct {
        const char* book; // members besides the title
        const char* year;
        const char* pages;
        const char* authors;
    } cases[] = {
        {R"("publish_date": "2005", "number_of_pages": 1, "authors": [{"name": "Plato"}])", "2005", "1", "Plato"},
        {R"("publish_date": "2005-03-01", "number_of_pages": 1000000, "authors": [{"name": "Example, Ada"}])", "2005",
         "", "Example, Ada"},
        {R"("publish_date": "12345", "number_of_pages": "12")", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.book);
        const SourceAnswer a =
            ReadOpenLibraryAnswer(std::string(R"({"ISBN:1": {"title": "T", )") + c.book + "}}");
        ASSERT_EQ(a.Editions.size(), 1u);
        EXPECT_EQ(a.Editions[0].Year, c.year);
        EXPECT_EQ(a.Editions[0].PageCount, c.pages);
        EXPECT_EQ(JoinListText(a.Editions[0].Authors, "; "), c.authors);
    }
    EXPECT_EQ(ReadOpenLibraryAnswer("[]").Reason, "Antwort ist kein JSON-Objekt");
}

// Records inside recordData sent as escaped text, or wrapped in a collection.
TEST(LookupAnswers, ReadsRecordsEscapedOrWrapped)
{
    const std::string bytes = test::ReadFixture("lookup", "sru-one-edition.xml");
    const std::size_t from = bytes.find("<record xmlns=\"http://www.loc.gov/MARC21/slim\"");
    const std::size_t to = bytes.find("</record>", from) + 9;
    const std::string marc = bytes.substr(from, to - from);
    std::string escaped;
    for (char c : marc)
        escaped += c == '<' ? std::string("&lt;") : c == '&' ? std::string("&amp;") : std::string(1, c);
    for (const std::string& record : {escaped, "<collection xmlns=\"http://www.loc.gov/MARC21/slim\">" + marc +
                                                   "</collection>"}) {
        SCOPED_TRACE(record.substr(0, 12));
        std::string answer = std::string(bytes).replace(from, to - from, record);
        const std::size_t records = answer.find("<records>") + 9;
        answer.insert(records, answer.substr(records, answer.find("</records>") - records)); // twice
        const SourceAnswer a = ReadSruMarcAnswer(answer);
        ASSERT_EQ(a.Editions.size(), 2u);
        EXPECT_EQ(a.Editions.back().Title, "Die Bibliothek als Ort");
    }
}

} // namespace
} // namespace folianto
