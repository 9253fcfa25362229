#pragma once
// The database file: a version header followed by the titles, field after
// field; the older format of fixed 4004-byte records; the backup generations.
// Loading into and saving from an App: application/BuchData.h.

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class QIODevice;

namespace folianto {

struct TBuch;
struct TPicRec;

// Texts and picture data of this size or more are refused when reading.
constexpr int32_t MaxBlockSize = 1000000;
constexpr std::size_t OldRecordSize = 4004;

// Buffered reading from a device. Reads past the end deliver fewer bytes (the
// callers treat the rest as zero); a failing device throws AppError(errorText).
class ByteReader {
public:
    ByteReader(QIODevice& dev, std::string errorText);

    // Up to n bytes; fewer only at the end of the data.
    std::size_t read(void* dst, std::size_t n);
    // Up to n bytes (n at most the buffer size) without consuming them.
    std::size_t peek(void* dst, std::size_t n);
    std::size_t skip(std::size_t n);
    bool atEnd();
    // Appends up to n bytes; `out` never grows beyond what the data hold.
    std::size_t appendTo(std::string& out, std::size_t n);
    std::size_t appendTo(std::vector<uint8_t>& out, std::size_t n);
    // True once a read came up short at the end of the data.
    bool hitEnd() const { return hitEnd_; }

private:
    std::size_t buffered() const { return end_ - pos_; }
    bool fill(std::size_t want);
    template <class Container> std::size_t appendBytes(Container& out, std::size_t n);

    QIODevice& dev_;
    std::string errorText_;
    std::vector<char> buf_;
    qint64 size_;  // of a random-access device; -1 when unknown
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool hitEnd_ = false;
};

// Buffered writing to a device; a failing write throws AppError(errorText).
class ByteWriter {
public:
    ByteWriter(QIODevice& dev, std::string errorText);
    void write(const void* src, std::size_t n);
    void writeInt32(int32_t v);
    // Hands the buffered bytes to the device.
    void flush();

private:
    QIODevice& dev_;
    std::string errorText_;
    std::vector<char> buf_;
    std::size_t used_ = 0;
};

// True when the data (at least the first 21 bytes when there are so many)
// start with the version header; `headerLen` is then its length in bytes.
bool IsHeaderFormat(const char* data, std::size_t size, int& headerLen);
bool IsHeaderFormat(const std::string& path, int& headerLen);

// One field (1..38) of title `b`; fields 34..37 belong to the picture entry
// `pic`. `anzBuch` numbers the title in messages. False when the field's
// length is refused, with the German message in `refusal`: the title cannot
// be read on. A damaged file refuses often, so this is a result rather than
// an exception.
bool ReadField(ByteReader& in, std::string& refusal, int32_t anzBuch, TBuch& b, int fieldNo,
               TPicRec* pic = nullptr);
void WriteField(ByteWriter& out, const TBuch& b, int fieldNo, const TPicRec* pic = nullptr);
void WriteHeader(ByteWriter& out, int32_t verMain, int32_t verMinor);

// One title of the header format in data version 1.`minor`, numbered `nr`
// in messages. False when the title cannot be read completely: a field was
// refused (`refusal` says why), or its pictures run past the end of the data.
bool ReadHeaderTitle(ByteReader& in, std::string& refusal, int32_t nr, TBuch& b, int32_t minor);
// True when the first `size` bytes (of at most OldRecordSize) can start an
// older-format record: no text's length byte exceeds its capacity.
bool IsOldRecordStart(const unsigned char* data, std::size_t size);
// The fields of one older-format record of OldRecordSize bytes.
void FillFromOldRecord(TBuch& b, const unsigned char* rec);
// One title in data version 1.`minor`.
void WriteTitle(ByteWriter& out, const TBuch& b, int32_t minor);

// Moves `source` to (or copies it to) `backup`, first shifting older backups
// to backup+"1" .. backup+generations; file-system errors are ignored.
void BackupFile(const std::string& source, const std::string& backup, bool byRenaming, int generations);

} // namespace folianto
