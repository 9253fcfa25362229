#include "exchange/WorkbookExchange.h"

#include "core/Text.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/ImportDialogModel.h"
#include "spreadsheet/Workbook.h"

namespace folianto {
namespace {

using test::TestApp;

class WorkbookExchangeTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return PathToCp1252(dir.path()) + "/" + name; }

    // A workbook file whose sheet 0 holds `texts` (col, row, text).
    std::string MakeWorkbook(const std::vector<std::tuple<int, int, std::string>>& texts)
    {
        Workbook wb;
        const std::string path = Path("import.xls");
        wb.SetFileName(path);
        for (const auto& [c, r, text] : texts)
            wb.GetSheet(0).WriteText(static_cast<uint16_t>(c), static_cast<uint16_t>(r), text);
        wb.Write();
        return path;
    }

    // Sheet 0 of the workbook file at `path`.
    const Sheet& ReadBack(const std::string& path)
    {
        back.SetFileName(path);
        back.Read();
        return back.GetSheet(0);
    }

    bool Import(const std::string& path)
    {
        Workbook wb;
        return ImportWorkbookFile(t.app, wb, path, german);
    }

    void Range(int firstRow, int firstCol, int anzRows, int anzCols)
    {
        t.app.settings.ImpExp = {'$', firstRow, firstCol, anzRows, anzCols, 1};
        t.app.settings.KuerzelZwang = false;
    }

    QTemporaryDir dir;
    TestApp t;
    Workbook back;
    LocaleNumberFormatter german{"de_DE"};
};

TEST_F(WorkbookExchangeTest, GridExportReadsBackCellForCell)
{
    GridModel& grid = t.app.grid;
    grid.SetColCount(3);
    grid.SetRowCount(4);
    const char* cells[4][3] = {
        {"K\xfcrzel", "Titel", "Autor"},
        {"K1", "Der Name der Rose", "Eco"},
        {"K2", "", "M\xfcller, \x80"},
        {"K3", "Zeile 1\r\nZeile 2", "Kafka"},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            grid.SetCell(c, r, cells[r][c]);

    const std::string path = Path("grid.xls");
    t.ui.filePaths.push_back(path);
    Workbook wb;
    ASSERT_TRUE(ExportGridToWorkbook(t.app, wb));
    EXPECT_EQ(std::pair(t.ui.progress.range, t.ui.progress.position), std::pair(100, 100));
    ASSERT_EQ(t.ui.dialogs.size(), 1u);
    EXPECT_EQ(std::tuple(t.ui.dialogs[0].filter, t.ui.dialogs[0].overwritePrompt),
              std::tuple("Excel-Dateien (*.XLS)|*.XLS |Alle Dateien (*.*) |*.*", true));
    EXPECT_TRUE(t.ui.messages.empty());

    const Sheet& sheet = ReadBack(path);
    EXPECT_EQ(sheet.Name, "Folianto-Export");
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(sheet.ReadCellText(static_cast<uint16_t>(c), static_cast<uint16_t>(r), german), cells[r][c]);
}

TEST_F(WorkbookExchangeTest, ExportByDefinitionSplitsEntries)
{
    EXPECT_EQ(SplitEntry("A; T;;x"), (std::vector<std::string>{"A", " T", "", "x"}));
    EXPECT_EQ(SplitEntry(""), (std::vector<std::string>{""}));

    for (const char* name : {"Eco", "Kafka"}) {
        TBuch& b = test::AddTitle(t.app);
        b.Autor.Text = name;
        b.Titel.Text = std::string("Titel von ") + name;
        b.Schlagworte.Text = "a;b";
    }
    test::ShowAllTitles(t.app);
    t.app.settings.ExportPos[1] = 1;
    t.app.settings.ExportPos[3] = 2;
    t.app.settings.ExportPos[21] = 3; // keywords hold a ";" of their own
    const std::string path = Path("def.xls");
    t.ui.filePaths.push_back(path);
    Workbook wb;
    ASSERT_TRUE(ExportDefinitionToWorkbook(t.app, wb));
    const Sheet& sheet = ReadBack(path);
    EXPECT_EQ(std::tuple(sheet.LastUsedRow(), sheet.LastUsedCol()), std::tuple(1, 3));
    EXPECT_EQ((std::vector<std::string>{sheet.ReadCellText(0, 0, german), sheet.ReadCellText(1, 1, german),
                                        sheet.ReadCellText(2, 1, german), sheet.ReadCellText(3, 1, german)}),
              (std::vector<std::string>{"Eco", " Titel von Kafka", " a", "b"}));
}

TEST_F(WorkbookExchangeTest, ExportCancelAndWriteError)
{
    Workbook wb;
    EXPECT_FALSE(ExportGridToWorkbook(t.app, wb)); // no file chosen
    EXPECT_FALSE(ExportDefinitionToWorkbook(t.app, wb));
    t.ui.filePaths.push_back(Path("fehlt/grid.xls"));
    EXPECT_FALSE(ExportGridToWorkbook(t.app, wb));
    t.ui.filePaths.push_back(Path("fehlt/definition.xls"));
    EXPECT_FALSE(ExportDefinitionToWorkbook(t.app, wb));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[1].kind), std::tuple(MsgKind::Error, MsgKind::Error));
}

// Titles as "Kürzel|Titel|Autor|Kategorie", the first four import positions.
TEST_F(WorkbookExchangeTest, RangeOfTheSheet)
{
    struct Case {
        std::vector<std::tuple<int, int, std::string>> cells;
        ImpExpSettings range;
        std::vector<std::string> titles;
    };
    const std::vector<Case> cases = {
        // Columns A..E; FirstCol 2 and AnzCols 3 read B..D.
        {{{0, 0, "A1"}, {1, 0, "K1"}, {2, 0, "Titel"}, {3, 0, "Autor"}, {4, 0, "E1"}}, {'$', 1, 2, 10, 3, 1},
         {"K1|Titel|Autor|"}},
        // A header row, a row of blanks (no title), one filled cell, a row beyond AnzRows.
        {{{0, 0, "Kopf"}, {1, 0, "Kopf"}, {0, 1, "K1"}, {1, 1, "T1"}, {0, 2, "  "}, {1, 3, "T3"}, {0, 4, "K4"},
          {1, 4, "T4"}},
         {'$', 2, 1, 3, 2, 1},
         {"K1|T1||", "|T3||"}},
        // The used area starts right of the range start: fields keep their positions.
        {{{2, 0, "Autor"}, {3, 0, "Kategorie"}}, {'$', 1, 1, 1, 5, 1}, {"||Autor|Kategorie"}},
    };
    for (const Case& c : cases) {
        TestApp app;
        app.app.settings.ImpExp = c.range;
        app.app.settings.KuerzelZwang = false;
        Workbook wb;
        ASSERT_TRUE(ImportWorkbookFile(app.app, wb, MakeWorkbook(c.cells), german));
        std::vector<std::string> titles;
        for (int32_t i = 1; i <= app.app.store.AnzBuch; ++i) {
            const TBuch& b = *app.app.store.at(i);
            titles.push_back(b.Kuerzel.Text + "|" + b.Titel.Text + "|" + b.Autor.Text + "|" + b.Kategorie.Text);
        }
        EXPECT_EQ(titles, c.titles);
        EXPECT_FALSE(app.app.store.Gesichert());
    }
}

TEST_F(WorkbookExchangeTest, MissingOrBrokenFileAndFullStore)
{
    const std::string missing = Path("fehlt.xls");
    EXPECT_FALSE(Import(missing));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "Fehler:\r\n\r\nKonnte " + UpperAscii(missing) + " nicht finden!");
    EXPECT_TRUE(t.app.store.Gesichert()); // nothing changed

    const std::string broken = Path("kaputt.xls");
    test::WriteBytes(PathFromCp1252(broken), "kein Arbeitsblatt");
    Range(1, 1, 5, 5);
    EXPECT_FALSE(Import(broken));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[1].kind, MsgKind::Error);
    EXPECT_EQ(t.app.store.AnzBuch, 0);

    // A full store ends the import after the titles that fit.
    while (t.app.store.AnzBuch < MaxBuch - 1)
        t.app.store.NewBuch();
    const std::string path = MakeWorkbook({{0, 0, "K1"}, {0, 1, "K2"}, {0, 2, "K3"}});
    Range(1, 1, 3, 1);
    t.app.settings.ShowAllMsg = true;
    EXPECT_FALSE(Import(path));
    EXPECT_EQ(t.app.store.AnzBuch, MaxBuch);
    ASSERT_EQ(t.ui.messages.size(), 4u);
    EXPECT_EQ(t.ui.messages[3].text, "Es wurden 1 Datens\xe4tze aus " + UpperAscii(path) + " importiert.");
}

TEST_F(WorkbookExchangeTest, CommandRunsTheDialogInWorkbookMode)
{
    const std::string path = MakeWorkbook({{0, 0, "K1"}});
    Range(1, 1, 1, 1);
    Workbook wb;
    // A cancelled dialog, then no file chosen.
    EXPECT_FALSE(ImportFromWorkbook(t.app, wb, [](ImportDialogModel&) { return false; }, german));
    EXPECT_FALSE(ImportFromWorkbook(t.app, wb, [](ImportDialogModel& m) { return m.Ok(); }, german));
    t.ui.filePaths.push_back(path);
    int mode = 0;
    EXPECT_TRUE(ImportFromWorkbook(t.app, wb, [&](ImportDialogModel& m) {
        mode = m.mode();
        return m.Ok();
    }, german));
    EXPECT_EQ(mode, ImportDialogModel::WorkbookMode);
    EXPECT_EQ(t.app.store.AnzBuch, 1);
}

// Workbooks written by other programs reach the same titles.
TEST_F(WorkbookExchangeTest, WorkbooksOfOtherProducers)
{
    for (const char* name : {"libreoffice.xls", "gnumeric.xls"}) {
        SCOPED_TRACE(name);
        TestApp other;
        other.app.settings.ImpExp = {'$', 2, 1, 4, 4, 1};
        other.app.settings.KuerzelZwang = false;
        for (auto& c : other.app.columns.CellArray)
            c.ImportPos = 0;
        other.app.columns.CellArray[2].ImportPos = 1;  // Autor
        other.app.columns.CellArray[1].ImportPos = 2;  // Titel
        other.app.columns.CellArray[25].ImportPos = 3; // Jahrgang
        other.app.columns.CellArray[15].ImportPos = 4; // Preis
        Workbook wb;
        ASSERT_TRUE(ImportWorkbookFile(other.app, wb, std::string(FOLIANTO_TEST_DATA) + "/" + name, german));
        const TitleStore& store = other.app.store;
        ASSERT_EQ(store.AnzBuch, 4);
        // Autor, Titel, Jahrgang, Preis of each title; 1e20 does not fit a year.
        const std::tuple<const char*, const char*, int32_t, float> expected[] = {
            {"M\xfcller", "\xdc" "ber \xc4pfel \x96 5 \x80", 1999, 12.5f}, {"Gro\xdf", "", 2001, -3.25f},
            {"nur eins", "", -1, -1.0f}, {"Zahlen", "0,1", -1, 123456789012.0f}};
        for (int32_t i = 1; i <= 4; ++i) {
            const TBuch& b = *store.at(i);
            EXPECT_EQ(std::tuple(b.Autor.Text, b.Titel.Text, b.JahrNum, b.Preis), expected[i - 1]) << i;
        }
        EXPECT_TRUE(other.ui.messages.empty());
    }
}

} // namespace
} // namespace folianto
