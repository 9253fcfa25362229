#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/CslJson.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"

namespace folianto {
namespace {

using test::TestApp;
using test::U;
using test::ReadFixture;

// The problems of a parse as "line: text" (UTF-8), dropped ones marked "!".
std::vector<std::string> Problems(const ParsedReferences& p)
{
    std::vector<std::string> out;
    for (const ImportProblem& problem : p.Problems)
        out.push_back((problem.Dropped ? "!" : "") + std::to_string(problem.Line) + ": " + U(problem.Text));
    return out;
}

// The kinds of thesis as BibTeX entry types and back (every literature type
// through every format is in the approved files of the field meanings).
TEST(ReferenceTypes, ThesesSurviveTheirEntryType)
{
    for (const auto& [reihe, bib] : {std::pair{"Dissertation", "phdthesis"}, {"Diplomarbeit", "mastersthesis"},
                                     {"MA-Arbeit", "mastersthesis"}}) {
        SCOPED_TRACE(reihe);
        TBuch title;
        title.TypNum = 1;
        title.Reihe.Text = reihe;
        title.Titel.Text = "T";
        const Reference r = ReferenceOfTitle(title);
        EXPECT_EQ(BibTexEntryType(r), bib);
        const ParsedReferences back = ParseBibTex(WriteBibTex({r}));
        ASSERT_EQ(back.References.size(), 1u);
        TBuch stored;
        StoreReference(back.References[0], stored);
        EXPECT_EQ(std::tuple(stored.TypNum, stored.Reihe.Text), std::tuple(1, reihe));
    }
    // Other producers' types.
    for (const auto& [type, typ] : {std::pair{"inproceedings", 3}, {"techreport", 7}, {"online", 6}, {"proceedings", 2},
                                    {"unknowntype", 8}})
        EXPECT_EQ(TypOfBibTexEntry(type, false, ""), typ) << type;
    EXPECT_EQ(std::tuple(TypOfRisType("MGZN"), TypOfRisType("RPRT"), TypOfRisType("XYZ")), std::tuple(5, 7, 8));
}

TEST(BibTexExport, KeysAreSafeAndUniqueInTheFile)
{
    EXPECT_EQ(BibTexKey(Cp1252("Mül001")), "Muel001");
    EXPECT_EQ(std::tuple(BibTexKey(Cp1252("Öz Straße, é{}")), BibTexKey(Cp1252("Mił001 Čap &#1; 文")), BibTexKey("")),
              std::tuple("OezStrassee", "Mil001Cap1", "titel"));
    // Every letter of Windows-1252: accented ones lose the accent, the rest is dropped.
    EXPECT_EQ(BibTexKey("@AZ[`az{/09:"), "AZaz/09:");
    EXPECT_EQ(BibTexKey(Cp1252("ŠŒŽšœžŸ ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß")),
              "SZszY" "AAAAAeACEEEEIIIINOOOOOeUUUUeYss");
    EXPECT_EQ(BibTexKey(Cp1252("àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ")), "aaaaaeaceeeeiiiinoooooeuuuueyy");
    std::vector<Reference> refs(3);
    refs[0].Key = "K1";
    refs[1].Key = "k1";
    refs[2].Key = "K1";
    const std::string bib = WriteBibTex(refs);
    EXPECT_NE(bib.find("@misc{K1,"), std::string::npos);
    EXPECT_NE(bib.find("@misc{k1_2,"), std::string::npos);
    EXPECT_NE(bib.find("@misc{K1_3,"), std::string::npos);
}

TEST(BibTexImport, NamesSplitAtAndOutsideBraces)
{
    struct Case {
        const char* value;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"Doe, John and Roe, Jane", {"Doe, John", "Roe, Jane"}},
        {"Hans M{\\\"u}ller", {"M{\\\"u}ller, Hans"}},
        {"Johann Wolfgang von Goethe", {"von Goethe, Johann Wolfgang"}},
        {"{Smith and Sons} AND Plato", {"{Smith and Sons}", "Plato"}},
        {"de la Fontaine", {"de la Fontaine"}},
        {"Werner, B\\\"arbel\nand ", {"Werner, B\\\"arbel"}}, // a trailing "and" names nobody
        {"and and", {}},
        {"Anderson, Sandra", {"Anderson, Sandra"}},
        {"Ada Lovelace and Hans zu Zweig and Anna am Ende", {"Lovelace, Ada", "zu Zweig, Hans", "am Ende, Anna"}},
        {"Doe, J. and X", {"Doe, J.", "X"}}, // the list ends at its last character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(SplitBibNames(c.value), c.names);
    }
}

TEST(BibTexImport, DamagedInputIsReportedByLineAndTheRestKept)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t taken;
        std::vector<std::string> problems; // "!" = dropped; matched as prefixes
    };
    const std::string good = "@book{ok, title={Gut}}\n";
    const Case cases[] = {
        {"unterminated entry", good + "@book{kaputt, title={Offen\nauthor = {A}\n" + good, 2,
         {"!2: Eintrag „kaputt“ ist nicht abgeschlossen"}},
        {"unterminated at the end", good + "@article{ende, title = {x}", 1, {"!2: Eintrag „ende“ ist nicht"}},
        {"garbage lines", "irgendein Text\nnoch mehr\n" + good + "% Kommentar\n" + good, 2,
         {"1: Text außerhalb"}},
        {"syntax error", good + "@book{falsch, title {ohne Gleichheitszeichen}}\n" + good, 2,
         {"!2: Eintrag „falsch“ ist fehlerhaft"}},
        {"blank after the at sign", "@ book{ok, title={Gut}}\n", 1, {}},
        {"type and brace on two lines", "@book\n{ok, title={Gut}}\n@book{falsch, title {x}}\n", 1,
         {"!3: Eintrag „falsch“ ist fehlerhaft"}},
        {"undefined macro", "@book{m, title = unbekannt, year = 2000}\n", 1, {"1: Eintrag „m“: unbekanntes"}},
        {"binary garbage", std::string("\x00\xFF\x01@@{\x80\n", 8) + good, 1, {"1: Text außerhalb"}},
        {"nul byte inside", std::string("@book{n, title={a") + '\0' + "b}}\n", 1, {}},
        {"missing crossref", "@incollection{c, title={x}, crossref={fehlt}}\n", 1, {"1: Querverweis „fehlt“"}},
        {"empty file", "", 0, {}},
        {"kept LaTeX of 200 characters, then more", "@book{l, title = {\\" + std::string(199, 'q') + " \\zwei}}", 1,
         {"1: LaTeX ohne Entsprechung, unverändert übernommen: \\" + std::string(199, 'q') + ", \\zwei"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedReferences p = ParseBibTex(c.bytes);
        EXPECT_EQ(p.References.size(), c.taken);
        const std::vector<std::string> problems = Problems(p);
        ASSERT_EQ(problems.size(), c.problems.size()) << (problems.empty() ? "" : problems[0]);
        for (std::size_t i = 0; i < problems.size(); ++i)
            EXPECT_EQ(problems[i].substr(0, std::string(c.problems[i]).size()), c.problems[i]);
    }
}

TEST(BibTexImport, HugeFieldAndThousandsOfAuthors)
{
    std::string authors;
    for (int i = 0; i < 5000; ++i)
        authors += (i ? " and " : "") + std::string("Name") + std::to_string(i) + ", Vorname";
    const std::string big(5 * 1024 * 1024, 'x');
    const ParsedReferences p =
        ParseBibTex("@book{a, author = {" + authors + "}}\n@misc{b, abstract = {" + big + "}}\n");
    ASSERT_EQ(p.References.size(), 2u);
    EXPECT_EQ(p.References[0].Authors.size(), 5000u);
    EXPECT_EQ(p.References[0].Authors[4999], "Name4999, Vorname");
    EXPECT_EQ(p.References[1].Abstract.size(), big.size());
}

TEST(RisImport, DamagedAndForeignRecords)
{
    const std::string text =
        "Vorspann ohne Kennung\r\n"
        "TY  - JOUR\r\n"
        "A1  - Doe, John\r\n"
        "T1  - Ein Titel\r\n"
        "JO  - Journal\r\n"
        "Y1  - 1999/05/01/\r\n"
        "AB  - Erste Zeile\r\n"
        "EU und UN: zweite Zeile\r\n" // two capitals and a blank, yet no tag
        "\r\n"
        "dritte Zeile\r\n"
        "So  - nicht jede Zeile mit Strich ist eine Kennung\r\n"
        "DO  - 10.1/x\r\n"
        "ZZ  - z\r\n"
        "X9  - 9\r\n"
        "X0  - 0\r\n"
        "XA  - a\r\n"
        "SP  - 3\r\n"
        "EP  - 9\r\n"
        "TY  - BOOK\r\n" // the record before has no ER
        "TI  -Zweiter\r\n"
        "N2  - Kurz\r\n"
        "fassung\r\n"
        "ER -\r\n" // no blank after the hyphen, or no more
        "TY  - CHAP\r\n"
        "TI  - Dritter ohne Ende";
    const ParsedReferences p = ParseRis(text);
    ASSERT_EQ(p.References.size(), 3u);
    const Reference& a = p.References[0];
    EXPECT_EQ(std::tuple(a.Typ, a.Line, a.Authors, a.Title, a.Container, a.Year),
              std::tuple(4, 2, std::vector<std::string>{"Doe, John"}, "Ein Titel", "Journal", "01.05.1999"));
    EXPECT_EQ(std::tuple(a.Abstract, a.Pages, a.Note, p.References[1].Title, p.References[2].Typ),
              std::tuple("Erste Zeile\r\nEU und UN: zweite Zeile\r\n\r\ndritte Zeile\r\nSo  - nicht jede Zeile mit Strich ist "
                         "eine Kennung",
                         "3-9", "DO: 10.1/x\r\nZZ: z\r\nX9: 9\r\nX0: 0\r\nXA: a", "Zweiter", 3));
    EXPECT_EQ(p.References[1].Abstract, "Kurz\r\nfassung");
    EXPECT_EQ(Problems(p), (std::vector<std::string>{"1: Text außerhalb eines Eintrags übergangen",
                                                     "2: Datensatz ohne Abschluss „ER“ (bis Zeile 18), trotzdem übernommen",
                                                     "24: Datensatz ohne Abschluss „ER“ (bis Zeile 25), trotzdem übernommen"}));

    // Windows-1252 bytes are read as such; binary garbage gives notes only.
    EXPECT_EQ(U(ParseRis("TY  - GEN\r\nTI  - M\xFCller\r\nER  - \r\n").References.at(0).Title), "Müller");
    const ParsedReferences garbage = ParseRis(std::string(1, '\0') + "\x01\xFF\xFE garbage\n\n\x7F");
    EXPECT_TRUE(garbage.References.empty());
    EXPECT_EQ(garbage.Problems.size(), 2u);
}

TEST(ReferenceImport, OneMessageNamesEveryEntryNotTaken)
{
    TestApp t;
    ParsedReferences parsed = ParseBibTex("@book{a, title={A}}\n@book{b, title={B}\n \t@book{c, title {C}}\n"
                                          "@book{d, title={D}}\n");
    const ReferenceImportResult result = ImportReferences(t.app, "datei.bib", parsed);
    EXPECT_EQ(std::tuple(result.Imported, result.Dropped), std::tuple(2, 2));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(U(t.ui.messages[0].text),
              "Import aus datei.bib: 2 Titel übernommen, 2 Einträge nicht übernommen:\r\n"
              "Zeile 2: Eintrag „b“ ist nicht abgeschlossen (schließende Klammer fehlt) und wurde nicht übernommen\r\n"
              "Zeile 3: Eintrag „c“ ist fehlerhaft (Syntax) und wurde nicht übernommen");
    EXPECT_FALSE(t.app.store.Gesichert());
    TestApp notes; // every entry taken, a note on the rest
    ImportReferences(notes.app, "n.ris", ParseRis("Vorspann\r\nTY  - GEN\r\nTI  - A\r\nER  - \r\n"));
    EXPECT_EQ(U(notes.ui.messages.at(0).text), "Import aus n.ris: 1 Titel übernommen.\r\n\r\nHinweise:\r\n"
                                               "Zeile 1: Text außerhalb eines Eintrags übergangen");

    // Thirty are listed, the rest counted.
    std::string broken;
    for (int i = 0; i < 31; ++i)
        broken += "@book{c, title {C}}\n";
    TestApp many;
    ParsedReferences thirtyOne = ParseBibTex(broken);
    ImportReferences(many.app, "viele.bib", thirtyOne);
    const std::string said = U(many.ui.messages.at(0).text);
    int listed = 0;
    for (std::size_t at = said.find("\r\nZeile "); at != std::string::npos; at = said.find("\r\nZeile ", at + 1))
        ++listed;
    EXPECT_EQ(std::tuple(listed, said.substr(said.rfind("\r\n"))), std::tuple(30, "\r\n... und 1 weitere"));
}

TEST(ReferenceImport, KeysStayWhenFreeElseBecomeVariants)
{
    TestApp t;
    t.app.settings.ShowAllMsg = false;
    test::AddTitle(t.app).Kuerzel.Text = "Alt";
    ImportReferences(t.app, "x", ParseRis("TY  - GEN\r\nID  - Alt\r\nER  - \r\n"
                                          "TY  - GEN\r\nID  - Neu\r\nER  - \r\n"
                                          "TY  - GEN\r\nID  - Neu\r\nER  - \r\n"
                                          "TY  - GEN\r\nAU  - Meyer, Hans\r\nER  - \r\n"));
    ASSERT_EQ(t.app.store.AnzBuch, 5);
    EXPECT_EQ(std::tuple(t.app.store.at(2)->Kuerzel.Text, t.app.store.at(3)->Kuerzel.Text, t.app.store.at(4)->Kuerzel.Text,
                         t.app.store.at(5)->Kuerzel.Text),
              std::tuple("Alt_002", "Neu", "Neu_002", "Mey001")); // the last made from the author
}

TEST(ReferenceImport, NothingChangesWhenTheTitlesDoNotFitOrNoneWasFound)
{
    TestApp t;
    while (t.app.store.AnzBuch < MaxBuch - 1)
        t.app.store.NewBuch();
    t.app.store.MarkSaved();
    const ReferenceImportResult full =
        ImportReferences(t.app, "x.ris", ParseRis("TY  - GEN\r\nER  - \r\nTY  - GEN\r\nER  - \r\n"));
    EXPECT_FALSE(full.Read);
    EXPECT_EQ(t.app.store.AnzBuch, MaxBuch - 1);
    EXPECT_TRUE(t.app.store.Gesichert());
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(U(t.ui.messages[0].text),
              "Die Datei x.ris enthält 2 Titel, Platz ist nur noch für 1.\r\nEs wurde nichts importiert.");

    TestApp empty;
    const ReferenceImportResult none = ImportReferences(empty.app, "y.bib", ParseBibTex("@book{a, title={x}\n"));
    EXPECT_FALSE(none.Read);
    EXPECT_EQ(empty.app.store.AnzBuch, 0);
    ASSERT_EQ(empty.ui.messages.size(), 1u);
    EXPECT_EQ(empty.ui.messages[0].kind, MsgKind::Error);
    EXPECT_NE(U(empty.ui.messages[0].text).find("In y.bib wurden keine Titel gefunden.\r\nZeile 1: "), std::string::npos);
}

TEST(ReferenceExport, CommandWritesTheShownTitlesAfterTheQuestions)
{
    QTemporaryDir dir;
    TestApp t;
    t.app.settings.ShowAllMsg = true;
    test::AddTitle(t.app).Titel.Text = "Erster";
    test::AddTitle(t.app).Titel.Text = "Zweiter";
    test::ShowAllTitles(t.app);
    const std::string path = dir.filePath(QStringLiteral("x.ris")).toStdString();
    t.ui.filePaths.push_back(path);
    ASSERT_TRUE(ExportToRis(t.app));
    const std::string ris = test::ReadBytes(QString::fromStdString(path));
    EXPECT_EQ(ris, "TY  - GEN\r\nTI  - Erster\r\nER  - \r\n\r\nTY  - GEN\r\nTI  - Zweiter\r\nER  - \r\n\r\n");
    EXPECT_EQ(t.ui.messages.back().text, "Export in " + path + " beendet!");

    // An existing file stays when the overwrite question is answered No.
    t.ui.filePaths.push_back(path);
    t.ui.answers = {Answer::No};
    EXPECT_FALSE(ExportToBibTex(t.app));
    EXPECT_EQ(test::ReadBytes(QString::fromStdString(path)), ris);
    // A file that cannot be written is reported, and the command fails.
    t.ui.filePaths.push_back(dir.filePath(QStringLiteral("fehlt/x.json")).toStdString());
    EXPECT_FALSE(ExportToCslJson(t.app));
    EXPECT_EQ(t.ui.messages.back().kind, MsgKind::Error);
}

// Each import command asks for an existing file of its kind and reads it.
TEST(ReferenceImport, CommandsAskForAnExistingFileOfTheirKind)
{
    const struct {
        ReferenceImportResult (*command)(Workspace&);
        const char *name, *text, *filter;
    } cases[] = {
        {ImportFromBibTex, "a.bib", "@book{a, title={A}}\n", "BibTeX-Dateien (*.bib)|*.bib|Alle Dateien (*)|*"},
        {ImportFromRis, "a.ris", "TY  - BOOK\r\nTI  - A\r\nER  - \r\n", "RIS-Dateien (*.ris)|*.ris|Alle Dateien (*)|*"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(dir.filePath(QString::fromLatin1(c.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.text) > 0);
        file.close();
        TestApp t;
        t.ui.filePaths = {file.fileName().toStdString()};
        const ReferenceImportResult result = c.command(t.app);
        EXPECT_EQ(std::tuple(result.Read, result.Imported, t.app.store.at(1)->Titel.Text), std::tuple(true, 1, "A"));
        ASSERT_EQ(t.ui.dialogs.size(), 1u);
        EXPECT_EQ(std::tuple(t.ui.dialogs[0].filter, t.ui.dialogs[0].mustExist), std::tuple(c.filter, true));
    }
}

} // namespace
} // namespace folianto
