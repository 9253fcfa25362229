#include "exchange/TextImport.h"

#include "core/ErrorText.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/ImportDialogModel.h"

namespace folianto {
namespace {

using test::TestApp;

struct SplitCase {
    std::string line;
    std::vector<std::string> fields;
};

TEST(SplitImportLine, FieldsAndBlanks)
{
    const std::vector<SplitCase> cases = {
        {"a$b$c", {"a", "b", "c"}},
        {"   a$  b$c  ", {"a", "b", "c  "}},      // leading blanks dropped, trailing kept
        {"a$$c", {"a", "", "c"}},                // empty field counts
        {"a$b$", {"a", "b"}},                    // no field after a final delimiter
        {"", {}},
        {"$", {""}},
        {"\t\x01" "a$\r b", {"a", "b"}},         // control characters lead like blanks
        {"a$   ", {"a", ""}},
        {"ohne Trenner", {"ohne Trenner"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitImportLine(c.line, '$'), c.fields) << c.line;
    EXPECT_EQ(SplitImportLine("a;b", ';'), (std::vector<std::string>{"a", "b"}));
    // A Tab delimiter ends empty fields although it is a control character.
    EXPECT_EQ(SplitImportLine("\ta\t\t c\t", '\t'), (std::vector<std::string>{"", "a", "", "c"}));
}

TEST(TextEncoding, DetectedByByteOrderMarkOrValidUtf8)
{
    using E = TextEncoding;
    const struct {
        std::string bytes;
        E encoding;
        bool bom;
    } cases[] = {
        {"", E::Windows1252, false},
        {"nur ASCII$x", E::Windows1252, false},
        {"\xEF\xBB\xBFnur ASCII", E::Utf8, true},
        {"Trag\xC3\xB6" "die", E::Utf8, false},
        {"\xE2\x80\x9E" "Effi\xE2\x80\x9C", E::Utf8, false},
        {"Trag\xF6" "die", E::Windows1252, false},   // a Windows-1252 umlaut is no UTF-8
        {"\x84" "Effi\x93", E::Windows1252, false},
        {"Trag\xC3", E::Windows1252, false},          // cut off
        {"\xC0\xAF", E::Windows1252, false},          // overlong
        {"\xED\xA0\x80", E::Windows1252, false},      // surrogate
    };
    for (const auto& c : cases) {
        const DetectedEncoding d = DetectTextEncoding(c.bytes);
        EXPECT_EQ(d.Encoding, c.encoding) << c.bytes;
        EXPECT_EQ(d.ByteOrderMark, c.bom) << c.bytes;
    }
    EXPECT_EQ(DecodeImportText("\xEF\xBB\xBF" "Trag\xC3\xB6" "die \xE2\x80\x9E" "x\xE2\x80\x9C", TextEncoding::Utf8),
              "Trag\xF6" "die \x84x\x93");
    EXPECT_EQ(DecodeImportText("\xEF\xBB\xBFTrag\xF6", TextEncoding::Windows1252), "\xEF\xBB\xBFTrag\xF6");
}

TEST(TextImportDelimiter, TabByName)
{
    const struct {
        std::string text;
        char delimiter;
    } cases[] = {{"$", '$'}, {" ;", ';'}, {"Tab", '\t'}, {"TAB", '\t'}, {"tab ", '\t'}, {"Ta", 'T'}, {"", '\0'}, {"  ", '\0'}};
    for (const auto& c : cases)
        EXPECT_EQ(DelimiterOfText(c.text), c.delimiter) << c.text;
    EXPECT_EQ(DelimiterName('\t'), "Tab");
    EXPECT_EQ(DelimiterName(';'), ";");
}

TEST(TextImportHeaderLine, NamesTheColumns)
{
    ColumnModel columns;
    columns.CellArray[20].Header = " Eigner"; // renamed: the grid's header counts, and the default one
    const struct {
        std::string line;
        char delimiter; // 0: not offered
        std::vector<std::pair<int, int32_t>> positions; // descriptor, field
    } cases[] = {
        {"Titel$Autor", '$', {{1, 1}, {2, 2}}},
        {"autor;  TITEL ;;Jahr", ';', {{2, 1}, {1, 2}, {24, 4}}},
        {"K\xFCrzel\tEigner\tBesitzer", '\0', {}},  // two fields for one column
        {"Autor\tTitel\tNotizen", '\0', {}},          // a field names no column
        {"Titel", '\0', {}},                          // one column is no assignment
        {"Anzahl Bilder$Titel$Autor", '\0', {}},      // not importable
        {"K\xFCrzel,Eigner,Link", '\0', {}},
        {"K\xFCrzel,Eigner", ',', {{0, 1}, {20, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto found = AssignByHeaderLine(columns, c.line, '$');
        ASSERT_EQ(found.has_value(), c.delimiter != '\0');
        if (!found)
            continue;
        EXPECT_EQ(found->Delimiter, c.delimiter);
        std::array<int32_t, ColumnCount> expected{};
        for (auto [column, field] : c.positions)
            expected[static_cast<std::size_t>(column)] = field;
        EXPECT_EQ(found->Positions, expected);
    }
}

TEST(SplitLines, LineEnds)
{
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\rb\r"), (std::vector<std::string>{"a\rb"}));
    EXPECT_EQ(SplitLines(""), (std::vector<std::string>{}));
    EXPECT_EQ(SplitLines(std::string("x\0y\n", 4)), (std::vector<std::string>{std::string("x\0y", 3)}));
}

class ImportEntryTest : public ::testing::Test {
protected:
    void SetUp() override { t.app.settings.KuerzelZwang = false; }
    TBuch& Import(const std::string& line)
    {
        EXPECT_TRUE(ImportEntry(t.app, line));
        EXPECT_EQ(t.app.store.ActBuch, t.app.store.AnzBuch);
        return *t.app.store.current();
    }
    TestApp t;
    test::GermanLocale german;
};

TEST_F(ImportEntryTest, DefaultAndMappedPositions)
{
    const TBuch& b = Import("K1$Stra\xdf" "e$M\xfcller, \x80");
    EXPECT_EQ(std::tuple(b.Kuerzel.Text, b.Titel.Text, b.Autor.Text, b.Titel.Len, b.TypNum, b.Auflage),
              std::tuple("K1", "Stra\xdf" "e", "M\xfcller, \x80", 6, 8, -1));
    EXPECT_EQ(Import("").Titel.Text, "");
    EXPECT_TRUE(t.ui.messages.empty());

    // Mapped positions: a field no column reads is skipped.
    for (auto& c : t.app.columns.CellArray)
        c.ImportPos = 0;
    t.app.columns.CellArray[2].ImportPos = 1;  // Autor
    t.app.columns.CellArray[1].ImportPos = 3;  // Titel
    t.app.columns.CellArray[24].ImportPos = 4; // Jahr
    t.app.columns.CellArray[9].ImportPos = 5;  // Jahr again: the later field wins
    const TBuch& m = Import("Autor$frei$Titel$1999$2001$Rest$mehr");
    EXPECT_EQ(std::tuple(m.Autor.Text, m.Titel.Text, m.Jahr.Text, m.Kuerzel.Text),
              std::tuple("Autor", "Titel", "2001", ""));
}

// The command with a file.
class ImportCommandTest : public ::testing::Test {
protected:
    ImportCommandTest() { t.app.settings.KuerzelZwang = false; }
    std::string File(const std::string& bytes)
    {
        const std::string path = PathToCp1252(dir.path()) + "/import.txt";
        test::WriteBytes(PathFromCp1252(path), bytes);
        return path;
    }
    void Run(const std::string& path)
    {
        t.ui.filePaths.push_back(path);
        ImportFromText(t.app, [&](ImportDialogModel& m) {
            EXPECT_EQ(m.mode(), ImportDialogModel::TextMode);
            return m.Ok();
        });
    }
    QTemporaryDir dir;
    TestApp t;
};

TEST_F(ImportCommandTest, HeaderLineSkippedEveryOtherLineImported)
{
    Run(File("Kuerzel$Titel$Autor\r\nK1$T1$A1\r\n\r\nK3$T3$A3\nK4$T4$A4"));
    ASSERT_EQ(t.app.store.AnzBuch, 4);
    // The empty line is a title; the last line needs no line end.
    EXPECT_EQ(std::tuple(t.app.store.at(1)->Titel.Text, t.app.store.at(2)->Titel.Text, t.app.store.at(3)->Autor.Text,
                         t.app.store.at(4)->Autor.Text),
              std::tuple("T1", "", "A3", "A4"));
    EXPECT_FALSE(t.app.store.Gesichert());
    EXPECT_TRUE(t.ui.messages.empty());
    ASSERT_EQ(t.ui.dialogs.size(), 1u);
    EXPECT_EQ(t.ui.dialogs[0].filter, "Text-Dateien (*.txt *.csv *.tsv)|*.txt *.csv *.tsv|Alle Dateien (*)|*");
    EXPECT_EQ(t.ui.reports, std::vector<std::string>{"4 Titel importiert"});
    EXPECT_TRUE(t.ui.dialogs[0].mustExist);
    // The header line alone brings nothing and leaves the current title.
    t.app.store.ActBuch = 2;
    Run(File("Kuerzel$Titel$Autor\r\n"));
    EXPECT_EQ(std::tuple(t.app.store.AnzBuch, t.app.store.ActBuch, t.ui.reports.back()), std::tuple(4, 2, "0 Titel importiert"));
}

TEST_F(ImportCommandTest, CancelledDialogsAndUnreadableFile)
{
    t.ui.filePaths.push_back(File("K$T\r\nK1$T1\r\n"));
    EXPECT_FALSE(ImportFromText(t.app, [](ImportDialogModel& m) { m.Cancel(); return false; }));
    EXPECT_EQ(t.app.store.AnzBuch, 0); // Abbrechen after the file was chosen
    t.app.settings.ShowAllMsg = true;
    bool dialogShown = false;
    EXPECT_FALSE(ImportFromText(t.app, [&](ImportDialogModel&) { return dialogShown = true; })); // file dialog cancelled
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].text, t.app.store.AnzBuch),
              std::tuple(MsgKind::Warning, Cp1252("Keine Datei ausgewählt!"), 0));
    // A file that cannot be read is reported.
    const std::string missing = PathToCp1252(dir.path()) + "/fehlt.txt";
    EXPECT_FALSE(ImportTextFile(t.app, missing));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[1].text, GetErrorText(3, missing));
    EXPECT_TRUE(t.app.store.Gesichert());
}

// Files as spreadsheet programs write them, the first line naming the columns;
// and files without such a line, read with the delimiter of the settings.
TEST_F(ImportCommandTest, EncodingsAndDelimiters)
{
    const std::string utf8 = "K\xC3\xBCrzel$Titel$Autor\r\nK1$Faust. Eine Trag\xC3\xB6" "die$Goethe\r\n"
                             "K2$\xE2\x80\x9E" "Effi Briest\xE2\x80\x9C$Fontane\r\n";
    const std::string cp1252 = "K\xFCrzel$Titel$Autor\r\nK1$Faust. Eine Trag\xF6" "die$Goethe\r\n"
                               "K2$\x84" "Effi Briest\x93$Fontane\r\n";
    const char* const ansi = "erkannt: Windows-1252 (ANSI)";
    const struct {
        const char* what;
        std::string bytes;
        char delimiter; // of the settings, with no header line counted; 0: the header line's
        const char* note;
        std::vector<std::string> titles, authors, years;
    } cases[] = {
        {"UTF-8", utf8, 0, "erkannt: UTF-8", {"Faust. Eine Trag\xF6" "die", "\x84" "Effi Briest\x93"}, {"Goethe", "Fontane"}, {"", ""}},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8, 0, "erkannt: UTF-8 mit Byte-Order-Mark",
         {"Faust. Eine Trag\xF6" "die", "\x84" "Effi Briest\x93"}, {"Goethe", "Fontane"}, {"", ""}},
        {"Windows-1252", cp1252, 0, ansi, {"Faust. Eine Trag\xF6" "die", "\x84" "Effi Briest\x93"}, {"Goethe", "Fontane"}, {"", ""}},
        {"Tab-separated in another order", "Autor\tTitel\tJahr\r\nGoethe\tFaust\t1808\r\nFontane\t\t1895\r\n", 0,
         ansi, {"Faust", ""}, {"Goethe", "Fontane"}, {"1808", "1895"}},
        {"semicolons of the settings", "K1;T1\nK2;;A2\n", ';', ansi, {"T1", ""}, {"", "A2"}, {"", ""}},
        {"Tabs of the settings", "K1\tT1\r\nK2\t\tA2\r\n", '\t', ansi, {"T1", ""}, {"", "A2"}, {"", ""}}, // a Tab ends an empty field too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestApp app;
        app.app.settings.KuerzelZwang = false;
        if (c.delimiter) {
            app.app.settings.ImpExp.Kopfzeilen = 0;
            app.app.settings.ImpExp.Trennzeichen = c.delimiter;
        }
        app.ui.filePaths.push_back(File(c.bytes));
        ImportFromText(app.app, [&](ImportDialogModel& m) {
            EXPECT_EQ(m.EncodingNote(), c.note);
            EXPECT_EQ(m.UseHeaderLine(), !c.delimiter);
            return m.Ok();
        });
        ASSERT_EQ(app.app.store.AnzBuch, 2);
        // The first title imported is the current one, highlighted.
        EXPECT_EQ(app.app.store.ActBuch, 1);
        EXPECT_EQ(app.app.selection.AusgabeBuchNr[static_cast<std::size_t>(app.app.grid.Row)], app.app.store.at(1)->BuchNr);
        for (int32_t i = 1; i <= 2; ++i) {
            const TBuch& b = *app.app.store.at(i);
            EXPECT_EQ(b.Titel.Text, c.titles[static_cast<std::size_t>(i - 1)]);
            EXPECT_EQ(b.Autor.Text, c.authors[static_cast<std::size_t>(i - 1)]);
            EXPECT_EQ(b.Jahr.Text, c.years[static_cast<std::size_t>(i - 1)]);
        }
        EXPECT_TRUE(app.ui.messages.empty());
    }
    // The delimiter the header line showed reaches the settings.
    TestApp tab;
    tab.ui.filePaths.push_back(File("Autor\tTitel\r\nA\tT\r\n"));
    ImportFromText(tab.app, [](ImportDialogModel& m) { return m.Ok(); });
    EXPECT_EQ(tab.app.settings.ImpExp.Trennzeichen, '\t');
    EXPECT_EQ(tab.app.columns.CellArray[ColAutor].ImportPos, 1);
    EXPECT_EQ(tab.app.columns.CellArray[ColKuerzel].ImportPos, 0);
}

TEST_F(ImportCommandTest, TheUserSwitchesEncodingAndHeaderLine)
{
    ImportDialogModel m(t.app, ImportDialogModel::TextMode);
    m.SetTextFile("x.txt", "K\xC3\xBCrzel;Titel\r\nK1;Trag\xC3\xB6" "die\r\n");
    EXPECT_EQ(m.Encoding, TextEncoding::Utf8);
    ASSERT_TRUE(m.UseHeaderLine());
    EXPECT_EQ(std::tuple(m.Delimiter, m.Positions[ColTitel], m.Positions[ColAutor]), std::tuple(";", "2", "0"));
    EXPECT_EQ(m.PreviewLines(5), (std::vector<std::string>{"K\xFCrzel;Titel", "K1;Trag\xF6" "die"}));
    // Read as Windows-1252 the first column's name no longer matches: the own assignment returns.
    m.SetEncoding(TextEncoding::Windows1252);
    EXPECT_FALSE(m.HeaderLineOffered() || m.UseHeaderLine());
    EXPECT_EQ(std::tuple(m.Delimiter, m.Positions[ColAutor]), std::tuple("$", "3"));
    EXPECT_EQ(m.PreviewLines(1), (std::vector<std::string>{"K\xC3\xBCrzel;Titel"}));
    m.SetEncoding(TextEncoding::Utf8);
    EXPECT_TRUE(m.UseHeaderLine());
    m.SetUseHeaderLine(false);
    EXPECT_EQ(std::tuple(m.Delimiter, m.Positions[ColAutor]), std::tuple("$", "3"));
}

TEST_F(ImportCommandTest, FullStoreStopsAndKeepsEarlierTitles)
{
    while (t.app.store.AnzBuch < MaxBuch - 1)
        t.app.store.NewBuch();
    const std::string path = File("kopf\nK1$T1\nK2$T2\nK3$T3\n");
    Run(path);
    EXPECT_EQ(t.app.store.AnzBuch, MaxBuch);
    EXPECT_EQ(t.app.store.at(MaxBuch)->Titel.Text, "T1");
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].text, "Konnte neuen Bucheintrag nicht anlegen.");
    EXPECT_EQ(t.ui.messages[1].kind, MsgKind::Error);
    EXPECT_EQ(t.ui.messages[1].text, "Fehler beim Importieren aus " + path + "!");
    EXPECT_FALSE(t.app.store.Gesichert()); // the imported title is unsaved data
}

TEST(ImportEntryShortKeys, GeneratedAndMadeUnique)
{
    test::TestApp t;
    t.app.settings.KuerzelZwang = true;
    t.app.settings.LZerzwK = 3;
    struct Case {
        std::string line;
        std::string key;
    } cases[] = {
        {"Eco001$T$Eco", "Eco001"},       // free key stays
        {"Eco001$T$Eco", "Eco001_002"},   // taken key gets a variant
        {"$T$M\xfcller, Hans", "M\xfcl001"},  // blank key generated from the author
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ImportEntry(t.app, c.line));
        EXPECT_EQ(t.app.store.current()->Kuerzel.Text, c.key) << c.line;
        EXPECT_EQ(t.app.store.current()->Kuerzel.Len, static_cast<int32_t>(c.key.size()));
    }
}

} // namespace
} // namespace folianto
