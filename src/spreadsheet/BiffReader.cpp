// Reading the BIFF8 / BIFF5 records of a workbook stream. Every length and
// offset comes from the file and is checked before use.

#include "spreadsheet/Biff.h"

#include "core/Codec.h"
#include "core/Trace.h"

#include <glib.h>

#include <QString>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace folianto::biff {
namespace {

enum : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilepass = 0x002F,
    kContinue = 0x003C,
    kCodepage = 0x0042,
    kBoundsheet = 0x0085,
    kMulrk = 0x00BD,
    kMulblank = 0x00BE,
    kRstring = 0x00D6,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolerr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kBof = 0x0809,
};

[[noreturn]] void Damaged(const char* what)
{
    throw ReadFailure{ReadFailure::Kind::Damaged, Cp1252(what)};
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (static_cast<uint32_t>(Get16(p + 2)) << 16); }
double GetDouble(const uint8_t* p)
{
    uint64_t bits = Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

double DecodeRk(uint32_t rk)
{
    double value;
    if (rk & 2) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

struct Record {
    uint16_t id;
    std::size_t data; // offset of the record's data in the stream
    uint16_t size;
};

// Walks the records of the stream from a start offset.
class Records {
public:
    Records(const std::vector<uint8_t>& s, std::size_t pos) : s_(s), pos_(pos) {}

    bool AtEnd() const { return pos_ >= s_.size(); }
    std::size_t Pos() const { return pos_; }

    Record Next()
    {
        if (s_.size() - pos_ < 4)
            Damaged("Datensatz abgeschnitten");
        Record r{Get16(&s_[pos_]), pos_ + 4, Get16(&s_[pos_ + 2])};
        if (s_.size() - r.data < r.size)
            Damaged("Datensatz abgeschnitten");
        pos_ = r.data + r.size;
        return r;
    }

    bool NextIs(uint16_t id) const { return s_.size() - pos_ >= 4 && Get16(&s_[pos_]) == id; }

private:
    const std::vector<uint8_t>& s_;
    std::size_t pos_;
};

// Converts the text of the file to Windows-1252.
class TextDecoder {
public:
    void SetCodepage(uint16_t cp) { codepage_ = cp; }

    // UTF-16 code units (8-bit BIFF8 text is Latin-1, i.e. the low units).
    std::string FromUnicode(const std::u16string& units) const
    {
        std::string out;
        out.reserve(units.size());
        for (char16_t u : units) {
            // An '&' may need escaping as the start of a reference.
            if ((u < 0x80 && u != '&') || (u >= 0xA0 && u <= 0xFF))
                out += static_cast<char>(u);
            else
                return ToCp1252(QString(reinterpret_cast<const QChar*>(units.data()),
                                        static_cast<qsizetype>(units.size())));
        }
        return out;
    }

    // 8-bit BIFF5 text in the workbook's codepage.
    std::string FromCodepage(std::string bytes) const
    {
        const char* charset = nullptr;
        char name[16];
        switch (codepage_) {
        case 0: case 367: case 1200: case 1252: case 0x8001: // ANSI or unknown
            return bytes;
        case 0x8000: case 10000:
            charset = "MACINTOSH";
            break;
        default:
            g_snprintf(name, sizeof name, "CP%u", codepage_);
            charset = name;
        }
        bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
        if (ascii)
            return bytes;
        gsize written = 0;
        gchar* utf8 = g_convert(bytes.data(), static_cast<gssize>(bytes.size()), "UTF-8", charset,
                                nullptr, &written, nullptr);
        if (!utf8)
            return bytes;
        std::string result = Utf8ToCp1252(std::string(utf8, written));
        g_free(utf8);
        return result;
    }

private:
    uint16_t codepage_ = 1252;
};

// Reads the data of a record and of the CONTINUE records after it as one
// sequence; a string's characters that go on in the next part start there
// with a fresh option byte.
class Parts {
public:
    Parts(const std::vector<uint8_t>& s, std::vector<std::pair<std::size_t, std::size_t>> parts)
        : s_(s), parts_(std::move(parts)), pos_(parts_.front().first)
    {
    }

    bool Exhausted()
    {
        while (pos_ >= parts_[part_].second && part_ + 1 < parts_.size())
            pos_ = parts_[++part_].first;
        return pos_ >= parts_[part_].second;
    }

    uint8_t Byte()
    {
        if (Exhausted())
            Damaged("Text abgeschnitten");
        return s_[pos_++];
    }
    uint16_t U16() { const uint8_t lo = Byte(); return static_cast<uint16_t>(lo | (Byte() << 8)); }
    uint32_t U32() { const uint32_t lo = U16(); return lo | (static_cast<uint32_t>(U16()) << 16); }

    void Skip(uint64_t n)
    {
        while (n > 0) {
            if (Exhausted())
                Damaged("Text abgeschnitten");
            const std::size_t take = static_cast<std::size_t>(std::min<uint64_t>(n, parts_[part_].second - pos_));
            pos_ += take;
            n -= take;
        }
    }

    // BIFF8 string: length (8 or 16 bit), option byte, optional rich-text
    // and phonetic sizes, characters, then the skipped runs and phonetic data.
    std::string Biff8String(bool shortLength, const TextDecoder& decoder)
    {
        const uint16_t cch = shortLength ? Byte() : U16();
        const uint8_t flags = Byte();
        bool wide = flags & 0x01;
        const uint16_t runs = (flags & 0x08) ? U16() : 0;
        const uint32_t phonetic = (flags & 0x04) ? U32() : 0;

        std::u16string units;
        units.reserve(cch);
        std::size_t left = cch;
        while (left > 0) {
            if (pos_ >= parts_[part_].second) {
                if (part_ + 1 >= parts_.size())
                    Damaged("Text abgeschnitten");
                pos_ = parts_[++part_].first;
                if (pos_ >= parts_[part_].second)
                    Damaged("Text abgeschnitten");
                wide = s_[pos_++] & 0x01;
            }
            const std::size_t avail = (parts_[part_].second - pos_) / (wide ? 2 : 1);
            if (avail == 0)
                Damaged("Text abgeschnitten");
            const std::size_t n = std::min(left, avail);
            const uint8_t* p = &s_[pos_];
            for (std::size_t i = 0; i < n; ++i)
                units += wide ? static_cast<char16_t>(Get16(p + 2 * i)) : static_cast<char16_t>(p[i]);
            pos_ += n * (wide ? 2 : 1);
            left -= n;
        }
        Skip(uint64_t(runs) * 4);
        Skip(phonetic);
        return decoder.FromUnicode(units);
    }

    // BIFF5 string: length, then 8-bit characters in the workbook's codepage.
    std::string Biff5String(bool shortLength, const TextDecoder& decoder)
    {
        const uint16_t cch = shortLength ? Byte() : U16();
        std::string bytes;
        std::size_t left = cch;
        while (left > 0) {
            if (Exhausted())
                Damaged("Text abgeschnitten");
            const std::size_t n = std::min(left, parts_[part_].second - pos_);
            bytes.append(reinterpret_cast<const char*>(&s_[pos_]), n);
            pos_ += n;
            left -= n;
        }
        return decoder.FromCodepage(std::move(bytes));
    }

private:
    const std::vector<uint8_t>& s_;
    std::vector<std::pair<std::size_t, std::size_t>> parts_;
    std::size_t part_ = 0;
    std::size_t pos_;
};

struct SheetEntry {
    uint32_t offset;
    std::string name;
};

class StreamReader {
public:
    StreamReader(const std::vector<uint8_t>& s, bool biff5Hint) : s_(s), biff5Hint_(biff5Hint) {}

    std::vector<Sheet> Read()
    {
        std::vector<SheetEntry> entries = ReadGlobals();
        std::vector<Sheet> sheets(entries.size());

        // Substreams are parsed in file order and must not overlap, so each
        // byte of the stream is read once whatever the sheet list claims.
        std::vector<std::size_t> order(entries.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return entries[a].offset < entries[b].offset; });
        std::size_t end = globalsEnd_;
        for (std::size_t i : order) {
            if (entries[i].offset < end || entries[i].offset >= s_.size())
                Damaged("Tabellenblatt nicht gefunden");
            sheets[i].Name = entries[i].name;
            sheets[i].SetSharedStrings(sst_);
            end = ReadSheet(entries[i].offset, sheets[i]);
        }
        return sheets;
    }

private:
    Parts Single(const Record& r) const { return Parts(s_, {{r.data, r.data + r.size}}); }

    // The record and the CONTINUE records that follow it.
    Parts Continued(const Record& r, Records& records) const
    {
        std::vector<std::pair<std::size_t, std::size_t>> parts{{r.data, r.data + r.size}};
        while (records.NextIs(kContinue)) {
            const Record c = records.Next();
            parts.emplace_back(c.data, c.data + c.size);
        }
        return Parts(s_, std::move(parts));
    }

    std::string String(Parts& p, bool shortLength) const
    {
        return biff8_ ? p.Biff8String(shortLength, decoder_) : p.Biff5String(shortLength, decoder_);
    }

    std::vector<SheetEntry> ReadGlobals()
    {
        Records records(s_, 0);
        if (s_.size() < 8 || Get16(&s_[0]) != kBof)
            throw ReadFailure{ReadFailure::Kind::NotWorkbook, {}};
        const Record bof = records.Next();
        if (bof.size < 4 || Get16(&s_[bof.data + 2]) != 0x0005)
            throw ReadFailure{ReadFailure::Kind::NotWorkbook, {}};
        const uint16_t version = Get16(&s_[bof.data]);
        if (version == 0x0600)
            biff8_ = true;
        else if (version == 0x0500)
            biff8_ = false;
        else
            biff8_ = !biff5Hint_;

        std::vector<SheetEntry> entries;
        auto strings = std::make_shared<std::vector<std::string>>();
        for (;;) {
            if (records.AtEnd())
                Damaged("Ende der Arbeitsmappe fehlt");
            const Record r = records.Next();
            const uint8_t* d = &s_[r.data];
            if (r.id == kEof)
                break;
            switch (r.id) {
            case kFilepass:
                throw ReadFailure{ReadFailure::Kind::Encrypted, {}};
            case kCodepage:
                if (r.size >= 2)
                    decoder_.SetCodepage(Get16(d));
                break;
            case kBoundsheet: {
                if (r.size < 7)
                    Damaged("Tabellenliste fehlerhaft");
                Parts p = Single(r);
                p.Skip(5); // substream offset, visibility
                const uint8_t type = p.Byte();
                std::string name = String(p, true);
                if (type == 0) // worksheet (charts, macro sheets and modules carry no cells here)
                    entries.push_back({Get32(d), std::move(name)});
                break;
            }
            case kSst:
                if (biff8_)
                    ReadSst(r, records, *strings);
                break;
            default:
                break;
            }
        }
        globalsEnd_ = records.Pos();
        sst_ = std::move(strings);
        if (entries.empty())
            throw ReadFailure{ReadFailure::Kind::NoSheet, {}};
        return entries;
    }

    void ReadSst(const Record& r, Records& records, std::vector<std::string>& strings) const
    {
        Parts p = Continued(r, records);
        p.Skip(4);
        const uint32_t unique = p.U32();
        // The count is the file's claim: reserve no more than the data can hold.
        strings.reserve(std::min<std::size_t>(unique, (s_.size() - r.data) / 3));
        for (uint32_t i = 0; i < unique && !p.Exhausted(); ++i)
            strings.push_back(p.Biff8String(false, decoder_));
    }

    // Cells of one worksheet substream; returns the offset after its EOF.
    std::size_t ReadSheet(std::size_t offset, Sheet& sheet)
    {
        Records records(s_, offset);
        const Record bof = records.Next();
        if (bof.id != kBof)
            Damaged("Tabellenblatt nicht gefunden");
        int depth = 1;        // embedded charts bring their own BOF .. EOF
        bool pending = false; // a formula whose text result follows in STRING
        uint16_t pendingRow = 0, pendingCol = 0;
        while (depth > 0) {
            if (records.AtEnd())
                Damaged("Ende eines Tabellenblatts fehlt");
            const Record r = records.Next();
            if (r.id == kBof) {
                ++depth;
                continue;
            }
            if (r.id == kEof) {
                --depth;
                continue;
            }
            if (depth != 1)
                continue;
            if (r.id == kString) {
                if (pending) {
                    Parts p = Continued(r, records);
                    sheet.WriteText(pendingCol, pendingRow, String(p, false));
                }
                pending = false;
                continue;
            }
            if (IsCell(r.id))
                pending = ReadCell(r, records, sheet, pendingCol, pendingRow);
        }
        return records.Pos();
    }

    static bool IsCell(uint16_t id)
    {
        switch (id) {
        case kFormula: case kRstring: case kLabelSst: case kBlank: case kNumber: case kLabel:
        case kBoolerr: case kRk: case kMulrk: case kMulblank:
            return true;
        default:
            return false;
        }
    }

    // One cell record; true for a formula whose text result follows.
    bool ReadCell(const Record& r, Records& records, Sheet& sheet, uint16_t& col, uint16_t& row) const
    {
        const uint8_t* d = &s_[r.data];
        if (r.size < 6)
            Damaged("Zelle fehlerhaft");
        row = Get16(d);
        col = Get16(d + 2);
        switch (r.id) {
        case kLabelSst: {
            if (r.size < 10)
                Damaged("Zelle fehlerhaft");
            const uint32_t index = Get32(d + 6);
            if (!biff8_ || index >= sst_->size())
                Damaged("Verweis auf einen fehlenden Text");
            sheet.WriteSharedText(col, row, index);
            break;
        }
        case kLabel:
        case kRstring: {
            Parts p = r.id == kLabel ? Continued(r, records) : Single(r);
            p.Skip(6);
            sheet.WriteText(col, row, String(p, false));
            break;
        }
        case kNumber:
            if (r.size < 14)
                Damaged("Zelle fehlerhaft");
            sheet.WriteNumber(col, row, GetDouble(d + 6));
            break;
        case kRk:
            if (r.size < 10)
                Damaged("Zelle fehlerhaft");
            sheet.WriteNumber(col, row, DecodeRk(Get32(d + 6)));
            break;
        case kMulrk:
            for (std::size_t i = 0; 4 + 6 * (i + 1) + 2 <= r.size && col + i <= 0xFFFF; ++i)
                sheet.WriteNumber(static_cast<uint16_t>(col + i), row, DecodeRk(Get32(d + 4 + 6 * i + 2)));
            break;
        case kBlank:
            sheet.WriteBlank(col, row);
            break;
        case kMulblank:
            for (std::size_t i = 0; 4 + 2 * (i + 1) + 2 <= r.size && col + i <= 0xFFFF; ++i)
                sheet.WriteBlank(static_cast<uint16_t>(col + i), row);
            break;
        case kBoolerr:
            if (r.size < 8)
                Damaged("Zelle fehlerhaft");
            if (d[7])
                sheet.WriteError(col, row, d[6]);
            else
                sheet.WriteBool(col, row, d[6] != 0);
            break;
        case kFormula:
            if (r.size < 14)
                Damaged("Zelle fehlerhaft");
            if (Get16(d + 12) != 0xFFFF) {
                sheet.WriteNumber(col, row, GetDouble(d + 6));
                break;
            }
            switch (d[6]) {
            case 0: // text in the STRING record that follows
                sheet.WriteBlank(col, row);
                return true;
            case 1:
                sheet.WriteBool(col, row, d[8] != 0);
                break;
            case 2:
                sheet.WriteError(col, row, d[8]);
                break;
            default: // empty text
                sheet.WriteBlank(col, row);
                break;
            }
            break;
        }
        return false;
    }

    const std::vector<uint8_t>& s_;
    bool biff5Hint_;
    bool biff8_ = true;
    TextDecoder decoder_;
    std::size_t globalsEnd_ = 0;
    std::shared_ptr<const std::vector<std::string>> sst_;
};

} // namespace

std::vector<Sheet> ReadWorkbookStream(const std::vector<uint8_t>& stream, bool biff5Hint)
{
    TraceScope trace("BiffReader.ReadWorkbookStream");
    return StreamReader(stream, biff5Hint).Read();
}

} // namespace folianto::biff
