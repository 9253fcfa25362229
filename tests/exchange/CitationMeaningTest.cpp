#include "exchange/BibTexImport.h"
#include "exchange/CslBibliography.h"
#include "exchange/ExchangeTestUtil.h"

#include <QProcess>
#include <QRegularExpression>

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
    using Texts = std::vector<std::pair<TBuchRec TBuch::*, const char*>>; // UTF-8
    struct Case {
        const char* kind;
        int32_t typ;
        Texts texts;
        int32_t jahrNum, auflage; // -1: none
        const char* meaning; // the CSL-JSON item, without its id
    };
    const Case cases[] = {
        {"Monographie", 0,
         {{&TBuch::Autor, "Assmann, Aleida"}, {&TBuch::Titel, "Das neue Unbehagen an der Erinnerungskultur"},
          {&TBuch::AltTitel, "Eine Intervention"}, {&TBuch::Ort, "München"}, {&TBuch::Verlag, "C.H. Beck"},
          {&TBuch::Jahr, "2013"}, {&TBuch::Seiten, "232"}},
         2011, 2,
         R"("type": "book", "author": [{"family": "Assmann", "given": "Aleida"}],
            "title": "Das neue Unbehagen an der Erinnerungskultur: Eine Intervention", "edition": "2",
            "publisher": "C.H. Beck", "publisher-place": "München", "issued": {"date-parts": [[2013]]},
            "number-of-pages": "232", "language": "de")"},
        {"Hochschulschrift", 1,
         {{&TBuch::Autor, "Müller, Karin"}, {&TBuch::Titel, "Stadtsprache im Wandel"},
          {&TBuch::Reihe, "Dissertation"}, {&TBuch::Verlag, "Universität Leipzig"}, {&TBuch::Ort, "Leipzig"},
          {&TBuch::Jahr, "2009"}},
         -1, -1,
         R"("type": "thesis", "author": [{"family": "Müller", "given": "Karin"}], "title": "Stadtsprache im Wandel",
            "genre": "Dissertation", "publisher": "Universität Leipzig", "publisher-place": "Leipzig",
            "issued": {"date-parts": [[2009]]}, "language": "de")"},
        {"Sammelwerk, Ort im Verlag getippt", 2,
         {{&TBuch::Herausgeber, "Meier, Anna; Kunz, Otto"}, {&TBuch::Titel, "Handbuch der Briefkultur"},
          {&TBuch::Reihe, "Schriften zur Kultur"}, {&TBuch::Band, "12"}, {&TBuch::Verlag, "Berlin: de Gruyter"},
          {&TBuch::Jahr, "2015"}},
         -1, 1,
         R"("type": "book", "editor": [{"family": "Meier", "given": "Anna"}, {"family": "Kunz", "given": "Otto"}],
            "title": "Handbuch der Briefkultur", "collection-title": "Schriften zur Kultur", "collection-number": "12",
            "publisher": "de Gruyter", "publisher-place": "Berlin", "issued": {"date-parts": [[2015]]},
            "language": "de")"},
        {"Sammelwerkbeitrag", 3,
         {{&TBuch::Autor, "Schmidt, Eva"}, {&TBuch::Titel, "Briefe im Exil"},
          {&TBuch::Reihe, "Handbuch der Briefkultur"}, {&TBuch::Herausgeber, "Meier, Anna; Kunz, Otto"},
          {&TBuch::Verlag, "de Gruyter"}, {&TBuch::Ort, "Berlin"}, {&TBuch::Jahr, "2015"},
          {&TBuch::Seiten, "123-145"}},
         -1, -1,
         R"("type": "chapter", "author": [{"family": "Schmidt", "given": "Eva"}], "title": "Briefe im Exil",
            "container-title": "Handbuch der Briefkultur",
            "editor": [{"family": "Meier", "given": "Anna"}, {"family": "Kunz", "given": "Otto"}],
            "publisher": "de Gruyter", "publisher-place": "Berlin", "issued": {"date-parts": [[2015]]},
            "page": "123-145", "language": "de")"},
        {"Zeitschriftenaufsatz", 4,
         {{&TBuch::Autor, "Weber, Jonas"}, {&TBuch::Titel, "Kasus im Wandel"},
          {&TBuch::Reihe, "Zeitschrift für Sprachwissenschaft"}, {&TBuch::HeftNr, "2"}, {&TBuch::Jahr, "2020"},
          {&TBuch::Seiten, "123-145"}, {&TBuch::ISBN, "0721-9067"}},
         2020, 39,
         R"("type": "article-journal", "author": [{"family": "Weber", "given": "Jonas"}], "title": "Kasus im Wandel",
            "container-title": "Zeitschrift für Sprachwissenschaft", "volume": "39", "issue": "2",
            "issued": {"date-parts": [[2020]]}, "page": "123-145", "ISSN": "0721-9067", "language": "de")"},
        {"Zeitungsartikel", 5,
         {{&TBuch::Autor, "Müller, Karl"}, {&TBuch::Titel, "Die Mauer ist offen"}, {&TBuch::Reihe, "Die Zeit"},
          {&TBuch::HeftNr, "46"}, {&TBuch::Jahr, "10.11.1989"}, {&TBuch::Seiten, "3"}},
         10, -1, // what the editor's number of "10.11.1989" is
         R"("type": "article-newspaper", "author": [{"family": "Müller", "given": "Karl"}],
            "title": "Die Mauer ist offen", "container-title": "Die Zeit", "issue": "46",
            "issued": {"date-parts": [[1989, 11, 10]]}, "page": "3", "language": "de")"},
        {"Audio-visuelles Material", 6,
         {{&TBuch::Autor, "Wenders, Wim"}, {&TBuch::Titel, "Der Himmel über Berlin"}, {&TBuch::Verlag, "Road Movies"},
          {&TBuch::Jahr, "1987"}, {&TBuch::Medium, "DVD"}},
         -1, -1,
         R"("type": "motion_picture", "author": [{"family": "Wenders", "given": "Wim"}],
            "title": "Der Himmel über Berlin", "publisher": "Road Movies", "issued": {"date-parts": [[1987]]},
            "medium": "DVD", "language": "de")"},
        {"graue Literatur", 7,
         {{&TBuch::Autor, "Institut für Zeitgeschichte"}, {&TBuch::Titel, "Jahresbericht"}, {&TBuch::HeftNr, "7"},
          {&TBuch::Verlag, "IfZ"}, {&TBuch::Ort, "München"}, {&TBuch::Jahr, "ca. 2019"}},
         -1, -1,
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
            title.TypNum = c.typ;
            for (const auto& [field, text] : c.texts)
                (title.*field).Text = Cp1252(text);
            title.JahrNum = c.jahrNum;
            title.Auflage = c.auflage;
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
