#pragma once
// A title as bytes, every member exactly (texts with their cached lengths,
// numbers bit for bit, pictures whole, BuchNr), for the recovery file. Unlike
// the database format it keeps what the database drops or pads.

#include "core/Buch.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace folianto {

// Little-endian numbers appended to a byte string.
void PutU8(std::string& out, uint8_t v);
void PutU32(std::string& out, uint32_t v);
void PutI32(std::string& out, int32_t v);
void PutI64(std::string& out, int64_t v);
void PutBytes(std::string& out, const std::string& bytes); // length, then the bytes

// Reads what the Put functions wrote. Every read past the end, or a length
// beyond the data, makes the reader fail for good; the value is then zero.
class ByteCursor {
public:
    ByteCursor(const char* data, std::size_t size) : p_(data), end_(data + size) {}
    uint8_t U8();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    int64_t I64();
    std::string Bytes();
    bool ok() const { return ok_; }
    bool atEnd() const { return p_ == end_; }

private:
    bool Take(std::size_t n, const char*& at);

    const char* p_;
    const char* end_;
    bool ok_ = true;
};

void EncodeTitle(std::string& out, const TBuch& b);
bool SamePictures(const TBuch& x, const TBuch& y);
// Every stored member bit for bit (a NaN price equals itself); Showing, which
// the grid sets, does not count.
bool SameTitle(const TBuch& x, const TBuch& y);
bool DecodeTitle(ByteCursor& in, TBuch& b);

// What turns `before` into `after`: the texts that differ, the numbers, and
// the pictures when they differ (never when they are known to be kept).
void EncodeTitlePatch(std::string& out, const TBuch& before, const TBuch& after, bool picturesKept = false);
bool ApplyTitlePatch(ByteCursor& in, TBuch& b);

// CRC-32 (the polynomial of zip and PNG).
uint32_t Crc32(const char* data, std::size_t size);

} // namespace folianto
