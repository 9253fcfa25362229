// Everything the program writes about a title, for a generated catalogue of
// every literature type, compared byte for byte with approved files: a change
// of any writer, of the field table or of the sample generator shows here.

#include "core/SampleCatalogue.h"
#include "core/TitleStore.h"
#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/CslJson.h"
#include "exchange/EntryFormatter.h"
#include "exchange/Reference.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "exchange/ExchangeTestUtil.h"
#include "support/Golden.h"
#include "workspace/ColumnModel.h"

namespace folianto::test {
namespace {

struct Sample {
    TitleStore store;
    std::vector<Reference> refs;
    Sample()
    {
        FillSampleCatalogue(store, 45, 2026);
        for (int32_t i = 1; i <= store.AnzBuch; ++i)
            refs.push_back(ReferenceOfTitle(*store.at(i)));
    }
};

// The references the format's reader makes of the writer's file, stored into
// fresh titles and read out again: what a round trip through the format keeps.
std::vector<Reference> ThroughTitles(const ParsedReferences& parsed)
{
    EXPECT_TRUE(parsed.Problems.empty());
    std::vector<Reference> out;
    for (const Reference& r : parsed.References) {
        TBuch b;
        TitleStore::InitBuch(b);
        StoreReference(r, b);
        b.Kuerzel.Text = r.Key;
        out.push_back(ReferenceOfTitle(b));
    }
    return out;
}

TEST(GoldenFiles, ReferenceFormatsAndTheirRoundTrips)
{
    GermanLocale german;
    const Sample s;
    const std::string bib = WriteBibTex(s.refs), ris = WriteRis(s.refs), json = WriteCslJson(s.refs);
    ExpectGolden("sample.bib", bib);
    ExpectGolden("sample.ris", ris);
    ExpectGolden("sample.json", json);
    ExpectGolden("sample-citeproc.json", WriteCslJsonForCiteproc(s.refs));

    // Read back and written again: the same file; so too for a title with
    // every character a format escapes and one with a document link.
    EXPECT_EQ(WriteBibTex(ThroughTitles(ParseBibTex(bib))), bib);
    EXPECT_EQ(WriteRis(ThroughTitles(ParseRis(ris))), ris);
    EXPECT_EQ(WriteCslJson(ThroughTitles(ParseCslJson(json))), json);
    TBuch tricky, linked;
    tricky.Kuerzel.Text = Cp1252("Spez \"1\"");
    tricky.TypNum = 3;
    tricky.Titel.Text = Cp1252("50% & $100 {x} a_b #1 ~ ^ \\ \"q\" -- ``x'' ,,y}{ € „Zitat“ </script>");
    tricky.AltTitel.Text = "Untertitel";
    tricky.Autor.Text = Cp1252("Müller and Sons; Ünal, Ümit; King, Martin, Jr.; Platon");
    tricky.Inhalt.Text = "Absatz 1\r\n\r\nAbsatz 2 with @book{x, inside";
    tricky.Seiten.Text = "12-45";
    tricky.Jahr.Text = "1998/99";
    linked.Kuerzel.Text = "Link";
    linked.TypNum = 6 | LinkFlag;
    linked.Quelle.Text = "https://example.org/a_b?x=1&y=%20";
    linked.Jahr.Text = "o. J.";
    const std::vector<Reference> odd = {ReferenceOfTitle(tricky), ReferenceOfTitle(linked)};
    for (const auto& [write, parse] : {std::pair{WriteBibTex, ParseBibTex}, {WriteRis, ParseRis}, {WriteCslJson, ParseCslJson}})
        EXPECT_EQ(write(ThroughTitles(parse(write(odd)))), write(odd));
    tricky.Titel.Text = "Zeile\nzwei"; // RIS has no line break inside a one-line value
    EXPECT_NE(WriteRis({ReferenceOfTitle(tricky)}).find("TI  - Zeile zwei: Untertitel\r\n"), std::string::npos);
    linked.Seiten.Text = "12-"; // an open range keeps its hyphen
    EXPECT_EQ(ParseRis(WriteRis({ReferenceOfTitle(linked)})).References.at(0).Pages, "12-");
}

TEST(GoldenFiles, EntriesSlotsAndColumnTexts)
{
    GermanLocale german;
    const Sample s;
    const DateFormatter days = [](double d) { return "Tag " + QString::number(d, 'f', 4).toStdString(); };
    const CellTextFormat format{false, &days};
    std::string out;
    for (int32_t i = 1; i <= s.store.AnzBuch; ++i) {
        const TBuch& b = *s.store.at(i);
        const ExportEntry entry = FormatPredefinedEntry(b);
        out += "== " + std::to_string(i) + "\nentry (" + std::to_string(entry.Parts) + "): " + entry.Text + "\n";
        for (int slot = 0; slot < ExportSlotCount; ++slot)
            if (const std::string t = ExportSlotText(b, slot); !t.empty())
                out += "slot " + std::to_string(slot) + ": " + t + "\n";
        for (int col = 0; col < ColumnCount; ++col) {
            const std::string cell = ColumnModel::CellText(b, col, format);
            if (!cell.empty())
                out += "column " + std::to_string(col) + ": " + cell + "\n";
            if (const std::string t = ColumnExportText(b, col); t != cell)
                out += "column export " + std::to_string(col) + ": " + t + "\n";
        }
    }
    ExpectGolden("sample-texts.txt", Cp1252ToUtf8(out));
}

// Every exchange file of the test data as its reader makes it out: the
// problems it reports and each reference with its key and line.
TEST(GoldenFiles, EveryExchangeFixtureRead)
{
    GermanLocale german;
    std::string out;
    for (const char* folder : {"bib", "csl"})
        for (const QString& file : QDir(QString::fromUtf8(FOLIANTO_TEST_DATA) + QLatin1Char('/') +
                                        QLatin1String(folder))
                                       .entryList({QStringLiteral("*.bib"), QStringLiteral("*.ris"),
                                                   QStringLiteral("*.json")},
                                                  QDir::Files, QDir::Name)) {
            const std::string bytes = ReadFixture(folder, file.toStdString().c_str());
            const ParsedReferences parsed = file.endsWith(QLatin1String(".bib"))   ? ParseBibTex(bytes)
                                            : file.endsWith(QLatin1String(".ris")) ? ParseRis(bytes)
                                                                                   : ParseCslJson(bytes);
            out += "== " + file.toStdString() + "\n";
            for (const ImportProblem& p : parsed.Problems)
                out += "problem " + std::to_string(p.Line) + "-" + std::to_string(p.LastLine) +
                       (p.Dropped ? " dropped: " : ": ") + Cp1252ToUtf8(p.Text) + "\n";
            for (const Reference& r : parsed.References)
                out += "-- " + Cp1252ToUtf8(r.Key) + " line " + std::to_string(r.Line) + "\n" + WriteRis({r});
        }
    ExpectGolden("exchange-fixtures.txt", out);
}

// The sample's column texts as import lines, every column at its own field,
// and lines of the kinds users' files hold, imported: what each title holds
// and what the import said.
TEST(GoldenFiles, TextImportOfEveryColumn)
{
    GermanLocale german;
    const Sample s;
    std::vector<std::string> lines;
    for (int32_t i = 1; i <= s.store.AnzBuch; ++i) {
        std::string line;
        for (int col = 0; col < ColumnCount; ++col) {
            std::string field = ColumnExportText(*s.store.at(i), col);
            std::replace_if(field.begin(), field.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
            line += (col ? "\t" : "") + field;
        }
        lines.push_back(line);
    }
    for (const char* odd : {"", "\t\t\t", "nur ein Feld", "K\tT\tA\tKat\tSpr\t99\tTyp\tReihe\tzwei\tneunzehnhundert",
                            "K2\t\t\t\t\t-1\t\t\t-5\t1998/99\t\t\t\t\t\t1,50 EUR\tjemand",
                            "K3\t  vorne Blanks\tA;B;;C\t\t\t8\t\t\t2147483648\t\t\t\t\t\t\t-3",
                            "K4\tT\tA\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t31.02.2020",
                            "K5\tT\tA\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t01.01.1900\t\t\t\t\t\t\tx"})
        lines.push_back(odd);
    // Numbers, prices, types and dates as users' files write them; the picture
    // count and the link are never read.
    const auto fields = [](std::initializer_list<std::pair<int, const char*>> at) {
        std::vector<std::string> field(ColumnCount);
        for (const auto& [col, text] : at)
            field[static_cast<std::size_t>(col)] = text;
        std::string line = field[0];
        for (std::size_t col = 1; col < field.size(); ++col)
            line += "\t" + field[col];
        return line;
    };
    for (const std::string& line :
         {fields({{0, "U1"}, {5, "monographie"}, {8, "1,5"}, {15, "12,5"}, {25, "1999"}, {26, "01.02.2023"},
                  {32, "12 "}}),
          fields({{0, "U2"}, {1, " "}, {5, "GRAUE Literatur"}, {8, "zweite"}, {15, " 1 234,50 "}, {18, "7"},
                  {26, "1.2.23"}}),
          fields({{0, "U3"}, {5, "Roman"}, {8, "1e30"}, {15, "abc"}, {26, "31.02.2023"}, {33, "X"}}),
          fields({{0, "U4"}, {15, "1e300"}, {26, "01.02.0100"}})})
        lines.push_back(line);

    TestApp t;
    t.app.settings.ImpExp.Trennzeichen = '\t';
    for (int col = 0; col < ColumnCount; ++col)
        t.app.columns.CellArray[static_cast<std::size_t>(col)].ImportPos = col + 1;
    for (const std::string& line : lines)
        EXPECT_TRUE(ImportEntry(t.app, line));
    const DateFormatter days = [](double d) { return "Tag " + QString::number(d, 'f', 4).toStdString(); };
    std::string out;
    for (int32_t i = 1; i <= t.app.store.AnzBuch; ++i) {
        const TBuch& b = *t.app.store.at(i);
        // The cells leave the edition and price empty for both 0 and -1 (none).
        out += "== " + std::to_string(i) + ", Auflage " + std::to_string(b.Auflage) + ", Preis " +
               QString::number(b.Preis).toStdString() + "\n";
        for (int col = 0; col < ColumnCount; ++col)
            if (const std::string cell = ColumnModel::CellText(b, col, {false, &days}); !cell.empty())
                out += std::to_string(col) + ": " + cell + "\n";
    }
    for (const auto& m : t.ui.messages)
        out += "message: " + m.text + "\n";
    ExpectGolden("text-import.txt", Cp1252ToUtf8(out));
}

} // namespace
} // namespace folianto::test
