#include "exchange/BibTexImport.h"
#include "exchange/CslBibliography.h"
#include "exchange/ExchangeTestUtil.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace folianto {
namespace {

using test::U;

// pandoc's entries for a bibliography file it reads itself (CSL-JSON or
// BibTeX), in the locale the program gives the style.
std::vector<std::string> PandocEntries(const std::string& file, const std::string& name, const CslStyle& style)
{
    QTemporaryDir dir;
    const QString bib = dir.filePath(QString::fromStdString(name));
    QFile out(bib);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file.data(), static_cast<qint64>(file.size()));
    out.close();
    QProcess pandoc;
    pandoc.start(QStringLiteral("pandoc"),
                 {QStringLiteral("--from=markdown"), QStringLiteral("--to=plain"), QStringLiteral("--citeproc"),
                  QStringLiteral("--csl=") + QString::fromStdString(style.Path), QStringLiteral("--bibliography=") + bib,
                  QStringLiteral("--wrap=none")});
    const std::string lang = style.Locale.empty() ? "de-DE" : style.Locale;
    pandoc.write(QByteArray::fromStdString("---\nnocite: '@*'\nlang: " + lang + "\n---\n"));
    pandoc.closeWriteChannel();
    EXPECT_TRUE(pandoc.waitForFinished(60000));
    std::vector<std::string> entries;
    for (const QString& e : QString::fromUtf8(pandoc.readAllStandardOutput()).split(QStringLiteral("\n\n")))
        if (!e.trimmed().isEmpty())
            entries.push_back(e.trimmed().toStdString());
    return entries;
}

std::vector<std::string> OurEntries(const std::vector<Reference>& refs, const CslStyle& style)
{
    const CiteprocResult r = RunCiteproc(refs, style, "plain", false);
    EXPECT_TRUE(r.ok()) << U(r.Error);
    std::vector<std::string> entries;
    for (const QString& e : QString::fromUtf8(r.Bytes.c_str()).split(QRegularExpression(QStringLiteral("\r?\n\r?\n"))))
        if (!e.trimmed().isEmpty())
            entries.push_back(e.trimmed().toStdString());
    return entries;
}

// One title of each literature type, typed as the editor stores it, set in
// two styles entry by entry as pandoc sets a CSL-JSON item written by hand
// after what the title means.
TEST(CitationMeaning, EveryTypeAsItsMeaningIsSet)
{
    REQUIRE_PANDOC();
    struct Case {
        const char* kind;
        std::function<void(TBuch&)> type;
        const char* meaning; // the CSL-JSON item, without its id
    };
    const Case cases[] = {
        {"Monographie",
         [](TBuch& b) {
             b.TypNum = 0;
             b.Autor.Text = "Assmann, Aleida";
             b.Titel.Text = "Das neue Unbehagen an der Erinnerungskultur";
             b.AltTitel.Text = "Eine Intervention";
             b.Ort.Text = Cp1252("München");
             b.Verlag.Text = "C.H. Beck";
             b.Jahr.Text = "2013";
             b.JahrNum = 2011;
             b.Auflage = 2;
             b.Seiten.Text = "232";
         },
         R"("type": "book", "author": [{"family": "Assmann", "given": "Aleida"}],
            "title": "Das neue Unbehagen an der Erinnerungskultur: Eine Intervention", "edition": "2",
            "publisher": "C.H. Beck", "publisher-place": "München", "issued": {"date-parts": [[2013]]},
            "number-of-pages": "232", "language": "de")"},
        {"Hochschulschrift",
         [](TBuch& b) {
             b.TypNum = 1;
             b.Autor.Text = Cp1252("Müller, Karin");
             b.Titel.Text = "Stadtsprache im Wandel";
             b.Reihe.Text = "Dissertation";
             b.Verlag.Text = Cp1252("Universität Leipzig");
             b.Ort.Text = "Leipzig";
             b.Jahr.Text = "2009";
         },
         R"("type": "thesis", "author": [{"family": "Müller", "given": "Karin"}], "title": "Stadtsprache im Wandel",
            "genre": "Dissertation", "publisher": "Universität Leipzig", "publisher-place": "Leipzig",
            "issued": {"date-parts": [[2009]]}, "language": "de")"},
        {"Sammelwerk, Ort im Verlag getippt",
         [](TBuch& b) {
             b.TypNum = 2;
             b.Herausgeber.Text = "Meier, Anna; Kunz, Otto";
             b.Titel.Text = "Handbuch der Briefkultur";
             b.Reihe.Text = "Schriften zur Kultur";
             b.Band.Text = "12";
             b.Verlag.Text = "Berlin: de Gruyter";
             b.Jahr.Text = "2015";
             b.Auflage = 1;
         },
         R"("type": "book", "editor": [{"family": "Meier", "given": "Anna"}, {"family": "Kunz", "given": "Otto"}],
            "title": "Handbuch der Briefkultur", "collection-title": "Schriften zur Kultur", "collection-number": "12",
            "publisher": "de Gruyter", "publisher-place": "Berlin", "issued": {"date-parts": [[2015]]},
            "language": "de")"},
        {"Sammelwerkbeitrag",
         [](TBuch& b) {
             b.TypNum = 3;
             b.Autor.Text = "Schmidt, Eva";
             b.Titel.Text = "Briefe im Exil";
             b.Reihe.Text = "Handbuch der Briefkultur";
             b.Herausgeber.Text = "Meier, Anna; Kunz, Otto";
             b.Verlag.Text = "de Gruyter";
             b.Ort.Text = "Berlin";
             b.Jahr.Text = "2015";
             b.Seiten.Text = "123-145";
         },
         R"("type": "chapter", "author": [{"family": "Schmidt", "given": "Eva"}], "title": "Briefe im Exil",
            "container-title": "Handbuch der Briefkultur",
            "editor": [{"family": "Meier", "given": "Anna"}, {"family": "Kunz", "given": "Otto"}],
            "publisher": "de Gruyter", "publisher-place": "Berlin", "issued": {"date-parts": [[2015]]},
            "page": "123-145", "language": "de")"},
        {"Zeitschriftenaufsatz",
         [](TBuch& b) {
             b.TypNum = 4;
             b.Autor.Text = "Weber, Jonas";
             b.Titel.Text = "Kasus im Wandel";
             b.Reihe.Text = Cp1252("Zeitschrift für Sprachwissenschaft");
             b.Auflage = 39;
             b.HeftNr.Text = "2";
             b.Jahr.Text = "2020";
             b.JahrNum = 2020;
             b.Seiten.Text = "123-145";
             b.ISBN.Text = "0721-9067";
         },
         R"("type": "article-journal", "author": [{"family": "Weber", "given": "Jonas"}], "title": "Kasus im Wandel",
            "container-title": "Zeitschrift für Sprachwissenschaft", "volume": "39", "issue": "2",
            "issued": {"date-parts": [[2020]]}, "page": "123-145", "ISSN": "0721-9067", "language": "de")"},
        {"Zeitungsartikel",
         [](TBuch& b) {
             b.TypNum = 5;
             b.Autor.Text = Cp1252("Müller, Karl");
             b.Titel.Text = "Die Mauer ist offen";
             b.Reihe.Text = "Die Zeit";
             b.HeftNr.Text = "46";
             b.Jahr.Text = "10.11.1989";
             b.JahrNum = 10; // what the editor's number of "10.11.1989" is
             b.Seiten.Text = "3";
         },
         R"("type": "article-newspaper", "author": [{"family": "Müller", "given": "Karl"}],
            "title": "Die Mauer ist offen", "container-title": "Die Zeit", "issue": "46",
            "issued": {"date-parts": [[1989, 11, 10]]}, "page": "3", "language": "de")"},
        {"Audio-visuelles Material",
         [](TBuch& b) {
             b.TypNum = 6;
             b.Autor.Text = "Wenders, Wim";
             b.Titel.Text = Cp1252("Der Himmel über Berlin");
             b.Verlag.Text = "Road Movies";
             b.Jahr.Text = "1987";
             b.Medium.Text = "DVD";
         },
         R"("type": "motion_picture", "author": [{"family": "Wenders", "given": "Wim"}],
            "title": "Der Himmel über Berlin", "publisher": "Road Movies", "issued": {"date-parts": [[1987]]},
            "medium": "DVD", "language": "de")"},
        {"graue Literatur",
         [](TBuch& b) {
             b.TypNum = 7;
             b.Autor.Text = Cp1252("Institut für Zeitgeschichte");
             b.Titel.Text = "Jahresbericht";
             b.HeftNr.Text = "7";
             b.Verlag.Text = "IfZ";
             b.Ort.Text = Cp1252("München");
             b.Jahr.Text = "ca. 2019";
         },
         R"("type": "report", "author": [{"literal": "Institut für Zeitgeschichte"}], "title": "Jahresbericht",
            "number": "7", "publisher": "IfZ", "publisher-place": "München",
            "issued": {"date-parts": [[2019]], "circa": true}, "language": "de")"},
    };
    for (const char* name : {"din-1505-2", "apa"}) {
        const CslStyleLookup style = FindCslStyle(name);
        ASSERT_TRUE(style.Style) << style.Error;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + ", " + c.kind);
            TBuch title;
            c.type(title);
            const std::vector<std::string> ours = OurEntries({ReferenceOfTitle(title)}, *style.Style);
            const std::vector<std::string> meant =
                PandocEntries(std::string("[{\"id\": \"m\", ") + c.meaning + "}]", "m.json", *style.Style);
            ASSERT_EQ(meant.size(), 1u);
            EXPECT_EQ(ours, meant);
        }
    }
}

// A real, widely used BibTeX file (the example file that comes with BibTeX)
// imported, and each entry set in APA as pandoc sets it from the file itself.
// The entries that differ do so for the reasons listed; any other entry must
// be the same.
TEST(CitationMeaning, ImportedExampleFileSetLikeTheFileItself)
{
    REQUIRE_PANDOC();
    const std::string bib = test::ReadFixture("bib", "xampl.bib");
    const CslStyleLookup apa = FindCslStyle("apa");
    ASSERT_TRUE(apa.Style);
    const ParsedReferences parsed = ParseBibTex(bib);
    ASSERT_EQ(parsed.References.size(), 36u);
    std::vector<Reference> refs;
    for (const Reference& r : parsed.References) {
        TBuch title; // through the title record, as an import stores it
        StoreReference(r, title);
        title.Kuerzel.Text = r.Key;
        refs.push_back(ReferenceOfTitle(title));
    }
    const std::vector<std::string> ours = OurEntries(refs, *apa.Style);
    const std::vector<std::string> theirs = PandocEntries(bib, "xampl.bib", *apa.Style);
    ASSERT_EQ(ours.size(), 36u);
    ASSERT_EQ(theirs.size(), 36u);
    const std::set<std::string> same(theirs.begin(), theirs.end());
    std::size_t identical = 0;
    for (const std::string& e : ours) {
        identical += same.count(e);
        // No year twice, no sorting key printed, editions as numbers.
        EXPECT_EQ(e.find("1973b1973"), std::string::npos) << e;
        EXPECT_EQ(e.find("noopsort"), std::string::npos) << e;
        EXPECT_EQ(e.find("Second"), std::string::npos) << e;
        EXPECT_EQ(e.find("Third"), std::string::npos) << e;
    }
    EXPECT_GE(identical, 12u);
}

} // namespace
} // namespace folianto
