#include "core/DatabaseFile.h"

#include "core/AppError.h"
#include "core/Buch.h"
#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>

namespace folianto {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kMinBufferSize = 256; // room for the longest peek

// No more buffer than a small file needs.
std::size_t BufferSizeFor(QIODevice& dev)
{
    if (dev.isSequential())
        return kBufferSize;
    const qint64 size = std::max<qint64>(dev.size(), 0);
    return static_cast<std::size_t>(std::clamp<qint64>(size, kMinBufferSize, kBufferSize));
}

int32_t GetInt32(const unsigned char* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

int32_t ReadInt32(ByteReader& in)
{
    unsigned char b[4] = {};
    in.read(b, sizeof b);
    return GetInt32(b);
}

float ReadSingle(ByteReader& in)
{
    const uint32_t bits = static_cast<uint32_t>(ReadInt32(in));
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double ReadDouble(ByteReader& in)
{
    unsigned char b[8] = {};
    in.read(b, sizeof b);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | b[i];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Why the title is given up; the caller tells the user.
bool RefuseBlock(std::string& refusal, int32_t count, int32_t anzBuch, int fieldNo)
{
    refusal = Cp1252("Gefährlich großer Speicherblock (") + IntToStr(count) +
              ") soll angefordert werden.\r\nSicherheitsabbruch an ID \"" + IntToStr(anzBuch) + "|" +
              IntToStr(fieldNo) + "\"!";
    return false;
}

bool ReadText(ByteReader& in, std::string& refusal, int32_t anzBuch, int fieldNo, TBuchRec& rec)
{
    const int32_t n = ReadInt32(in);
    if (n >= MaxBlockSize)
        return RefuseBlock(refusal, n, anzBuch, fieldNo);
    rec.Text.clear();
    if (n > 0)
        in.appendTo(rec.Text, static_cast<std::size_t>(n));
    if (rec.Text.size() == 1 && rec.Text[0] == ' ')
        rec.Text.clear();
    return true;
}

// Optional sign, digits with at most one decimal point or comma.
bool IsDecimalNumber(const std::string& s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digit = false;
    bool separator = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9')
            digit = true;
        else if ((c == '.' || c == ',') && !separator)
            separator = true;
        else
            return false;
    }
    return digit;
}

struct OldText {
    std::size_t offset;
    std::size_t capacity;
    int fieldNo;
};

// Text fields of an older-format record: a length byte, then capacity bytes.
constexpr OldText kOldTexts[] = {
    {0, 20, 1},     {21, 255, 2},    {277, 80, 3},    {358, 255, 4},   {614, 255, 5},   {870, 255, 6},
    {1126, 20, 7},  {1155, 20, 8},   {1176, 40, 9},   {1217, 40, 10},  {1258, 20, 11},  {1279, 255, 12},
    {1535, 20, 13}, {1564, 20, 16},  {1593, 20, 17},  {1614, 40, 18},  {1655, 255, 19}, {1911, 255, 20},
    {2167, 40, 21}, {2208, 255, 22}, {2464, 120, 23}, {2585, 80, 24},  {2674, 40, 26},  {2715, 255, 27},
};

std::string NumberText(int32_t v)
{
    return v == 0 ? std::string() : IntToStr(v);
}

int32_t StoredPicCount(const TBuch& b)
{
    if (b.AnzPics <= 0)
        return b.AnzPics;
    return static_cast<int32_t>(std::min<std::size_t>(static_cast<std::size_t>(b.AnzPics), b.Pics.size()));
}

void WriteText(ByteWriter& out, const std::string& text)
{
    if (text.empty()) {
        out.writeInt32(1);
        out.write(" ", 1);
        return;
    }
    out.writeInt32(static_cast<int32_t>(text.size()));
    out.write(text.data(), text.size());
}

} // namespace

bool ReadHeaderTitle(ByteReader& in, std::string& refusal, int32_t nr, TBuch& b, int32_t minor)
{
    for (int f = 1; f <= 32; ++f)
        if (!ReadField(in, refusal, nr, b, f))
            return false;
    if (minor >= 3) {
        if (!ReadField(in, refusal, nr, b, 33))
            return false;
        // The count comes from the file: entries are read one by one and
        // must all lie inside the data. The count left is that of the
        // entries read whole.
        bool whole = true;
        try {
            for (int32_t i = 0; i < b.AnzPics && whole; ++i) {
                TPicRec pic;
                whole = ReadField(in, refusal, nr, b, 34, &pic) && ReadField(in, refusal, nr, b, 35, &pic) &&
                        (pic.Kind < 0 || pic.Kind > 255 || ReadField(in, refusal, nr, b, 36, &pic)) &&
                        ReadField(in, refusal, nr, b, 37, &pic) && !in.hitEnd();
                if (whole)
                    b.Pics.push_back(std::move(pic));
            }
        } catch (...) {
            b.AnzPics = static_cast<int32_t>(b.Pics.size());
            throw;
        }
        if (!whole) {
            b.AnzPics = static_cast<int32_t>(b.Pics.size());
            return false;
        }
    }
    if (minor >= 4 && !ReadField(in, refusal, nr, b, 38))
        return false;
    if (b.HeftNr.Text == "0")
        b.HeftNr.Text.clear();
    if (b.Band.Text == "0")
        b.Band.Text.clear();
    return true;
}

bool IsOldRecordStart(const unsigned char* data, std::size_t size)
{
    if (size == 0)
        return false;
    for (const OldText& t : kOldTexts)
        if (t.offset < size && data[t.offset] > t.capacity)
            return false;
    return true;
}

void FillFromOldRecord(TBuch& b, const unsigned char* rec)
{
    for (const OldText& t : kOldTexts) {
        const unsigned char* p = rec + t.offset;
        const std::size_t len = std::min<std::size_t>(p[0], t.capacity);
        b.TextField(t.fieldNo).Text.assign(reinterpret_cast<const char*>(p + 1), len);
    }
    const uint32_t preisBits = static_cast<uint32_t>(GetInt32(rec + 1147));
    std::memcpy(&b.Preis, &preisBits, sizeof b.Preis);
    b.Auflage = GetInt32(rec + 1151);
    b.JahrNum = GetInt32(rec + 1556);
    b.HeftNr.Text = NumberText(GetInt32(rec + 1560));
    b.Band.Text = NumberText(GetInt32(rec + 1585));
    b.TypNum = GetInt32(rec + 1589);
    b.Laenge.Text = IntToStr(GetInt32(rec + 2666));
    b.Verleihstatus = GetInt32(rec + 2670);
}

void WriteTitle(ByteWriter& out, const TBuch& b, int32_t minor)
{
    for (int f = 1; f <= 32; ++f)
        WriteField(out, b, f);
    if (minor >= 3) {
        WriteField(out, b, 33);
        const int32_t n = StoredPicCount(b);
        for (int32_t i = 0; i < n; ++i) {
            const TPicRec& pic = b.Pics[static_cast<std::size_t>(i)];
            WriteField(out, b, 34, &pic);
            WriteField(out, b, 35, &pic);
            if (pic.Kind >= 0 && pic.Kind <= 255 && pic.Size > 0)
                WriteField(out, b, 36, &pic);
            WriteField(out, b, 37, &pic);
        }
    }
    if (minor >= 4)
        WriteField(out, b, 38);
}

// ---------------------------------------------------------------- ByteReader

ByteReader::ByteReader(QIODevice& dev, std::string errorText)
    : dev_(dev), errorText_(std::move(errorText)), buf_(BufferSizeFor(dev)), size_(dev.isSequential() ? -1 : dev.size())
{
}

// Tops the buffer up until `want` bytes are buffered or the data end.
bool ByteReader::fill(std::size_t want)
{
    want = std::min(want, buf_.size());
    if (buffered() >= want)
        return true;
    if (pos_ > 0) {
        std::memmove(buf_.data(), buf_.data() + pos_, buffered());
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < want && !eof_) {
        const qint64 got = dev_.read(buf_.data() + end_, static_cast<qint64>(buf_.size() - end_));
        if (got < 0)
            throw AppError(errorText_);
        if (got == 0)
            eof_ = true;
        end_ += static_cast<std::size_t>(got);
    }
    return buffered() >= want;
}

std::size_t ByteReader::read(void* dst, std::size_t n)
{
    if (n <= buffered()) {
        std::memcpy(dst, buf_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    char* out = static_cast<char*>(dst);
    std::size_t done = 0;
    while (done < n) {
        if (buffered() == 0 && !fill(n - done) && buffered() == 0)
            break;
        const std::size_t k = std::min(n - done, buffered());
        std::memcpy(out + done, buf_.data() + pos_, k);
        pos_ += k;
        done += k;
    }
    if (done < n)
        hitEnd_ = true;
    return done;
}

std::size_t ByteReader::peek(void* dst, std::size_t n)
{
    fill(n);
    const std::size_t k = std::min(n, buffered());
    std::memcpy(dst, buf_.data() + pos_, k);
    return k;
}

std::size_t ByteReader::skip(std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        if (buffered() == 0 && !fill(1))
            break;
        const std::size_t k = std::min(n - done, buffered());
        pos_ += k;
        done += k;
    }
    if (done < n)
        hitEnd_ = true;
    return done;
}

bool ByteReader::atEnd()
{
    return buffered() == 0 && !fill(1);
}

template <class Container>
std::size_t ByteReader::appendBytes(Container& out, std::size_t n)
{
    using Char = typename Container::value_type;
    if (n > buffered()) {
        // Reserve only what the data can still hold.
        const qint64 ahead = size_ < 0 ? 0 : std::max<qint64>(0, size_ - dev_.pos());
        out.reserve(out.size() + std::min(n, buffered() + static_cast<std::size_t>(ahead)));
    }
    std::size_t done = 0;
    while (done < n) {
        if (buffered() == 0 && !fill(n - done) && buffered() == 0)
            break;
        const std::size_t k = std::min(n - done, buffered());
        const Char* p = reinterpret_cast<const Char*>(buf_.data() + pos_);
        out.insert(out.end(), p, p + k);
        pos_ += k;
        done += k;
    }
    if (done < n)
        hitEnd_ = true;
    return done;
}

std::size_t ByteReader::appendTo(std::string& out, std::size_t n)
{
    return appendBytes(out, n);
}

std::size_t ByteReader::appendTo(std::vector<uint8_t>& out, std::size_t n)
{
    return appendBytes(out, n);
}

// ---------------------------------------------------------------- ByteWriter

ByteWriter::ByteWriter(QIODevice& dev, std::string errorText)
    : dev_(dev), errorText_(std::move(errorText)), buf_(kBufferSize)
{
}

void ByteWriter::write(const void* src, std::size_t n)
{
    const char* p = static_cast<const char*>(src);
    if (used_ + n > buf_.size()) {
        flush();
        if (n >= buf_.size()) {
            if (dev_.write(p, static_cast<qint64>(n)) != static_cast<qint64>(n))
                throw AppError(errorText_);
            return;
        }
    }
    std::memcpy(buf_.data() + used_, p, n);
    used_ += n;
}

void ByteWriter::writeInt32(int32_t v)
{
    const uint32_t u = static_cast<uint32_t>(v);
    const char b[4] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8 & 0xFF),
                       static_cast<char>(u >> 16 & 0xFF), static_cast<char>(u >> 24 & 0xFF)};
    write(b, sizeof b);
}

void ByteWriter::flush()
{
    if (used_ == 0)
        return;
    const qint64 n = static_cast<qint64>(used_);
    used_ = 0;
    if (dev_.write(buf_.data(), n) != n)
        throw AppError(errorText_);
}

// ---------------------------------------------------------------- format

bool IsHeaderFormat(const char* data, std::size_t size, int& headerLen)
{
    headerLen = 8;
    if (size <= 20 || std::memcmp(data, "Folianto", 8) != 0)
        return false;
    std::string version;
    for (std::size_t i = 8; i < 20; ++i) {
        ++headerLen;
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c == '#')
            return IsDecimalNumber(version);
        if (IsPrintable(c)) // drops blanks and control characters
            version += static_cast<char>(c);
    }
    return false;
}

bool IsHeaderFormat(const std::string& path, int& headerLen)
{
    TraceScope trace("DatabaseFile.IsHeaderFormat");
    QFile file(PathFromCp1252(path));
    headerLen = 8;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char first[21];
    const qint64 got = file.read(first, sizeof first);
    return got > 0 && IsHeaderFormat(first, static_cast<std::size_t>(got), headerLen);
}

bool ReadField(ByteReader& in, std::string& refusal, int32_t anzBuch, TBuch& b, int fieldNo, TPicRec* pic)
{
    if (fieldNo >= 1 && fieldNo <= TextFieldCount)
        return ReadText(in, refusal, anzBuch, fieldNo, b.TextField(fieldNo));
    switch (fieldNo) {
    case 28: b.Auflage = ReadInt32(in); break;
    case 29: b.Verleihstatus = ReadInt32(in); break;
    case 30: b.JahrNum = ReadInt32(in); break;
    case 31: b.Preis = ReadSingle(in); break;
    case 32: b.TypNum = ReadInt32(in); break;
    case 33: b.AnzPics = ReadInt32(in); break;
    case 34: pic->Size = ReadInt32(in); break;
    case 35: pic->Kind = ReadInt32(in); break;
    case 36:
        if (pic->Size >= MaxBlockSize)
            return RefuseBlock(refusal, pic->Size, anzBuch, fieldNo);
        pic->Data.clear();
        if (pic->Size > 0)
            in.appendTo(pic->Data, static_cast<std::size_t>(pic->Size));
        break;
    case 37: return ReadText(in, refusal, anzBuch, fieldNo, pic->BildTitel);
    case 38: b.Kaufdatum = ReadDouble(in); break;
    default: break;
    }
    return true;
}

void WriteField(ByteWriter& out, const TBuch& b, int fieldNo, const TPicRec* pic)
{
    if (fieldNo >= 1 && fieldNo <= TextFieldCount) {
        WriteText(out, b.TextField(fieldNo).Text);
        return;
    }
    switch (fieldNo) {
    case 28: out.writeInt32(b.Auflage); break;
    case 29: out.writeInt32(b.Verleihstatus); break;
    case 30: out.writeInt32(b.JahrNum); break;
    case 31: {
        uint32_t bits;
        std::memcpy(&bits, &b.Preis, sizeof bits);
        out.writeInt32(static_cast<int32_t>(bits));
        break;
    }
    case 32: out.writeInt32(b.TypNum); break;
    case 33: out.writeInt32(StoredPicCount(b)); break;
    case 34: out.writeInt32(pic->Size); break;
    case 35: out.writeInt32(pic->Kind); break;
    case 36: {
        // Exactly Size bytes, so the entry stays readable whatever Data holds.
        const std::size_t size = pic->Size > 0 ? static_cast<std::size_t>(pic->Size) : 0;
        const std::size_t have = std::min(size, pic->Data.size());
        out.write(pic->Data.data(), have);
        static const char zeros[256] = {};
        for (std::size_t pad = size - have; pad > 0;) {
            const std::size_t k = std::min(pad, sizeof zeros);
            out.write(zeros, k);
            pad -= k;
        }
        break;
    }
    case 37: WriteText(out, pic->BildTitel.Text); break;
    case 38: {
        uint64_t bits;
        std::memcpy(&bits, &b.Kaufdatum, sizeof bits);
        char bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<char>(bits >> (8 * i) & 0xFF);
        out.write(bytes, sizeof bytes);
        break;
    }
    default: break;
    }
}

void WriteHeader(ByteWriter& out, int32_t verMain, int32_t verMinor)
{
    TraceScope trace("DatabaseFile.WriteHeader");
    const std::string header = "Folianto" + IntToStr(verMain) + "." + IntToStr(verMinor) + "#";
    out.write(header.data(), header.size());
}

void BackupFile(const std::string& source, const std::string& backup, bool byRenaming, int generations)
{
    TraceScope trace("DatabaseFile.BackupFile");
    const QString s = PathFromCp1252(source);
    const QString b = PathFromCp1252(backup);
    if (!QFileInfo::exists(s))
        return;
    if (QFileInfo::exists(b)) {
        const auto numbered = [&b](int k) { return b + QString::number(k); };
        QFile::remove(numbered(generations));
        for (int k = generations - 1; k >= 1; --k)
            if (QFileInfo::exists(numbered(k)))
                QFile::rename(numbered(k), numbered(k + 1));
        QFile::rename(b, numbered(1));
    }
    if (byRenaming)
        QFile::rename(s, b);
    else
        QFile::copy(s, b);
}

} // namespace folianto
