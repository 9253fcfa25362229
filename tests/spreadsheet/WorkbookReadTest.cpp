// Reading workbooks written by other programs and hand-built record streams.

#include "core/Codec.h"
#include "spreadsheet/Ole2.h"
#include "spreadsheet/Workbook.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace folianto;

namespace {

// Record streams built byte by byte.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& U8(uint8_t x) { v.push_back(x); return *this; }
    Bytes& U16(uint16_t x) { return U8(static_cast<uint8_t>(x)).U8(static_cast<uint8_t>(x >> 8)); }
    Bytes& U32(uint32_t x) { return U16(static_cast<uint16_t>(x)).U16(static_cast<uint16_t>(x >> 16)); }
    Bytes& F64(double d)
    {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        return U32(static_cast<uint32_t>(bits)).U32(static_cast<uint32_t>(bits >> 32));
    }
    Bytes& Raw(const std::string& s) { v.insert(v.end(), s.begin(), s.end()); return *this; } // 8-bit characters
    Bytes& Wide(const std::u16string& s)
    {
        for (char16_t c : s)
            U16(c);
        return *this;
    }
    Bytes& Zeros(std::size_t n) { v.insert(v.end(), n, 0); return *this; }
    // Row, column and XF index that begin every cell record.
    Bytes& Cell(uint16_t row, uint16_t col) { return U16(row).U16(col).U16(15); }
};

struct Stream : Bytes {
    Stream& Rec(uint16_t id, const Bytes& data)
    {
        U16(id).U16(static_cast<uint16_t>(data.v.size()));
        v.insert(v.end(), data.v.begin(), data.v.end());
        return *this;
    }
    Stream& Bof(uint16_t version, uint16_t type)
    {
        return Rec(0x0809, Bytes().U16(version).U16(type).Zeros(version == 0x0600 ? 12 : 4));
    }
    Stream& Eof() { return Rec(0x000A, Bytes()); }
    std::size_t Size() const { return v.size(); }
    void Patch32(std::size_t at, uint32_t x)
    {
        for (int i = 0; i < 4; ++i)
            v[at + i] = static_cast<uint8_t>(x >> (8 * i));
    }
};

const LocaleNumberFormatter kPlain("C");

std::string Text(const Sheet& sheet, uint16_t col, uint16_t row)
{
    return Cp1252ToUtf8(sheet.ReadCellText(col, row, kPlain));
}

std::string DataFile(const char* name) { return std::string(FOLIANTO_TEST_DATA) + "/" + name; }

// The long column of tests/data/make_workbooks.py.
std::string BigText(int i)
{
    char number[16];
    std::snprintf(number, sizeof number, "%04d", i);
    if (i % 7 == 3)
        return "Preis " + std::to_string(i) + " € – Lang " + std::string(i % 250, 'x');
    std::string s = std::string("Eintrag ") + number;
    if (i % 5 == 0) {
        s += " Straße ";
        for (int k = 0; k < i % 150; ++k)
            s += "ä";
    }
    return s;
}

struct Producer {
    const char* file;
    const char* trueConstant;  // LibreOffice keeps a boolean constant as a number
    const char* falseConstant;
    const char* sqrtOfMinusOne;
};

void PrintTo(const Producer& p, std::ostream* os) { *os << p.file; }

class ProducerWorkbook : public ::testing::TestWithParam<Producer> {};

TEST_P(ProducerWorkbook, EveryCellReadsAsTheProducerShowsIt)
{
    const Producer& p = GetParam();
    Workbook wb;
    wb.SetFileName(DataFile(p.file));
    wb.Read();
    ASSERT_EQ(wb.SheetCount(), 2u);
    EXPECT_EQ(std::tuple(wb.GetSheet(0).Name, wb.GetSheet(1).Name, Text(wb.GetSheet(1), 0, 0)),
              std::tuple("Daten", "Zweite", "zweites Blatt"));

    const Sheet& s = wb.GetSheet(0);
    EXPECT_EQ(std::tuple(s.FirstUsedRow(), s.LastUsedRow(), s.FirstUsedCol(), s.LastUsedCol()),
              std::tuple(0, 609, 0, 7));

    const std::vector<std::vector<std::string>> top = {
        {"Autor", "Titel", "Jahr", "Preis", "Flag", "Fehler", "Formeltext", "Formelzahl"},
        {"Müller", "Über Äpfel – 5 €", "1999", "12.5", p.trueConstant, "#DIV/0!", "Müller Jr.", "2000"},
        {"Groß", "", "2001", "-3.25", p.falseConstant, "#N/A", "", "4002"},
        {"nur eins", "", "", "", "", "", "", ""},
        {"Zahlen", "0.1", "1E+20", "123456789012", "TRUE", p.sqrtOfMinusOne, "#VALUE!", "-7"},
    };
    for (uint16_t r = 0; r < 10; ++r)
        for (uint16_t c = 0; c < 8; ++c)
            EXPECT_EQ(Text(s, c, r), r < top.size() ? top[r][c] : "") << "row " << r << " col " << c;
    for (int i = 0; i < 600; ++i) {
        const uint16_t row = static_cast<uint16_t>(10 + i);
        EXPECT_EQ(Text(s, 0, row), BigText(i)) << "row " << row;
        EXPECT_EQ(Text(s, 1, row), std::to_string(i)) << "row " << row;
        EXPECT_EQ(Text(s, 2, row), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Producers, ProducerWorkbook,
                         ::testing::Values(Producer{"gnumeric.xls", "TRUE", "FALSE", "#NUM!"},
                                           Producer{"gnumeric-biff5.xls", "TRUE", "FALSE", "#NUM!"},
                                           Producer{"libreoffice.xls", "1", "0", "#VALUE!"}));

std::vector<uint8_t> Pack(const Stream& s, const char* name = "Workbook")
{
    return ole2::PackWorkbookStream(s.v, name);
}

// Globals with one worksheet (and a chart sheet that carries no cells), then
// the worksheet built by `cells`.
template <typename F> Stream Biff8Book(const Bytes& sst, const std::vector<Bytes>& continues, F cells)
{
    Stream s;
    s.Bof(0x0600, 0x0005).Rec(0x0042, Bytes().U16(1200));
    const std::size_t offset = s.Size() + 4;
    s.Rec(0x0085, Bytes().U32(0).U8(0).U8(0).U8(5).U8(0).Raw("Blatt"));
    s.Rec(0x0085, Bytes().U32(0).U8(0).U8(2).U8(4).U8(0).Raw("Diag"));
    s.Rec(0x00FC, sst);
    for (const Bytes& c : continues)
        s.Rec(0x003C, c);
    s.Eof();
    s.Patch32(offset, static_cast<uint32_t>(s.Size()));
    s.Bof(0x0600, 0x0010);
    cells(s);
    return s.Eof();
}

TEST(WorkbookRead, SharedStringsAcrossContinueWithRichAndPhoneticParts)
{
    Bytes sst;
    sst.U32(6).U32(7); // one more than there are
    sst.U16(4).U8(0).Raw("Kurz");
    sst.U16(4).U8(0x08).U16(2).Raw("Fett").Zeros(8);          // two formatting runs
    sst.U16(5).U8(0x04).U32(6).Raw("Kanji").Zeros(6);         // phonetic block
    sst.U16(11).U8(0).Raw("Anfang");                          // goes on as 16-bit
    Bytes c1;
    c1.U8(1).Wide(u"\u20ACEnde");
    c1.U16(1).U8(1).Wide(u"\u03A9");                          // kept as a reference
    c1.U16(7).U8(0x09).U16(1).Wide(u"\u00DCber");             // 16-bit, rich, goes on as 8-bit
    Bytes c2;
    c2.U8(0).Raw("all").Zeros(4);                              // rest of the text, then its run
    Stream s = Biff8Book(sst, {c1, c2}, [](Stream& st) {
        for (uint16_t i = 0; i < 6; ++i)
            st.Rec(0x00FD, Bytes().Cell(i, 0).U32(i));
    });
    Workbook wb;
    wb.ReadFromBytes(Pack(s));
    ASSERT_EQ(wb.SheetCount(), 1u);
    EXPECT_EQ(wb.GetSheet(0).Name, "Blatt");
    const char* expected[] = {"Kurz", "Fett", "Kanji", "Anfang€Ende", "Ω", "Überall"};
    for (uint16_t i = 0; i < 6; ++i)
        EXPECT_EQ(Text(wb.GetSheet(0), 0, i), expected[i]) << i;
}

TEST(WorkbookRead, EveryCellRecordKind)
{
    Stream s = Biff8Book(Bytes().U32(0).U32(0), {}, [](Stream& st) {
        st.Rec(0x027E, Bytes().Cell(0, 0).U32((1999u << 2) | 2));            // integer
        st.Rec(0x027E, Bytes().Cell(0, 1).U32((1250u << 2) | 3));            // integer / 100
        st.Rec(0x027E, Bytes().Cell(0, 2).U32(0x40290000u));                 // 12.5, float
        st.Rec(0x027E, Bytes().Cell(0, 3).U32(0x40934A00u | 1));             // 1234.5 float / 100
        st.Rec(0x027E, Bytes().Cell(0, 4).U32(static_cast<uint32_t>(-7 * 4) | 2)); // negative
        st.Rec(0x00BD, Bytes().U16(1).U16(2).U16(15).U32((3u << 2) | 2).U16(15).U32((4u << 2) | 2).U16(3));
        st.Rec(0x00BE, Bytes().U16(1).U16(4).U16(15).U16(15).U16(15).U16(6)); // blanks in columns 4..6
        st.Rec(0x0203, Bytes().Cell(2, 0).F64(0.1));
        st.Rec(0x0207, Bytes().U16(5).U8(0).Raw("Streu"));                  // stray: no formula waits
        st.Rec(0x0201, Bytes().Cell(2, 1));
        st.Rec(0x0204, Bytes().Cell(2, 2).U16(3).U8(0).Raw("\xE4"));
        st.Rec(0x003C, Bytes().U8(0).Raw("\xF6\xFC"));                     // the label goes on
        st.Rec(0x0204, Bytes().Cell(2, 3).U16(2).U8(1).Wide(u"\u201Eq"));
        st.Rec(0x00D6, Bytes().Cell(2, 4).U16(4).U8(0).Raw("Rich").U16(1).U32(0));
        st.Bof(0x0600, 0x0020);                                             // embedded chart
        st.Rec(0x0203, Bytes().Cell(9, 9).F64(1));
        st.Eof();
        const uint8_t errors[] = {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A};
        for (uint16_t i = 0; i < 7; ++i)
            st.Rec(0x0205, Bytes().Cell(3, i).U8(errors[i]).U8(1));
        st.Rec(0x0205, Bytes().Cell(4, 0).U8(1).U8(0));
        st.Rec(0x0205, Bytes().Cell(4, 1).U8(0).U8(0));
        st.Rec(0x0006, Bytes().Cell(4, 2).F64(7));                         // a formula cut after its result
        auto formula = [&](uint16_t col, const Bytes& result) {
            st.Rec(0x0006, Bytes().Cell(5, col).Raw(std::string(result.v.begin(), result.v.end()))
                                .U16(0).U32(0).U16(3).U8(0x1E).U16(1));
        };
        formula(0, Bytes().F64(-2.5));
        formula(1, Bytes().U8(1).U8(0).U8(1).U8(0).U16(0).U16(0xFFFF));    // TRUE
        formula(2, Bytes().U8(2).U8(0).U8(0x07).U8(0).U16(0).U16(0xFFFF)); // #DIV/0!
        formula(3, Bytes().U8(3).Zeros(5).U16(0xFFFF));                    // empty text
        formula(4, Bytes().U8(0).Zeros(5).U16(0xFFFF));                    // text follows
        st.Rec(0x04BC, Bytes().Zeros(8));                                  // shared formula between
        st.Rec(0x0207, Bytes().U16(6).U8(0).Raw("Ergeb."));
        st.Rec(0x0207, Bytes().U16(5).U8(0).Raw("Streu"));                  // its text came already
        formula(5, Bytes().U8(0).Zeros(5).U16(0xFFFF));                    // text never follows
    });
    Workbook wb;
    wb.ReadFromBytes(Pack(s));
    const Sheet& sh = wb.GetSheet(0);
    const std::vector<std::vector<std::string>> expected = {
        {"1999", "12.5", "12.5", "12.345", "-7", "", "", ""},
        {"", "", "3", "4", "", "", "", ""},
        {"0.1", "", "äöü", "„q", "Rich", "", "", ""},
        {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A", ""},
        {"TRUE", "FALSE", "7", "", "", "", "", ""},
        {"-2.5", "TRUE", "#DIV/0!", "", "Ergeb.", "", "", ""},
    };
    for (uint16_t r = 0; r < expected.size(); ++r)
        for (uint16_t c = 0; c < 8; ++c)
            EXPECT_EQ(Text(sh, c, r), expected[r][c]) << "row " << r << " col " << c;
    EXPECT_EQ(sh.LastUsedRow(), 5);
    EXPECT_EQ(sh.LastUsedCol(), 6); // the blanks count as used, the chart's cell does not
}

TEST(WorkbookRead, Biff5TextInTheWorkbookCodepage)
{
    // The BOF's version says BIFF5; without one, the stream's name does.
    for (const auto& [codepage, bytes, text, version, stream] :
         {std::tuple<uint16_t, std::string, std::string, uint16_t, const char*>{1252, "\x80 \xFC", "€ ü", 0x0500, "Book"},
          {850, "\x81\x9A", "üÜ", 0x0500, "Workbook"},
          {0x8000, "\x8A", "ä", 0, "Book"}}) {
        Stream s;
        s.Bof(version, 0x0005).Rec(0x0042, Bytes().U16(codepage));
        const std::size_t offset = s.Size() + 4;
        s.Rec(0x0085, Bytes().U32(0).U8(0).U8(0).U8(static_cast<uint8_t>(bytes.size())).Raw(bytes)).Eof();
        s.Patch32(offset, static_cast<uint32_t>(s.Size()));
        s.Bof(0x0500, 0x0010);
        s.Rec(0x0204, Bytes().Cell(0, 0).U16(static_cast<uint16_t>(bytes.size())).Raw(bytes));
        s.Rec(0x0006, Bytes().Cell(0, 1).U8(0).Zeros(5).U16(0xFFFF).U16(0).U32(0).U16(0));
        s.Rec(0x0207, Bytes().U16(static_cast<uint16_t>(bytes.size())).Raw(bytes));
        s.Eof();
        EXPECT_EQ(ole2::ExtractWorkbookStream(Pack(s, stream)).biff5, std::string(stream) == "Book");
        Workbook wb;
        wb.ReadFromBytes(Pack(s, stream));
        EXPECT_EQ(Cp1252ToUtf8(wb.GetSheet(0).Name), text) << codepage;
        EXPECT_EQ(Text(wb.GetSheet(0), 0, 0), text) << codepage;
        EXPECT_EQ(Text(wb.GetSheet(0), 1, 0), text) << codepage;
    }
}

std::string ReadError(const std::vector<uint8_t>& bytes)
{
    Workbook wb;
    wb.SetFileName("/tmp/x.xls");
    try {
        wb.ReadFromBytes(bytes);
    } catch (const WorkbookError& e) {
        return Cp1252ToUtf8(e.what());
    }
    return "(kein Fehler)";
}

TEST(WorkbookRead, BadFilesGiveAMessage)
{
    const std::string notBook = "Die Datei /tmp/x.xls ist keine gültige Excel-Arbeitsmappe (BIFF8).";
    Stream good = Biff8Book(Bytes().U32(1).U32(1).U16(1).U8(0).Raw("a"), {},
                            [](Stream& st) { st.Rec(0x00FD, Bytes().Cell(0, 0).U32(0)); });
    auto cut = [&](std::size_t n) {
        Stream t = good;
        t.v.resize(t.v.size() - n);
        return t;
    };
    Stream badIndex = Biff8Book(Bytes().U32(1).U32(1).U16(1).U8(0).Raw("a"), {},
                                [](Stream& st) { st.Rec(0x00FD, Bytes().Cell(0, 0).U32(1)); });
    Stream encrypted;
    encrypted.Bof(0x0600, 0x0005).Rec(0x002F, Bytes().U16(1).Zeros(52)).Eof();
    Stream chartsOnly;
    chartsOnly.Rec(0x0809, Bytes().U16(0x0600).U16(0x0005)) // a BOF of 4 bytes will do
        .Rec(0x0085, Bytes().U32(0).U8(0).U8(2).U8(1).U8(0).Raw("C"))
        .Eof();
    Stream farSheet;
    farSheet.Bof(0x0600, 0x0005).Rec(0x0085, Bytes().U32(999999).U8(0).U8(0).U8(1).U8(0).Raw("S")).Eof();
    Stream sheetAtEnd; // the sheet's offset is the end of the stream
    sheetAtEnd.Bof(0x0600, 0x0005);
    const std::size_t sheetOffset = sheetAtEnd.Size() + 4;
    sheetAtEnd.Rec(0x0085, Bytes().U32(0).U8(0).U8(0).U8(1).U8(0).Raw("S")).Eof();
    sheetAtEnd.Patch32(sheetOffset, static_cast<uint32_t>(sheetAtEnd.Size()));
    Stream shortSheetList; // the entry ends before the name's flags, or before its length
    shortSheetList.Bof(0x0600, 0x0005).Rec(0x0085, Bytes().U32(0).U8(0).U8(0).U8(0)).Eof();
    Stream shorterSheetList;
    shorterSheetList.Bof(0x0600, 0x0005).Rec(0x0085, Bytes().U32(0).U8(0).U8(0)).Eof();
    Stream shortRk = Biff8Book(Bytes().U32(0).U32(0), {}, [](Stream& st) { st.Rec(0x027E, Bytes().Cell(0, 0).U16(0).U8(0)); });
    Stream shortSst = Biff8Book(Bytes().U32(1).U32(1).U16(40).U8(0).Raw("abc"), {}, [](Stream&) {});
    Stream worksheetOnly;
    worksheetOnly.Bof(0x0600, 0x0010).Eof();

    const std::string damaged = "Die Datei /tmp/x.xls ist beschädigt: ";
    struct Case { std::vector<uint8_t> bytes; std::string message; };
    const Case cases[] = {
        {{}, notBook},
        {{'P', 'K', 3, 4, 0, 0}, notBook},
        {std::vector<uint8_t>(600, 0xD0), notBook},
        {ole2::PackWorkbookStream(good.v, "Andere"), notBook},
        {Pack(worksheetOnly), notBook},
        {Pack(good), "(kein Fehler)"},
        {Pack(cut(1)), damaged + "Datensatz abgeschnitten."},
        {Pack(cut(4)), damaged + "Ende eines Tabellenblatts fehlt."},
        {Pack(badIndex), damaged + "Verweis auf einen fehlenden Text."},
        {Pack(shortSst), damaged + "Text abgeschnitten."},
        {Pack(shortRk), damaged + "Zelle fehlerhaft."},
        {Pack(farSheet), damaged + "Tabellenblatt nicht gefunden."},
        {Pack(sheetAtEnd), damaged + "Tabellenblatt nicht gefunden."},
        {Pack(shortSheetList), damaged + "Text abgeschnitten."},
        {Pack(shorterSheetList), damaged + "Tabellenliste fehlerhaft."},
        {Pack(encrypted), "Die Datei /tmp/x.xls ist verschlüsselt und kann nicht gelesen werden."},
        {Pack(chartsOnly), "Die Datei /tmp/x.xls enthält kein Tabellenblatt."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadError(c.bytes), c.message);
}

TEST(WorkbookRead, EveryTruncationOfAProducerFileFailsCleanly)
{
    Workbook source;
    source.SetFileName(DataFile("libreoffice.xls"));
    source.Read();
    const std::vector<uint8_t> file = source.WriteToBytes();
    const std::vector<uint8_t> stream = ole2::ExtractWorkbookStream(file).data;
    for (std::size_t n = 0; n < stream.size(); n += 97) {
        const std::vector<uint8_t> part(stream.begin(), stream.begin() + static_cast<long>(n));
        EXPECT_NE(ReadError(ole2::PackWorkbookStream(part)), "(kein Fehler)") << n;
    }
    for (std::size_t n = 0; n < file.size(); n += 512)
        ReadError(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(n)));
}

} // namespace
