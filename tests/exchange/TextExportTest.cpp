#include "exchange/TextExport.h"

#include "exchange/ExchangeTestUtil.h"

namespace folianto {
namespace {

using test::TestApp;

class TextExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* names[] = {"Eco", "M\xfcller", "Kafka"};
        for (int i = 0; i < 3; ++i) {
            TBuch& b = test::AddTitle(t.app);
            b.Kuerzel.Text = "K" + std::to_string(i + 1);
            b.Autor.Text = names[i];
            b.Titel.Text = "Titel " + std::to_string(i + 1);
            b.TypNum = 0;
        }
        t.app.store.at(3)->Inhalt.Text = "Zeile 1\r\nZeile 2";
        t.app.store.at(2)->Preis = 12345.678f;
        t.app.settings.ExportPos[1] = 1; // Autor
        t.app.settings.ExportPos[3] = 2; // Titel
        test::ShowAllTitles(t.app);
        path = PathToCp1252(dir.path()) + "/liste.txt";
    }
    std::string Written() const { return test::ReadBytes(PathFromCp1252(path)); }
    QTemporaryDir dir;
    TestApp t;
    std::string path;
};

// All shown titles; an existing file kept on No to the question and
// overwritten on Yes; then only the marked rows, one of them without a title.
TEST_F(TextExportTest, LiteratureListOfTheShownOrMarkedTitles)
{
    t.app.settings.ShowAllMsg = true;
    t.ui.filePaths.push_back(path);
    ExportLiteratureList(t.app);
    EXPECT_EQ(Written(), "Eco; Titel 1\r\nM\xfcller; Titel 2\r\nKafka; Titel 3\r\n");
    ASSERT_EQ(t.ui.dialogs.size(), 1u);
    EXPECT_EQ(t.ui.dialogs[0].filter, "Text-Dateien(*.TXT)|*.TXT|Alle Dateien (*.*) |*.*");
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].text, t.ui.messages[0].buttons),
              std::tuple("Sollen alle angezeigten Titel exportiert\r\nwerden [Ja] oder nur der markierte Titel ?",
                         Buttons::YesNo));
    EXPECT_EQ(std::tuple(t.ui.messages[1].kind, t.ui.messages[1].text),
              std::tuple(MsgKind::Information, "Export in " + path + " beendet!"));

    t.app.settings.ShowAllMsg = false;
    test::WriteBytes(PathFromCp1252(path), "alt");
    t.ui.filePaths.push_back(path);
    t.ui.answers = {Answer::No};
    ExportLiteratureList(t.app);
    EXPECT_EQ(Written(), "alt");
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[2].text, "Datei " + path + " existiert bereits!\r\nDatei \xfc" "berschreiben?");
    t.ui.filePaths.push_back(path);
    t.ui.answers = {Answer::Yes, Answer::Yes};
    ExportLiteratureList(t.app);
    EXPECT_EQ(Written().substr(0, 5), "Eco; ");

    t.app.selection.AusgabeBuchNr[1] = 0; // a row without a title
    EXPECT_EQ(TitlesOfRows(t.app, 1, 3), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(TitlesOfRows(t.app, 0, 99), (std::vector<int32_t>{2, 3}));
    t.app.grid.Selection = {1, 2, 3, 3};
    t.ui.filePaths.push_back(path);
    t.ui.answers = {Answer::Yes, Answer::No}; // overwrite, the marked rows only
    ExportLiteratureList(t.app);
    EXPECT_EQ(Written(), "M\xfcller; Titel 2\r\nKafka; Titel 3\r\n");
}

TEST_F(TextExportTest, ColumnValues)
{
    test::GermanLocale german;
    TBuch& b = *t.app.store.at(1);
    b.TypNum = 3 | LinkFlag;
    b.Kaufdatum = 45000.0;
    b.Preis = 9.5f;
    struct Case {
        int column;
        std::string text;
    } cases[] = {
        {0, "K1"}, {2, "Eco"}, {5, "Sammelwerkbeitrag"}, {8, "-1"}, {15, "   9.50"}, {25, "-1"},
        {26, "15.03.2023"}, {18, ""}, {30, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColumnExportText(b, c.column), c.text) << c.column;
    b.TypNum = 11;
    EXPECT_EQ(ColumnExportText(b, 5), "");
    b.Kaufdatum = 1.0;
    EXPECT_EQ(ColumnExportText(b, 26), "");
    EXPECT_EQ(ColumnExportText(*t.app.store.at(2), 15), "12345.68"); // no digit is cut
}

TEST_F(TextExportTest, OneColumnExport)
{
    t.app.columns.CellArray[2].ShowCol = false;
    const std::vector<PickItem> items = ColumnPickItems(t.app);
    ASSERT_EQ(items.size(), 34u);
    EXPECT_EQ(items[11].Text, "Inhalt");
    EXPECT_TRUE(items[11].Enabled);
    EXPECT_FALSE(items[2].Enabled);  // hidden column
    EXPECT_FALSE(items[18].Enabled);

    t.ui.filePaths.push_back(path);
    ExportColumn(t.app, [](const std::vector<PickItem>&) { return std::optional<int>(11); });
    EXPECT_EQ(Written(), "\r\n\r\nZeile 1\r\nZeile 2\r\n");
    t.ui.filePaths.push_back(path);
    t.ui.answers = {Answer::Yes, Answer::Yes};
    ExportColumn(t.app, [](const std::vector<PickItem>&) { return std::optional<int>(0); });
    EXPECT_EQ(Written(), "K1\r\nK2\r\nK3\r\n");

    // A column that cannot be chosen, or no choice, ends the command.
    ExportColumn(t.app, [](const std::vector<PickItem>&) { return std::optional<int>(2); });
    ExportColumn(t.app, [](const std::vector<PickItem>&) { return std::nullopt; });
    EXPECT_EQ(t.ui.dialogs.size(), 2u);
}

TEST_F(TextExportTest, UnwritableFileIsReported)
{
    const std::string bad = PathToCp1252(dir.path()) + "/fehlt/liste.txt";
    EXPECT_FALSE(WriteTextExport(t.app, bad, {1}, std::nullopt));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Error);
}

} // namespace
} // namespace folianto
