// A workbook stream with every kind of cell at the edges of the format (all
// Windows-1252 characters, texts across record boundaries, numbers that do
// and do not fit the compact encoding, the last column and row) against the
// digest of an approved stream, and read back cell by cell.

#include "core/Codec.h"
#include "spreadsheet/Biff.h"
#include "spreadsheet/Workbook.h"
#include "support/Golden.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <map>

namespace folianto::test {
namespace {

TEST(WorkbookGolden, EdgeCellsWrittenAndReadBack)
{
    std::map<std::pair<uint16_t, uint16_t>, std::string> expected; // (col, row) -> text
    Sheet sheet;
    sheet.Name = "Titel \xC4\xD6\xDC";
    const auto text = [&](uint16_t col, uint16_t row, const std::string& t) {
        sheet.WriteText(col, row, t);
        expected[{col, row}] = t;
    };
    std::string allBytes;
    for (int c = 1; c < 256; ++c)
        allBytes += static_cast<char>(c);
    text(0, 0, allBytes);
    text(1, 0, "Kürzel");
    // Lengths about the largest record, so that texts start and end on both
    // sides of a record boundary.
    for (uint16_t row = 1; row <= 16; ++row)
        text(0, row, std::string(8212u + row, static_cast<char>('A' + row)));
    text(2, 1, std::string(32767, 'z'));
    text(255, 3, "letzte Spalte");
    // Texts that need 16-bit storage, or look like a line break, a formula or
    // nothing; each written twice, so that the second is a shared string.
    uint16_t col = 7;
    for (const char* t : {"Müller, Ärger & Öl", "„Zitat“ – gut", "Dvořák, 文献 &#1; 😀", "", "Zeile 1\r\nZeile 2",
                          "=A1+1", " "}) {
        text(col, 0, Cp1252(t));
        text(col++, 1, Cp1252(t));
    }
    text(7, 2, std::string(32767, '\x80'));
    text(4, 65535, "letzte Zeile");
    const std::pair<double, const char*> numbers[] = {
        {0, "0"}, {1, "1"}, {-1, "-1"}, {536870911, "536870911"}, {536870912, "536870912"},
        {-536870912, "-536870912"}, {0.01, "0.01"}, {123456.78, "123456.78"}, {1e15, "1E+15"},
        {1e-5, "0.00001"}, {-0.5, "-0.5"}, {2.5e-300, "2.5E-300"}};
    uint16_t row = 2;
    for (const auto& [value, shown] : numbers) {
        sheet.WriteNumber(3, row, value);
        expected[{3, row++}] = shown;
    }
    sheet.WriteBool(5, 0, true);
    expected[{5, 0}] = "TRUE";
    sheet.WriteBool(5, 1, false);
    expected[{5, 1}] = "FALSE";
    sheet.WriteError(5, 2, 0x07);
    expected[{5, 2}] = "#DIV/0!";
    sheet.WriteBlank(6, 0);
    expected[{6, 0}] = "";

    const std::vector<uint8_t> stream = biff::WriteWorkbookStream({sheet});
    // The stream is large: its digest stands for it.
    const QByteArray bytes(reinterpret_cast<const char*>(stream.data()), static_cast<qsizetype>(stream.size()));
    ExpectGolden("edge-cells.biff.sha256",
                 QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString() + "\n");

    const std::vector<Sheet> read = biff::ReadWorkbookStream(stream, false);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].Name, sheet.Name);
    EXPECT_EQ(std::tuple(read[0].FirstUsedCol(), read[0].LastUsedCol(), read[0].FirstUsedRow(), read[0].LastUsedRow()),
              std::tuple(0, 255, 0, 65535));
    const LocaleNumberFormatter fmt("C");
    for (const auto& [place, shown] : expected)
        EXPECT_EQ(read[0].ReadCellText(place.first, place.second, fmt), shown)
            << "column " << place.first << ", row " << place.second;
}

} // namespace
} // namespace folianto::test
