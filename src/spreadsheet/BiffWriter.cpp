// Writing a BIFF8 workbook stream: the workbook globals (fonts, formats,
// styles, sheet list, shared strings) followed by one substream per sheet.

#include "spreadsheet/Biff.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"

#include <QString>

#include <cstring>
#include <string_view>
#include <unordered_map>

namespace folianto::biff {
namespace {

constexpr std::size_t kMaxRecordData = 8224;
constexpr std::size_t kMaxTextLength = 32767;
constexpr uint16_t kMaxCols = 256;
constexpr uint16_t kCellXf = 15;

class Out {
public:
    std::vector<uint8_t> bytes;

    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) { U8(static_cast<uint8_t>(v)); U8(static_cast<uint8_t>(v >> 8)); }
    void U32(uint32_t v) { U16(static_cast<uint16_t>(v)); U16(static_cast<uint16_t>(v >> 16)); }
    void Double(double d)
    {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        U32(static_cast<uint32_t>(bits));
        U32(static_cast<uint32_t>(bits >> 32));
    }
    void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    std::size_t Size() const { return bytes.size(); }

    // Starts a record; End() fills in its length.
    std::size_t Begin(uint16_t id)
    {
        const std::size_t at = bytes.size();
        U16(id);
        U16(0);
        return at;
    }
    void End(std::size_t at)
    {
        const std::size_t len = bytes.size() - at - 4;
        bytes[at + 2] = static_cast<uint8_t>(len);
        bytes[at + 3] = static_cast<uint8_t>(len >> 8);
    }
    void Patch32(std::size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

// A text as BIFF8 stores it: 8-bit (Latin-1) where every character allows it,
// otherwise UTF-16.
struct Chars {
    bool wide;
    std::u16string units; // only for wide texts
    const std::string* narrow;

    explicit Chars(const std::string& text) : wide(!IsLatin1Compatible(text)), narrow(&text)
    {
        if (wide) {
            const QString q = FromCp1252(text);
            units.assign(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<std::size_t>(q.size()));
        }
    }
    std::size_t Count() const { return wide ? units.size() : narrow->size(); }
    void Put(Out& out, std::size_t from, std::size_t n) const
    {
        for (std::size_t i = from; i < from + n; ++i) {
            if (wide)
                out.U16(units[i]);
            else
                out.U8(static_cast<uint8_t>((*narrow)[i]));
        }
    }
};

void Bof(Out& out, uint16_t type)
{
    const std::size_t r = out.Begin(0x0809);
    out.U16(0x0600);
    out.U16(type);
    out.U16(0x0DBB); // build
    out.U16(0x07CC); // year
    out.U32(0);      // file history
    out.U32(0x0006); // lowest version that can read the file
    out.End(r);
}

void SimpleRecord(Out& out, uint16_t id, std::initializer_list<uint16_t> words)
{
    const std::size_t r = out.Begin(id);
    for (uint16_t w : words)
        out.U16(w);
    out.End(r);
}

void Font(Out& out)
{
    const std::size_t r = out.Begin(0x0031);
    out.U16(200);    // 10 pt in twips
    out.U16(0);      // no italic, strike-out, outline
    out.U16(0x7FFF); // automatic colour
    out.U16(400);    // normal weight
    out.U16(0);      // no super-/subscript
    out.U8(0);       // no underline
    out.U8(2);       // swiss family
    out.U8(0);       // ANSI character set
    out.U8(0);
    static const char kName[] = "Arial";
    out.U8(sizeof kName - 1);
    out.U8(0);
    for (const char* p = kName; *p; ++p)
        out.U8(static_cast<uint8_t>(*p));
    out.End(r);
}

void Xf(Out& out, uint16_t font, bool style, uint8_t ownAttributes)
{
    const std::size_t r = out.Begin(0x00E0);
    out.U16(font);
    out.U16(0);                          // general number format
    out.U16(style ? 0xFFF5 : 0x0001);    // locked; style XFs have no parent
    out.U8(0x20);                        // bottom aligned
    out.U8(0);                           // no rotation
    out.U8(0);                           // no indent
    out.U8(ownAttributes);
    out.U32(0);                          // no borders
    out.U32(0);
    out.U16(0x20C0);                     // automatic pattern colours
    out.End(r);
}

void SheetName(Out& out, const std::string& name)
{
    const Chars chars(name);
    out.U8(static_cast<uint8_t>(chars.Count()));
    out.U8(chars.wide ? 1 : 0);
    chars.Put(out, 0, chars.Count());
}

// Excel refuses empty names, names over 31 characters and the characters : \ / ? * [ ].
std::string ValidSheetName(const std::string& name, std::size_t index)
{
    std::string out = CutCp1252(name, 31);
    for (char& c : out)
        if (std::strchr(":\\/?*[]", c) && c != '\0')
            c = '_';
    if (!out.empty() && out.front() == '\'')
        out.front() = '_';
    if (!out.empty() && out.back() == '\'')
        out.back() = '_';
    if (StripBlanks(out).empty())
        out = "Tabelle" + IntToStr(static_cast<long long>(index + 1));
    return out;
}

[[noreturn]] void TooWide(uint16_t col)
{
    throw WorkbookError(Cp1252("Die Spalte ") + IntToStr(col + 1) +
                        Cp1252(" liegt außerhalb einer Excel-Arbeitsmappe (BIFF8: höchstens 256 Spalten)."));
}

[[noreturn]] void TooLong(uint16_t col, uint16_t row)
{
    throw WorkbookError(Cp1252("Der Text in Zeile ") + IntToStr(row + 1) + Cp1252(", Spalte ") +
                        IntToStr(col + 1) +
                        Cp1252(" ist zu lang für eine Excel-Arbeitsmappe (BIFF8: höchstens 32767 Zeichen)."));
}

// The shared string table: every distinct text once, referenced by index.
class SharedStrings {
public:
    uint32_t Add(const std::string& text)
    {
        ++references_;
        const auto [it, added] = index_.emplace(std::string_view(text), static_cast<uint32_t>(texts_.size()));
        if (added)
            texts_.push_back(&text);
        return it->second;
    }

    // SST with CONTINUE records where it outgrows one record, then EXTSST
    // with the stream positions of every bucket's first string.
    void Write(Out& out) const
    {
        const uint16_t perBucket = static_cast<uint16_t>(std::max<std::size_t>(8, texts_.size() / 128 + 1));
        struct Bucket { uint32_t pos; uint16_t inRecord; };
        std::vector<Bucket> buckets;

        std::size_t record = out.Begin(0x00FC);
        out.U32(references_);
        out.U32(static_cast<uint32_t>(texts_.size()));
        auto room = [&] { return kMaxRecordData - (out.Size() - record - 4); };
        auto next = [&] {
            out.End(record);
            record = out.Begin(0x003C);
        };
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            const Chars chars(*texts_[i]);
            const std::size_t unit = chars.wide ? 2 : 1;
            // The length and option byte stay with at least one character.
            if (room() < 3 + (chars.Count() ? unit : 0))
                next();
            if (i % perBucket == 0)
                buckets.push_back({static_cast<uint32_t>(out.Size()), static_cast<uint16_t>(out.Size() - record)});
            out.U16(static_cast<uint16_t>(chars.Count()));
            out.U8(chars.wide ? 1 : 0);
            std::size_t done = 0;
            for (;;) {
                const std::size_t n = std::min(chars.Count() - done, room() / unit);
                chars.Put(out, done, n);
                done += n;
                if (done == chars.Count())
                    break;
                // The rest goes on in a CONTINUE record that repeats the option byte.
                next();
                out.U8(chars.wide ? 1 : 0);
            }
        }
        out.End(record);

        const std::size_t ext = out.Begin(0x00FF);
        out.U16(perBucket);
        for (const Bucket& b : buckets) {
            out.U32(b.pos);
            out.U16(b.inRecord);
            out.U16(0);
        }
        out.End(ext);
    }

private:
    std::vector<const std::string*> texts_;
    std::unordered_map<std::string_view, uint32_t> index_;
    uint32_t references_ = 0;
};

struct Extent {
    bool empty = true;
    uint16_t firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
};

void WriteSheet(Out& out, const Sheet& sheet, bool active, const std::vector<uint32_t>& textIndex)
{
    Bof(out, 0x0010);
    SimpleRecord(out, 0x0225, {0x0000, 0x00FF}); // DEFAULTROWHEIGHT
    SimpleRecord(out, 0x0081, {0x04C1});         // WSBOOL
    SimpleRecord(out, 0x0055, {8});              // DEFCOLWIDTH

    Extent extent;
    sheet.ForEachCell([&](const Sheet::Cell& c) {
        if (extent.empty) {
            extent = {false, c.row, c.row, c.col, c.col};
            return;
        }
        extent.lastRow = c.row;
        extent.firstCol = std::min(extent.firstCol, c.col);
        extent.lastCol = std::max(extent.lastCol, c.col);
    });
    const std::size_t dim = out.Begin(0x0200);
    out.U32(extent.empty ? 0 : extent.firstRow);
    out.U32(extent.empty ? 0 : extent.lastRow + 1u);
    out.U16(extent.empty ? 0 : extent.firstCol);
    out.U16(extent.empty ? 0 : static_cast<uint16_t>(extent.lastCol + 1));
    out.U16(0);
    out.End(dim);

    std::size_t text = 0;
    sheet.ForEachCell([&](const Sheet::Cell& c) {
        uint16_t id = 0x0201; // BLANK
        switch (c.kind) {
        case Sheet::CellKind::Text:
        case Sheet::CellKind::SharedText: id = 0x00FD; break; // LABELSST
        case Sheet::CellKind::Number: id = 0x0203; break;
        case Sheet::CellKind::Bool:
        case Sheet::CellKind::Error: id = 0x0205; break;  // BOOLERR
        case Sheet::CellKind::Blank: break;
        }
        const std::size_t r = out.Begin(id);
        out.U16(c.row);
        out.U16(c.col);
        out.U16(kCellXf);
        if (id == 0x00FD)
            out.U32(textIndex[text++]);
        else if (id == 0x0203)
            out.Double(c.number);
        else if (id == 0x0205) {
            out.U8(c.code);
            out.U8(c.kind == Sheet::CellKind::Error ? 1 : 0);
        }
        out.End(r);
    });

    const std::size_t w2 = out.Begin(0x023E); // WINDOW2
    out.U16(active ? 0x06B6 : 0x00B6);        // grid, headers, zeros, outline; selected and shown
    out.U16(0);                               // top row
    out.U16(0);                               // left column
    out.U16(64);                              // automatic grid colour
    out.U16(0);
    out.U16(0);                               // zoom in page break preview
    out.U16(0);                               // zoom normal
    out.U32(0);
    out.End(w2);
    SimpleRecord(out, 0x000A, {});
}

} // namespace

std::vector<uint8_t> WriteWorkbookStream(const std::vector<Sheet>& sheets)
{
    TraceScope trace("BiffWriter.WriteWorkbookStream");
    // Check the limits and collect the texts first: nothing half-written.
    SharedStrings sst;
    std::vector<std::vector<uint32_t>> textIndex(sheets.size());
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        sheets[s].ForEachCell([&](const Sheet::Cell& c) {
            if (c.col >= kMaxCols)
                TooWide(c.col);
            if (c.kind == Sheet::CellKind::Text || c.kind == Sheet::CellKind::SharedText) {
                const std::string& text = sheets[s].CellString(c);
                if (text.size() > kMaxTextLength)
                    TooLong(c.col, c.row);
                textIndex[s].push_back(sst.Add(text));
            }
        });
    }

    Out out;
    Bof(out, 0x0005);
    SimpleRecord(out, 0x0042, {1200});  // CODEPAGE: UTF-16
    {
        const std::size_t r = out.Begin(0x003D); // WINDOW1
        out.U16(0);
        out.U16(0);
        out.U16(0x3A5C); // width and height in twips
        out.U16(0x23BE);
        out.U16(0x0038); // scroll bars and sheet tabs shown
        out.U16(0);      // active sheet
        out.U16(0);      // first visible tab
        out.U16(1);      // selected sheets
        out.U16(600);    // tab bar width ratio
        out.End(r);
    }
    SimpleRecord(out, 0x0040, {0});  // BACKUP
    SimpleRecord(out, 0x008D, {0});  // HIDEOBJ
    SimpleRecord(out, 0x0022, {0});  // DATEMODE: 1900
    SimpleRecord(out, 0x000E, {1});  // PRECISION: as shown off
    SimpleRecord(out, 0x00DA, {0});  // BOOKBOOL
    // Font index 4 does not exist in the file; four records make 0..3.
    for (int i = 0; i < 4; ++i)
        Font(out);
    // 15 style XFs (Normal and the outline level styles), then the cell XF.
    for (uint16_t i = 0; i < 15; ++i)
        Xf(out, i == 0 ? 0 : (i <= 2 ? 1 : (i <= 4 ? 2 : 0)), true, i == 0 ? 0x00 : 0xF4);
    Xf(out, 0, false, 0x00);
    SimpleRecord(out, 0x0293, {0x8000, 0xFF00}); // STYLE: built-in "Normal" on XF 0
    SimpleRecord(out, 0x0160, {1});              // USESELFS

    std::vector<std::size_t> offsetFields;
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        const std::size_t r = out.Begin(0x0085); // BOUNDSHEET
        offsetFields.push_back(out.Size());
        out.U32(0);
        out.U8(0); // visible
        out.U8(0); // worksheet
        SheetName(out, ValidSheetName(sheets[s].Name, s));
        out.End(r);
    }
    SimpleRecord(out, 0x008C, {49, 49}); // COUNTRY: Germany
    sst.Write(out);
    SimpleRecord(out, 0x000A, {});

    for (std::size_t s = 0; s < sheets.size(); ++s) {
        out.Patch32(offsetFields[s], static_cast<uint32_t>(out.Size()));
        WriteSheet(out, sheets[s], s == 0, textIndex[s]);
    }
    return std::move(out.bytes);
}

} // namespace folianto::biff
