// Writing workbooks: read back by the engine itself and by Gnumeric's
// ssconvert, limits of the format, files on disk, number texts.

#include "core/Codec.h"
#include "spreadsheet/Ole2.h"
#include "spreadsheet/Workbook.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>
#include <vector>

using namespace folianto;

namespace {

const LocaleNumberFormatter kPlain("C");

std::string AllBytes()
{
    std::string s;
    for (int c = 1; c < 256; ++c)
        s += static_cast<char>(c);
    return s;
}

// Texts as Windows-1252: 8-bit ones, ones that need 16-bit storage, empty.
std::vector<std::string> SampleTexts()
{
    return {Cp1252("Müller, Ärger & Öl"), Cp1252("Preis 5 €"), Cp1252("„Zitat“ – gut"), "",
            "Zeile 1\r\nZeile 2", "=A1+1", std::string(32767, 'a'), std::string(32767, '\x80'),
            AllBytes(), " "};
}

TEST(WorkbookWrite, TextsReadBackUnchanged)
{
    Workbook wb;
    Sheet& out = wb.GetSheet(0);
    out.Name = "Folianto-Export";
    const std::vector<std::string> texts = SampleTexts();
    for (uint16_t i = 0; i < texts.size(); ++i) {
        out.WriteText(1, static_cast<uint16_t>(i + 2), texts[i]);
        out.WriteText(static_cast<uint16_t>(i + 1), 1, texts[i]); // repeated: shared once
    }
    out.WriteText(255, 65535, "Ecke");

    Workbook back;
    back.ReadFromBytes(wb.WriteToBytes());
    ASSERT_EQ(back.SheetCount(), 1u);
    const Sheet& in = back.GetSheet(0);
    EXPECT_EQ(in.Name, "Folianto-Export");
    for (uint16_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(in.ReadCellText(1, static_cast<uint16_t>(i + 2), kPlain), texts[i]) << i;
        EXPECT_EQ(in.ReadCellText(static_cast<uint16_t>(i + 1), 1, kPlain), texts[i]) << i;
    }
    EXPECT_EQ(in.ReadCellText(255, 65535, kPlain), "Ecke");
    EXPECT_EQ(in.ReadCellText(0, 0, kPlain), "");
    EXPECT_EQ(in.FirstUsedRow(), 1);
    EXPECT_EQ(in.LastUsedRow(), 65535);
    EXPECT_EQ(in.FirstUsedCol(), 1);
    EXPECT_EQ(in.LastUsedCol(), 255);
}

TEST(WorkbookWrite, EmptySheetAndClearedWorkbook)
{
    Workbook wb;
    wb.GetSheet(0).WriteText(3, 3, "weg");
    wb.ClearSheets();
    ASSERT_EQ(wb.SheetCount(), 1u);
    const Sheet& empty = wb.GetSheet(0);
    EXPECT_GT(empty.FirstUsedRow(), empty.LastUsedRow());
    EXPECT_GT(empty.FirstUsedCol(), empty.LastUsedCol());

    Workbook back;
    back.ReadFromBytes(wb.WriteToBytes());
    EXPECT_EQ(back.GetSheet(0).Name, "Tabelle1"); // a sheet needs a name
    EXPECT_GT(back.GetSheet(0).FirstUsedRow(), back.GetSheet(0).LastUsedRow());
}

TEST(WorkbookWrite, OtherCellKindsSurviveAWriteAfterRead)
{
    Workbook wb;
    Sheet& s = wb.GetSheet(0);
    s.WriteNumber(0, 0, 12.5);
    s.WriteBool(1, 0, true);
    s.WriteError(2, 0, 0x2A);
    s.WriteBlank(3, 0);
    s.WriteText(0, 0, "ersetzt"); // a second write replaces the cell
    Workbook back;
    back.ReadFromBytes(wb.WriteToBytes());
    const Sheet& in = back.GetSheet(0);
    EXPECT_EQ(in.ReadCellText(0, 0, kPlain), "ersetzt");
    EXPECT_EQ(in.ReadCellText(1, 0, kPlain), "TRUE");
    EXPECT_EQ(in.ReadCellText(2, 0, kPlain), "#N/A");
    EXPECT_EQ(in.LastUsedCol(), 3);
}

TEST(WorkbookWrite, CellsInAnyOrderLastWriteWins)
{
    Workbook wb;
    Sheet& s = wb.GetSheet(0);
    for (int r = 65535; r >= 0; --r) // a reversed sheet stays cheap
        s.WriteText(static_cast<uint16_t>(r % 200), static_cast<uint16_t>(r), std::to_string(r));
    s.WriteText(5, 5, "neu");
    s.WriteText(5, 5, "neuer");
    s.WriteText(0, 65535, "davor");
    EXPECT_EQ(s.ReadCellText(5, 5, kPlain), "neuer");
    s.WriteText(5, 5, "zuletzt");
    Workbook back;
    back.ReadFromBytes(wb.WriteToBytes());
    const Sheet& in = back.GetSheet(0);
    EXPECT_EQ(in.ReadCellText(5, 5, kPlain), "zuletzt");
    EXPECT_EQ(in.ReadCellText(0, 65535, kPlain), "davor");
    EXPECT_EQ(in.ReadCellText(135, 65535, kPlain), "65535");
    EXPECT_EQ(in.ReadCellText(0, 0, kPlain), "0");
    std::size_t count = 0;
    in.ForEachCell([&](const Sheet::Cell&) { ++count; });
    EXPECT_EQ(count, 65537u);
}

TEST(WorkbookWrite, LimitsOfTheFormatRefuseWithAMessage)
{
    struct Case { uint16_t col; std::size_t length; const char* message; };
    const Case cases[] = {
        {256, 1, "Die Spalte 257 liegt außerhalb einer Excel-Arbeitsmappe (BIFF8: höchstens 256 Spalten)."},
        {65535, 1, "Die Spalte 65536 liegt außerhalb einer Excel-Arbeitsmappe (BIFF8: höchstens 256 Spalten)."},
        {4, 32768, "Der Text in Zeile 8, Spalte 5 ist zu lang für eine Excel-Arbeitsmappe (BIFF8: höchstens 32767 Zeichen)."},
    };
    for (const Case& c : cases) {
        Workbook wb;
        wb.GetSheet(0).WriteText(c.col, 7, std::string(c.length, 'x'));
        try {
            wb.WriteToBytes();
            ADD_FAILURE() << c.message;
        } catch (const WorkbookError& e) {
            EXPECT_EQ(Cp1252ToUtf8(e.what()), c.message);
        }
    }
}

TEST(WorkbookWrite, FileIsReplacedAndReadBack)
{
    QTemporaryDir dir;
    const std::string path = ToCp1252(dir.filePath(QStringLiteral("Export ä.XLS")));
    {
        QFile old(PathFromCp1252(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alter Inhalt, viel länger als nötig, damit nichts davon übrig bleiben darf");
    }
    Workbook wb;
    wb.SetFileName(path);
    wb.GetSheet(0).WriteText(0, 0, "neu");
    wb.Write();

    // A workbook that cannot be written leaves the file as it was.
    Workbook tooWide;
    tooWide.SetFileName(path);
    tooWide.GetSheet(0).WriteText(300, 0, "x");
    EXPECT_THROW(tooWide.Write(), WorkbookError);
    tooWide.SetFileName(path + "/kein/Ordner.xls");
    tooWide.ClearSheets();
    try {
        tooWide.Write();
        ADD_FAILURE();
    } catch (const WorkbookError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Die Datei " + path + "/kein/Ordner.xls kann nicht geschrieben werden: ", 0), 0u);
    }

    Workbook back;
    back.SetFileName(path);
    back.Read();
    EXPECT_EQ(back.GetSheet(0).ReadCellText(0, 0, kPlain), "neu");

    back.SetFileName(path + ".fehlt");
    try {
        back.Read();
        ADD_FAILURE();
    } catch (const WorkbookError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Die Datei " + path + ".fehlt kann nicht ge", 0), 0u) << e.what();
    }
}

TEST(WorkbookWrite, NumberTextsFollowTheLocale)
{
    struct Case { const char* locale; double value; const char* text; };
    const Case cases[] = {
        {"de_DE", 12.5, "12,5"},         {"en_US", 12.5, "12.5"},
        {"de_DE", 1999, "1999"},         {"de_DE", 1234567.25, "1234567,25"},
        {"de_DE", -0.1, "-0,1"},         {"C", 0.1 + 0.2, "0.30000000000000004"},
        {"C", 123456789012, "123456789012"}, {"C", 0.00001, "0.00001"},
        {"C", 1e-7, "1E-07"},            {"C", 1e20, "1E+20"},
        {"C", -0.0, "0"},                {"fr_FR", 2.75, "2,75"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocaleNumberFormatter(c.locale).FormatGeneral(c.value), c.text) << c.locale << " " << c.value;
    const std::string point = ToCp1252(QLocale::system().decimalPoint());
    EXPECT_EQ(SystemNumberFormatter().FormatGeneral(0.5), "0" + point + "5");
}

// ---- read back by Gnumeric ------------------------------------------------

// Rows of a CSV file as ssconvert writes it (UTF-8, quotes doubled).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            rows.back().push_back(std::move(field));
            field.clear();
            rows.emplace_back();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !rows.back().empty())
        rows.back().push_back(field);
    else
        rows.pop_back();
    return rows;
}

// Converts a workbook to CSV (UTF-8) with another program; nothing when the
// program is not installed.
struct Reader {
    const char* program;
    QStringList (*arguments)(const QString& xls, const QString& dir);
};

const Reader kReaders[] = {
    {"ssconvert",
     [](const QString& xls, const QString& dir) {
         return QStringList{QStringLiteral("--export-type=Gnumeric_stf:stf_csv"), xls, dir + QStringLiteral("/export.csv")};
     }},
    {"soffice",
     [](const QString& xls, const QString& dir) {
         return QStringList{QStringLiteral("-env:UserInstallation=file://") + dir + QStringLiteral("/profile"),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                            QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
                            dir, xls};
     }},
};

void PrintTo(const Reader& r, std::ostream* os) { *os << r.program; }

class OtherReader : public ::testing::TestWithParam<Reader> {};

TEST_P(OtherReader, ReadsEveryCell)
{
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(GetParam().program));
    if (program.isEmpty())
        GTEST_SKIP() << GetParam().program << " is not installed";

    Workbook wb;
    Sheet& s = wb.GetSheet(0);
    s.Name = "Folianto-Export";
    std::vector<std::vector<std::string>> expected;
    const std::vector<std::string> samples = {Cp1252("Müller, Ärger & Öl"), Cp1252("Preis 5 €"),
                                              Cp1252("„Zitat“ – gut"), "", "=A1+1", Cp1252("ß\"x\""),
                                              // 16-bit text over several CONTINUE records
                                              std::string(9000, '\x80') + "Ende"};
    expected.push_back(samples);
    // Enough distinct texts for a shared string table of many records.
    for (int r = 1; r < 2500; ++r) {
        std::vector<std::string> row;
        row.push_back("Titel " + std::to_string(r));
        row.push_back(r % 3 ? Cp1252("Straße ") + std::to_string(r) : Cp1252("€ ") + std::to_string(r));
        row.push_back(r % 11 ? "" : std::string(250, static_cast<char>('a' + r % 26)) + std::to_string(r));
        expected.push_back(row);
    }
    for (uint16_t r = 0; r < expected.size(); ++r)
        for (uint16_t c = 0; c < expected[r].size(); ++c)
            s.WriteText(c, r, expected[r][c]);

    QTemporaryDir dir;
    const QString xls = dir.filePath(QStringLiteral("export.xls"));
    wb.SetFileName(ToCp1252(xls));
    wb.Write();
    QProcess p;
    p.start(program, GetParam().arguments(xls, dir.path()));
    ASSERT_TRUE(p.waitForFinished(120000));
    const QByteArray err = p.readAllStandardError();
    ASSERT_EQ(p.exitCode(), 0) << err.toStdString();
    EXPECT_FALSE(err.contains("rror")) << err.toStdString(); // no complaint about the file

    QFile f(dir.filePath(QStringLiteral("export.csv")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto rows = ParseCsv(f.readAll().toStdString());
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            EXPECT_EQ(c < rows[r].size() ? Utf8ToCp1252(rows[r][c]) : "", expected[r][c]) << r << "," << c;
}

INSTANTIATE_TEST_SUITE_P(Programs, OtherReader, ::testing::ValuesIn(kReaders),
                         [](const auto& info) { return std::string(info.param.program); });

} // namespace
