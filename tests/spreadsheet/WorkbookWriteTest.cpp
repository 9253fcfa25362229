// Writing workbooks: read back by the engine itself and by Gnumeric's
// ssconvert, limits of the format, files on disk, number texts.

#include "core/Codec.h"
#include "spreadsheet/Biff.h"
#include "spreadsheet/Ole2.h"
#include "spreadsheet/Workbook.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace folianto;

namespace {

const LocaleNumberFormatter kPlain("C");

std::unique_ptr<Workbook> ReadBack(Workbook& wb)
{
    auto back = std::make_unique<Workbook>();
    back->ReadFromBytes(wb.WriteToBytes());
    return back;
}

// The message of the WorkbookError `f` throws.
std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const WorkbookError& e) {
        return Cp1252ToUtf8(e.what());
    }
    return "(kein Fehler)";
}

// The first DIMENSIONS record: first row, row after the last, first column, column after the last.
std::vector<uint32_t> Dimensions(Workbook& wb)
{
    const std::vector<uint8_t> s = ole2::ExtractWorkbookStream(wb.WriteToBytes()).data;
    const auto u16 = [&s](std::size_t at) { return static_cast<uint32_t>(s[at] | s[at + 1] << 8); };
    for (std::size_t pos = 0; pos + 4 <= s.size(); pos += 4 + u16(pos + 2))
        if (u16(pos) == 0x0200)
            return {u16(pos + 4) | u16(pos + 6) << 16, u16(pos + 8) | u16(pos + 10) << 16, u16(pos + 12), u16(pos + 14)};
    return {};
}

TEST(WorkbookWrite, EmptySheetAndClearedWorkbook)
{
    Workbook wb;
    wb.GetSheet(0).WriteText(3, 3, "weg");
    wb.ClearSheets();
    ASSERT_EQ(wb.SheetCount(), 1u);
    EXPECT_THROW(wb.GetSheet(1), std::out_of_range);
    const auto back = ReadBack(wb);
    EXPECT_EQ(back->GetSheet(0).Name, "Tabelle1"); // a sheet needs a name
    EXPECT_GT(back->GetSheet(0).FirstUsedRow(), back->GetSheet(0).LastUsedRow());
    EXPECT_GT(back->GetSheet(0).FirstUsedCol(), back->GetSheet(0).LastUsedCol());
    EXPECT_EQ(Dimensions(wb), (std::vector<uint32_t>{0, 0, 0, 0}));
    wb.GetSheet(0).WriteText(4, 3, "b");
    wb.GetSheet(0).WriteText(2, 7, "a");
    EXPECT_EQ(Dimensions(wb), (std::vector<uint32_t>{3, 8, 2, 5}));
}

TEST(WorkbookWrite, CellKindsInAnyOrderLastWriteWins)
{
    Workbook wb;
    Sheet& s = wb.GetSheet(0);
    for (int r = 65535; r >= 0; --r) // a reversed sheet stays cheap
        s.WriteText(static_cast<uint16_t>(r % 200), static_cast<uint16_t>(r), std::to_string(r));
    s.WriteNumber(5, 5, 12.5);
    s.WriteText(5, 5, "zuletzt");
    s.WriteText(0, 65535, "davor");
    s.WriteBool(201, 0, true);
    s.WriteError(202, 0, 0x2A);
    s.WriteBlank(203, 0);
    const auto back = ReadBack(wb);
    const Sheet& in = back->GetSheet(0);
    const struct { uint16_t col, row; const char* text; } cells[] = {
        {5, 5, "zuletzt"}, {0, 65535, "davor"}, {135, 65535, "65535"}, {0, 0, "0"}, {201, 0, "TRUE"}, {202, 0, "#N/A"}};
    for (const auto& c : cells)
        EXPECT_EQ(in.ReadCellText(c.col, c.row, kPlain), c.text) << c.col << "," << c.row;
    EXPECT_EQ(in.LastUsedCol(), 203);
    std::size_t count = 0;
    in.ForEachCell([&](const Sheet::Cell&) { ++count; });
    EXPECT_EQ(count, 65540u);
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
        EXPECT_EQ(ErrorOf([&] { wb.WriteToBytes(); }), c.message);
    }
}

// Sheet names as Excel takes them: no : \\ / ? * [ ], no quote at either end,
// not blank, at most 31 characters.
TEST(WorkbookWrite, SheetNamesExcelAccepts)
{
    const std::pair<std::string, std::string> names[] = {
        {"Jahr: 2020/21 [*?]\\", "Jahr_ 2020_21 _____"}, {"'Zitat'", "_Zitat_"}, {" ", "Tabelle3"}, {"", "Tabelle4"},
        {std::string(40, 'x'), std::string(31, 'x')}};
    std::vector<Sheet> sheets(std::size(names));
    for (std::size_t i = 0; i < sheets.size(); ++i)
        sheets[i].Name = names[i].first;
    const std::vector<Sheet> read = biff::ReadWorkbookStream(biff::WriteWorkbookStream(sheets), false);
    ASSERT_EQ(read.size(), sheets.size());
    for (std::size_t i = 0; i < sheets.size(); ++i)
        EXPECT_EQ(read[i].Name, names[i].second);
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
    EXPECT_EQ(ErrorOf([&] { tooWide.Write(); })
                  .rfind(Cp1252ToUtf8("Die Datei " + path + "/kein/Ordner.xls kann nicht geschrieben werden: "), 0),
              0u);

    Workbook back;
    back.SetFileName(path);
    back.Read();
    EXPECT_EQ(back.GetSheet(0).ReadCellText(0, 0, kPlain), "neu");
    back.SetFileName(path + ".fehlt");
    EXPECT_EQ(ErrorOf([&] { back.Read(); }).rfind(Cp1252ToUtf8("Die Datei " + path + ".fehlt kann nicht ge"), 0), 0u);
}

TEST(WorkbookWrite, NumberTextsFollowTheLocale)
{
    struct Case { const char* locale; double value; const char* text; };
    const Case cases[] = {
        {"de_DE", 12.5, "12,5"},         {"en_US", 12.5, "12.5"},
        {"de_DE", 1234567.25, "1234567,25"}, {"de_DE", -0.1, "-0,1"},
        {"C", 0.1 + 0.2, "0.30000000000000004"}, {"C", 123456789012, "123456789012"},
        {"C", 0.00001, "0.00001"},       {"C", 1e-7, "1E-07"},
        {"C", 1e20, "1E+20"},            {"C", -0.0, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocaleNumberFormatter(c.locale).FormatGeneral(c.value), c.text) << c.locale << " " << c.value;
    const std::string point = ToCp1252(QLocale::system().decimalPoint());
    EXPECT_EQ(SystemNumberFormatter().FormatGeneral(0.5), "0" + point + "5");
}

TEST(WorkbookWrite, SsconvertReadsEveryCell)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ssconvert"));
    if (program.isEmpty())
        GTEST_SKIP() << "ssconvert is not installed";

    std::vector<std::vector<std::string>> expected = {
        {Cp1252("Müller, Ärger & Öl"), Cp1252("Preis 5 €"), Cp1252("„Zitat“ – gut"), "", "=A1+1",
         Cp1252("ß\"x\""), std::string(9000, '\x80') + "Ende", // 16-bit text over several CONTINUE records
         Cp1252("Dvořák, Миłosz, 文献")}}; // other scripts as themselves
    // Enough distinct texts for a shared string table of many records.
    for (int r = 1; r < 2500; ++r)
        expected.push_back({"Titel " + std::to_string(r),
                            Cp1252(r % 3 ? "Straße " : "€ ") + std::to_string(r),
                            r % 11 ? "" : std::string(250, static_cast<char>('a' + r % 26)) + std::to_string(r)});
    Workbook wb;
    for (uint16_t r = 0; r < expected.size(); ++r)
        for (uint16_t c = 0; c < expected[r].size(); ++c)
            wb.GetSheet(0).WriteText(c, r, expected[r][c]);

    QTemporaryDir dir;
    const QString xls = dir.filePath(QStringLiteral("export.xls"));
    const QString out = dir.filePath(QStringLiteral("export.txt"));
    wb.SetFileName(ToCp1252(xls));
    wb.Write();
    QProcess p;
    // Cells separated by '|', which no text here holds, and never quoted.
    p.start(program, {QStringLiteral("--export-type=Gnumeric_stf:stf_assistant"),
                      QStringLiteral("-O"), QStringLiteral("separator=| quoting-mode=never"), xls, out});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QByteArray err = p.readAllStandardError();
    ASSERT_EQ(p.exitCode(), 0) << err.toStdString();
    EXPECT_FALSE(err.contains("rror")) << err.toStdString(); // no complaint about the file

    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(static_cast<std::size_t>(rows.size()), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        const QStringList cells = rows[static_cast<qsizetype>(r)].split(QLatin1Char('|'));
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            EXPECT_EQ(c < static_cast<std::size_t>(cells.size()) ? ToCp1252(cells[static_cast<qsizetype>(c)]) : "",
                      expected[r][c]) << r << "," << c;
    }
}

} // namespace
