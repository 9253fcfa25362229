#pragma once
// Builds BIFF record streams byte by byte for reader tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace folianto::test {

class Bytes {
public:
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
    // Raw bytes of a literal (8-bit characters).
    Bytes& Raw(const std::string& s) { v.insert(v.end(), s.begin(), s.end()); return *this; }
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

// A record stream; Rec appends one record with its header.
class Stream {
public:
    std::vector<uint8_t> v;

    Stream& Rec(uint16_t id, const Bytes& data)
    {
        Bytes h;
        h.U16(id).U16(static_cast<uint16_t>(data.v.size()));
        v.insert(v.end(), h.v.begin(), h.v.end());
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

} // namespace folianto::test
